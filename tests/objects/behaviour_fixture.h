// Behaviour tests: the template tests' pool, with CreateObject logged and not run,
// so that a test sees exactly the calls a behaviour makes.
#pragma once

#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "objects/objects.h"
#include "pool_fixture.h"

class BehaviourTest : public PoolFixture {
 protected:
  void SetUp() override {
    PoolFixture::SetUp();
    ResetCallRecorder();
    SetForwarding(Call::CreateObject, false);
    CameraX = 0.0f;
    CameraY = 0.0f;
    FrameCycle4 = 0;
  }
  void TearDown() override {
    ResetCallRecorder();
    PoolFixture::TearDown();
  }

  // An active record of `category` and `behaviour` at (x, y).
  static GameObject& Put(int slot, int category, int behaviour, float x = 500.0f, float y = 400.0f) {
    GameObject& object = ObjectPool[slot];
    object = ResetValues();
    object.state = kStateActive;
    object.category = category;
    object.behaviour = behaviour;
    object.x = x;
    object.y = y;
    return object;
  }

  static GameObject& Player() { return ObjectPool[kPlayerSlot]; }

  static void Frames(int count) {
    for (int i = 0; i < count; ++i) UpdateObjects();
  }

  // Frames run until the record is freed (0 when it stands after `limit` frames).
  static int FramesUntilFreed(const GameObject& record, int limit = 2000) {
    for (int frame = 1; frame <= limit; ++frame) {
      UpdateObjects();
      if (record.state != kStateActive) return frame;
    }
    return 0;
  }
};
