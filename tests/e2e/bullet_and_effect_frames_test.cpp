// Bullet patterns, scenery and ending objects drawn by the real frame loop, saved as
// frames for a person to look at. The test moves the records itself, along their own
// velocities, so that each picture shows the pattern's shape. The moments that fill the
// view with harmless things (chips, coins, sparks, the level-up's blast) are played
// on both drawing paths.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/game_state.h"
#include "core/game_rules.h"
#include "core/object_pool.h"
#include "objects/object_factory.h"
#include "scenario.h"

namespace {

std::vector<int> made;

void Remember(int slot) { made.push_back(slot); }

// The view of a scenario is the world's corner: (0, 0) to (1024, 768).
bool InView(const GameObject& record) {
  return record.x > 64.0f && record.x < 960.0f && record.y > 64.0f && record.y < 704.0f;
}

void Move(int steps) {
  for (int slot : made) ObjectPool[slot].x += steps * ObjectPool[slot].vx, ObjectPool[slot].y += steps * ObjectPool[slot].vy;
}

// Scenery starts outside the view and drifts in: each record steps along its velocity
// until it lies in the view; one whose path misses the view is set down in it.
void StepIntoView() {
  for (int slot : made) {
    GameObject& record = ObjectPool[slot];
    for (int step = 0; step < 3000 && !InView(record); ++step) record.x += record.vx, record.y += record.vy;
    if (!InView(record)) record.x = 64.0f + static_cast<float>(slot * 97 % 896), record.y = 64.0f + static_cast<float>(slot * 53 % 640);
  }
}

// The scenario's stage as it shows once its title card and the white fade-in after the
// loadout have ended.
void PastTheStageStart(Scenario& scenario) {
  TitleCardFrame = 679;  // the card's last frame
  TitleCardAlpha = HudAlpha = 255;
  EndFadeTimer = 0;
  scenario.Run(2);
}

// Places what `place` makes, arranges it, runs one frame and saves it; then clears it.
void Show(Scenario& scenario, const char* name, const std::function<void()>& place,
          const std::function<void()>& arrange) {
  made.clear();
  RecordTakenHook = Remember;
  place();
  RecordTakenHook = nullptr;
  arrange();
  scenario.Run(1);
  EXPECT_FALSE(scenario.SaveFrame(name).empty());
  for (int slot : made) ResetObject(slot);
}

TEST(BulletAndEffectFrames, PatternsSceneryAndEndingAsDrawn) {
  {
    Scenario stage1(1);
    stage1.SetPlayer(380.0f, 316.0f);
    PastTheStageStart(stage1);
    const auto spread = [] { Move(30); };
    Show(stage1, "ring-5012", [&] { stage1.Place(5012, 512, 384, 0, 30); }, spread);
    Show(stage1, "ring-5013", [&] { stage1.Place(5013, 512, 384, 0, 30); }, spread);
    Show(stage1, "fan-5016", [&] { stage1.Place(5016, 512, 384, 1, 50); }, spread);
    Show(stage1, "fan-2109", [&] { stage1.Place(2109, 512, 384, 0, 5); }, spread);
    Show(stage1, "stage1-sky", [&] { for (int i = 0; i < 8; ++i) stage1.Place(2105, 0, 0, 0, 0); }, StepIntoView);
  }
  {
    Scenario stage4(4);
    PastTheStageStart(stage4);
    Show(stage4, "stage4-pieces-and-rain", [&] {
      for (int x : {3000, 5000, 7000, 1000}) stage4.Place(2163, x, 0, 0, 0);
      for (int id : {2164, 2165, 2166, 2169, 2161, 2161, 2161, 2161, 2161, 2161}) stage4.Place(id, 0, 0, 0, 0);
    }, StepIntoView);
  }
  Scenario ending(9);
  PastTheStageStart(ending);
  Show(ending, "ending-figures-and-pages", [&] {
    ending.Place(2235, 260, 0, 0, 0);
    ending.Place(2241, 500, -200, 0, 0);
    ending.Place(2244, 770, 500, 0, 3);
    ending.Place(2245, 260, 200, 0, 5);
  }, [] {
    ObjectPool[12].y += 300.0f;  // the second figure some frames into its fall
    for (int slot : made) {
      if (ObjectPool[slot].behaviour == 4164) ObjectPool[slot].fade = 0.0f;  // the pages faded in
    }
  });
}

// Moments that fill the view with harmless things, in front of the dragon at (300, 384):
// what is placed, the buttons held for the first frames, the frames run (one saved every
// tenth), and what must have happened.
struct Moment {
  const char* name;
  std::function<void(Scenario&)> place;
  int padWord, heldFrames, frames;
  std::function<bool()> happened;
};

constexpr int kSturdySlot = 45;  // a fixed slot no stage 1 object takes

void PlaceSturdyEnemy(Scenario&) {
  GameObject& enemy = ObjectPool[kSturdySlot] = GameObject{};
  enemy.state = kStateActive, enemy.layer = 5, enemy.category = kCategoryEnemy, enemy.collidable = 1;
  enemy.x = 560.0f, enemy.y = 384.0f, enemy.width = enemy.height = enemy.hitWidth = enemy.hitHeight = 64;
  enemy.imageSet = 15, enemy.animation = 235, enemy.hitPoints = 5000, enemy.deathEffect = 1, enemy.weight = 1;
}

class HarmlessThingsFrames : public testing::TestWithParam<DrawingPath> {};

TEST_P(HarmlessThingsFrames, ChipsCoinsTheLevelUpAndHitsAsDrawn) {
  const Moment kMoments[] = {
      {"bullets-into-chips", [](Scenario& s) {
         for (int y : {200, 384, 568}) s.Place(5012, 700, y, 0, 30);
         s.At(s.framesRun() + 10, ConvertBulletsToChips);
       }, 0, 0, 30, [] { return BssCoinsGot > 0; }},
      {"coins-and-chips-pulled-in", [](Scenario& s) {
         for (int i = 0; i < 8; ++i) s.Place(i % 2 ? 1009 : 1080, 340 + i * 30, 330 + i % 3 * 50);
       }, 0, 0, 30, [] { return CoinsGot > 0 && BssCoinsGot > 0; }},
      {"level-up-spent", [](Scenario& s) { s.Place(5012, 700, 384, 0, 30), LevelUpCount = 1; },
       kPadSpecial, 8, 90, [] { return LevelUpCount == 0 && BssCoinsGot > 0; }},
      {"shots-hit-an-enemy", PlaceSturdyEnemy, kPadFire, 60, 60,
       [] { return ObjectPool[kSturdySlot].state == kStateActive && ObjectPool[kSturdySlot].hitPoints < 5000; }},
      {"turbo-charged", [](Scenario&) { TurboLevel = 4, TurboCharge = TurboChargeNeeded - 6; }, 0, 0, 30,
       [] { return ObjectPool[5].behaviour == 4073; }},
      {"level-up-at-a-full-gauge", [](Scenario&) { ExpGauge = 100.5f; }, 0, 0, 90, [] { return LevelUpCount == 1; }},
      {"hit-on-the-dragon", [](Scenario& s) { GuardValue = 0.0f, InvulnFrames = -1.0f, s.Place(5012, 300, 384, 0, 30); },
       0, 0, 30, [] { return HitsTaken == 1 && Lives == 3.0f; }},
  };
  for (const Moment& moment : kMoments) {
    Scenario scenario(1, GetParam());
    scenario.SetPlayer(300.0f, 384.0f);
    PastTheStageStart(scenario);
    moment.place(scenario);
    scenario.SaveFramesEvery(10, moment.name + std::string(GetParam() == DrawingPath::kDevice ? "-device-" : "-software-"));
    scenario.Run(moment.heldFrames, moment.padWord);
    scenario.Run(moment.frames - moment.heldFrames);
    EXPECT_TRUE(moment.happened()) << moment.name;
  }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, HarmlessThingsFrames, testing::Values(DrawingPath::kDevice, DrawingPath::kSoftware),
                         [](const auto& info) { return info.param == DrawingPath::kDevice ? "Device" : "Software"; });

}  // namespace
