// Stage 8: its enemies, the three-boss set (1094-1096), the composite boss (body
// 1103, parts 1097 and 1102), the final boss (core and layers 1105, ring 1108,
// emitters 1106 and 1107), and the templates of this kind that no caller creates.
#include <array>

#include "game_library.h"
#include "objects/enemy_templates.h"
#include "objects/objects.h"

namespace {

using M = EnemyMotion;

// 1.5707964 is pi/2, 4.712389 is 3 pi/2, both in single precision.
constexpr TemplateRow Ordinary(int collidable, int size, int hit, int imageSet, int blendMode, int animation,
                               int behaviour, int hitPoints, int timer, int scoreValue, int coinDrop, int deathEffect,
                               int weight, std::optional<int> expValue) {
  TemplateRow row = EnemyRow(size, hit, imageSet, animation, behaviour, hitPoints, scoreValue, coinDrop, deathEffect,
                             weight, expValue);
  row.collidable = collidable;
  row.blendMode = blendMode;
  row.timer = timer;
  row.phase2 = kHalfPi;
  return row;
}

// 1098 and 1101: the same fields on their own layer, without the phase.
constexpr TemplateRow WithoutPhase2(TemplateRow row, int layer) {
  row.layer = layer;
  row.phase2 = RowField<float>{};  // assigned empty, not reset: a reset field cannot be copied in a constant
  return row;
}

// 1112 keeps its phase in phase, not phase2.
constexpr TemplateRow WithPhaseOnly(TemplateRow row, float phase) {
  row.phase2 = RowField<float>{};  // assigned empty, not reset: a reset field cannot be copied in a constant
  row.phase = phase;
  return row;
}

constexpr std::array<EnemyTemplate, 9> kEnemies = {{
    {1091, 2002, Ordinary(1, 128, 20, 16, 2, 368, 3079, 250, 120, 100, 4, 1, 2, 1), M::kForwardVx, 1.0f, true},
    {1092, 2168, Ordinary(1, 64, 10, 15, 2, 370, 3080, 80, 70, 10, 1, 0, 1, 0), M::kForwardVx, 2.0f, true},
    {1093, 2168, Ordinary(1, 64, 10, 15, 2, 370, 3081, 80, 70, 10, 1, 0, 1, 0), M::kForwardVy, 3.0f, true},
    {1099, 2002, Ordinary(1, 128, 20, 16, 2, 368, 3079, 250, 120, 300, 1, 1, 2, 0), M::kForwardVx, 1.0f, true},
    {1100, 2168, Ordinary(2, 64, 10, 15, 2, 370, 3080, 80, 70, 10, 1, 0, 1, 0), M::kForwardVx, 2.0f, true},
    {1109, 2002, Ordinary(1, 128, 20, 16, 2, 368, 3104, 200, 120, 30, 0, 1, 1, 0), M::kForwardVx, 1.0f, true},
    {1112, 2002, WithPhaseOnly(Ordinary(1, 64, 6, 15, 0, 234, 3107, 40, 120, 100, 1, 0, 1, {}), kThreeHalvesPi),
     M::kForwardVx, 2.4f, true},
    {1098, 2002, WithoutPhase2(Ordinary(2, 128, 40, 16, 2, 364, 3089, 1000, 120, 1000, 1, 1, 2, 1), 4),
     M::kTowardRandomTarget, 2.0f, true},
    {1101, 2229, WithoutPhase2(Ordinary(2, 512, 200, 55, 2, 245, 3092, 12000, 185, 10000, 3, 1, 99, 10), 3), M::kNone, 0.0f,
     true},
}};

constexpr std::array<SpawnerTemplate, 2> kSpawners = {{
    {1111, false, 3106, 100, {}, 1},
    {1114, false, 3109, 120, {}, {}},
}};

// 1106, 1107: an emitter lands within the parent's box and shows after a short delay.
void CreateEmitter(const TemplateCall& call) {
  const TemplateRow kEmitter = {.state = 2, .layer = 4, .category = kCategoryEnemy, .spare = 0.0f, .collidable = 0,
                                .width = 128, .height = 128, .hitWidth = 20, .hitHeight = 20, .imageSet = 0,
                                .blendMode = 2, .animation = 14, .scaleDelta = 3.0f,
                                .behaviour = call.templateId == 1106 ? 3099 : 3100, .group = 2};
  const GameObject& parent = ParentRecord(call.parentSlot);
  GameObject& record = NewRecord(kEmitter);
  const int dx = RandomInRange(parent.width);
  record.x = static_cast<float>(call.x + dx);
  const int dy = RandomInRange(parent.height);
  record.y = static_cast<float>(call.y + dy);
  const int delay = RandomInRange(15);
  record.timer = delay + 2;
  TossUpward(record);
}

constexpr TemplateRow BossBody(int size, int hitWidth, int hitHeight, int imageSet, int blendMode, int animation,
                               int behaviour, int timer, int scoreValue, int coinDrop, int deathEffect) {
  return {.state = 2, .layer = 3, .category = kCategoryEnemy, .collidable = 1, .width = size, .height = size,
          .hitWidth = hitWidth, .hitHeight = hitHeight, .imageSet = imageSet, .blendMode = blendMode,
          .animation = animation, .behaviour = behaviour, .timer = timer, .scoreValue = scoreValue,
          .coinDrop = coinDrop, .deathEffect = deathEffect, .weight = 99, .expValue = 20};
}

constexpr TemplateRow WithVelocity(TemplateRow row, float vx, std::optional<float> vy) {
  row.vx = vx;
  row.vy = vy;
  return row;
}

constexpr BossRecord kBoss1094[] = {
    {10, kSlotBoss, WithVelocity(BossBody(512, 130, 240, 17, 1, 372, 3082, 188, 60000, 50, 10), -1.4f, {}),
     UpgradeHitPoints{45000, 5000, 2000, 500}},
    {12, kSlotEffect, BossGlowRow(3, 250.0f, 253, 3.0f, 4126), {}},
};
constexpr BossRecord kBoss1095[] = {
    {13, kSlotBoss, WithVelocity(BossBody(768, 250, 250, 18, 0, 251, 3083, 185, 100000, 60, 8), 1.0f, -1.0f),
     UpgradeHitPoints{25000, 8000, 2000, 500}},
    {14, kSlotEffect, BossGlowRow(6, {}, 252, {}, 4127), {}},
    {15, kSlotEffect, BossGlowRow(3, 250.0f, 253, 6.0f, 4129), {}},
};
constexpr BossRecord kBoss1096[] = {
    {16, kSlotBoss, WithVelocity(BossBody(768, 250, 250, 18, 0, 251, 3083, 185, 100000, 60, 9), 1.0f, -1.0f),
     UpgradeHitPoints{30000, 6000, 1500, 500}},
    {17, kSlotEffect, BossGlowRow(6, {}, 252, {}, 4128), {}},
    {18, kSlotEffect, BossGlowRow(3, 250.0f, 253, 6.0f, 4130), {}},
};

struct SlotBoss {
  int templateId;
  int appearEffect;  // 0: none
  std::span<const BossRecord> records;
};

// The composite boss: its body, then nine parts at their offsets from the body. The
// body's vx is set though its behaviour never reads it.
constexpr BossRecord kCompositeBody[] = {
    {10, kSlotFacingFromArgument,
     {.state = 1, .layer = 3, .category = kCategoryEnemy, .vx = -1.4f, .collidable = 0, .width = 2600,
      .height = 1700, .hitWidth = 130, .hitHeight = 240, .imageSet = 19, .blendMode = 1, .fade = 260.0f,
      .animation = 388, .scaleDelta = 0.2f, .behaviour = 3097, .hitPoints = 60000, .group = 3, .scoreValue = 60000,
      .coinDrop = 999, .deathEffect = 1, .weight = 99, .expValue = 20},
     {}},
};

constexpr TemplateRow Part(int width, int height, int imageSet, int behaviour, int scoreValue, int coinDrop,
                           int deathEffect, int expValue, float phase, float phase2) {
  return {.state = 1, .layer = 3, .category = kCategoryEnemy, .collidable = 2, .width = width, .height = height,
          .hitWidth = width / 2, .hitHeight = height / 2, .imageSet = imageSet, .blendMode = 2, .animation = 388,
          .facing = 0, .scaleDelta = 0.2f, .behaviour = behaviour, .phase = phase, .phase2 = phase2,
          .scoreValue = scoreValue, .coinDrop = coinDrop, .deathEffect = deathEffect, .weight = 99,
          .expValue = expValue};
}

constexpr TemplateRow WithGroup(TemplateRow row, int group) {
  row.group = group;
  return row;
}

constexpr UpgradeHitPoints PartHitPoints(int base) { return {base, 6000, 2000, 1000}; }

constexpr BossRecord kCompositeParts[] = {
    {11, kSlotPart, Part(480, 880, 21, 3086, 120000, 40, 11, 20, -1070.0f, -449.0f), PartHitPoints(25000)},
    {12, kSlotPart, Part(600, 600, 22, 3087, 80000, 30, 11, 15, -849.0f, 261.0f), PartHitPoints(15000)},
    {13, kSlotPart, Part(600, 600, 23, 3088, 90000, 30, 11, 15, -469.0f, 399.0f), PartHitPoints(18000)},
    {14, kSlotPart, Part(480, 480, 24, 3090, 80000, 30, 11, 10, 1282.0f, 378.0f), PartHitPoints(13000)},
    {15, kSlotPart, Part(400, 640, 25, 3091, 100000, 30, 11, 20, 980.0f, 172.0f), PartHitPoints(12000)},
    {16, kSlotPart, Part(600, 1000, 26, 3093, 140000, 40, 11, 10, 599.0f, 131.0f), PartHitPoints(22000)},
    {18, kSlotPart, Part(480, 640, 50, 3095, 60000, 18, 11, 10, -376.0f, -424.0f), PartHitPoints(8000)},
    {19, kSlotCounted, WithGroup(Part(480, 480, 51, 3085, 10000, 0, 1, 80, -34.0f, -611.0f), 3),
     UpgradeHitPoints{20000, 0, 0, 0}},
    {20, kSlotPart, Part(240, 240, 54, 3094, 80000, 16, 11, 20, -273.0f, 537.0f),
     UpgradeHitPoints{3000, 4000, 2000, 1000}},
};

constexpr BossRecord kCompositeTenthPart[] = {
    {17, kSlotPart,
     {.state = 1, .layer = 3, .category = kCategoryEnemy, .collidable = 2, .width = 480, .height = 960,
      .hitWidth = 240, .hitHeight = 480, .imageSet = 27, .blendMode = 1, .animation = 388, .facing = 0,
      .scaleDelta = 0.2f, .behaviour = 3096, .phase = 25.0f, .phase2 = 5.0f, .scoreValue = 180000, .coinDrop = 0,
      .deathEffect = 1, .weight = 99, .expValue = 0},
     UpgradeHitPoints{44000, 5000, 1500, 500}},
};

// The final boss's core and its nine effect layers.
constexpr TemplateRow CoreLayer(int animation, int behaviour, float scaleDelta, std::optional<float> phase,
                                std::optional<float> fade) {
  return {.state = 1, .layer = 3, .category = kCategoryEffect, .width = 256, .height = 256, .imageSet = 56,
          .blendMode = 2, .fade = fade, .animation = animation, .facing = 0, .scaleDelta = scaleDelta,
          .behaviour = behaviour, .phase = phase};
}

constexpr BossRecord kFinalCore[] = {
    {10, kSlotCounted,
     {.state = 1, .layer = 3, .category = kCategoryEnemy, .collidable = 0, .width = 256, .height = 256,
      .hitWidth = 100, .hitHeight = 100, .imageSet = 56, .blendMode = 2, .animation = 388, .facing = 0,
      .scaleDelta = 1.0f, .behaviour = 3098, .group = 1, .scoreValue = 200000, .coinDrop = 180, .deathEffect = 13,
      .weight = 99, .expValue = 30},
     UpgradeHitPoints{30000, 15000, 2000, 1200, 99999}},
    {13, kSlotEffect, CoreLayer(390, 4139, 1.0f, {}, {}), {}},
    {14, kSlotEffect, CoreLayer(391, 4140, 4.0f, 1.0f, 255.0f), {}},
    {15, kSlotEffect, CoreLayer(391, 4141, 3.8f, 1.0f, 255.0f), {}},
    {16, kSlotEffect, CoreLayer(392, 4142, 0.0f, 1.0f, 255.0f), {}},
    {17, kSlotEffect, CoreLayer(392, 4143, 0.0f, 1.0f, 255.0f), {}},
    {18, kSlotEffect, CoreLayer(301, 4144, 3.0f, 1.0f, 255.0f), {}},
    {19, kSlotEffect, CoreLayer(301, 4145, 3.0f, 1.0f, 255.0f), {}},
    {20, kSlotEffect, CoreLayer(302, 4144, 3.0f, 1.0f, 255.0f), {}},
    {21, kSlotEffect, CoreLayer(302, 4145, 3.0f, 1.0f, 255.0f), {}},
};

// The ring of eight around the core (at its angle in phase), then one large record.
constexpr TemplateRow RingMember(int behaviour, float phase) {
  return {.state = 1, .layer = 4, .category = kCategoryEnemy, .collidable = 2, .width = 140, .height = 140,
          .hitWidth = 120, .hitHeight = 120, .imageSet = 16, .blendMode = 2, .animation = 398, .scaleDelta = 0.5f,
          .behaviour = behaviour, .phase = phase, .scoreValue = 1000, .coinDrop = 34, .deathEffect = 1,
          .weight = 1, .expValue = 0};
}
constexpr UpgradeHitPoints kRingHitPoints = {1000, 4000, 800, 800};
constexpr int kRingRole = kSlotBoss;

constexpr BossRecord kFinalRing[] = {
    {kAllocatedSlot, kRingRole, RingMember(3101, 0.0f), kRingHitPoints},
    {kAllocatedSlot, kRingRole, RingMember(3103, 0.785f), kRingHitPoints},
    {kAllocatedSlot, kRingRole, RingMember(3101, 1.57f), kRingHitPoints},
    {kAllocatedSlot, kRingRole, RingMember(3103, 2.355f), UpgradeHitPoints{1000, 4000, 1000, 1000}},
    {kAllocatedSlot, kRingRole, RingMember(3101, 3.14f), kRingHitPoints},
    {kAllocatedSlot, kRingRole, RingMember(3103, 3.925f), kRingHitPoints},
    {kAllocatedSlot, kRingRole, RingMember(3101, 4.71f), kRingHitPoints},
    {kAllocatedSlot, kRingRole, RingMember(3103, 5.495f), kRingHitPoints},
    {kAllocatedSlot, kSlotFacingFromArgument | kSlotGroupFromParent,
     {.state = 1, .layer = 6, .category = kCategoryEnemy, .collidable = 0, .width = 400, .height = 400,
      .hitWidth = 400, .hitHeight = 400, .imageSet = 57, .blendMode = 2, .animation = 388, .scaleDelta = 1.0f,
      .behaviour = 3102, .hitPoints = 999999, .scoreValue = 1, .coinDrop = 0, .deathEffect = 1, .weight = 99,
      .expValue = 0},
     {}},
};

constexpr std::array<SlotBoss, 8> kSlotBosses = {{
    {1094, kBossAppearTemplate, kBoss1094},
    {1095, kBossAppearTemplate, kBoss1095},
    {1096, kBossAppearTemplate, kBoss1096},
    {1097, 0, kCompositeParts},
    {1102, 0, kCompositeTenthPart},
    {1103, 0, kCompositeBody},
    {1105, 0, kFinalCore},
    {1108, 0, kFinalRing},
}};

void CreateStageEnemy(const TemplateCall& call) { CreateEnemyFrom(kEnemies, call); }
void CreateSpawner(const TemplateCall& call) { CreateSpawnerFrom(kSpawners, call); }

void CreateSlotBoss(const TemplateCall& call) {
  const SlotBoss& boss = RowOf<SlotBoss>(kSlotBosses, call.templateId);
  if (boss.appearEffect != 0) CreateObject(boss.appearEffect, call.x, call.y, 0, 0);
  WriteBossRecords(boss.records, call);
}

constexpr TemplateEntry kEntries[] = {
    {1091, CreateStageEnemy}, {1092, CreateStageEnemy}, {1093, CreateStageEnemy}, {1094, CreateSlotBoss},
    {1095, CreateSlotBoss},   {1096, CreateSlotBoss},   {1097, CreateSlotBoss},   {1098, CreateStageEnemy},
    {1099, CreateStageEnemy}, {1100, CreateStageEnemy}, {1101, CreateStageEnemy}, {1102, CreateSlotBoss},
    {1103, CreateSlotBoss},   {1105, CreateSlotBoss},   {1106, CreateEmitter},    {1107, CreateEmitter},
    {1108, CreateSlotBoss},   {1109, CreateStageEnemy}, {1111, CreateSpawner},    {1112, CreateStageEnemy},
    {1114, CreateSpawner},
};

}  // namespace

std::span<const TemplateEntry> Stage8Templates() { return kEntries; }
