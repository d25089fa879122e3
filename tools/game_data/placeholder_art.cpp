#include "placeholder_art.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <span>
#include <string>

#include "core/game_state.h"
#include "core/stage_layers.h"
#include "picture_words.h"
#include "pixel_font.h"
#include "text_drawing.h"
#include "word_boxes.h"

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

// A ring from radius `outer` in to `inner` around (cx, cy), clear inside.
void FillRing(const Cell& cell, double cx, double cy, double outer, double inner, Colour colour) {
  FillEllipse(cell, cx, cy, outer, outer, colour);
  FillEllipse(cell, cx, cy, inner, inner, kTransparentGreen);
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

// A rim `thickness` wide along the cell's edges.
void Frame(const Cell& cell, int thickness, Colour colour) {
  FillBox(cell, 0, 0, cell.w, thickness, colour);
  FillBox(cell, 0, cell.h - thickness, cell.w, thickness, colour);
  FillBox(cell, 0, 0, thickness, cell.h, colour);
  FillBox(cell, cell.w - thickness, 0, thickness, cell.h, colour);
}


void VerticalGradient(const Cell& c, Colour top, Colour bottom) {
  for (int y = 0; y < c.h; ++y) {
    const double t = static_cast<double>(y) / std::max(1, c.h - 1);
    auto mix = [t](int a, int b) { return static_cast<std::uint8_t>(a + (b - a) * t); };
    FillBox(c, 0, y, c.w, 1, {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b)});
  }
}

// ---- Sprites by their role in play ------------------------------------------------------

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
}

// Enemy bullets: bright warm discs with a light core, pink to red.
void DrawEnemyBullet(const Cell& c) {
  const double r = std::min(c.w, c.h) * 0.3;
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r, r, Hue(320 + c.index * 7 % 50, 0.85, 1.0));
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r * 0.5, r * 0.5, {255, 235, 245});
}

// Player shots: long cyan-blue bolts pointing right.
void DrawPlayerShot(const Cell& c) {
  const Colour colour = Hue(185 + c.index * 3 % 35, 0.75, 1.0);
  FillTriangle(c, c.w * 0.1, c.h * 0.4, c.w * 0.1, c.h * 0.6, c.w * 0.92, c.h * 0.5, colour);
  FillEllipse(c, c.w * 0.6, c.h / 2.0, c.w * 0.22, c.h * 0.07, {220, 250, 255});
}

// Options: violet rings around a light centre.
void DrawOption(const Cell& c) {
  const double r = std::min(c.w, c.h) * 0.34;
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r, r, {180, 100, 250});
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r * 0.7, r * 0.7, {60, 20, 100});
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r * 0.35, r * 0.35, {235, 210, 255});
}

// Coins and chips: gold.
void DrawCoin(const Cell& c) {
  const double r = std::min(c.w, c.h) * 0.36;
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r, r, {200, 150, 20});
  FillEllipse(c, c.w / 2.0, c.h / 2.0, r * 0.72, r * 0.72, {250, 210, 60});
  FillBox(c, c.w / 2 - 1, static_cast<int>(c.h / 2.0 - r * 0.45), 2, static_cast<int>(r * 0.9), {200, 150, 20});
}

// Pickups: green squares with a white cross.
void DrawPickup(const Cell& c) {
  const int side = std::min(c.w, c.h) * 2 / 3;
  const int x = (c.w - side) / 2, y = (c.h - side) / 2;
  FillBox(c, x, y, side, side, {40, 190, 80});
  FillBox(c, x + side / 2 - side / 8, y + side / 6, side / 4, side * 2 / 3, kWhite);
  FillBox(c, x + side / 6, y + side / 2 - side / 8, side * 2 / 3, side / 4, kWhite);
}

// A spark of a small sheet: thousands are drawn in a frame (the last stage's showers), so
// it is a small four-pointed glint, cheap to draw: its box is no wider than a shot's
// bolt is long.
void DrawGlint(const Cell& c) {
  const double cx = c.w / 2.0, cy = c.h / 2.0, arm = std::min(c.w, c.h) * 0.19, waist = arm * 0.3;
  const Colour colour = Hue(20 + c.index * 7 % 40, 0.8, 1.0);
  FillTriangle(c, cx - arm, cy, cx, cy - waist, cx, cy + waist, colour);
  FillTriangle(c, cx + arm, cy, cx, cy - waist, cx, cy + waist, colour);
  FillTriangle(c, cx, cy - arm, cx - waist, cy, cx + waist, cy, colour);
  FillTriangle(c, cx, cy + arm, cx - waist, cy, cx + waist, cy, colour);
  FillEllipse(c, cx, cy, waist, waist, {255, 250, 200});
}

