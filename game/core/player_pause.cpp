// The pause and its page: the manual on action 4, and quitting to the title by
// holding actions 1 and 3 together.
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/player_control_steps.h"
#include "core/resource_loaders.h"
#include "core/sound_control.h"
#include "game_library.h"

namespace {

constexpr int kQuitHoldFrames = 121;
constexpr int kQuitHoldCeiling = 125;
constexpr int kQuitHoldKept = 124;
constexpr int kStageMusicChannel = 2;
constexpr int kTitleMusicChannel = 0;
constexpr char kManualFile[] = "data\\image011\\Manual01.png";

bool FreshPress(int action) { return ActionHold[action] == 1; }

// The manual is closed and its picture freed, whatever way the page ends.
void CloseManual() {
  ManualShown = 0;
  if (ManualImage != kNoHandle) FreeGraph(ManualImage, 0);
  ManualImage = kNoHandle;
}

void QuitToTitle() {
  SetBgmFade(kStageMusicChannel, kFadeOutStop);
  CloseManual();
  ResetModeState();
  RestartGame();
  MenuState.page = 3.0f;
  MenuState.skipIntro = 0.0f;
  MenuState.blinkTimer = 101.0f;
  BgmVolume[kTitleMusicChannel] = 0.0f;
  SetBgmFade(kTitleMusicChannel, kFadeIn);
}

}  // namespace

void PauseOnPress() {
  if (!FreshPress(kActionPause) || Paused != 0) return;
  Paused = 1;
  // Counted on, so that the page below does not take it for a second press.
  ActionHold[kActionPause] += 1;
  ActionHold[kActionSpecial] = 0;
  ActionHold[kActionFire] = 0;
  StopPadRumble(1);
}

// No pause during a stage-end halt, the intro run-in or the stage title card.
void RefusePause() {
  if (TimelineHalt > 0.0f || Scene == kSceneLoadout || TitleCardActive == 1) Paused = 0;
}

bool ServePausePage() {
  if (Paused != 1) return false;
  for (const int action : {kActionFire, kActionSpecial}) {
    if (ActionHold[action] > kQuitHoldCeiling) ActionHold[action] = kQuitHoldKept;
  }
  if (ActionHold[kActionFire] >= kQuitHoldFrames && ActionHold[kActionSpecial] >= kQuitHoldFrames) {
    QuitToTitle();
    return true;
  }
  if (FreshPress(kActionFacing) && ManualShown == 0) {
    ManualShown = 1;
    ActionHold[kActionFacing] += 1;
    ManualImage = LoadGraphFile(kManualFile);
  }
  if (FreshPress(kActionFacing) && ManualShown == 1) CloseManual();
  if (FreshPress(kActionPause)) {
    Paused = 0;
    ActionHold[kActionPause] += 1;
    CloseManual();
  }
  return false;
}
