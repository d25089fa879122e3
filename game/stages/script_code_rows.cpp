#include "stages/script_code_rows.h"

#include "core/game_state.h"
#include "core/object_pool.h"

namespace {

constexpr int kBossCoreSlot = 10;
constexpr int kFirstRegroupedSlot = 11;
constexpr int kLastRegroupedSlot = 20;
constexpr int kThirdGroupSlot = 19;
constexpr int kFormChangeFlash = 120;

}  // namespace

void CancelEveryEnemy() {
  for (int slot = 0; slot < kPoolSize; ++slot) {
    if (ObjectPool[slot].category == kCategoryEnemy) CancelBullet(slot);
  }
}

void ChangeBossForm() {
  ObjectPool[kBossCoreSlot].work[0] += 500.0f;
  RedFlashAlpha = kFormChangeFlash;
  CancelAllBullets();
  for (int slot = kFirstRegroupedSlot; slot <= kLastRegroupedSlot; ++slot) ObjectPool[slot].group = 2;
  ObjectPool[kThirdGroupSlot].group = 3;
}
