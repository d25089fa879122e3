// The options: sub-page 0 with the display and control settings and the key
// configuration of the five actions, sub-page 1 with twelve settings behind their
// total-level gates. Leaving goes through the saving exit.
#include <array>
#include <span>

#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "float_to_int.h"
#include "game_library.h"
#include "screens/menu_common.h"

namespace {

constexpr int kSwitchRow = 33;
constexpr int kLabelSet = 10 * kCellsPerSet;
constexpr int kLockedLabel = 17;

// A setting row of sub-page 0: its values left to right, where the marker stands
// for each, and whether left and right toggle two values or step without wrapping.
struct SettingRow {
  int row;
  int* setting;
  int markerY;
  int valueCount;
  std::array<int, 3> values;
  std::array<int, 3> markerX;
};
constexpr std::array<int, 3> kTwoPlaces = {517, 712, 0};
constexpr std::array<int, 3> kThreePlaces = {479, 621, 763};

const SettingRow kSettingRows[] = {
    {72, &WindowedOption, 67, 2, {0, 1, 0}, kTwoPlaces},
    {122, &ColourDepthOption, 117, 2, {0, 1, 0}, kTwoPlaces},
    {347, &VSyncOffOption, 343, 2, {0, 1, 0}, kTwoPlaces},
    {403, &FacingLockControl, 399, 3, {0, 1, 2}, kThreePlaces},
    {461, &SlowdownOption, 457, 3, {0, 2, 1}, kThreePlaces},
    {495, &VibrationOption, 491, 3, {0, 1, 2}, kThreePlaces},
    {548, &LightMode, 544, 2, {0, 1, 0}, kTwoPlaces},
};
constexpr int kFirstKeyRow = 197;
constexpr int kKeyRowStep = 25;
constexpr int kBackRow0 = 624;
constexpr int kRowOrder0[] = {33, 72, 122, 197, 222, 247, 272, 297, 347, 403, 461, 495, 548, 624};

// Sub-page 1: twelve on/off settings at rows 72 to 347, each behind a total level.
struct GatedSetting {
  int* setting;
  int unlockLevel;
};
const GatedSetting kGatedSettings[] = {
    {&BackdropLayerOff, 16}, {&MiniMapOff, 999},      {&HitBoxOverlayOff, 999}, {&TitleImageVariant, 999},
    {&DangerOverlayOff, 999}, {&HudCountersOff, 999}, {&HudPanelImageOff, 8},   {&HudNoticeOff, 999},
    {&DamageFlashOff, 999},  {&EnemyHighlightOff, 999}, {&RecordOptionA, 999},  {&RecordOptionB, 999},
};
constexpr int kGatedCount = static_cast<int>(std::size(kGatedSettings));
constexpr int kFirstGatedRow = 72;
constexpr int kGatedRowStep = 25;
constexpr int kBackRow1 = 526;
constexpr int kRowOrder1[] = {33, 72, 97, 122, 147, 172, 197, 222, 247, 272, 297, 322, 347, 526};

constexpr int kRumblePad = 1;
constexpr int kRumbleMs = 600;
constexpr int kRumblePowerPerStep = 500;

void LeaveOnDecide(int backRow) {
  if (MenuCursorY != backRow || !Decide()) return;
  MenuState.page = 9.0f;
  MenuState.fade = 0.0f;
  MenuState.cursor = 0.0f;
  PlayMenuSe(kSeBack);
}

void Toggle(int& setting) {
  if (setting == 0 || setting == 1) setting = 1 - setting;
}

int IndexOf(const SettingRow& row, int value) {
  for (int i = 0; i < row.valueCount; ++i) {
    if (row.values[i] == value) return i;
  }
  return -1;
}

// Left or right on a setting row; the vibration gives a test rumble at its new power.
void ChangeSetting(const SettingRow& row) {
  if (!Left() && !Right()) return;
  int& setting = *row.setting;
  if (row.valueCount == 2) {
    Toggle(setting);
    return;
  }
  const int index = IndexOf(row, setting);
  if (index < 0) return;
  const int next = Right() ? index + 1 : index - 1;
  if (next < 0 || next >= row.valueCount) return;
  setting = row.values[next];
  if (row.setting == &VibrationOption && setting > 0) {
    StartPadRumble(kRumblePad, kRumblePowerPerStep * setting, kRumbleMs);
  }
}

// A single pad button held on a key row becomes that action's button; the action that
// had it takes the old one.
void AssignHeldButton() {
  const int pressed = ReadPadBits(kPadWithKeyboard);
  for (int action = 0; action < kActionCount; ++action) {
    if (MenuCursorY != kFirstKeyRow + kKeyRowStep * action || !IsButtonBit(pressed)) continue;
    AssignKey(pressed, KeyConfig[action]);
    KeyConfig[action] = pressed;
  }
}

void SubPage0() {
  DrawTitlePicture(kPictureOptions0, 0, -40);
  DrawGraphAt(176, 27, SelectionMarker(), 1);
  for (const SettingRow& row : kSettingRows) {
    const int index = IndexOf(row, *row.setting);
    if (index >= 0) DrawGraphAt(row.markerX[index], row.markerY, SelectionMarker(), 1);
  }
  DrawTitlePicture(kPictureRowBar, 0, MenuCursorY + 44);
  DrawFormattedText(850, 700, White(), "Ver 0.92");
  MoveAlongRows(MenuCursorY, kRowOrder0);
  if (MenuCursorY == kSwitchRow && (Left() || Right())) ConfigSubPage = 1;
  for (const SettingRow& row : kSettingRows) {
    if (MenuCursorY == row.row) ChangeSetting(row);
  }
  LeaveOnDecide(kBackRow0);
  // Drawn before the pad is read: a new assignment shows from the next frame.
  for (int action = 0; action < kActionCount; ++action) {
    DrawButtonNumber(KeyConfig[action], 575, 248 + kKeyRowStep * action);
  }
  AssignHeldButton();
}

bool Unlocked(const GatedSetting& gated) { return TotalLevel >= gated.unlockLevel; }

void SubPage1() {
  DrawTitlePicture(kPictureOptions1, 0, -40);
  DrawGraphAt(292, 27, SelectionMarker(), 1);
  for (int k = 0; k < kGatedCount; ++k) {
    const bool unlocked = Unlocked(kGatedSettings[k]);
    DrawGraphAt(198, 117 + kGatedRowStep * k, SpriteHandles[kLabelSet + (unlocked ? k : kLockedLabel)], 1);
    const int value = *kGatedSettings[k].setting;
    if (unlocked && (value == 0 || value == 1)) {
      DrawGraphAt(kTwoPlaces[value], 67 + kGatedRowStep * k, SelectionMarker(), 1);
    }
  }
  DrawTitlePicture(kPictureRowBar, 0, MenuCursorY + 44);
  MoveAlongRows(MenuCursorY, kRowOrder1);
  if (MenuCursorY == kSwitchRow && (Left() || Right())) ConfigSubPage = 0;
  for (int k = 0; k < kGatedCount; ++k) {
    if (MenuCursorY == kFirstGatedRow + kGatedRowStep * k && Unlocked(kGatedSettings[k]) && (Left() || Right())) {
      Toggle(*kGatedSettings[k].setting);
    }
  }
  if (RecordOptionA == 0 || RecordOptionB == 0) {
    DrawFormattedText(650, 700, White(), "リプレイ・ランキングの記録はオフになります");
  }
  LeaveOnDecide(kBackRow1);
}

void ToOptionsPage() {
  BackdropStep();
  const float fade = MenuState.fade += 15.0f;
  DrawMenuFrame(255.0 - fade);
  DrawMenuLines(100.0 - fade, 475.0, 735.0);
  Blend(kBlendAlpha, fade - 255.0);
  FillScreen(0, 0, 0);
  if (fade >= 420.0f) {
    MenuState.page = 8.0f;
    MenuState.fade = 0.0f;
    MenuState.cursor = 0.0f;
    MenuCursorY = kSwitchRow;
  }
}

void OptionsPage() {
  BackdropStep();
  Blend(kBlendAlpha, 165.0);
  FillScreen(0, 0, 0);
  Blend(kBlendAdd, 255.0);
  // One sub-page a frame: a switch shows the other from the next frame.
  if (ConfigSubPage == 1) {
    SubPage1();
  } else if (ConfigSubPage == 0) {
    SubPage0();
  }
}

}  // namespace

void RunOptionsPage(int page) {
  switch (page) {
    case 7: ToOptionsPage(); break;
    case 8: OptionsPage(); break;
    default: break;
  }
}
