// The game's shared state: every global of play, the screens, the stage scripts and
// the object code, under one name each. Where parts of the game know a global by a
// second name, that name is an alias (a reference) of the one defined here.
// All of it belongs to the one game thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/game_object.h"

// ---------------------------------------------------------------------------------
// Scene, flow and frame loop
// ---------------------------------------------------------------------------------
enum SceneNumber : int {
  kScenePlay = 0,
  kSceneLoadout = 1,
  kSceneTitle = 2,
  kSceneResults = 3,
  kSceneEnding = 4,
};

extern int Scene;           // the frame loop switches on it
extern int ScenePhase;      // in play 1 = the last life is lost; the results' phases 1..13
extern int PhaseTimer;      // frame counter of the results phase
extern int Paused;
extern int QuitRequest;     // 1 = leave the frame loop after this pass
extern int GameMode;        // 0..3; 0 and 1 have stage scripts
extern int Stage;           // 1..8, 9 for the ending
extern int PracticeFlag;
extern int SelectFrame;     // loadout row, then its start fade counter
extern int FrameStartMs;
extern float SlowdownMs;    // extra milliseconds per frame
extern int FrameWaitOffset; // replay speed keys: -8, -1000, +50 or 0
extern int FpsFrameCount;
extern std::uint32_t FpsWindowStartMs;
extern int MeasuredFps;
constexpr int kCaptionTextSize = 64;
extern char CaptionText[kCaptionTextSize];
extern int ScreenshotKeyFrames;

// The stage title card and the HUD fade.
extern int TitleCardActive;
extern int TitleCardFrame;
extern int TitleCardAlpha;
extern int HudAlpha;
extern int StageStarted;

// ---------------------------------------------------------------------------------
// Stage timelines and stage events
// ---------------------------------------------------------------------------------
extern int StageTimeline;
extern int StageTimeline2;
extern int StageTimeline3;
extern float TimelineHalt;  // 0 running; 1 cleared, 2 tally, 3 shop, 4 paying, 5 refused,
                            // 9 leaving the shop, 10 next stage, 11 end of a practice run
extern int TimelineStopped;
extern int StageFrame;      // frames since the stage started
extern int BattleFrames;    // frames of the run with the timelines running
extern int Stage1NoticeTimer;

constexpr int kStageEventRows = 6;
constexpr int kStageEventWords = 10;
extern int StageEventState[kStageEventRows][kStageEventWords];
// Named words of the stage events.
inline int& Stage8Caption = StageEventState[0][1];       // caption picture 1..3, 0 none
inline int& EndingBackdrop = StageEventState[0][3];      // ending background 0 or 1
inline int& Stage8CaptionPhase = StageEventState[0][5];  // 0 rising, 1 falling
inline int& Stage8CaptionLevel = StageEventState[0][6];
inline int& EndBackdropPhase = StageEventState[2][9];    // stage 8 backdrop phase 0..4
inline int& EndBackdropTimer = StageEventState[3][9];
inline int& BackgroundBlendCounter = StageEventState[4][3];  // moved in stages 6 and 8
inline int& WhiteOutCounter = StageEventState[4][5];
inline int& Stage7ScrollStep = StageEventState[5][2];
inline int& Stage7ScrollBoost = Stage7ScrollStep;
inline int& EndingScroll = StageEventState[5][5];

// ---------------------------------------------------------------------------------
// Camera, flashes and veils
// ---------------------------------------------------------------------------------
extern float CameraX, CameraY;  // world position of the view's top-left corner
extern float TurnSpeed;         // camera swing after a turn
extern int RedFlashAlpha;
extern int WhiteFlashAlpha;
extern float BlueFlashLevel;
inline float& ScreenFlash = BlueFlashLevel;
extern int FlashFade;
extern int EndFadeTimer;
extern int EndFadeFlag;
extern int DeathFrames;         // frames since the last life was lost
// The ending's veils and faders, zeroed when a run enters the ending.
extern int EndingSkip;          // 1 once the skip has started
extern int EndingSkipFade;      // the skip's black veil
extern int CreditPictureState;  // staff-picture fader state 0..6
extern int CreditPictureAlpha;
extern int EndingFadeIn;        // black veil counting down from 260

// ---------------------------------------------------------------------------------
// Input and replays
// ---------------------------------------------------------------------------------
constexpr int kActionCount = 5;
constexpr int kBitHoldCount = 14;
extern int InputWord;                     // the frame's InputWord
extern int BitHold[kBitHoldCount];        // up, down, left, right, buttons 1..10
extern int ActionHold[kActionCount];      // 1 = pressed this frame
extern int ActiveKeyMap[kActionCount];    // button bit of each action in the running game
extern int KeyConfig[kActionCount];       // saved button bit of each action

