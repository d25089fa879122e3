// Animation rows that objects show in play beyond what making each template once
// meets: rows a template draws at random or takes from the game's state, and rows a
// behaviour or the pool sets later. Each counts towards its cells' role with the role
// of the object that shows it.
#pragma once

#include <span>

#include "cell_roles.h"

struct RowsInPlay {
  int imageSet;
  int firstRow, lastRow;
  CellRole role;
};

std::span<const RowsInPlay> RowsShownInPlay();
