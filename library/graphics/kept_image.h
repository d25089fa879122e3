// A MEMIMG as a recorded draw reads it later: its record without the palette storage
// (the palette pointers still lead to the palette in use), small enough to keep with
// every draw, and rebuilt where the draw runs. Each run gets its own record, so the
// marks a kernel leaves on its target touch nothing another thread reads.
#pragma once

#include <cstddef>
#include <cstring>

#include "graphics/memimg.h"

class KeptImage {
 public:
  KeptImage() = default;  // no image
  explicit KeptImage(const MEMIMG* image) : present_(image != nullptr) {
    if (image == nullptr) return;
    std::memcpy(head_, image, kHeadBytes);
    std::memcpy(tail_, reinterpret_cast<const std::byte*>(image) + kTailStart, kTailBytes);
  }

  // The image in `space`, or nullptr for none.
  MEMIMG* Rebuild(MEMIMG* space) const {
    if (!present_) return nullptr;
    std::memcpy(space, head_, kHeadBytes);
    std::memcpy(reinterpret_cast<std::byte*>(space) + kTailStart, tail_, kTailBytes);
    return space;
  }

 private:
  static constexpr std::size_t kHeadBytes = offsetof(MEMIMG, paletteStorage);
  static constexpr std::size_t kTailStart = offsetof(MEMIMG, workPaletteStorage) + sizeof(MemImgPalette);
  static constexpr std::size_t kTailBytes = sizeof(MEMIMG) - kTailStart;
  static_assert(offsetof(MEMIMG, workPaletteStorage) == kHeadBytes + sizeof(MemImgPalette),
                "the two palette storages lie together");

  bool present_ = false;
  std::byte head_[kHeadBytes];
  std::byte tail_[kTailBytes];
};
