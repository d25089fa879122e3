// The raw "BGRA" picture format: a 16-byte header ("BGRA", channel depth, width,
// height) and unpadded rows of blue, green, red and alpha, 8 or 16 bits each.
#include <cstring>

#include "core/tracked_alloc.h"
#include "graphics/image_loaders.h"
#include "graphics/pixel_bytes.h"
#include "graphics/picture_stream.h"

namespace {

constexpr std::uint32_t kDepth8 = 0x08080808u;
constexpr std::uint32_t kDepth16 = 0x10101010u;

// 16-bit channels keep their high bytes.
bool ReadWideRows(DataStream* stream, std::uint8_t* pixels, int width, int height) {
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 8;
  std::uint8_t* row = static_cast<std::uint8_t*>(TRACKED_ALLOC(rowBytes));
  if (row == nullptr) return false;
  bool ok = true;
  for (int y = 0; y < height && ok; ++y) {
    ok = StreamReadExact(stream, row, rowBytes);
    std::uint8_t* out = pixels + static_cast<std::size_t>(y) * width * 4;
    for (int x = 0; ok && x < width * 4; ++x) out[x] = row[2 * x + 1];
  }
  TrackedFree(row);
  return ok;
}

}  // namespace

int LoadBgraImage(DataStream* stream, GraphImage* img) {
  const std::int64_t total = StreamRemaining(stream);
  std::uint8_t header[16];
  if (total < 0 || !StreamReadExact(stream, header, sizeof header) || std::memcmp(header, "BGRA", 4) != 0) return -1;
  const std::uint32_t depth = ReadLE32(header + 4);
  const std::uint32_t width = ReadLE32(header + 8);
  const std::uint32_t height = ReadLE32(header + 12);
  if (depth != kDepth8 && depth != kDepth16) return -1;
  if (!PictureSizeAllowed(width, height)) return -1;
  const std::int64_t bytesPerPixel = depth == kDepth8 ? 4 : 8;
  if (static_cast<std::int64_t>(width) * height * bytesPerPixel > total - 16) return -1;

  const std::size_t size = static_cast<std::size_t>(width) * height * 4;
  std::uint8_t* pixels = static_cast<std::uint8_t*>(TRACKED_ALLOC(size));
  if (pixels == nullptr) return -1;
  const bool ok = depth == kDepth8 ? StreamReadExact(stream, pixels, size)
                                   : ReadWideRows(stream, pixels, static_cast<int>(width), static_cast<int>(height));
  if (!ok) {
    TrackedFree(pixels);
    return -1;
  }
  GraphImage result{};
  BuildPixelFormatBody(&result.format, 32, 0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u);
  result.width = static_cast<int>(width);
  result.height = static_cast<int>(height);
  result.pitch = static_cast<int>(width) * 4;
  result.pixels = pixels;
  *img = result;
  return 0;
}
