// The specialised span routines, written once against a lane type (span_lanes_*.h) and
// built into one translation unit per instruction set. Everything here has internal
// linkage and calls no shared inline or library template, so code built for a wider
// instruction set never stands in for the baseline's.
//
// They cover what the game draws most: a 32-bit or 16-bit target without alpha or Z,
// flat shading, and either no texture or one texture on stage 0 (any kind; 32-bit texels
// are read in place, others converted a chunk at a time; opaque, untinted, unscaled texels
// laid out as the target's pixels are copied), point-sampled and clamped, whose
// colour is the texel (or texel x diffuse) and whose alpha is the texel's, the diffuse's
// or their product; colour key and alpha test (a range) as the discard tests; blending
// off, alpha (SRCALPHA, INVSRCALPHA) or add (SRCALPHA, ONE). One template instance per
// combination, chosen once per draw, with the general path's arithmetic (the tests
// compare the two).
#pragma once

#include <xmmintrin.h>

#include "d3d/draw_context.h"
#include "d3d/span_upright_texels.h"

// The routine of each instruction set for a colour source (0 texel, 1 texel x diffuse),
// an alpha source (0 texel, 1 diffuse, 2 texel x diffuse), the discard tests and a blend
// (0 off, 1 alpha, 2 add).
SpanFunction FastSpanSse2(int colour, int alpha, bool discard, int blend);
SpanFunction FastSpanAvx2(int colour, int alpha, bool discard, int blend);

