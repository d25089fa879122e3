// Pool records written by hand around the player at (1000, 500), and the collision
// pass run on them with its effects, drops and sounds logged, not carried out.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "../support/call_recorder.h"
#include "core/collision.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/object_pool.h"
#include "core/run_state.h"

using V = std::vector<int>;

class CollisionTest : public testing::Test {
 public:
  static constexpr float kPlayerX = 1000.0f;
  static constexpr float kPlayerY = 500.0f;

  void SetUp() override { Fresh(); }
  void TearDown() override { Clean(); }

  static void Clean() {
    std::fill(std::begin(ObjectPool), std::end(ObjectPool), GameObject{});
    ForgetFreeSlotHint();
    ClearRunState();
    ClearRunControlState();
    LevelUpCount = 0;
    ResetCallRecorder();
  }
  // An empty pool and run with a vulnerable, unguarded player of 4 x 4 in stage 1.
  static void Fresh() {
    Clean();
    for (Call call : {Call::CreateObject, Call::SpawnDeathEffects, Call::SpawnScorePopup, Call::CaptureDamageFlash})
      SetForwarding(call, false);
    Put(kPlayerSlot, kCategoryPlayer, kPlayerX, kPlayerY, 4);
    InvulnFrames = -1.0f;
    GuardValue = 50.0f;
    Lives = 3.0f;
    SpeedLevel = SlowdownOption = Stage = 1;
    GameMode = DamageFlashOff = 0;
    NShotType = TShotType = 10;
    std::fill(std::begin(VariantShotFlags), std::end(VariantShotFlags), 999);
  }

  static GameObject& Put(int slot, int category, float x, float y, int hitSize) {
    GameObject& object = ObjectPool[slot];
    object.state = kStateActive;
    object.category = category;
    object.x = x;
    object.y = y;
    object.hitWidth = object.hitHeight = hitSize;
    object.width = object.height = 64;
    object.hitPoints = 1000;
    object.collidable = object.weight = 1;
    return object;
  }
  static GameObject& Enemy(int slot, float x, float y) { return Put(slot, kCategoryEnemy, x, y, 8); }
  static GameObject& Bullet(int slot, float x, float y, bool shootable = false) {
    GameObject& bullet = Put(slot, kCategoryEnemyBullet, x, y, 8);
    if (shootable) bullet.deathEffect = 99;
    return bullet;
  }
  static GameObject& Shot(int slot, int behaviour, int power, float x, float y) {
    GameObject& shot = Put(slot, kCategoryPlayerShot, x, y, 8);
    shot.behaviour = behaviour;
    shot.attackPower = power;
    return shot;
  }
  // One argument of every logged call of a kind; the template numbers by default.
  static V Arguments(Call kind = Call::CreateObject, int argument = 0) {
    V values;
    for (const RecordedCall& call : CallsOf(kind)) values.push_back(call.Int(argument));
    return values;
  }
};
