// Stage 7: its enemies and wave spawners, the stage 7 boss 1085 in slots 10 and 12,
// and the target 1110 that unlocks a variant shot.
#include <array>

#include "core/game_state.h"
#include "objects/enemy_templates.h"
#include "objects/objects.h"

namespace {

using M = EnemyMotion;

constexpr TemplateRow WithBlend(TemplateRow row, int blendMode) {
  row.blendMode = blendMode;
  return row;
}

constexpr std::array<EnemyTemplate, 5> kEnemies = {{
    {1047, 2002, EnemyRow(64, 15, 15, 275, 3047, 300, 80, 0, 0, 1, 1), M::kAimAtPlayer, 2.5f, true},
    {1082, 2002, WithBlend(EnemyRow(64, 18, 15, 361, 3071, 200, 100, 1, 0, 1, 0), 2), M::kRandomDrift, 0.0f, true},
    {1086, 2002, EnemyRow(128, 40, 16, 364, 3075, 3400, 4000, 4, 1, 2, 5), M::kTowardRandomOffset, 2.0f, true},
    {1087, 2002, WithPhase(EnemyRow(64, 6, 15, 234, 3077, 100, 50, 1, 0, 1, {}), kThreeHalvesPi), M::kForwardVx,
     1.5f, true},
    {1089, 2002, EnemyRow(64, 6, 15, 249, 3058, 130, 100, 1, 0, 1, 1), M::kForwardVx, 8.0f, true},
}};

constexpr std::array<SpawnerTemplate, 4> kSpawners = {{
    {1083, true, 3072, 100, 1, {}},
    {1084, true, 3073, 100, {}, {}},
    {1088, true, 3076, 100, {}, {}},
    {1090, false, 3078, 120, {}, {}},
}};

constexpr BossRecord kStage7Boss[] = {
    {10, kSlotBoss,
     {.state = 2, .layer = 3, .category = kCategoryEnemy, .vx = -1.4f, .collidable = 1, .width = 512, .height = 512,
      .hitWidth = 130, .hitHeight = 240, .imageSet = 17, .blendMode = 1, .animation = 362, .behaviour = 3074,
      .timer = 188, .scoreValue = 60000, .coinDrop = 30, .deathEffect = 7, .weight = 99, .expValue = 20},
     UpgradeHitPoints{12000, 9000, 2000, 600}},
    {12, kSlotEffect, BossGlowRow(3, 250.0f, 253, 3.0f, 4122), {}},
};

void CreateStageEnemy(const TemplateCall& call) { CreateEnemyFrom(kEnemies, call); }
void CreateSpawner(const TemplateCall& call) { CreateSpawnerFrom(kSpawners, call); }

void CreateStage7Boss(const TemplateCall& call) {
  CreateObject(kBossAppearTemplate, call.x, call.y, 0, 0);
  WriteBossRecords(kStage7Boss, call);
}

// 1110: pays nothing and counts nowhere; group 99 marks it for the collision pass.
void CreateTarget(const TemplateCall& call) {
  constexpr TemplateRow kTarget = {
      .state = 2, .layer = 4, .category = kCategoryEnemy, .vx = -0.7f, .vy = -6.0f, .collidable = 1,
      .hitWidth = 10, .hitHeight = 10, .imageSet = 40, .blendMode = 1, .animation = 462, .facing = 1,
      .behaviour = 3105, .timer = 70, .hitPoints = 250, .group = 99, .scoreValue = 0, .coinDrop = 0,
      .deathEffect = 1, .weight = 1, .expValue = 0};
  CreateObject(2168, call.x, call.y, 0, 0);
  GameObject& record = NewRecordAt(kTarget, call);
  record.width = record.height = EnemyHighlightOff == 0 ? 128 : 64;
}

constexpr TemplateEntry kEntries[] = {
    {1047, CreateStageEnemy}, {1082, CreateStageEnemy}, {1083, CreateSpawner},    {1084, CreateSpawner},
    {1085, CreateStage7Boss}, {1086, CreateStageEnemy}, {1087, CreateStageEnemy}, {1088, CreateSpawner},
    {1089, CreateStageEnemy}, {1090, CreateSpawner},    {1110, CreateTarget},
};

}  // namespace

std::span<const TemplateEntry> Stage7Templates() { return kEntries; }
