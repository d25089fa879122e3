// Seams: the game screens are not built yet. Each scene function does the least the
// game needs to be played end to end: the title starts a game (action 1) or plays
// the replay of ReplaySlot, slot 1 when none was chosen (action 3); the loadout
// select starts play with the first loadout (action 1) and records it; the results
// save the recording to slot 1 (action 1) or not (action 2) and return to the
// title; the ending hands over to the results. The game screens replace this file.
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/replay_files.h"
#include "core/resource_loaders.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "screens/screens.h"

namespace {

bool Pressed(int action) { return ActionHold[action] == 1; }

void StartPlay() {
  NewGameInit();
  Scene = kScenePlay;
  ClearStageEventState();
  EndFadeTimer = 255;
  FreeStageImages();
  LoadStageResources(Stage);
  ObjectPool[kPlayerSlot].y = static_cast<float>(320.0 + 650.1);
  CameraY = static_cast<float>(CameraY + 650.1);
  FreeBgmChannel(0);
  FreeBgmChannel(1);
  if (PracticeFlag != 0) return;
  ReplayHeader.optionType = OptionType;
  ReplayHeader.optionShot = OptionShot;
  ReplayHeader.mainShot = NShotType;
  ReplayHeader.secondShot = TShotType;
  ReplayHeader.gameMode = GameMode;
  for (int action = 0; action < kActionCount; ++action) ReplayHeader.keyMap[action] = ActiveKeyMap[action];
  SavedFacingLockControl = FacingLockControl;
  ReplayMode = kReplayRecording;
  WatchingReplay = 0;
  BeginReplayIo();
}

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

void UpdateTitleMenu() {
  SetBlendMode(0, 0);
  DrawGraphAt(0, 0, StageImages[1], 1);
  if (IsSoundPlaying(BgmHandles[0]) == 0) {
    BgmVolume[0] = 0.0f;
    SetBgmFade(0, kFadeFull);
  }
  if (Pressed(kActionFire)) {
    GameMode = 0;
    Scene = kSceneLoadout;
  } else if (Pressed(kActionSpecial)) {
    if (ReplaySlot < 1 || ReplaySlot > kReplaySlotCount) ReplaySlot = 1;
    SavedFacingLockControl = FacingLockControl;
    StartReplayPlayback();
  }
}

void UpdateLoadoutSelect() {
  SetBlendMode(1, 255);
  DrawGraphAt(0, 0, MenuImages[kImageWeaponFrame], 1);
  NShotType = 10;
  TShotType = 10;
  if (Pressed(kActionFire)) {
    StartPlay();
  } else if (Pressed(kActionSecond)) {
    Scene = kSceneTitle;
  }
}

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

void RunEnding() {
  ScenePhase = 5;
  Scene = kSceneResults;
}
