// Hit and kill effects: the draws and fields their description fixes.
#include <gtest/gtest.h>

#include <cmath>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "records_made.h"

namespace {

using HitEffects = RecordsMade;

std::vector<int> DrawMaxima() {
  std::vector<int> maxima;
  for (const RecordedCall& call : CallsOf(Call::RandomInRange)) maxima.push_back(call.Int(0));
  return maxima;
}

TEST_F(HitEffects, BlastSparksTurnOnlyTheTurningRows) {
  for (int row : {0, 1, 2, 3}) {
    ScriptRandom(RandomScript::Listed, {64, 0, 100, row, 90});
    const GameObject& spark = *Create(2059, 500, 500, 1, 0).at(0);
    const bool turns = row < 2;
    const std::vector<int> maxima = {128, 128, 200, 3, 360};
    EXPECT_EQ(DrawMaxima(), std::vector<int>(maxima.begin(), maxima.end() - (turns ? 0 : 1)));
    EXPECT_EQ(spark.angle, turns ? 90.0f : 0.0f);
    EXPECT_TRUE(spark.x == 500.0f && spark.y == 436.0f && spark.scaleDelta == 0.5f && spark.animation == 135 + row);
  }
}

TEST_F(HitEffects, AGuardedHitScattersMoreSparksEachTime) {
  for (const auto& [tally, count] : {std::pair{0.0f, 20u}, std::pair{3.0f, 50u}}) {
    PlayerHitTally = tally;
    const std::vector<GameObject*> sparks = Create(2093, 5, 5, 0, 0);
    ASSERT_EQ(sparks.size(), count);
    for (const GameObject* spark : sparks) {
      EXPECT_LE(std::fabs(spark->x - ObjectPool[kPlayerSlot].x), 32.0f);
      EXPECT_LE(std::fabs(spark->y - ObjectPool[kPlayerSlot].y), 32.0f);
    }
  }
}

TEST_F(HitEffects, ABurstHitPlaysItsSoundOnlyWhenIdle) {
  TurboLevel = 1;
  const int handle = SeHandles[96];
  SeHandles[96] = 4096;
  for (Call faked : {Call::IsSoundPlaying, Call::StartSound, Call::SetSoundVolume}) SetForwarding(faked, false);
  ObjectPool[300] = ResetValues();
  for (int playing : {1, 0}) {
    SetScriptedResult(Call::IsSoundPlaying, playing);
    EXPECT_EQ(Create(2122, 500, 500, 0, 300).size(), 3u);
    EXPECT_EQ(CallsOf(Call::StartSound).size(), playing ? 0u : 1u);
  }
  SeHandles[96] = handle;
}

TEST_F(HitEffects, LevelsSizeTheFlashes) {
  ShotLevel = 3;
  const GameObject& flash = *Create(2092, 500, 500, 0, 0).at(0);
  EXPECT_TRUE(flash.hitWidth == 60 && flash.hitHeight == 60 && flash.scaleDelta == 3.0f);
  for (const auto& [turbo, small, large] : {std::tuple{9, 3.5f, 4.5f}, std::tuple{1, 0.5f, 1.5f}}) {
    TurboLevel = turbo;
    for (const auto& [draw, scale] : {std::pair{0, small}, std::pair{10, large}}) {
      ScriptRandom(RandomScript::Listed, {0, draw, 1});
      EXPECT_EQ(Create(2177, 500, 500, 0, 0).at(0)->scaleDelta, scale);
      const std::vector<RecordedCall> sounds = CallsOf(Call::PlaySe);
      ASSERT_EQ(sounds.size(), 2u);
      EXPECT_TRUE(sounds[0].Int(0) == 76 && sounds[1].Int(0) == 78);
    }
  }
}

// A particle of a parent 0 wide lies on its x; a divisor draw of 0 shares no speed.
TEST_F(HitEffects, EmptyDrawsGiveNoSpreadAndNoShare) {
  ObjectPool[300] = ResetValues();
  ObjectPool[300].x = 321.5f;
  ObjectPool[300].vx = 6.0f;
  ObjectPool[kPlayerSlot].vx = 6.0f;
  EXPECT_EQ(Create(2129, 0, 0, 0, 300).at(0)->x, 321.5f);
  for (const auto& [templateId, parent] : {std::pair{2005, 0}, std::pair{2012, 0}, std::pair{2122, 300}}) {
    for (const auto& [divisor, vx] : {std::pair{0, 0.0f}, std::pair{3, 2.0f}}) {
      ScriptRandom(RandomScript::Listed, {divisor});
      EXPECT_EQ(Create(templateId, 500, 500, 0, parent).at(0)->vx, vx) << templateId;
      EXPECT_EQ(DrawMaxima().at(0), 3) << templateId;
    }
  }
}

}  // namespace
