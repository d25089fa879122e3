// SpawnDeathEffects: the death of an object as its deathEffect kind says, from a
// small explosion to the end of the last boss. Every creation and every random draw
// comes in a fixed order: the shared random sequence decides every later draw.
#include <initializer_list>
#include <span>

#include "core/game_rules.h"
#include "core/sound_control.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

constexpr int kBossSlot = 10;

// What the sequences read of the dying record, taken once at the start.
struct Dying {
  int slot;
  float x, y;
  int width, height;
  int facing;
};

// One creation of a burst.
enum class Shape {
  kDebrisSet,    // 2015, 2016, 2016, 2017, 2018 scattered at half size
  kHalfScatter,  // one template scattered at half size
  kFullScatter,  // scattered at full size
  kCentred,      // at the position, the dying slot as parent
};
struct Piece {
  Shape shape;
  int templateId;
};
using Burst = std::initializer_list<Piece>;

constexpr Piece kDebris{Shape::kDebrisSet, 0};
constexpr Piece kLargeDebris{Shape::kFullScatter, 2145};
constexpr Piece Centred(int templateId) { return {Shape::kCentred, templateId}; }
constexpr Piece HalfScatter(int templateId) { return {Shape::kHalfScatter, templateId}; }

// A spread of -reach..+reach heaped toward the centre: the y draws before the x draws.
void Scatter(const Dying& dying, int templateId, int reachX, int reachY) {
  const int upY = RandomInRange(reachY);
  const int downY = RandomInRange(reachY);
  const int y = DoubleToInt((upY + static_cast<double>(dying.y)) - downY);
  const int upX = RandomInRange(reachX);
  const int downX = RandomInRange(reachX);
  const int x = DoubleToInt((upX + static_cast<double>(dying.x)) - downX);
  CreateObject(templateId, x, y, dying.facing, 0);
}

void Create(const Dying& dying, const Piece& piece, int centredFacing) {
  switch (piece.shape) {
    case Shape::kDebrisSet:
      for (int debris : {2015, 2016, 2016, 2017, 2018}) Scatter(dying, debris, dying.width / 2, dying.height / 2);
      break;
    case Shape::kHalfScatter:
      Scatter(dying, piece.templateId, dying.width / 2, dying.height / 2);
      break;
    case Shape::kFullScatter:
      Scatter(dying, piece.templateId, dying.width, dying.height);
      break;
    case Shape::kCentred:
      CreateObject(piece.templateId, FloatToInt(dying.x), FloatToInt(dying.y), centredFacing, dying.slot);
      break;
  }
}

void Bursts(const Dying& dying, int count, Burst burst, int centredFacing = 0) {
  for (int i = 0; i < count; ++i) {
    for (const Piece& piece : burst) Create(dying, piece, centredFacing);
  }
}

void ResetSlots(int first, int last, int keep = -1) {
  for (int slot = first; slot <= last; ++slot) {
    if (slot != keep) ResetObject(slot);
  }
}

void CancelCategory(int category) {
  for (int slot = 0; slot < kPoolSize; ++slot) {
    if (ObjectPool[slot].category == category) CancelBullet(slot);
  }
}

void PlayExplosionSound() {
  const int variant = RandomInRange(2);
  PlaySe(41 + variant, 250);
}

void SmallExplosion(const Dying& dying) {
  VibratePad(1000, 5);
  RandomInRange(4);  // drawn and not used: the sequence must advance
  PlayExplosionSound();
  Bursts(dying, 2, {kDebris, Centred(2141)});
}

void LargeExplosion(const Dying& dying) {
  const int variant = RandomInRange(2);
  const int priority = RandomInRange(8);
  VibratePad(1000, 8 + priority);
  PlayExplosionSound();
  PlaySe(44, 150);
  switch (variant) {
    case 0:
      Bursts(dying, 6, {kLargeDebris, kDebris});
      break;
    case 1:
      Bursts(dying, 4, {kLargeDebris, kDebris, Centred(2146)});
      break;
    default:
      PlaySe(45, 150);
      Bursts(dying, 4, {kLargeDebris, kDebris, Centred(2143)});
      break;
  }
}

// The boss explosions: their flash, the part slots they clear, the shake and
// slow-down, then the bursts and the wreck.
struct BossExplosion {
  int kind;
  float flash;                    // ScreenFlash, 0 none
  int firstCleared, lastCleared;  // slots, 0 none
  bool endsStage8Music;           // channel 8 fades out; every enemy is cancelled
  int vibration;
  int slowdownMs;
  int bursts;
  int wreck;
  int wreckFacing;       // 1 draws the wreck mirrored
  bool sparksFaceDying;  // the bursts' sparks take the dying record's facing
};
constexpr BossExplosion kBossExplosions[] = {
    {2, 250.0f, 0, 0, false, 60, 12, 19, 2183, 0, false}, {3, 250.0f, 11, 13, false, 60, 18, 19, 2188, 0, false},
    {4, 0.0f, 0, 0, false, 20, 10, 14, 2189, 0, false},   {5, 250.0f, 0, 0, false, 60, 20, 24, 2190, 0, false},
    {7, 250.0f, 0, 0, false, 60, 20, 24, 2207, 0, false}, {8, 50.0f, 14, 15, false, 60, 16, 19, 2188, 1, true},
    {9, 50.0f, 17, 18, false, 60, 16, 19, 2188, 0, true}, {10, 250.0f, 12, 18, true, 60, 16, 24, 2213, 0, false},
};

