// The rotated-image kernel: the image's four corners in 14.18 fixed point, their
// box with a margin, and an inverse mapping of every box pixel back into the
// source; a mirrored draw goes to the quadrilateral kernel with the corners
// exchanged. All positions are 64-bit, so a draw is either inside the fixed-point
// range or refused, never wrapped.
#include "softrender/rotated_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/number_functions.h"
#include "softrender/affine_span.h"
#include "softrender/clip_rect.h"
#include "softrender/draw_options.h"
#include "softrender/triangle_kernels.h"

namespace {

constexpr std::int64_t kCoordinateMin = -8192;
constexpr std::int64_t kCoordinateMax = 8191;
constexpr float kMinScale = 1.0f / 1048576.0f;  // 2^-20: below it 1 / scale leaves the 64-bit positions

// Whether a float amount of 14.18 units is finite and small enough for a position.
bool IsFixedAmount(float value) { return std::fabs(static_cast<double>(value)) < 4503599627370496.0; }  // 2^52

// The amount truncated toward zero; it must pass IsFixedAmount.
std::int64_t TruncateFixed(float value) { return static_cast<std::int64_t>(static_cast<double>(value)); }

struct RotatedFrame {
  int sinNeg, cosNeg;  // sine and cosine of -angle, x 2^18
  int sinPos, cosPos;  // of angle
  // The image's top-left, bottom-left, bottom-right and top-right corners, 14.18.
  std::int64_t cornerX[4], cornerY[4];
  RECT box;  // the corners' box widened by 2 pixels left and up, 4 right and down
};

// Sine and cosine of -angle and of angle, x 2^18. Runs of draws share an angle (most
// often 0): the last one's are kept per thread.
void TurnOf(float angle, RotatedFrame* frame) {
  struct Turn {
    float angle;
    int sinNeg, cosNeg, sinPos, cosPos;
  };
  thread_local Turn last{0.0f, 0, 262144, 0, 262144};
  if (std::memcmp(&last.angle, &angle, sizeof angle) != 0) {
    float s, c;
    SinAndCos(-angle, &s, &c);
    last.sinNeg = FloatToInt(s * 262144.0f);
    last.cosNeg = FloatToInt(c * 262144.0f);
    SinAndCos(angle, &s, &c);
    last.sinPos = FloatToInt(s * 262144.0f);
    last.cosPos = FloatToInt(c * 262144.0f);
    last.angle = angle;
  }
  frame->sinNeg = last.sinNeg;
  frame->cosNeg = last.cosNeg;
  frame->sinPos = last.sinPos;
  frame->cosPos = last.cosPos;
}

bool ComputeRotatedFrame(int x, int y, float angle, float scale, std::uint32_t width, std::uint32_t height,
                         RotatedFrame* frame) {
  if (!std::isfinite(angle) || !std::isfinite(scale) || !(std::fabs(scale) >= kMinScale)) return false;
  TurnOf(angle, frame);

  const float halfWidth = static_cast<float>(width) * scale * 0.5f;
  const float halfHeight = static_cast<float>(height) * scale * 0.5f;
  const float a1 = static_cast<float>(frame->cosPos) * halfWidth, b1 = static_cast<float>(frame->sinPos) * halfWidth;
  const float a2 = static_cast<float>(frame->cosPos) * halfHeight, b2 = static_cast<float>(frame->sinPos) * halfHeight;
  const float offsetX[4] = {-a1 + b2, -a1 - b2, a1 - b2, a1 + b2};
  const float offsetY[4] = {-b1 - a2, a2 - b1, a2 + b1, b1 - a2};
  std::int64_t least[2] = {INT64_MAX, INT64_MAX}, greatest[2] = {INT64_MIN, INT64_MIN};
  for (int i = 0; i < 4; ++i) {
    if (!IsFixedAmount(offsetX[i]) || !IsFixedAmount(offsetY[i])) return false;
    frame->cornerX[i] = std::int64_t{x} * kFixedOne + TruncateFixed(offsetX[i]);
    frame->cornerY[i] = std::int64_t{y} * kFixedOne + TruncateFixed(offsetY[i]);
    least[0] = std::min(least[0], frame->cornerX[i]);
    least[1] = std::min(least[1], frame->cornerY[i]);
    greatest[0] = std::max(greatest[0], frame->cornerX[i]);
    greatest[1] = std::max(greatest[1], frame->cornerY[i]);
  }
  // Whole pixels by division toward zero, as the corners are handed on.
  const std::int64_t left = least[0] / kFixedOne - 2, top = least[1] / kFixedOne - 2;
  const std::int64_t right = greatest[0] / kFixedOne + 4, bottom = greatest[1] / kFixedOne + 4;
  if (left < kCoordinateMin || top < kCoordinateMin || right > kCoordinateMax || bottom > kCoordinateMax) return false;
  frame->box = RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                    static_cast<LONG>(bottom)};
  return true;
}

// The mirrored image: the source's left edge on the turned right edge, drawn as a
// quadrilateral.
void DrawMirrored(MEMIMG* dst, const MEMIMG* src, const RotatedFrame& frame, int transparent,
                  const MEMIMG* blendGraph, const SoftDrawState& state) {
  static constexpr int kCornerOrder[4] = {3, 0, 2, 1};
  int corners[8];
  for (int i = 0; i < 4; ++i) {
    corners[2 * i] = static_cast<int>(frame.cornerX[kCornerOrder[i]] / kFixedOne);
    corners[2 * i + 1] = static_cast<int>(frame.cornerY[kCornerOrder[i]] / kFixedOne);
  }
  BlitMemImgQuad(dst, src, corners, transparent, blendGraph, state);
}

}  // namespace

