// Every cell of every picture that carries words (or is drawn as a cursor's frame) must
// show in at least one frame whose words were checked: the tour's tests (ReadmeKeys.*,
// WordTour.*) record the cells each checked frame showed in "words-seen.txt" beside
// their frames, and ctest runs this test after them (the tour's folders are the only
// ones read). A cell that no checked frame can
// show is named below with why; a named cell that does show fails too, so the lists
// cannot go stale.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "core/resource_table.h"
#include "word_boxes.h"

namespace {

struct Unseen {
  const char* cell;
  const char* why;
};

// Cells that nothing in the game draws.
const Unseen kNeverDrawn[] = {
    {"tmode02-02A.png#4", "the main menu is the only user of its label sheet, and none of its seven items has "
                          "label cell 4 (LONG MODE): no item starts game mode 3"},
    {"sideinfo05.png#21", "no bonus gives side notice icon 21"},
    {"sideinfo05.png#24", "no bonus gives side notice icon 24"},
    {"sideinfo05.png#26", "no bonus gives side notice icon 26"},
    {"sideinfo05.png#27", "no bonus gives side notice icon 27"},
};

// "<file>#<cell>" of every cell with words or a cursor's frame, over every picture.
std::set<std::string> WordedCells() {
  std::set<std::string> cells;
  for (const PictureFile& picture : AllPictureFiles()) {
    for (int cell = 0; cell < std::max(picture.count, 1); ++cell) {
      if (!WordsInCell(picture, cell).empty() || CellIsACursor(picture, cell)) {
        cells.insert(std::string(picture.name) + "#" + std::to_string(cell));
      }
    }
  }
  return cells;
}

// The cells recorded by the checked frames of the tour's tests in this program: only
// their folders are read, so neither a folder left by an older build nor a test that
// ctest may run after this one counts.
std::set<std::string> SeenCells() {
  std::set<std::string> seen;
  const testing::UnitTest& tests = *testing::UnitTest::GetInstance();
  for (int suite = 0; suite < tests.total_test_suite_count(); ++suite) {
    const testing::TestSuite& tour = *tests.GetTestSuite(suite);
    if (std::string(tour.name()) != "ReadmeKeys" && std::string(tour.name()) != "WordTour") continue;
    for (int test = 0; test < tour.total_test_count(); ++test) {
      const std::string folder = std::string(tour.name()) + "." + tour.GetTestInfo(test)->name();
      std::ifstream in(std::filesystem::path(GAME_TEST_FRAME_DIR) / folder / "words-seen.txt");
      for (std::string line; std::getline(in, line);) {
        if (!line.empty()) seen.insert(line);
      }
    }
  }
  return seen;
}

TEST(WordTourCoverage, EveryWordedCellIsSeen) {
  const std::set<std::string> worded = WordedCells(), seen = SeenCells();
  ASSERT_FALSE(worded.empty());
  std::set<std::string> named;
  for (const Unseen& entry : kNeverDrawn) {
    EXPECT_TRUE(worded.count(entry.cell)) << entry.cell << " is named as unseen but carries no words";
    EXPECT_FALSE(seen.count(entry.cell)) << entry.cell << " is named as unseen (" << entry.why
                                         << ") but a checked frame showed it";
    EXPECT_TRUE(named.insert(entry.cell).second) << entry.cell << " is named twice";
  }
  std::string unseen;
  int count = 0;
  for (const std::string& cell : worded) {
    if (seen.count(cell) || named.count(cell)) continue;
    unseen += "\n  " + cell;
    ++count;
  }
  EXPECT_EQ(count, 0) << count << " of " << worded.size() << " worded cells show in no checked frame:" << unseen;
}

}  // namespace
