// Coins, score chips and EXP chips: they fall or home in on the player and pay once,
// on their first touch, then play their pick-up row (which frees them).
#include "core/display.h"
#include "core/game_rules.h"
#include "core/sound_control.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

constexpr float kNotHoming = 0.0f;
constexpr float kHoming = 1.0f;
constexpr float kFastHoming = 2.0f;
constexpr int kPickupRow = 34;
constexpr int kChipPickupRow = 329;
constexpr int kPickupSound = 59;
constexpr int kHomingCue = 2014;
constexpr int kChipExtendCue = 2205;
constexpr int kChipsPerExtend = 50000;

// One velocity axis steered toward the player's coordinate; level counts as "below".
float SteerAxis(float velocity, float own, float player, double step, double limit) {
  if (player > own) {
    const double faster = velocity + step;
    return static_cast<float>(faster > limit ? limit : faster);
  }
  const double faster = velocity - step;
  return static_cast<float>(faster < -limit ? -limit : faster);
}

void SteerToPlayer(GameObject& pickup, double step, double limit) {
  pickup.vx = SteerAxis(pickup.vx, pickup.x, Player().x, step, limit);
  pickup.vy = SteerAxis(pickup.vy, pickup.y, Player().y, step, limit);
}

// Strict overlap of boxes given by their half extents (or whatever extents the rule uses).
bool Overlaps(const GameObject& pickup, double ownW, double ownH, double playerW, double playerH) {
  const GameObject& player = Player();
  return pickup.x + ownW > player.x - playerW && pickup.x - ownW < player.x + playerW &&
         pickup.y + ownH > player.y - playerH && pickup.y - ownH < player.y + playerH;
}

void StartPickupRow(GameObject& pickup, int row) {
  pickup.animation = row;
  pickup.animStep = 0;
  pickup.animTimer = 0;
  pickup.phase2 = 1.0f;
}

// Coin and EXP chip differ only in these values.
struct FallingPickup {
  int id;
  int reach;  // before PickupReach
  int reachPerShotLevel;
  double homingLimit;
  double fastHomingLimit;
  bool halfBoxes;  // the coin tests half sizes, the EXP chip full sizes
  void (*award)(int slot);
};

void PayCoin(int slot) {
  Coins = static_cast<float>(Coins + 1.0);
  const double value = Coins * 3.0;
  const int wholeValue = DoubleToInt(value);
  Score = static_cast<float>(Score + value);
  CoinScore = DoubleToInt(CoinScore + value);
  ExpGauge = static_cast<float>(ExpGauge + 0.1);
  CoinPickups = static_cast<float>(CoinPickups + 1.0);
  BonusAccumulator = static_cast<float>(BonusAccumulator + value);
  StageCoins = static_cast<float>(StageCoins + 1.0);
  CoinsGot += 1;
  PushBonusHistory(wholeValue);
  CheckLevelUp();
  CheckMilestoneBonus();
  PlaySe(kPickupSound, 255);
  SpawnScorePopup(slot, wholeValue);
}

void PayExp(int slot) {
  ExpCoinsGot += 1;
  ExpGauge = static_cast<float>(ExpGauge + ObjectPool[slot].expValue * 0.01);
  CheckLevelUp();
  PlaySe(kPickupSound, 255);
}

constexpr FallingPickup kFallingPickups[] = {
    {3008, 80, 20, 10.0, 20.0, true, &PayCoin},
    {3070, 100, 0, 13.0, 16.0, false, &PayExp},
};

void FallAndHome(int slot) {
  GameObject& pickup = ObjectPool[slot];
  const FallingPickup& row = RowFor(kFallingPickups, pickup.behaviour);
  MoveStraight(pickup);
  if (pickup.vy < 4.0f) pickup.vy = static_cast<float>(pickup.vy + 0.1);

  const double reach = row.reach + PickupReach + row.reachPerShotLevel * ShotLevel;
  const GameObject& player = Player();
  if (player.x > pickup.x - reach && player.x < pickup.x + reach && player.y > pickup.y - reach &&
      player.y < pickup.y + reach && pickup.phase == kNotHoming) {
    pickup.phase = kHoming;
    CreateObject(kHomingCue, 0, 0, 0, 0);
  }
  if (pickup.phase == kHoming) {
    if (TimelineHalt == 0.0f) PickupHomingFlag = 1;
    SteerToPlayer(pickup, 1.0, row.homingLimit);
  }
  if (pickup.phase == kFastHoming) SteerToPlayer(pickup, 2.0, row.fastHomingLimit);

  if (pickup.phase2 == 0.0f) {
    const bool touched =
        row.halfBoxes
            ? Overlaps(pickup, pickup.hitWidth / 2, pickup.hitHeight / 2, player.hitWidth / 2, player.hitHeight / 2)
            : Overlaps(pickup, pickup.hitWidth, pickup.hitHeight, player.hitWidth, player.hitHeight);
    if (touched) {
      StartPickupRow(pickup, kPickupRow);
      row.award(slot);
    }
  }
  if (PowerModeA == 1) pickup.phase = kFastHoming;
  if (PowerModeB == 1) pickup.phase = kFastHoming;
  FreeObjectIfOffWorld(slot);
}

// Side bonus of the first three chip extends: {icon, points}.
struct ExtendBonus {
  int icon;
  int points;
};
constexpr ExtendBonus kExtendBonuses[] = {{10, 100000}, {11, 200000}, {12, 300000}};

void ChipExtend() {
  if (Lives != 3.0f) Lives = static_cast<float>(Lives + 1.0);
  InvincibleTimer = static_cast<float>(InvincibleTimer + 80.0);
  ChipExtendCount = 0;
  CreateObject(kChipExtendCue, 0, 0, 0, 0);
  ChipExtends += 1;
  if (ChipExtends >= 1 && ChipExtends <= 3) {
    const ExtendBonus& bonus = kExtendBonuses[ChipExtends - 1];
    AddInfoBonus(bonus.icon, bonus.points);
  }
}

void PayChip(int slot) {
  const int value = ObjectPool[slot].scoreValue;
  PlaySe(kPickupSound, 255);
  ChipCount -= 1;
  Score = static_cast<float>(static_cast<double>(Score) + value);
  BonusAccumulator = static_cast<float>(static_cast<double>(BonusAccumulator) + value);
  PushBonusHistory(value);
  BssCoinScore += value;
  ChainScore += value;
  BssCoinsGot += 1;
  ChipExtendCount += 1;
  if (ChipExtendCount == kChipsPerExtend) ChipExtend();
  SpawnScorePopup(slot, value);
}

void ScoreChip(int slot) {
  GameObject& chip = ObjectPool[slot];
  MoveStraight(chip);
  SteerToPlayer(chip, 3.0, 24 + KillChain / 15);
  if (chip.phase2 == 0.0f) {
    const int margin = (KillChain / 40) / 2;
    const GameObject& player = Player();
    if (Overlaps(chip, chip.hitWidth + margin, chip.hitHeight + margin, player.hitWidth + margin,
                 player.hitHeight + margin)) {
      StartPickupRow(chip, kChipPickupRow);
      PayChip(slot);
    }
  }
  FreeObjectIfOffWorld(slot);
}

constexpr auto kEntries =
    JoinEntries(std::to_array<BehaviourEntry>({{3068, &ScoreChip}}), EntriesFor(kFallingPickups, &FallAndHome));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