int BlitMemImgRotatedKernels(MEMIMG* dst, const MEMIMG* src, int x, int y, float angle, float scale,
                             int transparent, int mirror, const MEMIMG* blendGraph, const SoftDrawState& state) {
  if (dst == nullptr) return -1;
  return BlitMemImgRotatedInTile(dst, src, x, y, angle, scale, transparent, mirror, blendGraph, state,
                                 RECT{0, 0, dst->width, dst->height});
}

int BlitMemImgRotatedInTile(MEMIMG* dst, const MEMIMG* src, int x, int y, float angle, float scale, int transparent,
                            int mirror, const MEMIMG* blendGraph, const SoftDrawState& state, const RECT& tile) {
  if (dst == nullptr || src == nullptr) return -1;
  if (mirror != 0) {
    RotatedFrame frame;
    if (!ComputeRotatedFrame(x, y, angle, scale, static_cast<std::uint32_t>(src->width),
                             static_cast<std::uint32_t>(src->height), &frame)) {
      return -1;
    }
    // The quadrilateral's pixels do not depend on the clip: the tile clips it.
    SoftDrawState inTile = state;
    ClipRectangleBody(&inTile.clip, &tile);
    DrawMirrored(dst, src, frame, transparent, blendGraph, inTile);
    return 0;
  }
  RotatedDraw draw;
  if (PrepareRotatedDraw(dst, src, x, y, angle, scale, transparent, blendGraph, state, &draw) != 0) return -1;
  if (!draw.drawn) return 0;
  DrawRotatedInTile(draw, tile);
  MarkMemImgWritten(dst);
  return 0;
}

int PrepareRotatedDraw(MEMIMG* dst, const MEMIMG* src, int x, int y, float angle, float scale, int transparent,
                       const MEMIMG* blendGraph, const SoftDrawState& state, RotatedDraw* out) {
  if (dst == nullptr || src == nullptr) return -1;
  const std::uint32_t width = static_cast<std::uint32_t>(src->width);
  const std::uint32_t height = static_cast<std::uint32_t>(src->height);
  RotatedFrame frame;
  if (!ComputeRotatedFrame(x, y, angle, scale, width, height, &frame)) return -1;
  out->drawn = false;
  AffineDraw& draw = out->affine;
  if (!PrepareAffineDraw(dst, src, transparent, blendGraph, state, &draw)) return 0;
  RECT& box = out->box;
  box = frame.box;
  ClipRectangleBody(&box, &draw.clip);
  if (box.left == box.right || box.top == box.bottom) return 0;

  // Source position steps per destination column and row, and the position of the
  // box's top-left pixel; the source's centre pixel lands on (x, y). The scale's
  // lower bound keeps all of them well inside 64 bits. The steps come from the box in
  // the clip; each row's position from its own index, so any rows can be drawn alone.
  const float inverse = 1.0f / scale;
  out->columnDu = TruncateFixed(static_cast<float>(frame.cosPos) * inverse);
  out->columnDv = TruncateFixed(static_cast<float>(frame.sinNeg) * inverse);
  const std::int64_t centreU = std::int64_t{width / 2} * kFixedOne;
  const std::int64_t centreV = std::int64_t{height / 2} * kFixedOne;
  const auto positionU = [&](std::int64_t dx, std::int64_t dy) {
    return TruncateFixed(static_cast<float>(dx * frame.cosNeg - dy * frame.sinNeg) * inverse) + centreU;
  };
  const auto positionV = [&](std::int64_t dx, std::int64_t dy) {
    return TruncateFixed(static_cast<float>(dx * frame.sinNeg + dy * frame.cosNeg) * inverse) + centreV;
  };
  const std::int64_t dx = box.left - x, dyTop = box.top - y, dyBottom = box.bottom - y;
  out->topU = positionU(dx, dyTop);
  out->topV = positionV(dx, dyTop);
  const std::int64_t rows = box.bottom - box.top;
  out->rowDu = (positionU(dx, dyBottom) - out->topU) / rows;
  out->rowDv = (positionV(dx, dyBottom) - out->topV) / rows;
  out->drawn = true;
  return 0;
}

void DrawRotatedInTile(const RotatedDraw& rotated, const RECT& tile) {
  AffineDraw draw = rotated.affine;
  const RECT& box = rotated.box;
  ClipRectangleBody(&draw.clip, &tile);
  const std::int64_t rows = box.bottom - box.top;
  const std::int64_t firstRow = std::max<std::int64_t>(0, draw.clip.top - box.top);
  const std::int64_t endRow = std::min<std::int64_t>(rows, draw.clip.bottom - box.top);
  if (rotated.columnDv == 0 && rotated.rowDu == 0) {
    // Not turned (or turned by a half): every row walks the same source columns.
    DrawUprightRows(draw, box.top + firstRow, endRow - firstRow, box.left, box.right - 1, rotated.topU,
                    rotated.topV + firstRow * rotated.rowDv, rotated.columnDu, rotated.rowDv);
  } else {
    for (std::int64_t r = firstRow; r < endRow; ++r) {
      DrawAffineRow(draw, box.top + r, box.left, box.right - 1, rotated.topU + r * rotated.rowDu,
                    rotated.topV + r * rotated.rowDv, rotated.columnDu, rotated.columnDv);
    }
  }
}

int GetRotatedDrawBox(int x, int y, float angle, float scale, int srcWidth, int srcHeight, RECT* box) {
  RotatedFrame frame;
  if (!ComputeRotatedFrame(x, y, angle, scale, static_cast<std::uint32_t>(srcWidth),
                           static_cast<std::uint32_t>(srcHeight), &frame)) {
    return -1;
  }
  *box = frame.box;
  return 0;
}
