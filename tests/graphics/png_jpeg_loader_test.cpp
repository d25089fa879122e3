#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <jpeglib.h>

#include "picture_fixtures.h"

namespace {

std::uint32_t Grey(int v) { return static_cast<std::uint32_t>(v) * 0x010101u; }

// A smooth picture: JPEG keeps it within a few levels.
ArgbPicture SmoothPicture(int width, int height) {
  ArgbPicture pic;
  pic.width = width;
  pic.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pic.argb.push_back(0xFF000000u | (static_cast<std::uint32_t>(40 + x * 6) << 16) |
                         (static_cast<std::uint32_t>(200 - y * 5) << 8) | 120u);
    }
  }
  return pic;
}

}  // namespace

TEST(PngLoader, GreyOneBitBecomesGreyPalette) {
  PngLayout layout;
  layout.colourType = PNG_COLOR_TYPE_GRAY;
  layout.bitDepth = 1;
  const Bytes file = PngFile(11, 3, layout, [](int x, int y) { return std::vector<int>{(x + y) & 1}; });
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadPngImage, file, &img), 0);
  EXPECT_EQ(img.format.bytesPerPixel, 1);
  EXPECT_EQ(img.pitch, 11);
  EXPECT_EQ(ComparePixels(img, [](int x, int y) { return Grey(((x + y) & 1) * 255); }), "");
  FreeGraphImage(&img);
}

TEST(PngLoader, GreyEightBitAndGreyWithAlpha) {
  PngLayout grey;
  grey.colourType = PNG_COLOR_TYPE_GRAY;
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadPngImage, PngFile(5, 4, grey, [](int x, int y) { return std::vector<int>{x * 40 + y}; }), &img), 0);
  EXPECT_EQ(img.format.bytesPerPixel, 1);
  EXPECT_EQ(ComparePixels(img, [](int x, int y) { return Grey(x * 40 + y); }), "");
  FreeGraphImage(&img);

  // Grey with alpha: 16 bits, grey in the low byte, the alpha byte unused.
  PngLayout greyAlpha;
  greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
  ASSERT_EQ(DecodeWith(LoadPngImage, PngFile(5, 4, greyAlpha, [](int x, int y) { return std::vector<int>{x * 50, y * 60}; }), &img), 0);
  EXPECT_EQ(img.format.bitsPerPixel, 16);
  EXPECT_EQ(img.format.noUseMask, 0xFF00u);
  EXPECT_EQ(img.format.maskA, 0u);
  EXPECT_EQ(ComparePixels(img, [](int x, int) { return Grey(x * 50); }), "");
  FreeGraphImage(&img);
}

TEST(PngLoader, PaletteWithoutAndWithTransparency) {
  PngLayout layout;
  layout.colourType = PNG_COLOR_TYPE_PALETTE;
  layout.bitDepth = 4;
  for (int i = 0; i < 12; ++i) layout.palette.push_back(static_cast<std::uint32_t>(i * 0x151109 + 0x030507));
  auto index = [](int x, int y) { return (x * 5 + y) % 12; };
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadPngImage, PngFile(9, 3, layout, [&](int x, int y) { return std::vector<int>{index(x, y)}; }), &img), 0);
  EXPECT_EQ(img.format.bytesPerPixel, 1);
  EXPECT_EQ(img.format.palette[11], layout.palette[11]);
  EXPECT_EQ(img.format.palette[12], 0u);  // entries beyond the file's count
  EXPECT_EQ(ComparePixels(img, [&](int x, int y) { return layout.palette[index(x, y)]; }), "");
  FreeGraphImage(&img);

  // With tRNS: expanded to 32 bits with alpha.
  for (int i = 0; i < 12; ++i) layout.paletteAlpha.push_back(static_cast<std::uint8_t>(i * 20));
  ASSERT_EQ(DecodeWith(LoadPngImage, PngFile(9, 3, layout, [&](int x, int y) { return std::vector<int>{index(x, y)}; }), &img), 0);
  EXPECT_EQ(img.format.bitsPerPixel, 32);
  EXPECT_EQ(img.format.maskA, 0xFF000000u);
  EXPECT_EQ(ComparePixels(img, [&](int x, int y) {
              const int i = index(x, y);
              return layout.palette[i] | static_cast<std::uint32_t>(i * 20) << 24;
            }),
            "");
  FreeGraphImage(&img);
}

TEST(PngLoader, TrueColourSixteenBitInterlacedAndAlpha) {
  const ArgbPicture pic = MakeArgbPicture(10, 7, true);
  auto rgb = [&](int x, int y, int scale) {
    const std::uint32_t c = pic.At(x, y);
    return std::vector<int>{static_cast<int>((c >> 16) & 0xFF) * scale, static_cast<int>((c >> 8) & 0xFF) * scale,
                            static_cast<int>(c & 0xFF) * scale, static_cast<int>(c >> 24) * scale};
  };
  struct Case {
    int colourType;
    int depth;
    bool interlaced;
  };
  for (const Case k : {Case{PNG_COLOR_TYPE_RGB, 16, false}, Case{PNG_COLOR_TYPE_RGB, 8, true},
                       Case{PNG_COLOR_TYPE_RGBA, 8, false}, Case{PNG_COLOR_TYPE_RGBA, 16, true}}) {
    SCOPED_TRACE(testing::Message() << "type " << k.colourType << " depth " << k.depth << " interlaced " << k.interlaced);
    PngLayout layout;
    layout.colourType = k.colourType;
    layout.bitDepth = k.depth;
    layout.interlaced = k.interlaced;
    const int scale = k.depth == 16 ? 257 : 1;
    GraphImage img{};
    ASSERT_EQ(DecodeWith(LoadPngImage, PngFile(10, 7, layout, [&](int x, int y) { return rgb(x, y, scale); }), &img), 0);
    const bool alpha = k.colourType == PNG_COLOR_TYPE_RGBA;
    EXPECT_EQ(img.pitch, alpha ? 40 : 30);
    EXPECT_EQ(ComparePixels(img, [&](int x, int y) { return alpha ? pic.At(x, y) : pic.At(x, y) & 0xFFFFFF; }), "");
    FreeGraphImage(&img);
  }
}

