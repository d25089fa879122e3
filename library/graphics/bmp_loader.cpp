// BMP pictures: 1, 4, 8, 16, 24 and 32 bits, uncompressed, RLE8, RLE4 or with bit
// fields, bottom-up or top-down. 4- and 8-bit pictures (and the RLE ones) stay
// palette images; 24-bit ones keep their rows; every other layout is converted to
// RGB24 here, each channel scaled to 8 bits.
#include <cstring>

#include "core/log.h"
#include "core/tracked_alloc.h"
#include "graphics/bmp_rle.h"
#include "graphics/image_loaders.h"
#include "graphics/pixel_convert_area.h"
#include "graphics/picture_stream.h"

namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::int64_t kMasksOffset = 54;  // after a 40-byte header, or inside a longer one

struct BmpHeader {
  std::int64_t pixelOffset;
  std::int64_t headerSize;
  int width;
  int rows;
  bool bottomUp;
  int bitCount;
  std::uint32_t compression;
  std::uint32_t coloursUsed;
  std::int64_t srcPitch;  // bytes per stored row
};

bool ReadHeader(DataStream* stream, std::int64_t total, BmpHeader* h) {
  std::uint8_t bytes[kFileHeaderSize + kInfoHeaderSize];
  if (!StreamReadExact(stream, bytes, sizeof bytes) || bytes[0] != 'B' || bytes[1] != 'M') return false;
  const std::uint8_t* info = bytes + kFileHeaderSize;
  h->pixelOffset = ReadLE32(bytes + 10);
  h->headerSize = ReadLE32(info);
  const std::int32_t width = static_cast<std::int32_t>(ReadLE32(info + 4));
  const std::int32_t height = static_cast<std::int32_t>(ReadLE32(info + 8));
  h->bitCount = ReadLE16(info + 14);
  h->compression = ReadLE32(info + 16);
  h->coloursUsed = ReadLE32(info + 32);
  if (h->headerSize < static_cast<std::int64_t>(kInfoHeaderSize) || h->pixelOffset > total) return false;
  const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
  if (!PictureSizeAllowed(width, rows)) return false;
  h->width = width;
  h->rows = static_cast<int>(rows);
  h->bottomUp = height > 0;
  h->srcPitch = (static_cast<std::int64_t>(h->bitCount) * width + 31) / 32 * 4;
  switch (h->compression) {
    case kBiRgb:
      return h->bitCount == 1 || h->bitCount == 4 || h->bitCount == 8 || h->bitCount == 16 ||
             h->bitCount == 24 || h->bitCount == 32;
    case kBiRle8: return h->bitCount == 8;
    case kBiRle4: return h->bitCount == 4;
    case kBiBitfields: return h->bitCount == 16 || h->bitCount == 32;
    default: return false;
  }
}

// The colour table follows the information header: the used-colours count of
// entries (all of them when 0), the rest black.
bool ReadColourTable(DataStream* stream, const BmpHeader& h, PixelFormat* pf) {
  const std::uint32_t entries = 1u << h.bitCount;
  const std::uint32_t count = h.coloursUsed != 0 && h.coloursUsed < entries ? h.coloursUsed : entries;
  std::uint8_t table[256 * 4];
  if (!StreamSeekTo(stream, static_cast<std::int64_t>(kFileHeaderSize) + h.headerSize) ||
      !StreamReadExact(stream, table, count * 4)) {
    return false;
  }
  for (std::uint32_t i = 0; i < count; ++i) pf->palette[i] = ReadLE32(table + 4 * i) & 0xFFFFFFu;
  return true;
}

