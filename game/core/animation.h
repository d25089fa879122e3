// The animation rows of the sprites and their stepping. A row is up to 30 pairs of
// (cell of the object's image set, duration); each pair shows for duration + 1
// frames; the pair with cell 99 ends the row: duration 0 starts it again, 1 frees
// the object.
#pragma once

#include "core/game_object.h"

struct AnimationPair {
  int frame;
  int duration;
};

constexpr int kAnimationRows = 465;
constexpr int kPairsPerRow = 30;
constexpr int kEndFrame = 99;
constexpr int kEndLoops = 0;
constexpr int kEndFrees = 1;

extern const AnimationPair AnimationTable[kAnimationRows][kPairsPerRow];

// The pair an object shows now. A row outside the table counts as row 0 and a step
// beyond the row as step 0, so a stale or foreign value never reads past the table.
const AnimationPair& CurrentAnimationPair(const GameObject& object);

// One frame of an object's animation; frees the object at a freeing end marker.
void StepAnimation(int slot);
