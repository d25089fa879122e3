// The behaviour numbers and how they reach their code. A family source (a file named
// *_behaviours.cpp in this folder) lists its {id, behaviour} pairs and registers the
// list with one line:
//
//   constexpr BehaviourEntry kEntries[] = {{4006, &Drift}, {4013, &Drift}};
//   REGISTER_BEHAVIOURS(kEntries);
//
// The build collects every family; the update loop fills its two dense tables from
// them. An id no family names does nothing.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

// One frame of conduct for the record in pool slot `slot`.
using Behaviour = void (*)(int slot);

struct BehaviourEntry {
  int id;  // ObjectBehaviourId
  Behaviour run;
};
using BehaviourFamily = std::span<const BehaviourEntry>;

// The two id ranges the update loop runs.
constexpr int kFirstEnemyBehaviour = 3001;  // categories 2 and 5
constexpr int kLastEnemyBehaviour = 3109;
constexpr int kFirstEffectBehaviour = 4001;  // categories 3, 4, 6 and 7
constexpr int kLastEffectBehaviour = 4170;

// Every registered family, one list per family source.
std::span<const BehaviourFamily* const> BehaviourFamilies();

// The behaviour a record of `category` with behaviour number `id` runs; nullptr
// when the record is not updated (out of its category's range, or a category the
// loop skips). Ids in range that no family names give the shared no-op.
Behaviour BehaviourFor(int category, int id);
void NoBehaviour(int slot);

// Test hook: runs `run` for `id` from now on; returns what ran before.
Behaviour ReplaceBehaviour(int id, Behaviour run);

#define REGISTER_BEHAVIOURS(entries)                  \
  extern const BehaviourFamily BEHAVIOUR_FAMILY_NAME; \
  const BehaviourFamily BEHAVIOUR_FAMILY_NAME { entries }

// Entries for every row of a family table, all run by the same code, which looks its
// row up by the record's behaviour number.
template <typename Row, std::size_t N>
constexpr std::array<BehaviourEntry, N> EntriesFor(const Row (&rows)[N], Behaviour run) {
  std::array<BehaviourEntry, N> entries{};
  for (std::size_t i = 0; i < N; ++i) entries[i] = {rows[i].id, run};
  return entries;
}

template <std::size_t... N>
constexpr std::array<BehaviourEntry, (N + ...)> JoinEntries(const std::array<BehaviourEntry, N>&... lists) {
  std::array<BehaviourEntry, (N + ...)> joined{};
  std::size_t next = 0;
  ((next = std::copy(lists.begin(), lists.end(), joined.begin() + next) - joined.begin()), ...);
  return joined;
}

// The row of `rows` whose id is `id` (the first row when none is).
template <typename Row, std::size_t N>
const Row& RowFor(const Row (&rows)[N], int id) {
  for (const Row& row : rows) {
    if (row.id == id) return row;
  }
  return rows[0];
}
