// Seam: the result scene is not built yet. It does the least the game needs to be
// played end to end: it saves the recording to slot 1 (action 1) or not (action 2)
// and returns to the title. The results screens replace this file.
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/replay_files.h"
#include "core/resource_loaders.h"
#include "game_library.h"
#include "screens/screens.h"

namespace {

bool Pressed(int action) { return ActionHold[action] == 1; }

bool SavingAllowed() {
  return WatchingReplay == 0 && ContinuesUsed == 0 && PracticeFlag == 0 && RecordOptionA == 1 &&
         RecordOptionB == 1 && ReplayBuffer != nullptr;
}

void SaveRecording(int slot) {
  PlayerName[0] = PlayerName[1] = PlayerName[2] = 'A';
  ReplaySlot = slot;
  ReplayMode = kReplayRecording;
  FinishReplay();
}

void ReturnToTitle() {
  ResetModeState();
  RestartGame();
}

}  // namespace

void RunResultScene() {
  // After a game over the input is read again from the first results frame on.
  if (ScenePhase == 1) ScenePhase = 2;
  SetBlendMode(0, 0);
  DrawFormattedText(100, 100, MakeScreenColor(255, 255, 255), "SCORE %d", FloatToInt(Score));
  if (Pressed(kActionFire)) {
    if (SavingAllowed()) SaveRecording(1);
    ReturnToTitle();
  } else if (Pressed(kActionSecond)) {
    ReturnToTitle();
  }
}
