// The stage flow's drawing half: the loadout backdrop with the start of play, each
// stage's background layers with parallax against the camera and its ambient
// scenery, the backdrop layer, and the ending's backgrounds. Counters advance and
// scenery spawns only on unpaused frames; the layers are drawn on every frame.
#include <span>

#include "core/display.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "core/sound_control.h"
#include "core/stage_end.h"
#include "core/stage_flow.h"
#include "core/stage_layers.h"
#include "float_to_int.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {


int& Word(int row, int word) { return StageEventState[row][word]; }

void Create(int templateId, int x = 0) { CreateObject(templateId, x, 0, 0, 0); }

// ---- Stage layers -------------------------------------------------------------

// The layer's tiles of `picture` with the blend already set.
void DrawTiles(const StageLayer& layer, int picture) {
  const float cameraX = layer.divisor == 0.0f ? 0.0f : CameraX / layer.divisor;
  const int y = layer.yDivisor == 0.0f ? 0 : FloatToInt(-CameraY / layer.yDivisor);
  for (int offset : layer.offsets) {
    const int x = FloatToInt(static_cast<float>(offset) - cameraX - static_cast<float>(layer.scroll.Value()));
    if (layer.mirrored) {
      DrawGraphMirrored(x, y, picture, 1);
    } else {
      DrawGraphAt(x, y, picture, 1);
    }
  }
}

void DrawLayer(const StageLayer& layer) {
  SetBlendMode(layer.blend, DoubleToInt(layer.alphaBase + layer.alphaFactor * layer.alphaWord.Value()));
  DrawTiles(layer, StageImages[layer.picture]);
}

void DrawStageLayers() {
  for (const StageLayer& layer : StageLayers()) {
    if (layer.stage == Stage) DrawLayer(layer);
  }
}

// ---- Scroll words ---------------------------------------------------------------

struct ScrollStep {
  int stage;
  StageWord word;
  int step;
  int limit;  // back to 0 above it
};
// Stages 5 and 6 scroll their layers here too, as no script moves them; stage 6's
// wrap at its tile steps keeps the joins seamless.
const ScrollStep kScrollSteps[] = {
    {1, kNearScroll, 2, 2000}, {2, kNearScroll, 4, 2000}, {3, kNearScroll, 4, 1200}, {3, {1, 1}, 8, 2500},
    {4, kNearScroll, 3, 1024}, {4, {1, 1}, 2, 2000},      {4, {1, 4}, 1, 1024},      {5, {1, 1}, 1, 1025},
    {5, {1, 2}, 2, 1025},      {5, {1, 4}, 3, 1025},      {6, {1, 2}, 2, 2001},      {6, {1, 4}, 1, 1001},
};

void Advance(int& word, int step, int limit) {
  word += step;
  if (word > limit) word = 0;
}

void AdvanceScrollWords() {
  for (const ScrollStep& scroll : kScrollSteps) {
    if (scroll.stage == Stage) Advance(Word(scroll.word.row, scroll.word.word), scroll.step, scroll.limit);
  }
}

// ---- Stage events and scenery ---------------------------------------------------

int& SpawnCounter = StageEventState[2][0];
int& FlashCounter = StageEventState[2][1];
int& FlickerSum = StageEventState[2][2];
int& StageCount = StageEventState[1][3];
int& SecondCount = StageEventState[1][5];
int& ProgressWord = StageEventState[4][1];
int& SceneryCount = StageEventState[5][0];  // stages 7 and 8
int& Stage7EndCounter = StageEventState[5][9];

constexpr int kStage7EndFrames = 700;

// A red full-screen flash once the counter passes its limit, with a thunder sound.
void RedFlash(int growth, int limit, int parameterRange, int parameterBase, int volumeBase) {
  const int grow = RandomInRange(growth);
  FlashCounter += grow;
  if (FlashCounter <= limit) return;
  const int parameter = RandomInRange(parameterRange);
  SetBlendMode(2, parameter + parameterBase);
  FillScreen(200, 0, 0);
  FlashCounter = 0;
  const int sound = RandomInRange(3);
  const int volume = RandomInRange(200);
  PlaySe(20 + sound, volume + volumeBase);
}

bool Every(int count, int period) { return count % period == 0; }

void SpawnStage1And2() {
  const int flicker = RandomInRange(4);
  FlashCounter = flicker - 2;
  FlickerSum += FlashCounter;
  if (++SpawnCounter > 100) {
    Create(2105);
    SpawnCounter = 0;
  }
}

void SpawnStage3() {
  if (++SpawnCounter > 20) {
    Create(2105);
    Create(2132);
    SpawnCounter = 0;
  }
}

