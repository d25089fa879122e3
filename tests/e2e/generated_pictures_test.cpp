// The generated pictures say what they are: no picture shows a file name (one with
// its digits, as labels of names read) or a bare number, the caption
// cells of the menu sheets each carry words of their own, cursors and the HUD panel
// and pages leave the game's own text over them visible, and stage backgrounds tile
// without seams over opaque grounds; what templates place on the dragon is a flash, and
// every row an object shows is drawn as that object: nothing harmless as an enemy bullet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "canvas.h"
#include "cell_roles.h"
#include "core/new_game.h"
#include "core/object_pool.h"
#include "core/resource_table.h"
#include "core/stage_layers.h"
#include "game_library.h"
#include "objects/object_factory.h"
#include "placeholder_art.h"
#include "png_file.h"
#include "text_drawing.h"

namespace {

const std::filesystem::path kPictures = std::filesystem::path(E2E_DATA_DIR) / "data" / "image011";

std::vector<std::string> g_texts;

void NoteText(std::string_view text) { g_texts.emplace_back(text); }

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

bool IsClear(const Colour& c) { return c.r == 0 && c.g == 255 && c.b == 0; }
bool AllClear(const std::vector<Colour>& pixels) { return std::all_of(pixels.begin(), pixels.end(), IsClear); }

struct Box { int x, y, w, h; };  // a rectangle within a cell

// A generated picture as the game loads it, with its table row.
struct Generated {
  PictureFile picture{};
  Canvas canvas{0, 0, kTransparentGreen};

