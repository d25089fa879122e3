// The loops of the image-at-position kernel that walk the clipped area pixel by
// pixel (every draw that does not take the run-table path).
#pragma once

#include <cstdint>
#include <cstring>

#include "graphics/blend_tables.h"
#include "softrender/blend_rows32.h"
#include "softrender/blit_area.h"
#include "softrender/blit_rows32.h"
#include "softrender/source_pixels.h"

// One loop per combination of pixel kind, source form, blend operation, blend
// graph, white tint and transparent test.
template <int Kind, int Form, int Op, bool Graph, bool White, bool Trans>
void BlitPixelLoop(const BlitArea& area, const SourceDraw& draw) {
  using Src = SourcePixels<Kind, Form>;
  using Dst = DestPixels<Kind>;
  constexpr bool kPlainCopy = Op == BLEND_OP_COPY && !Graph && White;
  constexpr bool kPlainCopy32 = kPlainCopy && Kind == PIXEL_KIND_32;
  if constexpr (kPlainCopy32 && Form == SOURCE_ALPHA) {
    AlphaCopyRect32<Trans>(area.dst, area.dstPitch, area.src, area.srcPitch, area.width, area.height, draw);
    return;
  }
  const int width = area.width;
  for (int row = 0; row < area.height; ++row) {
    std::uint8_t* d = area.dst + row * area.dstPitch;
    const std::uint8_t* s = area.src + row * area.srcPitch;
    if constexpr (kPlainCopy && Kind == PIXEL_KIND_16 && Form == SOURCE_DIRECT && !Trans) {
      std::memcpy(d, s, static_cast<std::size_t>(width) * 2);
    } else if constexpr (kPlainCopy32 && Form == SOURCE_DIRECT) {
      if constexpr (Trans) {
        KeyedCopyRow32(d, s, width, draw.key);
      } else {
        CopyRow32(d, s, width);
      }
    } else if constexpr (Kind == PIXEL_KIND_32 && !Graph && White && Form != SOURCE_PALETTE && HasBlendRow32(Op)) {
      BlendRow32<Op, Form, Trans>(d, reinterpret_cast<const std::uint32_t*>(s), width, draw);
    } else {
      const std::uint8_t* g = Graph ? area.graph + row * area.graphPitch : nullptr;
      for (int x = 0; x < width; ++x) {
        const std::uint32_t weight = Graph ? BlendGraphRamp[g[x]] : 0u;
        DrawSourcePixel<Kind, Form, Op, Graph, White, Trans>(d + x * Dst::kBytes, s + x * Src::kBytes, weight,
                                                             draw);
      }
    }
  }
}

// RGB565 add and subtract of two pixels at once, as one little-endian 32-bit word
// (first pixel in the low half). The carries and borrows between the two pixels
// are part of the result: the second pixel's blue works on its upper four bits.
inline std::uint32_t PairAdd565(std::uint32_t d, std::uint32_t s) {
  const std::uint64_t wide = std::uint64_t{s & 0xF7DEF7DFu} + (d & 0xF7DEF7DFu);
  const std::uint32_t sum = static_cast<std::uint32_t>(wide);
  const std::uint32_t carryOut = static_cast<std::uint32_t>(wide >> 32);
  const std::uint32_t c = sum & 0x08210820u;
  return sum | (c - ((c >> 5) | (carryOut << 27)));
}

inline std::uint32_t PairSub565(std::uint32_t d, std::uint32_t s) {
  const std::uint32_t guarded = d | 0x08210820u;
  const std::uint32_t taken = s & 0xF7DEF7DFu;
  const std::uint32_t x = guarded - taken;
  const std::uint32_t c = x & 0x08210820u;
  return x & ((c - (c >> 5)) | (guarded < taken ? 0u : 0xF8000000u));
}

// Mode 2 or 3 at parameter 255 on RGB565, untinted, no blend graph, source without
// alpha: the row goes in pairs of pixels, then a last single pixel. A single pixel
// (also the drawn one of a pair with one transparent pixel) uses the one-pixel
// combine with the raw source colour, the add without its low-bit OR term.
template <int Form, bool Add, bool Trans>
void BlitPairLoop565(const BlitArea& area, const SourceDraw& draw) {
  using Src = SourcePixels<PIXEL_KIND_16, Form>;
  using Dst = DestPixels<PIXEL_KIND_16>;
  const auto single = [](std::uint8_t* d, std::uint32_t colour) {
    const std::uint32_t dv = Dst::Load(d);
    Dst::Store(d, Add ? AddSaturate565NoLowBits(dv, colour) : SubSaturate565(dv, colour));
  };
  for (int row = 0; row < area.height; ++row) {
    std::uint8_t* d = area.dst + row * area.dstPitch;
    const std::uint8_t* s = area.src + row * area.srcPitch;
    int x = 0;
    for (; x + 2 <= area.width; x += 2) {
      const std::uint32_t raw0 = Src::Raw(s + x * Src::kBytes);
      const std::uint32_t raw1 = Src::Raw(s + (x + 1) * Src::kBytes);
      std::uint8_t* d0 = d + x * 2;
      if constexpr (Trans) {
        const bool skip0 = raw0 == draw.key;
        const bool skip1 = raw1 == draw.key;
        if (skip0 || skip1) {
          if (!skip0) single(d0, Src::Colour(raw0, draw.palette));
          if (!skip1) single(d0 + 2, Src::Colour(raw1, draw.palette));
          continue;
        }
      }
      const std::uint32_t sv = Src::Colour(raw0, draw.palette) | (Src::Colour(raw1, draw.palette) << 16);
      const std::uint32_t dv = Dst::Load(d0) | (Dst::Load(d0 + 2) << 16);
      const std::uint32_t out = Add ? PairAdd565(dv, sv) : PairSub565(dv, sv);
      Dst::Store(d0, out & 0xFFFFu);
      Dst::Store(d0 + 2, out >> 16);
    }
    if (x < area.width) {
      const std::uint32_t raw = Src::Raw(s + x * Src::kBytes);
      if (!Trans || raw != draw.key) single(d + x * 2, Src::Colour(raw, draw.palette));
    }
  }
}
