// Stages 3 and 4: their enemies, wave spawners and group spawns, the shared spawner
// 1066 with its enemy 1065, the stage 3 boss 1042 in slots 10 to 13, and the
// templates of this range that play never creates.
#include <array>

#include "objects/enemy_templates.h"
#include "objects/objects.h"

namespace {

using M = EnemyMotion;

// The enemies that face the player from a ring, after the second appearance effect.
constexpr TemplateRow Ring(int animation, int behaviour, int hitPoints, int scoreValue, int coinDrop) {
  TemplateRow row = EnemyRow(64, 15, 15, animation, behaviour, hitPoints, scoreValue, coinDrop, 0, 1, 1);
  row.collidable = 2;
  row.blendMode = 2;
  row.timer = 70;
  return row;
}

constexpr std::array<EnemyTemplate, 15> kEnemies = {{
    {1034, 2002, EnemyRow(64, 6, 15, 249, 3032, 90, 200, 1, 0, 1, {}), M::kForwardVx, 5.0f, true},
    {1036, 2002, EnemyRow(64, 6, 15, 249, 3034, 90, 400, 1, 0, 1, 1), M::kForwardVx, 5.0f, true},
    {1038, 2002, EnemyRow(64, 6, 15, 248, 3036, 130, 320, 1, 0, 1, {}), M::kForwardVx, 3.0f, true},
    {1040, 2002, EnemyRow(128, 18, 16, 244, 3038, 260, 2000, 3, 1, 1, 3), M::kAimAtPlayer, 5.0f, true},
    {1041, 2002, EnemyRow(128, 38, 3, 237, 3039, 1000, 6000, 6, 1, 2, 4), M::kForwardVx, 2.5f, true},
    {1056, 2002, WithPhase(EnemyRow(128, 18, 3, 237, 3052, 1400, 8000, 10, 1, 4, 6), kHalfPi), M::kNone, 0.0f, true},
    {1057, 2002, WithPhase(EnemyRow(64, 6, 15, 240, 3053, 280, 2600, 2, 0, 4, 2), kHalfPi), M::kNone, 0.0f, true},
    {1059, 2168, Ring(312, 3054, 120, 600, 1), M::kFacePlayer, 0.0f, true},
    {1061, 2168, Ring(314, 3055, 120, 1200, 0), M::kFacePlayer, 0.0f, true},
    {1063, 2168, Ring(313, 3056, 100, 400, 1), M::kFacePlayer, 0.0f, true},
    {1065, 2002, WithPhase(EnemyRow(64, 6, 15, 234, 3011, 180, 200, 1, 0, 1, {}), kThreeHalvesPi), M::kForwardVx, 3.0f,
     true},
    {1043, 2002, EnemyRow(64, 20, 15, 278, 3041, 200, 1000, 2, 0, 1, {}), M::kTowardRandomPoint, 4.0f, true},
    {1045, 2002, EnemyRow(128, 60, 16, 274, 3043, 600, 2600, 4, 1, 2, 3), M::kVxByArgumentFacing0, 2.0f, true},
    {1051, 2002, EnemyRow(64, 6, 15, 235, 3049, 160, 300, 1, 0, 1, {}), M::kForwardVx, 2.0f, true},
    {1055, 2168, WithTimer(EnemyRow(64, 6, 15, 240, 3012, 160, 1000, 3, 0, 1, 1), 70), M::kNone, 0.0f, true},
}};

constexpr std::array<SpawnerTemplate, 7> kSpawners = {{
    {1035, false, 3033, 110, {}, {}},
    {1037, false, 3035, 120, {}, {}},
    {1039, false, 3037, 100, {}, {}},
    {1066, true, 3057, 100, {}, {}},
    {1044, true, 3042, 100, {}, {}},
    {1050, false, 3048, 100, {}, {}},
    {1052, false, 3050, 100, {}, {}},
}};

// A leader and six wings, the wings ahead of it on the side it faces.
constexpr GroupMember kWedge[] = {
    {1056, 0, 0, true},      {1057, 140, -150, true}, {1057, 170, -100, true}, {1057, 200, -50, true},
    {1057, 200, 50, true},   {1057, 170, 100, true},  {1057, 140, 150, true},
};

// Twelve points on a ring of radius about 400 around (x, y).
template <int Member>
constexpr GroupMember kRing[] = {
    {Member, -400, 0, false},   {Member, 400, 0, false},    {Member, 0, -400, false},   {Member, 0, 400, false},
    {Member, -270, -135, false}, {Member, -270, 135, false}, {Member, -135, -270, false}, {Member, -135, 270, false},
    {Member, 270, -135, false}, {Member, 270, 135, false},  {Member, 135, -270, false},  {Member, 135, 270, false},
};

constexpr std::array<GroupSpawnTemplate, 4> kGroups = {{
    {1058, kWedge},
    {1060, kRing<1059>},
    {1062, kRing<1061>},
    {1064, kRing<1063>},
}};

void CreateStageEnemy(const TemplateCall& call) { CreateEnemyFrom(kEnemies, call); }
void CreateSpawner(const TemplateCall& call) { CreateSpawnerFrom(kSpawners, call); }
void CreateGroup(const TemplateCall& call) { CreateGroupSpawnFrom(kGroups, call); }

// 1042: the boss in slot 10 and its three glows in slots 11 to 13.
constexpr BossRecord kStage3Boss[] = {
    {10, kSlotBoss,
     {.state = 2, .layer = 3, .category = kCategoryEnemy, .vx = 1.0f, .vy = -1.0f, .collidable = 2, .width = 768,
      .height = 768, .hitWidth = 250, .hitHeight = 250, .imageSet = 18, .blendMode = 0, .animation = 251,
      .behaviour = 3040, .timer = 185, .scoreValue = 80000, .coinDrop = 80, .deathEffect = 0, .weight = 99,
      .expValue = 26},
     UpgradeHitPoints{8000, 12000, 3000, 800}},
    {11, kSlotEffect, BossGlowRow(6, {}, 252, {}, 4068), {}},
    {12, kSlotEffect, BossGlowRow(3, 250.0f, 253, 3.0f, 4069), {}},
    {13, kSlotEffect, BossGlowRow(6, 250.0f, 253, {}, 4070), {}},
};

void CreateStage3Boss(const TemplateCall& call) {
  CreateObject(kBossAppearTemplate, call.x, call.y, 0, 0);
  CreateObject(kBossAppearTemplate, call.x, call.y, 0, 0);
  WriteBossRecords(kStage3Boss, call);
  WriteHitPointBand(ObjectPool[10], {35000, 18000});
}

constexpr TemplateEntry kEntries[] = {
    {1034, CreateStageEnemy}, {1035, CreateSpawner}, {1036, CreateStageEnemy}, {1037, CreateSpawner},
    {1038, CreateStageEnemy}, {1039, CreateSpawner}, {1040, CreateStageEnemy}, {1041, CreateStageEnemy},
    {1042, CreateStage3Boss}, {1043, CreateStageEnemy}, {1044, CreateSpawner}, {1045, CreateStageEnemy},
    {1050, CreateSpawner},    {1051, CreateStageEnemy}, {1052, CreateSpawner}, {1055, CreateStageEnemy},
    {1056, CreateStageEnemy}, {1057, CreateStageEnemy}, {1058, CreateGroup}, {1059, CreateStageEnemy},
    {1060, CreateGroup},      {1061, CreateStageEnemy}, {1062, CreateGroup}, {1063, CreateStageEnemy},
    {1064, CreateGroup},      {1065, CreateStageEnemy}, {1066, CreateSpawner},
};

}  // namespace

std::span<const TemplateEntry> Stage3And4Templates() { return kEntries; }
