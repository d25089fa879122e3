// The frame pacing on the real clock: 600 frames of no work, paced as the game paces
// them (sleep, then spin the last 2 ms) and, for comparison, as it once did (spin on
// the timer for the whole frame). Counters: mean period and its jitter (standard
// deviation) in ms, the longest period, and the game thread's CPU time per frame in ms.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/frame_loop.h"
#include "core/game_state.h"
#include "game_library.h"

namespace {

constexpr int kFrames = 600;

double Now(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

void SpinOutFrame() {
  while (static_cast<int>(GetMilliseconds() - static_cast<std::uint32_t>(FrameStartMs)) < 17) {
  }
}

void PaceFrames(benchmark::State& state, void (*pace)()) {
  for (auto _ : state) {
    std::vector<double> periods;
    const double cpuStart = Now(CLOCK_THREAD_CPUTIME_ID);
    double last = Now(CLOCK_MONOTONIC);
    for (int frame = 0; frame < kFrames; ++frame) {
      FrameStartMs = static_cast<int>(GetMilliseconds());
      pace();
      const double now = Now(CLOCK_MONOTONIC);
      if (frame > 0) periods.push_back(now - last);
      last = now;
    }
    const double cpu = Now(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
    double mean = 0.0;
    for (double period : periods) mean += period;
    mean /= static_cast<double>(periods.size());
    double variance = 0.0;
    double longest = 0.0;
    for (double period : periods) {
      variance += (period - mean) * (period - mean);
      longest = std::max(longest, period);
    }
    state.counters["period_ms"] = mean;
    state.counters["jitter_ms"] = std::sqrt(variance / static_cast<double>(periods.size()));
    state.counters["max_period_ms"] = longest;
    state.counters["cpu_ms_per_frame"] = cpu / kFrames;
  }
}

void BM_SleepThenSpin(benchmark::State& state) { PaceFrames(state, PaceFrame); }
void BM_SpinWholeFrame(benchmark::State& state) { PaceFrames(state, SpinOutFrame); }

BENCHMARK(BM_SleepThenSpin)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SpinWholeFrame)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
