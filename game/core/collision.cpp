#include "core/collision.h"

#include "core/collision_steps.h"
#include "core/game_state.h"

namespace {

// The "GoldStrike" codes and their variant's, as main or second shot.
bool GoldStrikeSelected() {
  for (int code : {NShotType, TShotType}) {
    if ((code >= 60 && code <= 63) || (code >= 120 && code <= 123)) return true;
  }
  return false;
}

}  // namespace

void UpdateCollision() {
  // Too large for the stack; the wide pass lists into the same arrays.
  static CollisionLists lists;
  ListNearPlayer(lists);
  TestPlayerHits(lists);
  TestShots(lists, kMainPassRules);
  if (!GoldStrikeSelected()) return;
  ListAcrossPlayer(lists);
  TestShots(lists, kWidePassRules);
}
