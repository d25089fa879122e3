// Stages 1 and 2: their enemies, wave spawners and the stage 2 boss 1033; the early
// templates that play never creates (1001-1008, 1010, 1014, 1021-1023) and the player
// record template 1000.
#include <array>

#include "core/game_state.h"
#include "game_library.h"
#include "objects/enemy_templates.h"
#include "objects/objects.h"

namespace {

using M = EnemyMotion;

constexpr int kAppear = 2002;

constexpr TemplateRow Early(int width, int hit, int imageSet, int animation, int behaviour, int hitPoints,
                            int scoreValue, int coinDrop, int weight) {
  return {.width = width, .height = width, .hitWidth = hit, .hitHeight = hit, .imageSet = imageSet,
          .animation = animation, .behaviour = behaviour, .hitPoints = hitPoints, .scoreValue = scoreValue,
          .coinDrop = coinDrop, .deathEffect = 0, .weight = weight};
}

constexpr TemplateRow EarlySpawner(int behaviour) {
  TemplateRow row = Early(128, 16, 0, 0, behaviour, 2000, 100, 3, 1);
  row.state = 1;
  row.collidable = 0;
  return row;
}

constexpr TemplateRow kLarge1019 = {.width = 128, .height = 128, .hitWidth = 38, .hitHeight = 38, .imageSet = 3,
                                    .animation = 237, .behaviour = 3017, .hitPoints = 650, .phase = kHalfPi,
                                    .scoreValue = 6000, .coinDrop = 8, .deathEffect = 1, .weight = 2, .expValue = 6};

constexpr std::array<EnemyTemplate, 20> kEnemies = {{
    {1011, kAppear, WithPhase(EnemyRow(64, 6, 15, 235, 3010, 50, 500, 2, 0, 1, 1), kThreeHalvesPi), M::kForwardVx, 2.5f,
     true},
    {1012, kAppear, WithPhase(EnemyRow(64, 6, 15, 234, 3011, 30, 100, 1, 0, 1, 1), kHalfPi), M::kForwardVx, 2.0f, true},
    {1013, kAppear, EnemyRow(64, 6, 15, 240, 3012, 80, 1200, 1, 0, 1, 3), M::kNone, 0.0f, true},
    {1014, kAppear, WithTimer(EnemyRow(64, 6, 1, 8, 3013, 120, 1200, 2, 0, 1, 2), 80),
     M::kNone, 0.0f, true},
    {1017, kAppear, WithPhase(EnemyRow(64, 6, 15, 234, 3011, 80, 100, 1, 0, 1, 2), kThreeHalvesPi), M::kForwardVx, 2.4f,
     true},
    {1019, kAppear, kLarge1019, M::kNone, 0.0f, true},
    {1022, kAppear,
     {.width = 128, .height = 128, .hitWidth = 18, .hitHeight = 18, .imageSet = 3, .animation = 6, .behaviour = 3020,
      .hitPoints = 10000, .scoreValue = 5000, .coinDrop = 10, .deathEffect = 0, .weight = 2, .expValue = 0},
     M::kAimAtPlayerKeepFacing, 3.0f, true},
    {1023, kAppear,
     {.width = 128, .height = 128, .hitWidth = 18, .hitHeight = 18, .imageSet = 3, .animation = 6, .behaviour = 3021,
      .hitPoints = 5000, .scoreValue = 5000, .coinDrop = 10, .deathEffect = 0, .weight = 2, .expValue = 0},
     M::kNone, 0.0f, true},
    {1024, kAppear, EnemyRow(64, 6, 15, 243, 3022, 90, 400, 1, 0, 1, 0), M::kAimAtPlayer, 3.0f, true},
    {1026, kAppear,
     {.width = 128, .height = 128, .hitWidth = 40, .hitHeight = 40, .imageSet = 16, .animation = 242,
      .behaviour = 3024, .hitPoints = 280, .scoreValue = 3800, .coinDrop = 6, .deathEffect = 1, .weight = 2,
      .expValue = 4},
     M::kForwardVx, 2.6f, true},
    {1027, kAppear, WithPhase(EnemyRow(64, 6, 15, 239, 3025, 80, 400, 1, 0, 1, 1), kTwentiethPi), M::kForwardVx, 2.6f,
     true},
    {1032, kAppear,
     {.width = 128, .height = 128, .hitWidth = 34, .hitHeight = 34, .imageSet = 3, .animation = 237,
      .behaviour = 3030, .hitPoints = 700, .scoreValue = 4000, .coinDrop = 10, .deathEffect = 1, .weight = 2,
      .expValue = 4},
     M::kNone, 0.0f, true},
    // Early templates: counted nowhere, no experience.
    {1010, 0,
     {.state = 1, .collidable = 0, .width = 128, .height = 128, .hitWidth = 16, .hitHeight = 16, .imageSet = 3,
      .animation = 6, .behaviour = 3009, .hitPoints = 2000},
     M::kNone, 0.0f, false},
    {1001, kAppear, Early(64, 8, 1, 8, 3005, 200, 100, 3, 1), M::kForwardVx, 4.0f, false},
    {1002, kAppear, Early(64, 16, 1, 8, 3002, 200, 100, 3, 1), M::kNone, 0.0f, false},
    {1003, kAppear, Early(64, 16, 1, 8, 3003, 200, 100, 3, 1), M::kNone, 0.0f, false},
    {1004, kAppear, Early(128, 16, 3, 6, 3004, 2000, 1000, 10, 2), M::kNone, 0.0f, false},
    {1006, kAppear, Early(64, 8, 1, 8, 3005, 200, 100, 3, 1), M::kForwardVx, 4.0f, false},
    {1007, 0, EarlySpawner(3006), M::kNone, 0.0f, false},
    {1008, 0, EarlySpawner(3007), M::kNone, 0.0f, false},
}};

constexpr std::array<SpawnerTemplate, 10> kSpawners = {{
    {1015, true, 3014, 100, {}, {}},
    {1016, true, 3015, 100, {}, {}},
    {1018, true, 3016, 100, {}, {}},
    {1020, true, 3018, 100, {}, {}},
    {1021, true, 3019, 100, {}, {}},
    {1025, true, 3023, 100, {}, {}},
    {1028, false, 3026, 100, {}, {}},
    {1030, false, 3028, 100, {}, {}},
    {1031, false, 3029, 100, {}, {}},
    {1113, true, 3108, 100, {}, {}},
}};

constexpr std::array<BossTemplate, 1> kBosses = {{
    {1033, 1,
     {.state = 2, .layer = 3, .category = kCategoryEnemy, .collidable = 1, .width = 512, .height = 512,
      .hitWidth = 200, .hitHeight = 200, .imageSet = 17, .blendMode = 0, .animation = 245, .behaviour = 3031,
      .timer = 188, .scoreValue = 100000, .coinDrop = 60, .deathEffect = 1, .weight = 99, .expValue = 24},
     {10000, 5000, 1000, 500}, {}},
}};

void CreateStageEnemy(const TemplateCall& call) { CreateEnemyFrom(kEnemies, call); }

void CreateSpawner(const TemplateCall& call) { CreateSpawnerFrom(kSpawners, call); }
void CreateBoss(const TemplateCall& call) { CreateBossFrom(kBosses, call); }

// 1029: its speed, jitter, pay and row follow the group it joins.
void CreateGroupAimedEnemy(const TemplateCall& call) {
  struct ByGroup {
    int scoreValue, coinDrop, expValue, speed, jitter, animation;
  };
  constexpr ByGroup kGroup1 = {200, 1, 0, 5, 10, 238};
  constexpr ByGroup kGroup2 = {100, 0, 2, 6, 5, 250};
  constexpr ByGroup kOtherGroups = {200, 1, 0, 5, 10, 250};
  CreateObject(kAppear, call.x, call.y, 0, 0);
  GameObject& record = NewRecord(kEnemyRecord);
  WriteRow(record, EnemyRow(64, 6, 15, 0, 3027, 60, 0, 0, 0, 1, 0));
  PlaceAt(record, call.x, call.y);
  record.facing = call.facing;
  CopyGroup(record, call.parentSlot);
  const ByGroup& by = record.group == 1 ? kGroup1 : record.group == 2 ? kGroup2 : kOtherGroups;
  record.scoreValue = by.scoreValue;
  record.coinDrop = by.coinDrop;
  record.expValue = by.expValue;
  const GameObject& player = ObjectPool[kPlayerSlot];
  const Heading heading = HeadingAlong(player.x - record.x, player.y - record.y);
  record.phase = heading.distance;
  const int vxPlus = RandomInRange(by.jitter);
  const int vxMinus = RandomInRange(by.jitter);
  record.vx = static_cast<float>(static_cast<double>(heading.unitX * by.speed) + vxPlus * 0.1 - vxMinus * 0.1);
  const int vyPlus = RandomInRange(by.jitter);
  const int vyMinus = RandomInRange(by.jitter);
  record.vy = static_cast<float>(static_cast<double>(heading.unitY * by.speed) + vyPlus * 0.1 - vyMinus * 0.1);
  record.facing = FacingFromVx(record.vx);
  CountEnemy(record);
  record.animation = by.animation;
}

// 1005: five enemies in a chevron, each after its own appearance effect; the wings
// trail behind the leader.
void CreateChevron(const TemplateCall& call) {
  struct Wing {
    float back;
    int dy;
  };
  constexpr Wing kWings[] = {{100.0f, -140}, {50.0f, -70}, {0.0f, 0}, {50.0f, 70}, {100.0f, 140}};
  const float s = call.facing == 0 ? -1.0f : 1.0f;
  for (const Wing& wing : kWings) {
    const float x = static_cast<float>(call.x) + s * wing.back;
    CreateObject(kAppear, FloatToInt(x), call.y + wing.dy, 0, 0);
    GameObject& record = NewRecord(kEnemyRecord);
    WriteRow(record, Early(64, 16, 1, 8, 3001, 200, 100, 3, 1));
    record.x = x;
    record.y = static_cast<float>(call.y + wing.dy);
    record.facing = call.facing;
    record.phase = s;
    record.vx = ForwardSign(call.facing) * 4.0f;
    CopyGroup(record, call.parentSlot);
  }
}

// 1000: the player's record as the early game laid it out.
void CreatePlayerRecord(const TemplateCall&) {
  GameObject& record = NewRecord({});
  record = GameObject{};
  record.state = 1;
  record.category = kCategoryPlayer;
  record.width = record.height = record.hitWidth = record.hitHeight = 32;
  record.weight = 1;
}

constexpr TemplateEntry kEntries[] = {
    {1000, CreatePlayerRecord}, {1001, CreateStageEnemy}, {1002, CreateStageEnemy}, {1003, CreateStageEnemy},
    {1004, CreateStageEnemy},        {1005, CreateChevron}, {1006, CreateStageEnemy}, {1007, CreateStageEnemy},
    {1008, CreateStageEnemy},        {1010, CreateStageEnemy}, {1011, CreateStageEnemy}, {1012, CreateStageEnemy},
    {1013, CreateStageEnemy},        {1014, CreateStageEnemy}, {1015, CreateSpawner}, {1016, CreateSpawner},
    {1017, CreateStageEnemy},        {1018, CreateSpawner}, {1019, CreateStageEnemy}, {1020, CreateSpawner},
    {1021, CreateSpawner},      {1022, CreateStageEnemy}, {1023, CreateStageEnemy}, {1024, CreateStageEnemy},
    {1025, CreateSpawner},      {1026, CreateStageEnemy}, {1027, CreateStageEnemy}, {1028, CreateSpawner},
    {1029, CreateGroupAimedEnemy}, {1030, CreateSpawner}, {1031, CreateSpawner}, {1032, CreateStageEnemy},
    {1033, CreateBoss},         {1113, CreateSpawner},
};

}  // namespace

std::span<const TemplateEntry> Stage1And2Templates() { return kEntries; }
