#include "screens/menu_common.h"

#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "float_to_int.h"
#include "game_library.h"

namespace {

constexpr int kBitUp = 0, kBitDown = 1, kBitLeft = 2, kBitRight = 3;
constexpr int kPlayOnce = 1;

constexpr float kBackdropCycleEnd = 3900.0f;
constexpr float kBackdropDarkenFrom = 3300.0f;
constexpr float kBackdropBrightenUntil = 600.0f;
constexpr int kBackdropOffsetRange = 600;

}  // namespace

int SelectionMarker() { return SpriteHandles[3 * kCellsPerSet + 30]; }

bool Decide() { return ActionHold[kActionFire] == 1 || ActionHold[kActionSpecial] == 1; }
bool Back() { return ActionHold[kActionSecond] == 1; }
bool ManualKey() { return ActionHold[kActionFacing] == 1; }
bool Up() { return BitHold[kBitUp] == 1; }
bool Down() { return BitHold[kBitDown] == 1; }
bool Left() { return BitHold[kBitLeft] == 1; }
bool Right() { return BitHold[kBitRight] == 1; }
void ConsumeLeft() { ++BitHold[kBitLeft]; }
void ConsumeRight() { ++BitHold[kBitRight]; }

void MoveAlongRows(int& row, std::span<const int> order) {
  const int count = static_cast<int>(order.size());
  for (int i = 0; i < count; ++i) {
    if (order[i] != row) continue;
    if (Down()) {
      row = order[(i + 1) % count];
    } else if (Up()) {
      row = order[(i + count - 1) % count];
    }
    return;
  }
}

void PlayMenuSe(int se) { StartSound(SeHandles[se], kPlayOnce, 1); }

void Blend(int mode, double parameter) { SetBlendMode(mode, DoubleToInt(parameter)); }

void DrawTitlePicture(int picture, int x, int y) { DrawGraphAt(x, y, StageImages[picture], 1); }

unsigned White() { return MakeScreenColor(255, 255, 255); }

void BackdropStep() {
  MenuState.backdropTimer += 2.0f;
  Blend(kBlendAlpha, 255.0 - MenuState.backdropDarken);
  DrawTitlePicture(kPictureBackdrop, DoubleToInt(-(MenuState.backdropTimer / 1.5)),
                   FloatToInt(-MenuState.backdropOffsetY));
  if (MenuState.backdropTimer >= kBackdropDarkenFrom) MenuState.backdropDarken += 1.0f;
  if (MenuState.backdropTimer < kBackdropBrightenUntil) MenuState.backdropDarken -= 1.0f;
  if (MenuState.backdropTimer >= kBackdropCycleEnd) {
    MenuState.backdropTimer = 0.0f;
    const int offset = RandomInRange(kBackdropOffsetRange);
    MenuState.backdropOffsetY = static_cast<float>(offset);
  }
  if (MenuState.backdropDarken < 0.0f) MenuState.backdropDarken = 0.0f;
  if (MenuState.backdropDarken > 255.0f) MenuState.backdropDarken = 255.0f;
}

void DrawMenuFrame(double alpha) {
  Blend(kBlendAlpha, alpha);
  DrawTitlePicture(kPictureMenuFrame, 0, 490);
}

void DrawMenuLines(double alpha, double topY, double bottomY) {
  Blend(kBlendAdd, alpha);
  DrawTitlePicture(kPictureMenuLineTop, 0, DoubleToInt(topY));
  DrawTitlePicture(kPictureMenuLineBottom, 0, DoubleToInt(bottomY));
}

void SlideIntoMenu() {
  MenuState.page = 5.0f;
  MenuState.cursor = 0.0f;
  MenuState.blinkTimer = 0.0f;
  MenuState.fade = 26.0f;
}

void ResetPracticeValues() {
  PracticeModeIndex = 0;
  StartStage = 1;
  StartShotLevel = 1;
  StartOptionLevel = 0;
  StartSpeedLevel = 1;
  StartTurboLevel = 1;
  StartLevelUps = 1;
}

void DrawLowFrameRateNotice() {
  if (MeasuredFps >= 40) return;
  DrawFormattedText(70, 100, White(),
                    "フレームレートが低い状態になっています。ゲームを再起動すると改善される場合があります。");
  DrawFormattedText(70, 120, White(),
                    "他のアプリケーションを終了させる、又はコンフィグから軽量モードや16bitモード等を試してみて下さい。");
  DrawFormattedText(70, 140, White(), "%d / 60 FPS", MeasuredFps);
}
