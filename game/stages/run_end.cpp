#include "stages/run_end.h"

#include <algorithm>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/replay_files.h"
#include "core/resource_loaders.h"
#include "game_library.h"

namespace {

constexpr int kEndingStage = 9;
constexpr int kEndingWhiteVeil = 270;
constexpr float kPerKill = 800.0f;
constexpr float kPerCoin = 200.0f;
// The time bonus of a halted stage clear: (16000 - StageFrame) x 98, not below 0.
constexpr int kClearTimeLimit = 16000;
constexpr int kPerFrameLeft = 98;

void HaltPracticeRun() {
  EndFadeFlag = 0;
  TimelineHalt = 1.0f;
}

// The stage-clear bonus that stage 8 pays itself, as it has no tally: its own time
// bonus first, then the sums in floating point, in the order written.
void PayStageClearBonus() {
  StageClearExtra = static_cast<float>(std::max(0, (kClearTimeLimit - StageFrame) * kPerFrameLeft));
  Score = StageKills * kPerKill + StageClearExtra + StageCoins * kPerCoin + Score;
  TimeBonus = FloatToInt(static_cast<float>(TimeBonus) + StageClearExtra);
  StageKillBonus = FloatToInt(StageKills * kPerKill + static_cast<float>(StageKillBonus));
  KillScore = FloatToInt(StageKills * kPerKill + static_cast<float>(KillScore));
  StageCoinBonus = FloatToInt(StageCoins * kPerCoin + static_cast<float>(StageCoinBonus));
  CoinScore = FloatToInt(StageCoins * kPerCoin + static_cast<float>(CoinScore));
}

void EnterEnding() {
  Scene = kSceneEnding;
  for (int slot = 0; slot < kPoolSize; ++slot) ResetObject(slot);
  Stage = kEndingStage;
  StageStarted = 0;
  EndFadeTimer = kEndingWhiteVeil;
  EndFadeFlag = 0;
  StageTimeline = 0;
  FrameWaitOffset = 0;
  CameraX = 0.0f;
  CameraY = 0.0f;
  // A skipped ending earlier in this program run must not end this one at once.
  EndingSkip = 0;
  EndingSkipFade = 0;
  CreditPictureState = 0;
  CreditPictureAlpha = 0;
  EndingFadeIn = 0;
  PayStageClearBonus();
  ClearStageEventState();
  FreeStageImages();
  LoadStageResources(Stage);
  ReplayMode = kReplayOff;
}

void EndModeZeroRun() {
  if (ReplayMode == kReplayPlayback) {
    // The recorded run entered the ending in this frame: its playback does the same
    // (the stage's bonus, the pool cleared) and then shows its results instead.
    FinishReplay();
    EnterEnding();
  } else if (PracticeFlag == 1) {
    HaltPracticeRun();
  } else if (ReplayMode == kReplayRecording || WatchingReplay == 0) {
    // A run that is no longer recorded (after a continue, or at the recording's
    // frame limit) ends as a recorded one does.
    EnterEnding();
  }
}

void EndModeOneRun() {
  if (PracticeFlag == 1) {
    HaltPracticeRun();
    return;
  }
  if (ReplayMode == kReplayPlayback) EndPlaybackIntoTheEnding();
  EnterEnding();
}

}  // namespace

void EndTheRun() {
  if (GameMode == 0) {
    EndModeZeroRun();
  } else {
    EndModeOneRun();
  }
}
