// The end of a row of 32-bit pixels that is shorter than a vector group, drawn by the
// group code through padded copies instead of pixel by pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Draws the last `count` (fewer than Group) pixels with groups(d, s, Group), which
// draws whole groups of Group pixels, on copies padded to one group: each lane's pixel
// depends on nothing else, so the padding changes none of them. Small sprites' rows
// are mostly such ends.
template <int Group, typename Groups>
void DrawLastPixels(std::uint8_t* d, const std::uint8_t* s, int count, const Groups& groups) {
  const auto bytes = static_cast<std::size_t>(count) * 4;
  std::uint32_t sourceGroup[Group] = {}, targetGroup[Group] = {};
  std::memcpy(sourceGroup, s, bytes);
  std::memcpy(targetGroup, d, bytes);
  groups(reinterpret_cast<std::uint8_t*>(targetGroup), reinterpret_cast<const std::uint8_t*>(sourceGroup), Group);
  std::memcpy(d, targetGroup, bytes);
}
