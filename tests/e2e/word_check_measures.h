// What the words check measures on the screen: boxes of pixels, masks grown around
// glyphs, and colours as a reader compares them (WCAG 2 relative luminance and contrast).
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

#include "canvas.h"
#include "core/display.h"

struct Box {
  int x = 0, y = 0, w = 0, h = 0;

  bool Empty() const { return w <= 0 || h <= 0; }
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
  Box OnScreen() const {
    const int left = std::max(x, 0), top = std::max(y, 0);
    return {left, top, std::min(Right(), kScreenWidth) - left, std::min(Bottom(), kScreenHeight) - top};
  }
  bool Holds(int px, int py) const { return px >= x && py >= y && px < Right() && py < Bottom(); }
  bool Holds(const Box& inner) const {
    return inner.x >= x && inner.y >= y && inner.Right() <= Right() && inner.Bottom() <= Bottom();
  }
  Box Grown(int by) const { return {x - by, y - by, w + 2 * by, h + 2 * by}; }
  // The place of the pixel (px, py) in a grid of the box's size, row by row.
  std::size_t Index(int px, int py) const { return static_cast<std::size_t>(py - y) * w + px - x; }
  void Add(const Box& other) {
    if (other.Empty()) return;
    Add(other.x, other.y);
    Add(other.Right() - 1, other.Bottom() - 1);
  }
  void Add(int px, int py) {
    if (Empty()) {
      *this = {px, py, 1, 1};
      return;
    }
    const int right = std::max(Right(), px + 1), bottom = std::max(Bottom(), py + 1);
    x = std::min(x, px), y = std::min(y, py), w = right - x, h = bottom - y;
  }
};

// A screen pixel by its place in a row-by-row grid of the screen, and back.
inline std::size_t At(int x, int y) { return static_cast<std::size_t>(y) * kScreenWidth + x; }
inline int ColumnOf(std::size_t p) { return static_cast<int>(p % kScreenWidth); }
inline int RowOf(std::size_t p) { return static_cast<int>(p / kScreenWidth); }

inline std::ostream& operator<<(std::ostream& out, const Box& box) {
  return out << '(' << box.x << ',' << box.y << ' ' << box.w << 'x' << box.h << ')';
}

inline bool Overlap(const Box& a, const Box& b) {
  return !a.Empty() && !b.Empty() && a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

// The space between two boxes (0 when they touch or overlap).
inline double Gap(const Box& a, const Box& b) {
  const int dx = std::max({0, a.x - b.Right(), b.x - a.Right()});
  const int dy = std::max({0, a.y - b.Bottom(), b.y - a.Bottom()});
  return std::hypot(dx, dy);
}

// Whether two boxes share a row: their heights overlap by at least half the lower one.
inline bool SameRow(const Box& a, const Box& b) {
  const int shared = std::min(a.Bottom(), b.Bottom()) - std::max(a.y, b.y);
  return 2 * shared >= std::min(a.h, b.h);
}

inline double Luminance(const Colour& c) {
  static const std::array<double, 256> linear = [] {
    std::array<double, 256> table{};
    for (int value = 0; value < 256; ++value) {
      const double s = value / 255.0;
      table[value] = s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    }
    return table;
  }();
  return 0.2126 * linear[c.r] + 0.7152 * linear[c.g] + 0.0722 * linear[c.b];
}

inline double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

inline int Change(const Colour& a, const Colour& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

inline bool Same(const Colour& a, const Colour& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Each channel moved by `by` levels, within 0 to 255.
inline Colour Nudged(const Colour& c, int by) {
  const auto moved = [by](std::uint8_t v) { return static_cast<std::uint8_t>(std::clamp(v + by, 0, 255)); };
  return {moved(c.r), moved(c.g), moved(c.b)};
}

// The mask grown by `reach` pixels along its rows (or columns): a sliding count.
inline std::vector<char> Dilated(const std::vector<char>& mask, int width, int height, int reach, bool alongRows) {
  std::vector<char> grown(mask.size());
  const int lines = alongRows ? height : width, length = alongRows ? width : height;
  for (int line = 0; line < lines; ++line) {
    const auto at = [&](int i) { return static_cast<std::size_t>(alongRows ? line * width + i : i * width + line); };
    int count = 0;
    for (int i = 0; i < length + reach; ++i) {
      if (i < length) count += mask[at(i)];
      if (i > 2 * reach) count -= mask[at(i - 2 * reach - 1)];
      if (i >= reach) grown[at(i - reach)] = count > 0;
    }
  }
  return grown;
}

// The mask grown by `reach` pixels in every direction (a square around each pixel).
inline std::vector<char> Grown(const std::vector<char>& mask, int width, int height, int reach) {
  return Dilated(Dilated(mask, width, height, reach, true), width, height, reach, false);
}

// Visits each pixel (x, y) of `near`, the mask's box on the screen, that lies within
// `reach` of the mask's pixels but outside them: the ring around the mask.
template <typename Visit>
void VisitRing(const std::vector<char>& mask, const Box& near, int reach, Visit visit) {
  const std::vector<char> around = Grown(mask, near.w, near.h, reach);
  for (int y = near.y; y < near.Bottom(); ++y) {
    for (int x = near.x; x < near.Right(); ++x) {
      if (around[near.Index(x, y)] && !mask[near.Index(x, y)]) visit(x, y);
    }
  }
}

// How a draw of part strength, or an added one, would put a colour over a pixel.
struct Blend {
  bool added = false;
  double strength = 1.0;

  Colour Over(const Colour& ground, int ink) const {
    const auto mixed = [&](std::uint8_t g) {
      const double value = added ? g + ink * strength : ink * strength + g * (1.0 - strength);
      return static_cast<std::uint8_t>(std::lround(std::min(255.0, value)));
    };
    return {mixed(ground.r), mixed(ground.g), mixed(ground.b)};
  }
};
