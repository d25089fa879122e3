// TGA pictures: true colour (type 2) and colour-mapped (type 1), each also
// run-length encoded (types 10 and 9), at 16, 24 or 32 bits, in any of the four
// row and column orders.
#include <algorithm>
#include <cstring>

#include "core/tracked_alloc.h"
#include "graphics/image_loaders.h"
#include "graphics/pixel_bytes.h"
#include "graphics/picture_stream.h"

namespace {

constexpr std::int64_t kHeaderSize = 18;
constexpr std::int64_t kFooterSize = 26;
constexpr int kMaxSide = 4096;

struct TgaHeader {
  int idLength;
  int colourMapType;
  int type;
  int mapFirst;
  int mapLength;
  int mapEntryBits;
  int width;
  int height;
  int pixelBits;  // bits per stored pixel (index bits for colour-mapped types)
  int bits;       // bits per decoded pixel
  int descriptor;
  bool colourMapped;
  bool rle;
};

bool ParseHeader(const std::uint8_t* b, TgaHeader* h) {
  h->idLength = b[0];
  h->colourMapType = b[1];
  h->type = b[2];
  h->mapFirst = ReadLE16(b + 3);
  h->mapLength = ReadLE16(b + 5);
  h->mapEntryBits = b[7];
  const int xOrigin = ReadLE16(b + 8), yOrigin = ReadLE16(b + 10);
  h->width = ReadLE16(b + 12);
  h->height = ReadLE16(b + 14);
  h->pixelBits = b[16];
  h->descriptor = b[17];
  if (h->type != 1 && h->type != 2 && h->type != 9 && h->type != 10) return false;
  h->colourMapped = h->type == 1 || h->type == 9;
  h->rle = h->type >= 9;
  h->bits = h->colourMapped ? h->mapEntryBits : h->pixelBits;
  if (xOrigin != 0 || yOrigin != 0) return false;
  if (h->width < 1 || h->height < 1 || h->width >= kMaxSide || h->height >= kMaxSide) return false;
  if (h->bits != 16 && h->bits != 24 && h->bits != 32) return false;
  return !h->colourMapped || (h->pixelBits == 8 && h->mapFirst + h->mapLength <= 256);
}

// The file counts as having a footer when its last 26 bytes carry the signature
// and no extension area.
bool HasFooter(DataStream* stream, std::int64_t total) {
  std::uint8_t footer[kFooterSize];
  if (total < kHeaderSize + kFooterSize || !StreamSeekTo(stream, total - kFooterSize) ||
      !StreamReadExact(stream, footer, sizeof footer)) {
    return false;
  }
  return std::memcmp(footer + 8, "TRUEVISION-XFILE", 16) == 0 && ReadLE32(footer) == 0;
}

// Run-length packets into `count` units of unitBytes each. false when a packet
// runs past the picture or the data.
bool DecodeTgaRle(const std::uint8_t* data, std::size_t size, std::uint8_t* out, std::size_t count,
                  int unitBytes) {
  std::size_t pos = 0, written = 0;
  while (written < count) {
    if (pos >= size) return false;
    const int packet = data[pos++];
    const std::size_t n = static_cast<std::size_t>(packet & 0x7F) + 1;
    const std::size_t literalBytes = (packet & 0x80) ? unitBytes : n * unitBytes;
    if (written + n > count || pos + literalBytes > size) return false;
    std::uint8_t* dst = out + written * unitBytes;
    if (packet & 0x80) {
      for (std::size_t i = 0; i < n; ++i) std::memcpy(dst + i * unitBytes, data + pos, unitBytes);
    } else {
      std::memcpy(dst, data + pos, literalBytes);
    }
    pos += literalBytes;
    written += n;
  }
  return true;
}

// The stored pixels (or indices), rows as the file orders them.
std::uint8_t* ReadUnits(DataStream* stream, const TgaHeader& h, std::int64_t dataEnd, int unitBytes) {
  const std::size_t count = static_cast<std::size_t>(h.width) * h.height;
  std::uint8_t* units = static_cast<std::uint8_t*>(TRACKED_ALLOC(count * unitBytes));
  if (units == nullptr) return nullptr;
  if (!h.rle) {
    if (StreamReadExact(stream, units, count * unitBytes)) return units;
    TrackedFree(units);
    return nullptr;
  }
  const std::int64_t here = stream->ops->tell(stream->handle);
  const std::size_t size = here >= 0 && dataEnd > here ? static_cast<std::size_t>(dataEnd - here) : 0;
  std::uint8_t* packed = size > 0 ? static_cast<std::uint8_t*>(TRACKED_ALLOC(size)) : nullptr;
  const bool ok = packed != nullptr && StreamReadExact(stream, packed, size) &&
                  DecodeTgaRle(packed, size, units, count, unitBytes);
  if (packed != nullptr) TrackedFree(packed);
  if (ok) return units;
  TrackedFree(units);
  return nullptr;
}

// Rows top first and pixels left to right, whichever order the file keeps.
std::uint8_t* Orient(std::uint8_t* pixels, const TgaHeader& h, int bytes) {
  const bool flipRows = (h.descriptor & 0x20) == 0;
  const bool flipColumns = (h.descriptor & 0x10) != 0;
  if (!flipRows && !flipColumns) return pixels;
  const std::size_t pitch = static_cast<std::size_t>(h.width) * bytes;
  std::uint8_t* out = static_cast<std::uint8_t*>(TRACKED_ALLOC(pitch * h.height));
  if (out != nullptr) {
    for (int y = 0; y < h.height; ++y) {
      const std::uint8_t* s = pixels + (flipRows ? h.height - 1 - y : y) * pitch;
      std::uint8_t* d = out + y * pitch;
      for (int x = 0; x < h.width; ++x) {
        std::memcpy(d + (flipColumns ? h.width - 1 - x : x) * bytes, s + x * bytes, bytes);
      }
    }
  }
  TrackedFree(pixels);
  return out;
}

void BuildTgaFormat(int bits, PixelFormat* pf) {
  if (bits == 16) BuildPixelFormatBody(pf, 16, 0x7C00u, 0x3E0u, 0x1Fu, 0);  // the attribute bit is not used
  if (bits == 24) BuildRgb24PixelFormat(pf);
  if (bits == 32) BuildPixelFormatBody(pf, 32, 0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u);
}

}  // namespace

