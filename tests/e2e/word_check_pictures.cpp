#include "word_check_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <utility>

#include "canvas.h"
#include "placeholder_art.h"
#include "png_file.h"

const PictureFile* PictureNamed(const std::string& name) {
  static const std::vector<PictureFile> pictures = AllPictureFiles();
  for (const PictureFile& picture : pictures) {
    if (name == picture.name) return &picture;
  }
  return nullptr;
}

const std::vector<WordInk>& WordsOfCell(const PictureFile& picture, int cell) {
  static std::map<std::pair<std::string, int>, std::vector<WordInk>> known;
  const auto key = std::make_pair(std::string(picture.name), cell);
  const auto found = known.find(key);
  return found != known.end() ? found->second : known.emplace(key, WordsInCell(picture, cell)).first->second;
}

CellFacts FactsOfCell(const PictureFile& picture, int cell, const Canvas& drawn, const std::vector<WordInk>& words) {
  const int across = picture.count > 0 ? std::max(1, picture.across) : 1;
  const int left = cell % across * picture.width, top = cell / across * picture.height;
  CellFacts facts;
  facts.cell = {0, 0, picture.width, picture.height};
  // What the words explain: their glyphs and the rims drawn within their reach.
  std::vector<char> explained(static_cast<std::size_t>(picture.width) * picture.height);
  for (const WordInk& word : words) {
    std::vector<char> ink(explained.size());
    for (int y = std::max(word.y, 0); y < std::min(word.y + word.height, picture.height); ++y) {
      for (int x = std::max(word.x, 0); x < std::min(word.x + word.width, picture.width); ++x) {
        ink[facts.cell.Index(x, y)] = word.At(x, y) > 0;
      }
    }
    const std::vector<char> rimmed = Grown(ink, picture.width, picture.height, word.reach);
    for (std::size_t i = 0; i < explained.size(); ++i) explained[i] |= rimmed[i];
  }
  if (CellIsACursor(picture, cell) || IsSelectionMark(picture, cell)) facts.lines.assign(explained.size(), 0);
  for (int y = 0; y < picture.height && top + y < drawn.height; ++y) {
    for (int x = 0; x < picture.width && left + x < drawn.width; ++x) {
      const Colour& c = drawn.pixels[static_cast<std::size_t>(top + y) * drawn.width + left + x];
      if (Same(c, kTransparentGreen)) {
        facts.opaque = false;
      } else if (!explained[facts.cell.Index(x, y)]) {
        facts.frame.Add(x, y);
        if (!facts.lines.empty()) facts.lines[facts.cell.Index(x, y)] = 1;
      }
    }
  }
  return facts;
}

const CellFacts& FactsOfCell(const PictureFile& picture, int cell) {
  static std::map<std::pair<std::string, int>, CellFacts> known;
  const auto key = std::make_pair(std::string(picture.name), cell);
  if (const auto found = known.find(key); found != known.end()) return found->second;
  Canvas canvas(0, 0, {});
  const std::filesystem::path file = std::filesystem::path(E2E_DATA_DIR) / "data" / "image011" / picture.name;
  EXPECT_TRUE(ReadPngFile(file.string(), canvas)) << file;
  return known.emplace(key, FactsOfCell(picture, cell, canvas, WordsOfCell(picture, cell))).first->second;
}
