// The one record of every moving or drawn thing of play, and the pool that holds
// them all. The record keeps its 41 words in this order: saved states, digests and
// every subsystem read it by field, and its size is fixed.
#pragma once

#include <cstdint>

static_assert(sizeof(int) == 4 && sizeof(float) == 4, "the game's words are 32 bits");

// ObjectCategory: what an object is for the collision pass and the sweeps.
enum ObjectCategory : int {
  kCategoryPlayer = 1,
  kCategoryEnemy = 2,
  kCategoryPlayerShot = 3,
  kCategoryEnemyBullet = 4,
  kCategoryPickup = 5,
  kCategoryEffect = 6,
  kCategoryDecoration = 7,  // outside every collision list
};

// GameObject.state values.
enum ObjectState : int {
  kStateFree = 0,
  kStateActive = 1,
  kStateDelayed = 2,  // waits `timer` frames before it appears
};

struct GameObject {
  int state;
  int layer;       // 0..9 drawn in that order; 10 and above never drawn
  int category;    // ObjectCategory
  float x, y;      // world pixels
  float vx, vy;    // pixels per frame
  float spare;     // written by some, read by none
  int collidable;  // 0 none, 1 every test, 2 only the tests that accept 2
  int width, height;
  int hitWidth, hitHeight;  // full hit box, centred on x, y
  int imageSet;    // row of SpriteHandles
  int blendMode;   // 0 none; 1-3 that mode with 255 - fade; 4 mode 4 with 0
  float fade;
  int animation;   // row of AnimationTable
  int animTimer;
  int animStep;
  int facing;      // 0 right (towards larger x), 1 left (drawn mirrored)
  float angle;     // radians
  float scaleDelta;  // draw scale minus 1
  int behaviour;   // ObjectBehaviourId, 0 none
  int timer;       // behaviour clock, or the delay while state is 2
  int timer2;
  int hitPoints;
  int group;
  int attackPower;
  float phase, phase2;
  float work[4];   // behaviour scratch (floats)
  int workInt;     // behaviour scratch word 5 (integer)
  int hitFlash;
  int scoreValue;
  int coinDrop;
  int deathEffect;  // DeathEffectKind
  int weight;       // knock-back divisor; 99 marks heavy targets
  int expValue;
};
static_assert(sizeof(GameObject) == 164, "GameObject is 41 words");

constexpr int kPoolSize = 8600;
constexpr int kFirstAllocatedSlot = 50;
constexpr int kFullPoolSlot = 8500;  // handed out, unreset, when nothing is free

// Fixed slots.
constexpr int kPlayerSlot = 0;
constexpr int kGroup1ParentSlot = 1;
constexpr int kGroup2ParentSlot = 2;
constexpr int kWingShadowSlot = 3;
constexpr int kWingLightSlot = 4;
constexpr int kTurboReadySlot = 5;
constexpr int kFirstOptionSlot = 31;
constexpr int kLastOptionSlot = 36;
constexpr int kRamSlot = 37;

extern GameObject ObjectPool[kPoolSize];
