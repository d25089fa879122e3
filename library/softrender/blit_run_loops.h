// The run-table path of the image-at-position kernel: a whole, unclipped source
// drawn with the transparent test through its run table, so transparent stretches
// are passed over in one step and drawn stretches need no test. Opaque runs take
// the formulas without the source alpha, translucent runs those with it; there are
// no fixed-parameter shortcut forms on this path.
#pragma once

#include <algorithm>
#include <cstdint>

#include "graphics/blend_tables.h"
#include "graphics/memimg.h"
#include "softrender/blend_rows32.h"
#include "softrender/blit_area.h"
#include "softrender/blit_rows32.h"
#include "softrender/source_pixels.h"

template <int Kind, int Form, int Op, bool Graph, bool White, bool Weighted>
inline void DrawRun(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* g, int count,
                    const SourceDraw& draw) {
  using Src = SourcePixels<Kind, Form>;
  using Dst = DestPixels<Kind>;
  constexpr int kGraph = Graph ? FACTORS_GRAPH : FACTORS_NONE;
  constexpr bool kVectorRows = Kind == PIXEL_KIND_32 && Form != SOURCE_PALETTE && !Graph && White;
  // An opaque run of an alpha source is blended like a source without alpha.
  constexpr int kRunForm = Weighted ? SOURCE_ALPHA : SOURCE_DIRECT;
  if constexpr (kVectorRows && Op == BLEND_OP_COPY) {
    if constexpr (Weighted) {
      AlphaCopyRect32<false>(d, 0, s, 0, count, 1, draw);
    } else {
      CopyRow32(d, s, count);
    }
  } else if constexpr (kVectorRows && HasBlendRow32(Op)) {
    BlendRow32<Op, kRunForm, false>(d, reinterpret_cast<const std::uint32_t*>(s), count, draw);
  } else {
    for (int i = 0; i < count; ++i, d += Dst::kBytes, s += Src::kBytes) {
      const std::uint32_t colour = Src::Colour(Src::Raw(s), draw.palette);
      const std::uint32_t graphWeight = Graph ? BlendGraphRamp[g[i]] : 0u;
      if constexpr (Weighted) {
        const std::uint32_t a = Src::Alpha(s);
        const std::uint32_t weight = Graph ? a * graphWeight : a;
        Dst::Store(d, Dst::template Blend<Op, kGraph | FACTORS_ALPHA, White>(colour, Dst::Load(d), weight, draw.rows));
      } else {
        Dst::Store(d, Dst::template Blend<Op, kGraph, White>(colour, Dst::Load(d), graphWeight, draw.rows));
      }
    }
  }
}

// Walks the run table row by row. A run never goes past the row's width and the
// walk never reads past the table's buffer, whatever the table holds.
template <int Kind, int Form, int Op, bool Graph, bool White>
void BlitRunLoop(const BlitArea& area, const SourceDraw& draw) {
  using Src = SourcePixels<Kind, Form>;
  using Dst = DestPixels<Kind>;
  const std::uint8_t* run = area.runs;
  for (int row = 0; row < area.height; ++row) {
    std::uint8_t* d = area.dst + row * area.dstPitch;
    const std::uint8_t* s = area.src + row * area.srcPitch;
    const std::uint8_t* g = Graph ? area.graph + row * area.graphPitch : nullptr;
    int x = 0;
    while (run < area.runsEnd) {
      const std::uint8_t code = *run++;
      const int op = code >> 6;
      if (op == 3) break;
      const int count = std::min((code & 0x3F) + 1, area.width - x);
      std::uint8_t* dx = d + x * Dst::kBytes;
      const std::uint8_t* sx = s + x * Src::kBytes;
      const std::uint8_t* gx = Graph ? g + x : nullptr;
      x += count;
      if (op == 0) continue;
      if constexpr (Form == SOURCE_ALPHA) {
        if (op == 2) {
          DrawRun<Kind, Form, Op, Graph, White, true>(dx, sx, gx, count, draw);
          continue;
        }
      }
      // Sources without alpha have no translucent runs: any drawn run is opaque.
      DrawRun<Kind, Form, Op, Graph, White, false>(dx, sx, gx, count, draw);
    }
  }
}
