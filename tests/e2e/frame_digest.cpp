#include "frame_digest.h"

#include <algorithm>
#include <cstring>

#include "core/game_state.h"
#include "../support/call_recorder.h"

namespace {

// FNV-1a, eight bytes a step: the pool's live records are hashed every frame.
struct Hash {
  std::uint64_t value = 1469598103934665603ull;
  void Add(const void* data, std::size_t bytes) {
    const auto* p = static_cast<const unsigned char*>(data);
    std::size_t i = 0;
    for (std::uint64_t word; i + sizeof word <= bytes; i += sizeof word) {
      std::memcpy(&word, p + i, sizeof word);
      value = (value ^ word) * 1099511628211ull;
    }
    for (; i < bytes; ++i) value = (value ^ p[i]) * 1099511628211ull;
  }
  template <typename T>
  void Add(const T& variable) {
    Add(&variable, sizeof variable);
  }
};

// What a recording and its playback show or play differently by design, though they
// play the same game. These words and calls are left out of the digests; everything
// else a frame leaves counts.
//  - WatchingReplay: set by the playback alone.
//  - EndFadeTimer: the white fade-in that only the loadout select's start of play draws
//    over the HUD.
//  - The recording's own side notice (the last entry of SideNotices) and sound effect
//    97 with it: a new unlock reached is announced only while a game is recorded.
//  - Stage1NoticeTimer: the stage 1 notice row shows it only below total level 10, and
//    a replay does not carry the total level.
//  - Pad rumble (StartPadRumble, StopPadRumble): only a recorded game vibrates; these
//    calls are never hashed (call_recorder.h).
//  - Sound calls, only where the playback's viewer changes its pace (WithoutSounds):
//    a sound plays for a time, not for a number of frames.
constexpr int kRecordingOnlySe = 97;

// Hashes the run: every word that one game leaves behind and the next must not find,
// listed here on their own so that a word the game forgets to clear still counts.
std::uint64_t HashRunState() {
  Hash hash;
  // Scores, counters and statistics.
  hash.Add(Score);
  hash.Add(Coins);
  hash.Add(Lives);
  hash.Add(Level);
  hash.Add(ExpGauge);
  for (const int* word : {&InfoBonus, &CoinScore, &KillScore, &TimeBonus, &StageKillBonus, &StageCoinBonus,
                          &ShootInTimer, &ShootInCount, &ShootInTotal, &ShootInScore, &ChipScore,
                          &EnemiesDestroyed, &StageClearSeconds, &CoinsGot, &CoinsUsed, &ClearTimeSec, &GrazeCount,
                          &GrazeScore, &GrazeCombo, &GrazeComboTimer, &NearBulletCount, &HitsTaken, &ContinuesUsed,
                          &ChainScore, &PowerModeBTimer, &PowerKillScore, &BurstKills, &ChipExtendCount,
                          &ChipExtends, &ExpCoinsGot, &BssCoinsGot, &SsUsed, &BssUsed, &SsBought, &WispEraseCount,
                          &LevelUpCount, &LevelUpPairCount, &LevelUpSpendCount, &ChipCount, &KillChain,
                          &LiveObjectCount, &MaxSpeed}) {
    hash.Add(*word);
  }
  for (const float* word : {&BonusAccumulator, &StageKills, &StageCoins, &StageEnemiesSpawned, &StageCoinsSpawned,
                            &StageClearExtra, &CoinPickups, &HitSlowdownCount, &SpeedGauge}) {
    hash.Add(*word);
  }
  hash.Add(LastHitPanel);
  hash.Add(BonusHistory);
  for (int notice = 0; notice < kSideNoticeCount; ++notice) hash.Add(SideNotices[notice]);
  hash.Add(ScorePopups);
  // Scene, stage and timelines.
  for (const int* word : {&Scene, &ScenePhase, &PhaseTimer, &Paused, &Stage, &GameMode, &SelectFrame,
                          &StageTimeline, &StageTimeline2, &StageTimeline3, &TimelineStopped, &StageFrame,
                          &BattleFrames, &TitleCardActive, &TitleCardFrame, &TitleCardAlpha,
                          &HudAlpha, &StageStarted, &DeathFrames, &FrameCycle4}) {
    hash.Add(*word);
  }
  hash.Add(TimelineHalt);
  hash.Add(StageEventState);
  // The player's control, shots, guard and perks.
  for (const int* word : {&PlayerIdleTimer, &ShotReload, &MainShotBurst, &MainShotTimer, &SubShotReload,
                          &SubShotBurst, &SubShotTimer, &ShotFiredFlag, &BoostFactor, &DashCooldown,
                          &TurboCharge, &TurboChargeNeeded, &FacingLock, &FacingLockControl, &FireIdleFrames,
                          &MagnetBonus, &CoinPullFlag, &CoinPullFrames, &PowerModeA, &PowerModeB, &QuickChargePerk,
                          &GuardDrainPerk, &FullUpgradePerk, &NoUpgradePerk, &GuardStartPerk, &WingShadowFadeDir,
                          &VibrationLevel, &BehaviourParam80, &RedFlashAlpha, &WhiteFlashAlpha, &FlashFade,
                          &EndFadeFlag, &ManualShown, &DamageFlashPhase, &DamageFlashTimer}) {
    hash.Add(*word);
  }
  for (const float* word : {&CameraX, &CameraY, &TurnSpeed, &BoostSpeed, &GuardValue, &GuardUses, &InvulnFrames,
                            &BlinkPhase, &SlowdownMs, &BlueFlashLevel}) {
    hash.Add(*word);
  }
  hash.Add(HitLevelLabel);
  hash.Add(PlayerTrailX);
  hash.Add(PlayerTrailY);
  hash.Add(OptionFireTimer);
  hash.Add(OptionBurstLeft);
  hash.Add(OptionBurstGap);
  hash.Add(BossAimPoint);
  // Loadout, upgrades and the shop.
  for (const int* word : {&NShotType, &TShotType, &ShotLevel, &TShotLevel, &OptionType, &OptionShot, &OptionLevel,
                          &SpeedLevel, &TurboLevel, &GuardHealLevel, &PendingCost, &PaidSoFar, &ShopTimer,
                          &TallyCount, &TallyScoreCount}) {
    hash.Add(*word);
  }
  hash.Add(ShopCursor);
  hash.Add(ShopEmblem);
  hash.Add(ClearDecorations);
  hash.Add(ActiveKeyMap);
  return hash.value;
}

// Every record in use, whole. A freed record keeps the category and attack power of
// its last object by design, so a game played after another finds the other's there;
// no part of play reads a free record, so it counts as free only.
std::uint64_t HashPool() {
  Hash hash;
  for (const GameObject& object : ObjectPool) {
    if (object.state == kStateFree) {
      hash.Add(object.state);
    } else {
      hash.Add(object);
    }
  }
  return hash.value;
}

// The word the replay holds for the frame just run: during a playback (up to the end
// of its last frame) InputWord holds the live pad, which may differ from the recording.
int ReplayedInputWord() {
  if (ReplayMode == kReplayRecording && ReplayFrameCount > 0) return ReplayBuffer[ReplayFrameCount - 1];
  const bool playing = ReplayMode == kReplayPlayback || PlaybackEndDue != 0;
  if (playing && ReplayPosition > 0) return ReplayBuffer[ReplayPosition - 1];
  return InputWord;
}

// A sound by the name the game keeps it under: its sound effect number, or 1000 + its
// music channel (the handle numbers themselves change with every load). -1 for an
// unknown handle, which then counts as it is.
int SoundName(int handle) {
  if (handle < 0) return -1;
  const auto se = std::find(SeHandles.begin(), SeHandles.end(), handle);
  if (se != SeHandles.end()) return static_cast<int>(se - SeHandles.begin());
  const auto channel = std::find(BgmHandles.begin(), BgmHandles.end(), handle);
  if (channel != BgmHandles.end()) return 1000 + static_cast<int>(channel - BgmHandles.begin());
  return -1;
}

// The sound calls, each with the argument that names its sound: a sound effect number
// for the game's own calls, a handle for the library's.
struct SoundCall {
  Call call;
  int argument;
  bool byHandle;
};
constexpr SoundCall kSoundCalls[] = {{Call::PlaySe, 0, false},     {Call::PlaySeIfIdle, 0, false},
                                     {Call::StartSound, 0, true},  {Call::IsSoundPlaying, 0, true},
                                     {Call::SetSoundVolume, 1, true}};

const SoundCall* FindSoundCall(Call call) {
  for (const SoundCall& sound : kSoundCalls) {
    if (sound.call == call) return &sound;
  }
  return nullptr;
}

// The sound calls of the game's course: the recording-only sound effect left out, the
// library's calls by the sound's name.
bool IsSoundOfTheCourse(RecordedCall& call) {
  const SoundCall* sound = FindSoundCall(call.call);
  if (sound == nullptr) return false;
  const int name = sound->byHandle ? SoundName(call.Int(sound->argument)) : call.Int(sound->argument);
  if (name == kRecordingOnlySe) return false;
  if (name >= 0) call.arguments[sound->argument] = name;
  return true;
}

}  // namespace