void SpawnStage4() {
  if (ProgressWord < 31000) ProgressWord += 4;
  for (int i = 0; i < 6; ++i) Create(2161);
  const int count = ++StageCount;
  const int progress = ProgressWord;
  if ((count + Word(4, 0) / 20000) % 10 == 0 && progress < 28000) Create(2162);
  if (progress > 27000 && Every(count, 30)) Create(2105);
  if (Every(count, 20) && progress > 5000 && progress < 23000) {
    Create(2163, 3000);
    Create(2163, 5000);
    Create(2163, 7000);
    const int x = RandomInRange(8000);
    Create(2163, x);
  }
  if (Every(count, 100) && progress > 5000 && progress < 26000) Create(2164, 3000);
  if (Every(count, 50) && progress >= 26001) {
    Create(2165, 30);
    Create(2166, 30);
  }
  if (Every(count, 100) && StageTimeline >= 9001) Create(2169);
}

void SpawnStage5() {
  // Nothing else moves stage 5's progress, which brings on its late scenery and glow.
  ++ProgressWord;
  if (Every(++StageCount, 10)) Create(2170);
  const int count = ++SecondCount;
  if (Every(count, 15)) {
    Create(2165, 30);
    for (int i = 0; i < 3; ++i) Create(2166, 30);
  }
  if (Every(count, 100)) Create(2169);
  if (Every(count, 30) && ProgressWord > 3000 && ProgressWord < 6000) Create(2171);
  if (Every(count, 35) && ProgressWord >= 8001) Create(2172);
}

void SpawnStage6() {
  if (Every(++StageCount, 20)) Create(2176);
  ++BackgroundBlendCounter;
}

// Stage 7's background runs faster with every scroll step the script adds; the
// stage ends 700 frames after the white-out.
void StepStage7() {
  Advance(Word(5, 1), Stage7ScrollStep + 2, 2048);
  Advance(Word(5, 4), FloatToInt(static_cast<float>(Stage7ScrollStep) * 1.8f + 2.0f), 2001);
  const int count = ++SceneryCount;
  if (Every(count, 10)) {
    for (int i = 0; i < 8; ++i) Create(2201);
  }
  if (Every(count, 30)) {
    Create(2176);
    Create(2131);
  }
  if (Stage7EndCounter > 0) ++Stage7EndCounter;
  if (Stage7EndCounter >= kStage7EndFrames) {
    TimelineHalt = kHaltCleared;
    Stage7EndCounter = 0;
  }
}

// Stage 8's scenery follows its backdrop phase.
constexpr int kStage8Scenery[] = {2203, 2224, 2204, 2233, 2233};

void StepStage8() {
  ++BackgroundBlendCounter;
  ++EndBackdropTimer;
  const int phase = EndBackdropPhase >= 0 && EndBackdropPhase <= 4 ? EndBackdropPhase : 0;
  const int count = ++SceneryCount;
  if (Every(count, 30)) {
    Create(kStage8Scenery[phase]);
    Create(2131);
  }
}

void DrawStage8Backdrop() {
  const int phase = EndBackdropPhase >= 1 && EndBackdropPhase <= kStage8BackdropPhases ? EndBackdropPhase : 1;
  const int parameter = phase == kStage8BackdropPhases ? DoubleToInt(EndBackdropTimer / 1.8) : 255;
  // Until phase 4's picture is in full, phase 3's stays under it as the ground.
  if (parameter < 255) {
    SetBlendMode(1, 255);
    DrawTiles(Stage8Backdrop(), StageImages[phase - 2]);
  }
  SetBlendMode(1, parameter);
  DrawTiles(Stage8Backdrop(), StageImages[phase - 1]);
}

void DrawStage7Veils() {
  SetBlendMode(1, Word(5, 3));
  FillScreen(0, 0, 0);
  SetBlendMode(2, Word(5, 5));
  FillScreen(255, 255, 255);
}

// A behaviour starts the white-out at 1; past 255 the stage's end sequence begins.
void StepWhiteOut() {
  if (WhiteOutCounter < 1) return;
  if (Paused == 0) ++WhiteOutCounter;
  SetBlendMode(1, WhiteOutCounter);
  FillScreen(255, 255, 255);
  if (WhiteOutCounter <= 255) return;
  Create(2202);
  WhiteFlashAlpha = 255;
  WhiteOutCounter = 0;
  if (Stage == 7) Stage7EndCounter = 1;
}

