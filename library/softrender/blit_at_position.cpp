// The image-at-position kernel: checks and clips once, prepares the draw's
// constants, then runs the one loop chosen for its pixel kind, source form, blend
// operation, blend graph, tint and transparent test.
#include <algorithm>

#include "softrender/blit_kernels.h"
#include "softrender/blit_pixel_loops.h"
#include "softrender/blit_run_loops.h"
#include "softrender/clip_rect.h"
#include "softrender/draw_options.h"
#include "softrender/loop_select.h"
#include "softrender/shown_stretches.h"
#include "softrender/shown_texels.h"

namespace {

// The fixed-parameter shortcut a plain draw (white tint, no blend graph, source
// without alpha) takes instead of the general operation, or the operation itself.
int PlainDrawShortcut(int kind, int op, int param, bool mmxUsable) {
  if (kind == PIXEL_KIND_32) {
    if (op == BLEND_OP_ALPHA && param == 128) return BLEND_OP_HALF;
    if (op == BLEND_OP_ADD && param == 255) return mmxUsable ? BLEND_OP_ADD_BYTES : BLEND_OP_ADD_RAW;
    if (op == BLEND_OP_SUB && param == 255 && mmxUsable) return BLEND_OP_SUB_BYTES;
    return op;
  }
  if (op == BLEND_OP_ALPHA) return param == 128 ? BLEND_OP_HALF : BLEND_OP_MIX6;
  return op;
}

// The run table after its first `rows` rows.
const std::uint8_t* SkipRunRows(const std::uint8_t* run, const std::uint8_t* end, int rows) {
  for (; rows > 0 && run < end; ++run) rows -= (*run >> 6) == 3;
  return run;
}

BlitLoop SelectRunLoop(int kind, int form, int op, bool graph, bool white) {
  return ChooseInt<PIXEL_KIND_16, PIXEL_KIND_32>(kind, [&](auto k) {
    return ChooseInt<SOURCE_DIRECT, SOURCE_ALPHA, SOURCE_PALETTE>(form, [&](auto f) {
      return ChooseInt<BLEND_OP_COPY, BLEND_OP_ALPHA, BLEND_OP_ADD, BLEND_OP_SUB, BLEND_OP_MUL>(op, [&](auto o) {
        return ChooseBool(graph, [&](auto g) {
          return ChooseBool(white, [&](auto w) -> BlitLoop { return &BlitRunLoop<k(), f(), o(), g(), w()>; });
        });
      });
    });
  });
}

BlitLoop SelectGeneralLoop(int kind, int form, int op, bool graph, bool white, bool trans) {
  return ChooseInt<PIXEL_KIND_16, PIXEL_KIND_32>(kind, [&](auto k) {
    return ChooseInt<SOURCE_DIRECT, SOURCE_ALPHA, SOURCE_PALETTE>(form, [&](auto f) {
      return ChooseInt<BLEND_OP_COPY, BLEND_OP_ALPHA, BLEND_OP_ADD, BLEND_OP_SUB, BLEND_OP_MUL>(op, [&](auto o) {
        return ChooseBool(graph, [&](auto g) {
          return ChooseBool(white, [&](auto w) {
            return ChooseBool(trans, [&](auto t) -> BlitLoop { return &BlitPixelLoop<k(), f(), o(), g(), w(), t()>; });
          });
        });
      });
    });
  });
}

// Loops of the plain draws' shortcut operations (untinted, no blend graph).
BlitLoop SelectShortcutLoop(int kind, int form, int op, bool trans) {
  return ChooseInt<SOURCE_DIRECT, SOURCE_PALETTE>(form, [&](auto f) {
    return ChooseBool(trans, [&](auto t) -> BlitLoop {
      if (kind == PIXEL_KIND_16) {
        return ChooseInt<BLEND_OP_HALF, BLEND_OP_MIX6>(op, [&](auto o) -> BlitLoop {
          return &BlitPixelLoop<PIXEL_KIND_16, f(), o(), false, true, t()>;
        });
      }
      return ChooseInt<BLEND_OP_HALF, BLEND_OP_ADD_BYTES, BLEND_OP_ADD_RAW, BLEND_OP_SUB_BYTES>(
          op, [&](auto o) -> BlitLoop { return &BlitPixelLoop<PIXEL_KIND_32, f(), o(), false, true, t()>; });
    });
  });
}

BlitLoop SelectPairLoop(int form, bool add, bool trans) {
  return ChooseInt<SOURCE_DIRECT, SOURCE_PALETTE>(form, [&](auto f) {
    return ChooseBool(add, [&](auto a) {
      return ChooseBool(trans, [&](auto t) -> BlitLoop { return &BlitPairLoop565<f(), a(), t()>; });
    });
  });
}

BlitLoop SelectPixelLoop(int kind, int form, int op, bool graph, bool white, bool trans, int param, bool mmxUsable) {
  if (graph || !white || form == SOURCE_ALPHA) return SelectGeneralLoop(kind, form, op, graph, white, trans);
  if (kind == PIXEL_KIND_16 && (op == BLEND_OP_ADD || op == BLEND_OP_SUB) && param == 255) {
    return SelectPairLoop(form, op == BLEND_OP_ADD, trans);
  }
  const int shortcut = PlainDrawShortcut(kind, op, param, mmxUsable);
  if (shortcut == op) return SelectGeneralLoop(kind, form, op, false, true, trans);
  return SelectShortcutLoop(kind, form, shortcut, trans);
}

// The area's rows cut to the source's shown stretches; each piece starts an even
// number of columns into the area, so the loops pair the same pixels.
void DrawStretches(const ShownStretches& stretches, const BlitArea& area, int srcLeft, int srcTop, int kind, int form,
                   BlitLoop loop, const SourceDraw& draw) {
  const int dstBytes = DestBytesPerPixel(kind), srcBytes = SourceBytesPerPixel(kind, form);
  for (int row = 0; row < area.height; ++row) {
    stretches.ForEachIn(srcTop + row, srcLeft, srcLeft + area.width, [&](int left, int right) {
      const int first = (left - srcLeft) & ~1;
      BlitArea piece = area;
      piece.dst += row * area.dstPitch + first * dstBytes;
      piece.src += row * area.srcPitch + first * srcBytes;
      if (piece.graph != nullptr) piece.graph += row * area.graphPitch + first;
      piece.width = right - srcLeft - first;
      piece.height = 1;
      loop(piece, draw);
    });
  }
}

}  // namespace

