#include "core/collision_lists.h"

#include <cstdlib>

#include "core/game_state.h"
#include "game_library.h"

namespace {

constexpr std::int64_t kNearAcross = 1200;
constexpr std::int64_t kNearDown = 900;
constexpr double kWideAcross = 1200.0;

// Distances in 64 bits: a far-off or broken coordinate truncates to INT_MIN.
std::int64_t Distance(float a, float b) {
  return std::llabs(static_cast<std::int64_t>(FloatToInt(a)) - FloatToInt(b));
}

void ClearAll(CollisionLists& lists) {
  lists.enemies.Clear();
  lists.bullets.Clear();
  lists.shots.Clear();
}

void AddByCategory(CollisionLists& lists, int slot) {
  switch (ObjectPool[slot].category) {
    case kCategoryEnemy: lists.enemies.Add(slot); break;
    case kCategoryEnemyBullet: lists.bullets.Add(slot); break;
    case kCategoryPlayerShot: lists.shots.Add(slot); break;
    default: break;
  }
}

}  // namespace

void ListNearPlayer(CollisionLists& lists) {
  ClearAll(lists);
  const GameObject& player = ObjectPool[kPlayerSlot];
  int nearBullets = 0;
  for (int slot = 0; slot < kPoolSize; ++slot) {
    GameObject& object = ObjectPool[slot];
    if (object.state == kStateDelayed) {
      --object.timer;
      // A record created with no delay left wakes as well, instead of waiting forever.
      if (object.timer <= 0) object.state = kStateActive;
    }
    if (object.state != kStateActive) continue;
    if (Distance(object.x, player.x) >= kNearAcross || Distance(object.y, player.y) >= kNearDown) continue;
    AddByCategory(lists, slot);
    // Shootable bullets (death effect 99) do not count towards the slow-down.
    if (object.category == kCategoryEnemyBullet && object.deathEffect != 99) ++nearBullets;
  }
  NearBulletCount = nearBullets;
}

void ListAcrossPlayer(CollisionLists& lists) {
  ClearAll(lists);
  const GameObject& player = ObjectPool[kPlayerSlot];
  // Unlike the main pass, the wide pass compares the positions as they are.
  const double left = player.x - kWideAcross;
  const double right = player.x + kWideAcross;
  for (int slot = 0; slot < kPoolSize; ++slot) {
    const GameObject& object = ObjectPool[slot];
    if (object.state != kStateActive) continue;
    if (left < object.x && object.x < right) AddByCategory(lists, slot);
  }
}

HitBox HitBoxOf(const GameObject& object) {
  return {FloatToInt(object.x), FloatToInt(object.y), object.hitWidth / 2, object.hitHeight / 2};
}

bool BoxesOverlap(const HitBox& a, const HitBox& b) {
  return a.x - a.halfWidth < b.x + b.halfWidth && a.x + a.halfWidth > b.x - b.halfWidth &&
         a.y - a.halfHeight < b.y + b.halfHeight && a.y + a.halfHeight > b.y - b.halfHeight;
}

bool WithinGrazeReach(const GameObject& player, double reach, const HitBox& bullet) {
  const double x = player.x;
  const double y = player.y;
  const double across = player.hitWidth * reach;
  const double down = player.hitHeight * reach;
  return x - across < static_cast<double>(bullet.x + bullet.halfWidth) &&
         x + across > static_cast<double>(bullet.x - bullet.halfWidth) &&
         y - down < static_cast<double>(bullet.y + bullet.halfHeight) &&
         y + down > static_cast<double>(bullet.y - bullet.halfHeight);
}
