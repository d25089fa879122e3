// The in-game display's services that play calls.
#pragma once

// A rising score popup of `value` at the object in `slot`.
void SpawnScorePopup(int slot, int value);
// The screen around the player, kept for the damage flash after a hit.
void CaptureDamageFlash();
