// Cut and damaged pictures: every loader refuses them or decodes something sound,
// never reading or writing outside its blocks (run under the sanitizers) and
// never leaking; the fuzz targets' seed pictures decode within a small memory budget.
#include <gtest/gtest.h>
#include <malloc.h>

#include <png.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "core/tracked_alloc.h"
#include "graphics/pixel_convert_blt.h"
#include "picture_fixtures.h"

namespace {

struct Sample {
  const char* name;
  ImageLoader loader;
  Bytes file;
  bool truncationsFail;  // every cut-off copy is refused
};

std::vector<Sample> BmpSamples() {
  std::vector<Sample> samples;
  const IndexedPicture indexed4 = MakeIndexedPicture(7, 5, 16);
  const IndexedPicture indexed8 = MakeIndexedPicture(7, 5, 40);
  const ArgbPicture colour = MakeArgbPicture(7, 5, false);
  for (int bits : {1, 4, 8}) {
    const IndexedPicture pic = MakeIndexedPicture(7, 5, bits == 8 ? 40 : 1 << bits);
    BmpLayout layout;
    layout.bitCount = bits;
    samples.push_back({"bmp indexed", LoadBmpImage,
                       BmpFile(7, 5, layout, pic.palette, PackBmpRows(7, 5, bits, false, [&](int x, int y) { return pic.At(x, y); })),
                       true});
  }
  for (int bits : {16, 24, 32}) {
    BmpLayout layout;
    layout.bitCount = bits;
    layout.topDown = bits == 24;
    samples.push_back({"bmp colour", LoadBmpImage,
                       BmpFile(7, 5, layout, {}, PackBmpRows(7, 5, bits, layout.topDown, [&](int x, int y) { return colour.At(x, y); })),
                       true});
  }
  BmpLayout fields;
  fields.bitCount = 16;
  fields.compression = 3;
  fields.masks[0] = 0xF800;
  fields.masks[1] = 0x7E0;
  fields.masks[2] = 0x1F;
  samples.push_back({"bmp bit fields", LoadBmpImage,
                     BmpFile(7, 5, fields, {}, PackBmpRows(7, 5, 16, false, [&](int x, int y) { return colour.At(x, y) & 0xFFFF; })),
                     true});
  BmpLayout rle8;
  rle8.bitCount = 8;
  rle8.compression = 1;
  samples.push_back({"bmp rle8", LoadBmpImage, BmpFile(7, 5, rle8, indexed8.palette, EncodeRle8(indexed8, true)), true});
  BmpLayout rle4;
  rle4.bitCount = 4;
  rle4.compression = 2;
  samples.push_back({"bmp rle4", LoadBmpImage, BmpFile(7, 5, rle4, indexed4.palette, EncodeRle4(indexed4, true)), true});
  return samples;
}

std::vector<Sample> OtherSamples() {
  std::vector<Sample> samples;
  const ArgbPicture colour = MakeArgbPicture(6, 4, true);
  const IndexedPicture indexed = MakeIndexedPicture(6, 4, 9);
  for (int type : {2, 10}) {
    TgaLayout layout;
    layout.type = type;
    layout.idLength = 3;
    samples.push_back({"tga colour", LoadTgaImage, TgaFile(colour, layout), true});
    layout.footer = true;
    layout.bits = 16;
    samples.push_back({"tga colour with footer", LoadTgaImage, TgaFile(colour, layout), false});
  }
  for (int type : {1, 9}) {
    TgaLayout layout;
    layout.type = type;
    layout.bits = 24;
    layout.mapFirst = 2;
    samples.push_back({"tga colour-mapped", LoadTgaImage, TgaFile(indexed, layout), true});
  }
  const std::uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  Bytes rows;
  for (std::uint32_t c : colour.argb) {
    for (int shift : {0, 8, 16, 24}) rows.push_back(static_cast<std::uint8_t>(c >> shift));
  }
  samples.push_back({"dds masks", LoadDdsImage, DdsFile(6, 4, 32, 0x41, 0, masks, 0, rows), true});
  samples.push_back({"dds code", LoadDdsImage, DdsFile(6, 4, 16, 0x4, 25, masks, 0, Bytes(rows.begin(), rows.begin() + 48)), true});
  samples.push_back({"bgra 8", LoadBgraImage, BgraFile(colour, false), true});
  samples.push_back({"bgra 16", LoadBgraImage, BgraFile(colour, true), true});

  PngLayout palette;
  palette.colourType = PNG_COLOR_TYPE_PALETTE;
  palette.bitDepth = 4;
  palette.palette = indexed.palette;
  palette.paletteAlpha = {0, 128, 255};
  samples.push_back({"png palette", LoadPngImage,
                     PngFile(6, 4, palette, [&](int x, int y) { return std::vector<int>{indexed.At(x, y)}; }), true});
  PngLayout rgba;
  rgba.colourType = PNG_COLOR_TYPE_RGBA;
  rgba.interlaced = true;
  samples.push_back({"png rgba interlaced", LoadPngImage, PngFile(6, 4, rgba, [&](int x, int y) {
                       const std::uint32_t c = colour.At(x, y);
                       return std::vector<int>{int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF), int(c >> 24)};
                     }),
                     true});
  PngLayout greyAlpha;
  greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
  greyAlpha.bitDepth = 16;
  samples.push_back({"png grey alpha 16", LoadPngImage,
                     PngFile(6, 4, greyAlpha, [](int x, int y) { return std::vector<int>{x * 9000, y * 5000}; }), true});
  samples.push_back({"jpeg baseline", LoadJpegImage, JpegFile(MakeArgbPicture(16, 9, false), false, false, 80), false});
  samples.push_back({"jpeg progressive", LoadJpegImage, JpegFile(MakeArgbPicture(9, 16, false), false, true, 80), false});
  samples.push_back({"jpeg grey", LoadJpegImage, JpegFile(MakeArgbPicture(8, 8, false), true, false, 80), false});
  return samples;
}

