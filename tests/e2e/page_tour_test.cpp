// A newcomer's tour of the game on the generated data: every page of the menus, the
// loadout, stage 1 play with its controls guide, the pause, the tally and the shop,
// the continue question, the results with the name entry, and practice runs of
// stages 5 and 8. One frame of each is saved to be looked at; frames in between are
// run without drawing.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "core/game_state.h"
#include "core/stage_end.h"
#include "game_session.h"
#include "scenario.h"

namespace {

constexpr int kMainMenu = 6;
constexpr int kItemPractice = 3, kItemRecords = 4, kItemOptions = 5;
constexpr int kQuitHoldFrames = 125;
constexpr int kStageStartFrame = 399;

bool OnPage(int page) { return Scene == kSceneTitle && MenuState.page == static_cast<float>(page); }

class PageTour : public testing::Test {
 protected:
  void SetUp() override {
    // Total level 8: the true mode and practice are open, the extra mode is locked.
    StartWithAFreshSave(game_, 8);
    Scenario::SkipDrawing(true);
  }
  void TearDown() override {
    Scenario::SkipDrawing(false);
    ResetCallRecorder();
  }

  // Passes without drawing until `done` holds; the tour ends at its first failed step.
  void Until(const std::function<bool()>& done, int limit, int padWord = 0) {
    for (int pass = 0; pass < limit && !done() && !HasFailure(); ++pass) {
      ASSERT_TRUE(game_.Pass(padWord));
      ClearCallLog();
    }
    ASSERT_TRUE(done()) << "scene " << Scene << " page " << MenuState.page << " phase " << ScenePhase;
  }
  void Hold(int padWord, int frames) {
    for (int i = 0; i < frames && !HasFailure(); ++i) ASSERT_TRUE(game_.Pass(padWord));
    ClearCallLog();
  }
  void Press(int padWord, int times = 1) {
    for (int i = 0; i < times; ++i) Hold(padWord, 1), Hold(0, 1);
  }
  // One pass drawn in full and saved as "<name>.png".
  void Save(const std::string& name, int padWord = 0) {
    if (HasFailure()) return;
    Scenario::SkipDrawing(false);
    SaveNextFrame(name);
    ASSERT_TRUE(game_.Pass(padWord));
    Scenario::SkipDrawing(true);
    EXPECT_FALSE(SavedFramePath().empty()) << name;
  }
  // A main menu item decided, on to its page faded in.
  void Open(int item, int page) {
    if (!OnPage(kMainMenu)) ToMainMenu(game_);
    Press(kPadDown, item - static_cast<int>(MenuState.cursor) / 26);
    Press(kPadFire);
    Until([page] { return OnPage(page); }, 60);
    Hold(0, 20);
  }
  // From the main menu through the practice set-up and the loadout into play at `stage`,
  // just after the first wave of its timeline.
  void StartPractice(int stage, int firstWave) {
    TotalLevel = 8;
    Open(kItemPractice, 17);
    Press(kPadDown);  // the stage row
    Press(kPadRight, stage - 1);
    Press(kPadDown, 6);  // start
    Press(kPadFire);
    Until([] { return Scene == kSceneLoadout; }, 10);
    Press(kPadFire, 4);
    Until([] { return Scene == kScenePlay; }, 200);
    // The title card shortened to the start of the stage, where the HUD fades in.
    TitleCardFrame = kStageStartFrame;
    Until([] { return TitleCardActive == 0; }, 400, kPadFire);
    // On to the stage's first waves.
    StageTimeline = firstWave - 10;
    Hold(kPadFire, 150);
  }
  // Pause, then actions 1 and 3 held together back to the title.
  void QuitRun() {
    Press(kPadPause);
    Hold(kPadFire | kPadSpecial, kQuitHoldFrames);
    ASSERT_EQ(Scene, kSceneTitle);
  }

  GameSession game_;
};

TEST_F(PageTour, EveryPageAndStagesOneFiveAndEight) {
  // The title and the main menu, with the locked extra mode.
  Until([] { return OnPage(2); }, 1000, kPadFire);
  Until([] { return OnPage(3); }, 1000);
  Hold(0, 300);  // the name and the prompt fade in
  Save("tour-title");
  Until([] { return OnPage(kMainMenu); }, 400, kPadFire);
  Hold(0, 2);
  Save("tour-main-menu");

  Press(kPadFacing);
  ASSERT_TRUE(OnPage(20));
  Save("tour-manual");
  Press(kPadFacing);

  Open(kItemOptions, 8);
  Save("tour-options");
  Press(kPadDown, 3);
  Save("tour-key-config");
  Press(kPadUp, 4);  // up from the first row wraps to the back row
  Press(kPadFire);

  Open(kItemPractice, 17);
  Save("tour-practice");
  Press(kPadUp);  // the back row
  Press(kPadFire);

  Open(kItemRecords, 14);
  Save("tour-records");
  Press(kPadRight);
  ASSERT_TRUE(OnPage(18));
  Hold(0, 20);
  Save("tour-replays");
  Press(kPadRight);
  Press(kPadFire);

  // A run: the loadout, stage 1 with the controls guide, the pause, tally and shop.
  ToMainMenu(game_);
  Press(kPadFire);
  Until([] { return Scene == kSceneLoadout; }, 40);
  Hold(0, 20);
  Press(kPadFire);  // the second shot's row
  Save("tour-loadout");
  Press(kPadFire, 3);
  Until([] { return Scene == kScenePlay; }, 200);
  // The title card shortened as in practice; the guide comes at timeline 630.
  TitleCardFrame = kStageStartFrame;
  StageTimeline = 380;
  Until([] { return TitleCardActive == 0 && Stage1NoticeTimer > 300; }, 600, kPadFire);
  Save("tour-controls-guide", kPadFire);
  Hold(kPadFire, 200);
  Save("tour-stage-1", kPadFire);
  Press(kPadPause);
  ASSERT_EQ(Paused, 1);
  Save("tour-pause");
  Press(kPadPause);
  TimelineHalt = kHaltCleared;
  Until([] { return TallyCount > 200; }, 400, kPadSecond);
  Save("tour-tally");
  Until([] { return TimelineHalt == kHaltShop; }, 600, kPadSecond);
  Hold(0, 30);
  Save("tour-shop");
  Press(kPadDown, 2);
  Press(kPadSpecial);  // leave
  Until([] { return Stage == 2 && TitleCardActive == 1; }, 400);

  // The game over, the continue question, the results and the name entry.
  LoseLastLife();
  Until([] { return Scene == kSceneResults && ScenePhase == 3; }, 800);
  Hold(0, 5);
  Save("tour-continue");
  Press(kPadDown);
  Press(kPadFire);
  AwaitResultsNavigation(/*shortened=*/true);
  Hold(0, 60);
  Save("tour-results");
  Press(kPadRight);
  ASSERT_EQ(ScenePhase, 10);
  Press(kPadFire);
  Press(kPadLeft);
  Press(kPadFire);  // YES: the name entry
  Press(kPadUp, 2);
  Save("tour-name-entry");
  Press(kPadFire, 3);
  Press(kPadRight);
  Save("tour-rankings");
  LeaveResults(/*shortened=*/true);

  // Practice runs at stages 5 and 8.
  StartPractice(5, 1000);
  Save("tour-stage-5", kPadFire);
  QuitRun();
  StartPractice(8, 5000);
  Save("tour-stage-8", kPadFire);
  QuitRun();
}

}  // namespace
