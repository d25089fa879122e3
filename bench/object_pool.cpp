// The object pool's allocation when the pool is nearly or wholly taken: the final
// flash of the last stage asks for 700 records a frame, and every request scans the
// pool for the first free slot. One iteration is one frame of 700 requests.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "core/game_object.h"
#include "core/object_pool.h"

namespace {

constexpr int kRequestsPerFrame = 700;

// Every slot taken but `free` slots at the end of the pool.
void FillPool(int free) {
  for (GameObject& object : ObjectPool) object.state = kStateActive;
  for (int slot = kPoolSize - free; slot < kPoolSize; ++slot) ObjectPool[slot].state = kStateFree;
  ForgetFreeSlotHint();  // the records were written directly
}

void BM_AllocateAFrame(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    FillPool(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    for (int request = 0; request < kRequestsPerFrame; ++request) {
      const int slot = AllocateObject();
      ObjectPool[slot].state = kStateActive;
      benchmark::DoNotOptimize(slot);
    }
  }
  std::fill(std::begin(ObjectPool), std::end(ObjectPool), GameObject{});
}

// 700 free slots at the end, then none.
BENCHMARK(BM_AllocateAFrame)->Arg(kRequestsPerFrame)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
