// The nine replay slots as the replay browser and the results' save page list them:
// one row per slot under a caption, and the details of one slot.
#pragma once

#include "core/game_state.h"

// The slot row of MenuCursorY (143 for slot 1, 30 apart) moved by up and down, wrapping
// from slot 9 to slot 1 and back; the slot under it.
void MoveSlotRow();
int SlotUnderRow();

// The caption at (x - 50, y - 30) and the rows of slots 1..9 from (x, y), 30 apart.
void DrawReplayRows(int x, int y, const char* caption);
// The name, loadout and results of one slot, at x 212 from y 490.
void DrawReplayDetails(const ReplayListEntry& entry);
