#include "shown_rows.h"

#include <gtest/gtest.h>

#include <bitset>
#include <fstream>

#include "../support/save_frame.h"
#include "core/animation.h"
#include "core/display.h"
#include "core/game_state.h"

namespace {

std::bitset<kAnimationRows> shown[kImageSets];
bool anyShown = false;

class WriteAtTheTestsEnd : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { Forget(); }
  void OnTestEnd(const testing::TestInfo&) override {
    if (!anyShown) return;
    std::ofstream out(TestFrameFolder() / kShownRowsFile);
    for (int set = 0; set < kImageSets; ++set) {
      for (int row = 0; row < kAnimationRows; ++row) {
        if (shown[set][row]) out << set << ' ' << row << '\n';
      }
    }
    Forget();
  }
  static void Forget() {
    for (std::bitset<kAnimationRows>& rows : shown) rows.reset();
    anyShown = false;
  }
};

[[maybe_unused]] const bool rowWriterInstalled = [] {
  ObjectDrawHook = NoteShownRow;
  testing::UnitTest::GetInstance()->listeners().Append(new WriteAtTheTestsEnd);
  return true;
}();

}  // namespace

bool NoteShownRow(int slot) {
  const GameObject& object = ObjectPool[slot];
  if (object.imageSet >= 0 && object.imageSet < kImageSets && object.animation >= 0 &&
      object.animation < kAnimationRows) {
    shown[object.imageSet][object.animation] = true;
    anyShown = true;
  }
  return true;
}
