// Specialised span routines for what the game draws most: a 32-bit target without Z,
// flat shading, and either no texture or one 32-bit texture on stage 0, point-sampled and
// clamped, whose colour is the texel (or texel x diffuse) and whose alpha is the texel's,
// the diffuse's or their product; optional colour key and alpha test (a range); blending
// off, alpha (SRCALPHA, INVSRCALPHA) or add (SRCALPHA, ONE). One template instance per
// combination, chosen once per draw; four pixels at a time with SSE2, with the same
// arithmetic as the general path (the tests compare the two).
#include <emmintrin.h>

#include <algorithm>
#include <cstring>

#include "d3d/colour_math.h"
#include "d3d/draw_context.h"

namespace {

enum class ColourFrom { Texel, TexelTimesDiffuse };
enum class AlphaFrom { Texel, Diffuse, TexelTimesDiffuse };
enum class BlendKind { Off, Alpha, Add };

constexpr int kChunk = 256;
constexpr int kPrefetchRows = 4;
constexpr std::int64_t kTexelOne = std::int64_t{1} << kTexelFractionBits;

struct Constants {
  __m128i alphaOr;  // forces the alpha of texels from a texture without alpha
  __m128i key;
  __m128i keyMask;
  __m128i diffuse16;     // the diffuse's channels as 16-bit lanes, two pixels
  __m128i diffuseAlpha;  // per 32-bit lane
  __m128i alphaLowBelow;  // alpha test: low - 1 and high + 1
  __m128i alphaHighAbove;
  __m128i opaque;
};

// round(x * y / 255) on 16-bit lanes holding 0..255.
inline __m128i MulLanes(__m128i x, __m128i y) {
  __m128i t = _mm_add_epi16(_mm_mullo_epi16(x, y), _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// Each pixel's 0..255 value (one per 32-bit lane) spread over that pixel's four 16-bit
// channel lanes: low half pixels 0 and 1, high half pixels 2 and 3.
inline void SpreadPerPixel(__m128i value, __m128i* low, __m128i* high) {
  __m128i doubled = _mm_or_si128(value, _mm_slli_epi32(value, 16));
  *low = _mm_unpacklo_epi32(doubled, doubled);
  *high = _mm_unpackhi_epi32(doubled, doubled);
}

inline __m128i MulPixelsByLanes(__m128i pixels, __m128i low, __m128i high) {
  __m128i zero = _mm_setzero_si128();
  return _mm_packus_epi16(MulLanes(_mm_unpacklo_epi8(pixels, zero), low),
                          MulLanes(_mm_unpackhi_epi8(pixels, zero), high));
}

inline __m128i Load(const DWORD* pixels) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels)); }
inline void Store(DWORD* pixels, __m128i value) { _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), value); }

