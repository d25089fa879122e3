// Where the generator writes words into its pictures, worked out by the same placement
// and glyph walk that draw them: for a picture's cell, each caption with its colour,
// its box in the cell and the coverage of its glyphs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "core/resource_table.h"
#include "picture_words.h"

// Where a caption's pen starts in its cell and the size it is drawn at: `words` in a
// cell `cellWidth` wide whose origin the table gives as (originX, originY).
struct CaptionPlace {
  int x, y, size;
};
CaptionPlace PlaceCaption(const PlacedWords& words, int cellWidth, int originX, int originY);

struct WordInk {
  std::string text;
  Colour colour = {};
  int size = 0;                             // the pixel size it is drawn at
  int reach = 1;                            // how far around its glyphs a reader sees its ground
  bool digit = false;                       // a digit picture's digit: a figure, not a label
  int x = 0, y = 0, width = 0, height = 0;  // the box of the glyphs' pixels in the cell
  std::vector<std::uint8_t> coverage;       // width * height, row by row, 0 to 255

  int At(int cellX, int cellY) const;  // 0 outside the box
};

// The captions written into a cell (a single picture's: cell 0), clipped to it; a digit
// picture's cell holds its digit, and a sprite sheet's label cell its label.
std::vector<WordInk> WordsInCell(const PictureFile& picture, int cell);
// A cell the words table draws as a cursor's frame or bracket: it carries no words.
bool CellIsACursor(const PictureFile& picture, int cell);
// Pictures that show words: text art, and every picture of the words table.
bool IsTextPicture(const PictureFile& picture);
