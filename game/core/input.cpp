#include "core/input.h"

#include "core/game_state.h"
#include "core/replay_files.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

constexpr int kButtonCount = 10;
constexpr int kFirstButtonHold = 4;  // BitHold index of button 1

// The player is swept back one step while it turns after a hit; no input is read.
void StepHitTurn() {
  GameObject& player = ObjectPool[kPlayerSlot];
  if (player.facing == 0) {
    player.x -= 2.0f;
    if (CameraX < 5589.0f) CameraX -= 2.1f;
  } else {
    player.x += 2.0f;
    if (CameraX > 10.0f) CameraX += 2.1f;
  }
  if (Lives > 0.0f && PlayerIdleTimer == 10) CreateObject(2175, 0, 0, 0, 0);
}

int CountHeld(int count, bool held) { return held ? count + 1 : 0; }

void UpdateHoldCounters() {
  BitHold[0] = CountHeld(BitHold[0], (InputWord & kInputUp) != 0);
  BitHold[1] = CountHeld(BitHold[1], (InputWord & kInputDown) != 0 && BitHold[0] == 0);
  BitHold[2] = CountHeld(BitHold[2], (InputWord & kInputLeft) != 0);
  BitHold[3] = CountHeld(BitHold[3], (InputWord & kInputRight) != 0 && BitHold[2] == 0);
  for (int k = 0; k < kButtonCount; ++k) {
    const int hold = kFirstButtonHold + k;
    BitHold[hold] = CountHeld(BitHold[hold], (InputWord & (kFirstButtonBit << k)) != 0);
  }
  for (int action = 0; action < kActionCount; ++action) {
    for (int k = 0; k < kButtonCount; ++k) {
      if (ActiveKeyMap[action] == (kFirstButtonBit << k)) ActionHold[action] = BitHold[kFirstButtonHold + k];
    }
  }
}

// Recording and playback advance one word per call, whether the word was read or kept.
void AdvanceReplay() {
  if (ReplayMode == kReplayRecording) {
    ReplayBuffer[ReplayFrameCount] = InputWord;
    ++ReplayFrameCount;
    if (ReplayFrameCount >= kReplayMaxFrames) FinishReplay();
  } else if (ReplayMode == kReplayPlayback) {
    ++ReplayPosition;
    if (ReplayPosition >= ReplayFrameCount) FinishReplay();
  }
}

}  // namespace

bool IsButtonBit(int bit) {
  for (int k = 0; k < kButtonCount; ++k) {
    if (bit == (kFirstButtonBit << k)) return true;
  }
  return false;
}

bool IsKeyMap(const int* keys) {
  for (int action = 0; action < kActionCount; ++action) {
    if (!IsButtonBit(keys[action])) return false;
    for (int other = 0; other < action; ++other) {
      if (keys[other] == keys[action]) return false;
    }
  }
  return true;
}

void ReadInput() {
  const bool dead = ScenePhase == 1;
  const bool hitTurn = !dead && ObjectPool[kPlayerSlot].animation == kHitTurnAnimation;
  if (hitTurn) StepHitTurn();
  if (!dead && !hitTurn) {
    if (ReplayMode == kReplayOff || ReplayMode == kReplayRecording) {
      InputWord = ReadPadBits(kPadWithKeyboard);
    } else if (ReplayMode == kReplayPlayback) {
      InputWord = ReplayBuffer[ReplayPosition];
    }
    UpdateHoldCounters();
  }
  AdvanceReplay();
}

void ClearInputHoldCounters() {
  for (int& hold : BitHold) hold = 0;
  for (int action = 0; action < kActionPause; ++action) ActionHold[action] = 0;
}

void AssignKey(int oldBit, int newBit) {
  for (int& bit : KeyConfig) {
    if (bit == oldBit) bit = newBit;
  }
}
