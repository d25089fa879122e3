// The timers of object drawing, the title card and the HUD.
#include <gtest/gtest.h>

#include <vector>

#include "../support/call_recorder.h"

#include "core/display.h"
#include "core/game_state.h"
#include "core/new_game.h"

namespace {

class DisplayTimers : public testing::Test {
 protected:
  void SetUp() override {
    NewGameInit();
    Scene = kScenePlay;
  }
  static GameObject& Place(int slot, int animation, int layer = 3) {
    GameObject& object = ObjectPool[slot];
    object = GameObject{};
    object.state = 1;
    object.layer = layer;
    object.category = kCategoryEffect;
    object.animation = animation;
    return object;
  }
};

// Row 17: (3,2) (4,2) (5,2) (6,2) (2,1) (0,2) (1,2) (2,2) (99,0); row 117 ends with
// (99,1) after pairs of 6,6,5,5,4,4,3,3; row 26: (30,2) (98,2) (99,0).
TEST_F(DisplayTimers, EachPairShowsItsDurationPlusOneFrameThenLoopsOrFrees) {
  GameObject& idle = Place(60, 17);
  GameObject& fading = Place(61, 117);
  GameObject& turn = Place(62, 26);
  const int idleSteps[] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7, 0};
  for (int frame = 0; frame < 24; ++frame) {
    ASSERT_EQ(idle.animStep, idleSteps[frame]) << frame;
    ASSERT_EQ(turn.animStep, frame % 6 / 3) << frame;
    DrawObjects();
  }
  EXPECT_EQ(idle.animStep, 0);
  for (int frame = 24; frame < 43; ++frame) DrawObjects();
  EXPECT_EQ(fading.state, 1);
  DrawObjects();  // the 44th frame ends the last pair
  EXPECT_EQ(fading.state, 0);
}

TEST_F(DisplayTimers, LayerTenAndPausedFramesStepNothing) {
  GameObject& hidden = Place(60, 17, 10);
  GameObject& shown = Place(61, 17);
  shown.hitFlash = 1;
  Paused = 1;
  for (int frame = 0; frame < 10; ++frame) DrawObjects();
  EXPECT_EQ(shown.animTimer + shown.animStep, 0);
  EXPECT_EQ(shown.hitFlash, 0);  // drawn once, then cleared
  Paused = 0;
  for (int frame = 0; frame < 10; ++frame) DrawObjects();
  EXPECT_EQ(hidden.animTimer + hidden.animStep, 0);
  EXPECT_EQ(shown.animStep, 3);
}

TEST_F(DisplayTimers, PopupsCountUpAlsoWhilePausedButLiveOnlyWhileRunning) {
  ObjectPool[60].x = 300.7f;
  ObjectPool[60].y = 200.2f;
  SpawnScorePopup(60, 1000);
  ScorePopup& popup = ScorePopups[0];
  ASSERT_GE(popup.divisor, 20);
  ASSERT_LE(popup.divisor, 40);
  EXPECT_EQ(popup.x, 300);
  EXPECT_EQ(popup.y, 200);
  popup.divisor = 25;
  EXPECT_EQ(popup.value / popup.divisor, 40);
  Paused = 1;
  // The divisor steps down before the number is drawn: 1000 / 24 shows first.
  int saved[10];
  for (int digit = 0; digit < 10; ++digit) saved[digit] = DigitFonts[digit], DigitFonts[digit] = 900 + digit;
  ClearCallLog();
  RecordDrawing(true);
  DrawObjects();
  RecordDrawing(false);
  std::vector<int> digits;
  for (const RecordedCall& call : CallsOf(Call::DrawGraphAt)) {
    if (call.Int(2) >= 900 && call.Int(2) <= 909) digits.push_back(call.Int(2) - 900);
  }
  for (int digit = 0; digit < 10; ++digit) DigitFonts[digit] = saved[digit];
  EXPECT_EQ(digits, (std::vector<int>{1, 4}));  // drawn from the last digit
  for (int frame = 0; frame < 23; ++frame) DrawObjects();
  EXPECT_EQ(popup.divisor, 1);
  EXPECT_EQ(popup.life, 100);
  Paused = 0;
  for (int frame = 0; frame < 99; ++frame) DrawObjects();
  EXPECT_EQ(popup.life, 1);
  DrawObjects();
  EXPECT_EQ(popup.divisor, 0);
  for (ScorePopup& busy : ScorePopups) busy = {5, 0, 0, 1, 100};
  SpawnScorePopup(60, 777);
  for (const ScorePopup& busy : ScorePopups) ASSERT_EQ(busy.value, 1);
}

