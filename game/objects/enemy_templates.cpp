#include "objects/enemy_templates.h"

#include "game_library.h"
#include "objects/objects.h"

namespace {

void HeadFor(GameObject& record, float dx, float dy, float speed) {
  const Heading heading = HeadingAlong(dx, dy);
  record.phase = heading.distance;
  record.vx = heading.unitX * speed;
  record.vy = heading.unitY * speed;
}

void HeadForRandomOffset(GameObject& record, float speed) {
  const int dx = RandomInRange(1000) - 500;
  const int dy = RandomInRange(1000) - 500;
  HeadFor(record, static_cast<float>(dx), static_cast<float>(dy), speed);
  record.facing = FacingFromVx(record.vx);
}

void Move(GameObject& record, const EnemyTemplate& enemy, const TemplateCall& call) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  switch (enemy.motion) {
    case EnemyMotion::kNone:
      return;
    case EnemyMotion::kForwardVx:
      record.vx = ForwardSign(record.facing) * enemy.speed;
      return;
    case EnemyMotion::kForwardVy:
      record.vy = ForwardSign(record.facing) * enemy.speed;
      return;
    case EnemyMotion::kVxByArgumentFacing0:
      record.facing = 0;
      record.vx = ForwardSign(call.facing) * enemy.speed;
      return;
    case EnemyMotion::kAimAtPlayer:
    case EnemyMotion::kAimAtPlayerKeepFacing:
      HeadFor(record, player.x - record.x, player.y - record.y, enemy.speed);
      if (enemy.motion == EnemyMotion::kAimAtPlayer) record.facing = FacingFromVx(record.vx);
      return;
    case EnemyMotion::kTowardRandomPoint:
      record.facing = RandomInRange(1);
      HeadForRandomOffset(record, enemy.speed);
      return;
    case EnemyMotion::kTowardRandomOffset:
      HeadForRandomOffset(record, enemy.speed);
      return;
    case EnemyMotion::kTowardRandomTarget: {
      const int dx = RandomInRange(1000);
      const int tx = FloatToInt(record.x + static_cast<float>(dx - 500));
      const int dy = RandomInRange(1000);
      const int ty = FloatToInt(record.y + static_cast<float>(dy - 500));
      HeadFor(record, static_cast<float>(tx) - record.x, static_cast<float>(ty) - record.y, enemy.speed);
      record.facing = FacingFromVx(record.vx);
      return;
    }
    case EnemyMotion::kFacePlayer:
      record.facing = player.x > record.x ? 0 : 1;
      return;
    case EnemyMotion::kRandomDrift: {
      const int vx = RandomInRange(20);
      record.vx = static_cast<float>(vx * 0.1 - 1.0);
      const int vy = RandomInRange(20);
      record.vy = static_cast<float>(vy * 0.1 - 1.0);
      const int phase = RandomInRange(99);
      record.phase = static_cast<float>(phase * 0.01);
      record.facing = record.x < player.x ? 0 : 1;
      return;
    }
  }
}

void CreateEnemy(const EnemyTemplate& enemy, const TemplateCall& call) {
  if (enemy.appearEffect != 0) CreateObject(enemy.appearEffect, call.x, call.y, 0, 0);
  GameObject& record = NewRecord(kEnemyRecord);
  WriteRow(record, enemy.row);
  PlaceAt(record, call.x, call.y);
  record.facing = call.facing;
  CopyGroup(record, call.parentSlot);
  if (enemy.counted) CountEnemy(record);
  Move(record, enemy, call);
}

}  // namespace

void CreateEnemyFrom(std::span<const EnemyTemplate> enemies, const TemplateCall& call) {
  CreateEnemy(RowOf(enemies, call.templateId), call);
}

void CreateSpawnerFrom(std::span<const SpawnerTemplate> spawners, const TemplateCall& call) {
  constexpr TemplateRow kSpawner = {.state = 1, .layer = 4, .category = kCategoryEnemy};
  constexpr TemplateRow kNoSprite = {.collidable = 0,
                                     .width = 0,
                                     .height = 0,
                                     .hitWidth = 0,
                                     .hitHeight = 0,
                                     .imageSet = 0,
                                     .blendMode = 0,
                                     .animation = 0};
  const SpawnerTemplate& spawner = RowOf(spawners, call.templateId);
  GameObject& record = NewRecord(kSpawner);
  if (spawner.explicitShape) WriteRow(record, kNoSprite);
  if (spawner.collidable) record.collidable = *spawner.collidable;
  PlaceAt(record, call.x, call.y);
  record.facing = spawner.facing.value_or(call.facing);
  record.behaviour = spawner.behaviour;
  record.hitPoints = spawner.hitPoints;
  CopyGroup(record, call.parentSlot);
}

void CreateGroupSpawnFrom(std::span<const GroupSpawnTemplate> groups, const TemplateCall& call) {
  const int side = call.facing == 0 ? 1 : -1;
  for (const GroupMember& member : RowOf(groups, call.templateId).members) {
    const int dx = member.mirrored ? side * member.dx : member.dx;
    CreateObject(member.templateId, call.x + dx, call.y + member.dy, call.facing, call.parentSlot);
  }
}

void WriteHitPointBand(GameObject& record, const HitPointBands& bands) {
  if (record.hitPoints < bands.secondBelow) {
    record.work[0] = 2.0f;
  } else if (record.hitPoints < bands.firstBelow) {
    record.work[0] = 1.0f;
  }
}

void CreateBossFrom(std::span<const BossTemplate> bosses, const TemplateCall& call) {
  const BossTemplate& boss = RowOf(bosses, call.templateId);
  for (int i = 0; i < boss.appearCount; ++i) CreateObject(kBossAppearTemplate, call.x, call.y, 0, 0);
  GameObject& record = NewRecordAt(boss.row, call);
  record.facing = call.facing;
  record.hitPoints = HitPointsFor(boss.hitPoints);
  if (boss.bands) WriteHitPointBand(record, *boss.bands);
  CopyGroup(record, call.parentSlot);
  CountEnemy(record);
}

void WriteBossRecords(std::span<const BossRecord> records, const TemplateCall& call) {
  for (const BossRecord& slot : records) {
    GameObject& record = slot.slot == kAllocatedSlot ? NewRecord(slot.row) : FixedRecord(slot.slot, slot.row);
    PlaceAt(record, call.x, call.y);
    if (slot.role & kSlotFacingFromArgument) record.facing = call.facing;
    if (slot.hitPoints) record.hitPoints = HitPointsFor(*slot.hitPoints);
    if (slot.role & kSlotGroupFromParent) CopyGroup(record, call.parentSlot);
    if (slot.role & kSlotCounted) CountEnemy(record);
  }
}
