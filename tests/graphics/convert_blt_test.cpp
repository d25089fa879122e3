#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/pixel_convert_blt.h"
#include "common_pixel_formats.h"

namespace {

struct NamedFormat {
  std::string name;
  PixelFormat pf;
};

PixelFormat Palette(const std::vector<std::uint32_t>& colours) {
  PixelFormat pf{};
  BuildPalette8PixelFormat(&pf);
  for (std::size_t i = 0; i < colours.size(); ++i) pf.palette[i] = colours[i] & 0xFFFFFF;
  return pf;
}

// Colours every format holds exactly: each channel 0 or full, alpha 0 or 255.
const std::vector<std::uint32_t> kPureColours = {
    0xFF000000, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00,
    0xFF00FFFF, 0xFFFF00FF, 0x00FFFFFF, 0x00FF0000,
};

std::vector<NamedFormat> LibraryFormats() {
  return {{"XRGB8888", kXrgb8888}, {"ARGB8888", kArgb8888}, {"RGB24", kRgb24},         {"RGB565", kRgb565},
          {"RGB555", kXrgb1555},   {"ARGB4444", kArgb4444}, {"ARGB1555", kArgb1555}, {"palette", Palette(kPureColours)}};
}

std::uint8_t Ch(std::uint32_t c, int shift) { return static_cast<std::uint8_t>(c >> shift); }

std::uint32_t Pack(const PixelFormat& pf, std::uint32_t argb) {
  return PackPixel(&pf, Ch(argb, 16), Ch(argb, 8), Ch(argb, 0), Ch(argb, 24));
}

// A block of pixel values in a format, with guard bytes around it.
struct Block {
  PixelFormat pf;
  int width, height, pitch;
  std::vector<std::uint8_t> bytes;  // 16 guard bytes, the rows, 16 guard bytes
  static constexpr std::uint8_t kGuard = 0xA5;

  Block(const PixelFormat& format, int w, int h, int padding = 3)
      : pf(format), width(w), height(h), pitch(w * format.bytesPerPixel + padding),
        bytes(32 + static_cast<std::size_t>(pitch) * h, kGuard) {}
  std::uint8_t* Pixels() { return bytes.data() + 16; }
  std::uint8_t* At(int x, int y) { return Pixels() + y * pitch + x * pf.bytesPerPixel; }
  std::uint32_t Get(int x, int y) {
    std::uint32_t v = 0;
    std::memcpy(&v, At(x, y), pf.bytesPerPixel);
    return v;
  }
  void Set(int x, int y, std::uint32_t v) { std::memcpy(At(x, y), &v, pf.bytesPerPixel); }
  bool GuardsIntact() const {
    for (int i = 0; i < 16; ++i) {
      if (bytes[i] != kGuard || bytes[bytes.size() - 1 - i] != kGuard) return false;
    }
    for (int y = 0; y < height; ++y) {
      for (int i = width * pf.bytesPerPixel; i < pitch; ++i) {
        if (bytes[16 + y * pitch + i] != kGuard) return false;
      }
    }
    return true;
  }
};

// One row of the colours in the format (indices for a palette format).
Block SourceRow(const PixelFormat& pf, const std::vector<std::uint32_t>& colours) {
  Block b(pf, static_cast<int>(colours.size()), 1);
  for (std::size_t i = 0; i < colours.size(); ++i) {
    b.Set(static_cast<int>(i), 0, pf.bytesPerPixel == 1 ? static_cast<std::uint32_t>(i) : Pack(pf, colours[i]));
  }
  return b;
}

struct BltArgs {
  int mirror = 0, keyToAlpha = 0, dither = 0, alphaOnly = 0, alphaFromRed = 0, skipKey = 0;
  std::uint32_t key = 0;
  Block* alpha = nullptr;
};

int Blt(Block& dst, Block& src, const BltArgs& a = {}, int dstX = 0, int dstY = 0, const RECT* rect = nullptr) {
  const RECT whole{0, 0, src.width, src.height};
  return ConvertPixelFormatBlt(dst.Pixels(), dst.pitch, &dst.pf, src.Pixels(), src.pitch, &src.pf,
                               a.alpha ? a.alpha->Pixels() : nullptr, a.alpha ? a.alpha->pitch : 0,
                               a.alpha ? &a.alpha->pf : nullptr, dstX, dstY, rect ? rect : &whole, a.mirror,
                               a.keyToAlpha, a.key, a.dither, a.alphaOnly, a.alphaFromRed, a.skipKey);
}

bool Is565(const PixelFormat& pf) { return SamePixelFormat(&pf, &kRgb565); }
bool IsXrgbOr24(const PixelFormat& pf) { return SamePixelFormat(&pf, &kXrgb8888) || SamePixelFormat(&pf, &kRgb24); }

}  // namespace

