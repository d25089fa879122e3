// The player's shots: the trigger arms a burst while fire is held and the reload has
// run out; FirePlayerShots releases it one shot at a time.
#include "core/game_state.h"
#include "core/input.h"
#include "core/player.h"
#include "core/player_control_steps.h"
#include "core/player_shot_table.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

// One reload-and-burst pair: the main shot's, or the second shot's.
struct ShotCounters {
  int& reload;
  int& burst;
  int& timer;
};
ShotCounters MainCounters() { return {ShotReload, MainShotBurst, MainShotTimer}; }
ShotCounters SecondCounters() { return {SubShotReload, SubShotBurst, SubShotTimer}; }

bool FireHeld() { return ActionHold[kActionFire] >= 1; }

// The second shot's code applies while action 2 is held in play; in the loadout's
// preview only the preview of the second shot chooses it.
int CodeInUse(bool loadoutPreview) {
  const bool second = loadoutPreview ? SelectFrame == 1 : ActionHold[kActionSecond] > 0;
  return second ? TShotType : NShotType;
}

void CountDownAndArm(ShotCounters counters, int step, int idle, int reload, int burst, int dashStep) {
  if (counters.reload > 0) counters.reload -= step;
  // The reload runs faster while the button rests.
  if (counters.reload >= 1 && !FireHeld()) counters.reload -= idle;
  if (dashStep > 0 && BoostSpeed > 0.0f && counters.reload >= dashStep) counters.reload -= dashStep;
  if (FireHeld() && counters.reload <= 0) {
    counters.reload = reload;
    counters.burst = burst;
  }
}

// True in the frame the pair's next shot of the burst is due.
bool ShotDue(ShotCounters counters, int spacing) {
  if (counters.timer > 0) --counters.timer;
  if (counters.burst < 1 || counters.timer != 0) return false;
  --counters.burst;
  counters.timer = spacing;
  return true;
}

void CreateShot(int shot, ShotAim aim) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  if (aim == ShotAim::kAtPlayer) {
    CreateObject(shot, FloatToInt(player.x), FloatToInt(player.y), 0, 0);
  } else {
    CreateObject(shot, 0, 0, aim == ShotAim::kPlayerFacing ? player.facing : 0, 0);
  }
}

void FireMainShot(const ShotRow& row) {
  if (row.sound == ShotSound::kRandomVolumeFirst) {
    const int volume = RandomInRange(100);
    PlaySe(row.se, volume);
  }
  CreateShot(row.shot, row.aim);
  if (row.pairedShot != 0) CreateShot(row.pairedShot, row.aim);
  if (row.sound == ShotSound::kAfterShot) PlaySe(row.se, 255);
}

}  // namespace

void TriggerPlayerShots() {
  if (ShotReload > 1) ShotFiredFlag = 1;
  const ShotRow* row = FindShotRow(CodeInUse(false));
  if (row == nullptr) return;
  CountDownAndArm(MainCounters(), row->stepBase + row->stepPerPerk * NoUpgradePerk, row->idle, row->reload,
                  row->burst, 0);
  if (row->second.shot == 0) return;
  CountDownAndArm(SecondCounters(), row->second.stepBase + 2 * NoUpgradePerk, kSecondShotIdle, kSecondShotReload,
                  kSecondShotBurst, row->second.fasterWhileDashing ? 2 : 0);
}

void FirePlayerShots() {
  const ShotRow* row = FindShotRow(CodeInUse(Scene == kSceneLoadout));
  if (row == nullptr) return;
  if (ShotDue(MainCounters(), row->spacing)) FireMainShot(*row);
  if (row->second.shot != 0 && ShotDue(SecondCounters(), kSecondShotSpacing)) {
    CreateShot(row->second.shot, row->second.aim);
    PlaySe(kSecondShotSe, 255);
  }
}
