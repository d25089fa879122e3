#include "core/animation.h"

#include "core/object_pool.h"

namespace {

int RowOf(const GameObject& object) {
  return object.animation >= 0 && object.animation < kAnimationRows ? object.animation : 0;
}

bool IsEnd(const AnimationPair& pair, int duration) { return pair.frame == kEndFrame && pair.duration == duration; }

}  // namespace

const AnimationPair& CurrentAnimationPair(const GameObject& object) {
  const int step = object.animStep >= 0 && object.animStep < kPairsPerRow ? object.animStep : 0;
  return AnimationTable[RowOf(object)][step];
}

void StepAnimation(int slot) {
  GameObject& object = ObjectPool[slot];
  if (object.animStep < 0 || object.animStep >= kPairsPerRow) object.animStep = 0;
  ++object.animTimer;
  if (object.animTimer > CurrentAnimationPair(object).duration) {
    ++object.animStep;
    object.animTimer = 0;
    if (object.animStep >= kPairsPerRow) object.animStep = 0;
  }
  if (IsEnd(CurrentAnimationPair(object), kEndLoops)) object.animStep = 0;
  if (IsEnd(CurrentAnimationPair(object), kEndFrees)) ResetObject(slot);
}
