// Enemy bullets: aimed singles, fans and rings, steering orbs, the chevron of five
// and the large falling bullet. Every record is an enemy bullet that starts at the
// firing point (x, y); parentSlot is its speed, except in 2112.
#include <cmath>

#include "core/game_state.h"
#include "game_library.h"
#include "objects/effect_rows.h"
#include "objects/objects.h"

namespace {

constexpr double kDegreesToRadians = 0.01745329238474369;  // f32 nearest pi / 180

struct Vec {
  float x, y;
};

// The way from the firing point P to an aim point A. At distance 0 the direction is
// (0, 0), so every field stays finite.
struct Aim {
  float dx, dy;
  Heading heading;
};

Aim AimFrom(float px, float py, Vec target) {
  const float dx = target.x - px;
  const float dy = target.y - py;
  return {dx, dy, HeadingAlong(dx, dy)};
}

// B turned by `degrees`; positive turns from +x toward +y.
Vec Turned(Vec b, double degrees) {
  const float radians = static_cast<float>(degrees * kDegreesToRadians);
  const float c = std::cos(radians);
  const float s = std::sin(radians);
  return {b.x * c - b.y * s, b.x * s + b.y * c};
}

// ---------------------------------------------------------------------------------
// Rows
// ---------------------------------------------------------------------------------

enum class Speed {
  kFixed,     // the row's own constant
  kPerFrame,  // p
  kTenths,    // p x 0.1
  kRecorded,  // the firing enemy's work[0] + 0.01 (2112)
};

enum class AimPoint { kPlayer, kNearPlayer, kTarget, kNearTarget, kRecorded };

constexpr RowField<int> kNoTimer{};

constexpr TemplateRow BulletRow(int hitBox, int imageSet, int blendMode, int animation, int behaviour,
                                RowField<int> timer) {
  return {.state = 1, .layer = 7, .category = kCategoryEnemyBullet, .collidable = 1, .width = 32, .height = 32,
          .hitWidth = hitBox, .hitHeight = hitBox, .imageSet = imageSet, .blendMode = blendMode,
          .animation = animation, .behaviour = behaviour, .timer = timer};
}

// Bullets that the player's shots can destroy; 5017 writes the hit points per record.
constexpr TemplateRow kDestroyable = {.hitPoints = 1, .deathEffect = 99};
constexpr TemplateRow kPuffOnly = {.deathEffect = 99};

struct AimedSingleRow {
  int templateId;
  AimPoint aim;
  Speed speed;
  double fixedSpeed;
  bool writesAngle;
  TemplateRow row;
};

// clang-format off
const AimedSingleRow kAimedSingles[] = {
  {2003, AimPoint::kPlayer, Speed::kFixed, 2.0, false, BulletRow(2, 0, 0, 11, 4004, kNoTimer)},
  {2006, AimPoint::kPlayer, Speed::kFixed, 4.0, false, BulletRow(2, 0, 0, 11, 4004, kNoTimer)},
  {2007, AimPoint::kPlayer, Speed::kFixed, 6.0, false, BulletRow(2, 0, 0, 11, 4004, kNoTimer)},
  {2008, AimPoint::kPlayer, Speed::kFixed, 8.0, false, BulletRow(2, 0, 0, 11, 4004, kNoTimer)},
  {5010, AimPoint::kPlayer, Speed::kPerFrame, 0.0, false, Overlay(BulletRow(4, 7, 0, 203, 4081, 300), kDestroyable)},
  {5014, AimPoint::kPlayer, Speed::kTenths, 0.0, true, BulletRow(4, 7, 0, 193, 4063, 300)},
  {5015, AimPoint::kPlayer, Speed::kTenths, 0.0, true, BulletRow(4, 0, 0, 109, 4063, 600)},
  {5018, AimPoint::kPlayer, Speed::kPerFrame, 0.0, true, BulletRow(4, 0, 0, 109, 4063, 360)},
  {2032, AimPoint::kPlayer, Speed::kPerFrame, 0.0, true, BulletRow(4, 0, 0, 109, 4063, 360)},
  {5019, AimPoint::kPlayer, Speed::kPerFrame, 0.0, false, BulletRow(2, 0, 0, 116, 4024, 160)},
  {2033, AimPoint::kPlayer, Speed::kPerFrame, 0.0, false, BulletRow(2, 0, 0, 116, 4024, kNoTimer)},
  {5026, AimPoint::kPlayer, Speed::kPerFrame, 0.0, false, BulletRow(2, 13, 2, 282, 4024, 180)},
  {5028, AimPoint::kPlayer, Speed::kPerFrame, 0.0, false, Overlay(BulletRow(4, 7, 0, 203, 4131, 300), kDestroyable)},
  {5029, AimPoint::kPlayer, Speed::kTenths, 0.0, true, BulletRow(4, 0, 0, 109, 4131, 600)},
  {5030, AimPoint::kNearPlayer, Speed::kTenths, 0.0, true, BulletRow(4, 7, 0, 193, 4063, 300)},
  {5031, AimPoint::kTarget, Speed::kTenths, 0.0, true, BulletRow(4, 7, 0, 193, 4063, 300)},
  {5032, AimPoint::kNearPlayer, Speed::kTenths, 0.0, true, BulletRow(4, 0, 0, 109, 4131, 600)},
  {5033, AimPoint::kNearTarget, Speed::kTenths, 0.0, true, BulletRow(4, 0, 0, 109, 4063, 600)},
  {5035, AimPoint::kNearPlayer, Speed::kTenths, 0.0, true, Overlay(BulletRow(8, 40, 2, 401, 4063, 300), {.scaleDelta = 0.2f})},
  {5036, AimPoint::kNearPlayer, Speed::kTenths, 0.0, true, BulletRow(4, 3, 2, 254, 4131, 600)},
  {2112, AimPoint::kRecorded, Speed::kRecorded, 0.0, true, BulletRow(4, 7, 0, 193, 4063, 200)},
};
// clang-format on

enum class Base {
  kAimed,          // toward the player, 0.01 added to each component after the scaling
  kAimedNoOffset,  // toward the player
  kDiagonal,       // (b, b), b = speed + 0.01
  kForward,        // (sign of facing x speed, 0)
  kPlusX,          // (speed + 0.01, 0) whatever the facing
};

enum class Order {
  kPairs,            // i = 0 .. pairs - 1: +step x i, then -step x i
  kCentreThenPairs,  // 0, then i = 1 .. pairs: +step x i, -step x i
  kSingle,           // one record at 0
};

struct FanRow {
  int templateId;
  Base base;
  Speed speed;
  Order order;
  int pairs;
  double step;
  bool addsBase;  // v = rot(B, theta) + B instead of rot(B, theta)
  bool writesAngle;
  bool hitPointsOnFirstOfPair;
  TemplateRow row;
};

// clang-format off
const FanRow kFans[] = {
  {5011, Base::kAimed, Speed::kPerFrame, Order::kCentreThenPairs, 5, 3.0, true, false, false, Overlay(BulletRow(4, 7, 1, 203, 4063, 300), kDestroyable)},
  {5013, Base::kAimed, Speed::kTenths, Order::kPairs, 30, 10.0, false, true, false, BulletRow(3, 0, 1, 109, 4063, 600)},
  {5022, Base::kAimed, Speed::kTenths, Order::kPairs, 9, 22.5, false, true, false, BulletRow(3, 0, 1, 109, 4063, 600)},
  {5027, Base::kAimed, Speed::kTenths, Order::kPairs, 3, 20.0, false, true, false, BulletRow(3, 0, 1, 109, 4063, 400)},
  {5038, Base::kAimed, Speed::kTenths, Order::kPairs, 2, 20.0, false, true, false, BulletRow(3, 0, 1, 109, 4063, 400)},
  {2109, Base::kAimedNoOffset, Speed::kPerFrame, Order::kPairs, 100, 2.0, true, true, false, BulletRow(3, 0, 0, 109, 4004, kNoTimer)},
  {5012, Base::kDiagonal, Speed::kTenths, Order::kPairs, 30, 10.0, false, true, false, BulletRow(3, 0, 1, 109, 4063, 600)},
  {5017, Base::kDiagonal, Speed::kTenths, Order::kPairs, 60, 5.0, false, false, true, Overlay(BulletRow(4, 7, 1, 203, 4063, 300), kPuffOnly)},
  {5037, Base::kDiagonal, Speed::kTenths, Order::kPairs, 30, 10.0, false, true, false, BulletRow(3, 40, 2, 401, 4063, 600)},
  {5016, Base::kForward, Speed::kTenths, Order::kPairs, 3, 15.0, false, true, false, BulletRow(3, 0, 1, 109, 4063, 600)},
  {5023, Base::kForward, Speed::kTenths, Order::kPairs, 3, 15.0, false, true, false, BulletRow(3, 7, 1, 193, 4063, 300)},
  {5024, Base::kForward, Speed::kTenths, Order::kSingle, 0, 0.0, false, true, false, BulletRow(3, 7, 1, 193, 4063, 300)},
  {2108, Base::kPlusX, Speed::kPerFrame, Order::kPairs, 5, 10.0, true, true, false, BulletRow(3, 0, 0, 109, 4004, kNoTimer)},
};
// clang-format on

struct OrbRow {
  int templateId;
  int collidable, imageSet, animation, behaviour;
};

constexpr OrbRow kOrbs[] = {
    {5020, 1, 3, 254, 4071},
    {5021, 1, 3, 254, 4072},
    {5034, 0, 42, 461, 4169},
};

double SpeedOf(Speed unit, double fixed, int p, const GameObject& firer) {
  switch (unit) {
    case Speed::kFixed: return fixed;
    case Speed::kPerFrame: return p;
    case Speed::kTenths: return p * 0.1;
    case Speed::kRecorded: return firer.work[0] + 0.01;
  }
  return 0.0;
}

// A whole-number point within 200 pixels of (cx, cy); the x draw first.
Vec NearPoint(float cx, float cy) {
  const int drawX = RandomInRange(400);
  const int ax = DoubleToInt(drawX + (cx - 200.0));
  const int drawY = RandomInRange(400);
  const int ay = DoubleToInt(drawY + (cy - 200.0));
  return {static_cast<float>(ax), static_cast<float>(ay)};
}

Vec AimPointOf(AimPoint aim, const GameObject& firer) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  switch (aim) {
    case AimPoint::kPlayer: return {player.x, player.y};
    case AimPoint::kNearPlayer: return NearPoint(player.x, player.y);
    case AimPoint::kTarget: return {BulletTargetX, BulletTargetY};
    case AimPoint::kNearTarget: return NearPoint(BulletTargetX, BulletTargetY);
    case AimPoint::kRecorded: return {firer.phase, firer.phase2};
  }
  return {};
}

