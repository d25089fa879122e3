#include "objects/placed_effects.h"

#include "core/game_state.h"

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
