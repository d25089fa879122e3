#include "objects/template_helpers.h"

#include <algorithm>
#include <cmath>

#include "core/game_state.h"
#include "core/object_pool.h"
#include "game_library.h"

namespace {

GameObject ResetRecord() {
  GameObject record{};
  record.x = -100.0f;
  record.y = -100.0f;
  record.collidable = 1;
  record.weight = 1;
  return record;
}

GameObject& Taken(int slot, const TemplateRow& row) {
  if (RecordTakenHook) RecordTakenHook(slot);
  GameObject& record = ObjectPool[slot];
  WriteRow(record, row);
  return record;
}

}  // namespace

GameObject& NewRecord(const TemplateRow& row) { return Taken(AllocateObject(), row); }

GameObject& FixedRecord(int slot, const TemplateRow& row) {
  ResetObject(slot);
  return Taken(slot, row);
}

const GameObject& ParentRecord(int parentSlot) {
  static const GameObject kOutside = ResetRecord();
  if (parentSlot < 0 || parentSlot >= kPoolSize) return kOutside;
  return ObjectPool[parentSlot];
}

void PlaceAt(GameObject& record, int x, int y) {
  record.x = static_cast<float>(x);
  record.y = static_cast<float>(y);
}

GameObject& NewRecordAt(const TemplateRow& row, const TemplateCall& call) {
  GameObject& record = NewRecord(row);
  PlaceAt(record, call.x, call.y);
  return record;
}

void CopyGroup(GameObject& record, int parentSlot) { record.group = ParentRecord(parentSlot).group; }

void CountEnemy(const GameObject& record) {
  StageEnemiesSpawned += 1.0f;
  StageCoinsSpawned += static_cast<float>(record.coinDrop);
}

void TossUpward(GameObject& record) {
  const int vx = RandomInRange(8);
  record.vx = static_cast<float>(vx - 4);
  const int vy = RandomInRange(5);
  record.vy = static_cast<float>(-(vy + 3));
}

float ForwardSign(int facing) { return facing == 0 ? 1.0f : -1.0f; }

int FacingFromVx(float vx) { return vx > 0.0f ? 0 : 1; }

int HitPointsFor(const UpgradeHitPoints& scale) {
  const int sum = scale.base + scale.perShot * ShotLevel + scale.perOption * OptionLevel + scale.perTurbo * TurboLevel;
  return std::min(sum, scale.cap);
}

Heading HeadingAlong(float dx, float dy) {
  const float distance = std::sqrt(dx * dx + dy * dy);
  if (distance == 0.0f) return {0.0f, 0.0f, 0.0f};
  return {distance, dx / distance, dy / distance};
}
