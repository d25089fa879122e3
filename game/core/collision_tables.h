// The rules of the collision pass as tables: what a shot's hit leaves behind, what
// becomes of the shot, the EXP of a kill by stage, the variant that a stage's target
// unlocks and the points of a graze by purse. The main pass and the wide pass of the
// "GoldStrike" shots differ only in the rules they are given.
#pragma once

#include <span>

// The effect a shot's hit creates.
struct HitEffect {
  int effect;         // effect template
  bool atTarget;      // at the target with its facing, else at the shot with the shot's
  bool shotIsParent;  // the effect's parent slot is the shot, else 0
  bool vibrates;      // rumbles the pad with priority 3
};

enum class Disarm { kNever, kAgainstHeavy, kAlways };

// What becomes of a shot after a hit.
struct ShotFate {
  bool stays;
  int effect;             // 0 none; at the shot with the shot's facing
  bool targetIsParent;    // the effect's parent slot is the target, else 0
  double divisor;         // the power is divided and truncated; 0 keeps it
  double heavyDivisor;    // then again against a weight-99 target; 0 none
  Disarm disarm;          // when a power below 1 ends the shot's hits
};

template <typename T>
struct BehaviourRow {
  int first, last;  // shot behaviours first..last
  T value;
};

// Rows are searched in order; the first that holds the behaviour wins.
template <typename T>
struct BehaviourTable {
  std::span<const BehaviourRow<T>> rows;
  std::span<const BehaviourRow<T>> fallback;  // searched after rows
  T otherwise;

  const T& For(int behaviour) const {
    for (std::span<const BehaviourRow<T>> table : {rows, fallback}) {
      for (const BehaviourRow<T>& row : table) {
        if (behaviour >= row.first && behaviour <= row.last) return row.value;
      }
    }
    return otherwise;
  }
};

constexpr int kHeavyWeight = 99;
constexpr int kNoEffect = 0;

struct ShotPassRules {
  int shootInCap;
  int shootInDivisor;
  bool heavyHitSound;  // sound 115 at a weight-99 target, when it is not playing
  BehaviourTable<HitEffect> enemyEffects;
  BehaviourTable<HitEffect> bulletEffects;
  BehaviourTable<ShotFate> enemyFates;
  BehaviourTable<ShotFate> bulletFates;
  int bulletCollidableMax;  // shootable bullets with collidable 1 up to this
  bool expByStage;          // else kWidePassKillExp
  bool burstKillPays;       // vibration, burst count and bonuses of a burst kill
  bool unlocksVariants;
};

extern const ShotPassRules kMainPassRules;
extern const ShotPassRules kWidePassRules;
constexpr double kWidePassKillExp = 0.35;

// EXP of a kill in the main pass.
double KillExpForStage(int stage);
// The VariantShotFlags entry that destroying a stage's target unlocks, or -1.
int VariantUnlockedInStage(int stage);

struct GrazePay {
  int points;
  int combo;
};
// What a graze pays by the purse; none between the bands and below 0.
GrazePay GrazePayForPurse(float coins);
