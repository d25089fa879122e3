#include "core/collision_tables.h"

#include <iterator>
#include <limits>

namespace {

using EffectRow = BehaviourRow<HitEffect>;
using FateRow = BehaviourRow<ShotFate>;

constexpr HitEffect kNone{kNoEffect, false, false, false};
constexpr HitEffect AtShot(int effect) { return {effect, false, false, false}; }
constexpr HitEffect AtTarget(int effect) { return {effect, true, false, false}; }

const EffectRow kHitEffects[] = {
    {4001, 4001, AtShot(2005)},
    {4009, 4009, AtShot(2012)},
    {4022, 4022, AtShot(2012)},
    {4016, 4016, AtShot(2025)},
    {4025, 4026, AtShot(2025)},
    {4028, 4028, AtShot(2025)},
    {4030, 4030, AtTarget(2059)},
    {4034, 4034, AtTarget(2059)},
    {4035, 4035, {2060, true, true, false}},
    {4036, 4036, {2061, true, true, false}},
    {4046, 4046, AtShot(2086)},
    {4047, 4047, AtShot(2090)},
    {4048, 4048, AtShot(2091)},
    {4049, 4049, AtShot(2092)},
    {4054, 4054, AtShot(2100)},
    {4067, 4067, {2122, false, true, true}},
    {4084, 4084, AtShot(2158)},
};

// A shootable bullet takes the enemy's effects but these.
const EffectRow kBulletHitEffects[] = {
    {4026, 4026, AtShot(2095)},
    {4028, 4028, AtShot(2095)},
    {4067, 4067, {2122, false, true, false}},
};

const EffectRow kWideHitEffects[] = {
    {4054, 4054, AtShot(2100)},
};

constexpr ShotFate kDeleted{false, kNoEffect, false, 0.0, 0.0, Disarm::kNever};
constexpr ShotFate kStays{true, kNoEffect, false, 0.0, 0.0, Disarm::kNever};
constexpr ShotFate DeletedWith(int effect) { return {false, effect, false, 0.0, 0.0, Disarm::kNever}; }
constexpr ShotFate Weakened(double divisor) { return {true, kNoEffect, false, divisor, 0.0, Disarm::kNever}; }
// Divided, and divided by 3 again against a heavy target; harmless against any target
// once the power is below 1.
constexpr ShotFate WeakenedMoreByHeavy(double divisor) { return {true, kNoEffect, false, divisor, 3.0, Disarm::kAlways}; }
constexpr ShotFate kSparkWeakened{true, 2100, false, 1.1, 1.5, Disarm::kAgainstHeavy};
constexpr ShotFate kBurstWeakenedByHeavy{true, kNoEffect, false, 0.0, 1.1, Disarm::kNever};

const FateRow kEnemyFates[] = {
    {4018, 4018, DeletedWith(2051)},
    {4037, 4037, DeletedWith(2051)},
    {4031, 4031, DeletedWith(2055)},
    {4038, 4038, DeletedWith(2055)},
    {4032, 4032, DeletedWith(2056)},
    {4039, 4039, DeletedWith(2056)},
    {4033, 4033, DeletedWith(2057)},
    {4040, 4040, DeletedWith(2057)},
    {4030, 4030, kStays},
    {4034, 4036, kStays},
    {4109, 4109, kStays},
    {4124, 4124, kStays},
    {4041, 4044, WeakenedMoreByHeavy(1.8)},
    {4045, 4045, WeakenedMoreByHeavy(1.2)},
    {4052, 4052, {true, 2129, true, 0.0, 0.0, Disarm::kNever}},
    {4055, 4055, kSparkWeakened},
    {4067, 4067, kBurstWeakenedByHeavy},
};

const FateRow kBulletFates[] = {
    {4016, 4016, Weakened(1.5)},
    {4025, 4026, Weakened(1.5)},
    {4028, 4028, Weakened(1.5)},
    {4054, 4054, Weakened(1.5)},
    {4041, 4045, Weakened(1.1)},
    {4055, 4055, Weakened(1.1)},
    {4018, 4018, kStays},
    {4030, 4040, kStays},
    {4052, 4052, kStays},
    {4067, 4067, kStays},
    {4084, 4084, kStays},
    {4109, 4109, kStays},
    {4124, 4124, kStays},
};

const FateRow kWideEnemyFates[] = {
    {4055, 4055, kSparkWeakened},
};

const FateRow kWideBulletFates[] = {
    {4054, 4054, Weakened(1.5)},
    {4055, 4055, Weakened(1.1)},
};

// Stages 1 to 8.
constexpr double kKillExp[] = {0.072, 0.07, 0.068, 0.066, 0.064, 0.07, 0.062, 0.062};
constexpr double kKillExpOtherStage = 0.07;

// Stages 2 to 7 unlock, by VariantShotFlags entry (shot type - 1): "GhostFlame",
// "WindForce", "DragonScale", "CloudClack", "StomeSpike", "GoldStrike".
constexpr int kFirstUnlockStage = 2;
constexpr int kVariantOfStage[] = {1, 0, 4, 3, 2, 5};

struct GrazeBand {
  float low, high;
  GrazePay pay;
};
constexpr float kNoLimit = std::numeric_limits<float>::max();
constexpr GrazeBand kGrazeBands[] = {
    {0.0f, 1000.0f, {10, 5}},
    {1001.0f, 2000.0f, {40, 10}},
    {2001.0f, kNoLimit, {80, 20}},
};

}  // namespace

const ShotPassRules kMainPassRules = {
    .shootInCap = 999,
    .shootInDivisor = 50,
    .heavyHitSound = true,
    .enemyEffects = {kHitEffects, {}, kNone},
    .bulletEffects = {kBulletHitEffects, kHitEffects, kNone},
    .enemyFates = {kEnemyFates, {}, kDeleted},
    .bulletFates = {kBulletFates, {}, kDeleted},
    .bulletCollidableMax = 1,
    .expByStage = true,
    .burstKillPays = true,
    .unlocksVariants = true,
};

const ShotPassRules kWidePassRules = {
    .shootInCap = 9999,
    .shootInDivisor = 40,
    .heavyHitSound = false,
    .enemyEffects = {kWideHitEffects, {}, kNone},
    .bulletEffects = {kWideHitEffects, {}, kNone},
    .enemyFates = {kWideEnemyFates, {}, kStays},
    .bulletFates = {kWideBulletFates, {}, kDeleted},
    .bulletCollidableMax = 2,
    .expByStage = false,
    .burstKillPays = false,
    .unlocksVariants = false,
};

double KillExpForStage(int stage) {
  if (stage < 1 || stage > static_cast<int>(std::size(kKillExp))) return kKillExpOtherStage;
  return kKillExp[stage - 1];
}

int VariantUnlockedInStage(int stage) {
  const int index = stage - kFirstUnlockStage;
  if (index < 0 || index >= static_cast<int>(std::size(kVariantOfStage))) return -1;
  return kVariantOfStage[index];
}

GrazePay GrazePayForPurse(float coins) {
  for (const GrazeBand& band : kGrazeBands) {
    if (coins >= band.low && coins <= band.high) return band.pay;
  }
  return {0, 0};
}
