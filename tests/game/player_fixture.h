// A new game's player in play, run step by step without the frame loop: the test
// holds actions by their counters, and the recorder logs what the player makes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/player.h"
#include "core/player_control_steps.h"
#include "game_library.h"

class PlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetCallRecorder();
    SetForwarding(Call::CreateObject, false);
    NewGameInit();
    Scene = kScenePlay;
    TitleCardActive = 0;
    ClearCallLog();
  }
  void TearDown() override { ResetCallRecorder(); }

  // Counts an action on while held, as the input mapping does.
  static void Hold(int action, bool held) { ActionHold[action] = held ? ActionHold[action] + 1 : 0; }

  // One frame of play: control, sprite, shots.
  static void PlayFrame() {
    UpdatePlayerControl();
    if (Paused == 0) UpdatePlayerSprite();
    if (Paused == 0) FirePlayerShots();
    EndRecordedFrame();
  }

  // The log's object creations and sounds as "frame: kind arguments" lines.
  static std::vector<std::string> MadeAndPlayed() {
    std::vector<std::string> lines;
    for (const RecordedCall& call : CallLog()) {
      if (call.call != Call::CreateObject && call.call != Call::PlaySe) continue;
      std::string line = std::to_string(call.frame) + ": " + CallName(call.call);
      for (int i = 0; i < call.argumentCount; ++i) line += " " + std::to_string(call.Int(i));
      lines.push_back(line);
    }
    return lines;
  }
};
