// The player's dragon in play: its sprite upkeep, its control (flight, camera, pause,
// actions, guard and death) and its shots. The frame loop calls these three once per
// frame; the control's single steps are in player_control_steps.h.
#pragma once

// Idle animations and the two companion sprites of the wing shadow and light.
void UpdatePlayerSprite();
// The whole control routine of one play frame, also while paused.
void UpdatePlayerControl();
// Releases the armed burst of the shot in use (in play and the loadout preview).
void FirePlayerShots();
