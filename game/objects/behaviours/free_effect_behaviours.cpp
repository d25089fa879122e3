// Effects that live on their own in the world: drifting debris, fade-outs, the enemy
// announcement, rings, smoke (also every cancelled bullet), scenery and trailing
// debris.
#include <cmath>

#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

void Drift(int slot) { MoveStraight(ObjectPool[slot]); }

// fade += step a frame; freed once fade passes `limit`.
enum class FadeStep { kFixed, kFromPhase, kLessWithTurbo };
struct FadeOut {
  int id;
  FadeStep kind;
  double step;
  double limit;
  bool holdsPicture;  // cancels the animation's step, so the picture stays
};
constexpr FadeOut kFadeOuts[] = {
    {4014, FadeStep::kFromPhase, 0.0, 250.0, false}, {4017, FadeStep::kFixed, 5.0, 245.0, false},
    {4019, FadeStep::kFixed, 4.0, 245.0, false},     {4029, FadeStep::kFixed, 15.0, 240.0, false},
    {4061, FadeStep::kFixed, 30.0, 255.0, false},    {4065, FadeStep::kLessWithTurbo, 4.0, 245.0, true},
};

double FadeStepOf(const FadeOut& row, const GameObject& effect) {
  switch (row.kind) {
    case FadeStep::kFromPhase:
      return effect.phase;
    case FadeStep::kLessWithTurbo:
      return row.step - 0.4 * TurboLevel;
    case FadeStep::kFixed:
      break;
  }
  return row.step;
}

void FadeAway(int slot) {
  GameObject& effect = ObjectPool[slot];
  const FadeOut& row = RowFor(kFadeOuts, effect.behaviour);
  effect.fade = static_cast<float>(effect.fade + FadeStepOf(row, effect));
  if (effect.fade > row.limit) ResetObject(slot);
  if (row.holdsPicture) effect.animTimer -= 1;
}

// The announcement's centre shrinks from five times its size as it comes in.
void AnnounceCentre(int slot) {
  GameObject& centre = ObjectPool[slot];
  centre.scaleDelta = static_cast<float>(centre.scaleDelta - 0.03);
  centre.fade = static_cast<float>(centre.fade - 1.8);
}

void AnnounceSwirl(int slot) { Swirl(ObjectPool[slot], {1, 0.005, 0.001, 0.3, 1.0}); }

void SwellRing(int slot) { ScaleAtGrowingRate(ObjectPool[slot], 1.0); }

// Drifts to the upper left, blinking on a four-frame cycle.
void Flicker(int slot) {
  GameObject& spark = ObjectPool[slot];
  spark.x = static_cast<float>(static_cast<double>(spark.x) + spark.vx);
  spark.vx = static_cast<float>(spark.vx - 0.1);
  spark.y = static_cast<float>(static_cast<double>(spark.y) + spark.vy);
  spark.vy = static_cast<float>(spark.vy - 0.1);
  spark.fade = static_cast<float>(spark.fade + 1.0);
  spark.phase = static_cast<float>(spark.phase + 1.0);
  if (spark.phase == 1.0f) spark.fade = static_cast<float>(spark.fade + 200.0);
  if (spark.phase == 3.0f) spark.fade = static_cast<float>(spark.fade - 200.0);
  if (spark.phase == 4.0f) spark.phase = 0.0f;
}

// Smoke: a velocity jitter of RandomInRange(range) * scale - offset on each axis,
// thinning in for `thinsUntil` frames, then fading out by RandomInRange(fadeOutRange).
struct Jitter {
  int range;
  double scale;
  double offset;
};
struct Smoke {
  int id;
  Jitter jitterX;
  Jitter jitterY;
  float thinsUntil;
  int fadeOutRange;
};
constexpr Smoke kSmokes[] = {
    {4059, {4, 0.1, 0.2}, {4, 0.1, 0.2}, 180.0f, 4},
    {4060, {46, 0.01, 0.3}, {40, 0.01, 0.3}, 140.0f, 3},
};
constexpr float kSmokeLife = 500.0f;

double JitterDraw(const Jitter& jitter) {
  const int draw = RandomInRange(jitter.range);
  return draw * jitter.scale - jitter.offset;
}

