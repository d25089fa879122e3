// What each cell of the common sprite sheets is in play, as the object templates
// use it: every template is made once in a new game and the cells of its first
// animation row count towards the role of its record.
#pragma once

#include <map>
#include <string>

enum class CellRole {
  kUnused, kPlayerShot, kOption, kEnemyBullet, kCoin, kPickup, kEffect, kEnemy, kDecoration, kScenery, kFlash
};
constexpr int kRoleCount = 11;

// Roles by picture file name and cell.
using CellRoleMap = std::map<std::string, std::map<int, CellRole>>;

CellRoleMap FindCellRoles();

// The role of one cell, kUnused when no template shows it.
CellRole RoleOf(const CellRoleMap& roles, const char* picture, int cell);
