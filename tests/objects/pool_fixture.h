// The state every template test starts from: a new game's globals, a zeroed pool
// with the player in slot 0 at (1000, 500) and the group parents in slots 1 and 2,
// the generator seeded 0, and a log of the slots each template takes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game_object.h"

class PoolFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The slots the templates took since the last call, in the order taken.
  std::vector<int> TakeSlotLog();
  // A copy of the whole pool, to compare after a call.
  std::vector<GameObject> Snapshot() const;
};

// A record as CreateObject's records start: the reset values.
GameObject ResetValues();
// The fields of `record` that differ from `base`, as "name=value" in record order.
std::string DescribeFields(const GameObject& record, const GameObject& base);
// Every slot whose bytes differ from `before`, with its changed fields.
std::string DescribeChanges(const std::vector<GameObject>& before);
// The values RandomInRange gives for these maxima right after seeding 0.
std::vector<int> DrawsFromSeed0(const std::vector<int>& maxima);
