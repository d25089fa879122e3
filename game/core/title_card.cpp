// The stage title card: 680 frames from a new game or a new stage. The first picture
// fades in over black, crosses to the second, which fades out while the HUD fades in.
#include "core/display.h"
#include "core/game_state.h"
#include "core/resource_loaders.h"
#include "game_library.h"

namespace {

constexpr int kFirstPicture = 9;   // of StageImages
constexpr int kSecondPicture = 8;
constexpr int kStartFrame = 400;   // the stage starts, the HUD appears
constexpr int kEndFrame = 680;
constexpr int kHudNoticeFrames = 600;

void DrawCardPicture(int picture, int y, int alpha) {
  SetBlendMode(1, alpha);
  DrawGraphAt(0, y, StageImages[picture], 1);
}

}  // namespace

void UpdateStageTitleCard() {
  if (TitleCardActive != 1) return;
  const int f = ++TitleCardFrame;
  if (f >= 0 && f < 200) {
    SetBlendMode(1, 255);
    FillScreen(0, 0, 0);
    DrawCardPicture(kFirstPicture, 0, f * 5);
  } else if (f >= 200 && f < 360) {
    if (TitleCardAlpha < 255) TitleCardAlpha += 2;
    DrawCardPicture(kFirstPicture, 0, 255 - TitleCardAlpha);
    DrawCardPicture(kSecondPicture, 40, TitleCardAlpha);
  } else if (f >= 360 && f < kStartFrame) {
    DrawCardPicture(kSecondPicture, 40, 255);
  }
  if (f == kStartFrame) {
    TitleCardAlpha = 0;
    StageStarted = 1;
    HudNoticeTimer = kHudNoticeFrames;
  }
  if (f >= kStartFrame && f <= 999) {
    if (TitleCardAlpha < 255) {
      ++TitleCardAlpha;
      ++HudAlpha;
    }
    DrawCardPicture(kSecondPicture, 40, 255 - TitleCardAlpha);
  }
  if (f == kEndFrame) {
    TitleCardAlpha = 0;
    TitleCardActive = 0;
    FreePicture(StageImages[kFirstPicture]);
    FreePicture(StageImages[kSecondPicture]);
  }
  SetBlendMode(0, 0);
}