  explicit Generated(const std::string& name) {
    for (const PictureFile& row : AllPictureFiles()) picture = name == row.name ? row : picture;
    EXPECT_TRUE(ReadPngFile((kPictures / name).string(), canvas)) << name;
  }
  // The pixels of a box within a cell, row by row.
  std::vector<Colour> Area(int cell, const Box& box) const {
    const int across = std::max(1, picture.across);
    const int x = box.x + cell % across * picture.width, y = box.y + cell / across * picture.height;
    std::vector<Colour> pixels;
    for (int row = y; row < y + box.h && row < canvas.height; ++row) {
      for (int column = x; column < x + box.w && column < canvas.width; ++column) {
        pixels.push_back(canvas.pixels[static_cast<std::size_t>(row) * canvas.width + column]);
      }
    }
    return pixels;
  }
  std::vector<Colour> Cell(int cell) const { return Area(cell, {0, 0, picture.width, picture.height}); }
};

TEST(GeneratedPictures, NoPictureShowsAFileNameOrABareCellNumber) {
  const CellRoleMap roles = FindCellRoles();
  ObserveTexts(NoteText);
  for (const PictureFile& picture : AllPictureFiles()) DrawPlaceholder(picture, roles);
  ObserveTexts(nullptr);
  ASSERT_GT(g_texts.size(), 300u);
  for (const std::string& text : g_texts) {
    EXPECT_FALSE(text.empty() || std::all_of(text.begin(), text.end(), ::isdigit)) << "'" << text << "'";
    for (const PictureFile& picture : AllPictureFiles()) {
      const std::string name = picture.name;
      const std::string stem = Lower(name.substr(0, name.rfind('.')));
      // Names without a digit ("pause", "circle") are plain words a caption may use.
      if (std::none_of(stem.begin(), stem.end(), ::isdigit)) continue;
      EXPECT_EQ(Lower(text).find(stem), std::string::npos) << text << " names " << name;
    }
  }
}

// The cells the menus, the loadout and the ending draw as captions, by their screens'
// tables: the main menu's locked label and seven items, the twelve further settings and
// the locked one, the three boards' headings, the loadout's marks, icons and panels, the
// ending's caption pages and its staff pictures and roll.
struct CaptionSheet {
  const char* name;
  std::vector<int> cells;
};

std::vector<int> Cells(int from, int to, std::vector<int> cells = {}) {
  for (int cell = from; cell <= to; ++cell) cells.push_back(cell);
  return cells;
}

TEST(GeneratedPictures, EachCaptionCellOfTheMenuSheetsSaysSomethingOfItsOwn) {
  const CaptionSheet sheets[] = {
      {"tmode02-02A.png", {0, 1, 2, 3, 5, 6, 7, 8}},
      {"titleconfig05-01.png", Cells(0, 11, {17})},
      {"ScoreRanking04-01.png", Cells(0, 2)},
      {"ScoreRanking05-01.png", Cells(0, 2)},
      {"SelectWeaponParts.png", Cells(18, 27, Cells(9, 15))},
      {"wepsetumei01.png", Cells(0, 15)},
      {"opsetumei01.png", Cells(0, 3)},
      {"edserif01-01.png", Cells(0, 14)},
      {"edserif02-02.png", Cells(0, 12)},
      {"edstuff01-01.png", Cells(0, 26)},
  };
  for (const CaptionSheet& sheet : sheets) {
    SCOPED_TRACE(sheet.name);
    const Generated generated(sheet.name);
    for (std::size_t i = 0; i < sheet.cells.size(); ++i) {
      const std::vector<Colour> cell = generated.Cell(sheet.cells[i]);
      EXPECT_FALSE(AllClear(cell)) << "cell " << sheet.cells[i] << " is blank";
      for (std::size_t j = 0; j < i; ++j) {
        const std::vector<Colour> other = generated.Cell(sheet.cells[j]);
        EXPECT_FALSE(std::equal(cell.begin(), cell.end(), other.begin(), other.end(),
                                [](const Colour& p, const Colour& q) { return p.r == q.r && p.g == q.g && p.b == q.b; }))
            << "cells " << sheet.cells[j] << " and " << sheet.cells[i] << " look alike";
      }
    }
  }
}

// Where the game draws or writes over a picture (or, through a fade, under it), the
// picture shows only plain ground: each row of the box one colour, transparent green
// or a dark page's own. Boxes in the picture's own pixels, from the game's draw
// positions: the menu item under the bar, the shop's levels and prices (and the guard's
// use) in the places of its cursor's cells, the YES or NO under the continue cursor,
// the icon's name inside the loadout cursor's halves, and the rows named beside the rest.
struct ClearPart { const char* name; int cell; Box box; };

bool ShowsOnlyGround(const Generated& generated, int cell, const Box& box) {
  const std::vector<Colour> ground = generated.Area(cell, {box.x, box.y, 1, box.h});
  const std::vector<Colour> area = generated.Area(cell, box);
  for (std::size_t i = 0; i < area.size(); ++i) {
    const Colour &g = ground[i / static_cast<std::size_t>(box.w)], &p = area[i];
    const bool plain = IsClear(g) || std::max({g.r, g.g, g.b}) < 96;
    if (!plain || p.r != g.r || p.g != g.g || p.b != g.b) return false;
  }
  return true;
}

TEST(GeneratedPictures, CursorsPanelsAndPagesLeaveTheGamesOwnTextVisible) {
  const ClearPart parts[] = {
      {"tmode02-02A.png", 9, {4, 4, 252, 18}},
      {"shopframe01.png", 0, {44, 14, 88, 22}},
      {"shopframe01.png", 1, {44, 13, 88, 22}},
      {"shopframe01.png", 2, {44, 14, 88, 22}},
      {"shopframe01.png", 3, {44, 13, 88, 22}},
      {"shopframe01.png", 5, {80, 14, 48, 22}},
      {"shopframe01.png", 5, {166, 14, 60, 22}},
      {"shopframe01.png", 6, {80, 13, 48, 22}},
      {"gameover03-01.png", 0, {6, 6, 558, 38}},
      {"gameover03-01.png", 0, {180, 51, 170, 9}},  // on NO (y 411): CREDITS LEFT n at y 462
      {"SelectWeaponParts.png", 0, {70, 12, 58, 26}},
      {"SelectWeaponParts.png", 1, {0, 12, 58, 26}},
      // The pause panel's lines (y 571 to 621 on the screen) under the HUD panel at y 592.
      {"hudpanel01.png", 0, {112, 0, 800, 30}},
      {"pause.png", 0, {678, 9, 122, 40}},       // the timed notice (from x 790, y 580 to 620)
      // The HUD's map frame (x 352 to 670, y 639 to 733 as the camera moves), and over the
      // tally also its level, coins, markers and score from x 258, y 626, up to the tally's
      // score and its label (from x 406).
      {"hudpanel01.png", 0, {352, 47, 320, 95}},
      {"tally01-01.png", 0, {258, 98, 146, 108}},
      {"sideinfo05.png", 23, {122, 17, 58, 12}},  // the bonus's digits
      // The title card's two pictures cross-fade, the second drawn 40 rows lower.
      {"StageTitle01-01.png", 0, {0, 80, 1024, 70}},
      {"StageTitle01-02.png", 0, {0, 0, 1024, 24}},
      {"Manual01.png", 0, {0, 571, 1024, 197}},  // the pause panel and the HUD's band
      {"Manual01.png", 0, {790, 0, 234, 571}},   // the HUD's side notices and counters
      {"Aimage00032.png", 88, {0, 22, 32, 10}},  // level-up markers at y 657, coin digits at 679
      // Value markers at y 67 + 25 k over rows at 117 + 25 k: the rows above and below;
      // tab markers 55 above the tab's name; the results' tab names inside the marker.
      {"Aimage003128.png", 30, {0, 0, 128, 50}},
      {"Aimage003128.png", 30, {0, 75, 128, 53}},
      {"Aimage003128.png", 30, {6, 55, 116, 18}},
  };
  for (const ClearPart& part : parts) {
    SCOPED_TRACE(part.name);
    const Generated generated(part.name);
    EXPECT_FALSE(AllClear(generated.Cell(part.cell))) << "the picture shows nothing";
    EXPECT_TRUE(ShowsOnlyGround(generated, part.cell, part.box)) << part.cell << " at " << part.box.y;
  }
}

// The stages draw their backgrounds side by side, each tile's first column right after
// the last column of the one before: the two columns must match.
TEST(GeneratedPictures, StageBackgroundsTileWithoutSeams) {
  for (int stage = 1; stage <= 9; ++stage) {
    for (const TablePicture& entry : StageResources(stage).backgrounds) {
      SCOPED_TRACE(entry.picture.name);
      const Generated generated(entry.picture.name);
      const int w = entry.picture.width, h = entry.picture.height;
      const std::vector<Colour> first = generated.Area(0, {0, 0, 1, h}), last = generated.Area(0, {w - 1, 0, 1, h});
      int differing = 0;
      for (int row = 0; row < h; ++row) {
        const Colour &a = first[row], &b = last[row];
        differing += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 12;
      }
      EXPECT_LE(differing, h / 100) << "rows differ at the seam";
    }
  }
}

// Each stage's ground is the last thing between the view and black: no clear pixel. So
// is the shop's, drawn side by side down the whole screen: as high, and nowhere black.
TEST(GeneratedPictures, StageAndShopGroundsAreOpaque) {
  for (int stage = 1; stage <= 8; ++stage) {
    for (const TablePicture& entry : StageResources(stage).backgrounds) {
      if (!IsStageGround(stage, entry.index)) continue;
      const std::vector<Colour> pixels = Generated(entry.picture.name).Cell(0);
      EXPECT_EQ(std::count_if(pixels.begin(), pixels.end(), IsClear), 0) << entry.picture.name;
    }
  }
  const Generated shop("shop01-01.png");
  EXPECT_EQ(shop.canvas.height, 768);
  EXPECT_EQ(std::count_if(shop.canvas.pixels.begin(), shop.canvas.pixels.end(),
                          [](const Colour& c) { return IsClear(c) || c.r + c.g + c.b == 0; }),
            0);
}

// A template's records, made from one seed with the dragon and its option (the parent)
// moved by `shift` on both axes.
std::vector<GameObject> MadeAt(int templateId, float shift) {
  SeedRandom(0);
  ObjectPool[kPlayerSlot].x = ObjectPool[kPlayerSlot].y = ObjectPool[kFirstOptionSlot].y = 2000.0f + shift;
  ObjectPool[kFirstOptionSlot].x = 4000.0f + shift;
  return MakeRecords(templateId, kFirstOptionSlot);
}

// A ring clear inside, every drawn pixel of the tone (discs, coins, sparks and shots
// fill the middle). A flash is bright and warm (options and decorations are cool); the
// player's power is the shots' cyan.
bool IsARing(const Generated& sheet, int cell, bool (*tone)(const Colour&)) {
  const int w = sheet.picture.width, h = sheet.picture.height;
  const std::vector<Colour> drawn = sheet.Cell(cell);
  const auto inTone = [tone](const Colour& p) { return IsClear(p) || tone(p); };
  return !AllClear(drawn) && std::all_of(drawn.begin(), drawn.end(), inTone) &&
         AllClear(sheet.Area(cell, {w / 4, h / 4, w / 2, h / 2}));
}
bool Warm(const Colour& p) { return p.r >= 200 && p.r > p.b; }
bool Cyan(const Colour& p) { return p.b >= 200 && p.g >= 200 && p.r < p.b; }
bool IsAFlash(const Generated& sheet, int cell) { return IsARing(sheet, cell, Warm); }

// An enemy bullet as drawn: a disc with its light pink core in the middle.
bool IsABulletDisc(const Generated& sheet, int cell) {
  const Colour core = sheet.Area(cell, {sheet.picture.width / 2, sheet.picture.height / 2, 1, 1})[0];
  return core.r == 255 && core.g == 235 && core.b == 245;
}

// No cell of the common sheets wears the enemy bullets' look unless an enemy bullet's row
// shows it: a cell that nothing accounts for is drawn as something harmless.
TEST(GeneratedPictures, OnlyWhatEnemyBulletsShowLooksLikeAnEnemyBullet) {
  const CellRoleMap roles = FindCellRoles();
  for (const SpriteSheet& entry : kCommonSheets) {
    const Generated sheet(entry.picture.name);
    for (int cell = 0; cell < entry.picture.count; ++cell) {
      EXPECT_TRUE(!IsABulletDisc(sheet, cell) || RoleOf(roles, entry.picture.name, cell) == CellRole::kEnemyBullet)
          << entry.picture.name << " " << cell;
    }
  }
}

// A scenery record that moves with the dragon and the option stands on one of them: each
// cell of its row is a flash.
TEST(GeneratedPictures, WhatSceneryTemplatesPlaceOnTheDragonAndItsOptionsIsAFlash) {
  constexpr float kShift = 64.0f;
  std::map<std::string, Generated> sheets;
  int checked = 0;
  NewGameInit();
  for (const auto& [id, create] : StageSceneryTemplates()) {
    const std::vector<GameObject> here = MadeAt(id, 0.0f), there = MadeAt(id, kShift);
    for (std::size_t i = 0; i < std::min(here.size(), there.size()); ++i) {
      if (there[i].x - here[i].x != kShift || there[i].y - here[i].y != kShift) continue;
      ForEachCellOf(here[i], [&](const std::string& name, int cell) {
        EXPECT_TRUE(IsAFlash(sheets.try_emplace(name, name).first->second, cell)) << id << ": " << name << " " << cell;
        ++checked;
      });
    }
  }
  NewGameInit();
  EXPECT_GT(checked, 20);
}

// The share of the dragon's pixels (wing positions 0 to 6) a cell centred on it at `scale` covers.
double ShareOfDragonCovered(const Generated& sheet, int cell, double scale) {
  static const Generated dragon("Aimage00464.png");
  const int w = sheet.picture.width, size = dragon.picture.width;
  const std::vector<Colour> over = sheet.Cell(cell), body = dragon.Area(0, {0, 0, 7 * size, size});
  int pixels = 0, covered = 0;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const int x = static_cast<int>(std::floor(w / 2.0 + (i % size + 0.5 - size / 2.0) / scale));
    const int y = static_cast<int>(std::floor(w / 2.0 + (i / (7 * size) + 0.5 - size / 2.0) / scale));
    if (!IsClear(body[i])) ++pixels, covered += x >= 0 && y >= 0 && x < w && y < w && !IsClear(over[y * w + x]);
  }
  return static_cast<double>(covered) / pixels;
}

