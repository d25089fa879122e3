// The collision pass's lists of pool slots and its two box tests: the hit test in
// whole pixels and the wider graze test of the player against enemy bullets.
#pragma once

#include <cstdint>

#include "core/game_object.h"

constexpr int kListEnd = 99999;

// Pool slots in pool order, ended by kListEnd.
struct SlotList {
  int slots[kPoolSize + 1];
  int count;

  void Clear() {
    count = 0;
    slots[0] = kListEnd;
  }
  void Add(int slot) {
    slots[count++] = slot;
    slots[count] = kListEnd;
  }
};

struct CollisionLists {
  SlotList enemies;  // category 2
  SlotList bullets;  // category 4
  SlotList shots;    // category 3
};

// The main pass: wakes the delayed records, then lists every active record within
// 1200 pixels across and 900 down of the player, and counts NearBulletCount.
void ListNearPlayer(CollisionLists& lists);
// The wide pass: every active record within 1200 pixels across of the player, at
// any height, by the untruncated positions.
void ListAcrossPlayer(CollisionLists& lists);

// A hit box in whole pixels: truncated centre, integer halves of the full size.
struct HitBox {
  std::int64_t x, y, halfWidth, halfHeight;
};
HitBox HitBoxOf(const GameObject& object);
// Strict on all four sides: boxes that only touch do not overlap.
bool BoxesOverlap(const HitBox& a, const HitBox& b);
// The player's full size times `reach` on each side of its untruncated position, in
// floating point, against the bullet's whole-pixel edges.
bool WithinGrazeReach(const GameObject& player, double reach, const HitBox& bullet);
