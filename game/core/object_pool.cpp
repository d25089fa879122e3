#include "core/object_pool.h"

#include <algorithm>

#include "core/game_state.h"

namespace {

// No slot from kFirstAllocatedSlot up to this one (exclusive) is free, so the search
// for a free slot starts here. Every way a slot of that range becomes free lowers it:
// ResetObject, which the whole-pool resets also go through.
int FirstSlotMaybeFree = kFirstAllocatedSlot;

// A closed window in world pixels, computed in double from the float camera.
struct Window {
  double left, right, top, bottom;
};

bool InsideClosed(const GameObject& object, const Window& window) {
  const double x = object.x;
  const double y = object.y;
  return x >= window.left && x <= window.right && y >= window.top && y <= window.bottom;
}

void FreeIfOutside(int slot, const Window& window) {
  if (!InsideClosed(ObjectPool[slot], window)) ResetObject(slot);
}

int CountEnemiesInGroup(int group) {
  int count = 0;
  for (const GameObject& object : ObjectPool) {
    if (object.state == kStateActive && object.category == kCategoryEnemy && object.group == group) ++count;
  }
  return count;
}

}  // namespace

void ResetObject(int slot) {
  GameObject& object = ObjectPool[slot];
  // The category and the attack power stay: the bullet sweeps select by category alone.
  const int category = object.category;
  const int attackPower = object.attackPower;
  object = GameObject{};
  object.x = -100.0f;
  object.y = -100.0f;
  object.collidable = 1;
  object.weight = 1;
  object.category = category;
  object.attackPower = attackPower;
  if (slot < FirstSlotMaybeFree) FirstSlotMaybeFree = std::max(slot, kFirstAllocatedSlot);
}

int AllocateObject() {
  for (int slot = FirstSlotMaybeFree; slot < kPoolSize; ++slot) {
    if (ObjectPool[slot].state == kStateFree) {
      // The slot stays free until the caller fills it: the next search starts at it.
      FirstSlotMaybeFree = slot;
      ResetObject(slot);
      return slot;
    }
  }
  FirstSlotMaybeFree = kPoolSize;
  return kFullPoolSlot;
}

void ForgetFreeSlotHint() { FirstSlotMaybeFree = kFirstAllocatedSlot; }

void FreeObjectIfFarOutside(int slot) {
  const double cx = CameraX;
  const double cy = CameraY;
  FreeIfOutside(slot, {cx - 1100.0, cx + 2200.0, cy - 800.0, cy + 1568.0});
}

void FreeObjectIfOffView(int slot) {
  const double cx = CameraX;
  const double cy = CameraY;
  FreeIfOutside(slot, {cx - 100.0, cx + 1100.0, cy - 100.0, cy + 868.0});
}

void FreeObjectIfOffWorld(int slot) { FreeIfOutside(slot, {-160.0, 6560.0, -160.0, 2080.0}); }

int CountEnemiesInGroup1() { return CountEnemiesInGroup(1); }
int CountEnemiesInGroup2() { return CountEnemiesInGroup(2); }

void CancelBullet(int slot) {
  GameObject& object = ObjectPool[slot];
  object.phase = 0.0f;
  object.imageSet = 0;
  object.behaviour = 4059;
  object.category = kCategoryEffect;
  object.blendMode = 2;
  object.animation = 117;
  object.collidable = 0;
}

void CancelAllBullets() {
  for (int slot = 0; slot < kPoolSize; ++slot) {
    if (ObjectPool[slot].category == kCategoryEnemyBullet) CancelBullet(slot);
  }
}

void ConvertBulletsToChips() {
  // Each bound is the camera plus or minus two constants, as the window was drawn up.
  const double left = CameraX - (100.0 + 1000.0);
  const double right = CameraX + (1100.0 + 1000.0);
  const double top = CameraY - (100.0 + 500.0);
  const double bottom = CameraY + (868.0 + 500.0);
  for (GameObject& object : ObjectPool) {
    // A freed record keeps its bullet category; it must not come back as a chip.
    if (object.category != kCategoryEnemyBullet || object.state == kStateFree) continue;
    const double x = object.x;
    const double y = object.y;
    if (!(x > left && x < right && y > top && y < bottom)) continue;
    ++ChipCount;
    object.animStep = 0;
    object.state = kStateActive;
    object.spare = 0.0f;
    object.collidable = 0;
    object.width = 32;
    object.height = 32;
    object.hitWidth = 160;
    object.hitHeight = 160;
    object.phase2 = 0.0f;
    object.imageSet = 0;
    object.blendMode = 2;
    object.animation = 395;
    object.behaviour = 3068;
    object.category = kCategoryPickup;
    object.vx = 0.0f;
    object.vy = 0.0f;
    object.scoreValue = 100;
  }
}
