// The title sequence: logo, notice, title build-up, the title picture with its
// blinking prompt (also after a cancel from the menu), and the fade towards the menu.
#include <algorithm>
#include <span>

#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/resource_table.h"
#include "core/sound_control.h"
#include "float_to_int.h"
#include "game_library.h"
#include "screens/menu_common.h"
#include "screens/screens.h"

namespace {

constexpr int kPlayLoop = 3;
constexpr int kSkipButtons = 16 | 32 | 64 | 128 | 256 | 512;  // buttons 1 to 6

// What the logo, the notice and the title draw, by their entries in the menu and title
// tables, in the order they first show.
constexpr int kIntroMenuImages[] = {kImageLogo, kImageNotice};
constexpr int kIntroTitlePictures[] = {kPictureTitleGlow,  kPictureTitleBase, kPictureBackdrop, kPictureTitleBuild,
                                       kPictureTitleFront, kPictureTitleLogo, kPicturePrompt};

const char* FirstMissing(std::span<const TablePicture> table, const int* handles, std::span<const int> entries) {
  for (const int entry : entries) {
    if (handles[entry] == kNoHandle) return std::ranges::find(table, entry, &TablePicture::index)->picture.name;
  }
  return nullptr;
}

float& Timer() { return MenuState.backdropTimer; }

bool SkipButtonDown() { return (ReadPadBits(kPadWithKeyboard) & kSkipButtons) != 0; }

void StepIntroTimer() { Timer() += MenuState.skipIntro == 1.0f ? 2.0f : 1.0f; }

void DrawLogo(double alpha) {
  Blend(kBlendAlpha, alpha);
  DrawGraphAt(0, 0, MenuImages[kImageLogo], 1);
}

void LogoPage() {
  StepIntroTimer();
  DrawLogo(3.0 * Timer());
  if (Timer() >= 240.0f) {
    Timer() = 0.0f;
    MenuState.page = 1.0f;
    MenuState.skipIntro = 0.0f;
    StopSound(BgmHandles[0]);
  }
  // Read after the switch: a button held as the logo ends carries the skip into the
  // notice, which starts from 231.
  if (SkipButtonDown()) {
    MenuState.skipIntro = 1.0f;
    if (Timer() < 230.0f) Timer() = 231.0f;
  }
}

void NoticePage() {
  StepIntroTimer();
  DrawLogo(255.0);
  Blend(kBlendAlpha, 3.0 * Timer());
  DrawGraphAt(0, 0, MenuImages[kImageNotice], 1);
  if (Timer() > 430.0f) {
    Blend(kBlendAdd, 255.0 - Timer());
    DrawTitlePicture(kPictureTitleGlow, 0, 0);
    Blend(kBlendAlpha, 4.0 * Timer() - 1720.0);
    DrawTitlePicture(kPictureTitleBase, 0, 0);
  }
  if (SkipButtonDown() && Timer() < 430.0f) {
    MenuState.skipIntro = 1.0f;
    Timer() = 430.0f;
  }
  if (Timer() >= 495.0f) {
    Timer() = 0.0f;
    MenuState.page = 2.0f;
    const int offset = RandomInRange(600);
    MenuState.backdropOffsetY = static_cast<float>(offset);
    BgmVolume[0] = 255.0f;
    if (BgmHandles[0] != kNoHandle) {
      SetSoundVolume(255, BgmHandles[0]);
      StartSound(BgmHandles[0], kPlayLoop, 1);
    }
  }
}

void BuildUpPage() {
  Timer() += 2.0f;
  Blend(kBlendAdd, 255.0);
  DrawTitlePicture(kPictureBackdrop, DoubleToInt(-(Timer() / 1.5)), FloatToInt(-MenuState.backdropOffsetY));
  DrawTitlePicture(kPictureTitleBuild, 0, 0);
  Blend(kBlendAlpha, 250.0 - Timer());
  FillScreen(0, 20, 30);
  Blend(kBlendAdd, 255.0);
  DrawTitlePicture(kPictureTitleGlow, 0, 0);
  Blend(kBlendAlpha, 255.0 - Timer());
  DrawTitlePicture(kPictureTitleBase, 0, 0);
  if (Timer() >= 256.0f) {
    MenuState.page = 3.0f;
    MenuState.skipIntro = 0.0f;
    MenuState.blinkTimer = 101.0f;
  }
}

// The title picture: page 3 after the build-up, page 11 after a cancel from the menu.
struct TitleLook {
  double frontShift, logoShift, outroStart;  // alphas: cursor - a, cursor / 2 - b, c - timer
  bool glowLayers;
};
constexpr TitleLook kFirstTitle = {50.0, 100.0, 255.0, true};
constexpr TitleLook kTitleAgain = {10.0, 60.0, 260.0, false};

void BlinkPrompt() {
  MenuState.blinkTimer += 1.0f;
  if (MenuState.blinkTimer < 100.0f) MenuState.fade += 3.0f;
  if (MenuState.blinkTimer > 130.0f) MenuState.fade -= 3.0f;
  if (MenuState.blinkTimer >= 230.0f) {
    MenuState.blinkTimer = 0.0f;
    MenuState.fade = 0.0f;
  }
}

void TitlePage(const TitleLook& look) {
  const float cursor = MenuState.cursor += 2.0f;
  BackdropStep();
  Blend(kBlendAlpha, cursor - look.frontShift);
  DrawTitlePicture(kPictureTitleFront, 0, 0);
  Blend(kBlendAlpha, cursor / 2.0 - look.logoShift);
  DrawTitlePicture(kPictureTitleLogo, 0, 0);
  Blend(kBlendAlpha, Timer() - 3500.0);
  DrawTitlePicture(kPictureTitleFront, 0, 0);
  Blend(kBlendAlpha, look.outroStart - Timer());
  DrawTitlePicture(kPictureTitleFront, 0, 0);
  Blend(kBlendAlpha, MenuState.fade);
  DrawTitlePicture(kPicturePrompt, 106, 686);
  if (look.glowLayers) {
    Blend(kBlendAdd, 255.0 - 1.4 * cursor);
    DrawTitlePicture(kPictureTitleBuild, 0, DoubleToInt(cursor / 3.0));
    Blend(kBlendAdd, 255.0 - 1.2 * cursor);
    DrawTitlePicture(kPictureTitleGlow, 0, DoubleToInt(cursor / 4.0));
  }
  BlinkPrompt();
  // Held counts too: a button kept down from the intro leaves at once.
  if (ActionHold[kActionFire] >= 1) {
    MenuState.page = 4.0f;
    MenuState.blinkTimer = 0.0f;
    PlayMenuSe(kSeDecide);
  }
}

void ToMenuPage() {
  MenuState.blinkTimer += 15.0f;
  BackdropStep();
  Blend(kBlendAlpha, 260.0 - MenuState.blinkTimer);
  DrawTitlePicture(kPictureTitleFront, 0, 0);
  Blend(kBlendAlpha, 260.0 - 4.0 * MenuState.blinkTimer);
  DrawTitlePicture(kPictureTitleLogo, 0, 0);
  if (TotalLevel < 0) TotalLevel = 0;
  if (MenuState.blinkTimer >= 350.0f) {
    SlideIntoMenu();
    MenuState.skipIntro = 0.0f;
  }
}

}  // namespace

const char* MissingIntroPicture() {
  const char* missing = FirstMissing(kMenuPictures, MenuImages.data(), kIntroMenuImages);
  return missing != nullptr ? missing : FirstMissing(kTitlePictures, StageImages.data(), kIntroTitlePictures);
}

void RunIntroPage(int page) {
  switch (page) {
    case 0: LogoPage(); break;
    case 1: NoticePage(); break;
    case 2: BuildUpPage(); break;
    case 3: TitlePage(kFirstTitle); break;
    case 4: ToMenuPage(); break;
    case 11: TitlePage(kTitleAgain); break;
    default: break;
  }
}
