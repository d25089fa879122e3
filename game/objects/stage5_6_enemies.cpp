// Stages 5 and 6: their enemies, wave spawners and group spawns, the stage 5 boss
// 1054, the stage 6 boss trio 1076-1078 and the shared enemy 1046.
#include <array>

#include "objects/enemy_templates.h"

namespace {

using M = EnemyMotion;

constexpr std::array<EnemyTemplate, 8> kEnemies = {{
    {1046, 2002, EnemyRow(128, 60, 16, 274, 3044, 600, 2600, 4, 1, 2, 3), M::kVxByArgumentFacing0, 5.0f, true},
    {1048, 2002, EnemyRow(64, 20, 15, 273, 3045, 150, 1000, 4, 0, 1, 3), M::kTowardRandomPoint, 4.0f, true},
    {1067, 2002, EnemyRow(64, 6, 15, 249, 3058, 130, 300, 1, 0, 1, 0), M::kForwardVx, 5.0f, true},
    {1069, 2002, EnemyRow(64, 6, 15, 464, 3060, 120, 200, 1, 0, 1, 1), M::kForwardVx, 4.0f, true},
    {1071, 2002, EnemyRow(128, 18, 3, 237, 3061, 1500, 6000, 6, 1, 4, 4), M::kForwardVx, 1.5f, true},
    {1072, 2002, EnemyRow(64, 6, 15, 240, 3062, 300, 1600, 2, 0, 3, 2), M::kForwardVx, 1.5f, true},
    {1074, 2002, EnemyRow(64, 6, 15, 248, 3063, 120, 100, 0, 0, 1, 1), M::kForwardVx, 3.8f, true},
    {1079, 2002, EnemyRow(128, 18, 3, 237, 3039, 1100, 6000, 6, 1, 3, 8), M::kForwardVx, 2.5f, true},
}};

constexpr std::array<SpawnerTemplate, 2> kSpawners = {{
    {1049, true, 3046, 150, {}, {}},
    {1068, false, 3059, 120, {}, {}},
}};

// Five members in an arrow: the tip at (x, y), the others trailing behind it.
template <int Member>
constexpr GroupMember kArrow[] = {
    {Member, -40, -160, true}, {Member, -20, -80, true}, {Member, 0, 0, true},
    {Member, -20, 80, true},   {Member, -40, 160, true},
};

constexpr GroupMember kWedge[] = {
    {1071, 0, 0, true},    {1072, 140, -150, true}, {1072, 170, -100, true}, {1072, 200, -50, true},
    {1072, 200, 50, true}, {1072, 170, 100, true},  {1072, 140, 150, true},
};

constexpr std::array<GroupSpawnTemplate, 3> kGroups = {{
    {1070, kArrow<1069>},
    {1073, kWedge},
    {1075, kArrow<1074>},
}};

constexpr TemplateRow Trio(int behaviour) {
  return {.state = 2, .layer = 3, .category = kCategoryEnemy, .collidable = 1, .width = 512, .height = 512,
          .hitWidth = 200, .hitHeight = 200, .imageSet = 17, .blendMode = 0, .animation = 245,
          .behaviour = behaviour, .timer = 185, .scoreValue = 40000, .coinDrop = 10, .deathEffect = 1, .weight = 99,
          .expValue = 12};
}

constexpr std::array<BossTemplate, 4> kBosses = {{
    {1054, 2,
     {.state = 2, .layer = 3, .category = kCategoryEnemy, .vx = 1.0f, .vy = -1.0f, .collidable = 1, .width = 768,
      .height = 768, .hitWidth = 256, .hitHeight = 210, .imageSet = 19, .blendMode = 0, .animation = 280,
      .behaviour = 3051, .timer = 185, .work1 = 0.0f, .scoreValue = 160000, .coinDrop = 80, .deathEffect = 0,
      .weight = 99, .expValue = 30},
     {4000, 20000, 4000, 1600}, HitPointBands{60000, 33000}},
    {1076, 1, Trio(3064), {14000, 3000, 1200, 600}, {}},
    {1077, 1, Trio(3065), {14000, 3000, 800, 600}, {}},
    {1078, 1, Trio(3066), {14000, 3000, 1200, 600}, {}},
}};

void CreateStageEnemy(const TemplateCall& call) { CreateEnemyFrom(kEnemies, call); }
void CreateSpawner(const TemplateCall& call) { CreateSpawnerFrom(kSpawners, call); }
void CreateGroup(const TemplateCall& call) { CreateGroupSpawnFrom(kGroups, call); }
void CreateBoss(const TemplateCall& call) { CreateBossFrom(kBosses, call); }

constexpr TemplateEntry kEntries[] = {
    {1046, CreateStageEnemy}, {1048, CreateStageEnemy}, {1049, CreateSpawner},    {1054, CreateBoss},
    {1067, CreateStageEnemy}, {1068, CreateSpawner},    {1069, CreateStageEnemy}, {1070, CreateGroup},
    {1071, CreateStageEnemy}, {1072, CreateStageEnemy}, {1073, CreateGroup},      {1074, CreateStageEnemy},
    {1075, CreateGroup},      {1076, CreateBoss},       {1077, CreateBoss},       {1078, CreateBoss},
    {1079, CreateStageEnemy},
};

}  // namespace

std::span<const TemplateEntry> Stage5And6Templates() { return kEntries; }
