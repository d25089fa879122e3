// The generated pictures as the words check sees them: a picture's row of the resource
// tables by file name, a cell's words, and a cell's visible pixels, each worked out once
// per run.
#pragma once

#include <string>
#include <vector>

#include "core/resource_table.h"
#include "word_boxes.h"
#include "word_check_measures.h"

const PictureFile* PictureNamed(const std::string& name);
// The words of a cell (WordsInCell).
const std::vector<WordInk>& WordsOfCell(const PictureFile& picture, int cell);

// The box of a cell's visible pixels (all but the transparent green) that its words and
// their rims do not explain, within the cell (for a cursor, its frame), and whether the
// cell has no transparent pixel. For a cursor also those pixels themselves, its frame's
// lines: a line that a caption's rim was drawn over shows on both sides of it.
struct CellFacts {
  Box frame;
  bool opaque = true;
  Box cell;                 // the cell's own box, at (0, 0)
  std::vector<char> lines;  // by pixel of the cell, row by row; empty but for a cursor

  bool LineAt(int x, int y) const { return !lines.empty() && cell.Holds(x, y) && lines[cell.Index(x, y)]; }
};
const CellFacts& FactsOfCell(const PictureFile& picture, int cell);
// The same of a picture a test drew in place of the generated one, with the words it
// drew there (not kept).
CellFacts FactsOfCell(const PictureFile& picture, int cell, const Canvas& drawn, const std::vector<WordInk>& words);
