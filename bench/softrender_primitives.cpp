// Throughput of the primitive kernels against pixman doing the same work:
//   rotated/  sprites turned through 0-360 degrees at scales 0.5-2 (32 draws per
//             iteration), plain and mirrored, against pixman's transformed
//             composite with the nearest filter; counted in sprite pixels drawn
//             (width x height x scale^2 per draw);
//   fill/     rectangles (full screen and 64 x 64) in modes 0-4 against pixman's
//             rectangle fill (mode 0) and the composite of a solid colour (OVER
//             for mode 1, ADD for mode 2, MULTIPLY for 4, DIFFERENCE for 3);
//             counted in pixels filled;
//   lines/    1000 random lines against pixman compositing the same lines as thin
//             aliased polygons (two triangles each); counted in line pixels;
//   layers/   six 256 x 256 layers turned and added over most of the screen at
//             scale 4.5, plain and mirrored, their rows shared among the worker
//             threads or drawn on one; in wall time.
// Targets are 1024 x 768, 32-bit (pixman x8r8g8b8) and RGB565. Sprites are
// premultiplied a8r8g8b8 for pixman; the kernels draw alpha sprites with the
// transparent flag (mode 0), keyed sprites, or opaque ones.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "graphics/blend_tables.h"
#include "graphics/memimg.h"
#include "softrender/fill_kernels.h"
#include "softrender/line_kernels.h"
#include "softrender/rotated_kernels.h"
#include "workers/tile_frame.h"
#include "softrender_bench_scene.h"

