// Every row of the common sheets drawn by role that objects showed in whole games is one
// the generator meets, so each of its cells has a role: none is drawn by its sheet's
// default. The rows come from the
// recorder's files (shown_rows.h) of this program's whole-game runs since it was built;
// ctest runs this test after them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <utility>

#include "cell_roles.h"
#include "core/resource_table.h"
#include "picture_words.h"
#include "placeholder_art.h"
#include "shown_rows.h"

namespace {

// The frame folders ("<suite>.<test>", a parameterised one's prefix and name joined by
// '_') of the runs that play whole stages, the ending or the boss chains.
const std::regex kWholeGameRuns("^([A-Za-z0-9]+_)?(" WHOLE_GAME_RUNS ")[.].*");

// The common sheets whose cells the generator draws by their role.
const PictureFile* SheetDrawnByRole(const std::string& name) {
  for (const SpriteSheet& sheet : kCommonSheets) {
    const PictureArt art = sheet.picture.art;
    if (name == sheet.picture.name && (art == PictureArt::kBullet || art == PictureArt::kShot ||
                                       art == PictureArt::kCoin || art == PictureArt::kEffect)) {
      return &sheet.picture;
    }
  }
  return nullptr;
}

TEST(ShownRowsCoverage, EveryRowShownInPlayIsOneTheGeneratorMeets) {
  const auto built = std::filesystem::last_write_time("/proc/self/exe");
  std::set<std::pair<int, int>> rows;
  int runs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(GAME_TEST_FRAME_DIR)) {
    const std::filesystem::path file = entry.path() / kShownRowsFile;
    std::error_code missing;
    if (!std::regex_match(entry.path().filename().string(), kWholeGameRuns) ||
        std::filesystem::last_write_time(file, missing) < built || missing) {
      continue;
    }
    std::ifstream in(file);
    for (int set, row; in >> set >> row;) rows.emplace(set, row);
    ++runs;
  }
  ASSERT_GT(runs, 0) << "no whole-game run has recorded its rows since this program was built";
  std::set<std::pair<int, int>> met;
  const CellRoleMap roles = FindCellRoles([&met](int set, int row) { met.emplace(set, row); });
  std::set<std::string> unmet, byDefault;  // "<set>/<row>"; "<sheet> <cell>"
  for (const auto& [set, row] : rows) {
    ForEachCellOfRow(set, row, [&](const std::string& name, int cell) {
      const PictureFile* sheet = SheetDrawnByRole(name);
      if (sheet == nullptr || SheetCellWordsOf(name.c_str(), cell) != nullptr || IsStillMark(*sheet, cell) ||
          IsEdgeMark(*sheet, cell)) {
        return;
      }
      if (!met.count({set, row})) unmet.insert(std::to_string(set) + "/" + std::to_string(row));
      if (RoleOf(roles, name.c_str(), cell) == CellRole::kUnused) byDefault.insert(name + " " + std::to_string(cell));
    });
  }
  const auto listed = [](const std::set<std::string>& items) {
    std::string list;
    for (const std::string& item : items) list += " " + item;
    return list;
  };
  EXPECT_TRUE(unmet.empty()) << unmet.size() << " rows (set/row) shown in " << runs
                             << " runs are not met by the generator:" << listed(unmet);
  EXPECT_TRUE(byDefault.empty()) << byDefault.size() << " cells shown have no role and are drawn by a default:"
                                 << listed(byDefault);
}

}  // namespace
