// The shapes that enemy templates share: the ordinary enemy (appearance effect, one
// delayed record, bookkeeping, group, motion), the wave spawner, the group spawn and
// the upgrade-scaled boss. Each stage family holds its rows and the code of what
// differs.
#pragma once

#include <numbers>
#include <optional>
#include <span>

#include "objects/template_helpers.h"

// How an enemy's motion and facing follow from its row's speed.
enum class EnemyMotion {
  kNone,
  kForwardVx,              // vx = +speed for facing 0, else -speed
  kForwardVy,              // vy likewise
  kVxByArgumentFacing0,    // facing 0 whatever the argument; vx by the argument
  kAimAtPlayer,            // phase = distance, velocity toward the player, facing from vx
  kAimAtPlayerKeepFacing,  // the same, the facing argument kept
  kTowardRandomPoint,      // a facing draw (replaced), then a random offset to head for
  kTowardRandomOffset,     // the random offset alone
  kTowardRandomTarget,     // toward a random whole-pixel point near the record
  kFacePlayer,             // facing 0 when the player is at larger x, else 1
  kRandomDrift,            // a small random velocity and phase, facing the player
};

// Phase constants of the enemy rows, rounded to single precision.
inline constexpr float kHalfPi = static_cast<float>(std::numbers::pi / 2);
inline constexpr float kThreeHalvesPi = static_cast<float>(3 * std::numbers::pi / 2);
inline constexpr float kTwentiethPi = static_cast<float>(std::numbers::pi / 20);

// The fields every ordinary enemy and every early enemy write.
inline constexpr TemplateRow kEnemyRecord = {.state = 2, .layer = 4, .category = kCategoryEnemy,
                                             .collidable = 1, .blendMode = 0, .timer = 120};

// An ordinary enemy's row: square sprite and hit box, looks, pay and death; an empty
// expValue is not written.
constexpr TemplateRow EnemyRow(int size, int hit, int imageSet, int animation, int behaviour, int hitPoints,
                               int scoreValue, int coinDrop, int deathEffect, int weight,
                               std::optional<int> expValue) {
  return {.width = size, .height = size, .hitWidth = hit, .hitHeight = hit, .imageSet = imageSet,
          .animation = animation, .behaviour = behaviour, .hitPoints = hitPoints, .scoreValue = scoreValue,
          .coinDrop = coinDrop, .deathEffect = deathEffect, .weight = weight, .expValue = expValue};
}

constexpr TemplateRow WithPhase(TemplateRow row, float phase) {
  row.phase = phase;
  return row;
}

constexpr TemplateRow WithTimer(TemplateRow row, int timer) {
  row.timer = timer;
  return row;
}

struct EnemyTemplate {
  int templateId;
  int appearEffect;  // the template created first at (x, y), or 0
  TemplateRow row;   // written over kEnemyRecord
  EnemyMotion motion;
  float speed;
  bool counted;      // raises the stage tally
};

// The enemy of `call.templateId` in `enemies`.
void CreateEnemyFrom(std::span<const EnemyTemplate> enemies, const TemplateCall& call);

// An invisible record whose behaviour releases a wave. The explicit shape writes a
// zero sprite and collidable 0; the bare shape leaves them at their reset values.
struct SpawnerTemplate {
  int templateId;
  bool explicitShape;
  int behaviour;
  int hitPoints;
  std::optional<int> facing;  // a constant instead of the argument
  std::optional<int> collidable;
};
void CreateSpawnerFrom(std::span<const SpawnerTemplate> spawners, const TemplateCall& call);

// A group spawn's member: template at (x + dx, y + dy), dx mirrored for facing other
// than 0 when `mirrored`.
struct GroupMember {
  int templateId;
  int dx, dy;
  bool mirrored;
};
struct GroupSpawnTemplate {
  int templateId;
  std::span<const GroupMember> members;
};
void CreateGroupSpawnFrom(std::span<const GroupSpawnTemplate> groups, const TemplateCall& call);

// work[0] of a boss by its hit points: 1.0 below `firstBelow`, 2.0 below `secondBelow`,
// not written otherwise.
struct HitPointBands {
  int firstBelow, secondBelow;
};
void WriteHitPointBand(GameObject& record, const HitPointBands& bands);

// An allocated boss: `appearCount` boss attachments 2180 at (x, y), then its record
// with upgrade-scaled hit points, counted, group from the parent.
struct BossTemplate {
  int templateId;
  int appearCount;
  TemplateRow row;
  UpgradeHitPoints hitPoints;
  std::optional<HitPointBands> bands;
};
void CreateBossFrom(std::span<const BossTemplate> bosses, const TemplateCall& call);

// One record of a boss at (x, y), in a fixed slot or allocated. Its role says which
// of the argument facing, the parent's group and the stage tally it takes.
enum SlotRole : int {
  kSlotEffect = 0,
  kSlotFacingFromArgument = 1,
  kSlotGroupFromParent = 2,
  kSlotCounted = 4,
  kSlotBoss = kSlotFacingFromArgument | kSlotGroupFromParent | kSlotCounted,
  kSlotPart = kSlotGroupFromParent | kSlotCounted,
};
constexpr int kAllocatedSlot = -1;
struct BossRecord {
  int slot;  // a fixed slot, or kAllocatedSlot
  int role;  // SlotRole bits
  TemplateRow row;
  std::optional<UpgradeHitPoints> hitPoints;
};
// A glow or overlay that a boss's behaviour keeps on the boss: a 768 x 768 additive
// effect from image set 18, delayed 185 frames. Empty fields are not written.
constexpr TemplateRow BossGlowRow(int layer, std::optional<float> fade, int animation,
                                  std::optional<float> scaleDelta, int behaviour) {
  return {.state = 2, .layer = layer, .category = kCategoryEffect, .collidable = 0, .width = 768, .height = 768,
          .hitWidth = 0, .hitHeight = 0, .imageSet = 18, .blendMode = 2, .fade = fade, .animation = animation,
          .facing = 0, .scaleDelta = scaleDelta, .behaviour = behaviour, .timer = 185};
}

// Takes and writes each record in order.
void WriteBossRecords(std::span<const BossRecord> records, const TemplateCall& call);

// The boss attachment created before a boss's records.
constexpr int kBossAppearTemplate = 2180;
