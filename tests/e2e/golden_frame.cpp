#include "golden_frame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "png_file.h"

void ExpectGoldenFrame(const std::string& framePath, const std::string& goldenName) {
  ASSERT_FALSE(framePath.empty()) << "no frame saved for " << goldenName;
  const std::filesystem::path golden = std::filesystem::path(GOLDEN_FRAME_DIR) / (goldenName + ".png");
  const char* update = std::getenv("VANTOREL_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::filesystem::copy_file(framePath, golden, std::filesystem::copy_options::overwrite_existing);
    return;
  }
  Canvas expected(0, 0, Colour{});
  Canvas actual(0, 0, Colour{});
  ASSERT_TRUE(ReadPngFile(golden.string(), expected)) << "no golden picture " << golden;
  ASSERT_TRUE(ReadPngFile(framePath, actual)) << framePath;
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  int differing = 0;
  int firstX = -1;
  int firstY = -1;
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      const Colour& a = actual.pixels[static_cast<std::size_t>(y) * actual.width + x];
      const Colour& e = expected.pixels[static_cast<std::size_t>(y) * expected.width + x];
      if (a.r == e.r && a.g == e.g && a.b == e.b) continue;
      if (differing++ == 0) firstX = x, firstY = y;
    }
  }
  EXPECT_EQ(differing, 0) << framePath << " differs from " << golden << " first at (" << firstX << ", " << firstY
                          << ")";
}
