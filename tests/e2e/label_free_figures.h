// The figures the words check lets stand without a label on their row, each with why a
// player needs none there. A figure is told by where it stands in the frame as the game
// has it when the frame is shown; one that has a label after all fails the check, and
// so does a name that no checked frame of the tour used.
#pragma once

#include <span>

#include "word_check_measures.h"

struct LabelFreeFigure {
  const char* name;
  const char* why;
  bool (*standsAt)(const Box& figure);
};

std::span<const LabelFreeFigure> LabelFreeFigures();