// Every pair of the library's formats, plain and mirrored: channels land in their
// places, alpha comes from the source or is opaque, unused bits are set.
TEST(ConvertBlt, EveryFormatPair) {
  for (const NamedFormat& from : LibraryFormats()) {
    for (const NamedFormat& to : LibraryFormats()) {
      for (int mirror : {0, 1}) {
        SCOPED_TRACE(from.name + " -> " + to.name + (mirror ? " mirrored" : ""));
        Block src = SourceRow(from.pf, kPureColours);
        Block dst(to.pf, src.width, 1);
        BltArgs args;
        args.mirror = mirror;
        const int result = Blt(dst, src, args);
        EXPECT_TRUE(dst.GuardsIntact());
        if (to.pf.bytesPerPixel == 1 && from.pf.bytesPerPixel != 1) {
          EXPECT_EQ(result, -1);
          EXPECT_EQ(dst.Get(0, 0), Block::kGuard);
          continue;
        }
        ASSERT_EQ(result, 0);
        for (int i = 0; i < src.width; ++i) {
          const int x = mirror ? src.width - 1 - i : i;
          std::uint32_t expected;
          if (to.pf.bytesPerPixel == 1) {
            expected = static_cast<std::uint32_t>(i);
          } else {
            std::uint32_t c = kPureColours[i];
            if (from.pf.maskA == 0) c |= 0xFF000000;
            // The fixed 565 rows widen without filling the new low bits.
            if (Is565(from.pf) && IsXrgbOr24(to.pf) && !mirror) c &= 0xFFF8FCF8;
            expected = Pack(to.pf, c);
            if (to.pf.bytesPerPixel == 3) expected &= 0xFFFFFF;
          }
          EXPECT_EQ(dst.Get(x, 0), expected) << "pixel " << i;
        }
      }
    }
  }
}

TEST(ConvertBlt, OrderedDitherFollowsTheMatrix) {
  // Red dropped bits 4 of 8: pixels whose matrix entry is below 8 round up.
  const int matrix[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
  Block src(kXrgb8888, 6, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) src.Set(x, y, 0xFF840000);  // red 0x84: 16 with 4 dropped
  }
  Block dst(kRgb565, 6, 5);
  BltArgs args;
  args.dither = DITHER_ORDERED;
  ASSERT_EQ(Blt(dst, src, args), 0);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      const std::uint32_t red = matrix[(x & 3) + (y & 3) * 4] < 8 ? 17 : 16;
      EXPECT_EQ(dst.Get(x, y), red << 11) << x << "," << y;
    }
  }
}

TEST(ConvertBlt, CarriedErrorRoundsEverySecondPixelAcrossRows) {
  Block src(kXrgb8888, 3, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) src.Set(x, y, 0xFF000004);  // blue: half of the dropped range
  }
  Block dst(kRgb565, 3, 2);
  BltArgs args;
  args.dither = DITHER_CARRY;
  ASSERT_EQ(Blt(dst, src, args), 0);
  const std::uint32_t expected[2][3] = {{0, 1, 0}, {1, 0, 1}};  // the carry continues into row 1
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(dst.Get(x, y), expected[y][x]) << x << "," << y;
  }
}

// Between layouts of equally wide channels a dither has no dropped bits to spread:
// every colour arrives unchanged, keyed or not, whatever the dither mode.
TEST(ConvertBlt, DitherLeavesEquallyWideChannelsUnchanged) {
  const std::uint32_t key = 0xFF00FF;
  const std::vector<std::uint32_t> colours = {0x010203, 0x7F8081, key, 0xFEFFFD, 0x000000};
  for (const PixelFormat& from : {kRgb24, kXrgb8888, Palette(colours)}) {
    for (const PixelFormat& to : {kArgb8888, kXrgb8888}) {
      for (const int dither : {DITHER_ORDERED, DITHER_CARRY}) {
        for (const int keyed : {0, 1}) {
          SCOPED_TRACE(testing::Message() << from.bitsPerPixel << " bits to alpha " << to.maskA << ", dither "
                                          << dither << ", keyed " << keyed);
          Block src = SourceRow(from, colours);
          Block dst(to, src.width, 1);
          BltArgs args;
          args.keyToAlpha = keyed;
          args.key = key;
          args.dither = dither;
          ASSERT_EQ(Blt(dst, src, args), 0);
          for (int x = 0; x < src.width; ++x) {
            const bool transparent = keyed && to.maskA != 0 && colours[x] == key;
            EXPECT_EQ(dst.Get(x, 0), transparent ? colours[x] : colours[x] | 0xFF000000u) << "pixel " << x;
          }
        }
      }
    }
  }
}

