// While a replay plays, the viewer's live pad speeds it up, slows it down or ends it.
// The live counters are kept apart from the replayed ones, which the playback drives.
#include "core/game_state.h"
#include "core/input.h"
#include "core/player_control_steps.h"
#include "core/replay_files.h"
#include "game_library.h"

namespace {

// Holding the end key this long ends the replay.
constexpr int kEndAction = kActionPause;
constexpr int kEndHoldFrames = 100;
// The speed keys in the order they are read: of several held, the last one wins.
struct SpeedKey {
  int action;
  int waitOffset;  // milliseconds added to each frame
};
constexpr SpeedKey kSpeedKeys[kPlaybackSpeedKeys - 1] = {
    {kActionFire, -8}, {kActionSecond, -1000}, {kActionSpecial, 50}};

// By the viewer's own key configuration, not the replay's; a configured value that is
// no button leaves the count as it was.
void CountKey(int& count, int action) {
  for (int k = 0; k < kPlaybackButtons; ++k) {
    if (KeyConfig[action] == (kFirstButtonBit << k)) count = PlaybackButtonHold[k];
  }
}

void CountLiveHolds(int liveWord) {
  for (int k = 0; k < kPlaybackButtons; ++k) {
    PlaybackButtonHold[k] = (liveWord & (kFirstButtonBit << k)) != 0 ? PlaybackButtonHold[k] + 1 : 0;
  }
  CountKey(PlaybackKeyHold[0], kEndAction);
  for (int key = 1; key < kPlaybackSpeedKeys; ++key) CountKey(PlaybackKeyHold[key], kSpeedKeys[key - 1].action);
}

void NormalPace() {
  if (VSyncOffOption != 1) SetSyncToVBlank(1);
  FrameWaitOffset = 0;
}

}  // namespace

void ReadPlaybackSpeedKeys() {
  if (ReplayMode != kReplayPlayback) return;
  InputWord = ReadPadBits(kPadWithKeyboard);
  CountLiveHolds(InputWord);
  if (PlaybackKeyHold[0] >= kEndHoldFrames) {
    NormalPace();
    FinishReplay();
  }
  bool held = false;
  for (int key = 1; key < kPlaybackSpeedKeys; ++key) {
    if (PlaybackKeyHold[key] < 1) continue;
    SetSyncToVBlank(0);
    FrameWaitOffset = kSpeedKeys[key - 1].waitOffset;
    held = true;
  }
  if (!held) NormalPace();
}
