// The stage clear: bonuses and the cancelling of what is left, the tally that counts
// them up, the step to the next stage, and the end of a practice run.
#include <algorithm>

#include "core/display.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/object_pool.h"
#include "core/resource_loaders.h"
#include "core/sound_control.h"
#include "core/stage_end.h"
#include "float_to_int.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

constexpr int kTallyFrames = 340;
constexpr int kTallyScoreFrames = 460;
constexpr float kTallyEnd = 0.74f;

void Create(int templateId) { CreateObject(templateId, 0, 0, 0, 0); }

bool BoostHeld() { return ActionHold[kActionSecond] > 0; }

// Every enemy record, whatever its state, fades out as a cancelled bullet does.
void CancelEnemies() {
  for (int slot = 0; slot < kPoolSize; ++slot) {
    if (ObjectPool[slot].category == kCategoryEnemy) CancelBullet(slot);
  }
  CancelAllBullets();
}

struct BurstKillGoal {
  int stage;
  int kills;
};
constexpr BurstKillGoal kBurstKillGoals[] = {{1, 75}, {2, 335}, {3, 735}};

void PayClearBonuses() {
  for (const BurstKillGoal& goal : kBurstKillGoals) {
    if (Stage != goal.stage || BurstKills < goal.kills) continue;
    AddInfoBonus(17, 640000);
    Create(2195);
    QuickChargePerk = 1;
  }
  const float killBonus = StageKills * 800.0f;
  const float coinBonus = StageCoins * 200.0f;
  Score += killBonus + StageClearExtra + coinBonus;
  TimeBonus = FloatToInt(static_cast<float>(TimeBonus) + StageClearExtra);
  StageKillBonus = FloatToInt(static_cast<float>(StageKillBonus) + killBonus);
  KillScore = FloatToInt(static_cast<float>(KillScore) + killBonus);
  StageCoinBonus = FloatToInt(static_cast<float>(StageCoinBonus) + coinBonus);
  CoinScore = FloatToInt(static_cast<float>(CoinScore) + coinBonus);
}

void ClearStage() {
  const int emblemX = RandomInRange(1424);
  const int emblemY = RandomInRange(968);
  ShopEmblem[0] = static_cast<float>(emblemX);
  ShopEmblem[1] = static_cast<float>(emblemY);
  ShopEmblem[2] = 0.0f;
  for (int* decoration : ClearDecorations) {
    const int x = RandomInRange(1624);
    decoration[0] = x - 200;
    const int y = RandomInRange(968);
    decoration[1] = y - 200;
  }
  TimelineHalt = kHaltTally;
  StageStarted = 0;
  ShopCursor[0] = ShopCursor[1] = 0;
  StageClearExtra = static_cast<float>((16000 - StageFrame) * 98);
  if (StageClearExtra < 0.0f) StageClearExtra = 0.0f;
  StageClearSeconds = StageFrame / 60;
  SetBgmFade(2, kFadeOutStop);
  if (Stage != 8) SetBgmFade(3, kFadeIn);
  SetBgmFade(9, kFadeOutStop);
  if (Stage == 4) SetBgmFade(6, kFadeOutStop);
  if (PowerModeB == 1) AddInfoBonus(32, (PowerModeBTimer - 1000) * 1000);
  PayClearBonuses();
  CancelEnemies();
}

// A value counted up over the tally: value / 340 x count until the count reaches 340.
int CountedUp(float value, int count, int frames) {
  if (count >= frames) return FloatToInt(value);
  return FloatToInt(value / static_cast<float>(frames) * static_cast<float>(count));
}

// A bar of the share got; no spawns at all gives no bar.
void DrawShareBar(float got, float spawned, int top) {
  if (spawned == 0.0f) return;
  const float end = 294.0f + 460.0f * (got / spawned) * static_cast<float>(TallyCount) / kTallyFrames;
  DrawRect(294, top, FloatToInt(end), top + 8, MakeScreenColor(210, 210, 210), 1);
}

void DrawTallyDecorations() {
  const float progress = ShopEmblem[2];
  SetBlendMode(1, FloatToInt(progress * 300.0f));
  for (const int* decoration : ClearDecorations) {
    DrawGraphAt(decoration[0], decoration[1], CommonImages[kImageClearDecoration], 1);
  }
  DrawGraphRotated(FloatToInt(ShopEmblem[0]), FloatToInt(ShopEmblem[1]), 1.0, progress * 4.0f,
                   CommonImages[kImageShopEmblem], 1, 0);
}

