#include "word_boxes.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <tuple>

#include "pixel_font.h"
#include "text_drawing.h"

namespace {

struct Area {
  int x, y, w, h;
  bool Holds(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

WordInk Word(std::string text, Colour colour, int size, int reach, bool digit = false) {
  WordInk word;
  word.text = std::move(text);
  word.colour = colour;
  word.size = size, word.reach = reach, word.digit = digit;
  return word;
}

// The ink of a word drawn by `walk` on the picture, in the cell's own coordinates;
// nothing when none of it falls into the cell.
void AddInk(std::vector<WordInk>& inks, WordInk word, const Area& cell,
            const std::function<void(const InkVisitor&)>& walk) {
  struct Pixel {
    int x, y, coverage;
  };
  std::vector<Pixel> pixels;
  walk([&](int x, int y, int coverage) {
    if (cell.Holds(x, y)) pixels.push_back({x - cell.x, y - cell.y, coverage});
  });
  if (pixels.empty()) return;
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  for (const Pixel& p : pixels) {
    left = std::min(left, p.x), top = std::min(top, p.y), right = std::max(right, p.x), bottom = std::max(bottom, p.y);
  }
  std::tie(word.x, word.y, word.width, word.height) = std::tuple(left, top, right - left + 1, bottom - top + 1);
  word.coverage.assign(static_cast<std::size_t>(word.width) * word.height, 0);
  for (const Pixel& p : pixels) {
    std::uint8_t& at = word.coverage[static_cast<std::size_t>(p.y - top) * word.width + (p.x - left)];
    at = static_cast<std::uint8_t>(std::max<int>(at, p.coverage));
  }
  inks.push_back(std::move(word));
}

// A caption with its pen at (penX, penY) on the picture.
void AddCaption(std::vector<WordInk>& inks, const PlacedWords& words, int penX, int penY, int size, const Area& cell) {
  AddInk(inks, Word(words.text, words.colour, size, OutlineWidth(size)), cell, [&](const InkVisitor& visit) {
    VisitInk(penX, penY, words.text, size, words.align, visit);
  });
}

}  // namespace

CaptionPlace PlaceCaption(const PlacedWords& words, int cellWidth, int originX, int originY) {
  return {words.x - originX, words.y - originY, FittingSize(words.text, words.size, cellWidth)};
}

int WordInk::At(int cellX, int cellY) const {
  if (cellX < x || cellY < y || cellX >= x + width || cellY >= y + height) return 0;
  return coverage[static_cast<std::size_t>(cellY - y) * width + (cellX - x)];
}

// As DrawPlaceholder writes them: a cell's own captions at the cell's origin, then the
// picture's captions over the whole picture at the screen place it is drawn at.
std::vector<WordInk> WordsInCell(const PictureFile& picture, int cell) {
  const int across = picture.count > 0 ? std::max(1, picture.across) : 1;
  const Area area{cell % across * picture.width, cell / across * picture.height, picture.width, picture.height};
  std::vector<WordInk> inks;
  if (picture.art == PictureArt::kDigits) {
    const DigitPlace at = PlaceDigit(picture.width, picture.height);
    const std::string digit = std::to_string(cell % 10);
    const WordInk ink = Word(digit, kDigitColour, kGlyphHeight * at.scale, kDigitRim, true);
    AddInk(inks, ink, area, [&](const InkVisitor& visit) {
      VisitLabel(area.x + at.x, area.y + at.y, digit, at.scale, [&](int x, int y) { visit(x, y, 255); });
    });
    return inks;
  }
  if (const SheetCellWords* label = SheetCellWordsOf(picture.name, cell)) {
    const CaptionPlace at = PlaceCaption(label->words, picture.width, 0, 0);
    AddCaption(inks, label->words, area.x + at.x, area.y + at.y, at.size, area);
    return inks;
  }
  const PictureWords* words = WordsOf(picture.name);
  if (words == nullptr) return {};
  for (const CellWords& entry : words->cells) {
    if (entry.cell != cell || entry.shape != CellShape::kWords) continue;
    const CaptionPlace at = PlaceCaption(entry.words, picture.width, 0, 0);
    AddCaption(inks, entry.words, area.x + at.x, area.y + at.y, at.size, area);
  }
  for (const PlacedWords& entry : words->words) {
    const CaptionPlace at = PlaceCaption(entry, picture.width * across, words->drawnX, words->drawnY);
    AddCaption(inks, entry, at.x, at.y, at.size, area);
  }
  return inks;
}

bool CellIsACursor(const PictureFile& picture, int cell) {
  const PictureWords* words = WordsOf(picture.name);
  if (words == nullptr) return false;
  return std::any_of(words->cells.begin(), words->cells.end(),
                     [cell](const CellWords& entry) { return entry.cell == cell && entry.shape != CellShape::kWords; });
}

bool IsTextPicture(const PictureFile& picture) {
  return picture.art == PictureArt::kText || WordsOf(picture.name) != nullptr;
}
