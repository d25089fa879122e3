// The stage 2, 3 and 5 bosses made by their templates: every phase's schedule against
// the tables typed here, changes by scripted hit points, debris, counted withdrawals.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"
#include "core/object_pool.h"

namespace {

// (update, template or -sound, dx, dy, parameter).
using Event = std::tuple<int, int, int, int, int>;
enum Point { kCentre, kGun, kCharge, kRandom, kVolley };
constexpr int kPoints[][2] = {{0, 0}, {-300, 130}, {137, 217}, {-100, -100}, {-270, 100}};

// A table row: on updates first, first + every, ... last, `calls` of template at the
// point with parameter from + step x k (or run[k]) + callStep x call; template < 0 a sound.
struct Row {
  int first, last, every, templateId;
  Point point = kCentre;
  int from = 0, step = 0, calls = 1, callStep = 0;
  std::vector<int> run = {};
};

std::vector<Event> Expand(const std::vector<Row>& rows, int cycle = 0, int updates = 0) {
  std::vector<Event> events;
  for (int start = 0; start == 0 || start < updates; start += cycle) {
    for (const Row& r : rows) {
      for (int u = r.first, k = 0; u <= r.last && start + u <= std::max(updates, u); u += r.every, ++k) {
        for (int i = 0; i < r.calls; ++i) {
          const int p = (r.run.empty() ? r.from + r.step * k : r.run[k]) + r.callStep * i;
          events.emplace_back(start + u, r.templateId, kPoints[r.point][0], kPoints[r.point][1], r.templateId < 0 ? 0 : p);
        }
      }
    }
    if (cycle == 0) break;
  }
  return events;
}

class StageBosses : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::SpawnDeathEffects, false);
    ScriptRandom(RandomScript::Zero);
  }
  // The boss of `templateId` for these levels, awake, without its arrival effects.
  static int Make(int templateId, int shot, int option, int turbo) {
    ShotLevel = shot, OptionLevel = option, TurboLevel = turbo;
    SetForwarding(Call::CreateObject, true);
    CreateObject(templateId, 3000, 800, 1, 0);
    SetForwarding(Call::CreateObject, false);
    ClearCallLog();
    int boss = 0;
    for (int slot = 10; slot < 100; ++slot) {
      GameObject& record = ObjectPool[slot];
      if (boss == 0 && record.category == kCategoryEnemy && record.weight == 99) boss = slot;
      if (slot >= 50 && slot != boss) ResetObject(slot);
      if (record.state == kStateDelayed) record.state = kStateActive, record.timer = 0;
    }
    return boss;
  }
  // `updates` updates with the boss held at (3000.5, 800.5), so its shots land at whole
  // offsets; debris, glows and the stream left out.
  static std::vector<Event> Schedule(int slot, int updates) {
    std::vector<Event> made;
    for (int update = 1; update <= updates; ++update) {
      GameObject& boss = ObjectPool[slot];
      boss.x = 3000.5f, boss.y = 800.5f, boss.vx = boss.vy = 0.0f, boss.phase2 = 0.0f;
      ClearCallLog();
      Frames(1);
      for (const RecordedCall& call : CallLog()) {
        if (call.call == Call::PlaySe) made.emplace_back(update, -call.Int(0), 0, 0, 0);
        const int t = call.Int(0);
        if (call.call != Call::CreateObject || t == 2200 || t == 2147 || t == 2148 || t == 5019) continue;
        made.emplace_back(update, t, call.Int(1) - 3000, call.Int(2) - 800, call.Int(4));
      }
    }
    return made;
  }
  static void ExpectSchedule(int slot, int updates, std::vector<Event> expected) {
    std::vector<Event> made = Schedule(slot, updates);
    std::sort(made.begin(), made.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_TRUE(made == expected) << made.size() << " made, " << expected.size() << " expected";
    EXPECT_EQ(ObjectPool[slot].timer, 0);  // the schedule restarted
  }
};