enum ReplayModeValue : int { kReplayOff = 0, kReplayRecording = 1, kReplayPlayback = 2 };
constexpr int kReplayMaxFrames = 360000;
constexpr int kReplaySlotCount = 9;
constexpr int kReplayNoSlot = 10;

// The header words of the replay being recorded or played (file words 4..12, 14..18).
struct ReplayHeaderRecord {
  int score;
  int mainShot;    // NShotType at power level 0
  int secondShot;  // TShotType
  int gameMode;
  int optionType;
  int optionShot;
  int coins;
  int kills;
  int clearTime;
  int keyMap[kActionCount];
};
// One slot of the replay list: file words 1..12.
struct ReplayListEntry {
  int name[3];
  int score;
  int mainShot;
  int secondShot;
  int gameMode;
  int optionType;
  int optionShot;
  int coins;
  int kills;
  int clearTime;
};

extern int ReplayMode;
extern int ReplaySlot;          // 1..9, 10 = none or failed
extern int* ReplayBuffer;
extern int ReplayFrameCount;
extern int ReplayPosition;
// 1 from the pass that ended a playback until the next pass starts, which opens its
// results: the pass that used the last word runs to its end as the recording's did.
extern int PlaybackEndDue;
extern ReplayHeaderRecord ReplayHeader;
extern ReplayListEntry ReplayList[kReplaySlotCount + 1];  // by slot 1..9
extern int WatchingReplay;
extern int PlayerName[3];
extern int SavedFacingLockControl;

// ---------------------------------------------------------------------------------
// Saved progress and options (the save file)
// ---------------------------------------------------------------------------------
constexpr int kGameModeCount = 4;
constexpr int kRankedModes = 3;
constexpr int kRankingLists = 4;  // score, coins, enemies destroyed, clear time
constexpr int kRankingPlaces = 3;
constexpr int kRankingClearTimeList = 3;
constexpr int kShotTypes = 6;

extern int TotalLevel;
extern int PlayCount[kGameModeCount];
extern int BestLevel[kGameModeCount];
extern int PlayFrames[kGameModeCount];
extern int BestStage[kGameModeCount];
extern int RankingBoards[kRankedModes][kRankingLists][kRankingPlaces];
extern int VariantShotFlags[kShotTypes];  // 1 the variant may be chosen, 999 not yet
extern int WindowedOption;
extern int ColourDepthOption;
extern int VSyncOffOption;
extern int FacingLockControl;  // 0 toggle, 1 hold, 2 two buttons
extern int BackdropLayerOff;
extern int MiniMapOff;
extern int HitBoxOverlayOff;
extern int TitleImageVariant;
extern int DangerOverlayOff;
extern int HudCountersOff;
extern int HudPanelImageOff;
extern int HudNoticeOff;
extern int DamageFlashOff;
extern int EnemyHighlightOff;
extern int RecordOptionA;
extern int RecordOptionB;
extern int SlowdownOption;
extern int VibrationOption;
extern int LightMode;

// Progress gates of the menus.
constexpr int ModeUnlockLevel1 = 8;
constexpr int ModeUnlockLevel2 = 16;
constexpr int PracticeUnlockLevel = 8;

// ---------------------------------------------------------------------------------
// Run state: score, counters and statistics
// ---------------------------------------------------------------------------------
extern float Score;
extern float Coins;       // the purse
extern float Lives;
extern float Level;
extern float ExpGauge;    // 0..100
extern int LevelUpCount;  // level-ups in hand, at most 8
extern int LevelUpPairCount;
extern int LevelUpSpendCount;
extern int InfoBonus;
extern int CoinScore;
extern float BonusAccumulator;
extern int KillScore;
extern int TimeBonus;
extern int StageKillBonus;
extern int StageCoinBonus;
extern int ShootInTimer;
extern int ShootInCount;
extern int ShootInTotal;
extern int ShootInScore;
extern int ChipScore;
inline int& BssCoinScore = ChipScore;
extern int EnemiesDestroyed;
extern float StageKills;
extern float StageCoins;
extern float StageEnemiesSpawned;
extern float StageCoinsSpawned;
extern float StageClearExtra;
extern int StageClearSeconds;
extern int CoinsGot;
extern int CoinsUsed;
extern float CoinPickups;
extern int ClearTimeSec;
extern int GrazeCount;
extern int GrazeScore;
extern int GrazeCombo;
extern int GrazeComboTimer;
extern int NearBulletCount;
extern int HitsTaken;
extern float HitSlowdownCount;
inline float& PlayerHitTally = HitSlowdownCount;
extern int ContinuesUsed;
extern int Credits;
extern int KillChain;
extern int ChainScore;
extern int PowerModeBTimer;
inline int& ChainTimer = PowerModeBTimer;
extern int PowerKillScore;
extern int BurstKills;
extern int ChipCount;
extern int ChipExtendCount;
extern int ChipExtends;
extern int ExpCoinsGot;
extern int BssCoinsGot;
extern int SsUsed;
extern int BssUsed;
extern int SsBought;
extern int WispEraseCount;
extern int LastHitPanel[5];  // EXP, hit points left, score, coins, display timer
// Collision pass: the picture of the last enemy hit, for the last-hit panel.
extern int LastHitImageSet;
extern int LastHitImageCell;
// HUD: the timed notice, started when a stage starts; frames left.
extern int HudNoticeTimer;
extern int LiveObjectCount;
inline int& ActiveObjectCount = LiveObjectCount;
extern int MaxSpeed;
extern float SpeedGauge;
inline float& SpeedReadout = SpeedGauge;
constexpr int kBonusHistorySize = 37;
extern int BonusHistory[kBonusHistorySize];  // newest first

