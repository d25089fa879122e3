// SpawnDeathEffects against a reference that follows the death-effect sequences as
// written: every draw's maximum, every creation and every sound, in order.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"
#include "float_to_int.h"
#include "game_library.h"

namespace {

constexpr float kX = 1000.7f, kY = 500.3f;
constexpr int kWidth = 64, kHeight = 37, kFacing = 1, kSlot = 60;

// The reference: draws real numbers from a generator seeded 0, as the game will.
class Reference {
 public:
  std::vector<std::string> calls;

  int R(int max) {
    const int value = RandomInRange(max);
    calls.push_back("R(" + std::to_string(max) + ")");
    return value;
  }
  void Create(int t, int x, int y, int facing, int parent) {
    calls.push_back("Create(" + std::to_string(t) + ", " + std::to_string(x) + ", " + std::to_string(y) + ", " +
                    std::to_string(facing) + ", " + std::to_string(parent) + ")");
  }
  void Se(int se, int volume) { calls.push_back("PlaySe(" + std::to_string(se) + ", " + std::to_string(volume) + ")"); }
  // Scattered: sy = trunc((a + y) - b) with a, b = R(reach y), then x the same.
  void Scatter(int t, int reachX, int reachY) {
    const int a = R(reachY), b = R(reachY);
    const int sy = DoubleToInt((a + static_cast<double>(kY)) - b);
    const int ax = R(reachX), bx = R(reachX);
    Create(t, DoubleToInt((ax + static_cast<double>(kX)) - bx), sy, kFacing, 0);
  }
  void Half(int t) { Scatter(t, kWidth / 2, kHeight / 2); }
  void Full(int t) { Scatter(t, kWidth, kHeight); }
  void Centred(int t, int facing = 0) { Create(t, 1000, 500, facing, kSlot); }
  void DebrisSet() {
    for (int t : {2015, 2016, 2016, 2017, 2018}) Half(t);
  }
  void BossBurst(int sparkFacing) {
    Full(2145);
    DebrisSet();
    Centred(2143, sparkFacing);
  }

  void Kind(int kind) {
    switch (kind) {
      case 0: {
        R(4);
        Se(41 + R(2), 250);
        for (int i = 0; i < 2; ++i) DebrisSet(), Centred(2141);
        break;
      }
      case 1: {
        const int variant = R(2);
        R(8);
        Se(41 + R(2), 250);
        Se(44, 150);
        if (variant == 2) Se(45, 150);
        for (int i = 0; i < (variant == 0 ? 6 : 4); ++i) {
          Full(2145);
          DebrisSet();
          if (variant == 1) Centred(2146);
          if (variant == 2) Centred(2143);
        }
        break;
      }
      case 6:
        if (R(2) == 0) Se(111 + R(2), 100);
        for (int i = 0; i < 19; ++i) Half(2208), Half(2208), Half(2015), Half(2015);
        break;
      case 11:
      case 12:
        Se(89, 255);
        if (kind == 12) Se(89, 255);
        Centred(2223);
        break;
      case 13:
        Create(2230, 1000, 500, 0, 1);
        break;
      case 14: {
        const int variant = R(4);
        const int bursts[] = {4, 2, 2, 2, 1};
        for (int i = 0; i < bursts[variant]; ++i) {
          DebrisSet();
          if (variant == 1 || variant == 4) Centred(2141);
          if (variant == 2) Centred(2143);
          if (variant == 4) Centred(2141);
        }
        break;
      }
      case 99:
        Centred(2114);
        Se(29, 255);
        break;
      default: {
        struct Boss {
          int kind, bursts, wreck, wreckFacing, sparkFacing;
        };
        const Boss bosses[] = {{2, 19, 2183, 0, 0},       {3, 19, 2188, 0, 0}, {4, 14, 2189, 0, 0},
                               {5, 24, 2190, 0, 0},       {7, 24, 2207, 0, 0}, {8, 19, 2188, 1, kFacing},
                               {9, 19, 2188, 0, kFacing}, {10, 24, 2213, 0, 0}};
        for (const Boss& boss : bosses) {
          if (boss.kind != kind) continue;
          for (int i = 0; i < boss.bursts; ++i) BossBurst(boss.sparkFacing);
          Centred(boss.wreck, boss.wreckFacing);
        }
      }
    }
  }
};

std::vector<std::string> Rendered(const std::vector<RecordedCall>& log) {
  std::vector<std::string> calls;
  for (const RecordedCall& call : log) {
    if (call.call == Call::RandomInRange) calls.push_back("R(" + std::to_string(call.Int(0)) + ")");
    if (call.call == Call::PlaySe) calls.push_back("PlaySe(" + std::to_string(call.Int(0)) + ", " + std::to_string(call.Int(1)) + ")");
    if (call.call == Call::CreateObject) {
      calls.push_back("Create(" + std::to_string(call.Int(0)) + ", " + std::to_string(call.Int(1)) + ", " +
                      std::to_string(call.Int(2)) + ", " + std::to_string(call.Int(3)) + ", " +
                      std::to_string(call.Int(4)) + ")");
    }
  }
  return calls;
}

class DeathEffects : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SlowdownOption = 1;
    SlowdownMs = 0.0f;
    VibrationLevel = 0;
    ScreenFlash = 0.0f;
    for (int slot = 10; slot <= 22; ++slot) Put(slot, kCategoryEnemy, 3001).width = slot;
    GameObject& dying = Put(kSlot, kCategoryEnemy, 3001, kX, kY);
    dying.width = kWidth;
    dying.height = kHeight;
    dying.facing = kFacing;
    Put(61, kCategoryEnemyBullet, 4063);
    Put(62, kCategoryDecoration, 4002);
  }
  static std::vector<int> ActiveOf(int first, int last) {
    std::vector<int> active;
    for (int slot = first; slot <= last; ++slot) {
      if (ObjectPool[slot].state == kStateActive) active.push_back(slot);
    }
    return active;
  }
};

