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

const CellFacts& FactsOfCell(const PictureFile& picture, int cell) {
  static std::map<std::pair<std::string, int>, CellFacts> known;
  const auto key = std::make_pair(std::string(picture.name), cell);
  if (const auto found = known.find(key); found != known.end()) return found->second;
  Canvas canvas(0, 0, {});
  const std::filesystem::path file = std::filesystem::path(E2E_DATA_DIR) / "data" / "image011" / picture.name;
  EXPECT_TRUE(ReadPngFile(file.string(), canvas)) << file;
  const int across = picture.count > 0 ? std::max(1, picture.across) : 1;
  const int left = cell % across * picture.width, top = cell / across * picture.height;
  const std::vector<WordInk>& words = WordsOfCell(picture, cell);
  const auto inWords = [&](int x, int y) {
    return std::any_of(words.begin(), words.end(), [&](const WordInk& word) {
      return Box{word.x, word.y, word.width, word.height}.Grown(word.reach).Holds(x, y);
    });
  };
  CellFacts facts;
  facts.cell = {0, 0, picture.width, picture.height};
  if (CellIsACursor(picture, cell) || IsSelectionMark(picture, cell)) {
    facts.lines.assign(static_cast<std::size_t>(picture.width) * picture.height, 0);
  }
  for (int y = 0; y < picture.height && top + y < canvas.height; ++y) {
    for (int x = 0; x < picture.width && left + x < canvas.width; ++x) {
      const Colour& c = canvas.pixels[static_cast<std::size_t>(top + y) * canvas.width + left + x];
      if (Same(c, kTransparentGreen)) {
        facts.opaque = false;
      } else if (!inWords(x, y)) {
        facts.frame.Add(x, y);
        if (!facts.lines.empty()) facts.lines[facts.cell.Index(x, y)] = 1;
      }
    }
  }
  return known.emplace(key, facts).first->second;
}