// Side notices: ten that bonuses compete for, and one for the notices that only a
// recording shows, so that a replay pays the same bonuses as its recording.
struct SideNotice {
  int timer;  // 400 when shown, 0 free; also the icon's alpha
  int icon;
  int value;
};
constexpr int kSideNoticeCount = 10;
constexpr int kRecordingNotice = kSideNoticeCount;
extern SideNotice SideNotices[kSideNoticeCount + 1];

struct ScorePopup {
  int divisor;  // shown value = value / divisor, counting down to 1; 0 = free
  int x, y;     // world position
  int value;
  int life;
};
constexpr int kScorePopupCount = 100;
extern ScorePopup ScorePopups[kScorePopupCount];

// ---------------------------------------------------------------------------------
// Player, loadout and upgrades
// ---------------------------------------------------------------------------------
extern int NShotType;   // ShotCode of the main shot: 10 x type + level
extern int TShotType;   // ShotCode of the second shot
extern int ShotLevel;
extern int TShotLevel;
extern int OptionType;  // 0 Trace, 1 Formation, 2 Rolling, 3 Guard
extern int OptionShot;  // 0 WizardSpike, 1 MithrilPoint, 2 LidlessWall, 3 WispProjector
extern int OptionLevel;
extern int SpeedLevel;
extern int TurboLevel;
extern int GuardHealLevel;
extern int StartStage;
extern int StartShotLevel;
extern int StartOptionLevel;
extern int StartSpeedLevel;
extern int StartTurboLevel;
extern int StartLevelUps;

extern int ShotReload;
extern int MainShotBurst;
extern int MainShotTimer;
extern int SubShotReload;
extern int SubShotBurst;
extern int SubShotTimer;
extern int ShotFiredFlag;

extern float BoostSpeed;
extern int BoostFactor;
extern int DashCooldown;
extern int TurboCharge;
extern int TurboChargeNeeded;
extern float GuardValue;
extern float GuardUses;
inline float& HitLevel = GuardUses;
extern int HitLevelLabel[4];  // shown flag, x, y, alpha
extern int FacingLock;
extern int FireIdleFrames;
extern int MagnetBonus;
inline int& PickupReach = MagnetBonus;
extern int CoinPullFlag;
inline int& PickupHomingFlag = CoinPullFlag;
extern int CoinPullFrames;
extern int PowerModeA;
extern int PowerModeB;
extern int QuickChargePerk;
inline int& BurstBonusFlag = QuickChargePerk;
extern int GuardDrainPerk;
extern int FullUpgradePerk;
extern int NoUpgradePerk;
extern int GuardStartPerk;
extern float InvulnFrames;
inline float& InvincibleTimer = InvulnFrames;
extern float BlinkPhase;
inline float& PlayerInvulnerableBlink = BlinkPhase;
extern int PlayerIdleTimer;
extern int WingShadowFadeDir;
constexpr int kTrailLength = 61;
extern float PlayerTrailX[kTrailLength];
extern float PlayerTrailY[kTrailLength];
extern int ManualShown;
extern int ManualImage;
// The playback speed keys: live hold counters of the ten buttons and of actions 5, 1,
// 2 and 3, apart from the replayed ones.
constexpr int kPlaybackButtons = 10;
constexpr int kPlaybackSpeedKeys = 4;
extern int PlaybackButtonHold[kPlaybackButtons];
extern int PlaybackKeyHold[kPlaybackSpeedKeys];
extern int VibrationLevel;
extern int FrameCycle4;      // 0..3, advanced by the HUD
extern int BehaviourParam80;
// Per-option counters of the option shots, indexed by the option's pool slot.
extern int OptionFireTimer[kLastOptionSlot + 1];
extern int OptionBurstLeft[kLastOptionSlot + 1];
extern int OptionBurstGap[kLastOptionSlot + 1];
extern float BossAimPoint[2];
inline float& BulletTargetX = BossAimPoint[0];
inline float& BulletTargetY = BossAimPoint[1];