Vec PlayerPosition() { return {ObjectPool[kPlayerSlot].x, ObjectPool[kPlayerSlot].y}; }

// ---------------------------------------------------------------------------------
// Builders
// ---------------------------------------------------------------------------------

void CreateAimedSingle(const TemplateCall& call) {
  const AimedSingleRow& row = RowOf<AimedSingleRow>(kAimedSingles, call.templateId);
  GameObject& bullet = NewRecordAt(row.row, call);
  const GameObject& firer = ParentRecord(call.parentSlot);
  const Aim aim = AimFrom(bullet.x, bullet.y, AimPointOf(row.aim, firer));
  const double speed = SpeedOf(row.speed, row.fixedSpeed, call.parentSlot, firer);
  bullet.phase = aim.heading.distance;
  bullet.vx = static_cast<float>(aim.heading.unitX * speed);
  bullet.vy = static_cast<float>(aim.heading.unitY * speed);
  if (row.writesAngle) bullet.angle = std::atan2(aim.dy, aim.dx);
}

Vec BaseVector(const FanRow& row, const TemplateCall& call) {
  const double speed = SpeedOf(row.speed, 0.0, call.parentSlot, ObjectPool[kPlayerSlot]);
  switch (row.base) {
    case Base::kAimed:
    case Base::kAimedNoOffset: {
      const Aim aim = AimFrom(static_cast<float>(call.x), static_cast<float>(call.y), PlayerPosition());
      const double offset = row.base == Base::kAimed ? 0.01 : 0.0;
      return {static_cast<float>(aim.heading.unitX * speed + offset),
              static_cast<float>(aim.heading.unitY * speed + offset)};
    }
    case Base::kDiagonal: {
      const float b = static_cast<float>(speed + 0.01);
      return {b, b};
    }
    case Base::kForward: return {static_cast<float>(ForwardSign(call.facing) * speed), 0.0f};
    case Base::kPlusX: return {static_cast<float>(speed + 0.01), 0.0f};
  }
  return {};
}

