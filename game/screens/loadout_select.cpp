// The loadout select: main shot, second shot, option shot and option movement, row by
// row, with a live preview of the highlighted shot; its last decide fades to white
// and starts play, recorded outside practice.
#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/replay_files.h"
#include "core/resource_loaders.h"
#include "core/save_counts.h"
#include "core/sound_control.h"
#include "core/game_rules.h"
#include "float_to_int.h"
#include "game_library.h"
#include "objects/objects.h"
#include "screens/menu_common.h"
#include "screens/screens.h"

namespace {

constexpr int kPartsSet = 5 * kCellsPerSet;
constexpr int kLockCell = 18;
constexpr int kCursorStep = 128;
constexpr int kLastCursorX = 640;
constexpr int kFirstOptionCursorX = 256;
constexpr int kVariantY = 30;
constexpr int kStartFade = 4;

// Unlock thresholds of the base shots, option shots and option movements.
constexpr int kShotUnlock[kShotTypes] = {0, 0, 999, 999, 12, 999};
constexpr int kOptionShotUnlock[4] = {0, 4, 999, 999};
constexpr int kOptionMoveUnlock[4] = {0, 20, 999, 999};

// The preview of a shot code (types 1 to 12 at level 0): reload countdown step, reload
// and burst.
struct Preview {
  int step, reload, burst;
};
constexpr Preview kPreviews[12] = {{2, 30, 2}, {5, 60, 3}, {1, 3, 1},  {1, 35, 2}, {1, 2, 1},  {1, 60, 1},
                                   {3, 30, 2}, {5, 60, 3}, {1, 3, 1}, {1, 40, 2}, {1, 38, 8}, {1, 30, 1}};

int Part(int cell) { return SpriteHandles[kPartsSet + cell]; }

int CodeOf(const int cursor[2]) { return 10 * (cursor[0] / kCursorStep + 1) + 60 * (cursor[1] / kVariantY); }
int OptionIndex(int cursorX) { return (cursorX - kFirstOptionCursorX) / kCursorStep; }

bool TypeUnlocked(int type) {
  if (type >= 1 && type <= kShotTypes) return TotalLevel >= kShotUnlock[type - 1];
  if (type > kShotTypes && type <= 2 * kShotTypes) return VariantShotFlags[type - kShotTypes - 1] == 1;
  return false;
}
bool CursorUnlocked(const int cursor[2]) { return TypeUnlocked(CodeOf(cursor) / 10); }
bool OptionShotUnlocked() { return TotalLevel >= kOptionShotUnlock[OptionIndex(OptionShotCursorX)]; }
bool OptionMoveUnlocked() { return TotalLevel >= kOptionMoveUnlock[OptionIndex(OptionMoveCursorX)]; }

void StopPreview() {
  MainShotBurst = 0;
  ShotReload = 20;
}

void DrawIcons() {
  for (int n = 1; n <= kShotTypes; ++n) {
    DrawGraphAt(128 * n, 462, Part(TypeUnlocked(n) ? 9 + n : kLockCell), 1);
    DrawGraphAt(128 * n, 462, Part(VariantShotFlags[n - 1] == 1 ? 9 : 19), 1);
  }
  for (int k = 0; k < 4; ++k) {
    const int x = 384 + 128 * k;
    if (TotalLevel >= kOptionShotUnlock[k]) {
      DrawGraphAt(x, 592, Part(20 + k), 1);
    } else {
      DrawGraphAt(x, 580, Part(kLockCell), 1);
    }
    if (TotalLevel >= kOptionMoveUnlock[k]) {
      DrawGraphAt(x, 597, Part(24 + k), 1);
    } else {
      DrawGraphAt(x, 622, Part(kLockCell), 1);
    }
  }
}

void DrawCursorPair(int firstCell, int x, int y) {
  DrawGraphAt(x + 64, y, Part(firstCell), 1);
  DrawGraphAt(x + 192, y, Part(firstCell + 1), 1);
}

void DrawCursors() {
  if (SelectFrame == 0) {
    DrawCursorPair(0, ShopCursor[0], ShopCursor[1] + 458);
    DrawCursorPair(0, 254, -10);
    return;
  }
  if (SelectFrame == 1) DrawCursorPair(2, 454, -10);
  DrawCursorPair(0, ShopCursor[0], ShopCursor[1] + 458);
  DrawCursorPair(2, SecondShotCursor[0], SecondShotCursor[1] + 458);
  if (SelectFrame == 1) return;
  DrawCursorPair(0, OptionShotCursorX, 585);
  ShotReload = 100;
  if (SelectFrame == 2) return;
  DrawCursorPair(2, OptionMoveCursorX, 619);
  MainShotBurst = 0;
}

void RunPreview() {
  if (SelectFrame >= 3) return;
  const int code = SelectFrame == 0 ? NShotType : TShotType;
  if (code % 10 != 0 || code < 10 || code > 120) return;
  if (!TypeUnlocked(code / 10)) {
    StopPreview();
    return;
  }
  const Preview& preview = kPreviews[code / 10 - 1];
  if (ShotReload > 0) ShotReload -= preview.step;
  if (ShotReload < 1) {
    ShotReload = preview.reload;
    MainShotBurst = preview.burst;
  }
}

void MoveShotCursor(int cursor[2]) {
  if (Up() && cursor[1] == kVariantY) cursor[1] = 0;
  if (Down() && cursor[1] == 0) cursor[1] = kVariantY;
  if (Left() && cursor[0] != 0) cursor[0] -= kCursorStep;
  if (Right() && cursor[0] != kLastCursorX) cursor[0] += kCursorStep;
}

void MoveOptionCursor(int& cursorX) {
  if (Left() && cursorX != kFirstOptionCursorX) cursorX -= kCursorStep;
  if (Right() && cursorX != kLastCursorX) cursorX += kCursorStep;
}

void MoveCursors() {
  if (!Up() && !Down() && !Left() && !Right()) return;
  if (SelectFrame == 0) MoveShotCursor(ShopCursor);
  if (SelectFrame == 1) MoveShotCursor(SecondShotCursor);
  if (SelectFrame == 2) MoveOptionCursor(OptionShotCursorX);
  if (SelectFrame == 3) MoveOptionCursor(OptionMoveCursorX);
  StopPreview();
}

bool Decided() { return ActionHold[kActionFire] == 1 || ActionHold[kActionSpecial] == 1; }

// Tested from the last row to the first, so one press advances one row.
void DecideRow() {
  if (!Decided()) return;
  if (SelectFrame == 3) {
    StopPreview();
    if (OptionMoveUnlocked()) {
      OptionType = OptionIndex(OptionMoveCursorX);
      SelectFrame = kStartFade;
      PlayMenuSe(kSeGameStart);
    }
  }
  if (SelectFrame == 2 && OptionShotUnlocked()) {
    OptionShot = OptionIndex(OptionShotCursorX);
    SelectFrame = 3;
    PlayMenuSe(kSeDecide);
  }
  if (SelectFrame == 1) {
    StopPreview();
    if (CursorUnlocked(SecondShotCursor)) {
      SelectFrame = 2;
      PlayMenuSe(kSeDecide);
    }
  }
  if (SelectFrame == 0 && CursorUnlocked(ShopCursor)) {
    SelectFrame = 1;
    PlayMenuSe(kSeDecide);
  }
}

void BackToTitle() {
  SetBgmFade(0, kFadeIn);
  SetBgmFade(1, kFadeOutStopFast);
  PlayMenuSe(kSeBack);
  Scene = kSceneTitle;
  MenuState.page = 9.0f;
  MenuState.fade = 0.0f;
  MenuState.cursor = 0.0f;
  ShopCursor[0] = ShopCursor[1] = 0;
  if (PracticeFlag != 1) return;
  PracticeFlag = 0;
  PracticeCursorY = 0;
  PracticeModeIndex = 0;
  StartStage = StartShotLevel = StartSpeedLevel = StartTurboLevel = StartLevelUps = 1;
  StartOptionLevel = 0;  // the practice page's own reset value
}

void CancelRow() {
  if (ActionHold[kActionSecond] != 1) return;
  for (int row = 3; row >= 1; --row) {
    if (SelectFrame != row) continue;
    StopPreview();
    SelectFrame = row - 1;
    ActionHold[kActionSecond] += 1;
    PlayMenuSe(kSeBack);
    if (row == 1) NShotType = TShotType = 0;
    return;
  }
  if (SelectFrame == 0) BackToTitle();
}

void DrawPanel(int handle, int x, int y) { DrawGraphRotated(x, y, 1.0, 0.0, handle, 1, 0); }

void DrawExplanation() {
  const int* cursor = SelectFrame == 0 ? ShopCursor : SecondShotCursor;
  if (SelectFrame <= 1 && CursorUnlocked(cursor)) {
    DrawPanel(WeaponDescriptionImages[2 * (cursor[0] / kCursorStep) + cursor[1] / kVariantY], 220, 410);
  } else if (SelectFrame == 2 && OptionShotUnlocked()) {
    DrawPanel(WeaponDescriptionImages[12 + OptionIndex(OptionShotCursorX)], 220, 410);
  } else if (SelectFrame == 3 && OptionMoveUnlocked()) {
    DrawPanel(OptionDescriptionImages[OptionIndex(OptionMoveCursorX)], 140, 400);
  }
}

void FreeSelectPictures() {
  for (int role : {kImageWeaponFrame, kImageLoadoutBackdrop, kImageLoadoutStrip, kImageLogo, kImageNotice}) {
    FreePicture(MenuImages[role]);
  }
  FreePicture(StageImages[kPictureControls]);
  for (int set : {11, 8, 10}) {
    for (int cell = 0; cell < kCellsPerSet; ++cell) FreePicture(SpriteHandles[set * kCellsPerSet + cell]);
  }
  for (int& handle : WeaponDescriptionImages) FreePicture(handle);
  for (int& handle : OptionDescriptionImages) FreePicture(handle);
}

void StartRecording() {
  ReplayHeader.optionType = OptionType;
  ReplayHeader.optionShot = OptionShot;
  ReplayHeader.mainShot = NShotType;
  ReplayHeader.secondShot = TShotType;
  ReplayHeader.gameMode = GameMode;
  for (int action = 0; action < kActionCount; ++action) ReplayHeader.keyMap[action] = ActiveKeyMap[action];
  SavedFacingLockControl = FacingLockControl;
  ReplayMode = kReplayRecording;
  WatchingReplay = 0;
  BeginReplayIo();
}

// Runs that are not recorded start from fixed upgrade levels.
void ApplyUnrecordedPresets() {
  if (RecordOptionA == 0) {
    StartShotLevel = 2, StartOptionLevel = 0, StartSpeedLevel = 2, StartTurboLevel = 2, StartLevelUps = 3;
  }
  if (RecordOptionB == 0) {
    StartShotLevel = 4, StartOptionLevel = 4, StartSpeedLevel = 4, StartTurboLevel = 4, StartLevelUps = 6;
  }
}

void StartPlay() {
  NewGameInit();
  Scene = kScenePlay;
  ClearStageEventState();
  EndFadeTimer = 255;
  FreeSelectPictures();
  FreeStageImages();
  LoadStageResources(Stage);
  ObjectPool[kPlayerSlot].y = static_cast<float>(320.0 + 650.1);
  CameraY = static_cast<float>(CameraY + 650.1);
  TotalLevel = SumOfCounts({TotalLevel, -1});
  FreeBgmChannel(0);
  FreeBgmChannel(1);
  if (GameMode >= 0 && GameMode < kGameModeCount) PlayCount[GameMode] = SumOfCounts({PlayCount[GameMode], 1});
  // Play counts its input from nothing, as a playback of it will.
  ClearInputHoldCounters();
  if (PracticeFlag != 0) return;
  StartRecording();
  ApplyUnrecordedPresets();
  SetUpStartUpgrades();
}

void StepStartFade() {
  if (SelectFrame < kStartFade) return;
  SetBgmFade(0, kFadeOutStopFast);
  SetBgmFade(1, kFadeOutStopFast);
  SelectFrame += 1;
  SetBlendMode(kBlendAlpha, 2 * SelectFrame);
  FillScreen(255, 255, 255);
  if (SelectFrame > 200) StartPlay();
}

}  // namespace

void UpdateLoadoutSelect() {
  SetBlendMode(kBlendAlpha, 255);
  DrawGraphAt(0, 0, MenuImages[kImageWeaponFrame], 1);
  SetBlendMode(kBlendAdd, 255);
  DrawIcons();
  DrawCursors();
  RunPreview();
  MoveCursors();
  if (SelectFrame == 0) {
    NShotType = CodeOf(ShopCursor);
  } else {
    TShotType = CodeOf(SecondShotCursor);
  }
  DecideRow();
  CancelRow();
  SetBlendMode(kBlendAdd, 255);
  DrawExplanation();
  DrawLowFrameRateNotice();
  StepStartFade();
  MenuState.fade -= 15.0f;
  Blend(kBlendAlpha, MenuState.fade);
  FillScreen(255, 255, 255);
}
