// Texels and 16-bit target pixels to 0xAARRGGBB and back, eight pixels at a time (SSE2),
// with the general path's rules: channels widened by repeating their bits, narrowed by
// dropping the low ones, unused bits written as 1.
#include "d3d/span_conversions.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "d3d/colour_math.h"
#include "d3d/texel_gather.h"

namespace {

constexpr int kBlock = 8;  // pixels per register of 16-bit pixels
constexpr std::int64_t kTexelOne = std::int64_t{1} << kTexelFractionBits;

// A channel field of 16-bit lanes widened to 8 bits (255 for a channel the kind lacks).
template <int Shift, int Bits>
__m128i WidenField(__m128i pixels) {
  if constexpr (Bits == 0) {
    return _mm_set1_epi16(255);
  } else {
    __m128i field = _mm_and_si128(_mm_srli_epi16(pixels, Shift), _mm_set1_epi16((1 << Bits) - 1));
    if constexpr (Bits == 1) return _mm_mullo_epi16(field, _mm_set1_epi16(255));
    if constexpr (Bits == 4) return _mm_mullo_epi16(field, _mm_set1_epi16(17));
    return _mm_or_si128(_mm_slli_epi16(field, 8 - Bits), _mm_srli_epi16(field, 2 * Bits - 8));  // 5 or 6 bits
  }
}

template <DDrawPixelKind Kind>
[[gnu::always_inline]] inline void WidenBlock(const std::uint16_t* in, DWORD* out) {
  constexpr ChannelLayout c = ChannelsOf(Kind);
  __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  __m128i greenBlue = _mm_or_si128(WidenField<c.bShift, c.bBits>(pixels),
                                   _mm_slli_epi16(WidenField<c.gShift, c.gBits>(pixels), 8));
  __m128i alphaRed = _mm_or_si128(WidenField<c.rShift, c.rBits>(pixels),
                                  _mm_slli_epi16(WidenField<c.aShift, c.aBits>(pixels), 8));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(greenBlue, alphaRed));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_unpackhi_epi16(greenBlue, alphaRed));
}

// `count` 16-bit pixels of `Kind` widened.
template <DDrawPixelKind Kind>
void Widen16(const std::uint16_t* in, int count, DWORD* out) {
  int i = 0;
  for (; i + kBlock <= count; i += kBlock) WidenBlock<Kind>(in + i, out + i);
  if (i == count) return;
  std::uint16_t rest[kBlock] = {};
  DWORD widened[kBlock];
  std::memcpy(rest, in + i, (count - i) * sizeof(std::uint16_t));
  WidenBlock<Kind>(rest, widened);
  std::memcpy(out + i, widened, (count - i) * sizeof(DWORD));
}

// A channel of 0xAARRGGBB lanes (at bit `from`) narrowed and put at its place in the kind.
template <int From, int Bits, int To>
__m128i NarrowField(__m128i argb) {
  if constexpr (Bits == 0) {
    return _mm_setzero_si128();
  } else {
    __m128i field = _mm_and_si128(_mm_srli_epi32(argb, From + 8 - Bits), _mm_set1_epi32((1 << Bits) - 1));
    return _mm_slli_epi32(field, To);
  }
}

template <DDrawPixelKind Kind>
__m128i NarrowLanes(__m128i argb) {
  constexpr ChannelLayout c = ChannelsOf(Kind);
  __m128i raw = _mm_or_si128(_mm_or_si128(NarrowField<24, c.aBits, c.aShift>(argb), NarrowField<16, c.rBits, c.rShift>(argb)),
                             _mm_or_si128(NarrowField<8, c.gBits, c.gShift>(argb), NarrowField<0, c.bBits, c.bShift>(argb)));
  raw = _mm_or_si128(raw, _mm_set1_epi32(static_cast<int>(c.unusedBits)));
  return _mm_srai_epi32(_mm_slli_epi32(raw, 16), 16);  // sign-extended, so that packing keeps the bits
}

// Eight pixels narrowed into `out`; with `WrittenOnly`, only the opaque ones.
template <DDrawPixelKind Kind, bool WrittenOnly>
[[gnu::always_inline]] inline void NarrowBlock(const DWORD* in, std::uint16_t* out) {
  __m128i argbLow = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  __m128i argbHigh = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4));
  __m128i narrowed = _mm_packs_epi32(NarrowLanes<Kind>(argbLow), NarrowLanes<Kind>(argbHigh));
  if constexpr (WrittenOnly) {
    __m128i opaque = _mm_set1_epi32(255);
    __m128i written = _mm_packs_epi32(_mm_cmpeq_epi32(_mm_srli_epi32(argbLow, 24), opaque),
                                      _mm_cmpeq_epi32(_mm_srli_epi32(argbHigh, 24), opaque));
    __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out));
    narrowed = _mm_or_si128(_mm_and_si128(written, narrowed), _mm_andnot_si128(written, old));
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), narrowed);
}

template <DDrawPixelKind Kind>
void WidenTarget(const BYTE* row, int count, DWORD* out) {
  Widen16<Kind>(reinterpret_cast<const std::uint16_t*>(row), count, out);
}

template <DDrawPixelKind Kind, bool WrittenOnly>
void NarrowTarget(const DWORD* shaded, int count, BYTE* row) {
  auto* pixels = reinterpret_cast<std::uint16_t*>(row);
  int i = 0;
  for (; i + kBlock <= count; i += kBlock) NarrowBlock<Kind, WrittenOnly>(shaded + i, pixels + i);
  if (i == count) return;
  DWORD rest[kBlock] = {};
  std::uint16_t narrowed[kBlock];
  std::memcpy(rest, shaded + i, (count - i) * sizeof(DWORD));
  std::memcpy(narrowed, pixels + i, (count - i) * sizeof(std::uint16_t));
  NarrowBlock<Kind, WrittenOnly>(rest, narrowed);
  std::memcpy(pixels + i, narrowed, (count - i) * sizeof(std::uint16_t));
}

