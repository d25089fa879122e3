// A started graphics core in a scratch folder: the demo scene's start (files, log,
// COM, screen mode, window, DirectDraw or software drawing), with helpers to read
// the log and pixels of the draw target.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "../../tools/graphics_demo_scene.h"
#include "../support/scratch_directory.h"
#include "core/library_lock.h"
#include "core/main_window.h"
#include "core/tracked_alloc.h"
#include "graphics/d3d_device.h"
#include "graphics/graph_records.h"
#include "graphics/graph_system.h"
#include "graphics/graphics_fatal.h"
#include "graphics/screen_mode.h"
#include "testing.h"

class GraphicsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (started_) demo_scene::EndGraphics();
    SetGraphicsFatalHookForTest(nullptr);
    DDrawTestResetHooks();
  }

  // path: demo_scene::DrawPath (0 surfaces without the device, 1 software, 2 hardware).
  void Start(int bits = 32, int windowed = 1, int path = demo_scene::kSurfacePath) {
    ASSERT_EQ(demo_scene::StartGraphics(bits, windowed, path), 0) << Log();
    started_ = true;
    SetTransparentColor(0, 255, 0);
  }

  std::string Log() const { return scratch_.Read("Log.txt"); }
  bool LogHas(const std::string& text) const { return Log().find(text) != std::string::npos; }

  // The raw pixel at (x, y) of the current draw target, once the device's pending
  // drawing has reached it.
  std::uint32_t TargetPixel(int x, int y) const {
    EndDeviceScene();
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

  // Rebuilds the graphics objects as the window does on regaining the screen: under the
  // library lock, which the message pump's timers take too.
  int RecreateObjectsAsTheWindowDoes() const {
    AcquireLibraryLock();
    const int result = RecreateGraphicsObjects();
    ReleaseLibraryLock();
    return result;
  }

  // Writes the demo's tile sheet (or any bytes) into the scratch folder.
  void WriteFile(const std::string& name, const std::string& bytes) const { scratch_.Write(name, bytes); }

  ScratchDirectory scratch_;
  bool started_ = false;
};

using demo_scene::MakeBmp;

// The path cases of a golden-picture test: screen depth, window or full screen, and
// the drawing path.
struct GoldenCase {
  const char* name;
  int bits;
  int windowed;
  int path;  // demo_scene::DrawPath
};

inline std::string GoldenCaseName(const ::testing::TestParamInfo<GoldenCase>& info) {
  return std::string(info.param.name);
}

// The bytes of golden/<name>.bmp; empty when it is missing.
inline std::string ReadGoldenPicture(const std::string& name) {
  std::ifstream in(std::string(GRAPHICS_GOLDEN_DIR) + "/" + name + ".bmp", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
