#include "core/byte_functions.h"

#include <cstring>

void FillBytes(void* destination, int value, std::size_t count) { std::memset(destination, value, count); }

int CompareBytes(const void* a, const void* b, std::size_t count) { return std::memcmp(a, b, count) == 0 ? 0 : 1; }

void CopyBytes(void* destination, const void* source, std::size_t count) {
  if (count > 0) std::memcpy(destination, source, count);
}

void MoveBytes(void* destination, const void* source, std::size_t count) {
  if (count > 0) std::memmove(destination, source, count);
}
