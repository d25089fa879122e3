// What each cell of the common sprite sheets is in play, as the object templates
// use it: every template is made once in a new game and the cells of its first
// animation row count towards the role of its record.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/game_object.h"

enum class CellRole {
  kUnused, kPlayerShot, kOption, kEnemyBullet, kCoin, kPickup, kEffect, kEnemy, kDecoration, kScenery, kFlash
};
constexpr int kRoleCount = 11;

// Roles by picture file name and cell.
using CellRoleMap = std::map<std::string, std::map<int, CellRole>>;

CellRoleMap FindCellRoles();

// The role of one cell, kUnused when no template shows it.
CellRole RoleOf(const CellRoleMap& roles, const char* picture, int cell);

// The records one CreateObject of `templateId` at (1000, 500) from `parent` takes, in
// the order taken, copied out; their slots are freed after, the dragon's kept.
std::vector<GameObject> MakeRecords(int templateId, int parent);

// Each sheet picture and cell of a record's animation row, on the common sheets.
void ForEachCellOf(const GameObject& record, const std::function<void(const std::string&, int)>& visit);
