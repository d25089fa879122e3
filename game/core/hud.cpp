// The HUD of play: the bottom panel with gauges, lives and numbers, the mini-map, the
// counters, notices, edge markers and the last-life warning; and the timers and veils
// the display keeps (frame cycle, live count, kill chain, shoot-in and graze combos,
// last-hit panel, timed notice, white fades). The timers run whatever the display
// options say.
#include <algorithm>
#include <span>

#include "core/damage_flash.h"
#include "core/display.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/resource_table.h"
#include "core/veils.h"
#include "float_to_int.h"
#include "game_library.h"

namespace {

constexpr int kLevelUpIcon = 88;                       // image set 0
constexpr int kFpsLabel = 7 * kCellsPerSet + 19;
constexpr int kEdgeMarker = 7 * kCellsPerSet + 3;
constexpr int kLastHitBox = 72;  // the square the last enemy hit is shrunk into

std::uint32_t Colour(int r, int g, int b) { return MakeScreenColor(r, g, b); }

void CountLiveObjects() {
  int live = 0;
  for (const GameObject& object : ObjectPool) {
    if (object.state == kStateActive || object.state == kStateDelayed) ++live;
  }
  LiveObjectCount = live;
}

// Unpaused frames count the display's timers down.
void CountDown(int& timer) {
  if (Paused == 0 && timer > 0) --timer;
}

void Bar(int x, int y, int length, int height, std::uint32_t colour) {
  if (length > 0) DrawRect(x, y, x + length, y + height, colour, 1);
}

void DrawLives() {
  constexpr int kBoxX[3] = {705, 739, 773};
  for (int i = 0; i < 3; ++i) {
    const bool lit = Lives > static_cast<float>(i);
    DrawRect(kBoxX[i], 669, kBoxX[i] + 32, 677, lit ? Colour(250, 200, 60) : Colour(40, 40, 40), 1);
    if (i > 0) DrawLineSegment(kBoxX[i] - 1, 669, kBoxX[i] - 1, 677, Colour(180, 180, 180));
  }
}

// Guard, turbo charge and time since the last shot, under the player.
void DrawPlayerBars() {
  const GameObject& player = ObjectPool[kPlayerSlot];
  const int x = FloatToInt(player.x - CameraX) - 20;
  const int y = FloatToInt(player.y - CameraY) + 34;
  Bar(x, y, FloatToInt(GuardValue / 5.0f), 2, Colour(80, 160, 250));
  const int charge = TurboChargeNeeded > 0 ? TurboCharge * 40 / TurboChargeNeeded : 0;
  Bar(x, y + 3, charge < 40 ? charge : 40, 2, Colour(250, 150, 40));
  Bar(x, y + 6, FireIdleFrames < 40 ? FireIdleFrames : 40, 2, Colour(200, 200, 200));
}

// The larger side of an image set's cells, from the common sheets or the stage's own;
// 0 when neither has the set.
int CellSizeOf(int imageSet) {
  const auto sizeIn = [imageSet](std::span<const SpriteSheet> sheets) {
    for (const SpriteSheet& sheet : sheets) {
      if (sheet.imageSet == imageSet) return std::max(sheet.picture.width, sheet.picture.height);
    }
    return 0;
  };
  const int common = sizeIn(kCommonSheets);
  if (common != 0 || Stage < 1 || Stage > 9) return common;
  return sizeIn(StageResources(Stage).sheets);
}

// The last enemy hit as it looked then, shrunk to fit the panel's square.
void DrawLastHitPicture() {
  if (LastHitImageSet < 0 || LastHitImageSet >= kImageSets || LastHitImageCell < 0 ||
      LastHitImageCell >= kCellsPerSet) {
    return;
  }
  const int size = CellSizeOf(LastHitImageSet);
  const double scale = size > kLastHitBox ? static_cast<double>(kLastHitBox) / size : 1.0;
  DrawGraphRotated(52, 535, scale, 0.0, SpriteHandles[LastHitImageSet * kCellsPerSet + LastHitImageCell], 1, 0);
}

// The last enemy hit with its numbers, fading out with the panel's timer.
void DrawLastHitPanel() {
  int& timer = LastHitPanel[4];
  CountDown(timer);
  if (timer <= 0) return;
  SetBlendMode(1, std::min(timer, 255));
  DrawGraphAt(10, 480, CommonImages[kImageLastHitFrame], 1);
  DrawLastHitPicture();
  for (int i = 0; i < 4; ++i) DrawNumberRight(190, 496 + 20 * i, LastHitPanel[i], 0);
}

// The gauges stand 20 rows apart, each on the row of its label: guard, EXP, the lives.
void DrawPanel() {
  SetBlendMode(1, HudAlpha);
  DrawGraphAt(0, 592, CommonImages[kImageHudBottomPanel], 1);
  Bar(705, 630, FloatToInt(GuardValue), 6, Colour(80, 160, 250));
  Bar(705, 650, FloatToInt(ExpGauge), 6, Colour(60, 230, 90));
  DrawNumberRight(796, 692, FloatToInt(ExpGauge), 0);
  DrawLives();
  DrawPlayerBars();
  DrawLastHitPanel();
}

struct MiniMapBox {
  int category;
  int group;  // 0 any
  int size;
  int r, g, b;
};
constexpr MiniMapBox kMiniMapBoxes[] = {
    {kCategoryPlayer, 0, 2, 0, 0, 250},       {kCategoryPlayerShot, 0, 1, 0, 150, 150},
    {kCategoryDecoration, 0, 3, 253, 253, 253}, {kCategoryPickup, 0, 1, 50, 250, 50},
    {kCategoryEnemy, 1, 2, 250, 0, 0},        {kCategoryEnemy, 2, 2, 150, 0, 0},
    {kCategoryEnemyBullet, 0, 1, 200, 200, 200}, {kCategoryEnemy, 99, 2, 250, 250, 0},
};

const MiniMapBox* MiniMapBoxOf(const GameObject& object) {
  for (const MiniMapBox& box : kMiniMapBoxes) {
    if (box.category != object.category || (box.group != 0 && box.group != object.group)) continue;
    if (box.group == 99 && EnemyHighlightOff != 0) return nullptr;
    return &box;
  }
  return nullptr;
}

void DrawMiniMap() {
  SetBlendMode(1, HudAlpha - 150);
  const int viewX = FloatToInt(CameraX / 20);
  const int viewY = FloatToInt(CameraY / 20);
  DrawRect(viewX + 352, viewY + 639, viewX + 403, viewY + 677, Colour(230, 230, 230), 0);
  for (const GameObject& object : ObjectPool) {
    if (object.state != kStateActive) continue;
    const MiniMapBox* box = MiniMapBoxOf(object);
    if (box == nullptr) continue;
    const int x = FloatToInt(object.x / 20) + 352;
    const int y = FloatToInt(object.y / 20) + 639;
    DrawRect(x, y, x + box->size, y + box->size, Colour(box->r, box->g, box->b), 1);
  }
}

void DrawNumbers() {
  SetBlendMode(1, HudAlpha);
  DrawNumberRight(270, 679, FloatToInt(Level), 0);
  DrawNumberRight(341, 679, FloatToInt(Coins), 0);
  DrawNumberRight(341, 693, FloatToInt(Score), 0);
  for (int i = 0; i < LevelUpCount; ++i) DrawGraphAt(329 - 12 * i, 657, SpriteHandles[kLevelUpIcon], 1);
  DrawGraphAt(1, 752, SpriteHandles[kFpsLabel], 1);
  DrawNumber(26, 752, MeasuredFps, 0);
  DrawNumber(0, 738, LiveObjectCount, 0);
}

int CountCollidable(int category) {
  int count = 0;
  for (const GameObject& object : ObjectPool) {
    if (object.state == kStateActive && object.category == category && object.collidable != 0) ++count;
  }
  return count;
}

void DrawExtraPanels() {
  if (HudPanelImageOff == 0) {
    DrawGraphAt(820, 742, CommonImages[kImageHudExtraPanel], 1);
    DrawNumberRight(963, 753, FloatToInt(SpeedGauge), 0);
  }
  if (HudCountersOff == 0) {
    DrawGraphAt(820, 6, CommonImages[kImageHudCounterLabels], 1);
    DrawNumberRight(1000, 10, CountCollidable(kCategoryEnemy), 0);
    DrawNumberRight(1000, 32, CountCollidable(kCategoryEnemyBullet), 0);
    DrawNumberRight(1000, 54, CoinsGot, 0);
    DrawNumberRight(1000, 76, BattleFrames / 60, 0);
  }
}

// Below the side notices, fading out over its last 255 frames; the countdown runs
// whether it is shown or not.
void DrawTimedNotice() {
  if (HudNoticeTimer <= 0) return;
  if (HudNoticeOff == 0) {
    SetBlendMode(1, std::min(HudNoticeTimer, 255));
    DrawGraphAt(790, 580, CommonImages[kImageHudTimedNotice], 1);
  }
  CountDown(HudNoticeTimer);
}

// The controls guide of a first run, in the top left corner, where no other piece of
// the HUD stands; the manual's page, which says all it does, takes its place.
void DrawStage1Notice() {
  if (Stage1NoticeTimer <= 0) return;
  if (ManualShown == 0) {
    SetBlendMode(2, Stage1NoticeTimer);
    DrawGraphAt(16, 16, CommonImages[kImageStage1Notice], 1);
  }
  CountDown(Stage1NoticeTimer);
}

// A combo's number beside the score, fading with its timer; once the timer falls
// below `last` the combo has ended and `clear` empties it.
template <typename Clear>
void DrawCombo(int& timer, int last, int value, int y, Clear clear) {
  CountDown(timer);
  if (timer < last) {
    clear();
    return;
  }
  SetBlendMode(1, timer);
  DrawNumberRight(341, y, value, 0);
}

void DrawCombos() {
  DrawCombo(ShootInTimer, 2, ShootInTotal, 640, [] { ShootInCount = ShootInTotal = 0; });
  DrawCombo(GrazeComboTimer, 1, GrazeCombo, 626, [] { GrazeCombo = 0; });
}

// The kill chain of the overdrive: its count and score while the timer runs.
void DrawKillChain() {
  CountDown(ChainTimer);
  if (ChainTimer <= 0) {
    KillChain = ChainScore = 0;
    return;
  }
  SetBlendMode(1, 220);
  DrawNumberRight(600, 60, KillChain, 3);
  DrawNumberRight(600, 96, ChainScore, 1);
}

// Laid over the play with its dark rim, not added to it: added, its white digits vanish
// on a light sky, and the label holds at full strength long enough to be read.
void DrawHitLevelLabel() {
  if (HitLevelLabel[0] != 1) return;
  SetBlendMode(1, 255 - HitLevelLabel[3]);
  DrawNumber(FloatToInt(HitLevelLabel[1] + 14 - CameraX), FloatToInt(HitLevelLabel[2] - 3 - CameraY),
             FloatToInt(HitLevel), 0);
}

bool OutsideView(const GameObject& object, int& x, int& y) {
  x = FloatToInt(object.x - CameraX);
  y = FloatToInt(object.y - CameraY);
  return x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight;
}

void DrawEdgeMarkers() {
  for (const GameObject& object : ObjectPool) {
    int x = 0;
    int y = 0;
    if (object.state != kStateActive || object.category != kCategoryEnemy || !OutsideView(object, x, y)) continue;
    int beyond = 0;
    if (x >= kScreenWidth) {
      beyond = x - kScreenWidth;
      x = 993;
    } else if (x < 0) {
      beyond = -x;
      x = 19;
    } else if (y < 0) {
      beyond = -y;
      y = 15;
    } else {
      beyond = y - kScreenHeight;
      y = 733;
    }
    SetBlendMode(2, 655 - beyond);
    DrawGraphAt(x, y, SpriteHandles[kEdgeMarker], 1);
  }
}

// The height of the warning's picture, from the picture table.
int LastLifeWarningHeight() {
  const auto entry = std::ranges::find(kCommonPictures, static_cast<int>(kImageLastLifeWarning), &TablePicture::index);
  return entry->picture.height;
}

// It blinks: at full strength it reads over any ground, bright sky and blasts alike;
// the dim phase lets the play show through. One hit from the end, the dragon must not
// vanish behind it: the dragon is drawn again over the warning, inside its band only.
void DrawLastLifeWarning() {
  constexpr int kBrightPhase = 255, kDimPhase = 150;
  constexpr int kTop = 320;
  if (Lives != 1.0f || StageStarted != 1) return;
  SetBlendMode(1, FrameCycle4 < 2 ? kBrightPhase : kDimPhase);
  DrawGraphAt(0, kTop, CommonImages[kImageLastLifeWarning], 1);
  SetClipRect(0, kTop, kScreenWidth, kTop + LastLifeWarningHeight());
  DrawDragonAgain();
  SetClipRect(0, 0, kScreenWidth, kScreenHeight);
}

// The white veils: a rising additive fade, a white-out fading away, and the
// additive veil of the last stage's end.
constexpr Veil kPlayVeils[] = {Veil::kFlashFade, Veil::kEndFadeTimer, Veil::kEndFadeFlag};

}  // namespace

void DrawHud() {
  FrameCycle4 = (FrameCycle4 + 1) % 4;
  CountLiveObjects();
  if (StageStarted == 1) DrawPanel();
  DrawMiniMap();
  DrawNumbers();
  DrawExtraPanels();
  DrawCombos();
  DrawKillChain();
  DrawHitLevelLabel();
  DrawSideNotices();
  DrawStage1Notice();
  DrawDamageFlash();
  DrawTimedNotice();
  if (MiniMapOff == 0) DrawEdgeMarkers();
  if (DangerOverlayOff == 0) DrawLastLifeWarning();
  DrawVeils(kPlayVeils);
  SetBlendMode(0, 0);
}
