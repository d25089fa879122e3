// The steps of the collision pass, each in its own file: the player against enemy
// bodies and bullets, the shots against enemies and shootable bullets, and the kill
// of an enemy with its rewards.
#pragma once

#include "core/collision_lists.h"
#include "core/collision_tables.h"

// Counts the player's protection down and, when the player is open to hits, tests
// the enemy bodies first and the bullets second.
void TestPlayerHits(const CollisionLists& lists);
// Every listed shot against the listed enemies, then against the shootable bullets.
void TestShots(const CollisionLists& lists, const ShotPassRules& rules);
// The enemy in `enemySlot`, hit by the shot in `shotSlot`, is destroyed and paid for.
void KillEnemy(int enemySlot, int shotSlot, const ShotPassRules& rules);
