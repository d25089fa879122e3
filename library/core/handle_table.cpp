#include "core/handle_table.h"

namespace {

constexpr int kCheckMask = 0x7FF;
constexpr int kTypeMask = 0x78000000;
constexpr int kTypeShift = 27;
constexpr int kCheckShift = 16;

}  // namespace

int FindFreeHandleSlot(const HandleTable* table) {
  if (table->count >= table->capacity) return -1;
  if (table->highWater < table->capacity) return table->highWater;
  for (int slot = 0; slot < table->capacity; ++slot) {
    if (table->records[slot] == nullptr) return slot;
  }
  return -1;
}

int InsertHandleRecord(HandleTable* table, int slot, void* record) {
  table->records[slot] = record;
  table->checks[slot] = static_cast<std::uint16_t>(table->checkCounter);
  table->checkCounter = (table->checkCounter + 1) & kCheckMask;
  ++table->count;
  if (slot >= table->highWater) table->highWater = slot + 1;
  return HandleOfSlot(table, slot);
}

void* FindHandleRecord(const HandleTable* table, int handle) {
  if (handle < 0 || (handle & kTypeMask) != (table->type << kTypeShift)) return nullptr;
  const int slot = HandleSlot(handle);
  if (slot >= table->capacity || table->records[slot] == nullptr) return nullptr;
  if (table->checks[slot] != ((handle >> kCheckShift) & kCheckMask)) return nullptr;
  return table->records[slot];
}

int HandleOfSlot(const HandleTable* table, int slot) {
  return (table->type << kTypeShift) | (table->checks[slot] << kCheckShift) | slot;
}

void RemoveHandleRecord(HandleTable* table, int slot) {
  table->records[slot] = nullptr;
  --table->count;
  if (slot == table->highWater - 1) {
    while (table->highWater > 0 && table->records[table->highWater - 1] == nullptr) --table->highWater;
  }
}
