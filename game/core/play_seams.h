// The frame loop's calls into play that are not built yet: the collision pass. See
// play_seams.cpp.
#pragma once

// Collision pass.
void UpdateCollision();