namespace {

using namespace bench_scene;

constexpr int kDraws = 32;
constexpr double kPi = 3.14159265358979323846;

// Draw i of an iteration: its angle, scale and centre.
double AngleOf(int i) { return (i * 360.0 / kDraws + 3.0) * kPi / 180.0; }
double ScaleOf(int i) { return 0.5 + 1.5 * (i % 8) / 7.0; }
int CentreX(int i) { return 150 + (i * 211) % (kTargetWidth - 300); }
int CentreY(int i) { return 150 + (i * 97) % (kTargetHeight - 300); }

double SpritePixelsPerIteration(int size) {
  double pixels = 0;
  for (int i = 0; i < kDraws; ++i) pixels += size * size * ScaleOf(i) * ScaleOf(i);
  return pixels;
}

void KernelRotated(benchmark::State& state, int kind, Sprite sprite, int mode, int size, bool mirror) {
  FillBlendLookupTables();
  MemImgTarget target(kind);
  SpriteMemImg image(kind, sprite, size, 0);
  const SoftDrawState draw = KernelDrawState(mode);
  for (auto _ : state) {
    for (int i = 0; i < kDraws; ++i) {
      BlitMemImgRotatedKernels(&target.image, &image.image, CentreX(i), CentreY(i), static_cast<float>(AngleOf(i)),
                               static_cast<float>(ScaleOf(i)), sprite != OPAQUE, mirror, nullptr, draw);
    }
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] =
      benchmark::Counter(SpritePixelsPerIteration(size), benchmark::Counter::kIsIterationInvariantRate);
}

void PixmanRotated(benchmark::State& state, int kind, Sprite sprite, int mode, int size, bool mirror) {
  PixmanTarget target(kind);
  std::vector<std::uint32_t> bits = PixmanSpriteBits(sprite, size);
  pixman_image_t* source = pixman_image_create_bits(PIXMAN_a8r8g8b8, size, size, bits.data(), size * 4);
  pixman_image_set_filter(source, PIXMAN_FILTER_NEAREST, nullptr, 0);
  pixman_image_t* mask = SolidMask(mode);
  const pixman_op_t op = PixmanOperator(mode);
  // Per draw: the transform from destination to source coordinates and the
  // destination box of the turned sprite.
  struct Draw {
    pixman_transform_t transform;
    int x, y, w, h;
  };
  std::vector<Draw> draws(kDraws);
  for (int i = 0; i < kDraws; ++i) {
    const double c = std::cos(AngleOf(i)), s = std::sin(AngleOf(i)), k = 1.0 / ScaleOf(i);
    const double cx = CentreX(i), cy = CentreY(i), m = mirror ? -1.0 : 1.0;
    const double half = size / 2.0;
    pixman_transform_t& t = draws[i].transform;
    pixman_transform_init_identity(&t);
    t.matrix[0][0] = pixman_double_to_fixed(m * c * k);
    t.matrix[0][1] = pixman_double_to_fixed(m * s * k);
    t.matrix[0][2] = pixman_double_to_fixed(-m * (cx * c + cy * s) * k + half);
    t.matrix[1][0] = pixman_double_to_fixed(-s * k);
    t.matrix[1][1] = pixman_double_to_fixed(c * k);
    t.matrix[1][2] = pixman_double_to_fixed((cx * s - cy * c) * k + half);
    const double extent = size * ScaleOf(i) * (std::fabs(c) + std::fabs(s)) / 2 + 1;
    draws[i].x = static_cast<int>(cx - extent);
    draws[i].y = static_cast<int>(cy - extent);
    draws[i].w = draws[i].h = static_cast<int>(2 * extent) + 1;
  }
  for (auto _ : state) {
    for (const Draw& d : draws) {
      pixman_image_set_transform(source, &d.transform);
      pixman_image_composite32(op, source, mask, target.image, d.x, d.y, 0, 0, d.x, d.y, d.w, d.h);
    }
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] =
      benchmark::Counter(SpritePixelsPerIteration(size), benchmark::Counter::kIsIterationInvariantRate);
  if (mask) pixman_image_unref(mask);
  pixman_image_unref(source);
}

// Fill rectangles: the whole screen, or 64 x 64 squares at kDraws places.
std::vector<RECT> FillRects(int size) {
  if (size == 0) return {RECT{0, 0, kTargetWidth, kTargetHeight}};
  std::vector<RECT> rects;
  for (int i = 0; i < kDraws; ++i) rects.push_back(RECT{CentreX(i), CentreY(i), CentreX(i) + size, CentreY(i) + size});
  return rects;
}

double RectPixels(const std::vector<RECT>& rects) {
  double pixels = 0;
  for (const RECT& r : rects) pixels += static_cast<double>(r.right - r.left) * (r.bottom - r.top);
  return pixels;
}

void KernelFill(benchmark::State& state, int kind, int mode, int size) {
  FillBlendLookupTables();
  MemImgTarget target(kind);
  const SoftDrawState draw = KernelDrawState(mode);
  const std::vector<RECT> rects = FillRects(size);
  const std::uint32_t colour = kind ? 0x00C08040u : 0xC408u;
  for (auto _ : state) {
    for (const RECT& r : rects) FillMemImgRectKernels(&target.image, &r, colour, draw);
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = benchmark::Counter(RectPixels(rects), benchmark::Counter::kIsIterationInvariantRate);
}

void PixmanFill(benchmark::State& state, int kind, int mode, int size) {
  PixmanTarget target(kind);
  const std::vector<RECT> rects = FillRects(size);
  const pixman_color_t colour{0xC0C0, 0x8080, 0x4040, 0xFFFF};
  pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
  pixman_image_t* mask = SolidMask(mode);
  std::vector<pixman_rectangle16_t> boxes;
  for (const RECT& r : rects) {
    boxes.push_back(pixman_rectangle16_t{static_cast<std::int16_t>(r.left), static_cast<std::int16_t>(r.top),
                                         static_cast<std::uint16_t>(r.right - r.left),
                                         static_cast<std::uint16_t>(r.bottom - r.top)});
  }
  for (auto _ : state) {
    if (mode == 0) {
      pixman_image_fill_rectangles(PIXMAN_OP_SRC, target.image, &colour, static_cast<int>(boxes.size()), boxes.data());
    } else {
      for (const auto& b : boxes) {
        pixman_image_composite32(PixmanOperator(mode), solid, mask, target.image, 0, 0, 0, 0, b.x, b.y, b.width,
                                 b.height);
      }
    }
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = benchmark::Counter(RectPixels(rects), benchmark::Counter::kIsIterationInvariantRate);
  if (mask) pixman_image_unref(mask);
  pixman_image_unref(solid);
}

struct Segment {
  int x1, y1, x2, y2;
};

std::vector<Segment> RandomSegments() {
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> x(0, kTargetWidth - 1), y(0, kTargetHeight - 1);
  std::vector<Segment> lines(1000);
  for (Segment& s : lines) s = Segment{x(rng), y(rng), x(rng), y(rng)};
  return lines;
}

double LinePixels(const std::vector<Segment>& lines) {
  double pixels = 0;
  for (const Segment& s : lines) pixels += std::max(std::abs(s.x2 - s.x1), std::abs(s.y2 - s.y1));
  return pixels;
}

void KernelLines(benchmark::State& state, int kind, int mode) {
  FillBlendLookupTables();
  MemImgTarget target(kind);
  const SoftDrawState draw = KernelDrawState(mode);
  const std::vector<Segment> lines = RandomSegments();
  const std::uint32_t colour = kind ? 0x00C08040u : 0xC408u;
  for (auto _ : state) {
    for (const Segment& s : lines) DrawMemImgLineKernels(&target.image, s.x1, s.y1, s.x2, s.y2, colour, draw);
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = benchmark::Counter(LinePixels(lines), benchmark::Counter::kIsIterationInvariantRate);
}

// Each line as a parallelogram one pixel across its shorter axis, in two triangles.
void PixmanLines(benchmark::State& state, int kind, int mode) {
  PixmanTarget target(kind);
  const pixman_color_t colour{0xC0C0, 0x8080, 0x4040, 0xFFFF};
  pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
  const std::vector<Segment> lines = RandomSegments();
  std::vector<pixman_triangle_t> triangles;
  for (const Segment& s : lines) {
    const bool xMajor = std::abs(s.x2 - s.x1) >= std::abs(s.y2 - s.y1);
    const double ox = xMajor ? 0 : 1, oy = xMajor ? 1 : 0;
    const auto point = [](double x, double y) {
      return pixman_point_fixed_t{pixman_double_to_fixed(x), pixman_double_to_fixed(y)};
    };
    const pixman_point_fixed_t a = point(s.x1, s.y1), b = point(s.x2, s.y2), c = point(s.x2 + ox, s.y2 + oy),
                               d = point(s.x1 + ox, s.y1 + oy);
    triangles.push_back(pixman_triangle_t{a, b, c});
    triangles.push_back(pixman_triangle_t{a, c, d});
  }
  for (auto _ : state) {
    pixman_composite_triangles(PixmanOperator(mode), solid, target.image, PIXMAN_a1, 0, 0, 0, 0,
                               static_cast<int>(triangles.size()), triangles.data());
    benchmark::ClobberMemory();
  }
  state.counters["pixels"] = benchmark::Counter(LinePixels(lines), benchmark::Counter::kIsIterationInvariantRate);
  pixman_image_unref(solid);
}

// Threads 0: each layer drawn at once; else the layers recorded in the tile frame and
// drawn by that many threads.
void KernelLayers(benchmark::State& state, int threads, bool mirror) {
  FillBlendLookupTables();
  MemImgTarget target(MEMIMG_KIND_32BIT);
  SpriteMemImg image(MEMIMG_KIND_32BIT, ALPHA, 256, 0);
  const SoftDrawState draw = KernelDrawState(2);
  const int previousThreads = DrawThreads();
  SetDrawThreads(threads);
  for (auto _ : state) {
    for (int layer = 0; layer < 6; ++layer) {
      const float angle = static_cast<float>(layer * 1.1 + 0.2);
      if (threads == 0) {
        BlitMemImgRotatedKernels(&target.image, &image.image, kTargetWidth / 2, kTargetHeight / 2, angle, 4.5f, 1,
                                 mirror, nullptr, draw);
        continue;
      }
      UseDrawTarget(target.image.pixels, target.image.width, target.image.height);
      RecordDraw(RECT{0, 0, kTargetWidth, kTargetHeight}, [&target, &image, draw, angle, mirror](const DrawTile& tile) {
        BlitMemImgRotatedInTile(&target.image, &image.image, kTargetWidth / 2, kTargetHeight / 2, angle, 4.5f, 1,
                                mirror, nullptr, draw, tile.area);
      });
    }
    FlushTileFrame();
    benchmark::ClobberMemory();
  }
  SetDrawThreads(previousThreads);
}

void RegisterAll() {
  for (int threads : {0, 1, 4, 8}) {
    for (bool mirror : {false, true}) {
      const std::string name =
          (threads == 0 ? std::string("serial") : "tiles_" + std::to_string(threads)) + (mirror ? "/mirrored" : "");
      benchmark::RegisterBenchmark(("layers/" + name).c_str(), KernelLayers, threads, mirror)
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
  for (int kind : {MEMIMG_KIND_32BIT, MEMIMG_KIND_16BIT}) {
    const std::string depth = kind ? "32bit/" : "rgb565/";
    for (int s = OPAQUE; s <= ALPHA; ++s) {
      const Sprite sprite = static_cast<Sprite>(s);
      for (int mode = 0; mode <= 4; ++mode) {
        for (int size : {32, 64, 256}) {
          for (bool mirror : {false, true}) {
            const std::string name = depth + kSpriteNames[s] + "/mode" + std::to_string(mode) + "/" +
                                     std::to_string(size) + (mirror ? "/mirrored" : "");
            benchmark::RegisterBenchmark(("rotated/kernel/" + name).c_str(), KernelRotated, kind, sprite, mode, size,
                                         mirror);
            benchmark::RegisterBenchmark(("rotated/pixman/" + name).c_str(), PixmanRotated, kind, sprite, mode, size,
                                         mirror);
          }
        }
      }
    }
    for (int mode = 0; mode <= 4; ++mode) {
      for (int size : {0, 64}) {
        const std::string name = depth + "mode" + std::to_string(mode) + (size ? "/64" : "/screen");
        benchmark::RegisterBenchmark(("fill/kernel/" + name).c_str(), KernelFill, kind, mode, size);
        benchmark::RegisterBenchmark(("fill/pixman/" + name).c_str(), PixmanFill, kind, mode, size);
      }
      const std::string name = depth + "mode" + std::to_string(mode);
      benchmark::RegisterBenchmark(("lines/kernel/" + name).c_str(), KernelLines, kind, mode);
      benchmark::RegisterBenchmark(("lines/pixman/" + name).c_str(), PixmanLines, kind, mode);
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
