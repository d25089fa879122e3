// A template call and the records it wrote, in the order taken, with the call log
// cleared before it so that the test reads only the call's own draws and sounds.
#pragma once

#include <vector>

#include "core/game_object.h"
#include "pool_fixture.h"

class RecordsMade : public PoolFixture {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::vector<GameObject*> Create(int templateId, int x, int y, int facing, int parentSlot);
};
