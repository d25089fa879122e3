// An RGBA picture in memory and the few shapes the placeholder art is drawn with.
#pragma once

#include <cstdint>
#include <vector>

struct Colour {
  std::uint8_t r, g, b, a = 255;
};

// The game's transparent colour: pure green.
constexpr Colour kTransparentGreen = {0, 255, 0};
// The dark rim that keeps words and digits readable over any ground: black, so that a
// word drawn faintly still reads as well as any could so drawn.
constexpr Colour kOutlineColour = {0, 0, 0};

struct Canvas {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;

  Canvas(int w, int h, Colour fill) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

  void Set(int x, int y, Colour c) {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<std::size_t>(y) * width + x] = c;
  }
  void FillRect(int x, int y, int w, int h, Colour c) {
    for (int row = y < 0 ? 0 : y; row < y + h && row < height; ++row) {
      for (int col = x < 0 ? 0 : x; col < x + w && col < width; ++col) pixels[static_cast<std::size_t>(row) * width + col] = c;
    }
  }
};
