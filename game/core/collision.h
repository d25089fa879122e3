// The collision pass of every unpaused play frame: delayed records wake, the player
// is tested against enemy bodies and bullets (guard, life loss, graze), and the
// player's shots against enemies and shootable bullets (damage, kills, rewards).
#pragma once

void UpdateCollision();
