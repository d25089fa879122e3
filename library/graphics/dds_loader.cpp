// DDS pictures: the top-level surface of an uncompressed file, its layout given by
// channel masks or by one of the known format codes. Compressed and unknown
// formats are refused.
#include <cstring>

#include "core/tracked_alloc.h"
#include "graphics/image_loaders.h"
#include "graphics/pixel_bytes.h"
#include "graphics/pixel_format_bits.h"
#include "graphics/picture_stream.h"

namespace {

constexpr std::uint32_t kDescriptionSize = 124;
constexpr std::uint32_t kFlagPitch = 0x8;       // DDSD_PITCH
constexpr std::uint32_t kPixelFourCc = 0x4;     // DDPF_FOURCC
constexpr std::uint32_t kEndOfTable = 0xFFFFFFFFu;
constexpr std::uint32_t kMaxSide = 65535;

struct DdsFormat {
  std::uint32_t code;
  int bits;
  std::uint32_t r, g, b, a;
};

// Layouts known by their surface-format number.
const DdsFormat DdsFormatTable[] = {
    {20, 24, 0xFF0000, 0xFF00, 0xFF, 0},
    {21, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
    {22, 32, 0xFF0000, 0xFF00, 0xFF, 0},
    {23, 16, 0xF800, 0x7E0, 0x1F, 0},
    {24, 16, 0x7C00, 0x3E0, 0x1F, 0},
    {25, 16, 0x7C00, 0x3E0, 0x1F, 0x8000},
    {26, 16, 0xF00, 0xF0, 0xF, 0xF000},
    {27, 8, 0xE0, 0x1C, 0x3, 0},
    {29, 16, 0xE0, 0x1C, 0x3, 0xFF00},
    {30, 16, 0xF00, 0xF0, 0xF, 0},
    {31, 32, 0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000},
    {32, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000},
    {33, 32, 0xFF, 0xFF00, 0xFF0000, 0},
    {35, 32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000},
    {kEndOfTable, 0, 0, 0, 0, 0},
};

const DdsFormat* FindDdsFormat(std::uint32_t code) {
  for (const DdsFormat* f = DdsFormatTable; f->code != kEndOfTable; ++f) {
    if (f->code == code) return f;
  }
  return nullptr;
}

// A one-byte layout becomes a palette image whose palette holds the colour of every
// byte value, each channel scaled to 8 bits.
void BuildByteLayoutPalette(const DdsFormat& layout, PixelFormat* pf) {
  BuildPalette8PixelFormat(pf);
  auto channel = [](std::uint32_t value, std::uint32_t mask) -> std::uint32_t {
    const ChannelScan scan = ScanChannelMask(mask);
    const std::uint32_t max = mask >> scan.shift;
    return max == 0 ? 0 : ((value & mask) >> scan.shift) * 255 / max;
  };
  for (std::uint32_t i = 0; i < 256; ++i) {
    pf->palette[i] = (channel(i, layout.r) << 16) | (channel(i, layout.g) << 8) | channel(i, layout.b);
  }
}

}  // namespace

int LoadDdsImage(DataStream* stream, GraphImage* img) {
  std::uint8_t magic[4];
  std::uint8_t d[kDescriptionSize];
  if (!StreamReadExact(stream, magic, sizeof magic) || std::memcmp(magic, "DDS", 3) != 0 ||
      !StreamReadExact(stream, d, sizeof d)) {
    return -1;
  }
  const std::uint32_t flags = ReadLE32(d + 4);
  const std::uint32_t height = ReadLE32(d + 8);
  const std::uint32_t width = ReadLE32(d + 12);
  const std::uint32_t pitchField = ReadLE32(d + 16);
  const std::uint8_t* pf = d + 72;  // the pixel-format record
  const std::uint32_t pixelFlags = ReadLE32(pf + 4);

  DdsFormat layout{0, static_cast<int>(ReadLE32(pf + 12)), ReadLE32(pf + 16), ReadLE32(pf + 20),
                   ReadLE32(pf + 24), ReadLE32(pf + 28)};
  if (pixelFlags & kPixelFourCc) {
    const DdsFormat* known = pixelFlags == kPixelFourCc ? FindDdsFormat(ReadLE32(pf + 8)) : nullptr;
    if (known == nullptr) return -1;
    layout = *known;
  }
  if (layout.bits != 8 && layout.bits != 16 && layout.bits != 24 && layout.bits != 32) return -1;
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return -1;
  const std::size_t rowBytes = static_cast<std::size_t>(layout.bits / 8) * width;
  const std::size_t pitch = (flags & kFlagPitch) ? pitchField : rowBytes;
  if (pitch < rowBytes || pitch > 0x7FFFFFFF) return -1;
  const std::int64_t remaining = StreamRemaining(stream);
  const std::size_t size = pitch * height;
  if (remaining < 0 || size > static_cast<std::size_t>(remaining)) return -1;

  std::uint8_t* pixels = static_cast<std::uint8_t*>(TRACKED_ALLOC(size));
  if (pixels == nullptr) return -1;
  if (!StreamReadExact(stream, pixels, size)) {
    TrackedFree(pixels);
    return -1;
  }
  GraphImage result{};
  if (layout.bits == 8) {
    BuildByteLayoutPalette(layout, &result.format);
  } else {
    BuildPixelFormatBody(&result.format, layout.bits, layout.r, layout.g, layout.b, layout.a);
  }
  result.width = static_cast<int>(width);
  result.height = static_cast<int>(height);
  result.pitch = static_cast<int>(pitch);
  result.pixels = pixels;
  *img = result;
  return 0;
}