TEST_F(StageBosses, Stage3PhaseSchedules) {
  const int slot = Make(1042, 4, 6, 9);
  ASSERT_EQ(slot, 10);
  ExpectSchedule(slot, 1300, Expand({{100, 250, 1, 5014, kRandom, 60}, {250, 250, 1, 5017, kCentre, 30},
                                     {350, 500, 1, 5014, kRandom, 80}, {500, 500, 1, 5017, kCentre, 40},
                                     {600, 750, 1, 5014, kRandom, 100}, {750, 750, 1, 5017, kCentre, 50},
                                     {900, 1200, 1, 5010, kRandom, 3}, {900, 1200, 1, 5010, kRandom, 6}}));
  ObjectPool[slot].work[0] = 1.0f;
  std::vector<Event> phase1 = Expand({{60, 70, 2, 5014, kCentre, 50, 5}, {70, 70, 1, 5017, kCentre, 35},
                                      {180, 190, 2, 5014, kCentre, 60, 5}, {190, 190, 1, 5017, kCentre, 35},
                                      {310, 320, 2, 5014, kCentre, 70, 5}, {320, 320, 1, 5017, kCentre, 35}},
                                     320, 1050);
  for (auto [first, p] : {std::pair{100, 4}, {200, 4}, {300, 4}, {500, 4}, {600, 5}, {700, 6}}) {
    for (Event e : Expand({{first, first + 20, 10, 5020, kCentre, p}, {first, first + 20, 10, -87}})) phase1.push_back(e);
  }
  for (Event e : Expand({{880, 890, 2, 5014, kCentre, 30, 10}, {890, 890, 1, 5017, kCentre, 30},
                         {910, 920, 2, 5014, kCentre, 30, 10}, {920, 920, 1, 5017, kCentre, 30},
                         {1000, 1020, 10, 5017, kCentre, 30, 5}}))
    phase1.push_back(e);
  ExpectSchedule(slot, 1050, phase1);

  ObjectPool[slot].work[0] = 2.0f;
  ObjectPool[slot].work[2] = 0.0f;
  std::vector<Event> phase2 = Expand({{60, 65, 1, 5014, kCentre, 40, 5}}, 100, 1900);
  const std::vector<int> homing = {5, 5, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 8, 9, 9, 9, 10};
  std::vector<Row> rows = {{100, 900, 400, 5017, kCentre, 20, 3}, {181, 279, 1, 5021, kCentre, 13},
                           {181, 279, 1, -88},  {180, 180, 1, -87}, {180, 180, 1, -87}, {183, 192, 3, -88},
                           {183, 192, 3, -87},  {630, 850, 1, 5018, kRandom, 3}, {1500, 1750, 1, 5018, kRandom, 2}};
  for (int first : {320, 1020, 1220}) {
    rows.push_back({first, first + 170, 10, 5020, kCentre, 0, 0, 1, 0, homing});
    rows.push_back({first, first + 170, 10, -87});
  }
  for (Event e : Expand(rows)) phase2.push_back(e);
  ExpectSchedule(slot, 1900, phase2);
}

TEST_F(StageBosses, Stage5PhaseSchedules) {
  const int slot = Make(1054, 4, 6, 9);
  std::vector<Row> phase0 = {{100, 300, 40, 5016, kCentre, 120}, {370, 450, 40, 5016, kCentre, 120},
                             {650, 650, 1, 5016, kCentre, 130, 0, 40, 2}};
  for (auto [first, last, p] : {std::tuple{100, 100, 60}, {200, 220, 60}, {450, 490, 60}, {240, 280, 70},
                                {510, 550, 70}, {300, 340, 80}, {570, 630, 80}})
    phase0.push_back({first, last, 20, 5014, kGun, p, 0, 40, 1});
  for (auto [u, p] : {std::pair{430, 130}, {470, 135}, {490, 125}, {510, 140}, {550, 145}})
    phase0.push_back({u, u, 1, 5016, kCentre, p});
  ExpectSchedule(slot, 700, Expand(phase0));

  ObjectPool[slot].work[0] = 1.0f;
  ExpectSchedule(slot, 900,
                 Expand({{6, 94, 1, 2151, kCharge}, {5, 5, 1, -93}, {5, 5, 1, 5014, kGun, 60}, {95, 95, 1, 2150, kCharge},
                         {95, 95, 1, -94}, {100, 196, 3, 5014, kGun, 60}, {200, 290, 3, 5014, kGun, 60},
                         {320, 440, 20, 5012, kCentre, 30, 10}, {500, 596, 3, 5014, kGun, 100},
                         {600, 690, 3, 5014, kGun, 100},
                         {720, 880, 20, 5012, kCentre, 0, 0, 1, 0, {60, 70, 80, 90, 100, 110, 100, 90, 80}}}));

  ObjectPool[slot].work[0] = 2.0f;
  ObjectPool[slot].work[2] = 0.0f;
  // The charge rides on the stream clock, which holds the update's number up to 260.
  std::vector<Event> phase2 = Expand({{150, 150, 1, -93}, {151, 260, 1, 2151, kCharge}, {259, 259, 1, 2150, kCharge},
                                      {259, 259, 1, -94}},
                                     261, 400);
  for (Event e : Expand({{40, 120, 40, 5025, kVolley, 100, 0, 20, 2}, {240, 320, 40, 5025, kVolley, 120, 0, 20, 2},
                         {243, 318, 3, 5014, kGun, 60}, {30, 150, 30, 5016, kCentre, 100},
                         {180, 300, 30, 5016, kCentre, 110, 10},
                         {320, 360, 5, 5012, kCentre, 0, 0, 1, 0, {30, 35, 40, 45, 45, 50, 55, 60, 65}}}))
    phase2.push_back(e);
  ExpectSchedule(slot, 400, phase2);
}

