// Runs the rows of a stage script, and resolves where the k-th spawn of a row goes;
// the event listing shares the latter.
#pragma once

#include "stages/script_rows.h"

// One call of the script for game mode `mode` (0 or 1): block 1, block 2, then
// timeline 3 by the script's rule; timeline 1's "> N" rows after block 1 or last.
void RunStageScript(const StageScript& script, int mode);

// The index k of `frame` among the frames on which action `action` of `row` acts
// (always 0 for a "> N" row whose condition holds), or -1.
int ActionFrameIndex(const ScriptRow& row, int action, int frame);

// The k-th spawn of a row with its pattern (step, in-turn tuple, grid) applied; the
// coordinates may still need the player, a slot or a random draw.
struct SpawnPlace {
  Coord x, y;
  int facing;
};
SpawnPlace PlaceOfSpawn(const ScriptAction& action, int k);
