#include "save_frame.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>

#include <unistd.h>

#include "call_recorder.h"
#include "canvas.h"
#include "game_library.h"
#include "png_file.h"

namespace {

std::uint32_t Read32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The 24-bit bottom-up file of SaveScreenToBmp as a canvas; false for anything else.
bool ReadScreenBmp(const std::string& bytes, Canvas& canvas) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
  const std::size_t pixels = Read32(bytes, 10);
  const auto width = static_cast<int>(Read32(bytes, 18));
  const auto height = static_cast<int>(Read32(bytes, 22));
  const int bits = static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29]) << 8;
  const std::size_t rowBytes = (3 * static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
  if (bits != 24 || width != canvas.width || height != canvas.height ||
      pixels + rowBytes * static_cast<std::size_t>(height) > bytes.size()) {
    return false;
  }
  for (int y = 0; y < height; ++y) {
    const std::size_t row = pixels + rowBytes * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::size_t at = row + 3 * static_cast<std::size_t>(x);
      canvas.Set(x, y, Colour{static_cast<std::uint8_t>(bytes[at + 2]), static_cast<std::uint8_t>(bytes[at + 1]),
                              static_cast<std::uint8_t>(bytes[at])});
    }
  }
  return true;
}

// The clip rectangle the game last set (none: the whole screen). The library saves only
// what lies inside it, so a read of the screen sets its own and then puts this back.
std::optional<std::array<int, 4>> gameClip;

}  // namespace

extern "C" int __real__Z11SetClipRectiiii(int x1, int y1, int x2, int y2);
extern "C" int __wrap__Z11SetClipRectiiii(int x1, int y1, int x2, int y2) {
  gameClip = {x1, y1, x2, y2};
  return __real__Z11SetClipRectiiii(x1, y1, x2, y2);
}

std::filesystem::path TestFrameFolder() {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test == nullptr ? "outside-tests" : std::string(test->test_suite_name()) + "." + test->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const std::filesystem::path folder = std::filesystem::path(GAME_TEST_FRAME_DIR) / name;
  static std::filesystem::path emptied;
  if (emptied != folder) {
    std::filesystem::remove_all(folder);
    emptied = folder;
  }
  std::filesystem::create_directories(folder);
  return folder;
}

namespace {

std::string pendingName;
std::string savedPath;

}  // namespace

bool ReadBackScreen(int x, int y, Canvas& area) {
  static const std::string bmp =
      (std::filesystem::temp_directory_path() / ("vantorel-screen-" + std::to_string(getpid()) + ".bmp")).string();
  __real__Z11SetClipRectiiii(x, y, x + area.width, y + area.height);
  const int saved = SaveScreenToBmp(x, y, x + area.width, y + area.height, bmp.c_str());
  std::array<int, 4> clip = gameClip.value_or(std::array<int, 4>{});
  if (!gameClip) GetScreenModeSize(&clip[2], &clip[3]);
  __real__Z11SetClipRectiiii(clip[0], clip[1], clip[2], clip[3]);
  if (saved != 0) return false;
  // One read of the whole file into a buffer kept from call to call: word checks read
  // the screen back for every checked draw.
  static std::string bytes;
  bytes.resize(std::filesystem::file_size(bmp));
  std::ifstream(bmp, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::filesystem::remove(bmp);
  return ReadScreenBmp(bytes, area);
}

namespace {

Canvas lastSaved(0, 0, Colour{0, 0, 0});

}  // namespace

const Canvas& LastSavedFrame() { return lastSaved; }

std::string SaveFrame(const std::string& name) {
  const std::string png = (TestFrameFolder() / (name + ".png")).string();
  int width = 0;
  int height = 0;
  GetScreenModeSize(&width, &height);
  Canvas& canvas = lastSaved = Canvas(width, height, Colour{0, 0, 0});
  if (!ReadBackScreen(0, 0, canvas)) {
    ADD_FAILURE() << "the screen could not be read for " << png;
    return "";
  }
  if (!WritePngFile(png, canvas)) {
    ADD_FAILURE() << "the frame could not be written to " << png;
    return "";
  }
  return png;
}

void SaveNextFrame(const std::string& name) {
  pendingName = name;
  savedPath.clear();
}

const std::string& SavedFramePath() { return savedPath; }

extern "C" int __real__Z13PresentScreenv();
extern "C" int __wrap__Z13PresentScreenv() {
  const bool forwards = RecordWrappedCall(Call::PresentScreen);
  if (!pendingName.empty()) {
    savedPath = SaveFrame(pendingName);
    pendingName.clear();
  }
  return forwards ? __real__Z13PresentScreenv() : 0;
}
