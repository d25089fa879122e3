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
#include "softrender_bench_scene.h"

namespace {

using namespace bench_scene;

constexpr int kPositions = 32;

// The run table as the picture loader builds it.
void AddRunTable(MEMIMG* image, Sprite sprite, int size) {
  std::uint8_t* out = image->runData;
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
  image->runDataValid = 1;
}

int PositionX(int i, int size) { return (i * 97) % (kTargetWidth - size); }
int PositionY(int i, int size) { return (i * 61) % (kTargetHeight - size); }

void KernelBlit(benchmark::State& state, int kind, Sprite sprite, int mode, int size, bool runs) {
  FillBlendLookupTables();
  MemImgTarget target(kind);
  SpriteMemImg image(kind, sprite, size, runs ? 1 : 0);
  if (runs) AddRunTable(&image.image, sprite, size);
  const SoftDrawState draw = KernelDrawState(mode);
  const int transparent = sprite == OPAQUE ? 0 : 1;
  for (auto _ : state) {
    for (int i = 0; i < kPositions; ++i) {
      BlitMemImgKernels(&target.image, &image.image, PositionX(i, size), PositionY(i, size), transparent, nullptr, draw);
    }
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = benchmark::Counter(static_cast<double>(kPositions) * size * size,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

pixman_op_t BlitOperator(Sprite sprite, int mode) {
  return mode == 0 && sprite == OPAQUE ? PIXMAN_OP_SRC : PixmanOperator(mode);
}

void PixmanBlit(benchmark::State& state, int kind, Sprite sprite, int mode, int size) {
  PixmanTarget target(kind);
  // Opaque sprites in the target's own format; others premultiplied a8r8g8b8.
  pixman_image_t* source;
  std::vector<std::uint32_t> spriteBits;
  if (sprite == OPAQUE && !kind) {
    const int stride = (size * 2 + 3) & ~3;
    spriteBits.assign(static_cast<std::size_t>(stride / 4) * size, 0);
    auto* bytes = reinterpret_cast<std::uint8_t*>(spriteBits.data());
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        int r, g, b, a;
        SpritePixel(sprite, size, x, y, &r, &g, &b, &a);
        const std::uint16_t v = Rgb565(r, g, b);
        std::memcpy(bytes + y * stride + 2 * x, &v, 2);
      }
    }
    source = pixman_image_create_bits(PIXMAN_r5g6b5, size, size, spriteBits.data(), stride);
  } else {
    spriteBits = PixmanSpriteBits(sprite, size);
    source = pixman_image_create_bits(sprite == OPAQUE ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8, size, size,
                                      spriteBits.data(), size * 4);
  }
  pixman_image_t* mask = SolidMask(mode);
  const pixman_op_t op = BlitOperator(sprite, mode);
  for (auto _ : state) {
    for (int i = 0; i < kPositions; ++i) {
      pixman_image_composite32(op, source, mask, target.image, 0, 0, 0, 0, PositionX(i, size), PositionY(i, size), size,
                               size);
    }
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = benchmark::Counter(static_cast<double>(kPositions) * size * size,
                                                benchmark::Counter::kIsIterationInvariantRate);
  if (mask) pixman_image_unref(mask);
  pixman_image_unref(source);
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
