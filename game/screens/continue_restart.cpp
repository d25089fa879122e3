// The continue: after its fade the run starts the same stage again from its first
// frame, keeping the stage, the loadout and the upgrades, with score, coins and
// statistics from nothing.
#include <algorithm>
#include <iterator>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "core/object_pool.h"
#include "core/resource_loaders.h"
#include "core/run_state.h"
#include "screens/results.h"

namespace {

constexpr int kFadeEnd = 300;
constexpr double kPlayEntryOffsetY = 650.1;
constexpr float kPlayerStartY = 320.0f;

void ClearSceneWords() {
  ConfigSubPage = Paused = ScenePhase = PhaseTimer = ContinueCursor = SelectFrame = 0;
  std::fill(std::begin(ShopCursor), std::end(ShopCursor), 0);
  std::fill(std::begin(SecondShotCursor), std::end(SecondShotCursor), 0);
}

void ClearControlAndClock() {
  // The player's control (camera swing, boost, facing lock, the per-run words), but not
  // the continues already used: ClearRunState would zero those too.
  ClearRunControlState();
  CameraX = CameraY = 0.0f;
  ShotReload = MainShotTimer = MainShotBurst = SubShotReload = SubShotTimer = SubShotBurst = ShotFiredFlag = 0;
  StageTimeline = StageTimeline2 = StageTimeline3 = StageFrame = TimelineStopped = 0;
  TimelineHalt = 0.0f;
}

void ClearRunValues() {
  Score = ExpGauge = Coins = CoinPickups = BonusAccumulator = StageCoins = StageKills = 0.0f;
  RedFlashAlpha = WhiteFlashAlpha = InfoBonus = 0;
  std::fill(std::begin(LastHitPanel), std::end(LastHitPanel), 0);
  GuardValue = SlowdownMs = StageEnemiesSpawned = StageCoinsSpawned = StageClearExtra = 0.0f;
  std::fill(std::begin(ShopEmblem), std::end(ShopEmblem), 0.0f);
  PowerModeA = PowerModeB = StageStarted = SsUsed = BssUsed = EndFadeTimer = TitleCardFrame = TitleCardAlpha = 0;
  KillScore = CoinScore = TimeBonus = StageKillBonus = StageCoinBonus = BattleFrames = 0;
  CoinsGot = CoinsUsed = EnemiesDestroyed = GrazeCount = HitsTaken = GrazeScore = 0;
  // The rest of what the statistics page shows starts from nothing as well.
  ShootInScore = ChipScore = ExpCoinsGot = BssCoinsGot = SsBought = 0;
}

void RestartStage() {
  for (int slot = 0; slot < kPoolSize; ++slot) ResetObject(slot);
  CameraX = CameraY = 0.0f;
  SetUpPlayerObjects(kPlayerStartY);
  CreateOptionObjects();
  std::fill(std::begin(SideNotices), std::end(SideNotices), SideNotice{});
  SetUpGroupParents();
  GuardValue = 0.0f;
  Lives = 3.0f;
  Level = 1.0f;
  LevelUpCount = 1;
  TitleCardActive = 1;
  std::fill(std::begin(ScorePopups), std::end(ScorePopups), ScorePopup{});
  ClearStageEventState();
  FreeStageImages();
  LoadStageResources(Stage);
  ScenePhase = 0;
  PhaseTimer = 0;
  Scene = kScenePlay;
  GameObject& player = ObjectPool[kPlayerSlot];
  player.y = static_cast<float>(player.y + kPlayEntryOffsetY);
  CameraY = static_cast<float>(CameraY + kPlayEntryOffsetY);
}

}  // namespace

void ContinueFade() {
  PhaseTimer += 3;
  DrawContinueFade(PhaseTimer);
  if (PhaseTimer < kFadeEnd) return;
  ClearSceneWords();
  ClearControlAndClock();
  ClearRunValues();
  RestartStage();
}
