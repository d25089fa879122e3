// The line kernel: the end points are clamped once against the clip rectangle
// (the start into it, the end to one pixel outside it), then the line is stepped
// with an integer error term, one loop per pixel kind and blend operation.
#include "softrender/line_kernels.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <utility>

#include "float_to_int.h"
#include "softrender/colour_blend.h"
#include "softrender/draw_options.h"
#include "softrender/kernel_clip.h"
#include "softrender/loop_select.h"

namespace {

struct LineWalk {
  std::uint8_t* first;        // the start pixel
  std::ptrdiff_t majorStep;   // bytes per pixel along the longer axis
  std::ptrdiff_t minorStep;   // along the shorter axis
  int majorLength, minorLength;
};

using LineLoop = void (*)(const LineWalk& walk, std::uint32_t colour, const BlendRows& rows);

template <int Kind, int Op>
void StepLine(const LineWalk& walk, std::uint32_t colour, const BlendRows& rows) {
  using Dst = DestPixels<Kind>;
  const ColourBlend<Kind, Op> blend(colour, rows);
  std::uint8_t* p = walk.first;
  int error = 0;
  for (int i = 0; i < walk.majorLength; ++i) {
    Dst::Store(p, Op == BLEND_OP_COPY ? blend.colour : blend(Dst::Load(p)));
    p += walk.majorStep;
    error += walk.minorLength;
    if (error >= walk.majorLength) {
      p += walk.minorStep;
      error -= walk.majorLength;
    }
  }
}

LineLoop SelectLineLoop(int kind, int op) {
  return ChooseInt<PIXEL_KIND_16, PIXEL_KIND_32>(kind, [&](auto k) {
    return ChooseInt<BLEND_OP_COPY, BLEND_OP_ALPHA, BLEND_OP_ADD, BLEND_OP_SUB, BLEND_OP_MUL>(
        op, [&](auto o) -> LineLoop { return &StepLine<k(), o()>; });
  });
}

// Whether the segment, end point excluded, passes through a pixel of the clip
// rectangle (the squares of half a pixel around the centres).
bool SegmentMeetsClip(double x1, double y1, double x2, double y2, const RECT& clip) {
  double enter = 0.0, leave = 1.0;
  const auto axis = [&](double start, double delta, double low, double high) {
    if (delta == 0.0) return start >= low && start <= high;
    double a = (low - start) / delta, b = (high - start) / delta;
    if (a > b) std::swap(a, b);
    enter = std::max(enter, a);
    leave = std::min(leave, b);
    return true;
  };
  if (!axis(x1, x2 - x1, clip.left - 0.5, clip.right - 0.5)) return false;
  if (!axis(y1, y2 - y1, clip.top - 0.5, clip.bottom - 0.5)) return false;
  return enter <= leave && enter < 1.0;
}

}  // namespace

void DrawMemImgLineKernels(MEMIMG* dst, int x1, int y1, int x2, int y2, std::uint32_t colour,
                           const SoftDrawState& state) {
  if (dst == nullptr || dst->pixels == nullptr || dst->format == nullptr || dst->paletteFlag != 0) return;
  if (dst->kind != PIXEL_KIND_16 && dst->kind != PIXEL_KIND_32) return;
  const RECT clip = KernelClip(dst, state);
  const int L = clip.left, T = clip.top, R = clip.right, B = clip.bottom;
  if (L >= R || T >= B) return;
  if (std::min(y1, y2) > B - 1 || std::min(x1, x2) > R - 1 || std::max(y1, y2) < T || std::max(x1, x2) < L) return;
  if (!SegmentMeetsClip(x1, y1, x2, y2, clip)) return;

  // The line through the unclipped end points: x = kx y + cx and y = ky x + cy.
  const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
  const double kx = y1 == y2 ? 0.0 : dx / dy, ky = x1 == x2 ? 0.0 : dy / dx;
  const double cx = x1 - kx * y1, cy = y1 - ky * x1;
  const auto xAt = [&](int y) { return DoubleToInt(kx * y + cx); };
  const auto yAt = [&](int x) { return DoubleToInt(ky * x + cy); };
  if (x1 < L) {
    x1 = L;
    y1 = yAt(L);
  } else if (x1 >= R) {
    x1 = R - 1;
    y1 = yAt(R - 1);
  }
  if (x2 < L) {
    x2 = L - 1;
    y2 = yAt(L - 1);
  } else if (x2 >= R) {
    x2 = R;
    y2 = yAt(R);
  }
  if (y1 < T) {
    y1 = T;
    x1 = xAt(T);
  } else if (y1 >= B) {
    y1 = B - 1;
    x1 = xAt(B - 1);
  }
  if (y2 < T) {
    y2 = T - 1;
    x2 = xAt(T - 1);
  } else if (y2 >= B) {
    y2 = B;
    x2 = xAt(B);
  }
  x1 = std::clamp(x1, L, R - 1);
  y1 = std::clamp(y1, T, B - 1);
  x2 = std::clamp(x2, L - 1, R);
  y2 = std::clamp(y2, T - 1, B);

  const int stepX = x2 >= x1 ? 1 : -1, stepY = y2 >= y1 ? 1 : -1;
  const int lengthX = std::abs(x2 - x1), lengthY = std::abs(y2 - y1);
  if (lengthX == 0 && lengthY == 0) return;
  const int param = ClampBlendParam(state.blendParam);
  const int op = GeneralBlendOp(state.blendMode, param, false);
  if (op < 0) return;

  const std::ptrdiff_t bytes = dst->format->bytesPerPixel;
  const std::ptrdiff_t columnStep = bytes * stepX, rowStep = static_cast<std::ptrdiff_t>(dst->pitch) * stepY;
  std::uint8_t* start = static_cast<std::uint8_t*>(dst->pixels) + static_cast<std::ptrdiff_t>(y1) * dst->pitch + x1 * bytes;
  const LineWalk walk = lengthX >= lengthY ? LineWalk{start, columnStep, rowStep, lengthX, lengthY}
                                           : LineWalk{start, rowStep, columnStep, lengthY, lengthX};
  SelectLineLoop(dst->kind, op)(walk, TintFillColour(colour, dst->kind, state.tint), MakeBlendRows(param, state.tint));
  MarkMemImgWritten(dst);
}

void DrawLineListMemImg(MEMIMG* dst, const LineRec* lines, int count, const SoftDrawState& state) {
  for (int i = 0; i < count; ++i) {
    DrawMemImgLineKernels(dst, lines[i].x1, lines[i].y1, lines[i].x2, lines[i].y2, lines[i].colour, state);
  }
}

void MakeRectOutlineLines(int x1, int y1, int x2, int y2, std::uint32_t colour, int blendParam, LineRec lines[4]) {
  const int right = x2 > INT_MIN ? x2 - 1 : x2, bottom = y2 > INT_MIN ? y2 - 1 : y2;
  lines[0] = LineRec{x1, y1, right, y1, colour, blendParam};
  lines[1] = LineRec{right, y1, right, bottom, colour, blendParam};
  lines[2] = LineRec{right, bottom, x1, bottom, colour, blendParam};
  lines[3] = LineRec{x1, bottom, x1, y1, colour, blendParam};
}