bool ReadChannelMasks(DataStream* stream, const BmpHeader& h, std::uint32_t masks[3]) {
  if (h.compression == kBiRgb) {
    const bool x555 = h.bitCount == 16;
    masks[0] = x555 ? 0x7C00u : 0xFF0000u;
    masks[1] = x555 ? 0x3E0u : 0xFF00u;
    masks[2] = x555 ? 0x1Fu : 0xFFu;
    return true;
  }
  std::uint8_t bytes[12];
  if (!StreamSeekTo(stream, kMasksOffset) || !StreamReadExact(stream, bytes, sizeof bytes)) return false;
  for (int i = 0; i < 3; ++i) masks[i] = ReadLE32(bytes + 4 * i);
  return true;
}

// The stored rows, top first, whichever order the file keeps them in.
struct StoredRows {
  const std::uint8_t* top;
  std::ptrdiff_t pitch;
};

StoredRows RowsOf(const std::uint8_t* data, const BmpHeader& h) {
  if (!h.bottomUp) return {data, static_cast<std::ptrdiff_t>(h.srcPitch)};
  return {data + (h.rows - 1) * h.srcPitch, -static_cast<std::ptrdiff_t>(h.srcPitch)};
}

std::size_t IndexPitch(const BmpHeader& h) { return (static_cast<std::size_t>(h.width) + 3) & ~std::size_t{3}; }

// 1- or 4-bit indices unpacked to one byte each (high bits first), rows top first.
std::uint8_t* UnpackIndices(const std::uint8_t* data, const BmpHeader& h) {
  const std::size_t pitch = IndexPitch(h);
  std::uint8_t* out = static_cast<std::uint8_t*>(TRACKED_ALLOC(pitch * h.rows));
  if (out == nullptr) return nullptr;
  const StoredRows rows = RowsOf(data, h);
  const int perByte = 8 / h.bitCount;
  const std::uint8_t mask = static_cast<std::uint8_t>((1u << h.bitCount) - 1u);
  for (int y = 0; y < h.rows; ++y) {
    const std::uint8_t* s = rows.top + y * rows.pitch;
    std::uint8_t* d = out + y * pitch;
    for (int x = 0; x < h.width; ++x) {
      const int shift = 8 - h.bitCount * (x % perByte + 1);
      d[x] = (s[x / perByte] >> shift) & mask;
    }
  }
  return out;
}

// 8- and 24-bit rows as they are stored, top first.
std::uint8_t* OrderRows(std::uint8_t* data, const BmpHeader& h) {
  if (!h.bottomUp) return data;
  const std::size_t pitch = static_cast<std::size_t>(h.srcPitch);
  std::uint8_t* out = static_cast<std::uint8_t*>(TRACKED_ALLOC(pitch * h.rows));
  if (out == nullptr) return nullptr;
  const StoredRows rows = RowsOf(data, h);
  for (int y = 0; y < h.rows; ++y) std::memcpy(out + y * pitch, rows.top + y * rows.pitch, pitch);
  return out;
}

// Any other layout into a new RGB24 block, as the display driver would draw it.
std::uint8_t* ConvertToRgb24(const StoredRows& rows, const PixelFormat& src, const BmpHeader& h, int* pitch) {
  *pitch = (3 * h.width + 3) & ~3;
  std::uint8_t* out = static_cast<std::uint8_t*>(TRACKED_ALLOC(static_cast<std::size_t>(*pitch) * h.rows));
  if (out == nullptr) {
    LogWrite("２４ビットカラー化したグラフィックを格納するメモリ領域の確保に失敗しました\n");
    return nullptr;
  }
  PixelFormat rgb24{};
  BuildRgb24PixelFormat(&rgb24);
  const ConvertArea area{rows.top, rows.pitch, out, *pitch, nullptr, 0, h.width, h.rows, false};
  ConvertGeneral(area, rgb24, src, PixelFormat{}, GeneralConvertOptions{false, false, false, false, false, 0, 0});
  return out;
}

