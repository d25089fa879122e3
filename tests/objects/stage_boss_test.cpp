// The stage 2, 3 and 5 bosses made by their templates and run on the pool: every
// phase's schedule against the Parts' tables typed here, form and phase changes by
// scripted hit points, damage debris, and the update on which each withdraws.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"
#include "core/object_pool.h"

namespace {

// (update, template or -sound, dx, dy, parameter) of one schedule entry.
using Event = std::tuple<int, int, int, int, int>;

constexpr int kGun[] = {-300, 130}, kCharge[] = {137, 217}, kRandom[] = {-100, -100};

struct Expect {
  std::vector<Event> events;
  // On updates first, first + every, ... last: template at (dx, dy) with parameter
  // `from` + step x k (or the listed runs), `calls` in a row of +callStep.
  void Add(int first, int last, int every, int templateId, const int* point, int from, int step = 0, int calls = 1,
           int callStep = 0, std::vector<int> run = {}) {
    for (int update = first, k = 0; update <= last; update += every, ++k) {
      for (int i = 0; i < calls; ++i) {
        const int parameter = (run.empty() ? from + step * k : run[k]) + callStep * i;
        events.emplace_back(update, templateId, point ? point[0] : 0, point ? point[1] : 0, parameter);
      }
    }
  }
  void Sound(int first, int last, int every, int se, int times = 1) {
    for (int update = first; update <= last; update += every) {
      for (int i = 0; i < times; ++i) events.emplace_back(update, -se, 0, 0, 0);
    }
  }
  // Repeats a clock's events every `cycle` updates over `updates`.
  void Cycle(int cycle, int updates, const std::function<void(Expect&)>& one) {
    Expect once;
    one(once);
    for (int start = 0; start < updates; start += cycle) {
      for (auto [u, t, x, y, p] : once.events) {
        if (start + u <= updates) events.emplace_back(start + u, t, x, y, p);
      }
    }
  }
};

class StageBosses : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::SpawnDeathEffects, false);
    ScriptRandom(RandomScript::Zero);
  }
  // The boss of `templateId`, awake, with the levels given; returns its slot.
  static int Make(int templateId, int shot, int option, int turbo) {
    ShotLevel = shot, OptionLevel = option, TurboLevel = turbo;
    SetForwarding(Call::CreateObject, true);
    CreateObject(templateId, 3000, 800, 1, 0);
    SetForwarding(Call::CreateObject, false);
    ClearCallLog();
    for (int slot = 10; slot < 100; ++slot) {
      GameObject& record = ObjectPool[slot];
      if (record.state == kStateFree) continue;
      record.state = kStateActive;
      record.timer = 0;
    }
    int boss = 0;
    for (int slot : {10, 50, 51, 52, 53, 54, 55, 56, 57}) {
      if (boss == 0 && ObjectPool[slot].category == kCategoryEnemy && ObjectPool[slot].weight == 99) boss = slot;
    }
    // The arrival rings go: only the boss and its layers stay.
    for (int slot = 50; slot < 100; ++slot) {
      if (slot != boss) ResetObject(slot);
    }
    EXPECT_NE(boss, 0) << "no boss from " << templateId;
    return boss;
  }
  // Runs `updates` updates with the boss held still at (3000.5, 800.5), so its shots
  // land at whole offsets; the events made, debris and glows left out.
  static std::vector<Event> Schedule(int slot, int updates, std::vector<int> ignored) {
    std::vector<Event> made;
    for (int update = 1; update <= updates; ++update) {
      GameObject& boss = ObjectPool[slot];
      boss.x = 3000.5f, boss.y = 800.5f, boss.vx = boss.vy = 0.0f, boss.phase2 = 0.0f;
      ClearCallLog();
      Frames(1);
      for (const RecordedCall& call : CallLog()) {
        if (call.call == Call::PlaySe) made.emplace_back(update, -call.Int(0), 0, 0, 0);
        if (call.call != Call::CreateObject) continue;
        if (std::find(ignored.begin(), ignored.end(), call.Int(0)) != ignored.end()) continue;
        made.emplace_back(update, call.Int(0), call.Int(1) - 3000, call.Int(2) - 800, call.Int(4));
      }
    }
    return made;
  }
  static void ExpectSame(std::vector<Event> made, std::vector<Event> expected, const char* what) {
    std::sort(made.begin(), made.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(made.size(), expected.size()) << what;
    EXPECT_TRUE(made == expected) << what;
  }
};

