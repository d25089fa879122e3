#include "picture_fuzz.h"

namespace {

// A little-endian side: 16 bits unsigned, or 32 bits signed.
std::int64_t LoadSide(const std::uint8_t* bytes, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  if (count == 2) return value;
  return static_cast<std::int32_t>(value);
}

// The info header's size, then the sides: 16 bits in the oldest header, else 32 bits
// with a negative height for rows stored top down.
bool DeclaredSize(const std::uint8_t* data, std::size_t size, std::int64_t* width, std::int64_t* height) {
  if (size < 26) return false;
  const int side = LoadSide(data + 14, 4) == 12 ? 2 : 4;
  *width = LoadSide(data + 18, side);
  *height = LoadSide(data + 18 + side, side);
  if (*height < 0) *height = -*height;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzPictureLoader(LoadBmpImage, data, size, DeclaredSize);
}
