// The words of the generated pictures: for each picture the game draws as a page,
// panel, caption sheet or cursor, what it says and where, in the screen places the
// game draws it, so every page can be used without any other help.
#pragma once

#include <span>

#include "canvas.h"
#include "text_drawing.h"

// The ground a worded picture is drawn on.
enum class Ground {
  kClear,   // the transparent green: only the words, boxes and frames show
  kEmblem,  // the transparent green with the logo's emblem
  kDark,    // an opaque dark page
  kPanel,   // an opaque dark panel with a light rim
};

// One caption, at a screen position (for a sheet: a position in its cell).
struct PlacedWords {
  int x, y;
  const char* text;
  int size = 20;
  Align align = Align::kLeft;
  Colour colour = {255, 255, 255};
};

// A box of ground drawn over the picture's own ground, in the order listed (a part of
// a rim beyond the picture's edge is left out).
enum class BoxFill {
  kDark,    // opaque dark, behind words that the game draws additively
  kPanel,   // a panel with a light rim that covers only part of its picture
  kWindow,  // the transparent green cut out of a panel, with a rim around it
};
struct GroundBox {
  int x, y, w, h;
  BoxFill fill = BoxFill::kDark;
};

// What a cell of a caption sheet shows.
enum class CellShape { kWords, kFrame, kBracketLeft, kBracketRight };

struct CellWords {
  int cell;
  CellShape shape;
  // For kWords the words; for the others size is the thickness; for a frame x and y the
  // columns it leaves clear at the left and the rows at the bottom, for a bracket x its
  // inset and y the first of its 30 rows.
  PlacedWords words;
};

struct PictureWords {
  const char* name;
  Ground ground;
  int drawnX = 0, drawnY = 0;  // where the game draws the picture on the screen
  std::span<const PlacedWords> words = {};
  std::span<const CellWords> cells = {};
  std::span<const GroundBox> boxes = {};
};

// Words written into one cell of a sprite sheet whose other cells are art (a label the
// game's display draws from the sheet).
struct SheetCellWords {
  const char* picture;
  int cell;
  PlacedWords words;
};

// The caption whose light a picture without words of its own shows behind it (the
// title's glow, added under and over the name through the build-up), or null.
const PlacedWords* GlowOf(const char* name);
// The words of a picture, or null for a picture that shows none.
const PictureWords* WordsOf(const char* name);
// Every worded picture.
std::span<const PictureWords> AllPictureWords();
// The words of a cell of a sprite sheet, or null.
const SheetCellWords* SheetCellWordsOf(const char* picture, int cell);
