// Throughput of the image-at-position kernel against pixman compositing the same
// pictures with the nearest operator: sprites of 16, 32, 64 and 256 pixels, opaque,
// keyed and alpha, in blend modes 0 to 4, onto 32-bit and RGB565 targets. The
// "pixels" counter is pixels drawn per second.
//
// Operator equivalents: opaque mode 0 = SRC; keyed and alpha mode 0 = OVER of a
// premultiplied source (keyed pixels have alpha 0); mode 1 = OVER through a solid
// mask of the parameter; mode 2 = ADD through that mask; mode 3 (subtract) has no
// pixman operator, DIFFERENCE stands in as a separable operator of the same kind;
// mode 4 = MULTIPLY. Kernel sprites without a run table take the per-pixel loops
// (the game's graphs have no run tables); "runs" rows use the run-table path.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/blend_tables.h"
#include "graphics/memimg.h"
#include "softrender/blit_kernels.h"

namespace {

constexpr int kTargetWidth = 1024;
constexpr int kTargetHeight = 768;
constexpr int kPositions = 32;

enum Sprite { OPAQUE, KEYED, ALPHA };
const char* const kSpriteNames[] = {"opaque", "keyed", "alpha"};
constexpr std::uint32_t kKey32 = 0x0000FF00;
constexpr std::uint32_t kKey16 = 0x07E0;

// The sprite's pixel at (x, y) as 8-bit channels and alpha: a disc whose edge
// fades (alpha), is keyed out (keyed) or is solid (opaque).
void SpritePixel(Sprite sprite, int size, int x, int y, int* r, int* g, int* b, int* a) {
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

struct KernelPictures {
  MEMIMG target{}, sprite{};
  ~KernelPictures() {
    TerminateMemImg(&target);
    TerminateMemImg(&sprite);
  }
};

void MakeKernelPictures(KernelPictures* p, int kind, Sprite sprite, int size, bool runs) {
  InitMemImg(&p->target, kTargetWidth, kTargetHeight, -1, 0, kind, 0, 0, 0);
  std::memset(p->target.pixels, 0x40, static_cast<std::size_t>(p->target.pitch) * kTargetHeight);
  const std::uint32_t key = kind ? kKey32 : kKey16;
  InitMemImg(&p->sprite, size, size, -1, key, kind, 0, sprite == ALPHA, runs ? 1 : 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int r, g, b, a;
      SpritePixel(sprite, size, x, y, &r, &g, &b, &a);
      auto* row = static_cast<std::uint8_t*>(p->sprite.pixels) + static_cast<std::size_t>(y) * p->sprite.pitch;
      if (kind == MEMIMG_KIND_32BIT) {
        std::uint32_t v = static_cast<std::uint32_t>(b | g << 8 | r << 16);
        if (sprite == ALPHA) v |= static_cast<std::uint32_t>(a) << 24;
        else if (a == 0) v = key;
        std::memcpy(row + 4 * x, &v, 4);
      } else {
        std::uint32_t v = static_cast<std::uint32_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
        if (sprite == ALPHA) {
          v |= static_cast<std::uint32_t>(a) << 16;
          std::memcpy(row + 4 * x, &v, 4);
        } else {
          if (a == 0) v = key;
          std::memcpy(row + 2 * x, &v, 2);
        }
      }
    }
  }
  if (runs) {
    // The run table as the picture loader builds it.
    std::uint8_t* out = p->sprite.runData;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size;) {
        const auto opAt = [&](int px) {
          int r, g, b, a;
          SpritePixel(sprite, size, px, y, &r, &g, &b, &a);
          return a == 0 ? 0 : a == 255 ? 1 : 2;
        };
        const int op = opAt(x);
        int n = 1;
        while (x + n < size && n < 64 && opAt(x + n) == op) ++n;
        *out++ = static_cast<std::uint8_t>(op << 6 | (n - 1));
        x += n;
      }
      *out++ = 0xC0;
    }
    p->sprite.runDataValid = 1;
  }
}

int PositionX(int i, int size) { return (i * 97) % (kTargetWidth - size); }
int PositionY(int i, int size) { return (i * 61) % (kTargetHeight - size); }

int ParamOf(int mode) { return mode == 0 || mode == 4 ? 255 : 160; }

