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

constexpr int kCoin = 1009;
constexpr int kScoreChip = 1080;
constexpr int kExpChip = 1081;
constexpr int kBurstShot = 4067;
constexpr int kBurstKillEffect = 2177;
constexpr int kBurstKillsPerBonus = 256;
constexpr int kVariantTargetGroup = 99;
constexpr int kVariantLocked = 999;
constexpr int kKillPanelFrames = 150;
constexpr int kUnlockNoticeIcon = 25;

// A coin or chip around the enemy's sprite; the four draws in this order make replays.
void DropAround(const GameObject& enemy, int templateId, int parentSlot) {
  const int halfHeight = enemy.height / 2;
  const int halfWidth = enemy.width / 2;
  const int r1 = RandomInRange(halfHeight);
  const int r2 = RandomInRange(halfHeight);
  const int r3 = RandomInRange(halfWidth);
  const int r4 = RandomInRange(halfWidth);
  const float y = enemy.y + r1 - 2 * r2;
  const float x = enemy.x - r3 + 2 * r4;
  CreateObject(templateId, FloatToInt(x), FloatToInt(y), 0, parentSlot);
}

void PayBurstKill(const GameObject& enemy, const GameObject& shot, bool pays) {
  CreateObject(kBurstKillEffect, FloatToInt(shot.x), FloatToInt(shot.y), shot.facing, 0);
  if (!pays) return;
  VibratePad(1000, 6);
  ++BurstKills;
  if (BurstKills % kBurstKillsPerBonus == 0) AddInfoBonus(31, 51200);
  if (enemy.weight == kHeavyWeight) AddInfoBonus(30, 25600);
}

// A stage's target destroyed in a recorded normal game unlocks that stage's variant.
void UnlockVariant(const GameObject& enemy) {
  if (enemy.group != kVariantTargetGroup || GameMode != 0 || ReplayMode != kReplayRecording) return;
  const int variant = VariantUnlockedInStage(Stage);
  if (variant < 0 || VariantShotFlags[variant] != kVariantLocked) return;
  VariantShotFlags[variant] = 1;
  ShowRecordingNotice(kUnlockNoticeIcon);
  PlaySe(97, 255);
}

void PayScore(int enemySlot, int popupValue) {
  const int score = ObjectPool[enemySlot].scoreValue;
  Score += static_cast<float>(score);
  BonusAccumulator += static_cast<float>(score);
  PushBonusHistory(score);
  KillScore += score;
  SpawnScorePopup(enemySlot, popupValue);
}

void DropMany(int enemySlot, int templateId, double count) {
  for (int dropped = 0; dropped < count; ++dropped) DropAround(ObjectPool[enemySlot], templateId, 0);
}

// Under the power mode a kill raises the chain, pays chips for it and, by action 2,
// coins or EXP chips for its EXP value.
void PayChainKill(int enemySlot) {
  ++KillChain;
  PowerKillScore += ObjectPool[enemySlot].scoreValue;
  PayScore(enemySlot, ObjectPool[enemySlot].scoreValue * KillChain);
  for (int chip = 0; chip < KillChain; ++chip) {
    DropAround(ObjectPool[enemySlot], kScoreChip, enemySlot);
    ++ChipCount;
  }
  const int exp = ObjectPool[enemySlot].expValue;
  if (ActionHold[kActionSecond] == 0) {
    DropMany(enemySlot, kCoin, exp * 1.8);
  } else {
    DropMany(enemySlot, kExpChip, exp * 4.2);
  }
}

void PayKill(int enemySlot) {
  PayScore(enemySlot, ObjectPool[enemySlot].scoreValue);
  DropMany(enemySlot, kCoin, ObjectPool[enemySlot].coinDrop);
  DropMany(enemySlot, kExpChip, ObjectPool[enemySlot].expValue);
}

}  // namespace

void KillEnemy(int enemySlot, int shotSlot, const ShotPassRules& rules) {
  const GameObject& enemy = ObjectPool[enemySlot];
  ExpGauge += rules.expByStage ? KillExpForStage(Stage) : kWidePassKillExp;
  CheckLevelUp();
  SpawnDeathEffects(enemySlot);
  ++EnemiesDestroyed;
  LastHitPanel[4] = kKillPanelFrames;
  const GameObject& shot = ObjectPool[shotSlot];
  if (shot.behaviour == kBurstShot) PayBurstKill(enemy, shot, rules.burstKillPays);
  if (rules.unlocksVariants) UnlockVariant(enemy);
  if (PowerModeB == 1) {
    PayChainKill(enemySlot);
  } else {
    PayKill(enemySlot);
  }
  ResetObject(enemySlot);
  StageKills += 1.0f;
}