void Smoulder(int slot) {
  GameObject& smoke = ObjectPool[slot];
  const Smoke& row = RowFor(kSmokes, smoke.behaviour);
  MoveStraight(smoke);
  const double jitterX = JitterDraw(row.jitterX);
  smoke.vx = static_cast<float>(smoke.vx + jitterX);
  const double jitterY = JitterDraw(row.jitterY);
  smoke.vy = static_cast<float>(smoke.vy + jitterY);
  smoke.phase = static_cast<float>(smoke.phase + 1.0);
  if (smoke.phase < row.thinsUntil) {
    const int thin = RandomInRange(4);
    smoke.fade = static_cast<float>(static_cast<double>(smoke.fade) - thin);
  } else {
    const int fadeOut = RandomInRange(row.fadeOutRange);
    smoke.fade = static_cast<float>(static_cast<double>(smoke.fade) + fadeOut);
    smoke.scaleDelta = static_cast<float>(smoke.scaleDelta - 0.003);
  }
  if (smoke.phase > kSmokeLife) ResetObject(slot);
  if (TimelineHalt == 9.0f) smoke.fade = static_cast<float>(smoke.fade + 10.0);
}

void Tumble(int slot) {
  GameObject& piece = ObjectPool[slot];
  MoveStraight(piece);
  piece.vy = static_cast<float>(piece.vy + 0.03);
  piece.fade = static_cast<float>(piece.fade + 1.7);
  piece.angle = static_cast<float>(piece.facing == 0 ? piece.angle - 0.005 : piece.angle + 0.005);
  FreeObjectIfOffWorld(slot);
}

// Scenery scrolls past at fade 150 while the stage runs; the stage's end takes it away.
void Scenery(int slot) {
  GameObject& scenery = ObjectPool[slot];
  scenery.x = static_cast<float>(static_cast<double>(scenery.x) + scenery.vx);
  if (scenery.x < -1000.0f) ResetObject(slot);
  RandomInRange(10);  // drawn and not used: the sequence must advance
  scenery.fade = 150.0f;
  if (TimelineHalt > 0.0f) scenery.fade = static_cast<float>(scenery.fade + 450.0 * ShopEmblem[2]);
  if (TimelineHalt >= 3.0f) ResetObject(slot);
}

// A piece pushed by a force that turns one radian a frame, with a trail every frame.
void Wobble(int slot) {
  GameObject& piece = ObjectPool[slot];
  piece.vx = static_cast<float>(piece.vx + static_cast<double>(std::sin(piece.phase)) * piece.phase2);
  piece.x = static_cast<float>(static_cast<double>(piece.x) + piece.vx);
  piece.vy = static_cast<float>(piece.vy + static_cast<double>(std::cos(piece.phase)) * piece.phase2);
  piece.y = static_cast<float>(static_cast<double>(piece.y) + piece.vy);
  piece.phase = static_cast<float>(piece.phase + 1.0);
  piece.timer += 1;
  if (piece.work[1] < piece.timer) ResetObject(slot);
  Fire(2142, piece, 0.0, 0.0, 0, FloatToInt(piece.work[0]));
}

// Debris that lives `phase` frames of its own clock; 4079 scatters sparks every
// fourth frame.
struct TimedDebris {
  int id;
  int ageStep;
  bool sparks;
};
constexpr TimedDebris kTimedDebris[] = {{4079, 1, true}, {4080, 2, false}};

void AgeDebris(int slot) {
  GameObject& piece = ObjectPool[slot];
  const TimedDebris& row = RowFor(kTimedDebris, piece.behaviour);
  MoveStraight(piece);
  piece.timer += row.ageStep;
  if (piece.phase < piece.timer) ResetObject(slot);
  if (!row.sparks) return;
  piece.phase2 = static_cast<float>(piece.phase2 + 1.0);
  if (piece.phase2 > 3.0f) {
    const int look = RandomInRange(5);
    const int offsetY = RandomInRange(128);
    const int offsetX = RandomInRange(128);
    CreateObject(2144, DoubleToInt(piece.x - 64.0 + offsetX), DoubleToInt(piece.y - 64.0 + offsetY), 0, 267 + look);
    piece.phase2 = 0.0f;
  }
}

constexpr auto kEntries =
    JoinEntries(std::to_array<BehaviourEntry>({
                    {4006, &Drift},
                    {4013, &Drift},
                    {4002, &AnnounceCentre},
                    {4003, &AnnounceSwirl},
                    {4005, &SwellRing},
                    {4050, &Flicker},
                    {4064, &Tumble},
                    {4058, &Scenery},
                    {4078, &Wobble},
                }),
                EntriesFor(kFadeOuts, &FadeAway), EntriesFor(kSmokes, &Smoulder), EntriesFor(kTimedDebris, &AgeDebris));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
