// The practice set-up: game mode, start stage and the start values of five upgrade
// tracks, then a practice run through the loadout select.
#include "core/game_state.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "screens/menu_common.h"

namespace {

constexpr int kModeRow = 122;
constexpr int kStartRow = 372;
constexpr int kBackRow = 526;
constexpr int kRowOrder[] = {122, 172, 222, 247, 272, 297, 322, 372, 526};

// A value row: its range; right past the top wraps to `rightWrap`, left past the
// bottom to the top. The number is shown at (675, shownY).
struct ValueRow {
  int row;
  int* value;
  int low, high, rightWrap;
  int shownY;
};
const ValueRow kValueRows[] = {
    {kModeRow, &PracticeModeIndex, 0, 2, 0, 0},
    {172, &StartStage, 1, 9, 1, 224},
    {222, &StartShotLevel, 1, 4, 1, 274},
    {247, &StartOptionLevel, 0, 4, 1, 299},
    {272, &StartSpeedLevel, 1, 9, 1, 324},
    {297, &StartTurboLevel, 1, 9, 1, 349},
    {322, &StartLevelUps, 0, 8, 0, 374},
};

void ResetToPracticeEntry() {
  ResetPracticeValues();
  GameMode = 0;
}

void ToPracticePage() {
  BackdropStep();
  const float fade = MenuState.fade += 15.0f;
  DrawMenuFrame(255.0 - fade);
  DrawMenuLines(100.0 - fade, 475.0, 735.0);
  if (fade >= 260.0f) {
    MenuState.page = 17.0f;
    MenuState.fade = 0.0f;
    MenuState.cursor = 0.0f;
    PracticeCursorY = kModeRow;
    ResetToPracticeEntry();
  }
}

void ChangeValue(const ValueRow& row) {
  int& value = *row.value;
  if (Right()) {
    value = value + 1 > row.high ? row.rightWrap : value + 1;
  } else if (Left()) {
    value = value - 1 < row.low ? row.high : value - 1;
  }
  if (row.value == &PracticeModeIndex) GameMode = PracticeModeIndex;
}

void StartPractice() {
  PracticeFlag = 1;
  Scene = kSceneLoadout;
  MenuState.fade = 150.0f;
  SetBgmFade(0, kFadeDown);
  if (BgmHandles[1] != kNoHandle) StartSound(BgmHandles[1], 3, 1);
  BgmVolume[1] = 255.0f;
  if (BgmHandles[1] != kNoHandle) SetSoundVolume(255, BgmHandles[1]);
}

void BackFromPractice() {
  MenuState.page = 9.0f;
  MenuState.fade = 0.0f;
  MenuState.cursor = 0.0f;
  PracticeFlag = 0;
  PracticeCursorY = 0;
  ResetToPracticeEntry();
  PlayMenuSe(kSeBack);
}

void PracticePage() {
  BackdropStep();
  const float fade = MenuState.fade += 15.0f;
  Blend(kBlendAlpha, fade);
  DrawTitlePicture(kPicturePractice, 0, -40);
  for (const ValueRow& row : kValueRows) {
    if (row.shownY != 0) DrawFormattedText(675, row.shownY, White(), "%d", *row.value);
  }
  Blend(kBlendAdd, fade);
  DrawTitlePicture(kPictureRowBar, 0, PracticeCursorY + 44);
  DrawGraphAt(517 + 100 * PracticeModeIndex, 116, SelectionMarker(), 1);
  MoveAlongRows(PracticeCursorY, kRowOrder);
  if (Decide() && PracticeCursorY == kStartRow) StartPractice();
  if (Decide() && PracticeCursorY == kBackRow) BackFromPractice();
  for (const ValueRow& row : kValueRows) {
    if (PracticeCursorY == row.row) ChangeValue(row);
  }
}

}  // namespace

void RunPracticePage(int page) {
  switch (page) {
    case 16: ToPracticePage(); break;
    case 17: PracticePage(); break;
    default: break;
  }
}