constexpr int kLargestGlint = 32;  // cells of this size and smaller show their effects as glints

void DrawEffect(const Cell& c) {
  if (std::max(c.w, c.h) <= kLargestGlint) return DrawGlint(c);
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

// A light ring: decorations.
void DrawRing(const Cell& c, Colour colour) {
  const double r = std::min(c.w, c.h) * 0.46;
  FillRing(c, c.w / 2.0, c.h / 2.0, r, r - 3, colour);
}

// A flash on the dragon: a bright ring around it, clear inside, so the dragon and what is
// written beside it (the hit count over the stage-clear flash) stay in view; its cells
// swell one after another.
void DrawFlash(const Cell& c) {
  const double r = std::min(c.w, c.h) * (0.4 + 0.02 * (c.index % 4));
  FillRing(c, c.w / 2.0, c.h / 2.0, r, r * 0.9, {255, 240, 190});
}

// The player's own power spread over the dragon: a shockwave in the shots' cyan with a
// light rim, clear inside, so the dragon stays in view as it grows; its cells swell one
// after another.
void DrawPower(const Cell& c) {
  const double r = std::min(c.w, c.h) * (0.44 + 0.02 * (c.index % 2));
  FillRing(c, c.w / 2.0, c.h / 2.0, r, r * 0.86, Hue(190, 0.75, 1.0));
  FillRing(c, c.w / 2.0, c.h / 2.0, r * 0.84, r * 0.8, {220, 250, 255});
}

// What stays on the dragon is drawn in a band at the cell's rim, no further out than an
// effect's burst reaches: the middle stays clear over the dragon's body wherever the
// game draws the cell at its own size or larger.
constexpr double kAroundInner = 0.37, kAroundOuter = 0.45;

// A glow kept around the dragon (its turbo charge, its guard, an aura): soft rings in the
// shots' cyan, brightest at the inner edge; its cells swell one after another.
void DrawHalo(const Cell& c) {
  constexpr int kRings = 4;
  const double size = std::min(c.w, c.h), swell = 0.01 * (c.index % 2);
  for (int ring = 0; ring < kRings; ++ring) {  // outermost first: each clears only inside itself
    const double step = (kAroundOuter - kAroundInner) / kRings;
    const double outer = (kAroundOuter - step * ring - swell) * size;
    FillRing(c, c.w / 2.0, c.h / 2.0, outer, outer - step * size, Hue(185, 0.5 - 0.1 * ring, 0.55 + 0.15 * ring));
  }
}

// A hit on the dragon: a bright rim struck around it and white and yellow sparks thrown
// out from it to the cell's edge, clear inside.
void DrawHitSparks(const Cell& c) {
  constexpr int kSparks = 10;
  const double cx = c.w / 2.0, cy = c.h / 2.0, size = std::min(c.w, c.h);
  const double inner = kAroundInner * size, outer = 0.5 * size;
  for (int spark = 0; spark < kSparks; ++spark) {
    const double a = spark * 2.0 * kPi / kSparks + c.index * 0.25, spread = 0.2;
    const Colour colour = spark % 2 == 0 ? Colour{255, 250, 220} : Colour{255, 215, 60};
    FillTriangle(c, cx + std::cos(a) * outer, cy + std::sin(a) * outer, cx + std::cos(a + spread) * inner,
                 cy + std::sin(a + spread) * inner, cx + std::cos(a - spread) * inner,
                 cy + std::sin(a - spread) * inner, colour);
  }
  FillRing(c, cx, cy, inner + 0.04 * size, inner, {255, 240, 170});
}

// The cells the game's display draws itself, not from a template.
enum class Mark { kMarker, kLevelUp, kEdge };
struct MarkCell {
  const char* picture;
  int cell;
  Mark mark;
};
constexpr MarkCell kMarkCells[] = {
    {"Aimage003128.png", 30, Mark::kMarker}, {"Aimage00032.png", 88, Mark::kLevelUp},
    {"Aimage00032no2.png", 3, Mark::kEdge}};

const MarkCell* MarkOf(const PictureFile& picture, int cell) {
  for (const MarkCell& mark : kMarkCells) {
    if (mark.cell == cell && std::strcmp(mark.picture, picture.name) == 0) return &mark;
  }
  return nullptr;
}

// The marker of a chosen value or tab: a flat frame around the word at the cell's middle,
// no taller than one 25-pixel options row, so the rows above and below stay readable.
void DrawSelectionFrame(const Cell& c) {
  constexpr int kInset = 3, kTop = 50, kHeight = 25;
  Frame({c.canvas, c.x + kInset, c.y + kTop, c.w - 2 * kInset, kHeight, c.index}, 2, {250, 220, 90});
}

// The level-up markers stand 12 pixels apart with the coin count under their lower
// part: a narrow arrow in the top 20 rows.
void DrawLevelUpArrow(const Cell& c) {
  FillTriangle(c, c.w * 0.5, 2, c.w * 0.5 + 5, 19, c.w * 0.5 - 5, 19, {250, 210, 60});
}

void DrawMark(const Cell& c, Mark mark) {
  switch (mark) {
    case Mark::kMarker: DrawSelectionFrame(c); break;
    case Mark::kLevelUp: DrawLevelUpArrow(c); break;
    case Mark::kEdge: FillTriangle(c, c.w * 0.2, c.h * 0.2, c.w * 0.8, c.h * 0.5, c.w * 0.2, c.h * 0.8, {250, 90, 70}); break;
  }
}

// A small dim rock: scenery in the background's tones.
void DrawRock(const Cell& c, Colour rock) {
  FillEllipse(c, c.w * 0.5, c.h * 0.82, c.w * 0.24, c.h * 0.12, rock);
  FillTriangle(c, c.w * 0.32, c.h * 0.8, c.w * (0.45 + 0.04 * (c.index % 3)), c.h * 0.45, c.w * 0.68, c.h * 0.8, rock);
}

// Rain falls over the dragon and all of the play: a few thin slanting streaks, most of
// the cell clear.
void DrawRain(const Cell& c) {
  constexpr int kStreaks = 3;
  const Colour colour = Hue(205, 0.3, 0.6);
  for (int streak = 0; streak < kStreaks; ++streak) {
    const double x = c.w * (0.2 + 0.3 * streak + 0.05 * (c.index % 3)), y = c.h * (0.15 + 0.3 * streak);
    const double length = c.h * 0.16, slant = length * 0.3, half = 1.0;
    FillTriangle(c, x - half, y, x + half, y, x - slant + half, y + length, colour);
    FillTriangle(c, x - half, y, x - slant - half, y + length, x - slant + half, y + length, colour);
  }
}

void DrawSpriteByRole(const Cell& c, CellRole role) {
  switch (role) {
    case CellRole::kPlayerShot: DrawPlayerShot(c); break;
    case CellRole::kOption: DrawOption(c); break;
    case CellRole::kEnemyBullet: DrawEnemyBullet(c); break;
    case CellRole::kCoin: DrawCoin(c); break;
    case CellRole::kPickup: DrawPickup(c); break;
    case CellRole::kEnemy: DrawEnemy(c); break;
    case CellRole::kDecoration: DrawRing(c, {200, 200, 220}); break;
    case CellRole::kScenery: DrawRock(c, Hue(230 + c.index * 7 % 40, 0.25, 0.3)); break;
    case CellRole::kFlash: DrawFlash(c); break;
    case CellRole::kPower: DrawPower(c); break;
    case CellRole::kHalo: DrawHalo(c); break;
    case CellRole::kHit: DrawHitSparks(c); break;
    case CellRole::kRain: DrawRain(c); break;
    case CellRole::kEffect:
    case CellRole::kUnused: DrawEffect(c); break;
  }
}

// A sheet cell that nothing shows takes the role of its sheet's kind, but never an
// enemy bullet's: a row that a bullet shows is always met, a harmless one may not be.
CellRole DefaultRole(PictureArt art) {
  switch (art) {
    case PictureArt::kShot: return CellRole::kPlayerShot;
    case PictureArt::kCoin: return CellRole::kCoin;
    default: return CellRole::kEffect;
  }
}

// ---- Backdrops ----------------------------------------------------------------------------

enum class Backdrop { kFar, kNear, kOverlay, kScenery, kSparse, kBand, kShopGround };

bool IsEntry(std::span<const TablePicture> table, int index, const PictureFile& picture) {
  for (const TablePicture& entry : table) {
    if (entry.index == index && std::strcmp(entry.picture.name, picture.name) == 0) return true;
  }
  return false;
}

// How the game draws a background picture: the extra layer over every stage and the
// loadout's strip over its backdrop; in a stage, its grounds and the first entry are
// far skies, the optional entries are overlays, the rest are nearer layers; the ending
// shows each of its pictures alone.
Backdrop BackdropOf(const PictureFile& picture) {
  if (picture.count > 0) return picture.width == picture.height ? Backdrop::kScenery : Backdrop::kBand;
  if (IsEntry(kCommonPictures, kImageShopTile, picture)) return Backdrop::kShopGround;
  if (picture.width < 16) return Backdrop::kBand;
  if (IsEntry(kCommonPictures, kImageBackdropTile, picture)) return Backdrop::kSparse;
  if (IsEntry(kMenuPictures, kImageLoadoutStrip, picture)) return Backdrop::kNear;
  for (int stage = 1; stage <= 9; ++stage) {
    for (const TablePicture& entry : StageResources(stage).backgrounds) {
      if (std::strcmp(entry.picture.name, picture.name) != 0) continue;
      if (entry.index == 0 || stage == 9 || IsStageGround(stage, entry.index)) return Backdrop::kFar;
      return entry.optional ? Backdrop::kOverlay : Backdrop::kNear;
    }
  }
  return Backdrop::kFar;
}

// Hills whose outline repeats exactly over the picture's width, so tiles meet.
int HillHeight(int x, int width, int height, double share, int seed) {
  const double t = 2.0 * kPi * x / width;
  const double wave = 0.5 * std::sin(t * (1 + seed % 2) + seed) + 0.3 * std::sin(t * (3 + seed % 3) + 2 * seed) +
                      0.2 * std::sin(t * 7 + seed);
  return static_cast<int>(height * share * (1.0 + 0.35 * wave));
}

void DrawHills(const Cell& c, double share, Colour colour, int seed) {
  for (int x = 0; x < c.w; ++x) {
    const int hill = HillHeight(x, c.w, c.h, share, seed);
    FillBox(c, x, c.h - hill, 1, hill, colour);
  }
}

// A bank of cloud floating across the picture's lower middle: both its edges wave and
// repeat over the width, and it keeps clear of the picture's edges, so a nearer layer
// drawn high or low in the view never shows a cut.
void DrawCloudBank(const Cell& c, Colour colour, int seed) {
  const int middle = c.h * 62 / 100;
  for (int x = 0; x < c.w; ++x) {
    const int top = middle - HillHeight(x, c.w, c.h, 0.1, seed);
    const int bottom = middle + HillHeight(x, c.w, c.h, 0.06, seed + 7);
    FillBox(c, x, top, 1, bottom - top, colour);
  }
}

int Seed(const char* name) {
  unsigned seed = 0;
  for (const char* p = name; *p != '\0'; ++p) seed = seed * 31 + static_cast<unsigned char>(*p);
  return static_cast<int>(seed % 97);
}

// The shop's ground, side by side across the screen under its words, figures and
// emblems: every column alike, so tiles meet without a seam; soft bands across it,
// darkening downwards to the shop's places, darker than the emblems' rings and never
// black.
void DrawShopGround(const Cell& c) {
  constexpr double kTop = 0.15, kBottom = 0.08, kBand = 0.015;
  constexpr int kBandHeight = 64;
  for (int y = 0; y < c.h; ++y) {
    const double t = static_cast<double>(y) / std::max(1, c.h - 1);
    const double value = kTop + (kBottom - kTop) * t + kBand * std::sin(2.0 * kPi * y / kBandHeight);
    FillBox(c, 0, y, c.w, 1, Hue(235, 0.5, value));
  }
}

void DrawBackdrop(const Cell& c, const PictureFile& picture) {
  const int seed = Seed(picture.name) + c.index;
  const double hue = 200 + seed % 60;
  switch (BackdropOf(picture)) {
    case Backdrop::kFar:
      VerticalGradient(c, Hue(hue, 0.55, 0.35), Hue(hue + 20, 0.4, 0.6));
      DrawHills(c, 0.2, Hue(hue + 40, 0.3, 0.3), seed);
      break;
    case Backdrop::kNear: DrawCloudBank(c, Hue(200 + seed % 60, 0.2, 0.34), seed + 1); break;
    case Backdrop::kBand: VerticalGradient(c, Hue(hue, 0.5, 0.2), Hue(hue + 20, 0.4, 0.35)); break;
    case Backdrop::kShopGround: DrawShopGround(c); break;
    case Backdrop::kScenery: DrawRock(c, Hue(hue + 30, 0.25, 0.3)); break;
    case Backdrop::kOverlay:
    case Backdrop::kSparse:
      // Layers drawn over the stage: a few dim specks, so they never hide the play.
      for (int i = 0; i < 24; ++i) {
        const int x = (i * 397 + seed * 13) % c.w, y = (i * 211 + seed * 7) % c.h;
        FillEllipse({c.canvas, c.x + x, c.y + y, 24, 24, c.index}, 12, 12, 3, 3, Hue(hue, 0.2, 0.55));
      }
      break;
  }
}

// A cloud drawn as the outline of overlapping puffs, clear inside: clouds drift over the
// play, and a filled one laid over the dragon would hide it whenever it passes.
void DrawSky(const Cell& c) {
  struct Puff {
    double x, y, rx, ry;
  };
  constexpr Puff kPuffs[] = {{0.5, 0.58, 0.42, 0.2}, {0.35, 0.48, 0.18, 0.18}, {0.6, 0.42, 0.22, 0.22}};
  const double rim = c.w * 0.012;
  const Colour puff = Hue(220 + c.index * 15, 0.2, 0.55);
  for (const Puff& p : kPuffs) FillEllipse(c, c.w * p.x, c.h * p.y, c.w * p.rx, c.h * p.ry, puff);
  for (const Puff& p : kPuffs) {
    FillEllipse(c, c.w * p.x, c.h * p.y, c.w * p.rx - rim, c.h * p.ry - rim, kTransparentGreen);
  }
}

// ---- Pictures without words: panels and screens ------------------------------------------

constexpr Colour kPanelFill = {28, 36, 66};
constexpr Colour kPanelRim = {150, 165, 215};

void DrawPanel(const Cell& c) {
  FillBox(c, 0, 0, c.w, c.h, kPanelFill);
  Frame(c, std::max(1, std::min(c.w, c.h) / 16), kPanelRim);
}

// Three rings, 8 pixels wide, from `radius` inwards, of the given brightness.
void DrawRings(const Cell& c, double cx, double cy, double radius, double step, double value) {
  for (int ring = 0; ring < 3; ++ring) {
    const double r = radius - step * ring;
    FillRing(c, cx, cy, r, r - 8, Hue(220 + 20 * ring, 0.4, value));
  }
}

// The logo's emblem: the rings around the dragon, in the middle of the picture.
void DrawEmblem(const Cell& c) {
  const int cx = c.w / 2, cy = c.h / 2, radius = std::min(c.w, c.h) / 4;
  DrawRings(c, cx, cy, radius, radius / 4.0, 0.45);
  DrawDragon({c.canvas, c.x + cx - radius / 2, c.y + cy - radius / 2, radius, radius, 0});
}

// The light behind a caption, for a layer the game adds and moves: a long soft halo
// around the caption's box, brightest at its middle and fading smoothly outwards to
// nothing, with no edge or letter shape that could read as a second caption wherever
// the layer stands. A fraction of the caption's colour, so the caption's rim still shows
// where the halo is added over it.
void DrawHalo(const Cell& c, const PlacedWords& words) {
  constexpr double kPeak = 0.45;
  int left = c.w, right = 0, top = c.h, bottom = 0;
  const CaptionPlace at = PlaceCaption(words, c.w, 0, 0);
  VisitInk(at.x, at.y, words.text, at.size, words.align, [&](int x, int y, int) {
    left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
  });
  if (left > right) return;
  const double middleX = (left + right + 1) / 2.0, middleY = (top + bottom + 1) / 2.0;
  const double reachX = 0.55 * (right - left + 1), reachY = 1.3 * (bottom - top + 1);
  const auto channel = [](int value, double strength) {
    return static_cast<std::uint8_t>(std::lround(value * strength));
  };
  for (int y = 0; y < c.h; ++y) {
    for (int x = 0; x < c.w; ++x) {
      const double across = (x + 0.5 - middleX) / reachX, down = (y + 0.5 - middleY) / reachY;
      const double strength = kPeak * std::exp(-2.0 * (across * across + down * down));
      const Colour& ink = words.colour;
      const Colour light = {channel(ink.r, strength), channel(ink.g, strength), channel(ink.b, strength)};
      if (light.r + light.g + light.b > 0) c.canvas.Set(c.x + x, c.y + y, light);  // clear where it adds nothing
    }
  }
}

void DrawPlainPicture(const Cell& c, const PictureFile& picture) {
  if (picture.art == PictureArt::kScreen) {  // a clear layer over the title, or its glow
    if (const PlacedWords* glow = GlowOf(picture.name)) DrawHalo(c, *glow);
    return;
  }
  if (c.w < 16) {
    VerticalGradient(c, {40, 50, 90}, {15, 20, 40});
  } else if (c.w == c.h && c.w >= 300) {
    // The emblems turning behind text land anywhere. The results add theirs three times
    // over a strip: where two or three rings cross, white text keeps a contrast ratio of
    // 4.5. The shop's and the tally's is laid over the shop's ground or the stage.
    DrawRings(c, c.w / 2.0, c.h / 2.0, c.w * 0.46, c.w * 0.12, IsEntry(kResultsPictures, 0, picture) ? 0.1 : 0.2);
  } else {
    DrawPanel(c);
  }
}

// ---- Worded pictures -------------------------------------------------------------------

void DrawGround(const Cell& c, Ground ground) {
  switch (ground) {
    case Ground::kClear: break;
    case Ground::kEmblem: DrawEmblem(c); break;
    case Ground::kDark: VerticalGradient(c, {22, 26, 52}, {8, 10, 26}); break;
    case Ground::kPanel:
      FillBox(c, 0, 0, c.w, c.h, kPanelFill);
      Frame(c, 2, kPanelRim);
      break;
  }
}

void DrawWords(const Cell& c, const PlacedWords& words, int originX, int originY) {
  const CaptionPlace at = PlaceCaption(words, c.w, originX, originY);
  DrawText(c.canvas, c.x + at.x, c.y + at.y, words.text, at.size, words.colour, words.align);
}

// The loadout cursor is a pair of cells side by side; each draws its half of a bracket
// around the 128-pixel column between them, 30 rows from row `shape.y`.
void DrawBracket(const Cell& c, const PlacedWords& shape, bool left) {
  const int from = left ? shape.x : 0, to = left ? c.w : c.w - shape.x;
  const int top = shape.y, height = 30, thickness = shape.size;
  FillBox(c, from, top, to - from, thickness, shape.colour);
  FillBox(c, from, top + height - thickness, to - from, thickness, shape.colour);
  FillBox(c, left ? from : to - thickness, top, thickness, height, shape.colour);
}

void DrawCellWords(const Cell& c, const CellWords& cell) {
  switch (cell.shape) {
    case CellShape::kWords: DrawWords(c, cell.words, 0, 0); break;
    case CellShape::kFrame:
      Frame({c.canvas, c.x + cell.words.x, c.y, c.w - cell.words.x, c.h - cell.words.y, c.index}, cell.words.size,
            cell.words.colour);
      break;
    case CellShape::kBracketLeft: DrawBracket(c, cell.words, true); break;
    case CellShape::kBracketRight: DrawBracket(c, cell.words, false); break;
  }
}

void DrawWorded(Canvas& canvas, const PictureFile& picture, const PictureWords& words) {
  const int cells = std::max(1, picture.count);
  for (int index = 0; index < cells; ++index) {
    const int across = std::max(1, picture.across);
    const Cell cell{canvas, (index % across) * picture.width, (index / across) * picture.height, picture.width,
                    picture.height, index};
    DrawGround(cell, words.ground);
    for (const CellWords& entry : words.cells) {
      if (entry.cell == index) DrawCellWords(cell, entry);
    }
  }
  const Cell whole{canvas, 0, 0, canvas.width, canvas.height, 0};
  for (const GroundBox& box : words.boxes) {
    const Cell area{canvas, box.x - words.drawnX, box.y - words.drawnY, box.w, box.h, 0};
    switch (box.fill) {
      case BoxFill::kDark: FillBox(area, 0, 0, box.w, box.h, {14, 16, 34}); break;
      case BoxFill::kPanel: DrawGround(area, Ground::kPanel); break;
      case BoxFill::kWindow:
        Frame({canvas, area.x - 2, area.y - 2, box.w + 4, box.h + 4, 0}, 2, kPanelRim);
        FillBox(area, 0, 0, box.w, box.h, kTransparentGreen);
        break;
    }
  }
  for (const PlacedWords& entry : words.words) DrawWords(whole, entry, words.drawnX, words.drawnY);
}

void DrawCell(const PictureFile& picture, const Cell& cell, const CellRoleMap& roles) {
  switch (picture.art) {
    case PictureArt::kDragon: DrawDragon(cell); break;
    case PictureArt::kEnemy: DrawEnemy(cell); break;
    case PictureArt::kBoss: DrawBoss(cell); break;
    case PictureArt::kBullet:
    case PictureArt::kShot:
    case PictureArt::kCoin:
    case PictureArt::kEffect:
      if (const SheetCellWords* label = SheetCellWordsOf(picture.name, cell.index)) {
        DrawWords(cell, label->words, 0, 0);
      } else if (const MarkCell* mark = MarkOf(picture, cell.index)) {
        DrawMark(cell, mark->mark);
      } else {
        const CellRole role = RoleOf(roles, picture.name, cell.index);
        DrawSpriteByRole(cell, role == CellRole::kUnused ? DefaultRole(picture.art) : role);
      }
      break;
    case PictureArt::kBackdrop: DrawBackdrop(cell, picture); break;
    case PictureArt::kDigits: {
      const DigitPlace at = PlaceDigit(cell.w, cell.h);
      DrawLabel(cell.canvas, cell.x + at.x, cell.y + at.y, std::to_string(cell.index % 10), at.scale);
      break;
    }
    case PictureArt::kText:
    case PictureArt::kPanel:
    case PictureArt::kScreen: DrawPlainPicture(cell, picture); break;
    case PictureArt::kSky: DrawSky(cell); break;
    case PictureArt::kBossAndSky: cell.index == 0 ? DrawBoss(cell) : DrawSky(cell); break;
  }
}

// Sheets of bullets and shots keep cell 0 empty: the animation row 0 of invisible
// records (wave spawners, spare options) shows it.
bool FirstCellBlank(const PictureFile& picture) {
  return picture.count > 0 && (picture.art == PictureArt::kBullet || picture.art == PictureArt::kShot);
}

}  // namespace

