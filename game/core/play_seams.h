// The frame loop's calls into play that are not built yet: the player's sprite,
// control and shots and the collision pass. See play_seams.cpp.
#pragma once

// The player.
void UpdatePlayerSprite();
void UpdatePlayerControl();
void FirePlayerShots();
// Collision pass.
void UpdateCollision();