TEST_F(StageBosses, Stage3PhaseSchedules) {
  const int slot = Make(1042, 4, 6, 9);
  EXPECT_EQ(slot, 10);
  Expect phase0;
  phase0.Add(100, 250, 1, 5014, kRandom, 60);
  phase0.Add(250, 250, 1, 5017, nullptr, 30);
  phase0.Add(350, 500, 1, 5014, kRandom, 80);
  phase0.Add(500, 500, 1, 5017, nullptr, 40);
  phase0.Add(600, 750, 1, 5014, kRandom, 100);
  phase0.Add(750, 750, 1, 5017, nullptr, 50);
  phase0.Add(900, 1200, 1, 5010, kRandom, 3);
  phase0.Add(900, 1200, 1, 5010, kRandom, 6);
  ExpectSame(Schedule(slot, 1300, {2200}), phase0.events, "phase 0");
  EXPECT_EQ(ObjectPool[slot].timer, 0);

  ObjectPool[slot].work[0] = 1.0f;
  Expect phase1;
  phase1.Cycle(320, 1050, [](Expect& bursts) {
    for (int run : {0, 1, 2}) {
      const int first = run == 0 ? 60 : run == 1 ? 180 : 310;
      bursts.Add(first, first + 10, 2, 5014, nullptr, 50 + 10 * run, 5);
      bursts.Add(first + 10, first + 10, 1, 5017, nullptr, 35);
    }
  });
  for (int first : {100, 200, 300, 500}) phase1.Add(first, first + 20, 10, 5020, nullptr, 4);
  phase1.Add(600, 620, 10, 5020, nullptr, 5);
  phase1.Add(700, 720, 10, 5020, nullptr, 6);
  for (int first : {100, 200, 300, 500, 600, 700}) phase1.Sound(first, first + 20, 10, 87);
  phase1.Add(880, 890, 2, 5014, nullptr, 30, 10);
  phase1.Add(890, 890, 1, 5017, nullptr, 30);
  phase1.Add(910, 920, 2, 5014, nullptr, 30, 10);
  phase1.Add(920, 920, 1, 5017, nullptr, 30);
  phase1.Add(1000, 1020, 10, 5017, nullptr, 30, 5);
  ExpectSame(Schedule(slot, 1050, {2200}), phase1.events, "phase 1");
  EXPECT_EQ(ObjectPool[slot].timer, 0);

  ObjectPool[slot].work[0] = 2.0f;
  ObjectPool[slot].work[2] = 0.0f;
  Expect phase2;
  phase2.Cycle(100, 1900, [](Expect& bursts) { bursts.Add(60, 65, 1, 5014, nullptr, 40, 5); });
  phase2.Add(100, 900, 400, 5017, nullptr, 20, 3);
  phase2.Add(181, 279, 1, 5021, nullptr, 13);
  phase2.Sound(181, 279, 1, 88);
  phase2.Sound(180, 180, 1, 87, 2);
  phase2.Sound(183, 192, 3, 88);
  phase2.Sound(183, 192, 3, 87);
  const std::vector<int> homing = {5, 5, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 8, 9, 9, 9, 10};
  for (int first : {320, 1020, 1220}) {
    phase2.Add(first, first + 170, 10, 5020, nullptr, 0, 0, 1, 0, homing);
    phase2.Sound(first, first + 170, 10, 87);
  }
  phase2.Add(630, 850, 1, 5018, kRandom, 3);
  phase2.Add(1500, 1750, 1, 5018, kRandom, 2);
  ExpectSame(Schedule(slot, 1900, {2200}), phase2.events, "phase 2");
  EXPECT_EQ(ObjectPool[slot].timer, 0);
}

TEST_F(StageBosses, Stage3RandomShotsDrawParameterThenYThenX) {
  const int slot = Make(1042, 4, 6, 9);
  ObjectPool[slot].timer = 99;
  ObjectPool[slot].x = 3000.5f;
  ObjectPool[slot].vx = 0.0f;
  ScriptRandom(RandomScript::Listed, {7, 150, 20});
  Frames(1);
  const std::vector<RecordedCall> draws = CallsOf(Call::RandomInRange);
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0].Int(0), 20);
  const RecordedCall shot = CallsOf(Call::CreateObject).back();
  EXPECT_EQ(shot.Int(4), 67);
  EXPECT_EQ(shot.Int(1), 3000 - 100 + 20);  // x's draw came last
}

