#include "objects/effect_rows.h"

#include <iterator>

#include "core/game_state.h"
#include "game_library.h"

namespace {

template <typename T>
using RowMember = RowField<T> TemplateRow::*;

constexpr RowMember<int> kIntFields[] = {
    &TemplateRow::state,     &TemplateRow::layer,       &TemplateRow::category,  &TemplateRow::collidable,
    &TemplateRow::width,     &TemplateRow::height,      &TemplateRow::hitWidth,  &TemplateRow::hitHeight,
    &TemplateRow::imageSet,  &TemplateRow::blendMode,   &TemplateRow::animation, &TemplateRow::animTimer,
    &TemplateRow::animStep,  &TemplateRow::facing,      &TemplateRow::behaviour, &TemplateRow::timer,
    &TemplateRow::timer2,    &TemplateRow::hitPoints,   &TemplateRow::group,     &TemplateRow::attackPower,
    &TemplateRow::workInt,   &TemplateRow::hitFlash,    &TemplateRow::scoreValue, &TemplateRow::coinDrop,
    &TemplateRow::deathEffect, &TemplateRow::weight,    &TemplateRow::expValue,
};
constexpr RowMember<float> kFloatFields[] = {
    &TemplateRow::x,     &TemplateRow::y,          &TemplateRow::vx,    &TemplateRow::vy,
    &TemplateRow::spare, &TemplateRow::fade,       &TemplateRow::angle, &TemplateRow::scaleDelta,
    &TemplateRow::phase, &TemplateRow::phase2,     &TemplateRow::work0, &TemplateRow::work1,
    &TemplateRow::work2, &TemplateRow::work3,
};
static_assert(std::size(kIntFields) + std::size(kFloatFields) == 41, "every GameObject field");

}  // namespace

TemplateRow Overlay(TemplateRow base, const TemplateRow& extra) {
  for (RowMember<int> field : kIntFields) {
    if (extra.*field) base.*field = extra.*field;
  }
  for (RowMember<float> field : kFloatFields) {
    if (extra.*field) base.*field = extra.*field;
  }
  return base;
}

void PlaceRecord(GameObject& record, Place place, FacingFrom facing, const TemplateCall& call, float fixedX,
                 float fixedY) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  switch (place) {
    case Place::kArguments: PlaceAt(record, call.x, call.y); break;
    case Place::kPlayer:
      record.x = player.x;
      record.y = player.y;
      break;
    case Place::kParent:
      record.x = ParentRecord(call.parentSlot).x;
      record.y = ParentRecord(call.parentSlot).y;
      break;
    case Place::kFixedPoint:
      record.x = fixedX;
      record.y = fixedY;
      break;
  }
  if (facing == FacingFrom::kArgument) record.facing = call.facing;
  if (facing == FacingFrom::kPlayer) record.facing = player.facing;
}

GameObject& NewPlacedRecord(const TemplateRow& row, Place place, FacingFrom facing, const TemplateCall& call) {
  GameObject& record = NewRecord(row);
  PlaceRecord(record, place, facing, call);
  return record;
}

void CreatePlaced(std::span<const PlacedRow> rows, const TemplateCall& call) {
  const PlacedRow& placed = RowOf(rows, call.templateId);
  GameObject& record = NewRecord(placed.row);
  PlaceRecord(record, placed.place, placed.facing, call, placed.fixedX, placed.fixedY);
}

float DrawnAngle() {
  const int turn = RandomInRange(360);
  return static_cast<float>(turn);
}

float CentredSpread(float centre, int extent) {
  const int forth = RandomInRange(extent);
  const int back = RandomInRange(extent);
  return static_cast<float>(static_cast<double>(centre) + (forth / 2) - (back / 2));
}
