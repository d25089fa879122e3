// The game's whole frame: one pass of the real frame loop (update, draw and present,
// headless on the virtual clock) on both drawing paths, in scenes from a plain stage
// frame to the heaviest the templates make. Each repetition starts the program anew,
// builds its scene outside the timing and then times the same frames.
//
// The linker routes the frame loop's calls of the object update, the collision pass,
// the object drawing, the HUD and the stage's backgrounds through timers here
// (--wrap), so a pass is also split into those parts; the counters give each part's
// milliseconds a frame, and the records in the pool after the measured frames.
#include <benchmark/benchmark.h>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../tests/e2e/scenario.h"
#include "../tests/support/call_recorder.h"
#include "../tests/support/save_frame.h"
#include "core/collision.h"
#include "core/game_state.h"
#include "objects/objects.h"
#include "softrender/shown_texels.h"
#include "testing.h"
#include "workers/tile_frame.h"

namespace {

// Seconds on a clock (<chrono> does not compile with Shift-JIS literals).
double SecondsOf(clockid_t clock) {
  timespec now;
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The game thread's processor time: the frame runs on this one thread, and on a shared
// machine its wall time also counts the time others hold the processor.
double Now() { return SecondsOf(CLOCK_THREAD_CPUTIME_ID); }

// Wall time: what a pass takes when the frame is drawn in tiles by worker threads (whose
// time the game thread's clock leaves out). It is the time a pass is measured by.
double WallNow() { return SecondsOf(CLOCK_MONOTONIC); }

enum Part { kObjectUpdate, kCollision, kObjectDrawing, kHud, kStage, kPartCount };
constexpr const char* kPartNames[kPartCount] = {"update_ms", "collision_ms", "draw_objects_ms", "hud_ms",
                                                "stage_ms"};
double partSeconds[kPartCount];

void Timed(Part part, void (*real)()) {
  const double start = Now();
  real();
  partSeconds[part] += Now() - start;
}

}  // namespace

#define TIMED_PART(part, mangled)    \
  extern "C" void __real_##mangled(); \
  extern "C" void __wrap_##mangled() { Timed(part, __real_##mangled); }

TIMED_PART(kObjectUpdate, _Z13UpdateObjectsv)
TIMED_PART(kCollision, _Z15UpdateCollisionv)
TIMED_PART(kStage, _Z11UpdateStagev)

namespace {

// A deterministic spread of places in the view, by frame and index.
int Spread(int frame, int index, int span) { return (frame * 131 + index * 977) % span; }

// What a benchmark times in each iteration.
enum class Measured {
  kPass,        // the whole pass of the frame loop
  kUpdateOnly,  // the object update and the collision pass, without the frame loop
};

// A started program in a scene, played with the shot held. `BeforeFrame` is the
// scene's own doing between passes (placements, keeping the player alive); it is not
// timed.
class Scene {
 public:
  virtual ~Scene() = default;
  virtual void BeforeFrame(int frame) = 0;
  virtual GameSession& Game() = 0;
};

// Stage 1 as played from the title: its timeline runs, the shot is held.
class StageOnePlay : public Scene {
 public:
  explicit StageOnePlay(DrawingPath path) {
    game_.Start(path);
    StartAGame(game_);
  }
  void BeforeFrame(int) override {}
  GameSession& Game() override { return game_; }

 private:
  GameSession game_;
};

// A scenario on a stage with its timeline stopped; `place` runs before each frame.
class PlacedScene : public Scene {
 public:
  PlacedScene(int stage, DrawingPath path, std::function<void(int)> place)
      : scenario_(stage, path), place_(std::move(place)) {
    scenario_.SetPlayer(200.0f, 400.0f);
  }
  void BeforeFrame(int frame) override {
    // Protected, so that no hit ends the scene.
    InvulnFrames = 400.0f;
    place_(frame);
  }
  GameSession& Game() override { return scenario_.game(); }

