#include <algorithm>

#include "core/collision_steps.h"
#include "core/display.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/object_pool.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

constexpr float kProtectedFrames = 400.0f;

// What tells a guarded hit by an enemy body from one by a bullet.
struct GuardedHit {
  int se;
  float guardValue;  // before the start perk
};
constexpr GuardedHit kBodyGuard{51, 50.0f};
constexpr GuardedHit kBulletGuard{107, 100.0f};

bool IsOpen(const GameObject& object, int category) {
  return object.state == kStateActive && object.category == category && object.collidable == 1;
}

void CreateAtPlayer(int templateId, int facing) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  CreateObject(templateId, FloatToInt(player.x), FloatToInt(player.y), facing, 0);
}

// What a guarded hit and a lost life share: the hit turn, the protection, and the
// player's shots, dash and turbo stopped.
void StartHitTurn(int idleFrames) {
  GameObject& player = ObjectPool[kPlayerSlot];
  player.animation = kHitTurnAnimation;
  player.animStep = 0;
  player.animTimer = 0;
  PlayerIdleTimer = idleFrames;
  BoostSpeed = 0.0f;
  ShotReload = MainShotBurst = MainShotTimer = SubShotReload = SubShotBurst = 0;
}

void EndHitStart() {
  TurboCharge = -100;
  ResetObject(kTurboReadySlot);
  ClearInputHoldCounters();
}

void Guard(const GuardedHit& hit) {
  PlaySe(hit.se, 255);
  ++HitsTaken;
  WhiteFlashAlpha = 120;
  CreateAtPlayer(2093, ObjectPool[kPlayerSlot].facing);
  CreateAtPlayer(2010, 0);
  GuardValue = hit.guardValue - 10.0f * static_cast<float>(GuardStartPerk);
  GuardUses += 1.0f;
  InvulnFrames = kProtectedFrames;
  BlinkPhase = 0.0f;
  StartHitTurn(60);
  EndHitStart();
}

void LoseLife() {
  const int cry = 9 + RandomInRange(1);
  PlaySe(cry, 255);
  PlaySe(52, 255);
  ++HitsTaken;
  RedFlashAlpha = 140;
  Lives -= 1.0f;
  StartHitTurn(90);
  InvulnFrames = kProtectedFrames;
  BlinkPhase = 0.0f;
  CreateAtPlayer(2094, ObjectPool[kPlayerSlot].facing);
  EndHitStart();
}

// A player already in the hit turn loses nothing more.
void TakeHit(const GuardedHit& guard) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  if (player.animation == kHitTurnAnimation) return;
  if (GuardValue <= 1.0f) {
    Guard(guard);
  } else {
    LoseLife();
  }
}

void CountHitSlowdown() {
  HitSlowdownCount += 1.0f;
  const float ms = static_cast<float>(std::min(3.0 * HitSlowdownCount, 20.0));
  SlowdownMs = SlowdownOption != 0 ? ms / static_cast<float>(SlowdownOption) : 0.0f;
}

void ShakeAndCapture() {
  VibratePad(1000, 100);
  if (DamageFlashOff == 0) CaptureDamageFlash();
}

void TestEnemyBodies(const SlotList& enemies) {
  const HitBox player = HitBoxOf(ObjectPool[kPlayerSlot]);
  for (const int* slot = enemies.slots; *slot != kListEnd; ++slot) {
    const GameObject& enemy = ObjectPool[*slot];
    if (!IsOpen(enemy, kCategoryEnemy) || !BoxesOverlap(player, HitBoxOf(enemy))) continue;
    TakeHit(kBodyGuard);
    CountHitSlowdown();
    ShakeAndCapture();
    return;
  }
}

void Graze(int bulletSlot) {
  const GameObject& bullet = ObjectPool[bulletSlot];
  CreateObject(2103, FloatToInt(bullet.x), FloatToInt(bullet.y), 0, bulletSlot);
  ExpGauge += 0.004;
  CheckLevelUp();
  TurboCharge = DoubleToInt(TurboCharge + 0.12);
  VibratePad(1000, 2);
  const int chime = RandomInRange(1);
  if (chime == 1) PlaySe(16, 100);
  const GrazePay pay = GrazePayForPurse(Coins);
  if (pay.points != 0) {
    Score += static_cast<float>(pay.points);
    BonusAccumulator += static_cast<float>(pay.points);
    GrazeScore += pay.points;
    GrazeCombo += pay.combo;
    GrazeComboTimer = 200;
    ++GrazeCount;
    // Only a graze that counted reaches a milestone: one that pays nothing leaves the
    // count where it stood and must not pay that milestone again.
    if (GrazeCount == 2000) AddInfoBonus(15, 6666);
    if (GrazeCount == 8000) {
      AddInfoBonus(16, 44444);
      GrazeCount = 0;
    }
  }
}

void TestBullets(const SlotList& bullets) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  const HitBox playerBox = HitBoxOf(player);
  const double grazeReach = SpeedLevel * 1.3 + 7.0;
  for (const int* slot = bullets.slots; *slot != kListEnd; ++slot) {
    const GameObject& bullet = ObjectPool[*slot];
    if (!IsOpen(bullet, kCategoryEnemyBullet)) continue;
    const HitBox bulletBox = HitBoxOf(bullet);
    if (BoxesOverlap(playerBox, bulletBox)) {
      ShakeAndCapture();
      TakeHit(kBulletGuard);
      CountHitSlowdown();
      return;
    }
    if (WithinGrazeReach(player, grazeReach, bulletBox)) Graze(*slot);
  }
}

}  // namespace

void TestPlayerHits(const CollisionLists& lists) {
  if (InvulnFrames >= 0.0f) {
    InvulnFrames -= 1.0f;
    if (InvulnFrames == 0.0f) {
      BlinkPhase = 0.0f;
      ObjectPool[kPlayerSlot].fade = 0.0f;
    }
    return;
  }
  TestEnemyBodies(lists.enemies);
  TestBullets(lists.bullets);
}
