// SaveScreenToBmp: byte-exact 24-bit bottom-up files from 32-bit, RGB565 and RGB555
// screens, DirectDraw and in-memory, and its failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "graphics_fixture.h"

namespace {

// Pixel (x, y) of the test pattern as 0xRRGGBB.
std::uint32_t Pattern(int x, int y) {
  return (static_cast<std::uint32_t>(40 * x + 7) << 16) | (static_cast<std::uint32_t>(255 - 30 * y) << 8) |
         static_cast<std::uint32_t>((x * 53 + y * 29) & 0xFF);
}

void DrawPattern(int width, int height) {
  SetDrawTarget(kDrawTargetBackScreen);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = Pattern(x, y);
      DrawRect(x, y, x + 1, y + 1, MakeScreenColor(c >> 16, (c >> 8) & 0xFF, c & 0xFF), 1);
    }
  }
}

// The file expected for the rectangle (left, top, width, height) of the pattern, each
// channel cut to its screen width and moved to the top of its byte.
std::string ExpectedBmp(int left, int top, int width, int height, int redBits, int greenBits, int blueBits) {
  const int rowBytes = (3 * width + 3) & ~3;
  std::string file(54 + static_cast<std::size_t>(rowBytes) * height, '\0');
  const auto put = [&file](std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, static_cast<std::uint32_t>(file.size()), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  const auto cut = [](std::uint32_t v, int bits) { return static_cast<char>((v >> (8 - bits)) << (8 - bits)); };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = Pattern(left + x, top + y);
      const std::size_t at = 54 + static_cast<std::size_t>(height - 1 - y) * rowBytes + 3 * static_cast<std::size_t>(x);
      file[at] = cut(c & 0xFF, blueBits);
      file[at + 1] = cut((c >> 8) & 0xFF, greenBits);
      file[at + 2] = cut(c >> 16, redBits);
    }
  }
  return file;
}

struct BmpCase {
  const char* name;
  int bits;
  int windowed;
  int path;  // demo_scene::DrawPath
  bool rgb555;
  int redBits, greenBits, blueBits;
};

class ScreenToBmp : public GraphicsTest, public ::testing::WithParamInterface<BmpCase> {};

}  // namespace

TEST_P(ScreenToBmp, FilesAreByteExact) {
  const BmpCase& c = GetParam();
  if (c.windowed && c.bits == 16) DDrawTestFakeDesktop(1024, 768, 16);
  DDrawTestUseRgb555(c.rgb555);
  Start(c.bits, c.windowed, c.path);
  DrawPattern(7, 5);
  // Width 3: rows of 9 pixel bytes and 3 zero bytes.
  ASSERT_EQ(SaveScreenToBmp(2, 1, 5, 5, "part.bmp"), 0);
  EXPECT_EQ(scratch_.Read("part.bmp"), ExpectedBmp(2, 1, 3, 4, c.redBits, c.greenBits, c.blueBits));
  ASSERT_EQ(SaveScreenToBmp(0, 0, 7, 5, "whole.bmp"), 0);
  EXPECT_EQ(scratch_.Read("whole.bmp"), ExpectedBmp(0, 0, 7, 5, c.redBits, c.greenBits, c.blueBits));
  // A rectangle reaching out of the clip keeps only the clipped part.
  SetClipRect(0, 0, 4, 3);
  ASSERT_EQ(SaveScreenToBmp(2, 1, 50, 50, "clipped.bmp"), 0);
  EXPECT_EQ(scratch_.Read("clipped.bmp"), ExpectedBmp(2, 1, 2, 2, c.redBits, c.greenBits, c.blueBits));
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ScreenToBmp,
    ::testing::Values(BmpCase{"Window32", 32, 1, 0, false, 8, 8, 8}, BmpCase{"Software32", 32, 1, 1, false, 8, 8, 8},
                      BmpCase{"FullScreen565", 16, 0, 0, false, 5, 6, 5},
                      BmpCase{"Software565", 16, 0, 1, false, 5, 6, 5},
                      BmpCase{"Window565", 16, 1, 0, false, 5, 6, 5},
                      BmpCase{"Window555", 16, 1, 0, true, 5, 5, 5}),
    [](const ::testing::TestParamInfo<BmpCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicsTest, ScreenshotOfAWhole32BitScreenHasTheRightSize) {
  Start(32, 0, 0);
  SetDrawTarget(kDrawTargetBackScreen);
  ASSERT_EQ(SaveScreenToBmp(0, 0, 640, 480, "shot.bmp"), 0);
  EXPECT_EQ(std::filesystem::file_size(scratch_.path() / "shot.bmp"), 54u + 1920u * 480u);
}

TEST_F(GraphicsTest, RGB565WhiteIsStoredWithoutLowBitReplication) {
  Start(16, 0, 0);
  SetDrawTarget(kDrawTargetBackScreen);
  DrawRect(0, 0, 1, 1, MakeScreenColor(255, 255, 255), 1);
  ASSERT_EQ(SaveScreenToBmp(0, 0, 1, 1, "white.bmp"), 0);
  const std::string file = scratch_.Read("white.bmp");
  ASSERT_EQ(file.size(), 58u);
  EXPECT_EQ(static_cast<unsigned char>(file[54]), 248);
  EXPECT_EQ(static_cast<unsigned char>(file[55]), 252);
  EXPECT_EQ(static_cast<unsigned char>(file[56]), 248);
}

TEST_F(GraphicsTest, SavingReportsWhatItCouldNotDo) {
  Start();
  SetDrawTarget(kDrawTargetBackScreen);
  WriteFile("old.bmp", "old contents");
  EXPECT_EQ(SaveScreenToBmp(10, 10, 10, 40, "old.bmp"), -1);  // empty: nothing touched
  EXPECT_EQ(scratch_.Read("old.bmp"), "old contents");
  ASSERT_EQ(SaveScreenToBmp(0, 0, 2, 2, "old.bmp"), 0);  // replaced
  EXPECT_EQ(scratch_.Read("old.bmp").size(), 54u + 16u);
  EXPECT_EQ(SaveScreenToBmp(0, 0, 2, 2, "no_such_folder\\x.bmp"), -1);
  EXPECT_TRUE(LogHas("ＢＭＰセーブ用ファイルのオープンに失敗しました"));
  // A backslash path lands in the folder it names, found whatever its letter case; a file
  // there of the name in another case is the user's own and stays as it is.
  WriteFile("Data/damage.bmp", "the user's");
  ASSERT_EQ(SaveScreenToBmp(0, 0, 2, 2, "data\\Damage.bmp"), 0);
  EXPECT_EQ(scratch_.Read("Data/Damage.bmp").size(), 54u + 16u);
  EXPECT_EQ(scratch_.Read("Data/damage.bmp"), "the user's");
}

TEST_F(GraphicsTest, AScreenshotLoadsBackAsTheSamePicture) {
  Start();
  DrawPattern(7, 5);
  ASSERT_EQ(SaveScreenToBmp(0, 0, 7, 5, "grab.bmp"), 0);
  const int grab = LoadGraphFile("grab.bmp");
  ASSERT_GE(grab, 0);
  DrawGraphAt(100, 100, grab, 0);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) EXPECT_EQ(TargetPixel(100 + x, 100 + y) & 0xFFFFFF, Pattern(x, y));
  }
}
