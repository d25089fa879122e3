#include "softrender/affine_span.h"

#include <algorithm>
#include <cstdlib>

#include "graphics/blend_tables.h"
#include "softrender/affine_gather.h"
#include "softrender/alpha_row_vector.h"
#include "softrender/blend_rows32.h"
#include "softrender/blit_rows32.h"
#include "softrender/draw_options.h"
#include "softrender/kernel_clip.h"
#include "softrender/loop_select.h"
#include "softrender/shown_texels.h"

namespace {

// The k in [0, count) with low <= p + k x step < limit, as [*first, *end).
void InsideRange(std::int64_t p, std::int64_t step, std::int64_t low, std::int64_t limit, std::int64_t count,
                 std::int64_t* first, std::int64_t* end) {
  p -= low;
  limit -= low;
  if (step < 0) {
    // 0 <= q < limit exactly when 0 <= limit - 1 - q < limit: walk the mirrored position.
    p = limit - 1 - p;
    step = -step;
  }
  if (p >= limit) {
    *first = *end = 0;
    return;
  }
  if (step == 0) {
    *first = 0;
    *end = p >= 0 ? count : 0;
    return;
  }
  *first = p >= 0 ? 0 : (-p + step - 1) / step;
  *end = std::min(count, (limit - 1 - p) / step + 1);
}

// Untinted 32-bit draws without a blend graph gather their texels into a row for
// the vector blends: mode 0 of an alpha source and the operations BlendRow32 has.
// (A palette source's texels are its colours, drawn like a direct source's; with
// the transparent flag its indices are compared, so it stays per pixel.)
template <int Kind, int Op, bool Graph, bool White, bool Trans, int Form>
constexpr bool GathersRows() {
  if (Kind != PIXEL_KIND_32 || Graph || !White || (Form == SOURCE_PALETTE && Trans)) return false;
  if (Form == SOURCE_ALPHA && Op == BLEND_OP_COPY) return true;
  return HasBlendRow32(Op);
}

constexpr int kGatheredTexels = 64;

// Draws a row of gathered texels (their colours) over the destination row at d.
template <int Kind, int Op, bool Trans, int Form>
void DrawTexelRow(std::uint8_t* d, const std::uint32_t* texels, int count, const SourceDraw& draw) {
  if constexpr (Op == BLEND_OP_COPY) {
    AlphaCopyRect32<Trans>(d, 0, reinterpret_cast<const std::uint8_t*>(texels), 0, count, 1, draw);
  } else {
    BlendRow32<Op, Form == SOURCE_PALETTE ? SOURCE_DIRECT : Form, Trans>(d, texels, count, draw);
  }
}

// One loop per pixel kind, blend operation, blend graph, white tint, transparent
// test and source form.
template <int Kind, int Op, bool Graph, bool White, bool Trans, int Form>
void DrawAffineSpan(const AffineSpan& span, const SampledSource& source, const SourceDraw& sharedDraw) {
  using Src = SourcePixels<Kind, Form>;
  constexpr int kSrcBytes = SourceBytesPerPixel(Kind, Form);
  constexpr int kDstBytes = DestPixels<Kind>::kBytes;
  // A local copy: the destination stores cannot change it, so its fields stay in registers.
  const SourceDraw draw = sharedDraw;
  std::int64_t first, end;
  InsideColumns(span, source, &first, &end);
  std::uint8_t* d = span.dst + first * kDstBytes;
  std::int64_t u = span.u + first * span.du;
  std::int64_t v = span.v + first * span.dv;
  if constexpr (GathersRows<Kind, Op, Graph, White, Trans, Form>()) {
    std::uint32_t texels[kGatheredTexels];
    for (std::int64_t k = first; k < end;) {
      const int count = static_cast<int>(std::min<std::int64_t>(kGatheredTexels, end - k));
      int i = 0;
      if constexpr (Form != SOURCE_PALETTE) {
        // Direct and alpha 32-bit texels are their colours: gathered eight at a time where
        // the processor can.
        static const bool wide = CpuHasAvx2();
        if (wide) {
          const int columns = static_cast<int>(source.uLimit >> kFixedShift);
          const int rows = static_cast<int>(source.vLimit >> kFixedShift);
          i = GatherAffineTexels32Avx2(source.pixels, source.pitch, columns, rows, u, v, span.du, span.dv, count, texels);
        }
        u += i * span.du;
        v += i * span.dv;
      }
      for (; i < count; ++i, u += span.du, v += span.dv) {
        const std::uint8_t* texel = source.pixels + (v >> kFixedShift) * source.pitch + (u >> kFixedShift) * kSrcBytes;
        texels[i] = Src::Colour(Src::Raw(texel), draw.palette);
      }
      DrawTexelRow<Kind, Op, Trans, Form>(d, texels, count, draw);
      d += count * kDstBytes;
      k += count;
    }
  } else {
    for (std::int64_t k = first; k < end; ++k, d += kDstBytes, u += span.du, v += span.dv) {
      const std::int64_t column = u >> kFixedShift;
      const std::int64_t row = v >> kFixedShift;
      const std::uint32_t weight = Graph ? BlendGraphRamp[source.graph[row * source.graphPitch + column]] : 0u;
      DrawSourcePixel<Kind, Form, Op, Graph, White, Trans>(d, source.pixels + row * source.pitch + column * kSrcBytes,
                                                           weight, draw);
    }
  }
}

// The upright draw in strips of columns: each strip's source columns are found once,
// and a gathered row of texels serves every destination row that shows the same
// source row. (The source never shares the destination's pixels here, so the order
// of the strips is free.)
template <int Kind, int Op, bool Graph, bool White, bool Trans, int Form>
void DrawUprightSpans(const UprightRows& rows, const SampledSource& source, const SourceDraw& sharedDraw) {
  using Src = SourcePixels<Kind, Form>;
  constexpr int kSrcBytes = SourceBytesPerPixel(Kind, Form);
  constexpr int kDstBytes = DestPixels<Kind>::kBytes;
  const SourceDraw draw = sharedDraw;
  std::int64_t first, end, firstRow, endRow;
  InsideRange(rows.u, rows.du, source.uLow, source.uLimit, rows.count, &first, &end);
  InsideRange(rows.v, rows.dv, source.vLow, source.vLimit, rows.rows, &firstRow, &endRow);
  std::int64_t columns[kGatheredTexels];
  for (std::int64_t k = first; k < end; k += kGatheredTexels) {
    const int count = static_cast<int>(std::min<std::int64_t>(kGatheredTexels, end - k));
    std::int64_t u = rows.u + k * rows.du;
    for (int i = 0; i < count; ++i, u += rows.du) columns[i] = u >> kFixedShift;
    [[maybe_unused]] std::uint32_t texels[kGatheredTexels];
    [[maybe_unused]] const std::uint8_t* gatheredRow = nullptr;
    for (std::int64_t r = firstRow; r < endRow; ++r) {
      std::uint8_t* d = rows.dst + r * rows.dstPitch + k * kDstBytes;
      const std::int64_t row = (rows.v + r * rows.dv) >> kFixedShift;
      const std::uint8_t* sourceRow = source.pixels + row * source.pitch;
      if constexpr (GathersRows<Kind, Op, Graph, White, Trans, Form>()) {
        if (sourceRow != gatheredRow) {
          for (int i = 0; i < count; ++i) {
            texels[i] = Src::Colour(Src::Raw(sourceRow + columns[i] * kSrcBytes), draw.palette);
          }
          gatheredRow = sourceRow;
        }
        DrawTexelRow<Kind, Op, Trans, Form>(d, texels, count, draw);
      } else {
        const std::uint8_t* graphRow = Graph ? source.graph + row * source.graphPitch : nullptr;
        for (int i = 0; i < count; ++i, d += kDstBytes) {
          const std::uint32_t weight = Graph ? BlendGraphRamp[graphRow[columns[i]]] : 0u;
          DrawSourcePixel<Kind, Form, Op, Graph, White, Trans>(d, sourceRow + columns[i] * kSrcBytes, weight, draw);
        }
      }
    }
  }
}

// The two loop families, for SelectLoop.
struct AffineSpanLoops {
  template <int Kind, int Op, bool Graph, bool White, bool Trans, int Form>
  static constexpr AffineSpanLoop kLoop = &DrawAffineSpan<Kind, Op, Graph, White, Trans, Form>;
};
struct UprightRowsLoops {
  template <int Kind, int Op, bool Graph, bool White, bool Trans, int Form>
  static constexpr UprightRowsLoop kLoop = &DrawUprightSpans<Kind, Op, Graph, White, Trans, Form>;
};

template <class Loops>
auto SelectLoop(int kind, int form, int op, bool graph, bool white, bool trans) {
  return ChooseInt<PIXEL_KIND_16, PIXEL_KIND_32>(kind, [&](auto k) {
    return ChooseInt<SOURCE_DIRECT, SOURCE_ALPHA, SOURCE_PALETTE>(form, [&](auto f) {
      return ChooseInt<BLEND_OP_COPY, BLEND_OP_ALPHA, BLEND_OP_ADD, BLEND_OP_SUB, BLEND_OP_MUL>(op, [&](auto o) {
        return ChooseBool(graph, [&](auto g) {
          return ChooseBool(white, [&](auto w) {
            return ChooseBool(trans, [&](auto t) { return Loops::template kLoop<k(), o(), g(), w(), t(), f()>; });
          });
        });
      });
    });
  });
}

// Whether two images' pixels may share memory.
bool SharesPixels(const MEMIMG* a, const MEMIMG* b) {
  const auto span = [](const MEMIMG* image, const std::uint8_t** low, const std::uint8_t** high) {
    const auto* first = static_cast<const std::uint8_t*>(image->pixels);
    const std::ptrdiff_t last = static_cast<std::ptrdiff_t>(image->pitch) * (image->height - 1);
    *low = std::min(first, first + last);
    *high = std::max(first, first + last) + std::abs(static_cast<std::ptrdiff_t>(image->pitch));
  };
  const std::uint8_t *aLow, *aHigh, *bLow, *bHigh;
  span(a, &aLow, &aHigh);
  span(b, &bLow, &bHigh);
  return aLow < bHigh && bLow < aHigh;
}

}  // namespace

