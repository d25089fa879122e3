// The per-frame pass over the pool and the dispatch by behaviour number.
#include <array>

#include "core/game_object.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/objects.h"

namespace {

constexpr int kEnemyIds = kLastEnemyBehaviour - kFirstEnemyBehaviour + 1;
constexpr int kEffectIds = kLastEffectBehaviour - kFirstEffectBehaviour + 1;

struct DispatchTables {
  std::array<Behaviour, kEnemyIds> enemy;
  std::array<Behaviour, kEffectIds> effect;

  DispatchTables() {
    enemy.fill(&NoBehaviour);
    effect.fill(&NoBehaviour);
    for (const BehaviourFamily* family : BehaviourFamilies()) {
      for (const BehaviourEntry& entry : *family) {
        if (Behaviour* slot = Entry(entry.id)) *slot = entry.run;
      }
    }
  }

  // The table entry of an id of either range, nullptr outside both.
  Behaviour* Entry(int id) {
    if (id >= kFirstEnemyBehaviour && id <= kLastEnemyBehaviour) return &enemy[id - kFirstEnemyBehaviour];
    if (id >= kFirstEffectBehaviour && id <= kLastEffectBehaviour) return &effect[id - kFirstEffectBehaviour];
    return nullptr;
  }
};

DispatchTables& Tables() {
  static DispatchTables tables;
  return tables;
}

}  // namespace

void NoBehaviour(int) {}

Behaviour BehaviourFor(int category, int id) {
  DispatchTables& tables = Tables();
  switch (category) {
    case kCategoryEnemy:
    case kCategoryPickup:
      if (id < kFirstEnemyBehaviour || id > kLastEnemyBehaviour) return nullptr;
      return tables.enemy[id - kFirstEnemyBehaviour];
    case kCategoryPlayerShot:
    case kCategoryEnemyBullet:
    case kCategoryEffect:
    case kCategoryDecoration:
      if (id < kFirstEffectBehaviour || id > kLastEffectBehaviour) return nullptr;
      return tables.effect[id - kFirstEffectBehaviour];
    default:
      return nullptr;
  }
}

Behaviour ReplaceBehaviour(int id, Behaviour run) {
  Behaviour* entry = Tables().Entry(id);
  if (entry == nullptr) return nullptr;
  const Behaviour before = *entry;
  *entry = run;
  return before;
}

void UpdateObjects() {
  // Records made during the pass in higher slots are met later in the same pass.
  for (int slot = 0; slot < kPoolSize; ++slot) {
    const GameObject& object = ObjectPool[slot];
    if (object.state != kStateActive) continue;
    if (const Behaviour run = BehaviourFor(object.category, object.behaviour)) run(slot);
  }
}
