// The ending's figures and captions: the flying figure's timeline, the figure it lets
// go, the main figure in slot 12 and the records that follow its acts, and the
// caption pages.
#include <cmath>

#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

constexpr int kMainFigureSlot = 12;

// phase += 0.015, then x += sin(phase) / xDivisor and y += cos(phase) / yDivisor.
void Hover(GameObject& figure, double xDivisor, double yDivisor) {
  AddTo(figure.phase, 0.015);
  AddTo(figure.x, std::sin(figure.phase) / xDivisor);
  AddTo(figure.y, std::cos(figure.phase) / yDivisor);
}

void SetAnimation(GameObject& figure, int animation) {
  figure.animation = animation;
  figure.animStep = 0;
}

// The flying figure's timeline: animations at 600 and 900, the hand-off to 410, and
// the release of the slot-11 figure at 1400.
void FlyingFigure(int slot) {
  GameObject& figure = ObjectPool[slot];
  if (figure.x < 690.0f) AddTo(figure.x, figure.vx);
  Hover(figure, 10.0, 8.0);
  figure.timer += 1;
  if (figure.timer == 600) SetAnimation(figure, 411);
  if (figure.timer == 900) SetAnimation(figure, 409);
  if (figure.animation == 409 && figure.animStep == 4) SetAnimation(figure, 410);
  if (figure.timer == 1400) {
    SetAnimation(figure, 407);
    Fire(2238, figure, 0.0, 0.0, 0, 0);
  }
}

void SettlingFigure(int slot) {
  GameObject& figure = ObjectPool[slot];
  if (figure.x < 650.0f) AddTo(figure.x, figure.vx);
  if (figure.y > 340.0f) AddTo(figure.y, figure.vy);
  Hover(figure, 2.0, 2.0);
  AddTo(figure.fade, -1.0);
}

void FallingFigure(int slot) {
  GameObject& figure = ObjectPool[slot];
  MoveStraight(figure);
  figure.timer += 1;
  if (figure.vy < 20.0f) AddTo(figure.vy, 0.005);
  AddTo(figure.angle, -0.0015);
}

void SinkingFigure(int slot) { AddTo(ObjectPool[slot].y, ObjectPool[slot].vy); }

void RisingGlow(int slot) {
  GameObject& glow = ObjectPool[slot];
  AddTo(glow.y, glow.vy);
  AddTo(glow.fade, -0.5);
  Hover(glow, 2.0, 2.0);
}

bool Drifting(int animation) { return animation == 454 || animation == 455 || animation == 457 || animation == 458; }

void MainFigure(int slot) {
  GameObject& figure = ObjectPool[slot];
  if (Drifting(figure.animation)) {
    AddTo(figure.x, -0.1);
    AddTo(figure.y, 0.01);
  } else {
    AddTo(figure.y, figure.vy);
    AddTo(figure.phase2, 0.01);
    AddTo(figure.phase, 0.015);
    AddTo(figure.x, std::sin(figure.phase2) / 2.0);
    AddTo(figure.y, std::cos(figure.phase) / 2.0);
    if (figure.y > 400.0f) AddTo(figure.y, -0.4);
  }
  if (figure.animation == 457 && figure.animStep == 6) SetAnimation(figure, 458);
}

// Caption records fade in to `turnBelow`, then out past 260; a sequence then shows its
// next picture until `kPastLastPicture` is reached. A frame that turns the fade runs
// no step of the new direction.
struct Caption {
  int id;
  double fadeIn;
  double fadeOut;
  double turnBelow;
  bool sequence;
};
constexpr Caption kCaptions[] = {{4164, 1.5, 1.7, -44.0, false}, {4165, 2.2, 2.2, -64.0, true}};
constexpr int kPastLastPicture = 440;

void CaptionPage(int slot) {
  GameObject& caption = ObjectPool[slot];
  const Caption& row = RowFor(kCaptions, caption.behaviour);
  if (caption.phase == 0.0f) {
    AddTo(caption.fade, -row.fadeIn);
    if (caption.fade < row.turnBelow) caption.phase = 1.0f;
    return;
  }
  if (caption.phase != 1.0f) return;
  AddTo(caption.fade, row.fadeOut);
  if (caption.fade <= 260.0f) return;
  if (!row.sequence) {
    ResetObject(slot);
    return;
  }
  caption.animation += 1;
  caption.phase = 0.0f;
  if (caption.animation == kPastLastPicture) ResetObject(slot);
}

void Shadow(int slot) {
  GameObject& shadow = ObjectPool[slot];
  const GameObject& figure = ObjectPool[kMainFigureSlot];
  shadow.x = figure.x;
  shadow.y = figure.y;
  if (figure.animation == 454) ResetObject(slot);
}

void Keepsake(int slot) {
  GameObject& keepsake = ObjectPool[slot];
  const GameObject& figure = ObjectPool[kMainFigureSlot];
  if (figure.animation == 453) {
    keepsake.x = static_cast<float>(figure.x + 10.0);
    keepsake.y = static_cast<float>(figure.y - 4.0);
  }
  if (figure.animation == 454 || figure.animation == 455) {
    AddTo(keepsake.x, 0.1);
    AddTo(keepsake.y, keepsake.vy);
    AddTo(keepsake.fade, 0.15);
  }
}

constexpr auto kEntries = JoinEntries(std::to_array<BehaviourEntry>({
                                          {4157, &FlyingFigure},
                                          {4158, &SettlingFigure},
                                          {4159, &FallingFigure},
                                          {4161, &SinkingFigure},
                                          {4162, &RisingGlow},
                                          {4163, &MainFigure},
                                          {4166, &Shadow},
                                          {4167, &Keepsake},
                                      }),
                                      EntriesFor(kCaptions, &CaptionPage));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