// round((s * a + d * (255 - a)) / 255) per channel: one rounding, as the general path.
inline __m128i Lerp(__m128i colour, __m128i destination, __m128i alpha) {
  __m128i alphaLow, alphaHigh;
  SpreadPerPixel(alpha, &alphaLow, &alphaHigh);
  __m128i zero = _mm_setzero_si128();
  __m128i full = _mm_set1_epi16(255);
  auto lerp = [&](__m128i source, __m128i dest, __m128i a) {
    __m128i sum = _mm_add_epi16(_mm_mullo_epi16(source, a), _mm_mullo_epi16(dest, _mm_sub_epi16(full, a)));
    __m128i t = _mm_add_epi16(sum, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
  };
  return _mm_packus_epi16(lerp(_mm_unpacklo_epi8(colour, zero), _mm_unpacklo_epi8(destination, zero), alphaLow),
                          lerp(_mm_unpackhi_epi8(colour, zero), _mm_unpackhi_epi8(destination, zero), alphaHigh));
}

// Four pixels into `destination`. `Discard`: the colour key and the alpha test may drop
// pixels. Under blending, pixels whose alpha is 0 leave the destination as it is and a
// group whose alpha is all 255 takes the colour as it is (both exact), so the
// destination is read only when a group needs it.
template <ColourFrom C, AlphaFrom A, bool Discard, BlendKind B>
inline void Shade4(DWORD* destination, __m128i texel, const Constants& k) {
  __m128i s = _mm_or_si128(texel, k.alphaOr);
  __m128i colour = s;
  if constexpr (C == ColourFrom::TexelTimesDiffuse) colour = MulPixelsByLanes(s, k.diffuse16, k.diffuse16);
  if constexpr (B == BlendKind::Off && !Discard) {
    Store(destination, _mm_or_si128(colour, k.opaque));
    return;
  }

  __m128i alpha;
  if constexpr (A == AlphaFrom::Texel) {
    alpha = _mm_srli_epi32(s, 24);
  } else if constexpr (A == AlphaFrom::Diffuse) {
    alpha = k.diffuseAlpha;
  } else {
    __m128i t = _mm_add_epi32(_mm_mullo_epi16(_mm_srli_epi32(s, 24), k.diffuseAlpha), _mm_set1_epi32(128));
    alpha = _mm_srli_epi32(_mm_add_epi32(t, _mm_srli_epi32(t, 8)), 8);
  }
  __m128i keep = _mm_set1_epi32(-1);
  if constexpr (Discard) {
    keep = _mm_and_si128(_mm_cmpgt_epi32(alpha, k.alphaLowBelow), _mm_cmpgt_epi32(k.alphaHighAbove, alpha));
    keep = _mm_andnot_si128(_mm_cmpeq_epi32(_mm_and_si128(s, k.keyMask), k.key), keep);
  }
  if constexpr (B != BlendKind::Off) keep = _mm_andnot_si128(_mm_cmpeq_epi32(alpha, _mm_setzero_si128()), keep);
  int kept = _mm_movemask_epi8(keep);
  if (kept == 0) return;

  bool opaque = B == BlendKind::Off ||
                (B == BlendKind::Alpha && _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_set1_epi32(255))) == 0xFFFF);
  if (opaque && kept == 0xFFFF) {
    Store(destination, _mm_or_si128(colour, k.opaque));
    return;
  }
  __m128i d = Load(destination);
  __m128i result = colour;
  if constexpr (B == BlendKind::Add) {
    __m128i alphaLow, alphaHigh;
    SpreadPerPixel(alpha, &alphaLow, &alphaHigh);
    result = _mm_adds_epu8(d, MulPixelsByLanes(colour, alphaLow, alphaHigh));
  } else if constexpr (B == BlendKind::Alpha) {
    if (!opaque) result = Lerp(colour, d, alpha);
  }
  result = _mm_or_si128(result, k.opaque);
  Store(destination, _mm_or_si128(_mm_and_si128(keep, result), _mm_andnot_si128(keep, d)));
}

template <ColourFrom C, AlphaFrom A, bool Discard, BlendKind B>
void ShadeRow(DWORD* destination, const DWORD* texels, int count, const Constants& k) {
  int i = 0;
  for (; i + 4 <= count; i += 4) Shade4<C, A, Discard, B>(destination + i, Load(texels + i), k);
  int rest = count - i;
  if (rest == 0) return;
  DWORD d[4] = {}, s[4] = {};
  std::memcpy(d, destination + i, rest * sizeof(DWORD));
  std::memcpy(s, texels + i, rest * sizeof(DWORD));
  Shade4<C, A, Discard, B>(d, Load(s), k);
  std::memcpy(destination + i, d, rest * sizeof(DWORD));
}

Constants MakeConstants(const DrawContext& c, DWORD diffuse) {
  const TextureSampler& t = c.textures[0];
  bool texelAlpha = !c.untextured && t.kind == DDrawPixelKind::X8R8G8B8;
  Constants k;
  k.alphaOr = _mm_set1_epi32(texelAlpha ? static_cast<int>(0xFF000000u) : 0);
  // Without a key, one that no texel's colour bits can equal.
  k.key = _mm_set1_epi32(t.keyed ? static_cast<int>(t.key) : -1);
  k.keyMask = _mm_set1_epi32(static_cast<int>(t.keyMask));
  k.diffuse16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(diffuse)), _mm_setzero_si128());
  k.diffuseAlpha = _mm_set1_epi32(static_cast<int>(AlphaOf(diffuse)));
  k.alphaLowBelow = _mm_set1_epi32(c.alphaLow - 1);
  k.alphaHighAbove = _mm_set1_epi32(c.alphaHigh + 1);
  k.opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  return k;
}

