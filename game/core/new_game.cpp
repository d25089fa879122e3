#include "core/new_game.h"

#include <algorithm>
#include <iterator>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/run_state.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

constexpr int kPlayerIdleStart = 23;
constexpr int kOptionTemplates[4] = {2152, 2153, 2154, 2155};

void SetUpPlayer(float y) {
  GameObject& player = ObjectPool[kPlayerSlot];
  player.state = kStateActive;
  player.layer = 6;
  player.x = 384.0f;
  player.y = y;
  player.vx = 0.0f;
  player.vy = 0.0f;
  player.collidable = 1;
  player.width = 64;
  player.height = 64;
  player.hitWidth = 4;
  player.hitHeight = 4;
  player.imageSet = 4;
  player.blendMode = 1;
  player.animation = 17;
  player.animTimer = 0;
  player.animStep = 0;
  player.facing = 0;
  player.fade = 0.0f;
  player.angle = 0.0f;
  player.scaleDelta = 0.0f;
  player.behaviour = 0;
  player.timer = 0;
  player.hitPoints = 0;
  player.group = 0;
  player.category = kCategoryPlayer;
  PlayerIdleTimer = kPlayerIdleStart;
}

// The ram object: the dragon's body as a player shot, switched on by the player
// control at high speed.
void SetUpRam() {
  GameObject& ram = ObjectPool[kRamSlot];
  ram.state = kStateFree;
  ram.layer = 7;
  ram.x = 0.0f;
  ram.y = 0.0f;
  ram.vx = 0.0f;
  ram.vy = 0.0f;
  ram.collidable = 1;
  ram.width = 64;
  ram.height = 64;
  ram.hitWidth = 64;
  ram.hitHeight = 64;
  ram.imageSet = 13;
  ram.blendMode = 2;
  ram.animation = 366;
  ram.facing = 0;
  ram.behaviour = 4124;
  ram.category = kCategoryPlayerShot;
  ram.attackPower = 5;
}

}  // namespace

void SetUpPlayerObjects(float y) {
  SetUpPlayer(y);
  SetUpRam();
  const GameObject& player = ObjectPool[kPlayerSlot];
  for (int i = 0; i < kTrailLength - 1; ++i) {
    PlayerTrailX[i] = player.x;
    PlayerTrailY[i] = player.y;
  }
}

void SetUpGroupParents() {
  ResetObject(kGroup1ParentSlot);
  ObjectPool[kGroup1ParentSlot].group = 1;
  ResetObject(kGroup2ParentSlot);
  ObjectPool[kGroup2ParentSlot].group = 2;
  ResetObject(kWingShadowSlot);
}

void CreateOptionObjects() {
  const GameObject& player = ObjectPool[kPlayerSlot];
  for (int level = 0; level < OptionLevel && level < 4; ++level) {
    CreateObject(kOptionTemplates[level], FloatToInt(player.x), FloatToInt(player.y), 0, 0);
  }
}

void NewGameInit() {
  SeedRandom(0);
  ClearRunState();
  ClearRunControlState();
  if (VSyncOffOption == 0) SetSyncToVBlank(1);
  FrameWaitOffset = 0;
  for (int action = 0; action < kActionCount; ++action) {
    ActiveKeyMap[action] = ReplayMode == kReplayPlayback ? ReplayHeader.keyMap[action] : KeyConfig[action];
  }

  // Every game starts from the same pool, whatever the last one left: ResetObject keeps
  // a slot's category and attack power, so the whole pool is cleared first.
  std::fill(std::begin(ObjectPool), std::end(ObjectPool), GameObject{});
  for (int slot = 0; slot < kPoolSize; ++slot) ResetObject(slot);
  CameraX = 0.0f;
  CameraY = 0.0f;
  SetUpPlayerObjects(270.0f);
  for (int slot = kFirstOptionSlot; slot <= kLastOptionSlot; ++slot) ResetObject(slot);
  for (SideNotice& notice : SideNotices) notice = SideNotice{};
  SetUpGroupParents();

  Credits = PracticeFlag != 0 ? 0 : 2;
  Scene = kSceneTitle;
  Stage = StartStage;
  Coins = 100.0f;
  TitleCardActive = 1;
  StageTimeline = 0;
  StageTimeline2 = 0;
  Lives = 3.0f;
  Level = 1.0f;
  GuardValue = 0.0f;

  SetUpStartUpgrades();

  HudAlpha = 0;
  StageStarted = 1;
  for (ScorePopup& popup : ScorePopups) popup = ScorePopup{};
  ClearStageEventState();
}

void SetUpStartUpgrades() {
  ShotLevel = StartShotLevel;
  NShotType += StartShotLevel - 1;
  TShotLevel = StartShotLevel;
  TShotType += StartShotLevel - 1;
  OptionLevel = StartOptionLevel;
  CreateOptionObjects();
  SpeedLevel = StartSpeedLevel;
  TurboLevel = StartTurboLevel;
  GuardHealLevel = 1;
  LevelUpCount = StartLevelUps;
}

void ResetModeState() {
  ReplayMode = kReplayOff;
  ReplaySlot = 0;
  ReplayFrameCount = 0;
  ReplayPosition = 0;
  PlaybackEndDue = 0;
  ReplayHeader = ReplayHeaderRecord{};
  PracticeFlag = 0;
  ClearRunState();
  ClearRunControlState();
  MenuState.page = 0.0f;
  MenuState.backdropTimer = 0.0f;
  MenuState.cursor = 0.0f;
  MenuState.backdropDarken = 0.0f;

  Credits = 2;
  StartStage = 1;
  StartShotLevel = 1;
  StartOptionLevel = 0;
  StartSpeedLevel = 1;
  StartTurboLevel = 1;
  StartLevelUps = 1;
  ShotLevel = 1;
  TShotLevel = 1;
  SpeedLevel = 1;
  TurboLevel = 1;
  GuardHealLevel = 1;
  TurboChargeNeeded = 150;
  OptionShotCursorX = 256;
  OptionMoveCursorX = 256;
}
