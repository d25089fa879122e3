// What the templates share: taking and writing a record, the parent record, the
// enemy bookkeeping, upgrade-scaled hit points and the aim at a point.
#pragma once

#include <limits>
#include <span>

#include "core/game_object.h"
#include "objects/object_factory.h"
#include "objects/template_row.h"

// Takes a free record (slot 8500, unreset, when the pool is full) and writes the row
// into it. The caller writes the rest of the record before it creates anything else:
// the record stays free until its state is written.
GameObject& NewRecord(const TemplateRow& row);
// Resets fixed slot `slot` and writes the row into it.
GameObject& FixedRecord(int slot, const TemplateRow& row);

// The record in `parentSlot`; a slot outside the pool reads as a reset record.
const GameObject& ParentRecord(int parentSlot);

// Stores the argument position as floats.
void PlaceAt(GameObject& record, int x, int y);
// NewRecord, placed at the call's position.
GameObject& NewRecordAt(const TemplateRow& row, const TemplateCall& call);
// group = the parent's group.
void CopyGroup(GameObject& record, int parentSlot);
// Counts an enemy in the stage tally: one enemy and its coins.
void CountEnemy(const GameObject& record);

// The upward toss of coins, chips and emitters: vx = R(8) - 4, then vy = -(R(5) + 3).
void TossUpward(GameObject& record);

// +1 for facing 0, -1 for any other facing (the direction of travel).
float ForwardSign(int facing);
// The facing that goes with a velocity: 0 when it points to larger x, else 1.
int FacingFromVx(float vx);

// base + s x ShotLevel + o x OptionLevel + t x TurboLevel, at most `cap`.
struct UpgradeHitPoints {
  int base, perShot, perOption, perTurbo;
  int cap = std::numeric_limits<int>::max();
};
int HitPointsFor(const UpgradeHitPoints& scale);

// The single-precision distance (dx, dy) and the unit vector along it; a zero
// distance gives the unit vector (0, 0).
struct Heading {
  float distance;
  float unitX, unitY;
};
Heading HeadingAlong(float dx, float dy);

// The row of `templateId` in a family table of rows that carry their template number
// in `templateId`.
template <typename Row>
const Row& RowOf(std::span<const Row> rows, int templateId) {
  for (const Row& row : rows) {
    if (row.templateId == templateId) return row;
  }
  return rows.front();
}