// Texels of `count` pixels from (u, v), point-sampled and clamped, into `out`.
void GatherTexels(const TextureSampler& t, std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv, int count,
                  DWORD* out) {
  for (int i = 0; i < count; ++i, u += du, v += dv) {
    int x = AddressTexel(u, t.width, false), y = AddressTexel(v, t.height, false);
    out[i] = reinterpret_cast<const DWORD*>(t.bits + static_cast<std::ptrdiff_t>(y) * t.pitch)[x];
  }
}

// Whether every row of the block reads side-by-side texels inside the texture (an
// unscaled, unturned draw): then the rows are read in place.
bool ReadsTexelsInPlace(const TextureSampler& t, const SpanBlock& block) {
  const Interpolant<std::int64_t>& u = block.u[0];
  const Interpolant<std::int64_t>& v = block.v[0];
  std::int64_t column = u.start >> kTexelFractionBits;
  std::int64_t firstRow = v.start >> kTexelFractionBits;
  std::int64_t lastRow = (v.start + v.rowStep * (block.rows - 1)) >> kTexelFractionBits;
  return u.step == kTexelOne && u.rowStep == 0 && block.v[0].step == 0 && column >= 0 &&
         column + block.count <= t.width && std::min(firstRow, lastRow) >= 0 && std::max(firstRow, lastRow) < t.height;
}

template <ColourFrom C, AlphaFrom A, bool Discard, BlendKind B>
void FastSpan(const DrawContext& c, const SpanBlock& block) {
  // A white or opaque diffuse changes nothing in a product: take the plain texel.
  if constexpr (C == ColourFrom::TexelTimesDiffuse) {
    if ((block.diffuse & 0xFFFFFFu) == 0xFFFFFFu) return FastSpan<ColourFrom::Texel, A, Discard, B>(c, block);
  }
  if constexpr (A == AlphaFrom::TexelTimesDiffuse) {
    if (AlphaOf(block.diffuse) == 255) return FastSpan<C, AlphaFrom::Texel, Discard, B>(c, block);
  }
  Constants k = MakeConstants(c, block.diffuse);
  const TextureSampler& t = c.textures[0];
  auto destinationRow = [&](int row) {
    return reinterpret_cast<DWORD*>(c.targetBits + static_cast<std::ptrdiff_t>(block.y + row) * c.targetPitch) + block.x;
  };
  // Sprites sit anywhere on the target: the destination rows are asked for a few rows
  // ahead, so that their cache misses overlap.
  auto prefetchRow = [&](int row) {
    if (row >= block.rows) return;
    const char* first = reinterpret_cast<const char*>(destinationRow(row));
    for (int offset = 0; offset < std::min(block.count, kChunk) * 4; offset += 64) _mm_prefetch(first + offset, _MM_HINT_T0);
  };
  auto forEachRow = [&](auto&& shadeRow) {
    for (int row = 0; row < kPrefetchRows; ++row) prefetchRow(row);
    for (int row = 0; row < block.rows; ++row) {
      prefetchRow(row + kPrefetchRows);
      shadeRow(destinationRow(row), row);
    }
  };

  DWORD buffer[kChunk];
  if (c.untextured) {
    std::fill_n(buffer, std::min(block.count, kChunk), block.diffuse);
    forEachRow([&](DWORD* destination, int) {
      for (int done = 0; done < block.count; done += kChunk) {
        ShadeRow<C, A, Discard, B>(destination + done, buffer, std::min(kChunk, block.count - done), k);
      }
    });
  } else if (ReadsTexelsInPlace(t, block)) {
    const BYTE* column = t.bits + (block.u[0].start >> kTexelFractionBits) * 4;
    std::int64_t v = block.v[0].start;
    forEachRow([&](DWORD* destination, int) {
      auto* texels = reinterpret_cast<const DWORD*>(column + (v >> kTexelFractionBits) * t.pitch);
      ShadeRow<C, A, Discard, B>(destination, texels, block.count, k);
      v += block.v[0].rowStep;
    });
  } else {
    forEachRow([&](DWORD* destination, int row) {
      std::int64_t u = block.u[0].start + block.u[0].rowStep * row, v = block.v[0].start + block.v[0].rowStep * row;
      for (int done = 0; done < block.count; done += kChunk) {
        int count = std::min(kChunk, block.count - done);
        GatherTexels(t, u, v, block.u[0].step, block.v[0].step, count, buffer);
        ShadeRow<C, A, Discard, B>(destination + done, buffer, count, k);
        u += block.u[0].step * count;
        v += block.v[0].step * count;
      }
    });
  }
}