// Rows objects show beyond their template's first record (or that templates put on the
// dragon), from the code that sets them: each cell is drawn as what the object is. A
// harmless thing never as an enemy bullet, nor a cell nothing accounts for.
enum class Look { kMoney, kHarmless, kEnemyBullet, kFlash, kPower, kHalo, kHit };
struct ShownRows {
  int imageSet, firstRow, lastRow;
  Look look;
  double scale = 1.0;
};

TEST(GeneratedPictures, EveryRowAnObjectShowsIsDrawnAsThatObject) {
  using enum Look;
  const ShownRows kRows[] = {
      // A bullet turned into a chip; chips, coins and EXP chips collected.
      {0, 395, 395, kMoney}, {0, 329, 329, kMoney}, {0, 34, 34, kMoney}, {40, 34, 34, kMoney},
      // Trails, level-up pop-ups, debris and hit sparks, guard and blast sparks, hit
      // particles, sparks, embers and shards.
      {7, 267, 272, kHarmless}, {7, 194, 201, kHarmless}, {0, 51, 68, kHarmless}, {0, 161, 166, kHarmless},
      {0, 135, 138, kHarmless}, {7, 213, 221, kHarmless}, {40, 340, 349, kHarmless},
      // A waiting bullet let loose, the falling bullet, and bullets as made.
      {42, 400, 400, kEnemyBullet}, {6, 285, 285, kEnemyBullet}, {0, 109, 109, kEnemyBullet},
      {0, 116, 116, kEnemyBullet}, {0, 11, 11, kEnemyBullet}, {7, 193, 193, kEnemyBullet}, {7, 203, 203, kEnemyBullet},
      {40, 401, 401, kEnemyBullet}, {13, 282, 282, kEnemyBullet}, {3, 254, 254, kEnemyBullet},
      {42, 461, 461, kEnemyBullet},
      // On the dragon: the level-up star, coin ring and blast; glows, rings, flares, pick-up flashes and a hit.
      {6, 176, 176, kFlash}, {6, 262, 262, kFlash}, {6, 169, 169, kPower}, {1, 260, 260, kHalo}, {2, 463, 463, kHalo},
      {1, 206, 206, kHalo}, {3, 13, 13, kHalo}, {1, 261, 261, kHalo, 3.0}, {6, 171, 171, kHalo, 2.0},
      {6, 263, 263, kHalo, 2.01}, {6, 310, 310, kHalo, 0.3}, {6, 311, 311, kHalo, 0.6}, {6, 327, 327, kHalo, 1.93},
      {3, 5, 5, kHalo, 1.1}, {1, 35, 35, kHalo}, {6, 360, 360, kHalo, 11.0}, {1, 7, 7, kHit, 1.5}};
  const CellRoleMap roles = FindCellRoles();
  std::map<std::string, Generated> sheets;
  for (const ShownRows& rows : kRows) {
    for (int row = rows.firstRow; row <= rows.lastRow; ++row) {
      ForEachCellOfRow(rows.imageSet, row, [&](const std::string& name, int cell) {
        const Generated& sheet = sheets.try_emplace(name, name).first->second;
        const CellRole role = RoleOf(roles, name.c_str(), cell);
        const bool disc = IsABulletDisc(sheet, cell);
        const bool drawnAs[] = {role == CellRole::kCoin,
                                role != CellRole::kUnused && role != CellRole::kEnemyBullet && !disc,
                                role == CellRole::kEnemyBullet && disc, IsAFlash(sheet, cell),
                                role == CellRole::kPower && IsARing(sheet, cell, Cyan), role == CellRole::kHalo,
                                role == CellRole::kHit && IsAFlash(sheet, cell)};
        EXPECT_TRUE(drawnAs[static_cast<int>(rows.look)]) << "row " << row << ": " << name << " " << cell;
        EXPECT_TRUE(rows.look < kHalo || ShareOfDragonCovered(sheet, cell, rows.scale) <= 0.1) << row;
      });
    }
  }
}

}  // namespace
