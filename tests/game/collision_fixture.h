// Pool records written by hand around the player at (1000, 500), and the collision
// pass run on them with its effects, drops and sounds logged, not carried out.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "../support/call_recorder.h"
#include "core/collision.h"
#include "core/input.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/run_state.h"

class CollisionTest : public testing::Test {
 public:
  static constexpr float kPlayerX = 1000.0f;
  static constexpr float kPlayerY = 500.0f;

  void SetUp() override { Fresh(); }
  void TearDown() override { Clean(); }

  static void Clean() {
    for (int slot = 0; slot < kPoolSize; ++slot) {
      ObjectPool[slot] = GameObject{};
      ResetObject(slot);
    }
    ClearRunState();
    ClearRunControlState();
    LevelUpCount = 0;
    ResetCallRecorder();
  }
  // An empty pool and run with a vulnerable, unguarded player of 4 x 4.
  static void Fresh() {
    Clean();
    for (Call call : {Call::CreateObject, Call::SpawnDeathEffects, Call::SpawnScorePopup, Call::CaptureDamageFlash})
      SetForwarding(call, false);
    Put(kPlayerSlot, kCategoryPlayer, kPlayerX, kPlayerY, 4, 4);
    InvulnFrames = -1.0f;
    GuardValue = 50.0f;
    Lives = 3.0f;
    SpeedLevel = 1;
    SlowdownOption = 1;
    Stage = 1;
    GameMode = 0;
    DamageFlashOff = 0;
    NShotType = 10;
    TShotType = 10;
    std::fill(std::begin(VariantShotFlags), std::end(VariantShotFlags), 999);
  }

  static GameObject& Put(int slot, int category, float x, float y, int hitWidth, int hitHeight) {
    GameObject& object = ObjectPool[slot];
    object.state = kStateActive;
    object.category = category;
    object.x = x;
    object.y = y;
    object.hitWidth = hitWidth;
    object.hitHeight = hitHeight;
    return object;
  }
  static GameObject& Enemy(int slot, float x, float y, int hitPoints = 1000) {
    GameObject& enemy = Put(slot, kCategoryEnemy, x, y, 8, 8);
    enemy.hitPoints = hitPoints;
    enemy.width = enemy.height = 64;
    return enemy;
  }
  static GameObject& Bullet(int slot, float x, float y, bool shootable = false) {
    GameObject& bullet = Put(slot, kCategoryEnemyBullet, x, y, 8, 8);
    if (shootable) bullet.deathEffect = 99;
    bullet.hitPoints = 1000;
    return bullet;
  }
  static GameObject& Shot(int slot, int behaviour, int power, float x, float y) {
    GameObject& shot = Put(slot, kCategoryPlayerShot, x, y, 8, 8);
    shot.behaviour = behaviour;
    shot.attackPower = power;
    return shot;
  }

  // Template numbers created, in order.
  static std::vector<int> Created() {
    std::vector<int> templates;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) templates.push_back(call.Int(0));
    return templates;
  }
  static std::vector<int> Arguments(Call kind, int argument = 0) {
    std::vector<int> values;
    for (const RecordedCall& call : CallsOf(kind)) values.push_back(call.Int(argument));
    return values;
  }
};
