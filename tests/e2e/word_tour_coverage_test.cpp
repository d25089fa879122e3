// Every cell of every picture that carries words (or is drawn as a cursor's frame) must
// show in at least one frame whose words were checked: the tour's tests (ReadmeKeys.*,
// WordTour.*) record beside their frames the cells each checked frame showed, and the
// label-free figures it let stand. A cell that no checked frame can show is named below
// with why; a named cell that does show fails too, so the lists cannot go stale; and
// every label-free figure the words check names must stand in some checked frame.
//
// The test reads what the tour's tests of this program saw since it was built, however
// the suite is run: ctest runs it after them, and this program's main registers it
// after every other test, so that run as one process in order it follows them too.
// Shuffled, it may come before tour tests this process is still to run: it then leaves
// its check to the program's end. A tour test that has not run since the program was
// built fails it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/resource_table.h"
#include "label_free_figures.h"
#include "recorded_runs.h"
#include "word_cover_check.h"
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

// The cells and label-free figures recorded by the checked frames of the tour's tests in
// this program, and the tests whose record is missing or older than the program.
struct Seen {
  std::set<std::string> cells, labelFree;
  std::vector<std::string> notRun;
};

void ReadLines(const std::filesystem::path& file, std::set<std::string>& lines) {
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.insert(line);
  }
}

// The tour's tests of this program, named "<suite>.<test>".
const std::regex kTourTests("^(ReadmeKeys|WordTour)[.].*");

Seen TourRecords() {
  Seen seen;
  const auto built = std::filesystem::last_write_time("/proc/self/exe");
  for (const auto& [name, info] : TestsNamed(kTourTests)) {
    const std::filesystem::path folder = std::filesystem::path(GAME_TEST_FRAME_DIR) / name;
    std::error_code missing;
    if (std::filesystem::last_write_time(folder / kWordsSeenFile, missing) < built || missing) {
      seen.notRun.push_back(name);
      continue;
    }
    ReadLines(folder / kWordsSeenFile, seen.cells);
    ReadLines(folder / kLabelFreeFile, seen.labelFree);
  }
  return seen;
}

void CheckEveryWordedCellIsSeen() {
  const std::set<std::string> worded = WordedCells();
  const Seen seen = TourRecords();
  ASSERT_FALSE(worded.empty());
  for (const std::string& test : seen.notRun) ADD_FAILURE() << test << " has not run since this program was built";
  std::set<std::string> named;
  for (const Unseen& entry : kNeverDrawn) {
    EXPECT_TRUE(worded.count(entry.cell)) << entry.cell << " is named as unseen but carries no words";
    EXPECT_FALSE(seen.cells.count(entry.cell))
        << entry.cell << " is named as unseen (" << entry.why << ") but a checked frame showed it";
    EXPECT_TRUE(named.insert(entry.cell).second) << entry.cell << " is named twice";
  }
  std::string unseen;
  int count = 0;
  for (const std::string& cell : worded) {
    if (seen.cells.count(cell) || named.count(cell)) continue;
    unseen += "\n  " + cell;
    ++count;
  }
  EXPECT_EQ(count, 0) << count << " of " << worded.size() << " worded cells show in no checked frame:" << unseen;
  for (const LabelFreeFigure& figure : LabelFreeFigures()) {
    EXPECT_TRUE(seen.labelFree.count(figure.name))
        << "no checked frame shows " << figure.name << ", named as needing no label (" << figure.why << ")";
  }
}

class WordTourCoverage : public testing::Test {
 public:
  void TestBody() override {
    if (CheckNowOrAtTheEnd("WordTourCoverage.EveryWordedCellIsSeen", kTourTests, CheckEveryWordedCellIsSeen)) {
      GTEST_SKIP() << "tour tests of this run are still to come: the check runs at the program's end";
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::RegisterTest("WordTourCoverage", "EveryWordedCellIsSeen", nullptr, nullptr, __FILE__, __LINE__,
                        []() -> testing::Test* { return new WordTourCoverage; });
  return RUN_ALL_TESTS();
}