 private:
  Scenario scenario_;
  std::function<void(int)> place_;
};

constexpr int kLastBossSlot = 10;

// The last boss under the densest main shot with six options, rings and fans of
// bullets from it, coins and falling sparks all over the view.
std::unique_ptr<Scene> BossBarrage(DrawingPath path) {
  auto scene = std::make_unique<PlacedScene>(8, path, [](int frame) {
    if (frame == 0) {
      NShotType = 53;
      OptionType = 0;
      OptionShot = 1;
      for (int option : {2152, 2153, 2154, 2155, 2197, 2198}) CreateObject(option, 200, 400, 0, 0);
      CreateObject(1105, 700, 384, 0, kGroup1ParentSlot);
    }
    ObjectPool[kLastBossSlot].hitPoints = 1'000'000;
    if (frame % 24 == 0) CreateObject(5012, 700, 384, 0, 30);
    if (frame % 24 == 12) CreateObject(5013, 650 + Spread(frame, 0, 200), 200 + Spread(frame, 1, 400), 0, 30);
    if (frame % 60 == 0) CreateObject(5016, 800, 300 + Spread(frame, 2, 200), 1, 50);
    for (int coin = 0; coin < 4; ++coin) CreateObject(1009, 100 + Spread(frame, coin, 900), Spread(frame, coin + 4, 700), 0, 0);
    for (int spark = 0; spark < 3; ++spark) CreateObject(2211, 100 + Spread(frame, spark + 9, 900), Spread(frame, spark + 12, 300), 0, 0);
  });
  return scene;
}

// The last stage's final chip flash (slot 22): 700 shower sparks asked for a frame.
std::unique_ptr<Scene> FinalFlash(DrawingPath path) {
  return std::make_unique<PlacedScene>(8, path, [](int frame) {
    if (frame == 0) CreateObject(2230, 512, 384, 0, kGroup1ParentSlot);
  });
}

// The closing curtain: 60 debris sparks a frame closing in on world x 3200, in view.
std::unique_ptr<Scene> ClosingCurtain(DrawingPath path) {
  return std::make_unique<PlacedScene>(8, path, [](int frame) {
    if (frame == 0) CreateObject(2225, 3200, 900, 0, kGroup1ParentSlot);
    CameraX = 2700.0f;
    CameraY = 500.0f;
  });
}

struct SceneSpec {
  const char* name;
  std::function<std::unique_ptr<Scene>(DrawingPath)> start;
  int warmUpFrames;  // run before the timing starts
  int measuredFrames;
};

const SceneSpec kScenes[] = {
    {"stage1_play", [](DrawingPath path) { return std::make_unique<StageOnePlay>(path); }, 300, 120},
    {"boss_barrage", BossBarrage, 200, 100},
    // The pool is full some 20 frames in; the flash goes on to its timer 620.
    {"final_flash", FinalFlash, 40, 150},
    {"closing_curtain", ClosingCurtain, 200, 100},
};

void CountRecords(benchmark::State& state) {
  int active = 0;
  int bullets = 0;
  for (const GameObject& object : ObjectPool) {
    if (object.state == kStateFree) continue;
    ++active;
    if (object.category == kCategoryEnemyBullet) ++bullets;
  }
  state.counters["records"] = active;
  state.counters["bullets"] = bullets;
}

// With GAME_FRAME_PICTURES set, each benchmark's last frame is saved to be looked at
// (in the build folder's "test-frames/outside-tests").
void SaveLastFrame(const std::string& name) {
  if (std::getenv("GAME_FRAME_PICTURES") == nullptr) return;
  std::string file = name;
  std::replace(file.begin(), file.end(), '/', '-');
  SaveFrame(file);
}

// threads: those drawing the frame in tiles, or 0 for the serial drawing.
void RunScene(benchmark::State& state, const SceneSpec& spec, DrawingPath path, Measured measured, int threads) {
  SetDrawThreads(threads);
  std::unique_ptr<Scene> scene = spec.start(path);
  GameSession& game = scene->Game();
  int frame = 0;
  for (; frame < spec.warmUpFrames; ++frame) {
    scene->BeforeFrame(frame);
    game.Pass(kPadFire);
    ClearCallLog();
  }
  double parts[kPartCount] = {};
  double wallSeconds = 0.0;
  // Under valgrind --tool=callgrind --instr-atstart=no only the measured frames count.
  CALLGRIND_START_INSTRUMENTATION;
  for (auto _ : state) {
    scene->BeforeFrame(frame++);
    std::fill(std::begin(partSeconds), std::end(partSeconds), 0.0);
    const double wallStart = WallNow();
    const double start = Now();
    if (measured == Measured::kPass) {
      if (!game.Pass(kPadFire)) state.SkipWithError("the frame loop ended");
    } else {
      UpdateObjects();
      UpdateCollision();
    }
    const double wall = WallNow() - wallStart;
    state.SetIterationTime(measured == Measured::kPass ? wall : Now() - start);
    wallSeconds += wall;
    for (int part = 0; part < kPartCount; ++part) parts[part] += partSeconds[part];
    ClearCallLog();
  }
  CALLGRIND_STOP_INSTRUMENTATION;
  if (measured == Measured::kPass) {
    SaveLastFrame(std::string(spec.name) + "-" + (path == DrawingPath::kDevice ? "device" : "software"));
    for (int part = 0; part < kPartCount; ++part) {
      state.counters[kPartNames[part]] = benchmark::Counter(parts[part] * 1000.0, benchmark::Counter::kAvgIterations);
    }
    state.counters["wall_ms"] = benchmark::Counter(wallSeconds * 1000.0, benchmark::Counter::kAvgIterations);
    state.counters["threads"] = threads;
  }
  CountRecords(state);
}

// On a shared machine the least time of the repetitions tells most about the code.
double Least(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

// Each scene and path drawn serially (the baseline) and in tiles by 1, 2, 4 and 8 threads.
void RegisterScenes() {
  for (const SceneSpec& spec : kScenes) {
    for (const auto& [pathName, path] : {std::pair{"device", DrawingPath::kDevice}, {"software", DrawingPath::kSoftware}}) {
      for (int threads : {0, 1, 2, 4, 8}) {
        const std::string name = std::string(spec.name) + "/" + pathName + "/" +
                                 (threads == 0 ? std::string("serial") : "tiles_" + std::to_string(threads));
        benchmark::RegisterBenchmark(name.c_str(), RunScene, spec, path, Measured::kPass, threads)
            ->UseManualTime()
            ->Iterations(spec.measuredFrames)
            ->ComputeStatistics("min", Least)
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
  // The allocation-heavy scenes without drawing: the update loop and collision alone.
  for (const SceneSpec& spec : kScenes) {
    if (std::string(spec.name) != "final_flash" && std::string(spec.name) != "closing_curtain") continue;
    benchmark::RegisterBenchmark((std::string(spec.name) + "/update_only").c_str(), RunScene, spec,
                                 DrawingPath::kDevice, Measured::kUpdateOnly, 0)
        ->UseManualTime()
        ->Iterations(spec.measuredFrames)
        ->ComputeStatistics("min", Least)
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Headless, as the whole-game tests run.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  // GAME_FRAME_VISIT_ALL=1: the draws visit every pixel, as before transparent texels
  // were skipped (a baseline to compare with).
  if (const char* visitAll = std::getenv("GAME_FRAME_VISIT_ALL"); visitAll != nullptr && *visitAll == '1') {
    D3DTestVisitTransparentTexels(true);
    SetVisitsTransparentTexels(true);
  }
  // The drawing passes are timed inside the call recorder's own wrappers of them.
  RunDrawPassThrough(Call::DrawObjects, [](void (*real)()) { Timed(kObjectDrawing, real); });
  RunDrawPassThrough(Call::DrawHud, [](void (*real)()) { Timed(kHud, real); });
  RegisterScenes();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