TEST_F(DisplayTimers, FlashesFadeOnlyWhileRunningAndStopAtTheirFloor) {
  RedFlashAlpha = WhiteFlashAlpha = 10;
  BlueFlashLevel = 5.5f;
  Paused = 1;
  DrawObjects();
  EXPECT_EQ(RedFlashAlpha, 10);
  Paused = 0;
  for (int frame = 0; frame < 5; ++frame) DrawObjects();
  EXPECT_EQ(RedFlashAlpha, 4);
  EXPECT_EQ(WhiteFlashAlpha, 4);
  EXPECT_EQ(BlueFlashLevel, 1.5f);
}

TEST_F(DisplayTimers, TheTitleCardStartsTheStageAtFourHundredAndEndsAtSixHundredEighty) {
  StageImages[8] = StageImages[9] = 12345;  // stand-ins: freeing them only clears the variables
  StageStarted = 0;  // as at a stage change (a new game sets it)
  for (int frame = 1; frame <= 680; ++frame) {
    UpdateStageTitleCard();
    ASSERT_EQ(StageStarted, frame >= 400 ? 1 : 0) << frame;
    if (frame == 360) {
      EXPECT_EQ(TitleCardAlpha, 255 + 1);  // +2 from 0 over 160 frames stops past 255
    }
  }
  EXPECT_EQ(TitleCardActive, 0);
  EXPECT_EQ(HudAlpha, 255);
  EXPECT_EQ(StageImages[8], -1);
  EXPECT_EQ(StageImages[9], -1);
  UpdateStageTitleCard();
  EXPECT_EQ(TitleCardFrame, 680);
}

TEST_F(DisplayTimers, TheDamageFlashFallsOnThe226thHudFrameAndEndsAfter468) {
  DamageFlashPhase = 1;
  DamageFlashTimer = -600;
  int frame = 0;
  while (DamageFlashPhase == 1) {
    DrawHud();
    ++frame;
  }
  EXPECT_EQ(frame, 226);
  Paused = 1;
  DrawHud();
  EXPECT_EQ(DamageFlashTimer, 1208);
  Paused = 0;
  while (DamageFlashPhase == 2) {
    DrawHud();
    ++frame;
  }
  EXPECT_EQ(frame, 468);
  EXPECT_EQ(DamageFlashTimer, 0);
}

// A caption rises by 2 a frame past 400, falls back below 0 and frees its picture,
// paused or not.
TEST_F(DisplayTimers, StageEightCaptionsRiseFallAndFreeTheirPicture) {
  Stage = 8;
  Stage8Caption = 2;
  Stage8CaptionImages[1] = 4321;
  Paused = 1;
  for (int frame = 1; frame <= 201; ++frame) DrawObjects();
  EXPECT_EQ(Stage8CaptionPhase, 1);
  EXPECT_EQ(Stage8CaptionLevel, 402);
  for (int frame = 1; frame <= 201; ++frame) DrawObjects();
  EXPECT_EQ(Stage8Caption, 2);
  DrawObjects();
  EXPECT_EQ(Stage8Caption + Stage8CaptionPhase + Stage8CaptionLevel, 0);
  EXPECT_EQ(Stage8CaptionImages[1], -1);
}

// The display's duties that behaviours and scripts rely on.
TEST_F(DisplayTimers, TheHudStepsTheChainTheVeilsAndTheFrameCycle) {
  ChainTimer = 2;
  KillChain = 5;
  ChainScore = 900;
  GrazeComboTimer = 2;
  GrazeCombo = 15;
  FlashFade = 1;
  EndFadeTimer = 270;
  EndFadeFlag = 1;
  for (GameObject& object : ObjectPool) object.state = 0;
  ObjectPool[70].state = 2;
  ObjectPool[8000].state = 1;
  DrawHud();
  EXPECT_EQ(KillChain, 5);
  EXPECT_EQ(GrazeCombo, 15);
  EXPECT_EQ(FrameCycle4, 1);
  EXPECT_EQ(ActiveObjectCount, 2);
  Paused = 1;
  DrawHud();
  EXPECT_EQ(ChainTimer, 1);
  EXPECT_EQ(FlashFade, 3);
  EXPECT_EQ(EndFadeFlag, 2);
  Paused = 0;
  DrawHud();
  EXPECT_EQ(KillChain + ChainScore + GrazeCombo + GrazeComboTimer, 0);
  EXPECT_EQ(FlashFade, 5);
  EXPECT_EQ(EndFadeTimer, 267);
  EXPECT_EQ(EndFadeFlag, 3);
  DrawHud();
  EXPECT_EQ(FrameCycle4, 0);
}

}  // namespace
