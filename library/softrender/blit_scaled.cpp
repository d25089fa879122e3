// The stretched-image kernel: nearest-source sampling with a 16.16 error term per
// axis, mirrored when the rectangle's x2 < x1 and flipped when y2 < y1. Destination
// pixel d of the unclipped rectangle shows source column floor(d x 65536 / scale)
// (counted from the right edge when mirrored); clipping never changes that.
#include <algorithm>
#include <cstdint>

#include "graphics/blend_tables.h"
#include "softrender/blit_kernels.h"
#include "softrender/clip_rect.h"
#include "softrender/draw_options.h"
#include "softrender/loop_select.h"
#include "softrender/source_pixels.h"

namespace {

constexpr std::int64_t kOne = 65536;  // 1.0 in 16.16
constexpr std::int64_t kMaxExtent = 32768;

struct ScaledArea {
  std::uint8_t* dst;  // first destination pixel drawn
  std::ptrdiff_t dstPitch;
  const std::uint8_t* src;  // source pixel (0, 0)
  std::ptrdiff_t srcPitch;
  const std::uint8_t* graph;  // blend-graph byte (0, 0), or NULL
  std::ptrdiff_t graphPitch;
  int width;  // destination pixels drawn per row
  int height;
  std::int64_t firstColumn, firstRow;  // source pixel of the first destination pixel
  int columnStep, rowStep;             // +1, or -1 when mirrored / flipped
  std::int64_t scaleX, scaleY;         // destination pixels per source pixel, 16.16
  std::int64_t errorX, errorY;         // error terms at the first pixel, in (0, scale]
  // 1.0 = whole x scale + rest: each destination pixel moves the source by `whole`
  // pixels, and one more when the error term, less `rest`, falls to 0 or below.
  std::int64_t wholeX, restX, wholeY, restY;
};

using ScaledLoop = void (*)(const ScaledArea& area, const SourceDraw& draw);

template <int Kind, int Form, int Op, bool Graph, bool White, bool Trans>
void BlitScaledLoop(const ScaledArea& area, const SourceDraw& draw) {
  constexpr int kSrcBytes = SourceBytesPerPixel(Kind, Form);
  constexpr int kDstBytes = DestPixels<Kind>::kBytes;
  std::int64_t row = area.firstRow;
  std::int64_t errorY = area.errorY;
  for (int y = 0; y < area.height; ++y) {
    std::uint8_t* d = area.dst + y * area.dstPitch;
    const std::uint8_t* sourceRow = area.src + row * area.srcPitch;
    const std::uint8_t* graphRow = Graph ? area.graph + row * area.graphPitch : nullptr;
    std::int64_t column = area.firstColumn;
    std::int64_t errorX = area.errorX;
    for (int x = 0; x < area.width; ++x, d += kDstBytes) {
      const std::uint32_t weight = Graph ? BlendGraphRamp[graphRow[column]] : 0u;
      DrawSourcePixel<Kind, Form, Op, Graph, White, Trans>(d, sourceRow + column * kSrcBytes, weight, draw);
      column += area.wholeX;
      errorX -= area.restX;
      if (errorX <= 0) {
        column += area.columnStep;
        errorX += area.scaleX;
      }
    }
    row += area.wholeY;
    errorY -= area.restY;
    if (errorY <= 0) {
      row += area.rowStep;
      errorY += area.scaleY;
    }
  }
}

ScaledLoop SelectScaledLoop(int kind, int form, int op, bool graph, bool white, bool trans) {
  if (op == BLEND_OP_SUB_BYTES) {
    return ChooseInt<SOURCE_DIRECT, SOURCE_PALETTE>(form, [&](auto f) {
      return ChooseBool(trans, [&](auto t) -> ScaledLoop {
        return &BlitScaledLoop<PIXEL_KIND_32, f(), BLEND_OP_SUB_BYTES, false, true, t()>;
      });
    });
  }
  return ChooseInt<PIXEL_KIND_16, PIXEL_KIND_32>(kind, [&](auto k) {
    return ChooseInt<SOURCE_DIRECT, SOURCE_ALPHA, SOURCE_PALETTE>(form, [&](auto f) {
      return ChooseInt<BLEND_OP_COPY, BLEND_OP_ALPHA, BLEND_OP_ADD, BLEND_OP_SUB, BLEND_OP_MUL>(op, [&](auto o) {
        return ChooseBool(graph, [&](auto g) {
          return ChooseBool(white, [&](auto w) {
            return ChooseBool(trans, [&](auto t) -> ScaledLoop { return &BlitScaledLoop<k(), f(), o(), g(), w(), t()>; });
          });
        });
      });
    });
  });
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

// The destination span [first, end) (relative to the rectangle's edge) whose source
// pixels lie among the first `covered` of `size` source pixels (the blend graph's
// extent), counted from the near edge, or from the far edge when reversed.
void CoveredSpan(std::int64_t size, std::int64_t covered, std::int64_t scale, bool reversed, std::int64_t* first,
                 std::int64_t* end) {
  if (reversed) {
    *first = CeilDiv((size - covered) * scale, kOne);
  } else {
    *end = CeilDiv(covered * scale, kOne);
  }
}

}  // namespace

void BlitMemImgScaledKernels(MEMIMG* dst, const MEMIMG* src, const RECT* rect, int transparent,
                             const MEMIMG* blendGraph, const SoftDrawState& state) {
  if (dst == nullptr) return;
  BlitMemImgScaledInTile(dst, src, rect, transparent, blendGraph, state, RECT{0, 0, dst->width, dst->height});
}

void BlitMemImgScaledInTile(MEMIMG* dst, const MEMIMG* src, const RECT* rect, int transparent,
                            const MEMIMG* blendGraph, const SoftDrawState& drawState, const RECT& tile) {
  if (dst == nullptr || src == nullptr || rect == nullptr || dst->pixels == nullptr || src->pixels == nullptr) return;
  if (!CanDrawInto(dst, src) || src->width < 1 || src->height < 1) return;
  const bool mirror = rect->left > rect->right;
  const bool flip = rect->top > rect->bottom;
  const std::int64_t left = std::min(rect->left, rect->right);
  const std::int64_t top = std::min(rect->top, rect->bottom);
  const std::int64_t width = std::int64_t{std::max(rect->left, rect->right)} - left;
  const std::int64_t height = std::int64_t{std::max(rect->top, rect->bottom)} - top;
  if (width == 0 || height == 0 || width >= kMaxExtent || height >= kMaxExtent) return;
  if (width == src->width && height == src->height && !mirror && !flip) {
    BlitMemImgInTile(dst, src, static_cast<int>(left), static_cast<int>(top), transparent, blendGraph, drawState,
                     tile);
    return;
  }
  // A scaled draw's pixels do not depend on the clip: the tile clips it.
  SoftDrawState state = drawState;
  ClipRectangleBody(&state.clip, &tile);
  const std::int64_t scaleX = width * kOne / src->width;
  const std::int64_t scaleY = height * kOne / src->height;
  if (scaleX == 0 || scaleY == 0) return;

  const int kind = src->kind;
  const int form = SourceFormOf(src);
  if (form == SOURCE_PALETTE && src->palette == nullptr) return;
  const int param = ClampBlendParam(state.blendParam);
  const MEMIMG* graph = blendGraph != nullptr && blendGraph->pixels != nullptr ? blendGraph : nullptr;
  const bool white = IsWhiteTint(state.tint);
  const int op = SharedPixelOp(kind, form, state.blendMode, param, graph != nullptr, white, state.mmxUsable != 0);
  if (op < 0) return;

  // Only destination pixels whose source pixel the blend graph covers are drawn.
  std::int64_t firstX = 0, endX = width, firstY = 0, endY = height;
  if (graph != nullptr) {
    if (graph->width < src->width) CoveredSpan(src->width, std::max(graph->width, 0), scaleX, mirror, &firstX, &endX);
    if (graph->height < src->height) CoveredSpan(src->height, std::max(graph->height, 0), scaleY, flip, &firstY, &endY);
  }
  RECT area;
  if (!ClipDrawRect(left + firstX, top + firstY, std::min(endX, width) - firstX, std::min(endY, height) - firstY,
                    state.clip, dst->width, dst->height, &area)) {
    return;
  }

  ScaledArea scaled{};
  scaled.dst = static_cast<std::uint8_t*>(dst->pixels) + static_cast<std::ptrdiff_t>(area.top) * dst->pitch +
               static_cast<std::ptrdiff_t>(area.left) * DestBytesPerPixel(kind);
  scaled.dstPitch = dst->pitch;
  scaled.src = static_cast<const std::uint8_t*>(src->pixels);
  scaled.srcPitch = src->pitch;
  if (graph != nullptr) {
    scaled.graph = static_cast<const std::uint8_t*>(graph->pixels);
    scaled.graphPitch = graph->pitch;
  }
  scaled.width = area.right - area.left;
  scaled.height = area.bottom - area.top;
  const std::int64_t startX = (area.left - left) * kOne / scaleX;
  const std::int64_t startY = (area.top - top) * kOne / scaleY;
  scaled.errorX = scaleX - (area.left - left) * kOne % scaleX;
  scaled.errorY = scaleY - (area.top - top) * kOne % scaleY;
  scaled.firstColumn = mirror ? src->width - 1 - startX : startX;
  scaled.firstRow = flip ? src->height - 1 - startY : startY;
  scaled.columnStep = mirror ? -1 : 1;
  scaled.rowStep = flip ? -1 : 1;
  scaled.scaleX = scaleX;
  scaled.scaleY = scaleY;
  scaled.wholeX = kOne / scaleX * scaled.columnStep;
  scaled.restX = kOne % scaleX;
  scaled.wholeY = kOne / scaleY * scaled.rowStep;
  scaled.restY = kOne % scaleY;

  KernelPalette palette;
  SourceDraw draw{MakeBlendRows(param, state.tint), src->palette, src->transparentColor};
  if (form == SOURCE_PALETTE) {
    CopyKernelPalette(&palette, src);
    draw.palette = &palette;
  }
  SelectScaledLoop(kind, form, op, graph != nullptr, white, transparent != 0)(scaled, draw);
  MarkMemImgWritten(dst);
}

namespace {

// The source span [first, end) that destination span [clipped, clipped + length) of
// an extent drawn from `start` shows, before mirroring, at the given scale.
void SourceSpan(std::int64_t start, std::int64_t clipped, std::int64_t length, std::int64_t scale, std::int64_t* first,
                std::int64_t* end) {
  *first = clipped != start ? (clipped - start) * kOne / scale : 0;
  *end = *first + CeilDiv(length * kOne, scale);
}

}  // namespace

bool GetStretchedDrawRects(const RECT& rect, int sourceWidth, int sourceHeight, const RECT& clip, RECT* destination,
                           RECT* source) {
  if (sourceWidth < 1 || sourceHeight < 1) return false;
  const bool mirror = rect.left > rect.right;
  const bool flip = rect.top > rect.bottom;
  const RECT sorted{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
                    std::max(rect.top, rect.bottom)};
  const std::int64_t width = std::int64_t{sorted.right} - sorted.left;
  const std::int64_t height = std::int64_t{sorted.bottom} - sorted.top;
  if (width == 0 || height == 0 || width >= kMaxExtent || height >= kMaxExtent) return false;
  const std::int64_t scaleX = width * kOne / sourceWidth;
  const std::int64_t scaleY = height * kOne / sourceHeight;
  if (scaleX == 0 || scaleY == 0) return false;
  *destination = sorted;
  ClipRectangleBody(destination, &clip);
  if (destination->right == destination->left || destination->bottom == destination->top) return false;
  std::int64_t left, right, top, bottom;
  SourceSpan(sorted.left, destination->left, destination->right - destination->left, scaleX, &left, &right);
  SourceSpan(sorted.top, destination->top, destination->bottom - destination->top, scaleY, &top, &bottom);
  if (mirror) {
    const std::int64_t l = left;
    left = sourceWidth - right;
    right = sourceWidth - l;
  }
  if (flip) {
    const std::int64_t t = top;
    top = sourceHeight - bottom;
    bottom = sourceHeight - t;
  }
  // The ceiling spans can reach a pixel past the source's far edge.
  source->left = static_cast<LONG>(std::clamp<std::int64_t>(left, 0, sourceWidth));
  source->right = static_cast<LONG>(std::clamp<std::int64_t>(right, 0, sourceWidth));
  source->top = static_cast<LONG>(std::clamp<std::int64_t>(top, 0, sourceHeight));
  source->bottom = static_cast<LONG>(std::clamp<std::int64_t>(bottom, 0, sourceHeight));
  return true;
}
