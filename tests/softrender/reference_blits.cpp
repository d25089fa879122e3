#include "reference_blits.h"

#include <algorithm>
#include <cstdint>

#include "graphics/blend_tables.h"
#include "reference_blend.h"

namespace {

using i64 = std::int64_t;

bool Refused(const TestImage& dst, const TestImage& src) {
  return dst->kind != src->kind || dst->paletteFlag || dst->alphaFlag || src->kind > 1;
}

int FormOf(const TestImage& src) {
  if (src->paletteFlag) return REF_PALETTE;
  return src->alphaFlag == 1 ? REF_ALPHA : REF_DIRECT;
}

RefPixel PixelAt(const TestImage& src, const TestImage* graph, int sx, int sy, int paletteCount) {
  RefPixel px{};
  px.form = FormOf(src);
  const std::uint32_t v = src.Get(sx, sy);
  px.raw = src->kind == 0 && px.form != REF_PALETTE ? v & 0xFFFF : v;
  px.colour = px.form == REF_PALETTE ? (static_cast<int>(v) < paletteCount ? src.PaletteEntry(v) : 0) : px.raw;
  if (px.form == REF_ALPHA) px.colour = src->kind == 0 ? v & 0xFFFF : v;
  px.alpha = px.form != REF_ALPHA ? 0 : src->kind == 0 ? (v >> 16) & 0xFF : v >> 24;
  px.graph = graph != nullptr;
  px.weight = graph != nullptr ? BlendGraphRamp[graph->Get(sx, sy)] : 0;
  return px;
}

RefDraw DrawOf(const SoftDrawState& state, int transparent, std::uint32_t key, int mode) {
  return RefDraw{mode, std::clamp(state.blendParam, 0, 255), state.tint, transparent != 0, key, state.mmxUsable != 0};
}

bool Inside(const TestImage& dst, const SoftDrawState& state, i64 dx, i64 dy) {
  return dx >= std::max<i64>(state.clip.left, 0) && dx < std::min<i64>(state.clip.right, dst->width) &&
         dy >= std::max<i64>(state.clip.top, 0) && dy < std::min<i64>(state.clip.bottom, dst->height);
}

int PaletteCountOf(const TestImage& src) { return std::clamp(src->paletteCount, 0, 256); }

// The mode the loops run, or -1 for none (mode 3 at 0 runs for palette sources
// when zeroSubRuns).
int GatedMode(const SoftDrawState& state, bool zeroSubRuns) {
  const int p = std::clamp(state.blendParam, 0, 255);
  if (state.blendMode < 0 || state.blendMode > 4) return -1;
  if (state.blendMode == 1 && p == 255) return 0;
  if (p == 0 && (state.blendMode == 1 || state.blendMode == 2)) return -1;
  if (p == 0 && state.blendMode == 3 && !zeroSubRuns) return -1;
  return state.blendMode;
}

}  // namespace

