// What the bullet and effect families share: rows laid over rows, the usual effect
// row, records placed at the arguments, the player, the parent or a fixed point, and
// the draws several effects make alike.
#pragma once

#include <span>

#include "objects/template_helpers.h"

// `base` with every field that `extra` holds written over it.
TemplateRow Overlay(TemplateRow base, const TemplateRow& extra);

// An active effect record of this layer, size (both sides), sheet, row and behaviour,
// blended additively.
constexpr TemplateRow EffectRow(int layer, RowField<int> size, int imageSet, RowField<int> animation,
                                RowField<int> behaviour) {
  return {.state = 1, .layer = layer, .category = kCategoryEffect, .width = size, .height = size,
          .imageSet = imageSet, .blendMode = 2, .animation = animation, .behaviour = behaviour};
}

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

// float(R(360)): a whole number of radians, as the effects turn.
float DrawnAngle();
// centre + R(extent) div 2 - R(extent) div 2, in double: a point within half the extent
// of the centre, nearer it more often.
float CentredSpread(float centre, int extent);