void CreateFan(const TemplateCall& call) {
  const FanRow& row = RowOf<FanRow>(kFans, call.templateId);
  const Vec base = BaseVector(row, call);
  auto make = [&](double degrees, bool firstOfPair) {
    GameObject& bullet = NewRecordAt(row.row, call);
    Vec v = Turned(base, degrees);
    if (row.addsBase) v = {v.x + base.x, v.y + base.y};
    bullet.vx = v.x;
    bullet.vy = v.y;
    if (row.writesAngle) bullet.angle = std::atan2(v.y, v.x);
    if (row.hitPointsOnFirstOfPair && firstOfPair) bullet.hitPoints = 1;
  };
  switch (row.order) {
    case Order::kSingle: make(0.0, true); break;
    case Order::kCentreThenPairs:
      make(0.0, true);
      for (int i = 1; i <= row.pairs; ++i) {
        make(row.step * i, true);
        make(-row.step * i, false);
      }
      break;
    case Order::kPairs:
      for (int i = 0; i < row.pairs; ++i) {
        make(row.step * i, true);
        make(-row.step * i, false);
      }
      break;
  }
}

// Starts at one pixel per frame toward the player; work[0] keeps the steering speed.
void CreateOrb(const TemplateCall& call) {
  const OrbRow& orbRow = RowOf<OrbRow>(kOrbs, call.templateId);
  TemplateRow row = BulletRow(20, orbRow.imageSet, 2, orbRow.animation, orbRow.behaviour, 1000);
  row.layer = 6;
  row.width = 64;
  row.height = 64;
  row.collidable = orbRow.collidable;
  GameObject& orb = NewRecordAt(row, call);
  orb.work[0] = static_cast<float>(call.parentSlot);
  const Aim aim = AimFrom(orb.x, orb.y, PlayerPosition());
  orb.phase2 = aim.heading.distance;
  orb.vx = static_cast<float>(aim.heading.unitX * 1.0);
  orb.vy = static_cast<float>(aim.heading.unitY * 1.0);
}

