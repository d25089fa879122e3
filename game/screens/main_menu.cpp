// The main menu: its slide-in, the seven items behind their gates with the info
// panel, and the pages that leave it: game start, back to the title, the saving exit
// and the manual.
#include <climits>

#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/resource_loaders.h"
#include "core/save_counts.h"
#include "core/save_data.h"
#include "core/sound_control.h"
#include "float_to_int.h"
#include "game_library.h"
#include "screens/menu_common.h"

namespace {

constexpr int kItemStep = 26;
constexpr int kItemCount = 7;
constexpr int kLabelSet = 8 * kCellsPerSet;
constexpr int kLockedLabel = 0;
constexpr int kCursorBarLabel = 9;
constexpr int kNoGate = INT_MIN;

void StartMode(int mode) {
  GameMode = mode;
  MenuState.fade = 0.0f;
  MenuState.page = 12.0f;
  SetBgmFade(0, kFadeDown);
  SetBgmFade(1, kFadeFull);
  PlayMenuSe(kSeGameStart);
}

void OpenPage(int page, int se) {
  MenuState.page = static_cast<float>(page);
  MenuState.fade = 0.0f;
  MenuState.cursor = 0.0f;
  PlayMenuSe(se);
}

struct MenuItem {
  int labelCell;
  int unlockLevel;
  void (*decide)();
};

constexpr MenuItem kMenuItems[kItemCount] = {
    {1, kNoGate, [] { StartMode(0); }},
    {2, ModeUnlockLevel1, [] { StartMode(1); }},
    {3, ModeUnlockLevel2, [] { StartMode(2); }},
    {5, PracticeUnlockLevel, [] { OpenPage(16, kSeDecide); }},
    {6, kNoGate,
     [] {
       OpenPage(13, kSeDecide);
       MenuCursorY = 143;
     }},
    {7, kNoGate, [] { OpenPage(7, kSeDecide); }},
    {8, kNoGate,
     [] {
       QuitRequest = 1;
       PlayMenuSe(kSeDecide);
     }},
};

bool Unlocked(const MenuItem& item) { return item.unlockLevel == kNoGate || TotalLevel >= item.unlockLevel; }

int LabelOf(int item) { return SpriteHandles[kLabelSet + (Unlocked(kMenuItems[item]) ? kMenuItems[item].labelCell : kLockedLabel)]; }

int ItemUnderCursor() { return FloatToInt(MenuState.cursor) / kItemStep; }

// The frame, labels, lines and cursor bar of the standing menu (pages 6 and 12).
void DrawStandingMenu() {
  DrawMenuFrame(255.0);
  for (int item = 0; item < kItemCount; ++item) DrawGraphAt(130, 510 + kItemStep * item, LabelOf(item), 1);
  DrawMenuLines(100.0, 475.0, 735.0);
  Blend(kBlendAlpha, 255.0);
  DrawGraphAt(130, 510 + FloatToInt(MenuState.cursor), SpriteHandles[kLabelSet + kCursorBarLabel], 1);
}

void SlideInPage() {
  MenuState.blinkTimer += 15.0f;
  if (MenuState.fade > 0.0f) MenuState.fade -= 1.0f;
  BackdropStep();
  const float alpha = MenuState.cursor += 15.0f;
  const double fade = MenuState.fade;
  DrawMenuFrame(alpha);
  constexpr double kLabelSpeed[kItemCount] = {0.5, 1, 2, 3, 4, 5, 6};
  for (int item = 0; item < kItemCount; ++item) {
    DrawGraphAt(130, DoubleToInt(510 + kItemStep * item - kLabelSpeed[item] * fade), LabelOf(item), 1);
  }
  DrawMenuLines(alpha / 3.0, 475.0 - 1.5 * fade, 735.0 + 1.5 * fade);
  if (MenuState.fade == 0.0f) {
    MenuState.page = 6.0f;
    MenuState.fade = 0.0f;
    MenuState.cursor = 0.0f;
    PracticeCursorY = 0;
    ResetPracticeValues();
  }
}

// Drawn in the blend the controls picture left: added at 140.
void DrawInfoPanel() {
  const int item = ItemUnderCursor();
  if (item <= 2 && Unlocked(kMenuItems[item])) {
    DrawTitlePicture(kPictureModePanel, 430, 500);
    DrawNumberRight(867, 511, TotalLevel, 2);
    DrawNumberRight(867, 543, PlayCount[item], 2);
    DrawNumberRight(821, 568, PlayFrames[item] / 3600, 2);
  } else if (MenuState.cursor == 130.0f) {
    DrawTitlePicture(kPictureTotalPanel, 430, 500);
    DrawNumberRight(867, 511, TotalLevel, 2);
    DrawNumberRight(867, 543, SumOfCounts({PlayCount[0], PlayCount[1], PlayCount[2], PlayCount[3]}), 2);
    DrawNumberRight(821, 568, PlayFrames[0] / 3600 + PlayFrames[1] / 3600 + PlayFrames[2] / 3600, 2);
  }
}

void MainMenuPage() {
  MenuState.blinkTimer += 15.0f;
  BackdropStep();
  DrawStandingMenu();
  Blend(kBlendAdd, 140.0);
  DrawTitlePicture(kPictureControls, 0, 340);
  if (Decide()) {
    const MenuItem& item = kMenuItems[ItemUnderCursor()];
    if (Unlocked(item)) item.decide();
  } else if (Down()) {
    MenuState.cursor += kItemStep;
    if (MenuState.cursor == kItemStep * kItemCount) MenuState.cursor = 0.0f;
    PlayMenuSe(kSeCursor);
  } else if (Up()) {
    MenuState.cursor -= kItemStep;
    if (MenuState.cursor == -kItemStep) MenuState.cursor = kItemStep * (kItemCount - 1);
    PlayMenuSe(kSeCursor);
  } else if (Back()) {
    OpenPage(10, kSeBack);
  } else if (ManualKey()) {
    ActionHold[kActionFacing] += 1;
    MenuState.page = 20.0f;
    ManualImage = LoadGraphFile("data\\image011\\Manual01.png");
  }
  DrawInfoPanel();
  DrawLowFrameRateNotice();
}

void SavingExitPage() {
  BackdropStep();
  MenuState.fade += 15.0f;
  Blend(kBlendAlpha, 180.0 - MenuState.fade);
  FillScreen(0, 0, 0);
  if (MenuState.fade >= 200.0f) {
    SlideIntoMenu();
    MenuState.skipIntro = 0.0f;
    WriteSaveData();
    NewGameInit();
  }
}

void BackToTitlePage() {
  BackdropStep();
  const float fade = MenuState.fade += 15.0f;
  DrawMenuFrame(255.0 - fade);
  DrawMenuLines(100.0 - fade, 475.0 - fade / 8.0, 735.0 + fade / 8.0);
  if (fade >= 300.0f) {
    MenuState.fade = 0.0f;
    MenuState.page = 11.0f;
    MenuState.skipIntro = 0.0f;
    MenuState.blinkTimer = 101.0f;
  }
}

void GameStartPage() {
  BackdropStep();
  DrawStandingMenu();
  const float fade = MenuState.fade += 15.0f;
  Blend(kBlendAlpha, fade);
  FillScreen(255, 255, 255);
  if (fade > 260.0f) Scene = kSceneLoadout;
}

void ManualPage() {
  BackdropStep();
  MenuState.fade += 15.0f;
  Blend(kBlendAlpha, 255.0);
  DrawGraphAt(0, 0, ManualImage, 1);
  if (ManualKey()) {
    FreePicture(ManualImage);
    MenuState.fade = 0.0f;
    MenuState.page = 9.0f;
    PlayMenuSe(kSeBack);
  }
}

}  // namespace

void RunMainMenuPage(int page) {
  switch (page) {
    case 5: SlideInPage(); break;
    case 6: MainMenuPage(); break;
    case 9: SavingExitPage(); break;
    case 10: BackToTitlePage(); break;
    case 12: GameStartPage(); break;
    case 20: ManualPage(); break;
    default: break;
  }
}