const BossExplosion* BossExplosionOf(int kind) {
  for (const BossExplosion& row : kBossExplosions) {
    if (row.kind == kind) return &row;
  }
  return nullptr;
}

void ExplodeBoss(const Dying& dying, const BossExplosion& row) {
  if (row.flash != 0.0f) ScreenFlash = row.flash;
  if (row.endsStage8Music) SetBgmFade(8, kFadeOutStop);
  if (row.firstCleared != 0) ResetSlots(row.firstCleared, row.lastCleared);
  VibratePad(1000, row.vibration);
  RequestSlowdown(row.slowdownMs);
  if (row.endsStage8Music) CancelCategory(kCategoryEnemy);
  const int sparkFacing = row.sparksFaceDying ? dying.facing : 0;
  Bursts(dying, row.bursts, {kLargeDebris, kDebris, Centred(2143)}, sparkFacing);
  Create(dying, Centred(row.wreck), row.wreckFacing);
}

void BreakUpWreck(const Dying& dying) {
  VibratePad(1000, 60);
  if (RandomInRange(2) == 0) {
    const int sound = RandomInRange(2);
    PlaySe(111 + sound, 100);
  }
  Bursts(dying, 19, {HalfScatter(2208), HalfScatter(2208), HalfScatter(2015), HalfScatter(2015)});
}

void ChipsAndFlash(const Dying& dying, int sounds) {
  ConvertBulletsToChips();
  ScreenFlash = 200.0f;
  for (int i = 0; i < sounds; ++i) PlaySe(89, 255);
  Create(dying, Centred(2223), 0);
}

// The stage 8 core dies: the body on slot 10 starts its closing sequence. The dying
// record keeps its slot: the collision pass still pays its rewards from it.
void EndStage8Core(const Dying& dying) {
  ChipsAndFlash(dying, 2);
  GameObject& body = ObjectPool[kBossSlot];
  body.work[0] = static_cast<float>(body.work[0] + 120.0);
  VibratePad(1000, 180);
  RequestSlowdown(35);
  ResetSlots(11, 20, dying.slot);
  body.work[2] = 1.0f;
  body.work[0] = static_cast<float>(body.work[0] + 300.0);
  FlashFade = 1;
  InvincibleTimer = 300.0f;
  EndBackdropPhase = 4;
  SetBgmFade(8, kFadeOutStop);
}

void EndLastBoss(const Dying& dying) {
  ConvertBulletsToChips();
  CancelAllBullets();
  ScreenFlash = 500.0f;
  RedFlashAlpha = 200;
  WhiteFlashAlpha = 250;
  VibratePad(1000, 80);
  RequestSlowdown(60);
  CreateObject(2230, FloatToInt(dying.x), FloatToInt(dying.y), 0, 1);
  ResetSlots(12, 20);
  SetBgmFade(9, kFadeStop);
  InvincibleTimer = 300.0f;
  EndBackdropTimer = 0;
  EndBackdropPhase = 4;
  CancelCategory(kCategoryEnemy);
  CancelCategory(kCategoryDecoration);
}

void SilentDebris(const Dying& dying) {
  switch (RandomInRange(4)) {
    case 0:
      Bursts(dying, 4, {kDebris});
      break;
    case 1:
      Bursts(dying, 2, {kDebris, Centred(2141)});
      break;
    case 2:
      Bursts(dying, 2, {kDebris, Centred(2143)});
      break;
    case 3:
      Bursts(dying, 2, {kDebris});
      break;
    case 4:
      Bursts(dying, 1, {kDebris, Centred(2141), Centred(2141)});
      break;
  }
}

void BulletPuff(const Dying& dying) {
  Create(dying, Centred(2114), 0);
  PlaySe(29, 255);
}

}  // namespace

void SpawnDeathEffects(int slot) {
  const GameObject& object = ObjectPool[slot];
  const Dying dying{slot, object.x, object.y, object.width, object.height, object.facing};
  const int kind = object.deathEffect;
  if (const BossExplosion* boss = BossExplosionOf(kind)) {
    ExplodeBoss(dying, *boss);
    return;
  }
  switch (kind) {
    case 0:
      SmallExplosion(dying);
      break;
    case 1:
      LargeExplosion(dying);
      break;
    case 6:
      BreakUpWreck(dying);
      break;
    case 11:
      ChipsAndFlash(dying, 1);
      VibratePad(1000, 60);
      break;
    case 12:
      EndStage8Core(dying);
      break;
    case 13:
      EndLastBoss(dying);
      break;
    case 14:
      SilentDebris(dying);
      break;
    case 99:
      BulletPuff(dying);
      break;
    default:
      break;  // no sequence
  }
}
