#include "word_check_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <utility>

#include "canvas.h"
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
  CellFacts facts;
  for (int y = 0; y < picture.height && top + y < canvas.height; ++y) {
    for (int x = 0; x < picture.width && left + x < canvas.width; ++x) {
      const Colour& c = canvas.pixels[static_cast<std::size_t>(top + y) * canvas.width + left + x];
      if (Same(c, kTransparentGreen)) {
        facts.opaque = false;
      } else {
        facts.visible.Add(x, y);
      }
    }
  }
  return known.emplace(key, facts).first->second;
}
