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

// The box of a cell's visible pixels (all but the transparent green) within the cell,
// and whether it has no transparent pixel.
struct CellFacts {
  Box visible;
  bool opaque = true;
};
const CellFacts& FactsOfCell(const PictureFile& picture, int cell);