void RefBlitAtPosition(TestImage& dst, const TestImage& src, int x, int y, int transparent, const TestImage* graph,
                       const SoftDrawState& state) {
  if (Refused(dst, src)) return;
  const int form = FormOf(src);
  const int mode = GatedMode(state, form == REF_PALETTE);
  if (mode < 0) return;
  const int drawnW = graph ? std::min(src->width, (*graph)->width) : src->width;
  const int drawnH = graph ? std::min(src->height, (*graph)->height) : src->height;
  // Visible source pixels: inside the blend graph, the clip rectangle and the destination.
  bool whole = drawnW == src->width && drawnH == src->height;
  for (int sy = 0; sy < src->height && whole; ++sy)
    for (int sx = 0; sx < src->width && whole; ++sx) whole = Inside(dst, state, i64{x} + sx, i64{y} + sy);
  const bool fast = transparent == 1 && src->runDataValid && whole;
  const RefDraw draw = DrawOf(state, fast ? 1 : transparent, src->transparentColor, mode);
  const bool is16 = src->kind == 0;
  const bool plain = !graph && (state.tint & 0xFFFFFF) == 0xFFFFFF && form != REF_ALPHA;
  const bool pairs = !fast && is16 && plain && (mode == 2 || mode == 3) && draw.param == 255;
  const int paletteCount = fast ? 256 : PaletteCountOf(src);

  for (int sy = 0; sy < drawnH; ++sy) {
    // The visible run of this row.
    int first = -1, last = -1;
    for (int sx = 0; sx < drawnW; ++sx) {
      if (Inside(dst, state, i64{x} + sx, i64{y} + sy)) {
        if (first < 0) first = sx;
        last = sx;
      }
    }
    if (first < 0) continue;
    const auto pixelOf = [&](int sx) { return PixelAt(src, graph, sx, sy, paletteCount); };
    const auto single = [&](int sx) {
      const RefPixel px = pixelOf(sx);
      const std::uint32_t d = dst.Get(x + sx, y + sy);
      std::optional<std::uint32_t> out;
      if (fast) out = is16 ? RefShared16(px, d, draw) : RefShared32(px, d, draw, false);
      else out = is16 ? RefAtPosition16(px, d, draw) : RefAtPosition32(px, d, draw);
      if (out) dst.Set(x + sx, y + sy, *out);
    };
    if (!pairs) {
      for (int sx = first; sx <= last; ++sx) single(sx);
      continue;
    }
    const bool add = mode == 2;
    const auto oneOfPair = [&](int sx) {
      const RefPixel px = pixelOf(sx);
      if (draw.trans && px.raw == draw.key) return;
      const std::uint32_t d = dst.Get(x + sx, y + sy);
      dst.Set(x + sx, y + sy, add ? RefAdd565(d, px.colour, false) : RefSub565(d, px.colour));
    };
    int sx = first;
    for (; sx + 1 <= last; sx += 2) {
      const RefPixel p0 = pixelOf(sx), p1 = pixelOf(sx + 1);
      if (draw.trans && (p0.raw == draw.key || p1.raw == draw.key)) {
        oneOfPair(sx);
        oneOfPair(sx + 1);
        continue;
      }
      const std::uint32_t d = dst.Get(x + sx, y + sy) | (dst.Get(x + sx + 1, y + sy) << 16);
      const std::uint32_t out = RefPair565(d, p0.colour | (p1.colour << 16), add);
      dst.Set(x + sx, y + sy, out & 0xFFFF);
      dst.Set(x + sx + 1, y + sy, out >> 16);
    }
    if (sx == last) oneOfPair(sx);
  }
}

void RefBlitScaled(TestImage& dst, const TestImage& src, const RECT& rect, int transparent, const TestImage* graph,
                   const SoftDrawState& state) {
  if (Refused(dst, src)) return;
  const bool mirror = rect.left > rect.right, flip = rect.top > rect.bottom;
  const i64 left = std::min(rect.left, rect.right), top = std::min(rect.top, rect.bottom);
  const i64 w = i64{std::max(rect.left, rect.right)} - left, h = i64{std::max(rect.top, rect.bottom)} - top;
  if (w == 0 || h == 0 || w >= 32768 || h >= 32768) return;
  if (w == src->width && h == src->height && !mirror && !flip) {
    RefBlitAtPosition(dst, src, static_cast<int>(left), static_cast<int>(top), transparent, graph, state);
    return;
  }
  const i64 scaleX = w * 65536 / src->width, scaleY = h * 65536 / src->height;
  if (scaleX == 0 || scaleY == 0) return;
  const int mode = GatedMode(state, false);
  if (mode < 0) return;
  const RefDraw draw = DrawOf(state, transparent, src->transparentColor, mode);
  for (i64 dy = 0; dy < h; ++dy) {
    for (i64 dx = 0; dx < w; ++dx) {
      if (!Inside(dst, state, left + dx, top + dy)) continue;
      i64 column = dx * 65536 / scaleX, row = dy * 65536 / scaleY;
      if (mirror) column = src->width - 1 - column;
      if (flip) row = src->height - 1 - row;
      if (graph && (column >= (*graph)->width || row >= (*graph)->height)) continue;
      const RefPixel px = PixelAt(src, graph, static_cast<int>(column), static_cast<int>(row), PaletteCountOf(src));
      const int X = static_cast<int>(left + dx), Y = static_cast<int>(top + dy);
      const std::uint32_t d = dst.Get(X, Y);
      const auto out = src->kind == 0 ? RefShared16(px, d, draw) : RefShared32(px, d, draw, true);
      if (out) dst.Set(X, Y, *out);
    }
  }
}