FrameDigest TakeFrameDigest() {
  FrameDigest digest{};
  digest.pool = HashPool();
  digest.runState = HashRunState();
  digest.inputWord = ReplayedInputWord();
  std::copy(std::begin(BitHold), std::end(BitHold), digest.bitHold);
  std::copy(std::begin(ActionHold), std::end(ActionHold), digest.actionHold);
  digest.randomDraws = RandomDrawsSinceSeed();
  digest.sounds = HashOfFrameCalls(IsSoundOfTheCourse);
  digest.calls = EndRecordedFrame([](RecordedCall& call) { return FindSoundCall(call.call) == nullptr; });
  return digest;
}

std::vector<FrameDigest> WithoutSounds(std::vector<FrameDigest> digests) {
  for (FrameDigest& digest : digests) digest.sounds = 0;
  return digests;
}

int FirstDivergingFrame(const std::vector<FrameDigest>& a, const std::vector<FrameDigest>& b) {
  const std::size_t frames = std::min(a.size(), b.size());
  for (std::size_t frame = 0; frame < frames; ++frame) {
    if (!(a[frame] == b[frame])) return static_cast<int>(frame);
  }
  return -1;
}

std::string DescribeDivergence(const std::vector<FrameDigest>& a, const std::vector<FrameDigest>& b) {
  const int frame = FirstDivergingFrame(a, b);
  if (frame < 0) return "no divergence";
  const FrameDigest& x = a[frame];
  const FrameDigest& y = b[frame];
  std::string parts;
  auto note = [&](bool differs, const char* what) {
    if (differs) parts += parts.empty() ? what : std::string(", ") + what;
  };
  note(x.pool != y.pool, "pool");
  note(x.runState != y.runState, "run state");
  note(x.inputWord != y.inputWord, "input word");
  note(!std::equal(std::begin(x.bitHold), std::end(x.bitHold), y.bitHold), "bit hold counters");
  note(!std::equal(std::begin(x.actionHold), std::end(x.actionHold), y.actionHold), "action hold counters");
  note(x.randomDraws != y.randomDraws, "random generator position");
  note(x.calls != y.calls, "calls");
  note(x.sounds != y.sounds, "sound calls");
  return "frame " + std::to_string(frame) + ": " + parts;
}
