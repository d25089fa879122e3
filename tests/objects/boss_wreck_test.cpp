// Boss wrecks, arrival rings and the stage 8 end objects, run frame by frame.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"

namespace {

class BossObjects : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::SpawnDeathEffects, false);
  }
  static int Count(const std::vector<RecordedCall>& log, Call call, int firstArgument = -1) {
    int count = 0;
    for (const RecordedCall& entry : log)
      count += entry.call == call && (firstArgument < 0 || entry.Int(0) == firstArgument);
    return count;
  }
};

// Each wreck's schedule, from the wreck family's table.
struct WreckRow {
  int behaviour;
  bool chipsEachFrame;
  int firstBursts, ringsAt, rings, chipsPerRain, rainEvery, flaresAt, flares, endAt, endBursts;
  int endRings, blastRings, handOvers, whiteFlash;
  float blueFlash;
  int sound, sounds;
  bool whitesOut;
};
const WreckRow kWreckRows[] = {{4104, true, 20, 100, 1, 1, 3, 250, 1, 300, 40, 1, 1, 0, 200, 0.0f, 89, 1, false},
                               {4106, true, 20, 100, 2, 2, 3, 250, 1, 300, 40, 1, 1, 0, 200, 0.0f, 89, 1, false},
                               {4107, false, 15, 100, 1, 0, 1, 200, 1, 250, 20, 1, 0, 0, 0, 0.0f, 0, 0, false},
                               {4108, true, 20, 200, 3, 3, 3, 350, 3, 400, 40, 1, 2, 0, 200, 0.0f, 89, 2, false},
                               {4123, true, 20, 200, 3, 3, 3, 350, 3, 400, 40, 0, 0, 0, 200, 0.0f, 114, 1, true},
                               {4133, true, 20, 200, 3, 0, 3, 350, 3, 400, 40, 0, 0, 1, 0, 255.0f, 114, 1, true}};

constexpr float kStrobe[] = {130.0f, 30.0f, 180.0f, 80.0f};

TEST_F(BossObjects, EachWreckExplodesRainsChipsAndEndsOnItsSchedule) {
  for (const WreckRow& row : kWreckRows) {
    SetUp();
    TimelineHalt = 1.0f;  // no wind rolls
    GameObject& wreck = Put(60, kCategoryEffect, row.behaviour, 2000.0f, 800.0f);
    wreck.width = wreck.height = 512;
    wreck.vx = 0.1f;
    wreck.vy = 0.6f;
    Put(70, kCategoryEnemyBullet, 4063, 500.0f, 400.0f).timer = 1000;
    for (int frame = 1; frame <= row.endAt; ++frame) {
      ClearCallLog();
      FrameCycle4 = frame % 4;
      const float x = wreck.x + 0.1f, y = wreck.y + 0.6f;
      Frames(1);
      const std::vector<RecordedCall> log = CallLog();
      const bool rains = frame > row.ringsAt && frame % row.rainEvery == 0;
      int bursts = (frame == 1 ? row.firstBursts : 0) + (rains ? 1 : 0) + (frame == row.endAt ? row.endBursts : 0);
      EXPECT_EQ(Count(log, Call::SpawnDeathEffects), bursts) << row.behaviour << " frame " << frame;
      EXPECT_EQ(Count(log, Call::CreateObject, 1080), rains ? row.chipsPerRain : 0) << row.behaviour << " " << frame;
      EXPECT_EQ(Count(log, Call::CreateObject, 2186), frame == row.ringsAt ? row.rings : 0) << row.behaviour;
      EXPECT_EQ(Count(log, Call::CreateObject, 2185), frame == row.flaresAt ? row.flares : 0) << row.behaviour;
      for (const RecordedCall& chip : log) {
        if (chip.call != Call::CreateObject || chip.Int(0) != 1080) continue;
        EXPECT_GE(chip.Int(1), static_cast<int>(x) - 256);
        EXPECT_LE(chip.Int(1), static_cast<int>(x) + 512);
        EXPECT_GE(chip.Int(2), static_cast<int>(y) - 512);
        EXPECT_LE(chip.Int(2), static_cast<int>(y) + 256);
        EXPECT_EQ(chip.Int(4), 60);  // the chips pay the wreck's score
      }
      if (frame == 1) {
        EXPECT_EQ(ObjectPool[70].behaviour, row.chipsEachFrame ? 3068 : 4063) << row.behaviour;
      }
      if (frame < row.endAt) {
        EXPECT_EQ(wreck.fade, kStrobe[frame % 4]);
      }
    }
    const std::vector<RecordedCall> log = CallLog();
    EXPECT_EQ(wreck.state, kStateFree) << row.behaviour;
    EXPECT_EQ(Count(log, Call::CreateObject, 2004), row.endRings) << row.behaviour;
    EXPECT_EQ(Count(log, Call::CreateObject, 2187), row.blastRings) << row.behaviour;
    EXPECT_EQ(Count(log, Call::CreateObject, 2212), row.handOvers) << row.behaviour;
    EXPECT_EQ(Count(log, Call::PlaySe, row.sound), row.sounds) << row.behaviour;
    EXPECT_EQ(WhiteFlashAlpha, row.whiteFlash) << row.behaviour;
    EXPECT_EQ(ScreenFlash, row.blueFlash) << row.behaviour;
    EXPECT_EQ(WhiteOutCounter, row.whitesOut ? 1 : 0) << row.behaviour;
  }
}