// What a successful decode must satisfy; every pixel is read and converted.
void CheckDecodedImage(GraphImage* img) {
  ASSERT_NE(img->pixels, nullptr);
  ASSERT_GE(img->width, 1);
  ASSERT_GE(img->height, 1);
  ASSERT_GE(img->format.bytesPerPixel, 1);
  ASSERT_LE(img->format.bytesPerPixel, 4);
  ASSERT_GE(img->pitch, img->width * img->format.bytesPerPixel);
  std::uint32_t sum = 0;
  for (int y = 0; y < img->height; ++y) {
    for (int x = 0; x < img->width; ++x) sum += GetGraphImagePixel(img, x, y);
  }
  std::vector<std::uint32_t> out(static_cast<std::size_t>(img->width) * img->height);
  PixelFormat xrgb{};
  BuildPixelFormatBody(&xrgb, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
  const RECT rect{0, 0, img->width, img->height};
  EXPECT_EQ(ConvertPixelFormatBlt(out.data(), img->width * 4, &xrgb, img->pixels, img->pitch, &img->format, nullptr, 0,
                                  nullptr, 0, 0, &rect, 1, 0, 0, DITHER_ORDERED, 0, 0, 0),
            0);
  (void)sum;
  FreeGraphImage(img);
}

void CheckTruncations(const std::vector<Sample>& samples) {
  for (const Sample& s : samples) {
    SCOPED_TRACE(s.name);
    GraphImage img{};
    ASSERT_EQ(DecodeWith(s.loader, s.file, &img), 0);
    CheckDecodedImage(&img);
    for (std::size_t size = 0; size < s.file.size(); ++size) {
      const Bytes cut(s.file.begin(), s.file.begin() + size);
      const std::size_t blocksBefore = TrackedBlocksInUse();
      GraphImage part{};
      const int result = DecodeWith(s.loader, cut, &part);
      if (s.truncationsFail) {
        EXPECT_EQ(result, -1) << "cut to " << size << " bytes";
      }
      if (result == 0) {
        CheckDecodedImage(&part);
      } else {
        EXPECT_EQ(part.pixels, nullptr);
      }
      EXPECT_EQ(TrackedBlocksInUse(), blocksBefore) << "cut to " << size << " bytes";
    }
  }
}

void CheckCorruptions(const std::vector<Sample>& samples) {
  std::mt19937 random(1234);
  for (const Sample& s : samples) {
    SCOPED_TRACE(s.name);
    std::vector<Bytes> damaged;
    // Every header byte set to 0, to 0xFF and with its top bit flipped...
    for (std::size_t i = 0; i < std::min<std::size_t>(s.file.size(), 80); ++i) {
      for (int variant = 0; variant < 3; ++variant) {
        Bytes b = s.file;
        b[i] = variant == 0 ? 0x00 : variant == 1 ? 0xFF : static_cast<std::uint8_t>(b[i] ^ 0x80);
        damaged.push_back(b);
      }
    }
    // ...and random damage anywhere.
    for (int round = 0; round < 150; ++round) {
      Bytes b = s.file;
      const int changes = 1 + static_cast<int>(random() % 4);
      for (int k = 0; k < changes; ++k) b[random() % b.size()] = static_cast<std::uint8_t>(random());
      damaged.push_back(b);
    }
    for (const Bytes& b : damaged) {
      const std::size_t blocksBefore = TrackedBlocksInUse();
      GraphImage img{};
      if (DecodeAny(b, &img) == 0) {
        CheckDecodedImage(&img);
      } else {
        EXPECT_EQ(img.pixels, nullptr);
      }
      EXPECT_EQ(TrackedBlocksInUse(), blocksBefore);
    }
  }
}

}  // namespace