template <DDrawPixelKind Kind>
void SetTargetConversions(FastConversions* fast) {
  fast->widenTarget = &WidenTarget<Kind>;
  fast->narrowTarget = &NarrowTarget<Kind, false>;
  fast->narrowWritten = &NarrowTarget<Kind, true>;
}

// Point-sampled, clamped texels as stored; an unscaled run inside the texture is
// pointed at where it lies instead (the return value).
// The sampler's fields are read once: stores into `out` may alias them as far as the
// compiler knows, and would have them read again for every texel. `Gathered`: runs of
// 32-bit texels go to the AVX2 gathers where they take them (16-bit ones never do).
template <typename Word, bool Gathered>
const Word* FetchTexels(const TextureSampler& t, std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv,
                        int count, Word* out) {
  const BYTE* const bits = t.bits;
  const std::ptrdiff_t pitch = t.pitch;
  const int width = t.width, height = t.height;
  const Word* row = reinterpret_cast<const Word*>(bits + static_cast<std::ptrdiff_t>(AddressTexel(v, height, false)) * pitch);
  std::int64_t first = u >> kTexelFractionBits;
  if (dv == 0 && du == kTexelOne && first >= 0 && first + count <= width) return row + first;
  if constexpr (Gathered) {
    if (GatherTexels(t, u, v, du, dv, count, out)) return out;
  }
  if (dv == 0) {
    for (int i = 0; i < count; ++i, u += du) out[i] = row[AddressTexel(u, width, false)];
    return out;
  }
  for (int i = 0; i < count; ++i, u += du, v += dv) {
    row = reinterpret_cast<const Word*>(bits + static_cast<std::ptrdiff_t>(AddressTexel(v, height, false)) * pitch);
    out[i] = row[AddressTexel(u, width, false)];
  }
  return out;
}

static_assert(RawToArgb<DDrawPixelKind::A8R8G8B8>(0x80FF4001u) == 0x80FF4001u, "A8R8G8B8 texels are shaded as stored");

template <DDrawPixelKind Kind, bool Gathered>
void ReadTexels(const TextureSampler& t, std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv, int count,
                DWORD* out) {
  if constexpr (sizeof(PixelWord<Kind>) == 2) {
    std::uint16_t raw[kFastChunk];
    Widen16<Kind>(FetchTexels<std::uint16_t, false>(t, u, v, du, dv, count, raw), count, out);
  } else {
    const DWORD* texels = FetchTexels<DWORD, Gathered>(t, u, v, du, dv, count, out);
    if constexpr (Kind == DDrawPixelKind::A8R8G8B8) {
      // Stored as shaded: only texels read in place are copied.
      if (texels != out) std::memcpy(out, texels, count * sizeof(DWORD));
      return;
    }
    for (int i = 0; i < count; ++i) out[i] = RawToArgb<Kind>(texels[i]);
  }
}

// Whether texels of `texture` hold their colour channels where `target` pixels do, at the
// same size.
bool ColoursLieAlike(DDrawPixelKind texture, DDrawPixelKind target) {
  const ChannelLayout &t = ChannelsOf(texture), &d = ChannelsOf(target);
  return GetPixelLayout(texture).bytes == GetPixelLayout(target).bytes && t.rBits == d.rBits && t.gBits == d.gBits &&
         t.bBits == d.bBits && t.rShift == d.rShift && t.gShift == d.gShift && t.bShift == d.bShift;
}

}  // namespace

bool ChooseConversions(const DrawContext& c, bool gather, FastConversions* fast) {
  switch (c.targetKind) {
    case DDrawPixelKind::X8R8G8B8: fast->widenTarget = nullptr, fast->narrowTarget = fast->narrowWritten = nullptr; break;
    case DDrawPixelKind::RGB565: SetTargetConversions<DDrawPixelKind::RGB565>(fast); break;
    case DDrawPixelKind::X1R5G5B5: SetTargetConversions<DDrawPixelKind::X1R5G5B5>(fast); break;
    default: return false;
  }
  fast->targetBytesPerPixel = static_cast<int>(GetPixelLayout(c.targetKind).bytes);
  fast->readTexels = nullptr;
  fast->texelsInPlace = false;
  fast->texelsCopied = false;
  fast->copiedUnusedBits = 0;
  fast->key = 0xFFFFFFFFu;
  if (c.untextured) return true;
  const TextureSampler& t = c.textures[0];
  VisitColourKind(t.kind, [&](auto kind) {
    fast->readTexels = gather ? &ReadTexels<kind.value, true> : &ReadTexels<kind.value, false>;
    // Widening keeps channels apart, so keys compare alike before and after it.
    if (t.keyed) fast->key = RawToArgb<kind.value>(t.key) & 0x00FFFFFFu;
  });
  fast->texelsInPlace = t.kind == DDrawPixelKind::X8R8G8B8 || t.kind == DDrawPixelKind::A8R8G8B8;
  fast->texelsCopied = ColoursLieAlike(t.kind, c.targetKind);
  DWORD unused = ChannelsOf(c.targetKind).unusedBits;
  fast->copiedUnusedBits = fast->targetBytesPerPixel == 2 ? unused | unused << 16 : unused;
  return true;
}
