// Every row of the common sheets drawn by role that objects showed in whole games is one
// the generator meets, so each of its cells has a role: none is drawn by its sheet's
// default. The rows come from the recorder's files (shown_rows.h) of this program's
// whole-game runs since it was built (recorded_runs.h).
#include <gtest/gtest.h>

#include <algorithm>
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
#include "recorded_runs.h"
#include "shown_rows.h"

namespace {

// The runs that play whole stages, the ending or the boss chains.
const std::regex kWholeGameRuns("^([A-Za-z0-9]+/)?(" WHOLE_GAME_RUNS ")[.].*");

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

void CheckEveryRowShownIsMet() {
  const auto built = std::filesystem::last_write_time("/proc/self/exe");
  std::set<std::pair<int, int>> rows;
  int runs = 0;
  for (auto [folder, info] : TestsNamed(kWholeGameRuns)) {
    std::replace(folder.begin(), folder.end(), '/', '_');
    const std::filesystem::path file = std::filesystem::path(GAME_TEST_FRAME_DIR) / folder / kShownRowsFile;
    std::error_code missing;
    if (std::filesystem::last_write_time(file, missing) < built || missing) continue;
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

TEST(ShownRowsCoverage, EveryRowShownInPlayIsOneTheGeneratorMeets) {
  if (CheckNowOrAtTheEnd("ShownRowsCoverage.EveryRowShownInPlayIsOneTheGeneratorMeets", kWholeGameRuns,
                         CheckEveryRowShownIsMet)) {
    GTEST_SKIP() << "whole-game runs of this run are still to come: the check runs at the program's end";
  }
}

}  // namespace
