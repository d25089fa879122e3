// Text drawing on the in-memory 32-bit back screen: a statistics line in the default
// font (the plain path), anti-aliased edged text (composed and blended), vertical text,
// and a cache too small for its text (every glyph rasterised again each time).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "../tools/graphics_demo_scene.h"
#include "core/library_lock.h"
#include "graphics/draw_entry_points.h"
#include "graphics/fonts.h"

namespace {

constexpr char kLine[] = "スコア　　　　　　　12345670  ハイスコア 99999990 残機 3";

class Screen {
 public:
  Screen() {
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    started_ = demo_scene::StartGraphics(32, 1, 1) == 0;
    SetDrawTarget(kDrawTargetBackScreen);
  }
  ~Screen() {
    if (started_) demo_scene::EndGraphics();
  }
  bool started() const { return started_; }

 private:
  bool started_ = false;
};

Screen& TheScreen() {
  static Screen screen;
  return screen;
}

void DrawWithFont(benchmark::State& state, int size, int type, int edge, int vertical, int blendMode) {
  if (!TheScreen().started()) {
    state.SkipWithError("graphics start failed");
    return;
  }
  AcquireLibraryLock();
  const int font = CreateFontToHandle(nullptr, size, -1, type, -1, edge, 0, -1, -1);
  SetBlendMode(blendMode, 200);
  const unsigned white = MakeScreenColor(255, 255, 255);
  const unsigned red = MakeScreenColor(220, 40, 40);
  for (auto _ : state) {
    benchmark::DoNotOptimize(DrawTextWithFont(8, 8, kLine, white, font, red, vertical));
  }
  SetBlendMode(0, 0);
  FreeFontHandle(font);
  ReleaseLibraryLock();
}

void BM_StatisticsLine(benchmark::State& state) {
  if (!TheScreen().started()) {
    state.SkipWithError("graphics start failed");
    return;
  }
  const unsigned white = MakeScreenColor(255, 255, 255);
  for (auto _ : state) benchmark::DoNotOptimize(DrawFormattedText(8, 8, white, "スコア　　　　　　　%d", 12345670));
}
BENCHMARK(BM_StatisticsLine);

void BM_EdgedLine(benchmark::State& state) { DrawWithFont(state, 16, 1, 1, 0, 0); }
BENCHMARK(BM_EdgedLine);

void BM_AntialiasedEdgedBlendedLine(benchmark::State& state) { DrawWithFont(state, 24, 3, 2, 0, 1); }
BENCHMARK(BM_AntialiasedEdgedBlendedLine);

void BM_VerticalLine(benchmark::State& state) { DrawWithFont(state, 16, 2, 1, 1, 0); }
BENCHMARK(BM_VerticalLine);

// 150 pixels: a cache of 20 cells for a line of more distinct characters.
void BM_RasterisedEveryTime(benchmark::State& state) { DrawWithFont(state, 150, 0, 1, 0, 0); }
BENCHMARK(BM_RasterisedEveryTime);

}  // namespace

BENCHMARK_MAIN();
