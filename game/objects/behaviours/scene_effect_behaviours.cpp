// Effects that dress a scene: damped debris, flashes, glows pinned to a record, the
// appearance swirl, the score bubble and the hit-level label.
#include "core/display.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/pinned_effect.h"

namespace {

using enum EffectPlace;
using enum EffectEnd;
using enum FadeShape;

constexpr PinnedEffect kFlashesAndGlows[] = {
    {.id = 4092, .place = kStays, .fadeStep = 80.0, .end = kFadeAbove, .endBound = 240.0},
    {.id = 4116, .place = kStays, .fadeStep = 30.0, .end = kFadeAbove, .endBound = 255.0},
    {.id = 4125, .place = kPlayerY, .fadeStep = 20.0, .end = kFadeAbove, .endBound = 255.0},
    {.id = 4152, .place = kStays, .fadeStep = 5.0, .end = kFadeAbove, .endBound = 255.0, .cullFarOutside = true},
    {.id = 4110, .fadeStep = 20.0},
    {.id = 4089, .place = kStays, .fadeStep = -3.6, .scaleStep = -0.06, .end = kScaleBelow, .endBound = -1.0},
    {.id = 4085,
     .place = kOnTargetSlot,
     .phaseStep = 1.0,
     .fadeShape = kDownThenUp,
     .fadeStep = 3.0,
     .fadeTurn = 160.0,
     .scaleStep = -0.002,
     .angleStep = 0.02,
     .end = kPhaseAbove,
     .endBound = 400.0},
    {.id = 4111,
     .place = kOnTargetSlot,
     .phaseStep = 1.0,
     .fadeShape = kDownThenUp,
     .fadeStep = 5.0,
     .fadeTurn = 160.0,
     .scaleStep = -0.002,
     .end = kScaleBelow,
     .endBound = -1.0},
};

void FlashOrGlow(int slot) { RunPinnedEffect(slot, RowFor(kFlashesAndGlows, ObjectPool[slot].behaviour)); }

// Debris that drifts and slows by `damping` a frame; 4115 flickers out at random.
struct DampedDebris {
  int id;
  int fadeDraw;  // fade -= RandomInRange(fadeDraw) first; 0 for none
  double damping;
};
constexpr DampedDebris kDampedDebris[] = {{4114, 0, 1.05}, {4115, 10, 1.05}};

void Damped(int slot) {
  GameObject& piece = ObjectPool[slot];
  const DampedDebris& row = RowFor(kDampedDebris, piece.behaviour);
  if (row.fadeDraw > 0) {
    const int dim = RandomInRange(row.fadeDraw);
    piece.fade = static_cast<float>(static_cast<double>(piece.fade) - dim);
  }
  MoveAndSlow(piece, row.damping);
}

// Two records of an enemy's appearance turning opposite ways (phase2 +1 and -1).
void AppearanceSwirl(int slot) { Swirl(ObjectPool[slot], {2, 0.01, 0.002, 0.6, 2.0}); }

double Wobble() {
  const int draw = RandomInRange(4);
  return draw * 0.1 - 0.2;
}

// Rises, wobbles and shines for 190 frames, then pays 1000.
void ScoreBubble(int slot) {
  GameObject& bubble = ObjectPool[slot];
  MoveStraight(bubble);
  const double wobbleX = Wobble();
  bubble.vx = static_cast<float>(bubble.vx + wobbleX);
  const double wobbleY = Wobble();
  bubble.vy = static_cast<float>(bubble.vy + wobbleY);
  Fire(2110, bubble, 0.0, 0.0, 1, slot);
  bubble.phase = static_cast<float>(bubble.phase + 1.0);
  if (bubble.phase < 180.0f) {
    const int brighten = RandomInRange(4);
    bubble.fade = static_cast<float>(static_cast<double>(bubble.fade) - brighten);
  } else {
    const int dim = RandomInRange(4);
    bubble.fade = static_cast<float>(static_cast<double>(bubble.fade) + dim);
    bubble.scaleDelta = static_cast<float>(bubble.scaleDelta - 0.003);
  }
  if (bubble.phase > 190.0f) {
    constexpr int kBubbleScore = 1000;
    SpawnScorePopup(slot, kBubbleScore);
    Score = static_cast<float>(static_cast<double>(Score) + kBubbleScore);
    InfoBonus += kBubbleScore;
    ResetObject(slot);
  }
}

// Places the HUD's hit-level number beside the player while it fades in and out.
// The library clamps the blend parameter, which runs past both ends of 0..255.
void HitLevelLabelEffect(int slot) {
  GameObject& label = ObjectPool[slot];
  label.x = static_cast<float>(Player().x - 90.0);
  label.y = static_cast<float>(Player().y + 32.0);
  SetBlendMode(2, DoubleToInt(255.0 - label.fade));
  DrawNumber(200, 200, HitsTaken, 0);
  if (label.phase == 0.0f) {
    HitLevelLabel[0] = 1;
    HitLevelLabel[1] = FloatToInt(label.x);
    HitLevelLabel[2] = FloatToInt(label.y);
    HitLevelLabel[3] = FloatToInt(label.fade);
    label.fade = static_cast<float>(label.fade - 2.0);
    if (label.fade < -120.0f) label.phase = 1.0f;
  }
  if (label.phase == 1.0f) {
    HitLevelLabel[1] = FloatToInt(label.x);
    HitLevelLabel[2] = FloatToInt(label.y);
    HitLevelLabel[3] = FloatToInt(label.fade);
    label.fade = static_cast<float>(label.fade + 2.0);
    if (label.fade > 255.0f) {
      HitLevelLabel[0] = 0;
      ResetObject(slot);
    }
  }
}

constexpr auto kEntries = JoinEntries(std::to_array<BehaviourEntry>({
                                          {4090, &AppearanceSwirl},
                                          {4094, &ScoreBubble},
                                          {4095, &HitLevelLabelEffect},
                                      }),
                                      EntriesFor(kFlashesAndGlows, &FlashOrGlow), EntriesFor(kDampedDebris, &Damped));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
