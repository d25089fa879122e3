// The frame slow-downs that the player control asks for: the decay of the last one,
// then the loads of chips, bullets near the player and live objects.
#include <span>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/player_control_steps.h"

namespace {

struct SlowdownRung {
  int above;  // the count must exceed it
  int ms;
};
constexpr SlowdownRung kChipLadder[] = {{500, 6},   {1000, 12}, {2000, 18}, {3000, 22},
                                        {4000, 26}, {5000, 30}, {6000, 33}, {7000, 36}};
constexpr SlowdownRung kNearBulletLadder[] = {{300, 2}, {400, 3}, {500, 5},   {600, 7},
                                              {700, 8}, {800, 11}, {900, 14}, {1000, 16}};
constexpr SlowdownRung kLiveObjectLadder[] = {{3000, 2}, {4000, 4},  {5000, 6},
                                              {6000, 12}, {7000, 18}, {8000, 20}};
constexpr int kChipDecay = 40;

// Every rung the count passes asks, in order.
void ClimbLadder(std::span<const SlowdownRung> ladder, int count) {
  for (const SlowdownRung& rung : ladder) {
    if (count > rung.above) RequestSlowdown(rung.ms);
  }
}

}  // namespace

void DecaySlowdown() { SlowdownMs = SlowdownMs <= 0.5f ? 0.0f : static_cast<float>(SlowdownMs - 0.1); }

void UpdateSlowdowns() {
  DecaySlowdown();
  ClimbLadder(kChipLadder, ChipCount);
  if (ChipCount >= 1 && PowerModeB == 0) ChipCount = ChipCount > kChipDecay ? ChipCount - kChipDecay : 0;
  ClimbLadder(kNearBulletLadder, NearBulletCount);
  ClimbLadder(kLiveObjectLadder, LiveObjectCount);
}