// ---------------------------------------------------------------------------------
// Stage clear, tally and shop
// ---------------------------------------------------------------------------------
extern int ShopCursor[2];
extern float ShopEmblem[3];  // x, y, angle (also the tally's progress)
extern int ShotCost, OptionCost, SpeedCost, TurboCost, GuardHealCost;
extern int PendingCost;
extern int PaidSoFar;
extern int ShopTimer;
extern int TallyCount;
extern int TallyScoreCount;
constexpr int HudOverlayFlag = 0;
// Stage clear: the three decorations of the tally, placed at random with the emblem.
extern int ClearDecorations[3][2];  // x, y

// ---------------------------------------------------------------------------------
// Menus and screens
// ---------------------------------------------------------------------------------
struct MenuStateRecord {
  float page;
  float backdropTimer;
  float cursor;
  float backdropDarken;
  float blinkTimer;
  float fade;
  float skipIntro;
  float backdropOffsetY;
};
static_assert(sizeof(MenuStateRecord) == 32, "eight floats");
extern MenuStateRecord MenuState;
extern int MenuCursorY;
extern int PracticeCursorY;
extern int PracticeModeIndex;
extern int SecondShotCursor[2];
extern int OptionShotCursorX;
extern int OptionMoveCursorX;
extern int EndingReached;
extern int ConfigSubPage;
extern int ContinueCursor;
// Results: the name entry's letter on offer for the next place of the name.
extern int NameEntryLetter;

// ---------------------------------------------------------------------------------
// Resources: library handles (-1 = none loaded)
// ---------------------------------------------------------------------------------
constexpr int kSeCount = 120;
constexpr int kBgmChannels = 20;
constexpr int kImageSets = 58;
constexpr int kCellsPerSet = 100;
constexpr int kStageImageCount = 20;
constexpr int kDigitFonts = 4;
constexpr int kDigitCells = 10;

template <std::size_t N>
using HandleTable = std::array<int, N>;

// Single pictures loaded with the common images, by role.
enum CommonImage : int {
  kImagePausePanel,
  kImageLastLifeWarning,
  kImageHudBottomPanel,
  kImageHudExtraPanel,
  kImageHudCounterLabels,
  kImageHudTimedNotice,
  kImageLastHitFrame,
  kImageStage1Notice,
  kImageBackdropTile,
  kImageTallyPanel,
  kImageShopTile,
  kImageShopEmblem,
  kImageClearDecoration,
  kCommonImageCount,
};
// Pictures of the menus (reloaded with the title).
enum MenuImage : int {
  kImageWeaponFrame,
  kImageLoadoutBackdrop,
  kImageLoadoutStrip,
  kImageLogo,
  kImageNotice,
  kMenuImageCount,
};

extern HandleTable<kSeCount> SeHandles;
extern HandleTable<kBgmChannels> BgmHandles;
extern float BgmVolume[kBgmChannels];
extern int BgmFadeMode[kBgmChannels];
extern HandleTable<kImageSets * kCellsPerSet> SpriteHandles;
extern HandleTable<kStageImageCount> StageImages;
extern HandleTable<kDigitFonts * kDigitCells> DigitFonts;  // font k: cells 10 k .. 10 k + 9
inline int* const DigitFont0 = &DigitFonts[0];
inline int* const DigitFont1 = &DigitFonts[kDigitCells];
inline int* const DigitFont2 = &DigitFonts[2 * kDigitCells];
inline int* const DigitFont3 = &DigitFonts[3 * kDigitCells];
extern HandleTable<kCommonImageCount> CommonImages;
extern HandleTable<kMenuImageCount> MenuImages;
extern HandleTable<16> WeaponDescriptionImages;
extern HandleTable<4> OptionDescriptionImages;
extern HandleTable<3> Stage8CaptionImages;  // "StageTitle08-03" to "-05"
inline int* const RankingHeaderImages = &SpriteHandles[11 * kCellsPerSet];
inline int* const SideNoticeIcons = &SpriteHandles[41 * kCellsPerSet];
extern int DamageImage;
extern int DamageFlashPhase;
extern int DamageFlashTimer;
