#include "records_made.h"

#include "../support/call_recorder.h"
#include "objects/objects.h"

void RecordsMade::SetUp() {
  PoolFixture::SetUp();
  ResetCallRecorder();
}

void RecordsMade::TearDown() {
  ResetCallRecorder();
  PoolFixture::TearDown();
}

std::vector<GameObject*> RecordsMade::Create(int templateId, int x, int y, int facing, int parentSlot) {
  TakeSlotLog();
  ClearCallLog();
  CreateObject(templateId, x, y, facing, parentSlot);
  std::vector<GameObject*> records;
  for (int slot : TakeSlotLog()) records.push_back(&ObjectPool[slot]);
  return records;
}
