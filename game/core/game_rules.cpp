#include "core/game_rules.h"

#include <cstring>

#include "core/display.h"
#include "core/game_state.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

constexpr int kNoticeFrames = 400;
constexpr int kUnlockNoticeIcon = 25;

struct Milestone {
  int bonus;
  int se;
};

// The milestone paid at a whole purse of `coins`, or a bonus of 0.
Milestone MilestoneAt(int coins) {
  if (coins % 100 != 0) return {0, 0};
  if (coins >= 100 && coins <= 900) return {100000 * (coins / 100), 64 + coins / 100};
  if ((coins >= 1000 && coins <= 2000) || (coins >= 3000 && coins <= 5000)) return {1000000, 74};
  return {0, 0};
}

int PlayerX() { return FloatToInt(ObjectPool[kPlayerSlot].x); }
int PlayerY() { return FloatToInt(ObjectPool[kPlayerSlot].y); }

}  // namespace

void CheckMilestoneBonus() {
  const Milestone milestone = MilestoneAt(FloatToInt(Coins));
  if (milestone.bonus != 0) {
    CreateObject(2111, PlayerX(), PlayerY(), 0, 0);
    Score += static_cast<float>(milestone.bonus);
    BonusAccumulator += static_cast<float>(milestone.bonus);
    CoinScore += milestone.bonus;
    PushBonusHistory(milestone.bonus);
    PlaySe(milestone.se, 255);
  }
  // The purse runs through 3000 to 5000 again and pays those milestones again.
  if (Coins >= 5001.0f) Coins = 3000.0f;
}

void CheckLevelUp() {
  if (!(ExpGauge > 100.0f)) return;
  CreateObject(2104, PlayerX(), PlayerY(), ObjectPool[kPlayerSlot].facing, 0);
  const int total = DoubleToInt(static_cast<double>(static_cast<float>(TotalLevel) + Level) + 1.0);
  if (ReplayMode == kReplayRecording && total % 4 == 0 && total >= 4 && total <= 20) {
    ShowRecordingNotice(kUnlockNoticeIcon);
    PlaySe(97, 255);
  }
  ExpGauge = 0.0f;
  Level += 1.0f;
  ++LevelUpCount;
  ++LevelUpPairCount;
  if (LevelUpPairCount == 2) {
    AddInfoBonus(19, LevelUpCount * 12000);
    LevelUpPairCount = 0;
  }
  if (LevelUpCount >= 9) LevelUpCount = 8;
  CreateObject(2113, PlayerX(), PlayerY(), 0, 0);
}

void RequestSlowdown(int ms) {
  if (SlowdownMs < static_cast<float>(ms)) SlowdownMs = static_cast<float>(ms);
  SlowdownMs = SlowdownOption != 0 ? SlowdownMs / static_cast<float>(SlowdownOption) : 0.0f;
}

void VibratePad(int, int priority) {
  if (VibrationLevel > priority) return;
  VibrationLevel = priority;
  // Only a game being recorded rumbles: not a playback, not practice.
  if (ReplayMode != kReplayRecording) return;
  if (VibrationOption == 2) StartPadRumble(1, 1000, -1);
  if (VibrationOption == 1) StartPadRumble(1, 500, -1);
}

void AddInfoBonus(int icon, int points) {
  for (int i = 0; i < kSideNoticeCount; ++i) {
    SideNotice& notice = SideNotices[i];
    if (notice.timer != 0) continue;
    notice = SideNotice{kNoticeFrames, icon, points};
    Score += static_cast<float>(points);
    InfoBonus += points;
    return;
  }
}

void ShowRecordingNotice(int icon) { SideNotices[kRecordingNotice] = SideNotice{kNoticeFrames, icon, 0}; }

void DrawSideNotices() {
  for (int i = 0; i <= kRecordingNotice; ++i) {
    SideNotice& notice = SideNotices[i];
    if (notice.timer <= 0) continue;
    SetBlendMode(1, notice.timer);
    DrawGraphAt(790, 100 + 40 * i, SideNoticeIcons[notice.icon], 1);
    if (notice.value > 0) DrawNumberRight(960, 118 + 40 * i, notice.value, 0);
    if (Paused == 0) --notice.timer;
  }
}

void PushBonusHistory(int value) {
  std::memmove(&BonusHistory[1], &BonusHistory[0], sizeof(int) * (kBonusHistorySize - 1));
  BonusHistory[0] = value;
}

void ClearStageEventState() { std::memset(StageEventState, 0, sizeof StageEventState); }
