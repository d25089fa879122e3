// A started graphics core in a scratch folder: the demo scene's start (files, log,
// COM, screen mode, window, DirectDraw or software drawing), with helpers to read
// the log and pixels of the draw target.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "../../tools/graphics_demo_scene.h"
#include "../support/scratch_directory.h"
#include "core/main_window.h"
#include "core/tracked_alloc.h"
#include "graphics/graph_records.h"
#include "graphics/graphics_fatal.h"
#include "graphics/screen_mode.h"
#include "testing.h"

class GraphicsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (started_) demo_scene::EndGraphics();
    SetGraphicsFatalHookForTest(nullptr);
  }

  void Start(int bits = 32, int windowed = 1, int software = 0) {
    ASSERT_EQ(demo_scene::StartGraphics(bits, windowed, software), 0) << Log();
    started_ = true;
    SetTransparentColor(0, 255, 0);
  }

  std::string Log() const { return scratch_.Read("Log.txt"); }
  bool LogHas(const std::string& text) const { return Log().find(text) != std::string::npos; }

  // The raw pixel at (x, y) of the current draw target.
  std::uint32_t TargetPixel(int x, int y) const {
    const ScreenSurfacesRecord& screens = ScreenSurfaces;
    if (screens.targetMemImg != nullptr && screens.targetMemImg->pixels != nullptr) {
      const MEMIMG& image = *screens.targetMemImg;
      std::uint32_t value = 0;
      std::memcpy(&value,
                  static_cast<const std::uint8_t*>(image.pixels) + static_cast<std::ptrdiff_t>(y) * image.pitch +
                      static_cast<std::ptrdiff_t>(x) * image.format->bytesPerPixel,
                  image.format->bytesPerPixel);
      return value;
    }
    IDirectDrawSurface7* surface = screens.targetSurface;
    RECT one{x, y, x + 1, y + 1};
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    EXPECT_EQ(surface->Lock(&one, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    std::uint32_t value = 0;
    std::memcpy(&value, description.lpSurface, description.ddpfPixelFormat.dwRGBBitCount / 8);
    surface->Unlock(&one);
    return value;
  }

  // Writes the demo's tile sheet (or any bytes) into the scratch folder.
  void WriteFile(const std::string& name, const std::string& bytes) const { scratch_.Write(name, bytes); }

  ScratchDirectory scratch_;
  bool started_ = false;
};

// A 24-bit bottom-up BMP whose pixel (x, y) is colour(x, y) as 0xRRGGBB.
template <typename Colour>
std::string MakeBmp(int width, int height, Colour colour) {
  const int rowBytes = (3 * width + 3) & ~3;
  std::string file(54 + static_cast<std::size_t>(rowBytes) * height, '\0');
  const auto put32 = [&file](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t rgb = colour(x, y);
      const std::size_t at = 54 + static_cast<std::size_t>(height - 1 - y) * rowBytes + 3 * static_cast<std::size_t>(x);
      file[at] = static_cast<char>(rgb);
      file[at + 1] = static_cast<char>(rgb >> 8);
      file[at + 2] = static_cast<char>(rgb >> 16);
    }
  }
  return file;
}
