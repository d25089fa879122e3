// The closing picture after the results, and the end of the run: its level, bests and
// play time join the saved totals, and the game returns to the title.
#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/resource_loaders.h"
#include "core/save_counts.h"
#include "core/save_data.h"
#include "core/sound_control.h"
#include "float_to_int.h"
#include "game_library.h"
#include "screens/results.h"

namespace {

constexpr int kClosingPicture = 12;
constexpr const char* kClosingFile = "data\\image011\\coming.png";
constexpr int kResultsMusicChannel = 4;
constexpr float kLeaveFrom = 300.0f;   // the counter passes it on the 151st frame
constexpr float kLeaveFadeFrom = 260.0f;
constexpr float kRunEndsBelow = -10.0f;
constexpr int kHoldToLeave = 5;

float& Counter() { return MenuState.backdropDarken; }
float& Leaving() { return MenuState.cursor; }

bool DecideHeld() { return ActionHold[kActionFire] >= kHoldToLeave || ActionHold[kActionSpecial] >= kHoldToLeave; }

void AddRunToTotals() {
  TotalLevel = TruncatedTotal(static_cast<float>(TotalLevel) + Level);
  if (GameMode < 0 || GameMode >= kGameModeCount) return;
  if (Level > static_cast<float>(BestLevel[GameMode])) BestLevel[GameMode] = FloatToInt(Level);
  if (Stage > BestStage[GameMode]) BestStage[GameMode] = Stage;
  PlayFrames[GameMode] = SumOfCounts({PlayFrames[GameMode], BattleFrames});
}

void CloseTheRun() {
  PhaseTimer = 0;
  MenuState.page = 0.0f;
  MenuState.backdropTimer = 0.0f;
  FreeBgmChannel(kResultsMusicChannel);
  // A replay's results leave the saved data as they were.
  if (WatchingReplay == 0) {
    AddRunToTotals();
    WriteSaveData();
  }
  ResetModeState();
  // Back to the title with its pictures and music loaded afresh.
  RestartGame();
  Scene = kSceneTitle;
}

void DrawVeil() {
  SetBlendMode(kBlendAlpha, FloatToInt(kLeaveFadeFrom - Counter()));
  FillScreen(0, 0, 0);
}

}  // namespace

void LoadClosingPicture() {
  ActionHold[kActionFire] = 0;
  ActionHold[kActionSpecial] = 0;
  MenuState.cursor = 0.0f;
  Counter() = 0.0f;
  MenuState.blinkTimer = 0.0f;
  FreePicture(StageImages[kClosingPicture]);
  StageImages[kClosingPicture] = LoadGraphFile(kClosingFile);
  ScenePhase = kPhaseClosing;
}

void ClosingPicture() {
  SetBlendMode(kBlendAlpha, 255);
  DrawGraphAt(0, 0, StageImages[kClosingPicture], 1);
  if (Leaving() == 0.0f) {
    Counter() += 2.0f;
    if (Counter() > kLeaveFrom && DecideHeld()) {
      Leaving() = 1.0f;
      Counter() = kLeaveFadeFrom;
    }
    DrawVeil();
  }
  if (Leaving() == 1.0f) {
    Counter() -= 2.0f;
    // The run's last frame is veiled too, so the picture never shows again.
    if (Counter() < kRunEndsBelow) CloseTheRun();
    DrawVeil();
  }
}
