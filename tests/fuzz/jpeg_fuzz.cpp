#include "picture_fuzz.h"

namespace {

bool IsFrameMarker(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the segments to the first frame header as the decoder does, skipping bytes
// between segments; false when there is none.
bool DeclaredSize(const std::uint8_t* data, std::size_t size, std::int64_t* width, std::int64_t* height) {
  std::size_t i = 2;
  while (i + 4 <= size) {
    const std::uint8_t marker = data[i + 1];
    if (data[i] != 0xFF || marker == 0xFF || marker == 0x00) {
      ++i;
    } else if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      i += 2;  // no length
    } else if (IsFrameMarker(marker)) {
      if (i + 9 > size) return false;
      *height = data[i + 5] << 8 | data[i + 6];
      *width = data[i + 7] << 8 | data[i + 8];
      return true;
    } else {
      i += 2 + (data[i + 2] << 8 | data[i + 3]);
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzPictureLoader(LoadJpegImage, data, size, DeclaredSize);
}
