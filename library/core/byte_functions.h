// Byte blocks.
#pragma once

#include <cstddef>

void FillBytes(void* destination, int value, std::size_t count);
// 0 equal, 1 different.
int CompareBytes(const void* a, const void* b, std::size_t count);
// The blocks must not overlap.
void CopyBytes(void* destination, const void* source, std::size_t count);
// Overlapping blocks are fine.
void MoveBytes(void* destination, const void* source, std::size_t count);