void BlitMemImgKernels(MEMIMG* dst, const MEMIMG* src, int x, int y, int transparent, const MEMIMG* blendGraph,
                       const SoftDrawState& state) {
  if (dst == nullptr) return;
  BlitMemImgInTile(dst, src, x, y, transparent, blendGraph, state, RECT{0, 0, dst->width, dst->height});
}

void BlitMemImgInTile(MEMIMG* dst, const MEMIMG* src, int x, int y, int transparent, const MEMIMG* blendGraph,
                      const SoftDrawState& state, const RECT& tile) {
  if (dst == nullptr || src == nullptr || dst->pixels == nullptr || src->pixels == nullptr) return;
  if (!CanDrawInto(dst, src)) return;
  const int kind = src->kind;
  const int form = SourceFormOf(src);
  if (form == SOURCE_PALETTE && src->palette == nullptr) return;
  const int param = ClampBlendParam(state.blendParam);
  // A palette source still runs mode 3 at parameter 0 here (a zero source).
  const int op = GeneralBlendOp(state.blendMode, param, form == SOURCE_PALETTE);
  if (op < 0) return;
  const MEMIMG* graph = blendGraph != nullptr && blendGraph->pixels != nullptr ? blendGraph : nullptr;

  // The blend graph lies at the source's position: only the part it covers is drawn.
  const int drawnWidth = graph ? std::min(src->width, graph->width) : src->width;
  const int drawnHeight = graph ? std::min(src->height, graph->height) : src->height;
  RECT area;
  if (!ClipDrawRect(x, y, drawnWidth, drawnHeight, state.clip, dst->width, dst->height, &area)) return;
  // An unclipped transparent draw of a source with its run data walks the runs. The
  // path follows the draw's own clip; the tile only drops rows.
  const bool wholeSource = area.right - area.left == src->width && area.bottom - area.top == src->height;
  const bool runPath = transparent == 1 && src->runDataValid && src->runData != nullptr && wholeSource;
  // Skipped texels change nothing: any other transparent draw covers only the box of
  // the others, and a large one only their stretches. The area keeps its column pairs
  // (16-bit pixels are added and subtracted two at a time).
  ShownTexels shown;
  const bool skipsHidden = transparent != 0 && !runPath && !VisitsTransparentTexels() && FindShownTexels(src, &shown);
  if (skipsHidden) {
    const std::int64_t left = std::max<std::int64_t>(area.left, std::int64_t{x} + shown.left);
    area.left += static_cast<LONG>((left - area.left) & ~std::int64_t{1});
    area.top = static_cast<LONG>(std::max<std::int64_t>(area.top, std::int64_t{y} + shown.top));
    area.right = static_cast<LONG>(std::min<std::int64_t>(area.right, std::int64_t{x} + shown.right));
    area.bottom = static_cast<LONG>(std::min<std::int64_t>(area.bottom, std::int64_t{y} + shown.bottom));
    if (area.left >= area.right || area.top >= area.bottom) return;
  }
  area.top = std::max(area.top, tile.top);
  area.bottom = std::min(area.bottom, tile.bottom);
  if (area.top >= area.bottom) return;
  const std::shared_ptr<const ShownStretches> stretches =
      skipsHidden ? FindShownStretches(src, std::int64_t{area.right - area.left} * (area.bottom - area.top)) : nullptr;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const std::ptrdiff_t offsetX = static_cast<std::ptrdiff_t>(area.left) - x;
  const std::ptrdiff_t offsetY = static_cast<std::ptrdiff_t>(area.top) - y;

  BlitArea blit{};
  blit.dst = static_cast<std::uint8_t*>(dst->pixels) + static_cast<std::ptrdiff_t>(area.top) * dst->pitch +
             static_cast<std::ptrdiff_t>(area.left) * DestBytesPerPixel(kind);
  blit.dstPitch = dst->pitch;
  blit.src = static_cast<const std::uint8_t*>(src->pixels) + offsetY * src->pitch +
             offsetX * SourceBytesPerPixel(kind, form);
  blit.srcPitch = src->pitch;
  if (graph != nullptr) {
    blit.graph = static_cast<const std::uint8_t*>(graph->pixels) + offsetY * graph->pitch + offsetX;
    blit.graphPitch = graph->pitch;
  }
  blit.width = width;
  blit.height = height;

  SourceDraw draw{MakeBlendRows(param, state.tint), src->palette, src->transparentColor};
  const bool white = IsWhiteTint(state.tint);
  if (runPath) {
    blit.runsEnd = src->runData + (static_cast<std::size_t>(src->width) + 5) * static_cast<std::size_t>(src->height);
    blit.runs = SkipRunRows(src->runData, blit.runsEnd, static_cast<int>(offsetY));
    SelectRunLoop(kind, form, op, graph != nullptr, white)(blit, draw);
  } else {
    // The palette is read through a full 256-entry copy: entries past the
    // image's count read 0.
    KernelPalette palette;
    if (form == SOURCE_PALETTE) {
      CopyKernelPalette(&palette, src);
      draw.palette = &palette;
    }
    const BlitLoop loop =
        SelectPixelLoop(kind, form, op, graph != nullptr, white, transparent != 0, param, state.mmxUsable != 0);
    if (stretches != nullptr) {
      DrawStretches(*stretches, blit, static_cast<int>(offsetX), static_cast<int>(offsetY), kind, form, loop, draw);
    } else {
      loop(blit, draw);
    }
  }
  MarkMemImgWritten(dst);
}