TEST_F(StageBosses, Stage5PhaseSchedules) {
  const int slot = Make(1054, 4, 6, 9);
  const std::vector<int> ignored = {2200, 2147, 2148, 5019};
  Expect phase0;
  for (auto [first, last, every] : {std::tuple{100, 100, 1}, {200, 220, 20}, {450, 490, 20}}) {
    phase0.Add(first, last, every, 5014, kGun, 60, 0, 40, 1);
  }
  for (auto [first, last] : {std::pair{240, 280}, {510, 550}}) phase0.Add(first, last, 20, 5014, kGun, 70, 0, 40, 1);
  for (auto [first, last] : {std::pair{300, 340}, {570, 630}}) phase0.Add(first, last, 20, 5014, kGun, 80, 0, 40, 1);
  phase0.Add(100, 300, 40, 5016, nullptr, 120);
  phase0.Add(370, 450, 40, 5016, nullptr, 120);
  for (auto [update, p] : {std::pair{430, 130}, {470, 135}, {490, 125}, {510, 140}, {550, 145}}) {
    phase0.Add(update, update, 1, 5016, nullptr, p);
  }
  phase0.Add(650, 650, 1, 5016, nullptr, 130, 0, 40, 2);
  ExpectSame(Schedule(slot, 700, ignored), phase0.events, "phase 0");

  ObjectPool[slot].work[0] = 1.0f;
  Expect phase1;
  phase1.Add(6, 94, 1, 2151, kCharge, 0);
  phase1.Sound(5, 5, 1, 93);
  phase1.Add(5, 5, 1, 5014, kGun, 60);
  phase1.Add(95, 95, 1, 2150, kCharge, 0);
  phase1.Sound(95, 95, 1, 94);
  phase1.Add(100, 196, 3, 5014, kGun, 60);
  phase1.Add(200, 290, 3, 5014, kGun, 60);
  phase1.Add(320, 440, 20, 5012, nullptr, 30, 10);
  phase1.Add(500, 596, 3, 5014, kGun, 100);
  phase1.Add(600, 690, 3, 5014, kGun, 100);
  phase1.Add(720, 880, 20, 5012, nullptr, 0, 0, 1, 0, {60, 70, 80, 90, 100, 110, 100, 90, 80});
  ExpectSame(Schedule(slot, 900, ignored), phase1.events, "phase 1");

  ObjectPool[slot].work[0] = 2.0f;
  ObjectPool[slot].work[2] = 0.0f;
  const int volley[] = {-270, 100};
  Expect phase2;
  phase2.Add(40, 120, 40, 5025, volley, 100, 0, 20, 2);
  phase2.Add(240, 320, 40, 5025, volley, 120, 0, 20, 2);
  phase2.Add(243, 318, 3, 5014, kGun, 60);
  phase2.Add(30, 150, 30, 5016, nullptr, 100);
  phase2.Add(180, 300, 30, 5016, nullptr, 110, 10);
  phase2.Add(320, 360, 5, 5012, nullptr, 0, 0, 1, 0, {30, 35, 40, 45, 45, 50, 55, 60, 65});
  // The charge rides on the stream clock, which holds the update's number up to 260.
  phase2.Cycle(261, 400, [](Expect& charge) {
    charge.Sound(150, 150, 1, 93);
    charge.Add(151, 260, 1, 2151, kCharge, 0);
    charge.Add(259, 259, 1, 2150, kCharge, 0);
    charge.Sound(259, 259, 1, 94);
  });
  ExpectSame(Schedule(slot, 400, ignored), phase2.events, "phase 2");
  EXPECT_EQ(ObjectPool[slot].timer, 0);
}

TEST_F(StageBosses, PhaseChangesByHitPoints) {
  struct Case {
    int templateId;
    int firstBelow, secondBelow;  // hit points just under each threshold
    int bursts;                   // SpawnDeathEffects per change
    int firstKind, secondKind;
    int timerAfterFirst, timerAfterSecond;
    bool cancelsBullets;
  };
  for (const Case& c : {Case{1042, 34999, 17999, 20, 1, 3, -60, -60, true},
                        Case{1054, 59999, 32999, 20, 1, 5, 0, -30, false}}) {
    SetUp();
    const int slot = Make(c.templateId, 4, 6, 9);
    GameObject& bullet = Put(8000, kCategoryEnemyBullet, 4063);
    ObjectPool[slot].hitPoints = c.secondBelow;  // both thresholds at once: two frames
    Frames(1);
    EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), static_cast<std::size_t>(c.bursts)) << c.templateId;
    EXPECT_EQ(ObjectPool[slot].deathEffect, c.firstKind);
    EXPECT_EQ(ObjectPool[slot].timer, c.timerAfterFirst);
    EXPECT_EQ(bullet.behaviour, c.cancelsBullets ? 4059 : 4063);
    ClearCallLog();
    Frames(1);
    EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), static_cast<std::size_t>(c.bursts)) << c.templateId;
    EXPECT_EQ(ObjectPool[slot].deathEffect, c.secondKind);
    EXPECT_EQ(ObjectPool[slot].timer, c.timerAfterSecond);
    Frames(1);
    EXPECT_EQ(ObjectPool[slot].timer, c.timerAfterSecond + 1);
  }
}

