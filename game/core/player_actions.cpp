// The facing lock, the coin magnet, spending level-ups and the score trickles.
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/object_pool.h"
#include "core/player_control_steps.h"
#include "core/player_support.h"
#include "core/sound_control.h"

namespace {

constexpr int kLockOnTemplates[] = {2020, 2021, 2022};
constexpr int kLockOffTemplate = 2023;
constexpr int kLockOnSe = 64;
constexpr int kLockOffSe = 63;
enum FacingLockMode : int { kLockToggle = 0, kLockHold = 1, kLockTwoButtons = 2 };

// Fire-rest frames before the magnet turns on, by SpeedLevel.
constexpr std::array<int, 9> kMagnetThreshold = {60, 40, 20, 10, 5, 4, 3, 2, 2};
constexpr int kMagnetThresholdOther = 90;
constexpr int kMagnetReach = 300;
constexpr int kMagnetOnTemplate = 2135;
constexpr int kMagnetOffTemplate = 2136;

constexpr int kSpendTemplates[] = {2096, 2097, 2098};
constexpr int kExpSpecialTemplate = 2193;
constexpr int kCoinBehaviour = 3008;
constexpr float kCoinFliesToPlayer = 2.0f;
constexpr int kSpendsPerBonus = 3;

constexpr int kCoinPullBonusFrames = 1080;

void LockOn() {
  PlaySe(kLockOnSe, 255);
  for (const int effect : kLockOnTemplates) CreateAtPlayer(effect);
}

void LockOff() {
  CreateAtPlayer(kLockOffTemplate);
  PlaySe(kLockOffSe, 255);
}

void SpendOneLevelUp() {
  --LevelUpCount;
  LevelUpPairCount = 0;
  ConvertBulletsToChips();
  for (const int effect : kSpendTemplates) CreateAtPlayer(effect);
  for (GameObject& object : ObjectPool) {
    if (object.behaviour == kCoinBehaviour) object.phase = kCoinFliesToPlayer;
  }
  if (++LevelUpSpendCount == kSpendsPerBonus) {
    AddInfoBonus(18, 12345);
    LevelUpSpendCount = 0;
  }
  if (LevelUpCount == 0) AddInfoBonus(20, 23456);
}

}  // namespace

void UpdateFacingLock() {
  GameObject& player = ObjectPool[kPlayerSlot];
  switch (FacingLockControl) {
    case kLockToggle:
      if (ActionHold[kActionFacing] != 1) break;
      if (FacingLock == 0) {
        FacingLock = 1;
        LockOn();
      } else if (FacingLock >= 1) {
        FacingLock = 0;
        LockOff();
      }
      break;
    case kLockHold:
      if (ActionHold[kActionFacing] >= 1) {
        if (++FacingLock == 1) LockOn();
      } else {
        if (FacingLock >= 1) LockOff();
        FacingLock = 0;
      }
      break;
    case kLockTwoButtons: {
      // Action 1 faces left, action 4 faces right; either one also fires.
      const bool left = ActionHold[kActionFire] >= 1;
      const bool right = ActionHold[kActionFacing] >= 1;
      if (left) {
        player.facing = 1;
        ActionHold[kActionFire] += 1;
        FacingLock += 1;
      }
      if (right) {
        player.facing = 0;
        ActionHold[kActionFire] += 1;
        FacingLock += 1;
      }
      if (!left && !right) FacingLock = 0;
      break;
    }
    default:
      break;
  }
}

void FullUpgradeTrickle() {
  if (FullUpgradePerk != 1 || TimelineHalt != 0.0f) return;
  Score += static_cast<float>(LevelUpCount);
  BonusAccumulator += static_cast<float>(LevelUpCount);
  InfoBonus += LevelUpCount;
}

void UpdateCoinMagnet() {
  if (ActionHold[kActionFire] == 0) {
    ++FireIdleFrames;
    if (FireIdleFrames == ByTrackLevel(kMagnetThreshold, SpeedLevel, kMagnetThresholdOther)) {
      MagnetBonus = kMagnetReach;
      CreateAtPlayer(kMagnetOnTemplate);
    }
    return;
  }
  if (ActionHold[kActionFire] == 1 && MagnetBonus == kMagnetReach) CreateAtPlayer(kMagnetOffTemplate);
  FireIdleFrames = 0;
  MagnetBonus = 0;
}

void SpendLevelUp() {
  if (ActionHold[kActionSpecial] != 1) return;
  if (LevelUpCount >= 1 && TimelineHalt == 0.0f && PowerModeA == 0) {
    SpendOneLevelUp();
  } else if (LevelUpCount == 0 && PowerModeA == 0 && PowerModeB == 0 && ExpGauge > 5.0f) {
    CreateAtPlayer(kExpSpecialTemplate);
  }
}

void CoinPullTrickle() {
  if (CoinPullFlag >= 1 && TimelineHalt == 0.0f) {
    Score += 1.0f;
    CoinScore += 1;
    BonusAccumulator += 1.0f;
    if (++CoinPullFrames >= kCoinPullBonusFrames) {
      AddInfoBonus(28, 4000);
      CoinPullFrames = 1;
    }
  }
  if (CoinPullFlag == 0) CoinPullFrames = 0;
  CoinPullFlag = 0;
}