std::uint8_t* DecodeRle(const std::uint8_t* data, std::size_t size, const BmpHeader& h) {
  std::uint8_t* pixels = static_cast<std::uint8_t*>(TRACKED_CALLOC(IndexPitch(h) * h.rows));
  if (pixels != nullptr && !DecodeBmpRle(data, size, h.compression == kBiRle4, pixels,
                                         static_cast<int>(IndexPitch(h)), h.rows, h.bottomUp)) {
    TrackedFree(pixels);
    return nullptr;
  }
  return pixels;
}

// 1-bit pictures through their colour table, 16- and 32-bit ones through their
// channel masks.
std::uint8_t* DecodeToRgb24(const std::uint8_t* data, const BmpHeader& h, const PixelFormat& colourTable,
                            const std::uint32_t masks[3], int* pitch) {
  PixelFormat src{};
  if (h.bitCount != 1) {
    BuildPixelFormatBody(&src, h.bitCount, masks[0], masks[1], masks[2], 0);
    return ConvertToRgb24(RowsOf(data, h), src, h, pitch);
  }
  BuildPalette8PixelFormat(&src);
  std::memcpy(src.palette, colourTable.palette, sizeof src.palette);
  std::uint8_t* indices = UnpackIndices(data, h);
  if (indices == nullptr) return nullptr;
  std::uint8_t* pixels = ConvertToRgb24({indices, static_cast<std::ptrdiff_t>(IndexPitch(h))}, src, h, pitch);
  TrackedFree(indices);
  return pixels;
}

// Decodes the pixel data into img (format, pitch and pixels; img's palette holds
// the colour table). The data block is taken over or freed.
bool DecodePixels(std::uint8_t* data, std::size_t size, const BmpHeader& h, const std::uint32_t masks[3],
                  GraphImage* img) {
  const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
  if (!rle && size < static_cast<std::size_t>(h.srcPitch) * h.rows) {
    TrackedFree(data);
    return false;
  }
  std::uint8_t* pixels = nullptr;
  if (rle || h.bitCount == 4) {
    BuildPalette8PixelFormat(&img->format);
    img->pitch = static_cast<int>(IndexPitch(h));
    pixels = rle ? DecodeRle(data, size, h) : UnpackIndices(data, h);
  } else if (h.bitCount == 8 || h.bitCount == 24) {
    if (h.bitCount == 8) BuildPalette8PixelFormat(&img->format);
    if (h.bitCount == 24) BuildRgb24PixelFormat(&img->format);
    img->pitch = static_cast<int>(h.srcPitch);
    pixels = OrderRows(data, h);
    if (pixels == data) data = nullptr;  // kept as the pixel block
  } else {
    const PixelFormat colourTable = img->format;
    img->format = PixelFormat{};
    BuildRgb24PixelFormat(&img->format);
    pixels = DecodeToRgb24(data, h, colourTable, masks, &img->pitch);
  }
  if (data != nullptr) TrackedFree(data);
  img->pixels = pixels;
  return pixels != nullptr;
}

}  // namespace

int LoadBmpImage(DataStream* stream, GraphImage* img) {
  const std::int64_t total = StreamRemaining(stream);
  BmpHeader h;
  if (total < 0 || !ReadHeader(stream, total, &h)) return -1;
  GraphImage result{};
  std::uint32_t masks[3] = {};
  if (h.bitCount <= 8 && !ReadColourTable(stream, h, &result.format)) return -1;
  if (h.bitCount >= 16 && h.bitCount != 24 && !ReadChannelMasks(stream, h, masks)) return -1;

  const std::size_t size = static_cast<std::size_t>(total - h.pixelOffset);
  if (size == 0) return -1;
  std::uint8_t* data = static_cast<std::uint8_t*>(TRACKED_ALLOC(size));
  if (data == nullptr) return -1;
  if (!StreamSeekTo(stream, h.pixelOffset) || !StreamReadExact(stream, data, size)) {
    TrackedFree(data);
    return -1;
  }
  if (!DecodePixels(data, size, h, masks, &result)) return -1;
  result.width = h.width;
  result.height = h.rows;
  *img = result;
  return 0;
}
