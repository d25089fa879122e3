// What the player's shots, bursts, action effects and option shots read of the
// player's record: its position as floats and its facing as a side of travel.
#pragma once

#include "core/game_object.h"
#include "objects/template_row.h"

// The player's record (slot 0).
const GameObject& Player();
// +1 while the player faces +x (facing 0), -1 otherwise.
float PlayerSide();
// The player's facing as 0 or 1.
int PlayerFacingBit();

// Takes a free record, writes the rows in turn and places it on the player.
GameObject& NewRecordAtPlayer(const TemplateRow& common, const TemplateRow& own = {});

// The course of a flame like DragonScale's: vx = side x (speed + R(3)), then
// phase = phaseBase + 0.01 x R(3), the rate at which its behaviour shrinks it.
void DrawFlameCourse(GameObject& record, float side, int speed, double phaseBase);

// A value chosen by a side of travel: `forward` for +1, `reversed` for -1.
struct BySide {
  float forward, reversed;
  float For(float side) const { return side > 0.0f ? forward : reversed; }
};
constexpr BySide Along(float speed) { return {speed, -speed}; }
constexpr BySide Against(float speed) { return {-speed, speed}; }
