#include "core/veils.h"

#include "core/display.h"
#include "core/game_state.h"
#include "float_to_int.h"
#include "game_library.h"

namespace {

struct VeilRule {
  int* counter;
  int step;
  bool heldWhilePaused;  // the additive veils stand still during a pause
  int blendMode;
  double divisor;        // blend parameter = counter / divisor, truncated
  int grey;              // 0 black, 255 white
};

// By Veil.
constexpr VeilRule kVeilRules[] = {
    {&EndingFadeIn, -1, false, kBlendAlpha, 1.0, 0},
    {&EndFadeTimer, -1, false, kBlendAlpha, 1.0, 255},
    {&DeathFrames, 1, false, kBlendAlpha, 1.0, 0},
    {&FlashFade, 2, true, kBlendAdd, 1.0, 255},
    {&EndFadeFlag, 1, true, kBlendAdd, 2.6, 255},
};

void DrawVeil(const VeilRule& rule) {
  int& counter = *rule.counter;
  if (counter < 1) return;
  if (!(rule.heldWhilePaused && Paused != 0)) counter += rule.step;
  SetBlendMode(rule.blendMode, DoubleToInt(counter / rule.divisor));
  FillScreen(rule.grey, rule.grey, rule.grey);
}

}  // namespace

void DrawVeils(std::span<const Veil> veils) {
  for (const Veil veil : veils) DrawVeil(kVeilRules[static_cast<int>(veil)]);
}
