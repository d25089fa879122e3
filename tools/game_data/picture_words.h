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
  Colour colour = {250, 250, 250};
};

// An opaque dark box behind words that the game draws additively.
struct DarkBox {
  int x, y, w, h;
};

// What a cell of a caption sheet shows.
enum class CellShape { kWords, kFrame, kBracketLeft, kBracketRight };

struct CellWords {
  int cell;
  CellShape shape;
  // For kWords the words; for the others x is the inset and size the thickness, y for a
  // frame the rows it leaves clear at the bottom, for a bracket its inset from the top
  // and the bottom of its 30 rows.
  PlacedWords words;
};

struct PictureWords {
  const char* name;
  Ground ground;
  int drawnX = 0, drawnY = 0;  // where the game draws the picture on the screen
  std::span<const PlacedWords> words = {};
  std::span<const CellWords> cells = {};
  std::span<const DarkBox> boxes = {};
};

// The words of a picture, or null for a picture that shows none.
const PictureWords* WordsOf(const char* name);
// Every worded picture.
std::span<const PictureWords> AllPictureWords();