TEST(ConvertBlt, KeyToAlpha) {
  const std::uint32_t magenta = 0xFF00FF;
  const std::vector<std::uint32_t> colours = {0xFF00FF, 0x123456, 0xFFFFFF, 0xFF00FE};
  for (const PixelFormat& from : {kXrgb8888, kRgb24, kRgb565, kXrgb1555, Palette(colours)}) {
    for (const PixelFormat& to : {kArgb8888, kArgb4444, kArgb1555}) {
      SCOPED_TRACE(testing::Message() << "from " << from.bitsPerPixel << "/" << from.maskR << " to " << to.maskA);
      Block src = SourceRow(from, colours);
      Block dst(to, 4, 1);
      BltArgs args;
      args.keyToAlpha = 1;
      args.key = magenta;
      ASSERT_EQ(Blt(dst, src, args), 0);
      EXPECT_EQ(dst.Get(0, 0) & to.maskA, 0u);
      EXPECT_EQ(dst.Get(1, 0) & to.maskA, to.maskA);
      EXPECT_EQ(dst.Get(2, 0) & to.maskA, to.maskA);
      // Near the key: a palette source into 1555 compares the whole colour,
      // every other case compares what the destination keeps of it.
      const bool exactKeyCompare = (from.bytesPerPixel == 1 && to.maskA == 0x8000) || to.maskA == 0xFF000000;
      const bool representable = Is565(from) || from.maskR == 0x7C00;  // the near colour is already magenta
      EXPECT_EQ(dst.Get(3, 0) & to.maskA, exactKeyCompare && !representable ? to.maskA : 0u);
    }
  }
  // A source with alpha keeps its own alpha: no keying.
  Block argb = SourceRow(kArgb8888, {0xFFFF00FF});
  Block dst(kArgb8888, 1, 1);
  BltArgs args;
  args.keyToAlpha = 1;
  args.key = magenta;
  ASSERT_EQ(Blt(dst, argb, args), 0);
  EXPECT_EQ(dst.Get(0, 0), 0xFFFF00FFu);
}

// A palette source is keyed by its index, also on the general path.
TEST(ConvertBlt, SkipKeyOfAPaletteSourceIsAnIndex) {
  const std::vector<std::uint32_t> colours = {0x000000, 0xFF00FF, 0xFF00FF};
  Block indices = SourceRow(Palette(colours), colours);
  for (const PixelFormat& to : {Palette(colours), kRgb565}) {
    Block out(to, 3, 1);
    for (int x = 0; x < 3; ++x) out.Set(x, 0, 0x5555);
    BltArgs key1;
    key1.skipKey = 1;
    key1.key = 1;
    ASSERT_EQ(Blt(out, indices, key1), 0);
    EXPECT_EQ(out.Get(1, 0), to.bytesPerPixel == 1 ? 0x55u : 0x5555u);
    EXPECT_NE(out.Get(2, 0), to.bytesPerPixel == 1 ? 0x55u : 0x5555u);
  }
}

TEST(ConvertBlt, AlphaFromAGreyPicture) {
  Block src(kXrgb8888, 3, 1);
  src.Set(0, 0, 0x00102030);
  src.Set(1, 0, 0x00405060);
  src.Set(2, 0, 0x00F0F0F0);
  // From a grey alpha picture (one byte per pixel, its palette the grey ramp).
  PixelFormat grey{};
  BuildGray8PixelFormat(&grey);
  Block alpha(grey, 3, 1);
  alpha.Set(0, 0, 0x00);
  alpha.Set(1, 0, 0x80);
  alpha.Set(2, 0, 0xFF);
  BltArgs fromImage;
  fromImage.alpha = &alpha;
  Block argb(kArgb8888, 3, 1);
  ASSERT_EQ(Blt(argb, src, fromImage), 0);
  EXPECT_EQ(argb.Get(0, 0), 0x00102030u);
  EXPECT_EQ(argb.Get(1, 0), 0x80405060u);
  EXPECT_EQ(argb.Get(2, 0), 0xFFF0F0F0u);
  Block a4444(kArgb4444, 3, 1);
  ASSERT_EQ(Blt(a4444, src, fromImage), 0);
  EXPECT_EQ(a4444.Get(1, 0), 0x8456u);
}