// Five forward bullets in a chevron whose point leads, whatever the facing.
void CreateChevron(const TemplateCall& call) {
  constexpr int kOffsets[5][2] = {{60, -60}, {30, -30}, {0, 0}, {30, 30}, {60, 60}};
  for (const auto& offset : kOffsets) {
    CreateObject(5024, call.x + offset[0], call.y + offset[1], call.facing, call.parentSlot);
  }
}

void CreateFallingBullet(const TemplateCall& call) {
  TemplateRow row = BulletRow(32, 6, 2, 285, 4082, 500);
  row.layer = 6;
  row.width = 128;
  row.height = 128;
  row.vx = 0.1f;
  row.vy = 5.0f;
  NewRecordAt(row, call);
}

constexpr TemplateEntry kEntries[] = {
    {2003, CreateAimedSingle}, {2006, CreateAimedSingle}, {2007, CreateAimedSingle}, {2008, CreateAimedSingle},
    {5010, CreateAimedSingle}, {5014, CreateAimedSingle}, {5015, CreateAimedSingle}, {5018, CreateAimedSingle},
    {2032, CreateAimedSingle}, {5019, CreateAimedSingle}, {2033, CreateAimedSingle}, {5026, CreateAimedSingle},
    {5028, CreateAimedSingle}, {5029, CreateAimedSingle}, {5030, CreateAimedSingle}, {5031, CreateAimedSingle},
    {5032, CreateAimedSingle}, {5033, CreateAimedSingle}, {5035, CreateAimedSingle}, {5036, CreateAimedSingle},
    {2112, CreateAimedSingle}, {5011, CreateFan},         {5013, CreateFan},         {5022, CreateFan},
    {5027, CreateFan},         {5038, CreateFan},         {2109, CreateFan},         {5012, CreateFan},
    {5017, CreateFan},         {5037, CreateFan},         {5016, CreateFan},         {5023, CreateFan},
    {5024, CreateFan},         {2108, CreateFan},         {5020, CreateOrb},         {5021, CreateOrb},
    {5034, CreateOrb},         {5025, CreateChevron},     {2150, CreateFallingBullet},
};

}  // namespace

std::span<const TemplateEntry> EnemyBulletTemplates() { return kEntries; }
