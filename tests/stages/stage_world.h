// A game in play with only what a script test puts there: a new game's state, the
// script of a chosen mode and stage from its first frame, a pool with the enemies the
// test places, and the calls of CreateObject logged but not carried out.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_object.h"

class StageWorld : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // GameMode and Stage, the stage's counters at 0, the call log empty.
  static void Begin(int mode, int stage);
  // The timelines just before the given frames, so the next call acts on them.
  static void Before(int timeline1, int timeline2 = 0, int timeline3 = 0);
  // `count` calls of the dispatcher.
  static void Frames(int count);
  // Category-2 records of a group, in the given state (or of another category); the
  // last one's slot.
  static int PutEnemies(int group, int count, int state = kStateActive, int category = kCategoryEnemy);
  // The logged CreateObject calls as "template x y facing parent".
  static std::vector<std::string> Spawns();
};