TEST_F(DeathEffects, EveryKindMakesItsCallsInOrderAndNothingElse) {
  const int kinds[] = {0, 1, 1, 1, 1, 2, 3, 4, 5, 6, 6, 6, 7, 8, 9, 10, 11, 12, 13, 14, 14, 14, 14, 14, 14, 99};
  for (unsigned seed = 1; seed <= std::size(kinds); ++seed) {
    const int kind = kinds[seed - 1];
    SetUp();
    ObjectPool[kSlot].deathEffect = kind;
    SeedRandom(seed);  // fresh numbers each round, so the variants come up
    Reference reference;
    reference.Kind(kind);
    SeedRandom(seed);
    ClearCallLog();
    SpawnDeathEffects(kSlot);
    std::vector<std::string> logged = Rendered(CallLog());
    EXPECT_EQ(logged, reference.calls) << "kind " << kind;
  }
}

TEST_F(DeathEffects, FlashesSlowdownsAndClearedSlotsOfEachKind) {
  struct Case {
    int kind;
    float blueFlash;
    int vibration, slowdown;
    std::vector<int> activeOf10To22;
  };
  const std::vector<int> all = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
  const Case cases[] = {
      {0, 0.0f, 5, 0, all},
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
  };
  for (const Case& c : cases) {
    SetUp();
    ObjectPool[kSlot].deathEffect = c.kind;
    SpawnDeathEffects(kSlot);
    EXPECT_EQ(ScreenFlash, c.blueFlash) << c.kind;
    EXPECT_EQ(VibrationLevel, c.vibration) << c.kind;
    EXPECT_EQ(SlowdownMs, static_cast<float>(c.slowdown)) << c.kind;
    EXPECT_EQ(ActiveOf(10, 22), c.activeOf10To22) << c.kind;
    // Kinds 10 and 13 cancel every enemy, the dying one too; 13 also decorations.
    const bool cancels = c.kind == 10 || c.kind == 13;
    EXPECT_EQ(ObjectPool[kSlot].behaviour, cancels ? 4059 : 3001) << c.kind;
    EXPECT_EQ(ObjectPool[62].behaviour, c.kind == 13 ? 4059 : 4002) << c.kind;
    EXPECT_EQ(ObjectPool[kSlot].x, kX);
    // Bullets become chips in 11 to 13.
    EXPECT_EQ(ObjectPool[61].behaviour, c.kind >= 11 ? 3068 : 4063) << c.kind;
  }
}

TEST_F(DeathEffects, TheStage8CoreKeepsItsSlotAndStartsTheBodysClose) {
  ObjectPool[17].deathEffect = 12;
  ObjectPool[10].work[0] = 5.0f;
  EndBackdropTimer = 77;
  SpawnDeathEffects(17);
  EXPECT_EQ(ActiveOf(11, 20), std::vector<int>({17}));
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

TEST_F(DeathEffects, KindsWithoutASequenceDoNothing) {
  for (int kind : {15, 50, 98, 100, -1}) {
    SetUp();
    ObjectPool[kSlot].deathEffect = kind;
    const std::vector<GameObject> before = Snapshot();
    ClearCallLog();
    SpawnDeathEffects(kSlot);
    EXPECT_EQ(DescribeChanges(before), "") << kind;
    EXPECT_EQ(CallLog().size(), 1u) << kind;  // the call itself
    EXPECT_EQ(ScreenFlash, 0.0f);
  }
}

}  // namespace