TEST_F(StageBosses, Stage5StreamGoesOnThroughChanges) {
  const int slot = Make(1054, 4, 6, 9);
  ObjectPool[slot].work[2] = 230.0f;
  ObjectPool[slot].hitPoints = 59999;
  Frames(1);  // the stream fired at 231, then the change reset its clock
  EXPECT_EQ(ObjectPool[slot].work[2], 0.0f);
  EXPECT_EQ(ObjectPool[slot].work[1], 1.0f);
  Frames(201);
  EXPECT_EQ(CallsOf(Call::CreateObject).back().Int(0), 5019);
}

TEST_F(StageBosses, Stage2ChangesFormBelow12000AndShedsAllDebrisInOneFrame) {
  const int slot = Make(1033, 4, 6, 9);
  StageTimeline3 = 0;
  Frames(59);
  EXPECT_EQ(StageTimeline3, 0);
  ObjectPool[slot].hitPoints = 2000;
  Frames(1);  // timer 59 before this update: no debris; the change
  EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 6u);
  EXPECT_EQ(ObjectPool[slot].deathEffect, 2);
  EXPECT_EQ(ObjectPool[slot].timer, -59);  // -60, and the second form's first step
  EXPECT_EQ(StageTimeline3, 1);
  Frames(59);  // sinking; timer 0 next
  EXPECT_EQ(StageTimeline3, 60);
  ClearCallLog();
  Frames(1);
  int debris = 0;
  for (const RecordedCall& call : CallsOf(Call::CreateObject)) debris += call.Int(0) == 2200;
  EXPECT_EQ(debris, 3);
}

TEST_F(StageBosses, DebrisBurstsPerThresholdAndInterval) {
  struct Case {
    int hitPoints, bursts;  // over 240 updates of stage 3 phase 2
  };
  for (const Case& c : {Case{20000, 0}, Case{19999, 6}, Case{11999, 6 + 8}, Case{7999, 6 + 8 + 12},
                        Case{3999, 6 + 8 + 12 + 16}}) {
    SetUp();
    const int slot = Make(1042, 4, 6, 9);
    ObjectPool[slot].work[0] = 2.0f;
    ObjectPool[slot].hitPoints = c.hitPoints;
    ObjectPool[slot].timer = 1;
    Frames(240);
    int debris = 0;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) debris += call.Int(0) == 2200;
    EXPECT_EQ(debris, c.bursts) << c.hitPoints;
  }
}

TEST_F(StageBosses, WeakUpgradesStartInLaterPhasesWithKind0) {
  int slot = Make(1042, 1, 0, 1);
  EXPECT_EQ(ObjectPool[slot].hitPoints, 20800);
  EXPECT_EQ(ObjectPool[slot].work[0], 1.0f);
  EXPECT_EQ(ObjectPool[slot].deathEffect, 0);
  SetUp();
  slot = Make(1054, 1, 0, 1);
  EXPECT_EQ(ObjectPool[slot].hitPoints, 25600);
  EXPECT_EQ(ObjectPool[slot].work[0], 2.0f);
  Frames(500);
  EXPECT_EQ(ObjectPool[slot].deathEffect, 0);
  EXPECT_TRUE(CallsOf(Call::SpawnDeathEffects).empty());
}

TEST_F(StageBosses, UndamagedBossesWithdrawOnTheirCountedUpdate) {
  struct Case {
    int templateId, shot, option, turbo, withdrawsOn;
  };
  for (const Case& c : {Case{1033, 3, 0, 1, 4501}, Case{1042, 3, 0, 1, 6161}, Case{1054, 3, 0, 1, 6241},
                        Case{1042, 1, 0, 1, 6051}, Case{1054, 1, 0, 1, 6401}}) {
    SetUp();
    const int slot = Make(c.templateId, c.shot, c.option, c.turbo);
    const int behaviour = ObjectPool[slot].behaviour;
    Frames(c.withdrawsOn - 1);
    EXPECT_EQ(ObjectPool[slot].behaviour, behaviour) << c.templateId;
    EXPECT_EQ(ObjectPool[slot].coinDrop, 0) << c.templateId;
    Frames(1);
    EXPECT_EQ(ObjectPool[slot].behaviour, 4059) << c.templateId << " on " << c.withdrawsOn;
    EXPECT_EQ(ScreenFlash, 250.0f);
    if (c.templateId == 1042) {
      for (int layer : {11, 12, 13}) EXPECT_EQ(ObjectPool[layer].state, kStateFree) << layer;
    }
  }
}

}  // namespace
