// Effects that are a constant row at a place: the arguments, the player, the parent
// record or a fixed world point. Families list them as rows; templates with random
// draws start from the same places.
#pragma once

#include <span>

#include "objects/template_helpers.h"

enum class Place { kArguments, kPlayer, kParent, kFixedPoint };
enum class FacingFrom { kNotWritten, kArgument, kPlayer };

struct PlacedRow {
  int templateId;
  Place place;
  FacingFrom facing;
  TemplateRow row;
  float fixedX = 0.0f, fixedY = 0.0f;
};

// Puts the record at `place` and writes its facing.
void PlaceRecord(GameObject& record, Place place, FacingFrom facing, const TemplateCall& call, float fixedX = 0.0f,
                 float fixedY = 0.0f);

// A new record of `row` at `place`.
GameObject& NewPlacedRecord(const TemplateRow& row, Place place, FacingFrom facing, const TemplateCall& call);

// The record of the row of call.templateId in `rows`.
void CreatePlaced(std::span<const PlacedRow> rows, const TemplateCall& call);