int LoadTgaImage(DataStream* stream, GraphImage* img) {
  const std::int64_t total = StreamRemaining(stream);
  if (total < kHeaderSize) return -1;
  const std::int64_t dataEnd = HasFooter(stream, total) ? total - kFooterSize : total;
  std::uint8_t headerBytes[kHeaderSize];
  TgaHeader h;
  if (!StreamSeekTo(stream, 0) || !StreamReadExact(stream, headerBytes, sizeof headerBytes) ||
      !ParseHeader(headerBytes, &h)) {
    return -1;
  }
  const int bytes = h.bits / 8;
  // The image ID comes first, then the colour map (kept only by colour-mapped types).
  const int mapEntryBytes = (h.mapEntryBits + 7) / 8;
  std::uint8_t map[256 * 4] = {};
  std::int64_t offset = kHeaderSize + h.idLength;
  if (h.colourMapped) {
    if (!StreamSeekTo(stream, offset) ||
        !StreamReadExact(stream, map + h.mapFirst * bytes, static_cast<std::size_t>(h.mapLength) * bytes)) {
      return -1;
    }
  } else if (h.colourMapType == 1) {
    offset += static_cast<std::int64_t>(h.mapLength) * mapEntryBytes;
  }
  if (!h.colourMapped && !StreamSeekTo(stream, offset)) return -1;

  std::uint8_t* units = ReadUnits(stream, h, dataEnd, h.colourMapped ? 1 : bytes);
  if (units == nullptr) return -1;
  std::uint8_t* pixels = units;
  if (h.colourMapped) {
    const std::size_t count = static_cast<std::size_t>(h.width) * h.height;
    pixels = static_cast<std::uint8_t*>(TRACKED_ALLOC(count * bytes));
    if (pixels != nullptr) {
      for (std::size_t i = 0; i < count; ++i) std::memcpy(pixels + i * bytes, map + units[i] * bytes, bytes);
    }
    TrackedFree(units);
    if (pixels == nullptr) return -1;
  }
  pixels = Orient(pixels, h, bytes);
  if (pixels == nullptr) return -1;

  GraphImage result{};
  BuildTgaFormat(h.bits, &result.format);
  result.width = h.width;
  result.height = h.height;
  result.pitch = h.width * bytes;
  result.pixels = pixels;
  *img = result;
  return 0;
}