TEST_F(StageBosses, RandomShotsDrawParameterThenYThenX) {
  const int slot = Make(1042, 4, 6, 9);
  GameObject& boss = ObjectPool[slot];
  boss.timer = 99, boss.x = 3000.5f, boss.vx = 0.0f;
  ScriptRandom(RandomScript::Listed, {7, 150, 20});
  Frames(1);
  EXPECT_EQ(CallsOf(Call::RandomInRange)[0].Int(0), 20);
  EXPECT_EQ(CallsOf(Call::CreateObject).back().Int(4), 67);
  EXPECT_EQ(CallsOf(Call::CreateObject).back().Int(1), 3000 - 100 + 20);
}

TEST_F(StageBosses, PhaseChangesByHitPoints) {
  struct Case {
    int templateId, bothBelow, bursts, firstKind, secondKind, firstTimer, secondTimer;
    bool cancelsBullets;
  };
  for (const Case& c : {Case{1042, 17999, 20, 1, 3, -60, -60, true}, Case{1054, 32999, 20, 1, 5, 0, -30, false}}) {
    SetUp();
    const int slot = Make(c.templateId, 4, 6, 9);
    GameObject& boss = ObjectPool[slot];
    GameObject& bullet = Put(8000, kCategoryEnemyBullet, 4063);
    boss.hitPoints = c.bothBelow;  // both thresholds at once: one change a frame
    boss.work[2] = 230.0f;
    for (auto [kind, timer] : {std::pair{c.firstKind, c.firstTimer}, {c.secondKind, c.secondTimer}}) {
      ClearCallLog();
      Frames(1);
      EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), static_cast<std::size_t>(c.bursts)) << c.templateId;
      EXPECT_EQ(boss.deathEffect, kind);
      EXPECT_EQ(boss.timer, timer);
      EXPECT_EQ(boss.work[2], 0.0f);  // the burst or stream clock starts again
    }
    EXPECT_EQ(bullet.behaviour, c.cancelsBullets ? 4059 : 4063);
  }
}

TEST_F(StageBosses, Stage2ChangesFormBelow12000AndShedsAllDebrisInOneFrame) {
  const int slot = Make(1033, 4, 6, 9);
  StageTimeline3 = 0;
  Frames(59);
  ObjectPool[slot].hitPoints = 2000;
  Frames(1);
  EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 6u);
  EXPECT_EQ(ObjectPool[slot].deathEffect, 2);
  EXPECT_EQ(ObjectPool[slot].timer, -59);
  Frames(59);  // sinking
  EXPECT_EQ(StageTimeline3, 60);  // one per second-form update, none before
  ClearCallLog();
  Frames(1);
  EXPECT_EQ(std::count_if(CallLog().begin(), CallLog().end(), [](const RecordedCall& c) { return c.Int(0) == 2200; }), 3);
}

TEST_F(StageBosses, Stage3DebrisPerThresholdAndInterval) {
  for (auto [hitPoints, bursts] : {std::pair{20000, 0}, {19999, 6}, {11999, 14}, {7999, 26}, {3999, 42}}) {
    SetUp();
    const int slot = Make(1042, 4, 6, 9);
    ObjectPool[slot].work[0] = 2.0f, ObjectPool[slot].hitPoints = hitPoints, ObjectPool[slot].timer = 1;
    Frames(240);  // multiples of 40, 30, 20, 15 among 1..240
    EXPECT_EQ(std::count_if(CallLog().begin(), CallLog().end(), [](const RecordedCall& c) { return c.Int(0) == 2200; }),
              bursts);
  }
}

TEST_F(StageBosses, WeakUpgradesStartInLaterPhasesWithKind0) {
  EXPECT_EQ(ObjectPool[Make(1042, 1, 0, 1)].work[0], 1.0f);
  SetUp();
  const int slot = Make(1054, 1, 0, 1);
  EXPECT_EQ(ObjectPool[slot].work[0], 2.0f);
  Frames(500);
  EXPECT_EQ(ObjectPool[slot].deathEffect, 0);
  EXPECT_TRUE(CallsOf(Call::SpawnDeathEffects).empty());
}

TEST_F(StageBosses, UndamagedBossesWithdrawOnTheirCountedUpdate) {
  struct Case {
    int templateId, shot, withdrawsOn;
  };
  for (const Case& c : {Case{1033, 3, 4501}, Case{1042, 3, 6161}, Case{1054, 3, 6241}, Case{1042, 1, 6051},
                        Case{1054, 1, 6401}}) {
    SetUp();
    const int slot = Make(c.templateId, c.shot, 0, 1);
    const int behaviour = ObjectPool[slot].behaviour;
    Frames(c.withdrawsOn - 1);
    EXPECT_EQ(ObjectPool[slot].behaviour, behaviour) << c.templateId;
    Frames(1);
    EXPECT_EQ(ObjectPool[slot].behaviour, 4059) << c.templateId << " on " << c.withdrawsOn;
    EXPECT_EQ(ScreenFlash, 250.0f);
    for (int layer : {11, 12, 13}) EXPECT_EQ(ObjectPool[layer].state, kStateFree) << layer;
  }
}

}  // namespace
