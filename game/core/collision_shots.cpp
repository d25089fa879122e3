#include <algorithm>

#include "core/animation.h"
#include "core/collision_steps.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/object_pool.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

constexpr int kShootInFrames = 240;
constexpr int kLastHitFrames = 360;
constexpr int kShootableBullet = 99;  // the death effect that marks a shootable bullet

// A shot that its fate made harmless (collidable 0) tests nothing more.
bool IsLiveShot(const GameObject& shot) {
  return shot.state == kStateActive && shot.category == kCategoryPlayerShot && shot.collidable != 0;
}

bool IsShootableEnemy(const GameObject& enemy) {
  return enemy.state == kStateActive && enemy.category == kCategoryEnemy &&
         (enemy.collidable == 1 || enemy.collidable == 2);
}

bool IsShootableBullet(const GameObject& bullet, const ShotPassRules& rules) {
  return bullet.state == kStateActive && bullet.category == kCategoryEnemyBullet &&
         bullet.deathEffect == kShootableBullet && bullet.collidable >= 1 &&
         bullet.collidable <= rules.bulletCollidableMax;
}

void CreateHitEffect(const HitEffect& effect, int shotSlot, int targetSlot) {
  if (effect.effect == kNoEffect) return;
  const GameObject& at = ObjectPool[effect.atTarget ? targetSlot : shotSlot];
  CreateObject(effect.effect, FloatToInt(at.x), FloatToInt(at.y), at.facing, effect.shotIsParent ? shotSlot : 0);
  if (effect.vibrates) VibratePad(1000, 3);
}

void ApplyFate(const ShotFate& fate, int shotSlot, int targetSlot, int targetWeight) {
  GameObject& shot = ObjectPool[shotSlot];
  if (fate.effect != kNoEffect) {
    CreateObject(fate.effect, FloatToInt(shot.x), FloatToInt(shot.y), shot.facing,
                 fate.targetIsParent ? targetSlot : 0);
  }
  if (!fate.stays) {
    ResetObject(shotSlot);
    return;
  }
  if (fate.divisor != 0.0) shot.attackPower = DoubleToInt(shot.attackPower / fate.divisor);
  const bool heavy = fate.heavyDivisor != 0.0 && targetWeight == kHeavyWeight;
  if (heavy) shot.attackPower = DoubleToInt(shot.attackPower / fate.heavyDivisor);
  const bool disarms = fate.disarm == Disarm::kAlways || (fate.disarm == Disarm::kAgainstHeavy && heavy);
  if (disarms && shot.attackPower < 1) shot.collidable = 0;
}

// A weight of 0 would throw the enemy to infinity (or to NaN, which is never freed):
// it is pushed as the lightest weight, 1.
int KnockBackDivisor(const GameObject& enemy) { return enemy.weight != 0 ? enemy.weight : 1; }

void AddShootIn(const ShotPassRules& rules) {
  ShootInTimer = kShootInFrames;
  ++ShootInCount;
  const int bonus = std::min(ShootInCount, rules.shootInCap) / rules.shootInDivisor;
  Score += static_cast<float>(bonus);
  BonusAccumulator += static_cast<float>(bonus);
  ShootInScore += bonus;
  ShootInTotal += bonus;
}

// The HUD's panel of the last enemy hit, with what a kill of it would pay.
void ShowLastHit(const GameObject& enemy) {
  LastHitPanel[1] = enemy.hitPoints;
  LastHitPanel[4] = kLastHitFrames;
  if (PowerModeB == 1) {
    LastHitPanel[2] = (KillChain + 2) * enemy.scoreValue;
    if (ActionHold[kActionSecond] == 0) {
      LastHitPanel[3] = DoubleToInt(enemy.expValue * 1.8);
      LastHitPanel[0] = 0;
    } else {
      LastHitPanel[3] = 0;
      LastHitPanel[0] = DoubleToInt(enemy.expValue * 4.2);
    }
  } else {
    LastHitPanel[2] = enemy.scoreValue;
    LastHitPanel[3] = enemy.coinDrop;
    LastHitPanel[0] = enemy.expValue;
  }
  LastHitImageSet = enemy.imageSet;
  LastHitImageCell = CurrentAnimationPair(enemy).frame;
}

void HitEnemy(int shotSlot, int enemySlot, const ShotPassRules& rules) {
  GameObject& enemy = ObjectPool[enemySlot];
  const GameObject& shot = ObjectPool[shotSlot];
  const int behaviour = shot.behaviour;
  AddShootIn(rules);
  enemy.hitFlash = enemy.hitFlash == 0 ? 1 : 0;
  enemy.hitPoints -= shot.attackPower;
  enemy.x = static_cast<float>(enemy.x + (shot.vx / 2.0) / KnockBackDivisor(enemy));
  const int se = 26 + RandomInRange(3);
  PlaySe(se, 50);
  if (rules.heavyHitSound && enemy.weight == kHeavyWeight) PlaySeIfIdle(115, 200);
  CreateHitEffect(rules.enemyEffects.For(behaviour), shotSlot, enemySlot);
  ShowLastHit(enemy);
  // The kill frees the enemy's record: the fate reads the weight it had.
  const int weight = enemy.weight;
  if (enemy.hitPoints <= 0) KillEnemy(enemySlot, shotSlot, rules);
  ApplyFate(rules.enemyFates.For(behaviour), shotSlot, enemySlot, weight);
}

void HitBullet(int shotSlot, int bulletSlot, const ShotPassRules& rules) {
  GameObject& bullet = ObjectPool[bulletSlot];
  const int behaviour = ObjectPool[shotSlot].behaviour;
  bullet.hitPoints -= ObjectPool[shotSlot].attackPower;
  CreateHitEffect(rules.bulletEffects.For(behaviour), shotSlot, bulletSlot);
  const int weight = bullet.weight;
  if (bullet.hitPoints <= 0) {
    SpawnDeathEffects(bulletSlot);
    ResetObject(bulletSlot);
    Score += 60.0f;
    BonusAccumulator += 60.0f;
    ChipScore += 60;
  }
  ApplyFate(rules.bulletFates.For(behaviour), shotSlot, bulletSlot, weight);
}

// Before every pair both records are looked at again: a shot deleted by its fate
// stops, and a target killed earlier in the pass (its slot perhaps reused by a drop)
// is no target.
template <typename IsTarget, typename Hit>
void TestShotAgainst(int shotSlot, const SlotList& targets, IsTarget isTarget, Hit hit) {
  const GameObject& shot = ObjectPool[shotSlot];
  const HitBox shotBox = HitBoxOf(shot);
  for (const int* slot = targets.slots; *slot != kListEnd; ++slot) {
    if (!IsLiveShot(shot)) return;
    const GameObject& target = ObjectPool[*slot];
    if (isTarget(target) && BoxesOverlap(shotBox, HitBoxOf(target))) hit(*slot);
  }
}

}  // namespace

void TestShots(const CollisionLists& lists, const ShotPassRules& rules) {
  for (const int* shot = lists.shots.slots; *shot != kListEnd; ++shot) {
    const int shotSlot = *shot;
    TestShotAgainst(shotSlot, lists.enemies, IsShootableEnemy,
                    [&](int enemySlot) { HitEnemy(shotSlot, enemySlot, rules); });
    TestShotAgainst(
        shotSlot, lists.bullets, [&](const GameObject& bullet) { return IsShootableBullet(bullet, rules); },
        [&](int bulletSlot) { HitBullet(shotSlot, bulletSlot, rules); });
  }
}