TEST(ConvertBlt, SubRectangleToAnOffset) {
  Block src(kXrgb8888, 4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) src.Set(x, y, static_cast<std::uint32_t>(0xFF000000 | (x << 16) | (y << 8)));
  }
  Block dst(kRgb24, 6, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) dst.Set(x, y, 0x777777);
  }
  const RECT rect{1, 1, 3, 3};
  ASSERT_EQ(Blt(dst, src, {}, 4, 2, &rect), 0);
  EXPECT_TRUE(dst.GuardsIntact());
  EXPECT_EQ(dst.Get(4, 2), 0x010100u);
  EXPECT_EQ(dst.Get(5, 3), 0x020200u);
  EXPECT_EQ(dst.Get(3, 2), 0x777777u);
  EXPECT_EQ(dst.Get(4, 1), 0x777777u);
  const RECT empty{2, 2, 2, 3};
  EXPECT_EQ(Blt(dst, src, {}, 0, 0, &empty), 0);
  EXPECT_EQ(dst.Get(0, 0), 0x777777u);
}

// One row of raw values converted: the destination's raw values after.
struct RowCase {
  const char* name;
  PixelFormat from, to;
  std::vector<std::uint32_t> source, want;
  BltArgs args;
  std::uint32_t before = 0;  // every destination pixel's value before
};

const std::vector<std::uint32_t> kReds = {0x00102030, 0x00405060, 0x00F0F0F0};

TEST(ConvertBlt, RowsConvertAsEachCaseSays) {
  const RowCase cases[] = {
      // The fixed 565 rows widen without filling the low bits; the fourth byte 0xFF like every 32-bit write.
      {"565 widened by the fixed rows", kRgb565, kXrgb8888, {0xFFFF, 0x8410}, {0xFFF8FCF8, 0xFF808080}, {}},
      // 16 -> 128 + 16 x 7 / 31, 32 -> 128 + 32 x 3 / 63
      {"565 widened in full under a dither", kRgb565, kXrgb8888, {0xFFFF, 0x8410}, {0xFFFFFFFF, 0xFF838183},
       {.dither = DITHER_ORDERED}},
      {"555 green to 565", kXrgb1555, kRgb565, {0x3E0}, {0x7E0}, {}},
      {"24-bit narrowed to 565 by cutting", kRgb24, kRgb565, {0xFF8007}, {0xFC00}, {}},
      // At threshold index 0 every channel with dropped bits rounds up, held at its maximum.
      {"ordered dither rounds up at the first threshold", kRgb24, kRgb565, {0xFF8007}, {0xFC01},
       {.dither = DITHER_ORDERED}},
      {"key to alpha on the same layout ignores the fourth byte", kXrgb8888, kArgb8888,
       {0x00FF00FF, 0x77FF00FF, 0x00123456}, {0xFF123456, 0x00FF00FF, 0x00FF00FF},
       {.mirror = 1, .keyToAlpha = 1, .key = 0xFF00FF}},
      {"skipped key pixels on the same layout are left alone", kRgb565, kRgb565, {0x1234, 0xF81F, 0x0001},
       {0x1234, 0xAAAA, 0x0001}, {.skipKey = 1, .key = 0xF81F}, 0xAAAA},
      {"mirroring turns skipping off", kRgb565, kRgb565, {0x1234, 0xF81F, 0x0001}, {0x0001, 0xF81F, 0x1234},
       {.mirror = 1, .skipKey = 1, .key = 0xF81F}, 0xAAAA},
      {"no red or blue channel", Format(16, 0, 0xFF, 0, 0xFF00), kArgb8888, {0x80FF, 0xFF10},
       {0x8000FF00, 0xFF001000}, {}},
      {"alpha from red", kXrgb8888, kArgb8888, kReds, {0x10102030, 0x40405060, 0xF0F0F0F0}, {.alphaFromRed = 1}},
      {"alpha only, from red", kXrgb8888, kArgb8888, kReds, {0x10000000, 0x40000000, 0xF0000000},
       {.alphaOnly = 1, .alphaFromRed = 1}, 0x55555555},
      {"alpha only, from red into 4 bits", kXrgb8888, kArgb4444, kReds, {0x1000, 0x4000, 0xF000},
       {.alphaOnly = 1, .alphaFromRed = 1}},
      {"indices mirrored", Palette({1, 2, 3}), Palette({1, 2, 3}), {0, 1, 2}, {2, 1, 0}, {.mirror = 1}},
  };
  for (const RowCase& c : cases) {
    SCOPED_TRACE(c.name);
    const int width = static_cast<int>(c.source.size());
    Block src(c.from, width, 1), dst(c.to, width, 1);
    for (int x = 0; x < width; ++x) {
      src.Set(x, 0, c.source[x]);
      dst.Set(x, 0, c.before);
    }
    ASSERT_EQ(Blt(dst, src, c.args), 0);
    for (int x = 0; x < width; ++x) EXPECT_EQ(dst.Get(x, 0), c.want[x]) << std::hex << "pixel " << x;
    EXPECT_TRUE(dst.GuardsIntact());
  }
}
