#include "pool_fixture.h"

#include <cstring>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "core/object_pool.h"
#include "game_library.h"
#include "objects/object_factory.h"
#include "objects/object_fields.h"

namespace {

std::vector<int> slotLog;

void LogSlot(int slot) { slotLog.push_back(slot); }

}  // namespace

void PoolFixture::SetUp() {
  NewGameInit();
  // Saved options and the player's option choice: the new game keeps them.
  EnemyHighlightOff = 0;
  OptionType = 0;
  OptionShot = 0;
  const GameObject player = ObjectPool[kPlayerSlot];
  std::memset(ObjectPool, 0, sizeof ObjectPool);
  ForgetFreeSlotHint();
  ObjectPool[kPlayerSlot] = player;
  ObjectPool[kPlayerSlot].x = 1000.0f;
  ObjectPool[kPlayerSlot].y = 500.0f;
  ObjectPool[kGroup1ParentSlot] = ResetValues();
  ObjectPool[kGroup1ParentSlot].group = 1;
  ObjectPool[kGroup2ParentSlot] = ResetValues();
  ObjectPool[kGroup2ParentSlot].group = 2;
  SeedRandom(0);
  ResetCallRecorder();
  slotLog.clear();
  RecordTakenHook = LogSlot;
}

void PoolFixture::TearDown() { RecordTakenHook = nullptr; }

std::vector<int> PoolFixture::TakeSlotLog() { return std::exchange(slotLog, {}); }

std::vector<GameObject> PoolFixture::Snapshot() const { return {std::begin(ObjectPool), std::end(ObjectPool)}; }

GameObject ResetValues() {
  GameObject record{};
  record.x = record.y = -100.0f;
  record.collidable = record.weight = 1;
  return record;
}

std::string DescribeFields(const GameObject& record, const GameObject& base) {
  std::string text;
  for (const ObjectField& field : kObjectFields) {
    const std::string value = FieldText(record, field);
    if (value != FieldText(base, field)) text += " " + std::string(field.name) + "=" + value;
  }
  return text;
}

std::string DescribeChanges(const std::vector<GameObject>& before) {
  std::string text;
  for (int slot = 0; slot < kPoolSize; ++slot) {
    if (std::memcmp(&before[slot], &ObjectPool[slot], sizeof(GameObject)) == 0) continue;
    text += "slot " + std::to_string(slot) + ":" + DescribeFields(ObjectPool[slot], ResetValues()) + "\n";
  }
  return text;
}

std::vector<int> DrawsFromSeed0(const std::vector<int>& maxima) {
  SeedRandom(0);
  std::vector<int> values;
  for (int max : maxima) values.push_back(RandomInRange(max));
  SeedRandom(0);
  return values;
}
