#include "placeholder_art.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "pixel_font.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Colour kWhite = {250, 250, 250};
constexpr Colour kInk = {20, 20, 40};

// One cell (or the whole single picture) to draw into.
struct Cell {
  Canvas& canvas;
  int x, y, w, h;
  int index;
};

// A colour of the given hue (degrees); never the transparent green.
Colour Hue(double degrees, double saturation = 0.7, double value = 0.95) {
  const double h = std::fmod(degrees, 360.0) / 60.0;
  const double c = value * saturation;
  const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
  const double m = value - c;
  double r = 0, g = 0, b = 0;
  if (h < 1) { r = c; g = x; } else if (h < 2) { r = x; g = c; } else if (h < 3) { g = c; b = x; }
  else if (h < 4) { g = x; b = c; } else if (h < 5) { r = x; b = c; } else { r = c; b = x; }
  auto channel = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255.0)); };
  return {channel(r + m), channel(g + m), channel(b + m)};
}

void FillEllipse(const Cell& cell, double cx, double cy, double rx, double ry, Colour colour) {
  if (rx <= 0 || ry <= 0) return;
  for (int py = 0; py < cell.h; ++py) {
    const double dy = (py + 0.5 - cy) / ry;
    if (dy * dy > 1.0) continue;
    const double half = rx * std::sqrt(1.0 - dy * dy);
    const int from = std::max(0, static_cast<int>(std::ceil(cx - half - 0.5)));
    const int to = std::min(cell.w - 1, static_cast<int>(std::floor(cx + half - 0.5)));
    for (int px = from; px <= to; ++px) cell.canvas.Set(cell.x + px, cell.y + py, colour);
  }
}

void FillTriangle(const Cell& cell, double x0, double y0, double x1, double y1, double x2, double y2, Colour colour) {
  const int minX = std::max(0, static_cast<int>(std::floor(std::min({x0, x1, x2}))));
  const int maxX = std::min(cell.w - 1, static_cast<int>(std::ceil(std::max({x0, x1, x2}))));
  const int minY = std::max(0, static_cast<int>(std::floor(std::min({y0, y1, y2}))));
  const int maxY = std::min(cell.h - 1, static_cast<int>(std::ceil(std::max({y0, y1, y2}))));
  auto edge = [](double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
  };
  for (int py = minY; py <= maxY; ++py) {
    for (int px = minX; px <= maxX; ++px) {
      const double sx = px + 0.5, sy = py + 0.5;
      const double e0 = edge(x0, y0, x1, y1, sx, sy);
      const double e1 = edge(x1, y1, x2, y2, sx, sy);
      const double e2 = edge(x2, y2, x0, y0, sx, sy);
      if ((e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0)) {
        cell.canvas.Set(cell.x + px, cell.y + py, colour);
      }
    }
  }
}

void FillBox(const Cell& cell, int x, int y, int w, int h, Colour colour) {
  const int from = std::max(0, x), to = std::min(cell.w, x + w);
  const int top = std::max(0, y), bottom = std::min(cell.h, y + h);
  if (from < to && top < bottom) cell.canvas.FillRect(cell.x + from, cell.y + top, to - from, bottom - top, colour);
}

void Frame(const Cell& cell, int thickness, Colour colour) {
  FillBox(cell, 0, 0, cell.w, thickness, colour);
  FillBox(cell, 0, cell.h - thickness, cell.w, thickness, colour);
  FillBox(cell, 0, 0, thickness, cell.h, colour);
  FillBox(cell, cell.w - thickness, 0, thickness, cell.h, colour);
}

// A label centred in the cell, as large as fits.
void CentredLabel(const Cell& cell, const std::string& text, Colour colour, int maxScale = 8) {
  int scale = maxScale;
  while (scale > 1 && (LabelWidth(text, scale) > cell.w - 4 || kGlyphHeight * scale > cell.h - 2)) --scale;
  const int x = cell.x + std::max(0, (cell.w - LabelWidth(text, scale)) / 2);
  const int y = cell.y + std::max(0, (cell.h - kGlyphHeight * scale) / 2);
  DrawLabel(cell.canvas, x, y, text, scale, colour);
}

void CellNumber(const Cell& cell) {
  if (cell.w < 24 || cell.h < 24) return;
  DrawLabel(cell.canvas, cell.x + 2, cell.y + 2, std::to_string(cell.index), 1, kWhite);
}

