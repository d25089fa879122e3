// Tables of library resources named by HandleId: the HandleType code in bits 27-30, an
// 11-bit check number in bits 16-26, the slot in bits 0-15. A table hands out the slot
// at its high-water mark (one past the highest used slot) and, once that reaches the
// end, the lowest free slot. Every new record gets the next check number (wrapping
// after 2047), so a handle kept past its record's deletion is refused even when its
// slot is used again, as long as the check numbers differ.
#pragma once

#include <cstdint>

struct HandleTable {
  int type;        // HandleType code
  int capacity;    // slots, at most 65536
  void** records;  // `capacity` entries, null when free
  std::uint16_t* checks;
  int count;      // used slots
  int highWater;  // one past the highest used slot
  int checkCounter;
};

// A table over static arrays: HANDLE_TABLE(name, type, capacity).
#define HANDLE_TABLE(name, type, capacity)          \
  void* name##Records[capacity];                    \
  std::uint16_t name##Checks[capacity];             \
  HandleTable name = {type, capacity, name##Records, name##Checks, 0, 0, 0}

// The slot the next record goes to, or -1 when the table is full.
int FindFreeHandleSlot(const HandleTable* table);
// Puts `record` into the free `slot` and returns its handle.
int InsertHandleRecord(HandleTable* table, int slot, void* record);
// The record a handle names, or null when the handle is not valid for the table.
void* FindHandleRecord(const HandleTable* table, int handle);
// The handle of the record in a used slot.
int HandleOfSlot(const HandleTable* table, int slot);
// Empties a used slot; the high-water mark drops below the slots left empty at the top.
void RemoveHandleRecord(HandleTable* table, int slot);

inline int HandleSlot(int handle) { return handle & 0xFFFF; }