void InsideColumns(const AffineSpan& span, const SampledSource& source, std::int64_t* first, std::int64_t* end) {
  std::int64_t uFirst, uEnd, vFirst, vEnd;
  InsideRange(span.u, span.du, source.uLow, source.uLimit, span.count, &uFirst, &uEnd);
  InsideRange(span.v, span.dv, source.vLow, source.vLimit, span.count, &vFirst, &vEnd);
  *first = std::max(uFirst, vFirst);
  *end = std::max(*first, std::min(uEnd, vEnd));
}

bool PrepareAffineDraw(MEMIMG* dst, const MEMIMG* src, int transparent, const MEMIMG* blendGraph,
                       const SoftDrawState& state, AffineDraw* out) {
  if (dst == nullptr || src == nullptr || dst->pixels == nullptr || src->pixels == nullptr) return false;
  if (!CanDrawInto(dst, src) || src->width < 1 || src->height < 1) return false;
  const int form = SourceFormOf(src);
  if (form == SOURCE_PALETTE && src->palette == nullptr) return false;
  const int param = ClampBlendParam(state.blendParam);
  const int op = GeneralBlendOp(state.blendMode, param, false);
  if (op < 0) return false;
  out->clip = KernelClip(dst, state);
  if (out->clip.left >= out->clip.right || out->clip.top >= out->clip.bottom) return false;

  const MEMIMG* graph = blendGraph != nullptr && blendGraph->pixels != nullptr ? blendGraph : nullptr;
  std::int64_t width = src->width, height = src->height;
  SampledSource& source = out->source;
  source.pixels = static_cast<const std::uint8_t*>(src->pixels);
  source.pitch = src->pitch;
  source.graph = nullptr;
  source.graphPitch = 0;
  if (graph != nullptr) {
    // A texel the blend graph does not cover is not drawn.
    width = std::min<std::int64_t>(width, std::max(graph->width, 0));
    height = std::min<std::int64_t>(height, std::max(graph->height, 0));
    source.graph = static_cast<const std::uint8_t*>(graph->pixels);
    source.graphPitch = graph->pitch;
  }
  // Skipped texels change nothing: their columns need no visit.
  ShownTexels shown{0, 0, static_cast<int>(width), static_cast<int>(height)};
  if (transparent != 0 && !VisitsTransparentTexels() && FindShownTexels(src, &shown)) {
    shown = {shown.left, shown.top, std::min<int>(shown.right, static_cast<int>(width)),
             std::min<int>(shown.bottom, static_cast<int>(height))};
  }
  source.uLow = std::int64_t{shown.left} << kFixedShift;
  source.vLow = std::int64_t{shown.top} << kFixedShift;
  source.uLimit = std::max<std::int64_t>(shown.left, shown.right) << kFixedShift;
  source.vLimit = std::max<std::int64_t>(shown.top, shown.bottom) << kFixedShift;
  // A palette source is read through its own 256-entry palette.
  out->draw = SourceDraw{MakeBlendRows(param, state.tint), src->palette, src->transparentColor};
  const bool white = IsWhiteTint(state.tint), trans = transparent != 0;
  out->loop = SelectLoop<AffineSpanLoops>(src->kind, form, op, graph != nullptr, white, trans);
  // A source drawn into itself is read row by row as the rows are written.
  out->uprightLoop = SharesPixels(src, dst) || (graph != nullptr && SharesPixels(graph, dst))
                         ? nullptr
                         : SelectLoop<UprightRowsLoops>(src->kind, form, op, graph != nullptr, white, trans);
  out->dstPixels = static_cast<std::uint8_t*>(dst->pixels);
  out->dstPitch = dst->pitch;
  out->dstBytes = DestBytesPerPixel(dst->kind);
  return true;
}