// The dragon faces right; its wings flap through eight positions.
void DrawDragon(const Cell& c) {
  const double w = c.w, h = c.h;
  const Colour body = Hue(170 + (c.index % 10) * 4, 0.6, 0.8);
  const Colour wing = Hue(190 + (c.index % 10) * 4, 0.5, 0.95);
  const double flap = std::sin(c.index * kPi / 4.0);
  FillTriangle(c, w * 0.35, h * 0.5, w * 0.55, h * 0.5, w * 0.3, h * (0.15 - 0.1 * flap), wing);
  FillTriangle(c, w * 0.1, h * 0.55, w * 0.3, h * 0.5, w * 0.3, h * 0.6, body);
  FillEllipse(c, w * 0.45, h * 0.55, w * 0.25, h * 0.14, body);
  FillEllipse(c, w * 0.75, h * 0.45, w * 0.12, h * 0.1, body);
  FillEllipse(c, w * 0.79, h * 0.42, w * 0.03, h * 0.03, kInk);
}

void DrawEnemy(const Cell& c) {
  const double w = c.w, h = c.h;
  const Colour shell = Hue(c.index * 23 % 60, 0.75, 0.85);
  FillTriangle(c, w * 0.5, h * 0.08, w * 0.92, h * 0.5, w * 0.08, h * 0.5, shell);
  FillTriangle(c, w * 0.5, h * 0.92, w * 0.92, h * 0.5, w * 0.08, h * 0.5, shell);
  FillEllipse(c, w * 0.5, h * 0.5, w * 0.16, h * 0.16, kWhite);
  FillEllipse(c, w * 0.45, h * 0.5, w * 0.07, h * 0.07, kInk);
}

void DrawBoss(const Cell& c) {
  const double w = c.w, h = c.h;
  FillEllipse(c, w * 0.5, h * 0.5, w * 0.46, h * 0.4, Hue(280 + c.index * 11, 0.6, 0.6));
  FillEllipse(c, w * 0.35, h * 0.42, w * 0.08, h * 0.08, Hue(0, 0.8, 0.95));
  FillEllipse(c, w * 0.65, h * 0.42, w * 0.08, h * 0.08, Hue(0, 0.8, 0.95));
  CentredLabel({c.canvas, c.x, c.y + c.h / 2, c.w, c.h / 3, c.index}, "BOSS", kWhite, 16);
}

void DrawBullet(const Cell& c) {
  const double r = std::min(c.w, c.h) * 0.32;
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r, r, Hue(c.index * 37));
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r * 0.45, r * 0.45, kWhite);
}

void DrawShot(const Cell& c) {
  const Colour colour = Hue(180 + c.index * 13 % 80);
  FillEllipse(c, c.w / 2.0, c.h / 2.0, c.w * 0.42, c.h * 0.14, colour);
  FillEllipse(c, c.w * 0.6, c.h / 2.0, c.w * 0.2, c.h * 0.06, kWhite);
}

void DrawCoin(const Cell& c) {
  const double r = std::min(c.w, c.h) * 0.4;
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r, r, {200, 150, 20});
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r * 0.75, r * 0.75, {250, 210, 60});
}

// The bullet sheets hold the coins and chips in their second, fifth and sixth rows.
bool IsCoinCell(int index) {
  const int row = index / 10;
  return row == 1 || row == 4 || row == 5;
}

void DrawEffect(const Cell& c) {
  const double cx = c.w / 2.0, cy = c.h / 2.0;
  const double r = std::min(c.w, c.h) * 0.45;
  const Colour colour = Hue(20 + c.index * 7 % 40, 0.8, 1.0);
  for (int spike = 0; spike < 8; ++spike) {
    const double a = spike * kPi / 4.0 + c.index * 0.1;
    FillTriangle(c, cx + std::cos(a) * r, cy + std::sin(a) * r, cx + std::cos(a + 0.35) * r * 0.35,
                 cy + std::sin(a + 0.35) * r * 0.35, cx + std::cos(a - 0.35) * r * 0.35,
                 cy + std::sin(a - 0.35) * r * 0.35, colour);
  }
  FillEllipse(c, cx, cy, r * 0.35, r * 0.35, {255, 250, 200});
}