Canvas DrawPlaceholder(const PictureFile& picture, const CellRoleMap& roles) {
  const int across = picture.count > 0 ? picture.across : 1;
  const int down = picture.count > 0 ? picture.down : 1;
  Canvas canvas(picture.width * across, picture.height * down, kTransparentGreen);
  if (const PictureWords* words = WordsOf(picture.name)) {
    DrawWorded(canvas, picture, *words);
    return canvas;
  }
  const int count = std::max(1, picture.count);
  for (int index = FirstCellBlank(picture) ? 1 : 0; index < count; ++index) {
    const int x = (index % across) * picture.width;
    const int y = (index / across) * picture.height;
    DrawCell(picture, {canvas, x, y, picture.width, picture.height, index}, roles);
  }
  return canvas;
}

bool IsSelectionMark(const PictureFile& picture, int cell) {
  const MarkCell* mark = MarkOf(picture, cell);
  return mark != nullptr && mark->mark == Mark::kMarker;
}

bool IsEdgeMark(const PictureFile& picture, int cell) {
  const MarkCell* mark = MarkOf(picture, cell);
  return mark != nullptr && mark->mark == Mark::kEdge;
}

bool IsStillMark(const PictureFile& picture, int cell) {
  const MarkCell* mark = MarkOf(picture, cell);
  return (mark != nullptr && mark->mark != Mark::kEdge) || SheetCellWordsOf(picture.name, cell) != nullptr;
}
