// Placeholder pictures: recognisable shapes per kind of picture (dragon, enemies,
// bosses, bullets, shots, coins, effects, backdrops, digits, labels, panels, full
// screens) at the size and cell layout the resource tables give, on the game's
// transparent green.
#pragma once

#include "canvas.h"
#include "core/resource_table.h"

Canvas DrawPlaceholder(const PictureFile& picture);