// Sky, hills and the picture's name: opaque, so it is never see-through.
void DrawBackdrop(const Cell& c, const std::string& name) {
  const Colour top = Hue(210 + c.index * 20, 0.5, 0.55);
  const Colour bottom = Hue(230 + c.index * 20, 0.4, 0.85);
  for (int y = 0; y < c.h; ++y) {
    const double t = static_cast<double>(y) / std::max(1, c.h - 1);
    const Colour row = {static_cast<std::uint8_t>(top.r + (bottom.r - top.r) * t),
                        static_cast<std::uint8_t>(top.g + (bottom.g - top.g) * t),
                        static_cast<std::uint8_t>(top.b + (bottom.b - top.b) * t)};
    FillBox(c, 0, y, c.w, 1, row);
  }
  const Colour hill = Hue(120 + c.index * 30, 0.35, 0.45);
  for (int x = 0; x < c.w; ++x) {
    const double height = c.h * (0.18 + 0.08 * std::sin(x * 0.006) + 0.04 * std::sin(x * 0.023));
    FillBox(c, x, c.h - static_cast<int>(height), 1, static_cast<int>(height), hill);
  }
  for (int x = 0; x < c.w; x += 1000) {
    DrawLabel(c.canvas, c.x + x + 16, c.y + 16, name, 3, kWhite);
  }
}

// A cloud of overlapping puffs on a clear ground.
void DrawSky(const Cell& c) {
  const double w = c.w, h = c.h;
  const Colour puff = Hue(200 + c.index * 15, 0.15, 0.98);
  FillEllipse(c, w * 0.5, h * 0.58, w * 0.42, h * 0.2, puff);
  FillEllipse(c, w * 0.35, h * 0.48, w * 0.18, h * 0.18, puff);
  FillEllipse(c, w * 0.6, h * 0.42, w * 0.22, h * 0.22, puff);
}

void DrawPanel(const Cell& c, const std::string& text) {
  FillBox(c, 0, 0, c.w, c.h, {30, 40, 70});
  Frame(c, std::max(1, std::min(c.w, c.h) / 16), {170, 180, 220});
  CentredLabel(c, text, kWhite, 4);
}

void DrawScreen(const Cell& c, const std::string& text) {
  DrawBackdrop(c, "");
  CentredLabel(c, text, kWhite, 12);
}

std::string Stem(const char* name) {
  std::string stem = name;
  return stem.substr(0, stem.rfind('.'));
}

// Full-screen pictures that say what they are rather than their file name.
std::string ScreenLabel(const std::string& stem) {
  if (stem.rfind("loading", 0) == 0) return "NOW LOADING";
  if (stem == "title01-01") return "VANTOREL";
  if (stem.rfind("gameover", 0) == 0) return "GAME OVER";
  return stem;
}

void DrawCell(const PictureFile& picture, const Cell& cell, bool table) {
  const std::string label = table ? Stem(picture.name) + " " + std::to_string(cell.index) : Stem(picture.name);
  switch (picture.art) {
    case PictureArt::kDragon: DrawDragon(cell); break;
    case PictureArt::kEnemy: DrawEnemy(cell); break;
    case PictureArt::kBoss: DrawBoss(cell); break;
    case PictureArt::kBullet: IsCoinCell(cell.index) ? DrawCoin(cell) : DrawBullet(cell); break;
    case PictureArt::kShot: DrawShot(cell); break;
    case PictureArt::kCoin: DrawCoin(cell); break;
    case PictureArt::kEffect: DrawEffect(cell); break;
    case PictureArt::kBackdrop: DrawBackdrop(cell, label); return;
    case PictureArt::kDigits: CentredLabel(cell, std::to_string(cell.index % 10), kWhite); return;
    case PictureArt::kText: DrawPanel(cell, label); return;
    case PictureArt::kPanel: DrawPanel(cell, label); return;
    case PictureArt::kScreen: DrawScreen(cell, ScreenLabel(label)); return;
    case PictureArt::kSky: DrawSky(cell); break;
    case PictureArt::kBossAndSky: cell.index == 0 ? DrawBoss(cell) : DrawSky(cell); break;
  }
  CellNumber(cell);
}

// Sheets of bullets and shots keep cell 0 empty: the animation row 0 of invisible
// records (wave spawners, spare options) shows it.
bool FirstCellBlank(const PictureFile& picture) {
  return picture.count > 0 && (picture.art == PictureArt::kBullet || picture.art == PictureArt::kShot);
}

}  // namespace

Canvas DrawPlaceholder(const PictureFile& picture) {
  if (picture.count == 0) {
    Canvas canvas(picture.width, picture.height, kTransparentGreen);
    DrawCell(picture, {canvas, 0, 0, picture.width, picture.height, 0}, false);
    return canvas;
  }
  Canvas canvas(picture.width * picture.across, picture.height * picture.down, kTransparentGreen);
  for (int index = FirstCellBlank(picture) ? 1 : 0; index < picture.count; ++index) {
    const int x = (index % picture.across) * picture.width;
    const int y = (index / picture.across) * picture.height;
    DrawCell(picture, {canvas, x, y, picture.width, picture.height, index}, true);
  }
  return canvas;
}
