// The graphics core's demo scene, shared by tools/graphics_demo.cpp and its golden
// image test: a generated tile sheet loaded with LoadDivGraphFile, tiles drawn plain,
// mirrored, rotated, stretched and in blend modes 0 to 4, boxes and lines on the back
// screen, saved as a BMP and presented.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "game_library.h"
#include "graphics/draw_entry_points.h"
#include "graphics/draw_state.h"
#include "graphics/graph_system.h"
#include "graphics/screen_mode.h"

namespace demo_scene {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kTile = 32;
constexpr int kTilesAcross = 4;
constexpr int kTilesDown = 2;
constexpr int kTileCount = kTilesAcross * kTilesDown;
constexpr char kSheetName[] = "demo_tiles.bmp";

// The colour of pixel (x, y) of tile k as 0xRRGGBB; pure green is the transparent colour.
inline std::uint32_t TilePixel(int k, int x, int y) {
  static const std::uint32_t kColours[kTileCount] = {0xE03030, 0x3060F0, 0xF0C020, 0xC040D0,
                                                    0x20C0C0, 0xF08030, 0xF0F0F0, 0x8080FF};
  const std::uint32_t colour = kColours[k];
  const std::uint32_t edge = (colour >> 1) & 0x7F7F7F;
  bool inside = false;
  bool border = false;
  switch (k % 4) {
    case 0: {  // an arrow pointing right
      const bool body = x >= 3 && x < 19 && y >= 11 && y < 21;
      const bool head = x >= 19 && x < 30 && std::abs(y - 16) <= 29 - x;
      inside = body || head;
      border = inside && (x == 3 || y == 11 || y == 20 || std::abs(y - 16) == 29 - x);
      break;
    }
    case 1: {  // an L with a dot above its foot
      inside = (x >= 4 && x < 12 && y >= 3 && y < 29) || (x >= 4 && x < 28 && y >= 21 && y < 29) ||
               (x >= 22 && x < 27 && y >= 6 && y < 11);
      border = inside && (x == 4 || y == 28);
      break;
    }
    case 2: {  // a ring, open on its upper right
      const int dx = x - 15;
      const int dy = y - 15;
      const int d2 = dx * dx + dy * dy;
      inside = d2 <= 196 && d2 >= 64 && !(dx > 2 && dy < -2);
      border = inside && (d2 >= 169 || d2 <= 81);
      break;
    }
    default: {  // a diamond with a bar through its left half
      inside = std::abs(x - 16) + std::abs(y - 16) <= 13 || (x >= 1 && x < 16 && y >= 14 && y < 18);
      border = inside && std::abs(x - 16) + std::abs(y - 16) == 13;
      break;
    }
  }
  if (!inside) return 0x00FF00;
  if (border) return edge;
  // A little shading from left to right so that stretching and rotation show.
  const std::uint32_t shade = static_cast<std::uint32_t>(x * 2);
  const auto channel = [shade](std::uint32_t c) { return c > shade ? c - shade : 0u; };
  return (channel((colour >> 16) & 0xFF) << 16) | (channel((colour >> 8) & 0xFF) << 8) | channel(colour & 0xFF);
}

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

// A 24-bit bottom-up BMP of the tile sheet.
inline std::string TileSheetBmp() {
  return MakeBmp(kTile * kTilesAcross, kTile * kTilesDown, [](int x, int y) {
    return TilePixel((y / kTile) * kTilesAcross + x / kTile, x % kTile, y % kTile);
  });
}

inline bool WriteTileSheet(const char* path) {
  const std::string bytes = TileSheetBmp();
  std::FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written;
}

// How the library draws: graphs as 2-D DirectDraw surfaces drawn by the software
// renderer (the "no 3-D graphs" switch, set once the library runs), into in-memory images (software drawing, also the
// fall-back when DirectDraw fails), or through the Direct3D device (the default).
enum DrawPath { kSurfacePath = 0, kSoftwarePath = 1, kHardwarePath = 2 };

// Starts the library in the given screen mode and drawing path, without waiting for
// vertical blanks. 0 / -1.
inline int StartGraphics(int bits, int windowed, int path) {
  ChangeWindowMode(windowed);
  SetScreenMode(kScreenWidth, kScreenHeight, bits, 60);
  // Set for every path: the flag outlives the library, and a failed DirectDraw start
  // clears it for good.
  SetHardwareRenderFlag(path == kSoftwarePath ? 0 : 1);
  if (InitLibrary() != 0) return -1;
  if (path == kSurfacePath) SetUse3DGraphs(0);
  SetSyncToVBlank(0);
  return 0;
}

inline void EndGraphics() { EndLibrary(); }

// Loads the tile sheet written by WriteTileSheet. 0 / -1.
// Pure green is the transparent colour of graphs made from now on.
inline int LoadTiles(int tiles[kTileCount]) {
  SetTransparentColor(0, 255, 0);
  return LoadDivGraphFile(kSheetName, kTileCount, kTilesAcross, kTilesDown, kTile, kTile, tiles);
}

// Draws the scene on the back screen (not yet presented: after a page flip the back
// buffer holds an older frame).
inline int DrawScene(int tiles[kTileCount]) {
  SetDrawTarget(kDrawTargetBackScreen);
  SetBlendMode(0, 0);
  ClearDrawTarget();

  // Background: colour bands and a grid.
  for (int band = 0; band < 8; ++band) {
    const int level = 40 + band * 24;
    DrawRect(band * 80, 0, band * 80 + 80, kScreenHeight, MakeScreenColor(level / 2, level / 3, level), 1);
  }
  for (int x = 0; x <= kScreenWidth; x += 40) DrawLineSegment(x, 0, x, kScreenHeight, MakeScreenColor(70, 70, 90));
  for (int y = 0; y <= kScreenHeight; y += 40) DrawLineSegment(0, y, kScreenWidth, y, MakeScreenColor(70, 70, 90));

  // Plain and mirrored.
  for (int k = 0; k < kTileCount; ++k) {
    DrawGraphAt(24 + k * 72, 16, tiles[k], 1);
    DrawGraphMirrored(24 + k * 72, 64, tiles[k], 1);
  }
  // Rotated, scaled, and the last one mirrored as well.
  for (int k = 0; k < kTileCount; ++k) {
    const double angle = k * 3.14159265358979 / 8.0;
    DrawGraphRotated(40 + k * 72, 148, 1.0 + 0.25 * (k % 3), angle, tiles[k], 1, k == kTileCount - 1);
  }
  // Stretched, flipped and squeezed.
  DrawGraphStretched(24, 192, 24 + 96, 192 + 48, tiles[0], 1);
  DrawGraphStretched(144 + 96, 192, 144, 192 + 48, tiles[1], 1);
  DrawGraphStretched(264, 192 + 48, 264 + 64, 192, tiles[2], 1);
  DrawGraphStretched(360, 200, 360 + 120, 200 + 24, tiles[3], 1);
  DrawGraphStretched(504, 192, 504 + 20, 192 + 60, tiles[4], 1);
  DrawGraphStretched(552, 192, 552 + 64, 192 + 64, tiles[5], 0);

  // Blend modes 0 to 4 over a grey and a coloured box.
  for (int mode = 0; mode <= 4; ++mode) {
    const int x = 16 + mode * 124;
    DrawRect(x, 272, x + 112, 336, MakeScreenColor(128, 128, 128), 1);
    DrawRect(x + 56, 272, x + 112, 336, MakeScreenColor(40, 160, 80), 1);
    SetBlendMode(mode, mode == 4 ? 255 : 160);
    DrawGraphAt(x + 8, 276, tiles[mode], 1);
    DrawGraphStretched(x + 44, 280, x + 108, 332, tiles[mode + 1], 1);
    DrawRect(x + 8, 312, x + 40, 332, MakeScreenColor(200, 60, 60), 1);
    SetBlendMode(0, 0);
  }

  // Boxes and lines.
  for (int i = 0; i < 6; ++i) {
    DrawRect(16 + i * 24, 352 + i * 8, 160 - i * 8 + i * 24, 464 - i * 4, MakeScreenColor(255, 40 * i, 255 - 40 * i), 0);
  }
  SetBlendMode(1, 128);
  DrawRect(200, 356, 330, 460, MakeScreenColor(255, 255, 0), 1);
  SetBlendMode(2, 200);
  DrawRect(260, 380, 390, 470, MakeScreenColor(0, 120, 255), 1);
  SetBlendMode(0, 0);
  for (int i = 0; i < 16; ++i) {
    const double angle = i * 3.14159265358979 / 8.0;
    const int x2 = 520 + static_cast<int>(std::lround(100.0 * std::cos(angle)));
    const int y2 = 410 + static_cast<int>(std::lround(60.0 * std::sin(angle)));
    DrawLineSegment(520, 410, x2, y2, MakeScreenColor(255, 255 - i * 12, i * 12));
  }
  return 0;
}

}  // namespace demo_scene
