// Placeholder pictures at the size and cell layout the resource tables give, on the
// game's transparent green: the worded pictures (pages, panels, captions, cursors)
// say what they are; sprites show their role in play by shape and colour family;
// backdrops tile without seams and stay in background tones.
#pragma once

#include "canvas.h"
#include "cell_roles.h"
#include "core/resource_table.h"

Canvas DrawPlaceholder(const PictureFile& picture, const CellRoleMap& roles);
// A cell of a sprite sheet that the game's display draws itself where it stays on its
// page (a marker, a label, the level-up arrow), not the edge marker that follows an
// enemy off the screen.
bool IsStillMark(const PictureFile& picture, int cell);
// The marker the game draws around a chosen value or tab.
bool IsSelectionMark(const PictureFile& picture, int cell);
// The marker the HUD draws at the screen's edge, following an enemy off the screen.
bool IsEdgeMark(const PictureFile& picture, int cell);