template <ColourFrom C, AlphaFrom A, bool Discard>
constexpr SpanFunction kByBlend[3] = {&FastSpan<C, A, Discard, BlendKind::Off>,
                                      &FastSpan<C, A, Discard, BlendKind::Alpha>,
                                      &FastSpan<C, A, Discard, BlendKind::Add>};

template <ColourFrom C, AlphaFrom A>
constexpr const SpanFunction* kByKey[2] = {kByBlend<C, A, false>, kByBlend<C, A, true>};

constexpr const SpanFunction* const* kSpans[2][3] = {
    {kByKey<ColourFrom::Texel, AlphaFrom::Texel>, kByKey<ColourFrom::Texel, AlphaFrom::Diffuse>,
     kByKey<ColourFrom::Texel, AlphaFrom::TexelTimesDiffuse>},
    {kByKey<ColourFrom::TexelTimesDiffuse, AlphaFrom::Texel>, kByKey<ColourFrom::TexelTimesDiffuse, AlphaFrom::Diffuse>,
     kByKey<ColourFrom::TexelTimesDiffuse, AlphaFrom::TexelTimesDiffuse>},
};

// Stage 0's two arguments as {texture, diffuse-like}: CURRENT is the diffuse on stage 0.
bool IsDiffuse(DWORD argument) { return argument == D3DTA_DIFFUSE || argument == D3DTA_CURRENT; }

// The source of a stage-0 colour or alpha op: 0 texel, 1 diffuse, 2 their product, -1 other.
int SourceOf(DWORD op, DWORD arg1, DWORD arg2) {
  if (op == D3DTOP_SELECTARG1 || op == D3DTOP_SELECTARG2) {
    DWORD picked = op == D3DTOP_SELECTARG1 ? arg1 : arg2;
    return picked == D3DTA_TEXTURE ? 0 : (IsDiffuse(picked) ? 1 : -1);
  }
  if (op == D3DTOP_MODULATE) {
    bool pair = (arg1 == D3DTA_TEXTURE && IsDiffuse(arg2)) || (arg2 == D3DTA_TEXTURE && IsDiffuse(arg1));
    return pair ? 2 : -1;
  }
  return -1;
}

int BlendIndex(const DrawContext& c) {
  if (!c.blend || (c.srcBlend == D3DBLEND_ONE && c.destBlend == D3DBLEND_ZERO)) return 0;
  if (c.srcBlend != D3DBLEND_SRCALPHA) return -1;
  if (c.destBlend == D3DBLEND_INVSRCALPHA) return 1;
  return c.destBlend == D3DBLEND_ONE ? 2 : -1;
}

}  // namespace

SpanFunction ChooseFastSpan(const DrawContext& c) {
  if (c.targetKind != DDrawPixelKind::X8R8G8B8 || c.depthBits != nullptr || c.gouraud || c.alphaOutside) return nullptr;
  int blend = BlendIndex(c);
  if (blend < 0) return nullptr;
  bool discard = c.alphaLow > 0 || c.alphaHigh < 255 || (!c.untextured && c.textures[0].keyed);
  if (c.untextured) return kSpans[0][0][discard ? 1 : 0][blend];
  const StageSetup& stage = c.stages[0];
  const TextureSampler& t = c.textures[0];
  if (c.stageCount != 1 || !stage.textured || t.bilinear || t.wrap) return nullptr;
  if (t.kind != DDrawPixelKind::X8R8G8B8 && t.kind != DDrawPixelKind::A8R8G8B8) return nullptr;
  int colour = SourceOf(stage.colourOp, stage.colourArg1, stage.colourArg2);
  int alpha = stage.alphaOp == D3DTOP_DISABLE ? 1 : SourceOf(stage.alphaOp, stage.alphaArg1, stage.alphaArg2);
  if (colour != 0 && colour != 2) return nullptr;
  if (alpha < 0) return nullptr;
  return kSpans[colour == 2 ? 1 : 0][alpha][discard ? 1 : 0][blend];
}
