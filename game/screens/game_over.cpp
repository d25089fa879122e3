// Game over: the pictures fade in, the continue question while credits remain, and
// the fade towards the results or towards the continue.
#include "core/display.h"
#include "core/game_state.h"
#include "core/resource_loaders.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "screens/menu_common.h"
#include "screens/results.h"

namespace {

enum GameOverPicture : int { kFullPicture = 0, kBand = 1, kCursor = 2 };
constexpr const char* kGameOverFiles[] = {"data\\image011\\gameover01-01.png", "data\\image011\\gameover02-01.png",
                                          "data\\image011\\gameover03-01.png"};
constexpr int kBandY = 214;
constexpr int kCursorY = 371;
constexpr int kYes = 0;
constexpr int kNo = 40;  // also the cursor picture's offset

constexpr int kFadeInFrames = 260;
constexpr int kFadeEnd = 300;

void Draw(int picture, int y) { DrawGraphAt(0, y, StageImages[picture], 1); }

void DrawBand(int times, const int* parameters) {
  for (int i = 0; i < times; ++i) {
    SetBlendMode(kBlendAdd, parameters[i]);
    Draw(kBand, kBandY);
  }
}

void BlackBackground() {
  SetBlendMode(kBlendAlpha, 255);
  FillScreen(0, 0, 0);
}

void DrawFullPicture(int parameter) {
  SetBlendMode(kBlendAlpha, parameter);
  Draw(kFullPicture, 0);
}

void DrawCredits(int parameter) {
  SetBlendMode(kBlendAdd, parameter);
  DrawNumber(552, 462, Credits, 1);
}

void ToPhase(int phase) {
  ScenePhase = phase;
  PhaseTimer = 0;
}

}  // namespace

void GameOverSetUp() {
  FreeStageImages();
  for (int picture : {kFullPicture, kBand, kCursor}) StageImages[picture] = LoadGraphFile(kGameOverFiles[picture]);
  if (VSyncOffOption == 0) SetSyncToVBlank(1);
  FrameWaitOffset = 0;
  StopPadRumble(1);
  SlowdownMs = 0.0f;
  SetBgmFade(2, kFadeOutStop);
  SetBgmFade(6, kFadeOutStop);
  ScenePhase = kPhaseGameOverFadeIn;
}

void GameOverFadeIn() {
  const int t = ++PhaseTimer;
  BlackBackground();
  const int band[] = {2 * t, 2 * t};
  DrawBand(2, band);
  DrawFullPicture(t);
  DrawCredits(t);
  if (t >= kFadeInFrames) ToPhase(kPhaseContinueQuestion);
}

void ContinueQuestion() {
  const int t = ++PhaseTimer;
  BlackBackground();
  const int band[] = {255 - t / 3, 255 - t / 3};
  DrawBand(2, band);
  DrawFullPicture(255);
  SetBlendMode(kBlendAdd, 255);
  DrawGraphAt(227, kCursorY + ContinueCursor, StageImages[kCursor], 1);
  DrawCredits(255);

  if (Up() && ContinueCursor == kNo) ContinueCursor = kYes;
  if (Down() && ContinueCursor == kYes) ContinueCursor = kNo;
  if (Credits == 0) {
    ToPhase(kPhaseToResults);
    ContinueCursor = kYes;
    return;
  }
  if (!Decide()) return;
  if (ContinueCursor == kYes) {
    ToPhase(kPhaseSpendCredit);
    ++ContinuesUsed;
  } else {
    ToPhase(kPhaseToResults);
    ContinueCursor = kYes;
  }
}

void FadeToResults() {
  PhaseTimer += 2;
  const int t = PhaseTimer;
  BlackBackground();
  const int band[] = {2 * t};
  DrawBand(1, band);
  DrawFullPicture(255 - t);
  DrawCredits(255 - t);
  SetBlendMode(kBlendAdd, t);
  FillScreen(0, 0, t);
  SetBlendMode(kBlendAlpha, t);
  FillScreen(0, 0, 0);
  if (t >= kFadeEnd) ToPhase(kPhaseResultsSetUp);
}

void SpendCredit() {
  --Credits;
  ScenePhase = kPhaseContinueFade;
}

// The continue's own fade; at its end the stage restarts (continue_restart.cpp).
void DrawContinueFade(int t) {
  BlackBackground();
  const int band[] = {3 * t, 2 * t, t};
  DrawBand(3, band);
  DrawFullPicture(255 - t);
  DrawCredits(255 - t);
  SetBlendMode(kBlendAdd, t);
  FillScreen(255, 255, 255);
}
