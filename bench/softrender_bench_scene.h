// The pictures both software-renderer benchmarks draw: a 1024 x 768 target in either
// kernel format (and its pixman twin), and disc sprites that are solid, keyed out or
// fading at the edge, as kernel MEMIMGs or premultiplied pixman pixels.
#pragma once

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics/memimg.h"
#include "softrender/soft_draw_state.h"

namespace bench_scene {

constexpr int kTargetWidth = 1024;
constexpr int kTargetHeight = 768;

enum Sprite { OPAQUE, KEYED, ALPHA };
inline const char* const kSpriteNames[] = {"opaque", "keyed", "alpha"};
constexpr std::uint32_t kKey32 = 0x0000FF00;
constexpr std::uint32_t kKey16 = 0x07E0;

// The sprite's pixel at (x, y) as 8-bit channels and alpha: a disc whose edge
// fades (alpha), is keyed out (keyed) or is solid (opaque).
inline void SpritePixel(Sprite sprite, int size, int x, int y, int* r, int* g, int* b, int* a) {
  const int dx = 2 * x + 1 - size, dy = 2 * y + 1 - size;
  const long d2 = static_cast<long>(dx) * dx + static_cast<long>(dy) * dy;
  const long r2 = static_cast<long>(size) * size;
  *r = 255;
  *g = (x * 255) / size;
  *b = (y * 255) / size;
  *a = 255;
  if (sprite == OPAQUE) return;
  if (d2 >= r2) *a = 0;
  else if (sprite == ALPHA && d2 * 2 > r2) *a = static_cast<int>(255 * (r2 - d2) * 2 / r2);
}

inline std::uint16_t Rgb565(int r, int g, int b) {
  return static_cast<std::uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

inline std::uint32_t Premultiplied(int r, int g, int b, int a) {
  return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(r * a / 255) << 16 |
         static_cast<std::uint32_t>(g * a / 255) << 8 | static_cast<std::uint32_t>(b * a / 255);
}

// A kernel sprite: keyed pixels take the key; alpha sprites keep their alpha in the
// top byte (32-bit) or beside the RGB565 value (16-bit alpha format).
struct SpriteMemImg {
  MEMIMG image{};
  SpriteMemImg(int kind, Sprite sprite, int size, int withRuns);
  ~SpriteMemImg() { TerminateMemImg(&image); }
};

inline SpriteMemImg::SpriteMemImg(int kind, Sprite sprite, int size, int withRuns) {
  const std::uint32_t key = kind ? kKey32 : kKey16;
  InitMemImg(&image, size, size, -1, key, kind, 0, sprite == ALPHA, withRuns);
  for (int y = 0; y < size; ++y) {
    auto* row = static_cast<std::uint8_t*>(image.pixels) + static_cast<std::size_t>(y) * image.pitch;
    for (int x = 0; x < size; ++x) {
      int r, g, b, a;
      SpritePixel(sprite, size, x, y, &r, &g, &b, &a);
      if (kind == MEMIMG_KIND_32BIT) {
        std::uint32_t v = static_cast<std::uint32_t>(b | g << 8 | r << 16);
        if (sprite == ALPHA) v |= static_cast<std::uint32_t>(a) << 24;
        else if (a == 0) v = key;
        std::memcpy(row + 4 * x, &v, 4);
      } else if (sprite == ALPHA) {
        const std::uint32_t v = Rgb565(r, g, b) | static_cast<std::uint32_t>(a) << 16;
        std::memcpy(row + 4 * x, &v, 4);
      } else {
        const std::uint16_t v = a == 0 ? static_cast<std::uint16_t>(key) : Rgb565(r, g, b);
        std::memcpy(row + 2 * x, &v, 2);
      }
    }
  }
}

// The sprite as premultiplied a8r8g8b8 for pixman, rows of `size` pixels.
inline std::vector<std::uint32_t> PixmanSpriteBits(Sprite sprite, int size) {
  std::vector<std::uint32_t> bits(static_cast<std::size_t>(size) * size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int r, g, b, a;
      SpritePixel(sprite, size, x, y, &r, &g, &b, &a);
      bits[static_cast<std::size_t>(y) * size + x] = Premultiplied(r, g, b, a);
    }
  }
  return bits;
}

struct MemImgTarget {
  MEMIMG image{};
  explicit MemImgTarget(int kind) {
    InitMemImg(&image, kTargetWidth, kTargetHeight, -1, 0, kind, 0, 0, 0);
    std::memset(image.pixels, 0x40, static_cast<std::size_t>(image.pitch) * kTargetHeight);
  }
  ~MemImgTarget() { TerminateMemImg(&image); }
};

struct PixmanTarget {
  std::vector<std::uint32_t> bits;
  pixman_image_t* image;
  explicit PixmanTarget(int kind) {
    const int stride = kind ? kTargetWidth * 4 : kTargetWidth * 2;
    bits.assign(static_cast<std::size_t>(stride / 4) * kTargetHeight, 0x40404040);
    image = pixman_image_create_bits(kind ? PIXMAN_x8r8g8b8 : PIXMAN_r5g6b5, kTargetWidth, kTargetHeight, bits.data(),
                                     stride);
  }
  ~PixmanTarget() { pixman_image_unref(image); }
};

inline int ParamOf(int mode) { return mode == 0 || mode == 4 ? 255 : 160; }

inline SoftDrawState KernelDrawState(int mode) {
  SoftDrawState draw{};
  draw.clip = RECT{0, 0, kTargetWidth, kTargetHeight};
  draw.blendMode = mode;
  draw.blendParam = ParamOf(mode);
  draw.tint = 0xFFFFFF;
  draw.mmxUsable = 1;
  return draw;
}

// Composite operator of a blend mode for a source with alpha: 3 (subtract) has no
// pixman operator and DIFFERENCE stands in as a separable operator of the same kind.
inline pixman_op_t PixmanOperator(int mode) {
  switch (mode) {
    case 0:
    case 1: return PIXMAN_OP_OVER;
    case 2: return PIXMAN_OP_ADD;
    case 3: return PIXMAN_OP_DIFFERENCE;
    default: return PIXMAN_OP_MULTIPLY;
  }
}

// Modes 1 and 2 draw through a solid mask of the blend parameter; NULL otherwise.
inline pixman_image_t* SolidMask(int mode) {
  if (mode != 1 && mode != 2) return nullptr;
  const std::uint16_t alpha = static_cast<std::uint16_t>(ParamOf(mode) * 257);
  const pixman_color_t colour{alpha, alpha, alpha, alpha};
  return pixman_image_create_solid_fill(&colour);
}

}  // namespace bench_scene