// Draws the tally panel and counts it up; `boosted` adds the held second action.
void DrawTally(bool boosted) {
  DrawTallyDecorations();
  SetBlendMode(1, 255);
  DrawGraphAt(0, 528, CommonImages[kImageTallyPanel], 1);
  const int seconds = TallyCount / 2 < StageClearSeconds ? TallyCount / 2 : StageClearSeconds;
  DrawNumberRight(704, 579, TallyCount >= kTallyFrames ? StageClearSeconds : seconds, 1);
  DrawNumberRight(871, 579, CountedUp(StageClearExtra, TallyCount, kTallyFrames), 1);
  DrawNumberRight(808, 608, CountedUp(StageKills, TallyCount, kTallyFrames), 1);
  DrawNumberRight(808, 638, CountedUp(StageCoins, TallyCount, kTallyFrames), 1);
  DrawNumberRight(474, 676, CountedUp(Score, TallyScoreCount, kTallyScoreFrames), 1);
  DrawShareBar(StageKills, StageEnemiesSpawned, 614);
  DrawShareBar(StageCoins, StageCoinsSpawned, 644);
  const int step = boosted ? 3 : 1;
  if (TallyCount < kTallyFrames + 1) TallyCount = std::min(TallyCount + step, kTallyFrames + 1);
  if (TallyScoreCount < kTallyScoreFrames + 1) TallyScoreCount = std::min(TallyScoreCount + step, kTallyScoreFrames + 1);
}

void RunTally() {
  const bool boosted = BoostHeld();
  DrawTally(boosted);
  ShopEmblem[2] += 0.001f;
  if (boosted) ShopEmblem[2] += 0.002f;
  if (FrameCycle4 == 0) Create(2106);
  CancelEnemies();
  // The guard counts down towards ready; the player's own guard step makes it ready.
  if (GuardValue > 0.0f && Lives > 0.0f) GuardValue -= 0.25f;
  if (PowerModeB == 1) PowerModeBTimer += 30;
  if (ShopEmblem[2] <= kTallyEnd) return;
  if (PracticeFlag == 1) {
    TimelineHalt = kHaltPracticeEnd;
    return;
  }
  TimelineHalt = kHaltShop;
  // The tally's own pictures are common pictures: they stay for the next tally.
  FreeStageImages();
  if (HudOverlayFlag == 0) Create(2175);
}

void StartNextStage() {
  ++Stage;
  BonusAccumulator = StageCoins = StageKills = StageEnemiesSpawned = StageCoinsSpawned = 0.0f;
  StageTimeline = StageTimeline2 = StageTimeline3 = TimelineStopped = 0;
  TitleCardFrame = TitleCardAlpha = 0;
  ShopEmblem[0] = ShopEmblem[1] = ShopEmblem[2] = 0.0f;
  HudAlpha = StageStarted = StageFrame = ShotFiredFlag = 0;
  TallyCount = TallyScoreCount = 1;
  TitleCardActive = 1;
  for (int slot = kFirstOptionSlot + 1; slot <= kLastOptionSlot; ++slot) ObjectPool[slot].timer = 0;
  ClearStageEventState();
  FreeStageImages();
  LoadStageResources(Stage);
  TimelineHalt = 0.0f;
}

void EndPracticeRun() {
  DrawTally(false);
  if ((DeathFrames / 2) % 3 == 0) Create(2106);
  DeathFrames += 2;
  if (DeathFrames > 260) {
    ScenePhase = 5;
    Scene = kSceneResults;
    PhaseTimer = 0;
    SetBgmFade(3, kFadeOutStop);
  }
}

}  // namespace

void RunStageEnd() {
  if (TimelineHalt == kHaltCleared) {
    ClearStage();
  } else if (TimelineHalt == kHaltTally) {
    RunTally();
  } else if (TimelineHalt == kHaltShop || TimelineHalt == kHaltPaying || TimelineHalt == kHaltRefused ||
             TimelineHalt == kHaltLeaving) {
    RunUpgradeShop();
  } else if (TimelineHalt == kHaltNextStage) {
    StartNextStage();
  } else if (TimelineHalt == kHaltPracticeEnd) {
    EndPracticeRun();
  }
}
