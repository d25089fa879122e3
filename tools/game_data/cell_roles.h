// What each cell of the common sprite sheets is in play: every template is made once
// in a new game and the cells of its records' rows count towards the role of each
// record, and so do the rows objects show later or by a draw (rows_in_play.h).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/game_object.h"

enum class CellRole {
  kUnused, kPlayerShot, kOption, kEnemyBullet, kCoin, kPickup, kEffect, kEnemy, kDecoration, kScenery, kFlash,
  kPower,  // the player's own power spread over the dragon
  kHalo,   // a glow kept on the dragon: the turbo's charge, the guard, an aura
  kHit,    // a hit on the dragon
  kRain    // falling over the whole play
};
constexpr int kRoleCount = 15;

// Roles by picture file name and cell.
using CellRoleMap = std::map<std::string, std::map<int, CellRole>>;

// `met`, when given, is told each image set and row that counts towards a role.
using RowMet = std::function<void(int imageSet, int row)>;
CellRoleMap FindCellRoles(const RowMet& met = {});

// The role of one cell, kUnused when no template shows it.
CellRole RoleOf(const CellRoleMap& roles, const char* picture, int cell);

// The records one CreateObject of `templateId` at (1000, 500) from `parent` takes, in
// the order taken, copied out; their slots are freed after, the dragon's kept.
std::vector<GameObject> MakeRecords(int templateId, int parent);

// Each sheet picture and cell of an animation row drawn from an image set, on the
// common sheets; of a record's row.
using CellVisit = std::function<void(const std::string&, int)>;
void ForEachCellOfRow(int imageSet, int row, const CellVisit& visit);
void ForEachCellOf(const GameObject& record, const CellVisit& visit);
