#include "primitive_reference.h"

#include <algorithm>
#include <utility>

#include "graphics/blend_tables.h"
#include "reference_blend.h"

int RefPrimitiveMode(const SoftDrawState& state) {
  const int p = std::clamp(state.blendParam, 0, 255);
  if (state.blendMode < 0 || state.blendMode > 4) return -1;
  if (state.blendMode == 1 && p == 255) return 0;
  if (p == 0 && state.blendMode >= 1 && state.blendMode <= 3) return -1;
  return state.blendMode;
}

std::optional<std::uint32_t> RefTexelOver(const TestImage& src, const TestImage* graph, int sx, int sy,
                                          std::uint32_t d, const SoftDrawState& state, int transparent) {
  const int mode = RefPrimitiveMode(state);
  if (mode < 0) return std::nullopt;
  if (graph != nullptr && (sx >= (*graph)->width || sy >= (*graph)->height)) return std::nullopt;
  RefPixel px{};
  const std::uint32_t v = src.Get(sx, sy);
  if (src->paletteFlag) {
    px.form = REF_PALETTE;
    px.raw = v;
    px.colour = src.PaletteEntry(static_cast<int>(v));
  } else if (src->alphaFlag == 1) {
    px.form = REF_ALPHA;
    px.colour = src->kind == 0 ? v & 0xFFFF : v;
    px.raw = px.colour;
    px.alpha = src->kind == 0 ? (v >> 16) & 0xFF : v >> 24;
  } else {
    px.form = REF_DIRECT;
    px.colour = px.raw = src->kind == 0 ? v & 0xFFFF : v;
  }
  px.graph = graph != nullptr;
  px.weight = graph != nullptr ? BlendGraphRamp[graph->Get(sx, sy)] : 0;
  const RefDraw draw{mode, std::clamp(state.blendParam, 0, 255), state.tint, transparent != 0,
                     src->transparentColor, false};
  return src->kind == 1 ? RefShared32(px, d, draw, false) : RefShared16(px, d, draw);
}

std::optional<std::uint32_t> RefColourOver(int kind, std::uint32_t colour, std::uint32_t d,
                                           const SoftDrawState& state) {
  const int mode = RefPrimitiveMode(state);
  if (mode < 0) return std::nullopt;
  // Fills and lines tint each channel by its tint byte / 256.
  std::uint32_t c = kind == 1 ? colour : colour & 0xFFFF;
  if ((state.tint & 0xFFFFFF) != 0xFFFFFF) {
    const std::uint32_t red = state.tint >> 16 & 0xFF, green = state.tint >> 8 & 0xFF, blue = state.tint & 0xFF;
    if (kind == 1) {
      c = (c & 0xFF000000) | (((c >> 16 & 0xFF) * red >> 8) << 16) | (((c >> 8 & 0xFF) * green >> 8) << 8) |
          ((c & 0xFF) * blue >> 8);
    } else {
      c = (((c >> 11) * red >> 8) << 11) | (((c >> 5 & 63) * green >> 8) << 5) | ((c & 31) * blue >> 8);
    }
  }
  const RefPixel px{REF_DIRECT, c, c, 0, false, 0};
  const RefDraw draw{mode, std::clamp(state.blendParam, 0, 255), 0xFFFFFF, false, 0, false};
  return kind == 1 ? RefShared32(px, d, draw, false) : RefShared16(px, d, draw);
}

void TurnTexel(int width, int height, int quarterTurns, bool mirror, int sx, int sy, int* tx, int* ty) {
  if (mirror) sx = width - 1 - sx;
  for (int i = 0; i < quarterTurns; ++i) {
    const int turnedX = height - 1 - sy, turnedY = sx;
    sx = turnedX;
    sy = turnedY;
    std::swap(width, height);
  }
  *tx = sx;
  *ty = sy;
}

std::unique_ptr<TestImage> RandomSource(std::mt19937& rng, int width, int height, int kind, int form) {
  std::uint32_t key = rng();
  if (form == 2) key &= 0xFF;
  else if (kind == 0) key &= 0xFFFF;
  auto image = std::make_unique<TestImage>(width, height, kind, form == 2, form == 1, key);
  FillRandom(*image, rng);
  return image;
}

std::unique_ptr<TestImage> NumberedSource(int width, int height) {
  auto src = std::make_unique<TestImage>(width, height, 1, 0, 0, 0xFFFFFFFF);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) src->Set(x, y, static_cast<std::uint32_t>(y * 256 + x + 1));
  return src;
}

const SoftDrawState kCounting = MakeState(2, 255);

std::unique_ptr<TestImage> CountingSource(int width, int height) {
  auto src = std::make_unique<TestImage>(width, height, 1, 0, 0, 0xFFFFFFFF);
  src->Fill(1);
  return src;
}

std::map<Pixel, int> Counts(const TestImage& canvas) {
  std::map<Pixel, int> counts;
  for (int y = 0; y < canvas->height; ++y)
    for (int x = 0; x < canvas->width; ++x)
      if (const std::uint32_t v = canvas.Get(x, y) & 0xFF) counts[{x, y}] = static_cast<int>(v);
  return counts;
}
