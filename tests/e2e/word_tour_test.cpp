// The rest of the tour (readme_keys_test.cpp walks the pages by their keys): every
// picture cell with words that the game can draw, shown in a checked frame at full
// strength. A veteran's save opens every menu item, option row, shot and ranking board;
// the HUD is seen over each stage's grounds at several points of its scroll, in the
// three game modes, with its optional pieces switched on; the title cards, the stage
// 8 captions and the ending's pages in both picture sets; every side notice the game
// gives; and the pages of the game's own text (the replay loading page and its error,
// the replay write, a playback, the game over's fade-in, the closing picture).
// word_tour_coverage_test.cpp then lists any worded cell that no frame showed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/word_file_layouts.h"
#include "core/game_state.h"
#include "game_session.h"
#include "page_tour.h"
#include "screens/results.h"

namespace {

// Save file words (0-based) of the settings a long-time player has.
constexpr int kTotalLevelWord = 1;
constexpr int kTitlePictureSetWord = 32;
constexpr int kHudCountersOffWord = 34, kHudPanelOffWord = 35, kHudNoticeOffWord = 36;
constexpr int kFirstVariantWord = 77;

struct Veteran {
  bool secondPictureSet = false;
};

// A save whose total level (999) opens every gate: all modes, option rows, shots and
// boards; every shot variant won; the HUD's optional pieces switched on.
std::vector<int> VeteransSave(const Veteran& veteran = {}) {
  std::vector<int> words = DefaultWords();
  words[kTotalLevelWord] = 999;
  words[kTitlePictureSetWord] = veteran.secondPictureSet ? 1 : 0;
  for (int word : {kHudCountersOffWord, kHudPanelOffWord, kHudNoticeOffWord}) words[word] = 0;
  for (int variant = 0; variant < kShotTypes; ++variant) words[kFirstVariantWord + variant] = 1;
  return words;
}

class WordTour : public PageTour {
 protected:
  // A fresh press.
  void Tap(int padWord) {
    Hold(padWord, 1);
    Hold(0, 1);
  }
};

TEST_F(WordTour, MenusOfAVeteransSave) {
  StartWithSaveWords(game_, VeteransSave());
  // The notice's last frames: the title picture over it at full strength.
  Hold(0, 20);
  MenuState.backdropTimer = 238.0f;
  ASSERT_GT(PassUntil(game_, [] { return OnPage(1); }, 10), 0);
  MenuState.backdropTimer = 493.0f;
  Save("tour-title-picture");
  LeaveAll({
      {"notice", {{40, kPadSecond}}, AtTitle, "title", nullptr, 0, 200},
      {"title", Press({kPadFire}), AtMainMenu, "main menu", nullptr, 300},
  });
  LeaveAll({{"main menu", DownToItem(2), [] { return MenuState.cursor == 52.0f; }, "the extra mode's item"}});
  LeaveAll({{"main menu", DownToItem(5), [] { return MenuState.cursor == 130.0f; }, "the options item",
             "tour-main-menu-extra-mode"}});
  LeaveAll({
      {"main menu", Press({kPadFire}), [] { return OnPage(8); }, "options", "tour-main-menu-options-item"},
      {"options", Press({kPadRight}), [] { return ConfigSubPage == 1; }, "options page 2"},
      {"options page 2", Press({kPadLeft}), [] { return ConfigSubPage == 0; }, "options", "tour-options-more-all-open"},
      {"options", Press({kPadUp, kPadFire}), AtMainMenu, "main menu"},
  });
  LeaveAll({{"main menu", Then(DownToItem(4), Press({kPadFire})), [] { return OnPage(14); }, "records, rankings tab"}});
  LeaveAll({{"records, rankings tab", Press({kPadFire}), AtMainMenu, "main menu", "tour-records-all-boards"}});
  LeaveAll({{"main menu", Then(DownToItem(0), Press({kPadFire})), InLoadout, "loadout"}});
  Hold(0, 20);
  // Each shot and its variant, snaking along the two rows, with the panel that explains it.
  bool onVariant = false;
  for (int type = 1; type <= kShotTypes; ++type) {
    for (int turn = 0; turn < 2; ++turn) {
      if (turn == 1) {
        Tap(onVariant ? kPadUp : kPadDown);
        onVariant = !onVariant;
      }
      ASSERT_EQ(ShopCursor[0], 128 * (type - 1));
      ASSERT_EQ(ShopCursor[1], onVariant ? 30 : 0);
      Save("tour-loadout-shot-" + std::to_string(type) + (onVariant ? "-variant" : ""));
    }
    if (type < kShotTypes) Tap(kPadRight);
  }
  // The second shot's row, then each option shot and each option movement.
  Tap(kPadFire);
  ASSERT_EQ(SelectFrame, 1);
  Save("tour-loadout-second-shot");
  for (const char* row : {"shot", "move"}) {
    Tap(kPadFire);
    for (int option = 0; option < 4; ++option) {
      if (option > 0) Tap(kPadRight);
      Save(std::string("tour-loadout-option-") + row + "-" + std::to_string(option + 1));
    }
  }
  ASSERT_EQ(SelectFrame, 3);
}

// The replay browser's loading page and its error, a lost run's game over, the replay
// write, the rankings of all three boards and the closing picture, then the written
// replay played back.
TEST_F(WordTour, ReplayPagesAndTheEndOfARun) {
  StartWithSaveWords(game_, VeteransSave());
  ToMainMenu(game_);
  // No replay has been written yet: slot 1 fails to load.
  LeaveAll({
      {"main menu", Then(DownToItem(4), Press({kPadFire})), [] { return OnPage(14); }, "records, rankings tab"},
      {"records, rankings tab", Press({kPadRight}), [] { return OnPage(18); }, "records, replays tab"},
  });
  Hold(0, 20);
  Save("tour-replay-loading", kPadFire);
  ASSERT_EQ(ReplaySlot, kReplayNoSlot);
  Save("tour-replay-load-error");
  LeaveAll({{"records, replays tab", Press({kPadRight, kPadFire}), AtMainMenu, "main menu", nullptr, 0}});

  // The title card shortened alike in the run and in its playback.
  game_.AtReplayFrame(0, [] { TitleCardFrame = 398; });
  game_.AtReplayFrame(3, [] { TitleCardFrame = 670; });
  game_.AtReplayFrame(13, [] { HudAlpha = 255; });
  StartRun(game_, 0);
  Hold(kPadRight | kPadFire, 200);
  ASSERT_EQ(StageStarted, 1);
  ToContinue("tour-game-over-fade-in");
  AnswerContinue(/*yes=*/false);
  AwaitResultsNavigation(/*shortened=*/true);
  ShopEmblem[2] = kResultsFullStrength;
  LeaveAll({
      {"results", Press({kPadRight}), [] { return ScenePhase == kPhaseReplaySave; }, "replay save"},
      {"replay save", Press({kPadFire}), [] { return MenuState.blinkTimer == 1.0f; }, "OK? with NO marked"},
      {"OK?", Press({kPadLeft, kPadFire}), [] { return MenuState.blinkTimer == 2.0f; }, "name entry"},
      {"name entry", Press({kPadFire, kPadFire}), [] { return SaveChoice() == kLastLetter; }, "the third letter"},
  });
  // The third letter writes the replay: the write's first texts show as it starts.
  Hold(0, 1);
  Save("tour-replay-now-writing", kPadFire);
  ASSERT_EQ(PhaseTimer, 100) << "slot 1 written";
  Save("tour-replay-written");
  LeaveTheResults(Press({kPadRight}), nullptr, "tour-rankings-all-boards", "tour-closing-picture");

  // The written replay, played: a frame of the playback once its stage has begun.
  ToMainMenu(game_);
  LeaveAll({
      {"main menu", Then(DownToItem(4), Press({kPadFire})), [] { return OnPage(14); }, "records, rankings tab"},
      {"records, rankings tab", Press({kPadRight}), [] { return OnPage(18); }, "records, replays tab"},
      {"records, replays tab", Press({kPadFire}), [] { return ReplayMode == kReplayPlayback; }, "replay playback"},
  });
  Hold(0, 100);
  ASSERT_EQ(ReplayMode, kReplayPlayback);
  ASSERT_EQ(StageStarted, 1);
  Save("tour-replay-playback");
}

}  // namespace