void StepStage() {
  AdvanceScrollWords();
  switch (Stage) {
    case 1:
    case 2: SpawnStage1And2(); break;
    case 3: SpawnStage3(); break;
    case 4: SpawnStage4(); break;
    case 5: SpawnStage5(); break;
    case 6: SpawnStage6(); break;
    case 7: StepStage7(); break;
    case 8: StepStage8(); break;
    default: break;
  }
}

void DrawBackdropLayer() {
  if (BackdropLayerOff != 0) return;
  SetBlendMode(1, 200);
  for (int i = 0; i <= 8; ++i) {
    for (int j = 0; j <= 3; ++j) {
      DrawGraphAt(FloatToInt(static_cast<float>(i * 1001) - CameraX),
                  FloatToInt(static_cast<float>(j * 751) - CameraY - 300.0f), CommonImages[kImageBackdropTile], 1);
    }
  }
}

void UpdatePlayStage() {
  if (Stage < 1 || Stage > 8) {
    RunStageEnd();
    return;
  }
  if (Paused == 0) StepStage();
  DrawStageLayers();
  if (Stage == 8) DrawStage8Backdrop();
  if (Paused == 0 && (Stage == 3 || Stage == 4)) {
    if (Stage == 3) {
      RedFlash(3, 1000, 110, 10, 50);
    } else {
      RedFlash(5, 1600, 80, 0, 0);
    }
  }
  if (Stage == 7) DrawStage7Veils();
  StepWhiteOut();
  DrawBackdropLayer();
  RunStageEnd();
}

// ---- Loadout backdrop and the start of play -------------------------------------

void ScrollStrip(int& offset, int step, int& drift) {
  offset += step;
  if (offset >= kScreenWidth) offset = 0;
  const int move = RandomInRange(1);
  drift += offset >= 512 ? -move : move;
}

void DrawStrip(int offset, int y) {
  DrawGraphAt(-offset, y, MenuImages[kImageLoadoutStrip], 1);
  DrawGraphAt(kScreenWidth - offset, y, MenuImages[kImageLoadoutStrip], 1);
}

void UpdateLoadoutBackdrop() {
  SetBlendMode(0, 0);
  DrawGraphAt(0, 0, MenuImages[kImageLoadoutBackdrop], 1);
  if (LightMode == 0) {
    SetBlendMode(2, 255);
    DrawStrip(Word(3, 0), 0);
  }
  ScrollStrip(Word(3, 0), 2, Word(2, 0));
  if (LightMode == 0) {
    SetBlendMode(2, 200);
    DrawStrip(Word(3, 1), 200);
  }
  ScrollStrip(Word(3, 1), 4, Word(2, 1));
  if (SelectFrame <= 3) return;
  ++SelectFrame;
  SetBlendMode(1, 3 * SelectFrame);
  FillScreen(0, 0, 0);
  if (SelectFrame > 200) {
    NewGameInit();
    Scene = kScenePlay;
    ClearStageEventState();
  }
}

// ---- The ending's backgrounds ---------------------------------------------------

struct EndingBackground {
  int scrolled;       // StageImages entry that scrolls
  int xDivisor, yDivisor;  // of the counter, 0 = that axis stays
  int chance;         // RandomInRange(chance) = 0 spawns `rare`
  int rare;
  int overlay;        // drawn additively, fading with the counter
  int overlayDivisor;
  int flake;          // two per frame
};
constexpr EndingBackground kEndingBackgrounds[2] = {
    {0, 2, 0, 60, 2236, 2, 6, 2234},
    {1, 0, 5, 30, 2239, 3, 10, 2240},
};

void UpdateEndingBackdrop() {
  if (EndingBackdrop != 0 && EndingBackdrop != 1) return;
  const EndingBackground& background = kEndingBackgrounds[EndingBackdrop];
  const int counter = ++EndingScroll;
  SetBlendMode(1, 255);
  DrawGraphAt(background.xDivisor != 0 ? -counter / background.xDivisor : 0,
              background.yDivisor != 0 ? -counter / background.yDivisor : 0, StageImages[background.scrolled], 1);
  const int roll = RandomInRange(background.chance);
  if (roll == 0) Create(background.rare);
  SetBlendMode(2, 255 - counter / background.overlayDivisor);
  DrawGraphAt(0, 0, StageImages[background.overlay], 1);
  Create(background.flake);
  Create(background.flake);
}

}  // namespace

void UpdateStage() {
  if (Scene == kSceneLoadout) {
    UpdateLoadoutBackdrop();
  } else if (Scene == kScenePlay) {
    UpdatePlayStage();
  } else if (Scene == kSceneEnding) {
    UpdateEndingBackdrop();
  }
  SetBlendMode(0, 0);
}
