#include "core/run_state.h"

#include <cstring>

#include "core/game_state.h"

namespace {

#define BLOCK(variable) StateBlock{static_cast<void*>(&(variable)), sizeof(variable)}

// Scores, counters, statistics, timelines, timers, flashes, shop, perks, title card
// and the scene words of one run.
const StateBlock kRunState[] = {
    BLOCK(Score), BLOCK(Coins), BLOCK(Lives), BLOCK(Level), BLOCK(ExpGauge), BLOCK(InfoBonus),
    BLOCK(CoinScore), BLOCK(BonusAccumulator), BLOCK(KillScore), BLOCK(TimeBonus), BLOCK(StageKillBonus),
    BLOCK(StageCoinBonus), BLOCK(ShootInTimer), BLOCK(ShootInCount), BLOCK(ShootInTotal), BLOCK(ShootInScore),
    BLOCK(ChipScore), BLOCK(EnemiesDestroyed), BLOCK(StageKills), BLOCK(StageCoins), BLOCK(StageEnemiesSpawned),
    BLOCK(StageCoinsSpawned), BLOCK(StageClearExtra), BLOCK(StageClearSeconds), BLOCK(CoinsGot),
    BLOCK(CoinsUsed), BLOCK(CoinPickups), BLOCK(ClearTimeSec), BLOCK(GrazeCount), BLOCK(GrazeScore),
    BLOCK(GrazeCombo), BLOCK(GrazeComboTimer), BLOCK(NearBulletCount), BLOCK(HitsTaken),
    BLOCK(HitSlowdownCount), BLOCK(ContinuesUsed), BLOCK(ChainScore), BLOCK(PowerModeBTimer),
    BLOCK(PowerKillScore), BLOCK(BurstKills), BLOCK(ChipExtendCount), BLOCK(ChipExtends), BLOCK(ExpCoinsGot),
    BLOCK(BssCoinsGot), BLOCK(SsUsed), BLOCK(BssUsed), BLOCK(SsBought), BLOCK(WispEraseCount),
    BLOCK(LastHitPanel), BLOCK(SpeedGauge), BLOCK(BonusHistory), BLOCK(ScorePopups), BLOCK(SideNotices),
    BLOCK(StageTimeline), BLOCK(StageTimeline2), BLOCK(StageTimeline3), BLOCK(TimelineHalt),
    BLOCK(TimelineStopped), BLOCK(StageFrame), BLOCK(BattleFrames), BLOCK(Stage1NoticeTimer), BLOCK(Paused),
    BLOCK(ScenePhase), BLOCK(PhaseTimer), BLOCK(ShotReload), BLOCK(MainShotBurst), BLOCK(MainShotTimer),
    BLOCK(SubShotReload), BLOCK(SubShotBurst), BLOCK(SubShotTimer), BLOCK(ShotFiredFlag), BLOCK(GuardValue),
    BLOCK(GuardUses), BLOCK(InvulnFrames), BLOCK(BlinkPhase), BLOCK(HitLevelLabel), BLOCK(RedFlashAlpha),
    BLOCK(WhiteFlashAlpha), BLOCK(BlueFlashLevel), BLOCK(FlashFade), BLOCK(EndFadeFlag), BLOCK(EndFadeTimer),
    BLOCK(SlowdownMs), BLOCK(VibrationLevel), BLOCK(ShopCursor), BLOCK(ShopEmblem), BLOCK(ShotCost),
    BLOCK(OptionCost), BLOCK(SpeedCost), BLOCK(TurboCost), BLOCK(GuardHealCost), BLOCK(PendingCost),
    BLOCK(PaidSoFar), BLOCK(ShopTimer), BLOCK(TallyCount), BLOCK(TallyScoreCount), BLOCK(NoUpgradePerk),
    BLOCK(QuickChargePerk), BLOCK(GuardDrainPerk), BLOCK(GuardStartPerk), BLOCK(FullUpgradePerk),
    BLOCK(PowerModeA), BLOCK(PowerModeB), BLOCK(TitleCardFrame), BLOCK(TitleCardAlpha), BLOCK(HudAlpha),
    BLOCK(StageStarted), BLOCK(WatchingReplay), BLOCK(SelectFrame), BLOCK(SecondShotCursor),
    BLOCK(EndingReached), BLOCK(ConfigSubPage), BLOCK(ContinueCursor), BLOCK(DamageFlashPhase),
    BLOCK(DamageFlashTimer), BLOCK(ManualShown), BLOCK(ClearDecorations),
    // Collision pass.
    BLOCK(LastHitImageSet), BLOCK(LastHitImageCell),
    // HUD.
    BLOCK(HudNoticeTimer),
};

// The player's control, the input counters and the per-run words of the objects.
const StateBlock kRunControlState[] = {
    BLOCK(FrameCycle4), BLOCK(TurnSpeed), BLOCK(BoostSpeed), BLOCK(FacingLock), BLOCK(DashCooldown),
    BLOCK(TurboCharge), BLOCK(FireIdleFrames), BLOCK(MagnetBonus), BLOCK(LevelUpSpendCount),
    BLOCK(LevelUpPairCount), BLOCK(CoinPullFlag), BLOCK(CoinPullFrames), BLOCK(ChipCount), BLOCK(KillChain),
    BLOCK(DeathFrames), BLOCK(WingShadowFadeDir), BLOCK(MaxSpeed), BLOCK(LiveObjectCount), BLOCK(InputWord),
    BLOCK(BitHold), BLOCK(ActionHold), BLOCK(PlayerTrailX), BLOCK(PlayerTrailY), BLOCK(OptionFireTimer),
    BLOCK(OptionBurstLeft), BLOCK(OptionBurstGap), BLOCK(BossAimPoint), BLOCK(BehaviourParam80),
    BLOCK(BoostFactor), BLOCK(PlaybackButtonHold), BLOCK(PlaybackKeyHold),
};

#undef BLOCK

void Zero(std::span<const StateBlock> blocks) {
  for (const StateBlock& block : blocks) std::memset(block.address, 0, block.bytes);
}

}  // namespace

std::span<const StateBlock> RunStateBlocks() { return kRunState; }
std::span<const StateBlock> RunControlStateBlocks() { return kRunControlState; }

void ClearRunState() { Zero(kRunState); }

void ClearRunControlState() {
  Zero(kRunControlState);
  BehaviourParam80 = 80;
  BoostFactor = 1;
}