void DrawAffineRow(const AffineDraw& draw, std::int64_t y, std::int64_t first, std::int64_t last, std::int64_t u,
                   std::int64_t v, std::int64_t du, std::int64_t dv) {
  if (y < draw.clip.top || y >= draw.clip.bottom) return;
  const std::int64_t from = std::max<std::int64_t>(first, draw.clip.left);
  const std::int64_t to = std::min<std::int64_t>(last, draw.clip.right - 1);
  if (from > to) return;
  AffineSpan span;
  span.dst = draw.dstPixels + y * draw.dstPitch + from * draw.dstBytes;
  span.count = to - from + 1;
  span.u = u + (from - first) * du;
  span.v = v + (from - first) * dv;
  span.du = du;
  span.dv = dv;
  draw.loop(span, draw.source, draw.draw);
}

void DrawUprightRows(const AffineDraw& draw, std::int64_t y, std::int64_t rows, std::int64_t first, std::int64_t last,
                     std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dvRow) {
  if (draw.uprightLoop == nullptr) {
    for (std::int64_t r = 0; r < rows; ++r) DrawAffineRow(draw, y + r, first, last, u, v + r * dvRow, du, 0);
    return;
  }
  const std::int64_t from = std::max<std::int64_t>(first, draw.clip.left);
  const std::int64_t to = std::min<std::int64_t>(last, draw.clip.right - 1);
  const std::int64_t top = std::max<std::int64_t>(y, draw.clip.top);
  const std::int64_t bottom = std::min<std::int64_t>(y + rows, draw.clip.bottom);
  if (from > to || top >= bottom) return;
  UprightRows upright;
  upright.dst = draw.dstPixels + top * draw.dstPitch + from * draw.dstBytes;
  upright.dstPitch = draw.dstPitch;
  upright.count = to - from + 1;
  upright.rows = bottom - top;
  upright.u = u + (from - first) * du;
  upright.du = du;
  upright.v = v + (top - y) * dvRow;
  upright.dv = dvRow;
  draw.uprightLoop(upright, draw.source, draw.draw);
}