TEST(PictureDamage, BmpTruncations) { CheckTruncations(BmpSamples()); }
TEST(PictureDamage, BmpCorruptions) { CheckCorruptions(BmpSamples()); }
TEST(PictureDamage, OtherTruncations) { CheckTruncations(OtherSamples()); }
TEST(PictureDamage, OtherCorruptions) { CheckCorruptions(OtherSamples()); }

namespace {

// The kilobytes a line of /proc/self/status gives ("VmHWM:", "VmRSS:").
long StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
  }
  return -1;
}

// How far the resident size rises while `work` runs: memory freed before is handed back
// and the peak is reset to the present size first, so whatever ran in the process
// before (other tests' pictures) cannot hide the rise.
template <typename Work>
long PeakRiseKb(const Work& work) {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = StatusKb("VmRSS:");
  work();
  return StatusKb("VmHWM:") - before;
}

}  // namespace

// A few bytes may declare a chunk or a picture of a gigabyte; a loader that took the
// declared size whole would show it in the decode's own rise of the resident size.
TEST(PictureDamage, SeedPicturesDecodeWithinSmallMemory) {
  constexpr long kBudgetKb = 64 * 1024;
  const long seen = PeakRiseKb([] {
    std::vector<char> block(kBudgetKb * 1024 * 2, 1);
    volatile char last = block.back();
    (void)last;
  });
  ASSERT_GT(seen, kBudgetKb) << "a rise of the resident size is not seen";
  int decoded = 0;
  for (const char* format : {"bgra", "bmp", "dds", "jpeg", "png", "tga"}) {
    for (const auto& seed : std::filesystem::directory_iterator(std::filesystem::path(PICTURE_SEED_DIR) / format)) {
      std::ifstream in(seed.path(), std::ios::binary);
      const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      const long rise = PeakRiseKb([&] {
        GraphImage img{};
        if (DecodeAny(file, &img) == 0) {
          CheckDecodedImage(&img);
          ++decoded;
        }
      });
      EXPECT_LT(rise, kBudgetKb) << seed.path();
    }
  }
  EXPECT_GT(decoded, 10);
}
