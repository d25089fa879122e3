// SpawnDeathEffects against a reference that follows the death-effect sequences as
// written: every draw's maximum, every creation and every sound, in order.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "behaviour_fixture.h"
#include "float_to_int.h"
#include "game_library.h"

namespace {

constexpr float kX = 1000.7f, kY = 500.3f;
constexpr int kWidth = 64, kHeight = 37, kFacing = 1, kSlot = 60;

std::string Text(const char* name, std::initializer_list<int> values) {
  std::string text = name;
  for (int value : values) text += " " + std::to_string(value);
  return text;
}

// The sequences as written, drawing real numbers as the game does.
struct Reference {
  std::vector<std::string> calls;

  int R(int max) {
    calls.push_back(Text("R", {max}));
    return RandomInRange(max);
  }
  void Create(int t, int x, int y, int facing, int parent) {
    calls.push_back(Text("Create", {t, x, y, facing, parent}));
  }
  void Se(int se, int volume) { calls.push_back(Text("PlaySe", {se, volume})); }
  // sy = trunc((a + y) - b) with a, b = R(reach), y before x.
  void Scatter(int t, int reachX, int reachY) {
    const int a = R(reachY), b = R(reachY);
    const int sy = DoubleToInt((a + static_cast<double>(kY)) - b);
    const int ax = R(reachX), bx = R(reachX);
    Create(t, DoubleToInt((ax + static_cast<double>(kX)) - bx), sy, kFacing, 0);
  }
  void Half(int t) { Scatter(t, kWidth / 2, kHeight / 2); }
  void Centred(int t, int facing = 0) { Create(t, 1000, 500, facing, kSlot); }
  void Debris() {
    for (int t : {2015, 2016, 2016, 2017, 2018}) Half(t);
  }
  void Bursts(int count, int spark, int sparkFacing = 0, int extraSpark = 0, bool large = false) {
    for (int i = 0; i < count; ++i) {
      if (large) Scatter(2145, kWidth, kHeight);
      Debris();
      if (spark != 0) Centred(spark, sparkFacing);
      if (extraSpark != 0) Centred(extraSpark);
    }
  }

  void Kind(int kind) {
    const int bosses[][5] = {{2, 19, 2183, 0, 0},       {3, 19, 2188, 0, 0}, {4, 14, 2189, 0, 0},
                             {5, 24, 2190, 0, 0},       {7, 24, 2207, 0, 0}, {8, 19, 2188, 1, kFacing},
                             {9, 19, 2188, 0, kFacing}, {10, 24, 2213, 0, 0}};
    for (const auto& [k, bursts, wreck, wreckFacing, sparkFacing] : bosses) {
      if (k != kind) continue;
      Bursts(bursts, 2143, sparkFacing, 0, true);
      Centred(wreck, wreckFacing);
    }
    if (kind == 0) {
      R(4);
      Se(41 + R(2), 250);
      Bursts(2, 2141);
    } else if (kind == 1) {
      const int variant = R(2);
      R(8);
      Se(41 + R(2), 250);
      Se(44, 150);
      if (variant == 2) Se(45, 150);
      const int sparks[] = {0, 2146, 2143};
      Bursts(variant == 0 ? 6 : 4, sparks[variant], 0, 0, true);
    } else if (kind == 6) {
      if (R(2) == 0) Se(111 + R(2), 100);
      for (int i = 0; i < 19; ++i) Half(2208), Half(2208), Half(2015), Half(2015);
    } else if (kind == 11 || kind == 12) {
      for (int i = 10; i < kind; ++i) Se(89, 255);
      Centred(2223);
    } else if (kind == 13) {
      Create(2230, 1000, 500, 0, 1);
    } else if (kind == 14) {
      const int variant = R(4);
      const int bursts[] = {4, 2, 2, 2, 1}, sparks[] = {0, 2141, 2143, 0, 2141};
      Bursts(bursts[variant], sparks[variant], 0, variant == 4 ? 2141 : 0);
    } else if (kind == 99) {
      Centred(2114);
      Se(29, 255);
    }
  }
};

std::vector<std::string> LoggedCalls() {
  std::vector<std::string> calls;
  for (const RecordedCall& c : CallLog()) {
    if (c.call == Call::RandomInRange) calls.push_back(Text("R", {c.Int(0)}));
    if (c.call == Call::PlaySe) calls.push_back(Text("PlaySe", {c.Int(0), c.Int(1)}));
    if (c.call == Call::CreateObject)
      calls.push_back(Text("Create", {c.Int(0), c.Int(1), c.Int(2), c.Int(3), c.Int(4)}));
  }
  return calls;
}

class DeathEffects : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SlowdownOption = 1;
    SlowdownMs = ScreenFlash = 0.0f;
    VibrationLevel = 0;
    for (int slot = 10; slot <= 22; ++slot) Put(slot, kCategoryEnemy, 3001);
    GameObject& dying = Put(kSlot, kCategoryEnemy, 3001, kX, kY);
    dying.width = kWidth;
    dying.height = kHeight;
    dying.facing = kFacing;
    Put(61, kCategoryEnemyBullet, 4063);
    Put(62, kCategoryDecoration, 4002);
  }
  static std::vector<int> ActiveOf10To22() {
    std::vector<int> active;
    for (int slot = 10; slot <= 22; ++slot) {
      if (ObjectPool[slot].state == kStateActive) active.push_back(slot);
    }
    return active;
  }
};

