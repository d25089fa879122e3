// The player's bursts (one template for each TurboLevel) and the effects of the
// player's actions and events: the FacingLock markers, the guard and turbo glows, the
// special attacks, the sparks and falling piece of a hit or loss, and the level-up
// and coin-milestone effects. Every record starts on the player's floats.
#include <array>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/sound_control.h"
#include "float_to_int.h"
#include "game_library.h"
#include "objects/player_relative.h"
#include "objects/template_helpers.h"

namespace {

// ---- Bursts ----

// attackPower = perBoost x BoostFactor + constant - perModeA x PowerModeA.
struct BurstPower {
  int perBoost, constant, perModeA;
  int Now() const { return perBoost * BoostFactor + constant - perModeA * PowerModeA; }
};

// Two records, created one after the other: the second has the next animation row and
// a positive phase2; the hit box and phase may differ between them. phase holds the
// value for facing 0 and for any other facing.
struct BurstPair {
  int templateId;
  int animation, imageSet, height;
  int hitWidth, hitHeight, secondHitWidth;
  BurstPower power;
  BySide phase, secondPhase;
  float phase2;
  float scaleDelta;
};

constexpr BurstPair Pair(int id, int animation, int imageSet, int height, int hitWidth, int hitHeight,
                         BurstPower power, BySide phase, float phase2, float scaleDelta = 0.0f) {
  return {id, animation, imageSet, height, hitWidth, hitHeight, hitWidth, power, phase, phase, phase2, scaleDelta};
}
constexpr BurstPair WithSecondHitWidth(BurstPair pair, int hitWidth) {
  pair.secondHitWidth = hitWidth;
  return pair;
}
constexpr BurstPair WithSecondPhase(BurstPair pair, BySide phase) {
  pair.secondPhase = phase;
  return pair;
}

constexpr BurstPower Boosted(int perBoost, int perModeA) { return {perBoost, 0, perModeA}; }
constexpr BurstPower Fixed(int constant, int perModeA) { return {0, constant, perModeA}; }

constexpr BurstPair kBurstPairs[] = {
    // template, animation, imageSet, height, hit box, attack, phase (facing 0 / other), phase2, scaleDelta
    Pair(2119, 207, 13, 40, 40, 40, Boosted(18, 10), {-10.0f, 10.0f}, 20.0f),
    Pair(2120, 209, 2, 40, 75, 75, Boosted(25, 15), {-10.0f, 10.0f}, 60.0f),
    Pair(2121, 209, 2, 40, 75, 75, Boosted(25, 15), {-10.0f, 10.0f}, 60.0f),
    Pair(2121, 211, 13, 26, 60, 30, Boosted(30, 15), {40.0f, -40.0f}, 20.0f),
    Pair(2123, 222, 3, 40, 80, 120, Boosted(30, 15), {-10.0f, 10.0f}, 60.0f),
    Pair(2123, 211, 13, 26, 60, 30, Boosted(30, 15), {40.0f, -40.0f}, 20.0f),
    Pair(2123, 207, 13, 40, 40, 40, Fixed(20, 15), {-30.0f, 30.0f}, 20.0f),
    Pair(2124, 211, 13, 26, 60, 30, Fixed(10, 5), {40.0f, -40.0f}, 50.0f),
    Pair(2124, 222, 3, 40, 80, 120, Boosted(30, 15), {-10.0f, 10.0f}, 60.0f),
    Pair(2124, 224, 2, 26, 80, 30, Boosted(45, 35), {55.0f, -55.0f}, 20.0f),
    Pair(2124, 207, 13, 40, 40, 40, Fixed(20, 15), {-30.0f, 30.0f}, 20.0f),
    Pair(2125, 222, 3, 40, 75, 120, Boosted(25, 15), {-10.0f, 10.0f}, 60.0f),
    Pair(2125, 224, 2, 26, 80, 26, Boosted(45, 35), {55.0f, -55.0f}, 20.0f),
    Pair(2125, 207, 13, 40, 40, 40, Fixed(10, 5), {-30.0f, 30.0f}, 20.0f),
    Pair(2125, 211, 13, 26, 55, 20, Fixed(10, 5), {40.0f, -40.0f}, 50.0f),
    Pair(2125, 226, 2, 26, 35, 80, Boosted(15, 10), {10.0f, -10.0f}, 130.0f),
    Pair(2126, 222, 3, 40, 100, 140, Boosted(35, 25), {-10.0f, 10.0f}, 80.0f, 0.1f),
    WithSecondHitWidth(Pair(2126, 228, 3, 26, 120, 30, Boosted(45, 35), {75.0f, -75.0f}, 20.0f), 115),
    Pair(2126, 207, 13, 40, 60, 60, Fixed(20, 15), {-45.0f, 45.0f}, 20.0f, 0.2f),
    Pair(2126, 211, 13, 26, 55, 20, Fixed(10, 5), {50.0f, -50.0f}, 40.0f),
    Pair(2126, 211, 13, 26, 55, 20, Fixed(10, 5), {30.0f, -30.0f}, 55.0f),
    WithSecondPhase(Pair(2126, 226, 2, 26, 35, 80, Boosted(30, 20), {10.0f, -10.0f}, 150.0f), {0.0f, 0.0f}),
    Pair(2126, 226, 2, 26, 35, 80, Fixed(15, 10), {0.0f, 0.0f}, 170.0f),
    Pair(2127, 222, 3, 40, 100, 140, Boosted(35, 25), {-10.0f, 10.0f}, 80.0f, 0.1f),
    WithSecondHitWidth(Pair(2127, 228, 3, 26, 120, 30, Boosted(45, 35), {85.0f, -85.0f}, 20.0f), 115),
    Pair(2127, 207, 13, 40, 60, 60, Fixed(20, 15), {-45.0f, 45.0f}, 20.0f, 0.2f),
    WithSecondHitWidth(Pair(2127, 228, 3, 26, 120, 30, Fixed(45, 35), {60.0f, -60.0f}, 40.0f), 115),
    Pair(2127, 211, 13, 26, 55, 20, Fixed(10, 5), {40.0f, -40.0f}, 55.0f),
    Pair(2127, 226, 2, 26, 35, 80, Boosted(30, 20), {0.0f, 0.0f}, 150.0f),
    Pair(2127, 226, 2, 26, 35, 80, Fixed(15, 10), {0.0f, 0.0f}, 170.0f),
    Pair(2127, 230, 3, 40, 120, 120, Boosted(25, 15), {-100.0f, 100.0f}, 100.0f),
    Pair(2128, 222, 3, 40, 100, 140, Boosted(35, 25), {-10.0f, 10.0f}, 80.0f, 0.1f),
    Pair(2128, 207, 13, 40, 60, 60, Fixed(20, 15), {-45.0f, 45.0f}, 20.0f, 0.2f),
    WithSecondPhase(Pair(2128, 226, 2, 26, 35, 80, Boosted(30, 15), {10.0f, -10.0f}, 150.0f), {0.0f, 0.0f}),
    WithSecondPhase(Pair(2128, 226, 2, 26, 35, 80, Fixed(15, 10), {0.0f, 0.0f}, 170.0f), {-10.0f, 10.0f}),
    Pair(2128, 232, 6, 26, 250, 50, Boosted(55, 35), {160.0f, -160.0f}, 50.0f),
    Pair(2128, 232, 6, 26, 250, 50, Fixed(55, 35), {180.0f, -180.0f}, 30.0f),
    Pair(2128, 232, 6, 26, 250, 50, Fixed(10, 5), {120.0f, -120.0f}, 80.0f),
    Pair(2128, 230, 3, 40, 130, 130, Boosted(25, 15), {-100.0f, 100.0f}, 100.0f),
    Pair(2128, 230, 3, 40, 130, 130, Fixed(25, 15), {-150.0f, 150.0f}, 60.0f),
};

constexpr TemplateRow kBurstRecord = {.state = 1, .layer = 6, .category = kCategoryPlayerShot, .collidable = 1,
                                      .width = 40, .blendMode = 2, .behaviour = 4067};

// x is not written: the burst's behaviour places it at its first update.
void CreateBurstRecord(const BurstPair& pair, int second, int parentSlot) {
  GameObject& record = NewRecord(kBurstRecord);
  record.y = Player().y;
  record.facing = Player().facing;
  record.work[0] = static_cast<float>(parentSlot);
  record.height = pair.height;
  record.hitWidth = second ? pair.secondHitWidth : pair.hitWidth;
  record.hitHeight = pair.hitHeight;
  record.imageSet = pair.imageSet;
  record.animation = pair.animation + second;
  record.attackPower = pair.power.Now();
  if (pair.scaleDelta != 0.0f) record.scaleDelta = pair.scaleDelta;
  record.phase = (second ? pair.secondPhase : pair.phase).For(ForwardSign(record.facing));
  record.phase2 = second ? pair.phase2 : -pair.phase2;
}

void CreateBurst(const TemplateCall& call) {
  for (const BurstPair& pair : kBurstPairs) {
    if (pair.templateId != call.templateId) continue;
    CreateBurstRecord(pair, 0, call.parentSlot);
    CreateBurstRecord(pair, 1, call.parentSlot);
  }
}

// ---- FacingLock markers (2019-2023) ----

constexpr TemplateRow kMarker = {.state = 1, .layer = 6, .category = kCategoryEffect, .spare = 0.0f,
                                 .collidable = 0, .width = 64, .height = 64, .hitWidth = 0, .hitHeight = 0,
                                 .imageSet = 1, .blendMode = 2, .fade = -140.0f, .behaviour = 4015};

void CreateMarker(float ahead, int animation, int facing, float speed) {
  GameObject& record = NewRecordAtPlayer(kMarker, {.animation = animation, .facing = facing});
  record.x = Player().x + ahead;
  record.vx = Along(speed).For(ForwardSign(facing));
}

void CreateFacingLockMarker(const TemplateCall& call) {
  const float ahead = call.templateId == 2019 ? 0.0f : 64.0f;
  CreateMarker(ahead, 100 + (call.templateId - 2019), call.facing, 64.0f);
}

void CreateFacingLockRelease(const TemplateCall&) {
  CreateMarker(0.0f, 100, 0, 80.0f);
  CreateMarker(0.0f, 100, 1, 80.0f);
}

// ---- Glows, afterimages and flashes of the guard and the turbo ----

int DrawnAngleDegrees() { return RandomInRange(360); }

void SetDrawnAngle(GameObject& record) { record.angle = static_cast<float>(DrawnAngleDegrees()); }

// facing = R(1), then angle = float(R(360)).
void SetDrawnFacingAndAngle(GameObject& record) {
  record.facing = RandomInRange(1);
  SetDrawnAngle(record);
}

constexpr TemplateRow kGlow = {.state = 1, .category = kCategoryEffect, .blendMode = 2};

void CreateGuardClearGlow(const TemplateCall&) {
  PlaySe(53, 255);
  NewRecordAtPlayer(kGlow, {.layer = 6, .spare = 0.0f, .collidable = 0, .width = 64, .height = 64, .hitWidth = 0,
                            .hitHeight = 0, .imageSet = 3, .fade = 250.0f, .animation = 13, .behaviour = 4011,
                            .phase = 0.0f});
}

// The afterimage's fade by TurboLevel 1 to 9; any other level leaves it 0.0.
float AfterimageFade() {
  constexpr float kFades[] = {240.0f, 230.0f, 220.0f, 218.0f, 216.0f, 216.0f, 218.0f, 220.0f, 222.0f};
  if (TurboLevel < 1 || TurboLevel > 9) return 0.0f;
  return kFades[TurboLevel - 1];
}

void CreateAfterimage(const TemplateCall&) {
  GameObject& record =
      NewRecordAtPlayer(kGlow, {.layer = 3, .spare = 0.0f, .collidable = 0, .imageSet = 12, .behaviour = 4065});
  record.animation = Player().animation;
  record.fade = AfterimageFade();
  record.animTimer = Player().animTimer;
  record.animStep = Player().animStep;
  record.facing = Player().facing;
}

void CreateChargeFullGlow(const TemplateCall&) {
  GameObject& record = NewRecordAtPlayer(
      kGlow, {.layer = 6, .spare = 0.0f, .collidable = 0, .imageSet = 1, .animation = 206, .behaviour = 4066});
  record.facing = Player().facing;
}

constexpr TemplateRow kTurboReadyGlow = {.layer = 6, .width = 64, .height = 64, .imageSet = 1, .fade = 255.0f,
                                         .animation = 260, .behaviour = 4073};

// Always the fixed slot: a second call replaces the first glow.
void CreateTurboReadyGlow(const TemplateCall&) {
  GameObject& record = FixedRecord(kTurboReadySlot, kGlow);
  WriteRow(record, kTurboReadyGlow);
  record.x = Player().x;
  record.y = Player().y;
  SetDrawnFacingAndAngle(record);
}

void CreateTurboSpark(const TemplateCall&) {
  GameObject& record = NewRecordAtPlayer(
      kGlow, {.layer = 6, .width = 64, .height = 64, .imageSet = 2, .fade = 255.0f, .animation = 463,
              .behaviour = 4170});
  SetDrawnFacingAndAngle(record);
}

constexpr int kGuardSound = 86;

void CreateGuardGlow(const TemplateCall&) {
  GameObject& record = NewRecordAtPlayer(kGlow, {.layer = 6, .width = 64, .height = 64, .imageSet = 1, .fade = 0.0f,
                                                 .animation = 261, .scaleDelta = 2.0f, .behaviour = 4074});
  SetDrawnAngle(record);
  if (IsSoundPlaying(SeHandles[kGuardSound]) == 0) PlaySe(kGuardSound, 100);
}

void CreateCoinGrowRing(const TemplateCall&) {
  GameObject& record = NewRecordAtPlayer(kGlow, {.layer = 3, .width = 256, .height = 256, .imageSet = 6,
                                                 .fade = 260.0f, .animation = 262, .scaleDelta = 0.97f,
                                                 .behaviour = 4075});
  SetDrawnAngle(record);
  PlaySe(30, 255);
}

void CreateCoinShrinkRing(const TemplateCall&) {
  NewRecordAtPlayer(kGlow, {.layer = 3, .width = 256, .height = 256, .imageSet = 6, .fade = 260.0f,
                            .animation = 263, .scaleDelta = 1.01f, .behaviour = 4076});
  PlaySe(31, 255);
}

// 2167: three flashes at the start of the turbo boost.
void CreateBoostFlashes(const TemplateCall&) {
  constexpr TemplateRow kBoostFlash = {.state = 1, .layer = 5, .category = kCategoryEffect, .imageSet = 6,
                                       .blendMode = 2, .behaviour = 4088};
  const int jitter = RandomInRange(6);
  const float scales[] = {static_cast<float>(jitter * 0.1 - 0.9 + TurboLevel * 0.2),
                          static_cast<float>(TurboLevel * 0.2 - 0.5), -0.4f};
  const int animations[] = {310, 311, 311};
  for (int i = 0; i < 3; ++i) {
    GameObject& record = NewRecordAtPlayer(kBoostFlash, {.animation = animations[i], .scaleDelta = scales[i]});
    record.facing = Player().facing;
  }
}

// ---- Special attacks (2096, 2097, 2098, 2193) ----

constexpr TemplateRow kSpecial = {.layer = 6, .imageSet = 6, .blendMode = 2};

void CreateSpecialFlare(const TemplateCall&) {
  NewRecordAtPlayer(kSpecial, {.state = 1, .category = kCategoryEffect, .fade = 255.0f, .animation = 168,
                               .scaleDelta = 10.0f, .behaviour = 4051});
  PlaySe(80, 255);
  PlaySe(81, 255);
  SsUsed += 1;
}

// The damaging part: a delayed shot with a large hit box. Its scale starts at 0 and
// draws nothing until its behaviour grows it.
void CreateSpecialBlast(const TemplateCall&) {
  NewRecordAtPlayer(kSpecial, {.state = 2, .category = kCategoryPlayerShot, .width = 128, .height = 128,
                               .hitWidth = 300, .hitHeight = 300, .animation = 169, .scaleDelta = -1.0f,
                               .behaviour = 4052, .timer = 50, .attackPower = 15, .phase2 = 0.04f});
}

// angle = float(R(360)), then phase2 = R(2) x 0.01 + 0.02.
void CreateSpinningRing(int behaviour, float scaleDelta) {
  GameObject& record = NewRecordAtPlayer(kSpecial, {.state = 1, .category = kCategoryEffect, .fade = 255.0f,
                                                    .animation = 171, .scaleDelta = scaleDelta,
                                                    .behaviour = behaviour});
  SetDrawnAngle(record);
  const int spin = RandomInRange(2);
  record.phase2 = static_cast<float>(spin * 0.01 + 0.02);
}

void CreateSpecialRing(const TemplateCall&) {
  CreateSpinningRing(4053, 2.0f);
  CancelAllBullets();
}

void CreateAuraRing(const TemplateCall&) { CreateSpinningRing(4112, 1.0f); }

// ---- A hit on the player and its loss (2094, 2116) ----

// R(100) x 0.1 - 5.0: -5.0 to 5.0 in tenths.
float SparkSpeed() {
  const int tenths = RandomInRange(100);
  return static_cast<float>(tenths * 0.1 - 5.0);
}

// 4 x tally + 20 sparks, each drawing vx, vy, animation, behaviour and delay in turn.
// A spark drawn a delay of 0 wakes on the next frame of play.
void CreateHitSparks(const TemplateCall&) {
  constexpr TemplateRow kSpark = {.state = 2, .layer = 6, .category = kCategoryEffect, .width = 32, .height = 32,
                                  .imageSet = 0, .blendMode = 2, .fade = 0.0f};
  for (int i = 0; static_cast<float>(i) < PlayerHitTally * 4.0f + 20.0f; ++i) {
    GameObject& record = NewRecordAtPlayer(kSpark);
    record.vx = SparkSpeed();
    record.vy = SparkSpeed();
    const int animation = RandomInRange(17);
    record.animation = 51 + animation;
    const int slows = RandomInRange(1);
    record.behaviour = slows == 0 ? 4013 : 4114;
    record.timer = RandomInRange(3);
  }
}

void CreateFallingPiece(const TemplateCall&) {
  GameObject& record = NewRecordAtPlayer({.state = 1});
  const int fall = RandomInRange(30);
  record.vy = static_cast<float>(fall * -0.1 - 0.1);
  WriteRow(record, {.layer = 6, .category = kCategoryEffect, .imageSet = 4, .blendMode = 1, .animation = 205,
                    .behaviour = 4064});
  record.facing = Player().facing;
  const int drift = RandomInRange(10);
  record.vx = static_cast<float>(record.facing == 0 ? drift * -0.1 - 0.4 : drift * 0.1 + 0.4);
}

// ---- Level-up and milestone effects (2104, 2111, 2113) ----

void CreateLevelUpFlare(const TemplateCall&) {
  PlaySe(50, 255);
  ConvertBulletsToChips();
  AddInfoBonus(0, 6000);
  constexpr TemplateRow kFlare = {.state = 1, .layer = 6, .category = kCategoryEffect, .imageSet = 6,
                                  .blendMode = 2};
  constexpr TemplateRow kRing = {.fade = 340.0f, .animation = 168, .scaleDelta = 10.0f, .behaviour = 4056};
  NewRecordAtPlayer(kFlare, kRing);
  NewRecordAtPlayer(kFlare, kRing);
  GameObject& star =
      NewRecordAtPlayer(kFlare, {.fade = 300.0f, .animation = 176, .scaleDelta = 0.0f, .behaviour = 4057});
  SetDrawnAngle(star);
}

constexpr TemplateRow kPopup = {.state = 1, .layer = 6, .category = kCategoryEffect, .blendMode = 2,
                                .behaviour = 4062};

// The coin milestone's row: 183 to 191 for 100 to 900 coins, 192 from 1000 on.
int MilestoneRow() {
  if (Coins > 1001.0f) return 192;
  return DoubleToInt(static_cast<double>(Coins) / 100.0 + 182.0);
}

void CreateMilestonePopup(const TemplateCall&) {
  GameObject& record = NewRecordAtPlayer(kPopup, {.imageSet = 3, .fade = 0.0f, .phase = 20.0f});
  record.x = Player().x + 40.0f;
  record.y = Player().y + 50.0f;
  record.animation = MilestoneRow();
}

void CreateLevelUpPopup(const TemplateCall&) {
  GameObject& record = NewRecordAtPlayer(kPopup, {.imageSet = 7, .fade = 100.0f, .phase = 10.0f, .phase2 = -37.0f});
  record.x = Player().x + 40.0f;
  record.y = Player().y + 20.0f;
  record.animation = LevelUpCount + 193;
}

constexpr TemplateEntry kEntries[] = {
    {2119, CreateBurst},          {2120, CreateBurst},           {2121, CreateBurst},
    {2123, CreateBurst},          {2124, CreateBurst},           {2125, CreateBurst},
    {2126, CreateBurst},          {2127, CreateBurst},           {2128, CreateBurst},
    {2019, CreateFacingLockMarker}, {2020, CreateFacingLockMarker}, {2021, CreateFacingLockMarker},
    {2022, CreateFacingLockMarker}, {2023, CreateFacingLockRelease}, {2013, CreateGuardClearGlow},
    {2117, CreateAfterimage},     {2118, CreateChargeFullGlow},  {2133, CreateTurboReadyGlow},
    {2251, CreateTurboSpark},     {2134, CreateGuardGlow},       {2135, CreateCoinGrowRing},
    {2136, CreateCoinShrinkRing}, {2167, CreateBoostFlashes},    {2096, CreateSpecialFlare},
    {2097, CreateSpecialBlast},   {2098, CreateSpecialRing},     {2193, CreateAuraRing},
    {2094, CreateHitSparks},      {2116, CreateFallingPiece},    {2104, CreateLevelUpFlare},
    {2111, CreateMilestonePopup}, {2113, CreateLevelUpPopup},
};
static_assert(std::size(kEntries) == 32, "32 burst and action templates");

}  // namespace

std::span<const TemplateEntry> PlayerBurstAndActionTemplates() { return kEntries; }