TEST(PngLoader, FoundThroughTheDispatch) {
  PngLayout layout;
  layout.colourType = PNG_COLOR_TYPE_RGB;
  GraphImage img{};
  ASSERT_EQ(DecodeAny(PngFile(3, 3, layout, [](int x, int y) { return std::vector<int>{x, y, 7}; }), &img), 0);
  EXPECT_EQ(GetGraphImagePixel(&img, 2, 1), 0x020107u);
  FreeGraphImage(&img);
  EXPECT_EQ(DecodeAny(Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, &img), -1);
  EXPECT_EQ(DecodeAny(Bytes{}, &img), -1);
}

TEST(JpegLoader, BaselineProgressiveAndGrey) {
  const ArgbPicture pic = SmoothPicture(5, 9);
  for (bool progressive : {false, true}) {
    GraphImage img{};
    ASSERT_EQ(DecodeWith(LoadJpegImage, JpegFile(pic, false, progressive, 100), &img), 0);
    EXPECT_EQ(img.pitch, 15);  // rows back to back
    EXPECT_EQ(img.format.bitsPerPixel, 24);
    EXPECT_EQ(ComparePixels(img, [&](int x, int y) { return pic.At(x, y) & 0xFFFFFF; }, 6), "");
    FreeGraphImage(&img);
  }
  GraphImage grey{};
  ASSERT_EQ(DecodeAny(JpegFile(pic, true, false, 100), &grey), 0);
  EXPECT_EQ(grey.format.bytesPerPixel, 1);
  EXPECT_EQ(ComparePixels(grey, [&](int x, int y) { return Grey((pic.At(x, y) >> 8) & 0xFF); }, 3), "");
  FreeGraphImage(&grey);
}

TEST(JpegLoader, TruncatedFileDecodesEmptyOrGarbageFails) {
  const ArgbPicture pic = SmoothPicture(64, 64);
  const Bytes file = JpegFile(pic, false, false, 90);
  GraphImage img{};
  // Cut inside the scan data: decoded as far as it goes.
  ASSERT_EQ(DecodeWith(LoadJpegImage, Bytes(file.begin(), file.begin() + file.size() * 2 / 3), &img), 0);
  EXPECT_EQ(img.width, 64);
  FreeGraphImage(&img);
  EXPECT_EQ(DecodeWith(LoadJpegImage, Bytes{}, &img), -1);
  EXPECT_EQ(DecodeWith(LoadJpegImage, Bytes(file.begin(), file.begin() + 40), &img), -1);
  EXPECT_EQ(img.pixels, nullptr);
}

// The memory stream, counting the loader's refills (each asks where the stream is).
int jpegRefills = 0;
std::int64_t CountedTell(StreamHandle handle) {
  ++jpegRefills;
  return GetMemoryStreamOps()->tell(handle);
}

TEST(JpegLoader, SegmentRunningPastTheDataEndsTheDecodeAtOnce) {
  const Bytes file = JpegFile(SmoothPicture(8, 8), false, false, 90);
  // A comment segment claiming far more bytes than follow, before the picture's own
  // segments and after the last scan.
  const Bytes longComment = {0xFF, 0xFE, 0xFF, 0xF0, 'c', 'u', 't'};
  Bytes header = {file[0], file[1]};
  header.insert(header.end(), longComment.begin(), longComment.end());
  Bytes trailer(file.begin(), file.end() - 2);  // without the end marker
  trailer.insert(trailer.end(), longComment.begin(), longComment.end());
  StreamOps counted = *GetMemoryStreamOps();
  counted.tell = CountedTell;
  const Bytes* cuts[] = {&header, &trailer};
  for (const Bytes* cutFile : cuts) {
    const Bytes& cut = *cutFile;
    MemoryStream* memory = MemoryStreamOpen(cut.data(), cut.size());
    DataStream stream{&counted, reinterpret_cast<StreamHandle>(memory)};
    jpegRefills = 0;
    GraphImage img{};
    const int result = LoadJpegImage(&stream, &img);
    MemoryStreamClose(stream.handle);
    // Cut in the header: no picture. After the scan: the whole picture.
    EXPECT_EQ(result, cutFile == &header ? -1 : 0);
    if (result == 0) {
      EXPECT_EQ(img.width, 8);
      FreeGraphImage(&img);
    }
    EXPECT_LT(jpegRefills, 20) << "the missing bytes were walked";
  }
}

TEST(JpegLoader, RefusesFourComponents) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = 4;
  cinfo.image_height = 4;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::uint8_t row[16] = {};
  for (int y = 0; y < 4; ++y) {
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  const Bytes file(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  GraphImage img{};
  EXPECT_EQ(DecodeWith(LoadJpegImage, file, &img), -1);
}