TEST_F(DeathEffects, EveryKindMakesItsCallsInOrderAndNothingElse) {
  const int kinds[] = {0,  1,  1,  1,  1,  2,  3,  4,  5,  6,  6,  6,  7,  8,   9, 10,
                       11, 12, 13, 14, 14, 14, 14, 14, 14, 99, 15, 50, 98, 100, -1};
  for (unsigned seed = 1; seed <= std::size(kinds); ++seed) {
    SetUp();
    ObjectPool[kSlot].deathEffect = kinds[seed - 1];
    SeedRandom(seed);  // fresh numbers each round, so the variants come up
    Reference reference;
    reference.Kind(kinds[seed - 1]);
    SeedRandom(seed);
    ClearCallLog();
    SpawnDeathEffects(kSlot);
    EXPECT_EQ(LoggedCalls(), reference.calls) << "kind " << kinds[seed - 1];
  }
}

TEST_F(DeathEffects, FlashesSlowdownsAndClearedSlotsOfEachKind) {
  struct Case {
    int kind;
    float blueFlash;
    int vibration, slowdown;
    std::vector<int> active;  // of slots 10 to 22
  };
  const std::vector<int> all = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
  const Case cases[] = {{0, 0.0f, 5, 0, all},
                        {2, 250.0f, 60, 12, all},
                        {3, 250.0f, 60, 18, {10, 14, 15, 16, 17, 18, 19, 20, 21, 22}},
                        {4, 0.0f, 20, 10, all},
                        {5, 250.0f, 60, 20, all},
                        {7, 250.0f, 60, 20, all},
                        {8, 50.0f, 60, 16, {10, 11, 12, 13, 16, 17, 18, 19, 20, 21, 22}},
                        {9, 50.0f, 60, 16, {10, 11, 12, 13, 14, 15, 16, 19, 20, 21, 22}},
                        {10, 250.0f, 60, 16, {10, 11, 19, 20, 21, 22}},
                        {11, 200.0f, 60, 0, all},
                        {12, 200.0f, 180, 35, {10, 21, 22}},
                        {13, 500.0f, 80, 60, {10, 11, 21, 22}},
                        {50, 0.0f, 0, 0, all}};
  for (const Case& c : cases) {
    SetUp();
    ObjectPool[kSlot].deathEffect = c.kind;
    SpawnDeathEffects(kSlot);
    EXPECT_EQ(ScreenFlash, c.blueFlash) << c.kind;
    EXPECT_EQ(VibrationLevel, c.vibration) << c.kind;
    EXPECT_EQ(SlowdownMs, static_cast<float>(c.slowdown)) << c.kind;
    EXPECT_EQ(ActiveOf10To22(), c.active) << c.kind;
    // 10 and 13 cancel every enemy, the dying one too (its position stays); 13 also
    // the decorations; 11 to 13 turn bullets into chips.
    EXPECT_EQ(ObjectPool[kSlot].behaviour, c.kind == 10 || c.kind == 13 ? 4059 : 3001) << c.kind;
    EXPECT_EQ(ObjectPool[kSlot].x, kX);
    EXPECT_EQ(ObjectPool[62].behaviour, c.kind == 13 ? 4059 : 4002) << c.kind;
    EXPECT_EQ(ObjectPool[61].behaviour, c.kind >= 11 && c.kind <= 13 ? 3068 : 4063) << c.kind;
  }
}

TEST_F(DeathEffects, TheStage8CoreKeepsItsSlotAndStartsTheBodysClose) {
  ObjectPool[17].deathEffect = 12;
  ObjectPool[10].work[0] = 5.0f;
  EndBackdropTimer = 77;
  SpawnDeathEffects(17);
  EXPECT_EQ(ActiveOf10To22(), std::vector<int>({10, 17, 21, 22}));
  EXPECT_EQ(ObjectPool[10].work[0], 425.0f);
  EXPECT_EQ(ObjectPool[10].work[2], 1.0f);
  EXPECT_EQ(FlashFade, 1);
  EXPECT_EQ(InvincibleTimer, 300.0f);
  EXPECT_EQ(EndBackdropPhase, 4);
  EXPECT_EQ(EndBackdropTimer, 77);
  EXPECT_EQ(BgmFadeMode[8], 1);
  ObjectPool[10].deathEffect = 13;
  SpawnDeathEffects(10);
  EXPECT_EQ(EndBackdropTimer, 0);
  EXPECT_EQ(BgmFadeMode[9], 9);
}

}  // namespace
