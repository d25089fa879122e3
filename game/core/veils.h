// The full-screen veils of play and of the ending: each is a counter that, while it is
// 1 or more, is stepped once per frame and then drawn as one box over the screen with
// the counter as the blend parameter. Play and the ending draw different lists of them
// in different orders.
#pragma once

#include <span>

enum class Veil : int {
  kEndingFadeIn,  // black, counting down from 260
  kEndFadeTimer,  // white, counting down
  kDeathFrames,   // black, counting up
  kFlashFade,     // additive white, +2 per unpaused frame
  kEndFadeFlag,   // additive white, +1 per unpaused frame, drawn at a 2.6th
};

// Steps and draws the listed veils in turn.
void DrawVeils(std::span<const Veil> veils);