TEST_F(BossObjects, ArrivalRingsTurnOnFrame153AndTheOuterOneSparks) {
  for (int behaviour : {4100, 4099}) {
    SetUp();
    GameObject& ring = Put(60, kCategoryDecoration, behaviour);
    ring.fade = 255.0f;
    ring.phase = 0.05f;
    std::map<int, int> sparks;
    for (int frame = 1; frame <= 200 && ring.state == kStateActive; ++frame) {
      ClearCallLog();
      Frames(1);
      EXPECT_EQ(ring.phase2 == 1.0f || ring.state == kStateFree, frame >= 153) << behaviour << " " << frame;
      const int made = Count(CallLog(), Call::CreateObject, 2181);
      if (made != 0) sparks[frame] = made;
    }
    const std::map<int, int> outer = {{153, 3}, {165, 40}, {170, 40}, {175, 40}, {180, 40}, {185, 40}, {190, 40}};
    const std::map<int, int> none;
    EXPECT_EQ(sparks, behaviour == 4100 ? outer : none) << behaviour;
  }
}

TEST_F(BossObjects, TheFinalFlashEndsTheGameExceptInPractice) {
  for (int practice : {0, 1}) {
    SetUp();
    PracticeFlag = practice;
    EndFadeFlag = 0;
    SetForwarding(Call::RandomInRange, false);  // 700 sparks a frame: keep the draws cheap
    Put(22, kCategoryEffect, 4153, 3000.0f, 900.0f).timer = 619;
    Frames(1);
    EXPECT_EQ(EndFadeFlag, 0);
    Frames(1);
    EXPECT_EQ(ObjectPool[22].state, kStateFree);
    EXPECT_EQ(EndFadeFlag, practice == 1 ? 0 : 1);
    EXPECT_EQ(Count(CallLog(), Call::CreateObject, 2231), 2 * 700);
  }
}

TEST_F(BossObjects, TheCurtainsSpreadGoesNegativeAndTheHandOverBringsTheBody) {
  GameObject& curtain = Put(60, kCategoryEffect, 4137);
  curtain.phase = 3184.0f;
  std::vector<int> spreads;
  for (int frame = 0; frame < 16; ++frame) {
    ClearCallLog();
    Frames(1);
    const std::vector<RecordedCall> draws = CallsOf(Call::RandomInRange);
    spreads.push_back(draws.empty() ? 9999 : draws.at(1).Int(0));
    EXPECT_EQ(draws.size(), draws.empty() ? 0u : 120u);
  }
  EXPECT_EQ(spreads, std::vector<int>({8, 0, -8, -16, -24, -32, -40, -48, -56, -64, -72, -80, -88, -96, 9999, 9999}));

  constexpr int kNotAGraph = 12345;  // FreeGraph refuses it
  for (int entry = 0; entry < kStageImageCount; ++entry) StageImages[entry] = kNotAGraph;
  GameObject& handOver = Put(61, kCategoryEffect, 4132, 100.0f, 100.0f);
  handOver.phase = 1.0f;
  handOver.timer = 349;
  ClearCallLog();
  Frames(1);
  const std::vector<RecordedCall> made = CallsOf(Call::CreateObject);
  ASSERT_EQ(made.size(), 4u);
  EXPECT_EQ(made[3].Int(0), 1103);
  EXPECT_EQ(made[3].Int(1), 3000);
  EXPECT_EQ(made[3].Int(2), 800);
  EXPECT_EQ(EndBackdropPhase, 2);
  EXPECT_EQ(RedFlashAlpha, 150);
  EXPECT_EQ(BgmFadeMode[8], 6);
  int freed = 0;
  for (int entry = 0; entry < kStageImageCount; ++entry) freed += StageImages[entry] == -1;
  EXPECT_EQ(freed, 10);
  for (int entry = 1; entry <= 3; ++entry) EXPECT_EQ(StageImages[entry], kNotAGraph);  // backdrops of phases 2-4
}

}  // namespace
