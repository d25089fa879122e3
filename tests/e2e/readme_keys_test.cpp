// Every page of the game left by the keys the README's key table gives for it, one row
// per way out: the page, the keys, and where they lead. The rows follow one another
// through a running game, so each row starts where the one before it left. A page whose
// keys change fails here until the README says the same.
#include <gtest/gtest.h>

#include <vector>

#include "core/game_state.h"
#include "core/stage_end.h"
#include "game_session.h"

namespace {

constexpr int kPadD = 512;          // button 6
constexpr int kEscape = 1 << 30;    // no pad bit: the Escape key

struct Hold {
  int padWord;
  int frames;
};
using Keys = std::vector<Hold>;

// A fresh press of each word in turn.
Keys Press(const std::vector<int>& words) {
  Keys keys;
  for (int word : words) keys.insert(keys.end(), {{word, 1}, {0, 1}});
  return keys;
}

struct PageExit {
  const char* page;
  Keys keys;
  bool (*arrived)();
  const char* leadsTo;
  int wait = 400;  // passes with nothing held until it gets there
};

bool loopEnded = false;

bool OnPage(int page) { return Scene == kSceneTitle && MenuState.page == static_cast<float>(page); }
bool AtMainMenu() { return OnPage(6); }
bool Ended() { return loopEnded; }

// The page first shows itself (fades in); then its keys, then a wait for the page
// they lead to.
bool Leave(GameSession& game, const PageExit& exit) {
  SCOPED_TRACE(testing::Message() << exit.page << " -> " << exit.leadsTo);
  loopEnded = !game.Hold(0, 20);
  for (const Hold& hold : exit.keys) {
    for (int i = 0; i < hold.frames && !loopEnded; ++i) {
      loopEnded = !game.Pass(hold.padWord & ~kEscape, (hold.padWord & kEscape) != 0);
    }
  }
  for (int i = 0; i < exit.wait && !exit.arrived() && !loopEnded; ++i) loopEnded = !game.Pass(0);
  EXPECT_TRUE(exit.arrived()) << "scene " << Scene << " page " << MenuState.page << " phase " << ScenePhase;
  return exit.arrived();
}

void LeaveAll(GameSession& game, const std::vector<PageExit>& exits) {
  for (const PageExit& exit : exits) {
    if (!Leave(game, exit)) return;
  }
}

Keys Down(int count) { return Press(std::vector<int>(count, kPadDown)); }
Keys Then(Keys first, const Keys& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

TEST(ReadmeKeys, TheTitleMenuPagesAreLeftByTheirKeys) {
  GameSession game;
  loopEnded = false;
  StartWithAFreshSave(game, /*totalLevel=*/8);
  const std::vector<PageExit> exits = {
      {"logo and notice", {{kPadSecond, 40}}, [] { return OnPage(3); }, "title", 200},
      {"title", Press({kPadFire}), AtMainMenu, "main menu"},
      {"main menu", Press({kPadSecond}), [] { return OnPage(11); }, "title"},
      {"title", Press({kPadFire}), AtMainMenu, "main menu"},
      {"main menu", Press({kPadFacing}), [] { return OnPage(20); }, "manual page"},
      {"manual page", Press({kPadFacing}), AtMainMenu, "main menu"},
      {"main menu", Then(Down(4), Press({kPadFire})), [] { return OnPage(14); }, "records, rankings tab"},
      {"records, rankings tab", Press({kPadFire}), AtMainMenu, "main menu"},
      {"main menu", Then(Down(4), Press({kPadFire})), [] { return OnPage(14); }, "records, rankings tab"},
      {"records, rankings tab", Press({kPadRight}), [] { return OnPage(18); }, "records, replays tab"},
      {"records, replays tab", Press({kPadRight, kPadFire}), AtMainMenu, "main menu"},
      {"main menu", Then(Down(5), Press({kPadFire})), [] { return OnPage(8); }, "options"},
      {"options", Press({kPadUp, kPadFire}), AtMainMenu, "main menu"},
      {"main menu", Then(Down(5), Press({kPadFire})), [] { return OnPage(8); }, "options"},
      {"options", Down(4), [] { return MenuCursorY == 222; }, "key configuration, action 2's row"},
      {"key configuration", Press({kPadD}), [] { return KeyConfig[1] == kPadD; }, "action 2 on D"},
      {"key configuration", Press({kPadSecond}), [] { return KeyConfig[1] == kPadSecond; }, "action 2 on Z"},
      {"key configuration", Press({kPadUp, kPadUp, kPadUp, kPadUp, kPadUp, kPadFire}), AtMainMenu, "main menu"},
      {"main menu", Then(Down(3), Press({kPadFire})), [] { return OnPage(17); }, "practice set-up"},
      {"practice set-up", Press({kPadUp, kPadFire}), AtMainMenu, "main menu"},
      {"main menu", Press({kPadFire}), [] { return Scene == kSceneLoadout; }, "loadout"},
      {"loadout", Press({kPadSecond}), AtMainMenu, "main menu"},
      {"main menu", Then(Down(6), Press({kPadFire})), Ended, "the program's end"},
  };
  LeaveAll(game, exits);
  QuitRequest = 0;
}

bool InPlay() { return Scene == kScenePlay && Paused == 0; }
bool AtContinue() { return Scene == kSceneResults && ScenePhase == 3; }
bool AtClosing() { return Scene == kSceneResults && ScenePhase == 13; }
bool BackAtTitle() { return Scene == kSceneTitle && MenuState.page == 0.0f; }

// A lost last life, to the continue question (the death and the game over's fade-in
// shortened).
void ToContinue(GameSession& game) {
  LoseLastLife();
  ASSERT_GT(PassUntil(game, [] { return ScenePhase == 1; }, 10), 0);
  DeathFrames = 268;
  ASSERT_GT(PassUntil(game, [] { return Scene == kSceneResults && ScenePhase == 2; }, 10), 0);
  PhaseTimer = 255;
  ASSERT_GT(PassUntil(game, AtContinue, 10), 0);
}

// From the rankings page to the title, the closing picture's wait shortened.
void LeaveTheResults(GameSession& game, const Keys& toRankings) {
  LeaveAll(game, {{"results", Then(toRankings, Press({kPadFire})), AtClosing, "closing picture"}});
  MenuState.backdropDarken = 296.0f;
  LeaveAll(game, {{"closing picture", {{kPadFire, 10}}, BackAtTitle, "title"}});
}

// Into play past the stage's title card (shortened), which refuses the pause.
void StartPlaying(GameSession& game) {
  ToMainMenu(game);
  StartRun(game, 0);
  TitleCardFrame = 398;  // the stage starts at 400
  ASSERT_GT(PassUntil(game, [] { return TitleCardFrame > 400; }, 10), 0);
  TitleCardFrame = 670;
  ASSERT_GT(PassUntil(game, [] { return TitleCardActive == 0; }, 20), 0);
}

TEST(ReadmeKeys, PlayPauseShopContinueAndResultsAreLeftByTheirKeys) {
  GameSession game;
  loopEnded = false;
  StartWithAFreshSave(game);
  StartPlaying(game);
  LeaveAll(game, {
      {"play", Press({kPadPause}), [] { return Paused == 1; }, "pause"},
      {"pause", Press({kPadFacing}), [] { return ManualShown == 1; }, "manual page"},
      {"manual page", Press({kPadFacing, kPadPause}), [] { return ManualShown == 0 && InPlay(); }, "play"},
      {"pause", Then(Press({kPadPause}), {{kPadFire | kPadSpecial, 121}}), [] { return OnPage(3); }, "title", 0},
  });
  StartPlaying(game);
  TimelineHalt = kHaltCleared;  // the stage's end, its tally shortened
  ASSERT_GT(PassUntil(game, [] { return TimelineHalt == kHaltTally; }, 10), 0);
  ShopEmblem[2] = 0.73f;
  ASSERT_GT(PassUntil(game, [] { return TimelineHalt == kHaltShop; }, 30), 0);
  LeaveAll(game, {{"shop", Press({kPadDown, kPadDown, kPadSpecial}), [] { return Stage == 2; }, "the next stage"}});
  ToContinue(game);
  LeaveAll(game, {{"continue", Press({kPadFire}), [] { return Scene == kScenePlay; }, "play (YES)"}});
  ToContinue(game);
  LeaveAll(game, {{"continue", Press({kPadDown, kPadFire}), [] { return ScenePhase == 6; }, "results (NO)"}});
  AwaitResultsNavigation(/*shortened=*/true);
  LeaveTheResults(game, Press({kPadLeft}));
}

TEST(ReadmeKeys, NameEntryAndReplayPlaybackAreLeftByTheirKeys) {
  GameSession game;
  loopEnded = false;
  StartWithAFreshSave(game);
  StartAGame(game);
  ASSERT_TRUE(game.Hold(kPadRight | kPadFire, 300));
  ToContinue(game);
  AnswerContinue(/*yes=*/false);
  AwaitResultsNavigation(/*shortened=*/true);
  const auto written = [] {
    const int* name = ReplayList[3].name;
    return PhaseTimer == 100 && name[0] == 'B' && name[1] == 'A' && name[2] == 'A';
  };
  LeaveAll(game, {
      {"results", Press({kPadRight}), [] { return ScenePhase == 10; }, "replay save"},
      {"replay save", Then(Down(2), Press({kPadFire})), [] { return MenuState.blinkTimer == 1.0f && MenuState.fade == 1.0f; },
       "OK? with NO marked"},
      {"OK?", Press({kPadLeft, kPadFire}), [] { return MenuState.blinkTimer == 2.0f; }, "name entry"},
      {"name entry", Press({kPadUp, kPadFire, kPadFire, kPadSecond, kPadFire, kPadFire}), written, "slot 3 as BAA"},
  });
  LeaveTheResults(game, Press({kPadRight}));
  ASSERT_TRUE(PlayReplay(game, 3));
  LeaveAll(game, {
      {"replay playback", {{kPadFire, 3}}, [] { return FrameWaitOffset == -8; }, "faster", 0},
      {"replay playback", {{kPadSecond, 3}}, [] { return FrameWaitOffset == -1000; }, "fastest", 0},
      {"replay playback", {{kPadSpecial, 3}}, [] { return FrameWaitOffset == 50; }, "slower", 0},
      {"replay playback", {{kPadPause, 110}}, [] { return Scene == kSceneResults && WatchingReplay == 1; }, "its results", 5},
      {"results", {{kEscape, 1}}, Ended, "the program's end"},
  });
}

}  // namespace
