// Small helpers that the player's steps share.
#pragma once

#include <array>

#include "core/game_state.h"
#include "game_library.h"
#include "objects/objects.h"

// The player's effects are made at its position, truncated to whole pixels, with its
// facing unless they always face right.
enum class EffectFacing { kPlayer, kRight };
inline void CreateAtPlayer(int templateId, EffectFacing facing = EffectFacing::kPlayer, int parentSlot = 0) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  CreateObject(templateId, FloatToInt(player.x), FloatToInt(player.y),
               facing == EffectFacing::kPlayer ? player.facing : 0, parentSlot);
}

// A value of an upgrade track's levels 1 to 9, `other` for any other level.
inline int ByTrackLevel(const std::array<int, 9>& values, int level, int other) {
  return level >= 1 && level <= 9 ? values[level - 1] : other;
}
