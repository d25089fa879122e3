// The options (one fixed slot each, 31 to 36) and the shots they fire, one template
// for each OptionShot kind and a stronger form from OptionLevel 5 on.
#include <iterator>

#include "core/game_state.h"
#include "game_library.h"
#include "objects/player_relative.h"
#include "objects/template_helpers.h"

namespace {

// ---- Options ----

constexpr TemplateRow kOption = {.state = 1, .layer = 4, .category = kCategoryEffect, .vx = 0.01f, .vy = 0.01f,
                                 .collidable = 0, .width = 64, .height = 64, .imageSet = 40, .blendMode = 2,
                                 .behaviour = 4083};

struct OptionSlot {
  int templateId, slot;
};
constexpr OptionSlot kOptionSlots[] = {{2152, 31}, {2153, 32}, {2154, 33}, {2155, 34}, {2197, 35}, {2198, 36}};

void CreateOption(const TemplateCall& call) {
  GameObject& record = FixedRecord(RowOf<OptionSlot>(kOptionSlots, call.templateId).slot, kOption);
  PlaceAt(record, call.x, call.y);
  record.facing = call.facing;
  // The row shows the kind of shot the option fires; an unknown kind keeps row 0.
  constexpr int kRowsByShot[] = {288, 291, 292, 321};
  if (OptionShot >= 0 && OptionShot < static_cast<int>(std::size(kRowsByShot))) {
    record.animation = kRowsByShot[OptionShot];
  }
}

// ---- Option shots ----

// Where a shot starts and what it draws.
enum class OptionShotKind {
  kStraight,  // at the arguments, vx = d x speed
  kNeedle,    // as kStraight, and phase = the firing option's slot
  kWall,      // at the option's floats; vx = d x (speed + R(3)), then phase = 0.1 + 0.01 R(3)
  kField,     // at the arguments, motionless
};

struct OptionShotTemplate {
  int templateId;
  OptionShotKind kind;
  TemplateRow row;
  float speed;
};

constexpr TemplateRow kOptionShot = {.state = 1, .layer = 6, .category = kCategoryPlayerShot, .collidable = 1,
                                     .blendMode = 2};

constexpr OptionShotTemplate kOptionShots[] = {
    {2156, OptionShotKind::kStraight,
     {.width = 32, .height = 32, .hitWidth = 35, .hitHeight = 35, .imageSet = 40, .animation = 289, .behaviour = 4001,
      .attackPower = 52},
     22.0f},
    {2219, OptionShotKind::kStraight,
     {.width = 32, .height = 32, .hitWidth = 40, .hitHeight = 40, .imageSet = 40, .animation = 386, .behaviour = 4001,
      .attackPower = 60},
     22.0f},
    {2157, OptionShotKind::kNeedle,
     {.width = 10, .height = 10, .hitWidth = 30, .hitHeight = 16, .imageSet = 3, .animation = 290, .behaviour = 4084,
      .attackPower = 14},
     30.0f},
    {2220, OptionShotKind::kNeedle,
     {.width = 10, .height = 10, .hitWidth = 30, .hitHeight = 20, .imageSet = 42, .animation = 387, .behaviour = 4084,
      .attackPower = 18},
     30.0f},
    {2159, OptionShotKind::kWall,
     {.width = 64, .height = 64, .hitWidth = 30, .hitHeight = 72, .imageSet = 1, .animation = 91, .behaviour = 4022,
      .attackPower = 65},
     10.0f},
    {2222, OptionShotKind::kWall,
     {.width = 64, .height = 64, .hitWidth = 30, .hitHeight = 72, .imageSet = 1, .animation = 91, .scaleDelta = 0.5f,
      .behaviour = 4022, .attackPower = 72},
     10.0f},
    {2173, OptionShotKind::kField,
     {.width = 32, .height = 32, .hitWidth = 44, .hitHeight = 70, .imageSet = 13, .animation = 320, .scaleDelta = 0.6f,
      .behaviour = 4093, .attackPower = 5},
     0.0f},
    {2221, OptionShotKind::kField,
     {.width = 32, .height = 32, .hitWidth = 44, .hitHeight = 110, .imageSet = 13, .animation = 320,
      .scaleDelta = 1.0f, .behaviour = 4093, .attackPower = 5},
     0.0f},
};

void CreateOptionShot(const TemplateCall& call) {
  const OptionShotTemplate& shot = RowOf<OptionShotTemplate>(kOptionShots, call.templateId);
  GameObject& record = NewRecord(kOptionShot);
  WriteRow(record, shot.row);
  const float side = PlayerSide();
  switch (shot.kind) {
    case OptionShotKind::kStraight:
    case OptionShotKind::kNeedle:
      PlaceAt(record, call.x, call.y);
      record.facing = call.facing;
      record.vx = side * shot.speed;
      if (shot.kind == OptionShotKind::kNeedle) record.phase = static_cast<float>(call.parentSlot);
      break;
    case OptionShotKind::kWall: {
      const GameObject& option = ParentRecord(call.parentSlot);
      record.x = option.x;
      record.y = option.y;
      record.facing = PlayerFacingBit();
      DrawFlameCourse(record, side, static_cast<int>(shot.speed), 0.1);
      break;
    }
    case OptionShotKind::kField:
      PlaceAt(record, call.x, call.y);
      record.facing = call.facing;
      break;
  }
}

constexpr TemplateEntry kEntries[] = {
    {2152, CreateOption},     {2153, CreateOption},     {2154, CreateOption},     {2155, CreateOption},
    {2197, CreateOption},     {2198, CreateOption},     {2156, CreateOptionShot}, {2219, CreateOptionShot},
    {2157, CreateOptionShot}, {2220, CreateOptionShot}, {2159, CreateOptionShot}, {2222, CreateOptionShot},
    {2173, CreateOptionShot}, {2221, CreateOptionShot},
};

}  // namespace

std::span<const TemplateEntry> OptionTemplates() { return kEntries; }
