#include "core/animation.h"

const AnimationPair AnimationTable[kAnimationRows][kPairsPerRow] = {
    {{0, 0}, {99, 0}},
};
