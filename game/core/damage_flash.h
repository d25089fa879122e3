// The damage flash's part of the HUD: steps the flash on unpaused frames and draws
// the grab while it runs.
#pragma once

void DrawDamageFlash();
