// Seams: the collision pass is not built yet. The function here does the least the
// rest of the game needs until its own file replaces it:
// - UpdateCollision wakes delayed records.
#include "core/play_seams.h"

#include "core/game_state.h"

void UpdateCollision() {
  for (GameObject& object : ObjectPool) {
    if (object.state != kStateDelayed) continue;
    --object.timer;
    // A record created with no delay left wakes as well, instead of waiting forever.
    if (object.timer <= 0) object.state = kStateActive;
  }
}