void KernelBlit(benchmark::State& state, int kind, Sprite sprite, int mode, int size, bool runs) {
  FillBlendLookupTables();
  KernelPictures p;
  MakeKernelPictures(&p, kind, sprite, size, runs);
  SoftDrawState draw{};
  draw.clip = RECT{0, 0, kTargetWidth, kTargetHeight};
  draw.blendMode = mode;
  draw.blendParam = ParamOf(mode);
  draw.tint = 0xFFFFFF;
  draw.mmxUsable = 1;
  const int transparent = sprite == OPAQUE ? 0 : 1;
  for (auto _ : state) {
    for (int i = 0; i < kPositions; ++i) {
      BlitMemImgKernels(&p.target, &p.sprite, PositionX(i, size), PositionY(i, size), transparent, nullptr, draw);
    }
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = benchmark::Counter(static_cast<double>(kPositions) * size * size,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

pixman_op_t PixmanOperator(Sprite sprite, int mode) {
  switch (mode) {
    case 0: return sprite == OPAQUE ? PIXMAN_OP_SRC : PIXMAN_OP_OVER;
    case 1: return PIXMAN_OP_OVER;
    case 2: return PIXMAN_OP_ADD;
    case 3: return PIXMAN_OP_DIFFERENCE;
    default: return PIXMAN_OP_MULTIPLY;
  }
}

void PixmanBlit(benchmark::State& state, int kind, Sprite sprite, int mode, int size) {
  const pixman_format_code_t targetFormat = kind ? PIXMAN_x8r8g8b8 : PIXMAN_r5g6b5;
  const int targetStride = kind ? kTargetWidth * 4 : kTargetWidth * 2;
  std::vector<std::uint32_t> targetBits(static_cast<std::size_t>(targetStride / 4) * kTargetHeight, 0x40404040);
  pixman_image_t* target =
      pixman_image_create_bits(targetFormat, kTargetWidth, kTargetHeight, targetBits.data(), targetStride);
  // Opaque sprites in the target's own format; others premultiplied a8r8g8b8.
  const bool sameFormat = sprite == OPAQUE;
  const pixman_format_code_t spriteFormat = sameFormat ? targetFormat : PIXMAN_a8r8g8b8;
  const int spriteStride = sameFormat && !kind ? ((size * 2 + 3) & ~3) : size * 4;
  std::vector<std::uint32_t> spriteBits(static_cast<std::size_t>(spriteStride / 4) * size);
  auto* bytes = reinterpret_cast<std::uint8_t*>(spriteBits.data());
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int r, g, b, a;
      SpritePixel(sprite, size, x, y, &r, &g, &b, &a);
      if (spriteFormat == PIXMAN_r5g6b5) {
        const std::uint16_t v = static_cast<std::uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
        std::memcpy(bytes + y * spriteStride + 2 * x, &v, 2);
      } else {
        const std::uint32_t v = static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(r * a / 255) << 16 |
                                static_cast<std::uint32_t>(g * a / 255) << 8 | static_cast<std::uint32_t>(b * a / 255);
        std::memcpy(bytes + y * spriteStride + 4 * x, &v, 4);
      }
    }
  }
  pixman_image_t* source = pixman_image_create_bits(spriteFormat, size, size, spriteBits.data(), spriteStride);
  pixman_image_t* mask = nullptr;
  if (mode == 1 || mode == 2) {
    const std::uint16_t alpha = static_cast<std::uint16_t>(ParamOf(mode) * 257);
    const pixman_color_t colour{alpha, alpha, alpha, alpha};
    mask = pixman_image_create_solid_fill(&colour);
  }
  const pixman_op_t op = PixmanOperator(sprite, mode);
  for (auto _ : state) {
    for (int i = 0; i < kPositions; ++i) {
      pixman_image_composite32(op, source, mask, target, 0, 0, 0, 0, PositionX(i, size), PositionY(i, size), size,
                               size);
    }
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = benchmark::Counter(static_cast<double>(kPositions) * size * size,
                                                benchmark::Counter::kIsIterationInvariantRate);
  if (mask) pixman_image_unref(mask);
  pixman_image_unref(source);
  pixman_image_unref(target);
}

void RegisterAll() {
  for (int kind : {MEMIMG_KIND_32BIT, MEMIMG_KIND_16BIT}) {
    for (int s = OPAQUE; s <= ALPHA; ++s) {
      const Sprite sprite = static_cast<Sprite>(s);
      for (int mode = 0; mode <= 4; ++mode) {
        for (int size : {16, 32, 64, 256}) {
          const std::string name = std::string(kind ? "32bit/" : "rgb565/") + kSpriteNames[s] + "/mode" +
                                   std::to_string(mode) + "/" + std::to_string(size);
          benchmark::RegisterBenchmark(("kernel/" + name).c_str(), KernelBlit, kind, sprite, mode, size, false);
          if (sprite != OPAQUE) {
            benchmark::RegisterBenchmark(("kernel-runs/" + name).c_str(), KernelBlit, kind, sprite, mode, size, true);
          }
          benchmark::RegisterBenchmark(("pixman/" + name).c_str(), PixmanBlit, kind, sprite, mode, size);
        }
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
