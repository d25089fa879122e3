// The stages' own edge cases: conditions, delayed enemies, timelines that others
// advance, positions from the player and from a slot, and the rows written as code.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/game_state.h"
#include "stage_world.h"

namespace {

using StageEdges = StageWorld;

TEST_F(StageEdges, TheControlsGuideIsShownInModeZeroBelowTotalLevelTen) {
  for (const auto& [mode, totalLevel, timer] : {std::tuple(0, 9, 1500), std::tuple(0, 10, 0), std::tuple(1, 9, 0)}) {
    Begin(mode, 1);
    Stage1NoticeTimer = 0;
    TotalLevel = totalLevel;
    Before(630, 630);
    Frames(1);
    EXPECT_EQ(Stage1NoticeTimer, timer) << "mode " << mode << " TotalLevel " << totalLevel;
  }
}

// The last 1019 appear 120 frames after their spawn: a hold at 2300 does not wait for
// them, and the halt at 2400 comes with them alive.
TEST_F(StageEdges, StageOneHaltsWithItsDelayedLargeEnemiesAlive) {
  Begin(0, 1);
  Before(2300, 2300);
  PutEnemies(1, 4, kStateDelayed);
  Frames(1);
  EXPECT_EQ(StageTimeline, 2300);
  Frames(100);
  EXPECT_EQ(StageTimeline, 2400);
  EXPECT_EQ(TimelineHalt, 1.0f);
  Frames(5);
  EXPECT_EQ(StageTimeline, 2400);
  EXPECT_EQ(StageFrame, 106);
  EXPECT_EQ(BattleFrames, 101);
}

// Timeline 3 of stage 2 moves only in the boss's last phase, one step per update of the
// boss after the script has run; while the boss is gone it stands, and the row it stands
// on does not spawn again.
TEST_F(StageEdges, StageTwoTimelineThreeRowsFollowTheBoss) {
  Begin(0, 2);
  Before(4100, 7000);
  for (int frame = 0; frame <= 250; ++frame) {
    Frames(frame == 30 ? 20 : 1);
    ++StageTimeline3;
  }
  EXPECT_EQ(Spawns(), (std::vector<std::string>{"1032 2000 500 0 2", "1032 3000 750 0 2", "1032 4000 500 0 2",
                                                "1032 2000 1500 0 2", "1032 3000 1250 0 2", "1032 4000 1500 0 2"}));
}

// The ring's places are the player's float position plus the offset, truncated.
TEST_F(StageEdges, StageThreeRingTruncatesThePlayersPositionPlusTheOffset) {
  Begin(0, 3);
  ObjectPool[kPlayerSlot].x = 200.5f;
  ObjectPool[kPlayerSlot].y = 1000.0f;
  Before(2600, 100);
  Frames(2);
  EXPECT_EQ(Spawns(), (std::vector<std::string>{"1040 -99 700 0 1", "1040 50 650 0 1"}));
}

TEST_F(StageEdges, StageSevenCancelsEveryEnemyRecordAndStartsTimelineThree) {
  Begin(1, 7);
  const int delayed = PutEnemies(2, 1, kStateDelayed);
  const int active = PutEnemies(1, 1, kStateActive);
  const int bullet = PutEnemies(0, 1, kStateActive, kCategoryEnemyBullet);
  const int freed = PutEnemies(1, 1, kStateFree);
  Before(5000);
  Frames(1);
  for (const int slot : {delayed, active, freed}) {
    const GameObject& r = ObjectPool[slot];
    EXPECT_EQ(std::tuple(r.category, r.behaviour, r.animation, r.blendMode, r.collidable),
              std::tuple(kCategoryEffect, 4059, 117, 2, 0))
        << slot;
  }
  EXPECT_EQ(ObjectPool[bullet].category, kCategoryEnemyBullet);
  EXPECT_EQ(StageTimeline3, 2);
}

// Frame 7910: the boss records change groups, then the final form, then the five
// effects at slot 17's truncated position.
TEST_F(StageEdges, StageEightChangesTheBossFormInOrder) {
  Begin(0, 8);
  for (int slot = 11; slot <= 20; ++slot) ObjectPool[slot].group = 1;
  ObjectPool[10].work[0] = 1.0f;
  ObjectPool[17].x = 1234.7f;
  ObjectPool[17].y = 567.9f;
  const int bullet = PutEnemies(0, 1, kStateActive, kCategoryEnemyBullet);
  Before(7910, 100);
  Frames(1);
  EXPECT_EQ(ObjectPool[10].work[0], 501.0f);
  EXPECT_EQ(RedFlashAlpha, 120);
  EXPECT_EQ(ObjectPool[bullet].category, kCategoryEffect);
  for (int slot = 11; slot <= 20; ++slot) EXPECT_EQ(ObjectPool[slot].group, slot == 19 ? 3 : 2) << slot;
  EXPECT_EQ(Spawns(), (std::vector<std::string>{"1102 3000 800 0 1", "2185 1234 567 0 0", "2186 1234 567 0 0",
                                                "2185 1234 567 0 0", "2186 1234 567 0 0", "2180 1234 567 0 0"}));
}

}  // namespace
