// The slot tables behind the graphics handles (graphs, 2-D surface pieces, surface
// data). A handle is ((check | type << 11) << 16) | slot: the type in bits 27-30, an
// 11-bit check number in bits 16-26 and the slot in the low 16 bits. New records take
// the high-water mark (one past the highest occupied slot) and, once it reaches the
// end of the table, the lowest free slot. The check number comes from a counter that
// wraps at 2048, so a handle kept after its record was freed is refused while its
// slot is empty or holds a record with another check number.
#pragma once

#include <cstdint>

constexpr std::uint32_t kHandleCheckLimit = 2048;
constexpr std::uint32_t kHandleTypeMask = 0x78000000u;
constexpr std::uint32_t kHandleCheckMask = 0x07FF0000u;

// Record must have a `std::uint32_t check` field.
template <typename Record, int Capacity, std::uint32_t Type>
struct HandleTable {
  Record* slots[Capacity];
  int liveCount;
  int highWater;
  std::uint32_t checkCounter;

  static int MakeHandle(std::uint32_t check, int slot) {
    return static_cast<int>(((check | (Type << 11)) << 16) | static_cast<std::uint32_t>(slot));
  }
  static int SlotOf(int handle) { return handle & 0xFFFF; }

  bool IsFull() const { return liveCount >= Capacity; }

  // The slot a new record takes, or -1 when the table is full.
  int ChooseSlot() const {
    if (IsFull()) return -1;
    if (highWater < Capacity) return highWater;
    for (int slot = 0; slot < Capacity; ++slot) {
      if (slots[slot] == nullptr) return slot;
    }
    return -1;
  }

  // Stores the record in a slot from ChooseSlot, gives it the next check number and
  // returns its handle.
  int Register(int slot, Record* record) {
    record->check = checkCounter;
    checkCounter = (checkCounter + 1) % kHandleCheckLimit;
    slots[slot] = record;
    ++liveCount;
    if (slot >= highWater) highWater = slot + 1;
    return MakeHandle(record->check, slot);
  }

  // The live record a handle names, or nullptr.
  Record* Find(int handle) const {
    if (handle < 0 || (static_cast<std::uint32_t>(handle) & kHandleTypeMask) != (Type << 27)) return nullptr;
    const int slot = SlotOf(handle);
    if (slot >= Capacity) return nullptr;
    Record* record = slots[slot];
    if (record == nullptr || (record->check << 16) != (static_cast<std::uint32_t>(handle) & kHandleCheckMask)) {
      return nullptr;
    }
    return record;
  }

  // The handle of the record in an occupied slot.
  int HandleOf(int slot) const { return MakeHandle(slots[slot]->check, slot); }

  // Empties a slot; the mark drops past every empty slot below it.
  void Unregister(int slot) {
    slots[slot] = nullptr;
    --liveCount;
    if (slot == highWater - 1) {
      while (highWater > 0 && slots[highWater - 1] == nullptr) --highWater;
    }
  }

  // Forgets every record (their owners free them) and restarts the check counter.
  void Clear() {
    for (Record*& record : slots) record = nullptr;
    liveCount = 0;
    highWater = 0;
    checkCounter = 0;
  }
};
