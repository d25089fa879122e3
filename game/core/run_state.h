// The state that belongs to one run of the game, as lists of memory blocks: the run
// state that a new game zeroes, and the control state of the player and the stage
// flow that every new game, return to the title and continue clears. Whatever one
// run leaves in them must not reach the next, or a replay would not replay.
#pragma once

#include <cstddef>
#include <span>

struct StateBlock {
  void* address;
  std::size_t bytes;
};

std::span<const StateBlock> RunStateBlocks();
std::span<const StateBlock> RunControlStateBlocks();

void ClearRunState();
// Zeroes the control state, then gives the words with another start value theirs.
void ClearRunControlState();
