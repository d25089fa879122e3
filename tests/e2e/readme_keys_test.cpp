// Every page of the game left by the keys the README's key table gives for it, one row
// per way out: the page, the keys, and where they lead. The rows follow one another
// through a running game, so each row starts where the one before it left. A page whose
// keys change fails here until the README says the same. On the way, a newcomer's tour:
// one frame of each page (and of stages 1, 5 and 8, the title cards, the HUD, the tally,
// the shop and the results pages) is saved to be looked at and its words checked
// (page_tour.h; word_tour_test.cpp shows the rest, the ending among it); the passes in
// between are run without drawing.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/stage_end.h"
#include "game_session.h"
#include "page_tour.h"
#include "screens/replay_list_view.h"
#include "screens/results.h"

namespace {

constexpr int kNoUpgradeBonusIcon = 23;
constexpr int kTallyScoreFrames = 460;  // the tally's score counts up over these

class ReadmeKeys : public PageTour {
 protected:
  // The mini-map's view frame with the view at the stage's left end, middle and right
  // end, the dragon in it.
  void SaveTheMapMarker() {
    for (const auto& [name, x] : {std::pair("start", 0.0f), std::pair("middle", 2688.0f), std::pair("end", 5376.0f)}) {
      CameraX = x;
      ObjectPool[kPlayerSlot].x = x + 400.0f;
      Save(std::string("tour-map-") + name, kPadFire);
    }
  }
  // A practice run at `stage` from the main menu, a frame saved just after the first
  // wave of its timeline, and back to the title through the pause.
  void PlayPractice(int stage, int firstWave) {
    TotalLevel = 8;  // practice's level: the start of a run quit before its results takes one
    StartPractice(0, stage);
    PastTheTitleCard();
    StageTimeline = firstWave - 10;
    Hold(kPadFire, 150);
    Save("tour-stage-" + std::to_string(stage), kPadFire);
    QuitToMainMenu();
  }
};

TEST_F(ReadmeKeys, TheTitleMenuPagesAndPracticeRunsAreLeftByTheirKeys) {
  // Total level 8: the true mode and practice are open, the extra mode is locked.
  StartWithAFreshSave(game_, /*totalLevel=*/8);
  // The logo's wait shortened; a frame of the notice half faded in over it.
  Hold(0, 20);
  MenuState.backdropTimer = 238.0f;
  ASSERT_GT(PassUntil(game_, [] { return OnPage(1) && MenuState.backdropTimer >= 42.0f; }, 50), 0);
  Save("tour-logo-to-notice");
  LeaveAll({
      {"logo and notice", {{40, kPadSecond}}, AtTitle, "title", nullptr, 0, 200},
      {"title", Press({kPadFire}), AtMainMenu, "main menu", "tour-title", 300},
      {"main menu", Press({kPadSecond}), [] { return OnPage(11); }, "title", "tour-main-menu"},
      {"title", Press({kPadFire}), AtMainMenu, "main menu"},
      {"main menu", Press({kPadFacing}), [] { return OnPage(20); }, "manual page"},
      {"manual page", Press({kPadFacing}), AtMainMenu, "main menu", "tour-manual"},
      {"main menu", Then(Down(4), Press({kPadFire})), [] { return OnPage(14); }, "records, rankings tab"},
      {"records, rankings tab", Press({kPadFire}), AtMainMenu, "main menu", "tour-records"},
      {"main menu", Then(Down(4), Press({kPadFire})), [] { return OnPage(14); }, "records, rankings tab"},
      {"records, rankings tab", Press({kPadRight}), [] { return OnPage(18); }, "records, replays tab"},
      {"records, replays tab", Press({kPadRight, kPadFire}), AtMainMenu, "main menu", "tour-replays"},
      {"main menu", Then(Down(5), Press({kPadFire})), [] { return OnPage(8); }, "options"},
      {"options", Press({kPadRight}), [] { return ConfigSubPage == 1; }, "options page 2", "tour-options"},
      {"options page 2", Press({kPadLeft}), [] { return ConfigSubPage == 0; }, "options", "tour-options-more"},
      {"options", Press({kPadUp, kPadFire}), AtMainMenu, "main menu"},
      {"main menu", Then(Down(5), Press({kPadFire})), [] { return OnPage(8); }, "options"},
      {"options", Down(4), [] { return MenuCursorY == 222; }, "key configuration, action 2's row"},
      {"key configuration", Press({kPadD}), [] { return KeyConfig[1] == kPadD; }, "action 2 on D", "tour-key-config"},
      {"key configuration", Press({kPadSecond}), [] { return KeyConfig[1] == kPadSecond; }, "action 2 on Z"},
      {"key configuration", Press({kPadUp, kPadUp, kPadUp, kPadUp, kPadUp, kPadFire}), AtMainMenu, "main menu"},
      {"main menu", Then(Down(3), Press({kPadFire})), [] { return OnPage(17); }, "practice set-up"},
      {"practice set-up", Press({kPadUp, kPadFire}), AtMainMenu, "main menu", "tour-practice"},
      {"main menu", Press({kPadFire}), InLoadout, "loadout"},
      {"loadout", Press({kPadSecond}), AtMainMenu, "main menu", "tour-loadout"},
  });
  PlayPractice(5, 1000);
  PlayPractice(8, 5000);
  LeaveAll({{"main menu", Then(DownToItem(6), Press({kPadFire})), Ended, "the program's end"}});
}

TEST_F(ReadmeKeys, PlayPauseShopContinueAndResultsAreLeftByTheirKeys) {
  StartWithAFreshSave(game_);
  ToMainMenu(game_);
  StartRun(game_, 0);
  SaveTheTitleCard("tour-title-card-1");
  PastTheTitleCard();
  StageTimeline = 380;  // the controls guide comes at 630, after the card's fade
  ASSERT_GT(PassUntil(game_, [] { return Stage1NoticeTimer > 300; }, 400, kPadFire), 0);
  Save("tour-controls-guide", kPadFire);
  Hold(kPadFire, 200);
  Coins = 103.0f;  // three digits beside the level-up marker
  Save("tour-stage-1", kPadFire);
  SaveTheMapMarker();
  AddInfoBonus(kNoUpgradeBonusIcon, 999999);
  Save("tour-no-upgrade-bonus", kPadFire);
  for (SideNotice& notice : SideNotices) {
    if (notice.icon == kNoUpgradeBonusIcon) notice = {};  // the frames after show their own pages
  }
  LeaveAll({
      {"play", Press({kPadPause}), [] { return Paused == 1; }, "pause"},
      {"pause", Press({kPadFacing}), [] { return ManualShown == 1; }, "manual page", "tour-pause"},
      {"manual page", Press({kPadFacing, kPadPause}),
       [] { return ManualShown == 0 && Scene == kScenePlay && Paused == 0; }, "play", "tour-pause-manual"},
      {"play", QuitThroughThePause(), AtTitle, "title (through the pause)", nullptr, 20, 0},
  });
  ToMainMenu(game_);
  StartRun(game_, 0);
  PastTheTitleCard();
  TimelineHalt = kHaltCleared;  // the stage's end, its tally shortened
  StageFrame = 156 * 60;        // a played stage's clear time, of three digits
  EndFadeTimer = 0;             // the run's opening white veil, long gone at a real stage's end
  ASSERT_GT(PassUntil(game_, [] { return TallyCount > 200; }, 400, kPadSecond), 0);
  Save("tour-tally", kPadSecond);
  ASSERT_GT(PassUntil(game_, [] { return TallyScoreCount > kTallyScoreFrames; }, 200, kPadSecond), 0);
  Save("tour-tally-counted-out");
  ShopEmblem[2] = 0.73f;
  ASSERT_GT(PassUntil(game_, [] { return TimelineHalt == kHaltShop; }, 30), 0);
  CameraX = 2688.0f;  // the view where the stage ended: its middle
  LeaveAll({
      {"shop", Down(2), [] { return ShopCursor[1] == 80; }, "the way on", "tour-shop"},
      {"shop", Press({kPadSpecial}), [] { return Stage == 2; }, "the next stage", "tour-shop-way-on", 0},
  });
  SaveTheTitleCard("tour-title-card-2");
  ToContinue();
  LeaveAll({{"continue", Press({kPadFire}), [] { return Scene == kScenePlay; }, "play (YES)", "tour-continue"}});
  ToContinue();
  LeaveAll({
      {"continue", Press({kPadDown}), [] { return ContinueCursor == 40; }, "continue, NO marked"},
      {"continue", Press({kPadFire}), [] { return ScenePhase == 6; }, "results (NO)", "tour-continue-no"},
  });
  AwaitResultsNavigation(/*shortened=*/true);
  LeaveTheResults(Press({kPadLeft}), "tour-results", "tour-rankings");
}

TEST_F(ReadmeKeys, NameEntryAndReplayPlaybackAreLeftByTheirKeys) {
  StartWithAFreshSave(game_);
  StartAGame(game_);
  Hold(kPadRight | kPadFire, 300);
  ToContinue();
  AnswerContinue(/*yes=*/false);
  AwaitResultsNavigation(/*shortened=*/true);
  ShopEmblem[2] = kResultsFullStrength;
  const auto written = [] {
    const int* name = ReplayList[3].name;
    return PhaseTimer == 100 && name[0] == 'B' && name[1] == 'A' && name[2] == 'A';
  };
  LeaveAll({
      {"results", Press({kPadRight}), [] { return ScenePhase == 10; }, "replay save"},
      {"replay save", Then(Down(2), Press({kPadFire})), [] { return MenuState.blinkTimer == 1.0f && MenuState.fade == 1.0f; },
       "OK? with NO marked", "tour-replay-save"},
      {"OK?", Press({kPadLeft, kPadFire}), [] { return MenuState.blinkTimer == 2.0f; }, "name entry", "tour-ok"},
      {"name entry", Press({kPadUp, kPadFire, kPadFire, kPadSecond, kPadFire, kPadFire}), written, "slot 3 as BAA",
       "tour-name-entry"},
  });
  LeaveTheResults(Press({kPadRight}));
  ToMainMenu(game_);
  ToTheReplaysTab();
  LeaveAll({
      {"records, replays tab", Down(2), [] { return SlotUnderRow() == 3; }, "slot 3"},
      {"records, replays tab", Press({kPadFire}), [] { return ReplayMode == kReplayPlayback; }, "replay playback",
       "tour-replays-slot-3"},
      // The playback's speed keys are checked by the recordings of player_play_test.cpp.
      {"replay playback", {{110, kPadPause}}, [] { return Scene == kSceneResults && WatchingReplay == 1; }, "its results",
       nullptr, 20, 5},
      {"results", {{1, kEscape}}, Ended, "the program's end"},
  });
}

}  // namespace
