#include "frame_digest.h"

#include <algorithm>
#include <cstring>

#include "core/game_state.h"
#include "core/run_state.h"
#include "library_interposer.h"

namespace {

struct Hash {
  std::uint64_t value = 1469598103934665603ull;  // FNV-1a
  void Add(const void* data, std::size_t bytes) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < bytes; ++i) value = (value ^ p[i]) * 1099511628211ull;
  }
  template <typename T>
  void Add(const T& variable) {
    Add(&variable, sizeof variable);
  }
};

// Whether the game on screen is a replay differs between a recording and its
// playback by design; everything else of the run must not.
bool DiffersByDesign(const StateBlock& block) { return block.address == &WatchingReplay; }

std::uint64_t HashRunState() {
  Hash hash;
  for (const auto blocks : {RunStateBlocks(), RunControlStateBlocks()}) {
    for (const StateBlock& block : blocks) {
      if (!DiffersByDesign(block)) hash.Add(block.address, block.bytes);
    }
  }
  hash.Add(Scene);
  hash.Add(Stage);
  hash.Add(GameMode);
  hash.Add(CameraX);
  hash.Add(CameraY);
  hash.Add(StageEventState);
  hash.Add(PlayerIdleTimer);
  hash.Add(TitleCardActive);
  hash.Add(TurboChargeNeeded);
  hash.Add(FacingLockControl);
  for (const int* level : {&NShotType, &TShotType, &ShotLevel, &TShotLevel, &OptionType, &OptionShot, &OptionLevel,
                           &SpeedLevel, &TurboLevel, &GuardHealLevel, &LevelUpCount}) {
    hash.Add(*level);
  }
  hash.Add(ActiveKeyMap);
  return hash.value;
}

}  // namespace

FrameDigest TakeFrameDigest() {
  FrameDigest digest{};
  Hash pool;
  pool.Add(ObjectPool);
  digest.pool = pool.value;
  digest.runState = HashRunState();
  digest.inputWord = InputWord;
  std::copy(std::begin(BitHold), std::end(BitHold), digest.bitHold);
  std::copy(std::begin(ActionHold), std::end(ActionHold), digest.actionHold);
  digest.randomDraws = RandomDrawsSinceSeed();
  return digest;
}

int FirstDivergingFrame(const std::vector<FrameDigest>& a, const std::vector<FrameDigest>& b) {
  const std::size_t frames = std::min(a.size(), b.size());
  for (std::size_t frame = 0; frame < frames; ++frame) {
    if (!(a[frame] == b[frame])) return static_cast<int>(frame);
  }
  return -1;
}

std::string DescribeDivergence(const std::vector<FrameDigest>& a, const std::vector<FrameDigest>& b) {
  const int frame = FirstDivergingFrame(a, b);
  if (frame < 0) return "no divergence";
  const FrameDigest& x = a[frame];
  const FrameDigest& y = b[frame];
  std::string parts;
  auto note = [&](bool differs, const char* what) {
    if (differs) parts += parts.empty() ? what : std::string(", ") + what;
  };
  note(x.pool != y.pool, "pool");
  note(x.runState != y.runState, "run state");
  note(x.inputWord != y.inputWord, "input word");
  note(!std::equal(std::begin(x.bitHold), std::end(x.bitHold), y.bitHold), "bit hold counters");
  note(!std::equal(std::begin(x.actionHold), std::end(x.actionHold), y.actionHold), "action hold counters");
  note(x.randomDraws != y.randomDraws, "random generator position");
  return "frame " + std::to_string(frame) + ": " + parts;
}