namespace {

enum class ColourFrom { Texel, TexelTimesDiffuse };
enum class AlphaFrom { Texel, Diffuse, TexelTimesDiffuse };
enum class BlendKind { Off, Alpha, Add };

constexpr int kChunk = kFastChunk;
constexpr int kPrefetchRows = 4;
// Rows at least this wide are read and written in long runs that the processor's own
// prefetcher follows; asking for them as well only gets in its way.
constexpr int kStreamingWidth = 256;
constexpr std::int64_t kTexelOne = std::int64_t{1} << kTexelFractionBits;

int Smaller(int a, int b) { return a < b ? a : b; }

// The texel a clamped coordinate reads along an axis of `size` texels.
std::int64_t ClampedTexel(std::int64_t coordinate, int size) {
  const std::int64_t texel = coordinate >> kTexelFractionBits;
  return texel < 0 ? 0 : (texel >= size ? size - 1 : texel);
}

template <typename L>
struct Constants {
  using V = typename L::V;
  V alphaOr;  // forces the alpha of texels from a texture without alpha
  V key;
  V keyMask;
  V diffuse16;     // the diffuse's channels as 16-bit lanes
  V diffuseAlpha;  // per pixel
  V alphaLowBelow;  // alpha test: low - 1 and high + 1
  V alphaHighAbove;
  V opaque;
  V copiedUnusedBits;
};

template <typename L>
Constants<L> MakeConstants(const DrawContext& c, DWORD diffuse) {
  const TextureSampler& t = c.textures[0];
  bool texelsLackAlpha = !c.untextured && t.kind == DDrawPixelKind::X8R8G8B8;
  Constants<L> k;
  k.alphaOr = L::Set32(texelsLackAlpha ? 0xFF000000u : 0);
  k.key = L::Set32(c.fast.key);
  k.keyMask = L::Set32(0x00FFFFFFu);
  k.diffuse16 = L::UnpackLow8(L::Set32(diffuse), L::Zero());
  k.diffuseAlpha = L::Set32(diffuse >> 24);
  k.alphaLowBelow = L::Set32(static_cast<DWORD>(c.alphaLow - 1));
  k.alphaHighAbove = L::Set32(static_cast<DWORD>(c.alphaHigh + 1));
  k.opaque = L::Set32(0xFF000000u);
  k.copiedUnusedBits = L::Set32(c.fast.copiedUnusedBits);
  return k;
}

// round(x / 255) on 16-bit lanes holding 0..255 x 255, in one multiply (the form
// colour_math.h proves exact).
template <typename L>
typename L::V Div255Lanes(typename L::V x) {
  return L::MulHighUnsigned16(L::Add16(x, L::Set16(128)), L::Set16(257));
}

// round(x * y / 255) on 16-bit lanes holding 0..255.
template <typename L>
typename L::V MulLanes(typename L::V x, typename L::V y) {
  return Div255Lanes<L>(L::MulLow16(x, y));
}

template <typename L>
typename L::V MulPixelsByLanes(typename L::V pixels, typename L::V low, typename L::V high) {
  return L::PackUnsigned16(MulLanes<L>(L::UnpackLow8(pixels, L::Zero()), low),
                           MulLanes<L>(L::UnpackHigh8(pixels, L::Zero()), high));
}

// round((s * a + d * (255 - a)) / 255) per channel: one rounding, as the general path.
template <typename L>
[[gnu::always_inline]] inline typename L::V Lerp(typename L::V colour, typename L::V destination, typename L::V alpha) {
  auto lerp = [](typename L::V source, typename L::V dest, typename L::V a) {
    return Div255Lanes<L>(L::Add16(L::MulLow16(source, a), L::MulLow16(dest, L::Sub16(L::Set16(255), a))));
  };
  return L::PackUnsigned16(lerp(L::UnpackLow8(colour, L::Zero()), L::UnpackLow8(destination, L::Zero()), L::SpreadLow(alpha)),
                           lerp(L::UnpackHigh8(colour, L::Zero()), L::UnpackHigh8(destination, L::Zero()), L::SpreadHigh(alpha)));
}

// One register of pixels into `destination`. Under blending, pixels whose alpha is 0
// leave the destination as it is and a register whose alpha is all 255 takes the
// colour as it is (both exact), so the destination is read only when needed.
template <typename L, ColourFrom C, AlphaFrom A, bool Discard, BlendKind B>
[[gnu::always_inline]] inline void Shade(DWORD* destination, typename L::V texel, const Constants<L>& k) {
  using V = typename L::V;
  V s = L::Or(texel, k.alphaOr);
  V colour = s;
  if constexpr (C == ColourFrom::TexelTimesDiffuse) colour = MulPixelsByLanes<L>(s, k.diffuse16, k.diffuse16);
  if constexpr (B == BlendKind::Off && !Discard) {
    L::Store(destination, L::Or(colour, k.opaque));
    return;
  }

  V alpha;
  if constexpr (A == AlphaFrom::Texel) {
    alpha = L::template ShiftRight32<24>(s);
  } else if constexpr (A == AlphaFrom::Diffuse) {
    alpha = k.diffuseAlpha;
  } else {
    // Both factors fill only the low halves of the 32-bit lanes: the high halves stay 0.
    alpha = Div255Lanes<L>(L::MulLow16(L::template ShiftRight32<24>(s), k.diffuseAlpha));
  }
  V keep = L::Set32(0xFFFFFFFFu);
  if constexpr (Discard) {
    keep = L::And(L::Greater32(alpha, k.alphaLowBelow), L::Greater32(k.alphaHighAbove, alpha));
    keep = L::AndNot(L::Equal32(L::And(s, k.keyMask), k.key), keep);
  }
  if constexpr (B != BlendKind::Off) keep = L::AndNot(L::Equal32(alpha, L::Zero()), keep);
  int kept = L::ByteMask(keep);
  if (kept == 0) return;

  bool opaque = B == BlendKind::Off ||
                (B == BlendKind::Alpha && L::ByteMask(L::Equal32(alpha, L::Set32(255))) == L::kAllBytes);
  if (opaque && kept == L::kAllBytes) {
    L::Store(destination, L::Or(colour, k.opaque));
    return;
  }
  V d = L::Load(destination);
  V result = colour;
  if constexpr (B == BlendKind::Add) {
    result = L::AddSaturate8(d, MulPixelsByLanes<L>(colour, L::SpreadLow(alpha), L::SpreadHigh(alpha)));
  } else if constexpr (B == BlendKind::Alpha) {
    if (!opaque) result = Lerp<L>(colour, d, alpha);
  }
  if constexpr (Discard) {
    L::Store(destination, L::Select(keep, L::Or(result, k.opaque), d));
  } else {
    // Only alpha 0 drops a pixel here, and it blends to the destination exactly: only
    // the alpha bits the kept pixels take differ.
    L::Store(destination, L::Or(result, L::And(keep, k.opaque)));
  }
}

template <typename L, ColourFrom C, AlphaFrom A, bool Discard, BlendKind B>
void ShadeRow(DWORD* destination, const DWORD* texels, int count, const Constants<L>& k) {
  const int rest = count % L::kPixels;
  if (count > L::kPixels && rest != 0) {
    // The last register's worth, overlapping the one before: shaded from the pixels as
    // they were, it writes the overlapped ones as the loop does.
    const int last = count - L::kPixels;
    alignas(sizeof(typename L::V)) DWORD d[L::kPixels];
    L::Store(d, L::Load(destination + last));
    ShadeRow<L, C, A, Discard, B>(destination, texels, count - rest, k);
    Shade<L, C, A, Discard, B>(d, L::Load(texels + last), k);
    return L::Store(destination + last, L::Load(d));
  }
  int i = 0;
  for (; i + L::kPixels <= count; i += L::kPixels) {
    Shade<L, C, A, Discard, B>(destination + i, L::Load(texels + i), k);
  }
  if (rest == 0) return;
  DWORD d[L::kPixels] = {}, s[L::kPixels] = {};
  __builtin_memcpy(d, destination + i, rest * sizeof(DWORD));
  __builtin_memcpy(s, texels + i, rest * sizeof(DWORD));
  Shade<L, C, A, Discard, B>(d, L::Load(s), k);
  __builtin_memcpy(destination + i, d, rest * sizeof(DWORD));
}

// `bytes` bytes of texels copied to `destination` with the target's unused bits set.
template <typename L>
void CopyRow(BYTE* destination, const BYTE* texels, int bytes, typename L::V unusedBits) {
  constexpr int kRegisterBytes = L::kPixels * 4;
  int i = 0;
  for (; i + kRegisterBytes <= bytes; i += kRegisterBytes) {
    L::Store(reinterpret_cast<DWORD*>(destination + i),
             L::Or(L::Load(reinterpret_cast<const DWORD*>(texels + i)), unusedBits));
  }
  if (i == bytes) return;
  DWORD rest[L::kPixels] = {};
  __builtin_memcpy(rest, texels + i, bytes - i);
  L::Store(rest, L::Or(L::Load(rest), unusedBits));
  __builtin_memcpy(destination + i, rest, bytes - i);
}

// Whether every row of the block reads side-by-side texels inside the texture (an
// unscaled, unturned draw): then the rows are read in place.
bool ReadsTexelsInPlace(const TextureSampler& t, const SpanBlock& block) {
  const Interpolant<std::int64_t>& u = block.u[0];
  const Interpolant<std::int64_t>& v = block.v[0];
  std::int64_t column = u.start >> kTexelFractionBits;
  std::int64_t firstRow = v.start >> kTexelFractionBits;
  std::int64_t lastRow = (v.start + v.rowStep * (block.rows - 1)) >> kTexelFractionBits;
  return u.step == kTexelOne && u.rowStep == 0 && v.step == 0 && column >= 0 && column + block.count <= t.width &&
         firstRow >= 0 && firstRow < t.height && lastRow >= 0 && lastRow < t.height;
}

template <typename L, ColourFrom C, AlphaFrom A, bool Discard, BlendKind B>
void FastSpan(const DrawContext& c, const SpanBlock& block) {
  // A white or opaque diffuse changes nothing in a product: take the plain texel.
  if constexpr (C == ColourFrom::TexelTimesDiffuse) {
    if ((block.diffuse & 0xFFFFFFu) == 0xFFFFFFu) return FastSpan<L, ColourFrom::Texel, A, Discard, B>(c, block);
  }
  if constexpr (A == AlphaFrom::TexelTimesDiffuse) {
    if ((block.diffuse >> 24) == 255) return FastSpan<L, C, AlphaFrom::Texel, Discard, B>(c, block);
  }
  const Constants<L> k = MakeConstants<L>(c, block.diffuse);
  const FastConversions& fast = c.fast;
  const TextureSampler& t = c.textures[0];
  const int rowBytes = block.count * fast.targetBytesPerPixel;
  auto destinationRow = [&](int row) {
    return c.targetBits + static_cast<std::ptrdiff_t>(block.y + row) * c.targetPitch +
           static_cast<std::ptrdiff_t>(block.x) * fast.targetBytesPerPixel;
  };
  // Opaque texels laid out as the target's pixels change only in the target's unused
  // bits: their rows, read in place, are copied.
  const bool copyable = C == ColourFrom::Texel && B == BlendKind::Off && !Discard && fast.texelsCopied;
  const bool inPlace = (fast.texelsInPlace || copyable) && ReadsTexelsInPlace(t, block);
  const bool copies = copyable && inPlace;
  const int texelBytes = copies ? fast.targetBytesPerPixel : 4;
  const BYTE* texelColumn = inPlace ? t.bits + (block.u[0].start >> kTexelFractionBits) * texelBytes : nullptr;
  auto texelRow = [&](int row) {
    std::int64_t v = block.v[0].start + block.v[0].rowStep * row;
    return texelColumn + (v >> kTexelFractionBits) * t.pitch;
  };
  // Sprites sit anywhere on the target: the rows they write (and, read in place, the
  // texel rows they read) are asked for a few rows ahead, so that cache misses overlap.
  // Wide blocks stream and are left alone.
  auto prefetchRow = [&](int row) {
    if (row >= block.rows || block.count >= kStreamingWidth) return;
    const BYTE* destination = destinationRow(row);
    const char* texels = inPlace ? reinterpret_cast<const char*>(texelRow(row)) : nullptr;
    for (int offset = 0; offset < rowBytes; offset += 64) _mm_prefetch(destination + offset, _MM_HINT_T0);
    for (int offset = 0; inPlace && offset < block.count * texelBytes; offset += 64) _mm_prefetch(texels + offset, _MM_HINT_T0);
  };

  // A 32-bit target is shaded in place; a 16-bit one through a widened copy.
  DWORD widened[kChunk];
  auto shade = [&](BYTE* destination, const DWORD* texels, int count) {
    if (fast.widenTarget == nullptr) return ShadeRow<L, C, A, Discard, B>(reinterpret_cast<DWORD*>(destination), texels, count, k);
    if constexpr (B == BlendKind::Off) {
      __builtin_memset(widened, 0, count * sizeof(DWORD));
      ShadeRow<L, C, A, Discard, B>(widened, texels, count, k);
      fast.narrowWritten(widened, count, destination);
    } else {
      fast.widenTarget(destination, count, widened);
      ShadeRow<L, C, A, Discard, B>(widened, texels, count, k);
      fast.narrowTarget(widened, count, destination);
    }
  };
  DWORD diffuse[kChunk], texels[kChunk];
  // An upright block of one chunk a row fetches a texel row once for all the pixel rows
  // that show it (a sprite drawn larger than its texels): -1 while none is fetched.
  // Those of 32-bit texels and more than one row fetch by a plan of the columns, made
  // once.
  const bool upright = block.u[0].rowStep == 0 && block.v[0].step == 0 && block.count <= kChunk;
  const bool byPlan = upright && block.rows > 1 && !inPlace && !c.untextured && fast.texelsInPlace;
  UprightTexels<L> plan;
  if (byPlan) plan.Plan(block.u[0].start, block.u[0].step, block.count, t.width);
  std::int64_t fetchedRow = -1;
  if (c.untextured) {
    for (int i = 0; i < Smaller(block.count, kChunk); ++i) diffuse[i] = block.diffuse;
  }
  for (int row = 0; row < kPrefetchRows; ++row) prefetchRow(row);
  for (int row = 0; row < block.rows; ++row) {
    prefetchRow(row + kPrefetchRows);
    BYTE* destination = destinationRow(row);
    if (copies) {
      CopyRow<L>(destination, texelRow(row), rowBytes, k.copiedUnusedBits);
      continue;
    }
    std::int64_t u = block.u[0].start + block.u[0].rowStep * row, v = block.v[0].start + block.v[0].rowStep * row;
    for (int done = 0; done < block.count; done += kChunk) {
      int count = Smaller(kChunk, block.count - done);
      const DWORD* source = diffuse;
      if (inPlace) {
        source = reinterpret_cast<const DWORD*>(texelRow(row)) + done;
      } else if (!c.untextured) {
        const std::int64_t texelRow = ClampedTexel(v, t.height);
        if (byPlan && texelRow != fetchedRow) {
          plan.Fetch(reinterpret_cast<const DWORD*>(t.bits + texelRow * t.pitch), texels);
        } else if (!upright || texelRow != fetchedRow) {
          fast.readTexels(t, u, v, block.u[0].step, block.v[0].step, count, texels);
        }
        fetchedRow = upright ? texelRow : -1;
        source = texels;
        u += block.u[0].step * count;
        v += block.v[0].step * count;
      }
      shade(destination + static_cast<std::ptrdiff_t>(done) * fast.targetBytesPerPixel, source, count);
    }
  }
}

template <typename L, ColourFrom C, AlphaFrom A, bool Discard>
constexpr SpanFunction kByBlend[3] = {&FastSpan<L, C, A, Discard, BlendKind::Off>,
                                      &FastSpan<L, C, A, Discard, BlendKind::Alpha>,
                                      &FastSpan<L, C, A, Discard, BlendKind::Add>};

template <typename L, ColourFrom C, AlphaFrom A>
constexpr const SpanFunction* kByDiscard[2] = {kByBlend<L, C, A, false>, kByBlend<L, C, A, true>};

template <typename L, ColourFrom C>
constexpr const SpanFunction* const* kByAlpha[3] = {kByDiscard<L, C, AlphaFrom::Texel>,
                                                    kByDiscard<L, C, AlphaFrom::Diffuse>,
                                                    kByDiscard<L, C, AlphaFrom::TexelTimesDiffuse>};

template <typename L>
SpanFunction FastSpanFor(int colour, int alpha, bool discard, int blend) {
  const SpanFunction* const* const* byAlpha =
      colour == 0 ? kByAlpha<L, ColourFrom::Texel> : kByAlpha<L, ColourFrom::TexelTimesDiffuse>;
  return byAlpha[alpha][discard ? 1 : 0][blend];
}

}  // namespace
