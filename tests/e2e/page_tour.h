// A tour of the game's pages in a running game: pages left by their keys, row by row,
// with frames saved on the way, their words checked (word_cover_check.h) and their
// grounds seen to reach the screen's edges (edge_band_check.h). The
// passes in between run without drawing; only the saved frames are drawn.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game_state.h"
#include "game_session.h"

constexpr int kPadD = 512;        // button 6
constexpr int kEscape = 1 << 30;  // no pad bit: the Escape key
// The results' emblem angle once every page is drawn in full.
constexpr float kResultsFullStrength = 0.62f;

using Keys = std::vector<ScriptSegment>;

// A fresh press of each word in turn.
Keys Press(const std::vector<int>& words);
Keys Down(int count);
// Down from where the main menu's cursor stands now (the menu keeps its item) to `item`.
Keys DownToItem(int item);
template <typename... More>
Keys Then(Keys first, const More&... more) {
  (first.insert(first.end(), more.begin(), more.end()), ...);
  return first;
}

struct PageExit {
  const char* page;
  Keys keys;
  bool (*arrived)();
  const char* leadsTo;
  const char* frame = nullptr;  // saved as "<frame>.png" once the page shows
  int shows = 20;               // passes with nothing held while the page fades in
  int wait = 400;               // passes with nothing held until it gets there
};

bool OnPage(int page);
bool AtTitle();
bool AtMainMenu();
bool InLoadout();
bool InPlay();
// The frame loop has ended (the program quit).
bool Ended();

class PageTour : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // `frames` passes with `padWord` held (kEscape for the Escape key).
  void Hold(int padWord, int frames);
  // One pass drawn in full, saved as "<name>.png", its words checked and its edges
  // (edge_band_check.h).
  void Save(const std::string& name, int padWord = 0);
  // Each page first shows itself (its frame saved); then its keys, then a wait for the
  // page they lead to. The walk stops at a page its keys did not leave as the row says.
  void LeaveAll(const std::vector<PageExit>& exits);

  // The frames a shortened wait leaves out, counted off the HUD's own timers (side
  // notices, the timed notice, the last-hit panel) as those frames would have.
  static void LeaveOutFrames(int frames);
  // The title card moved on to `frame`, the stage's timeline (which runs with the card)
  // and the HUD's timers with it.
  static void MoveTheCardTo(int frame);
  // Past the stage's title card (shortened), which refuses the pause; the HUD as the
  // card's whole fade leaves it, the run's opening white veil gone as by then.
  void PastTheTitleCard();
  // The title card halfway through the cross-fade of its two pictures, saved as
  // "<name>"; the card then goes on from where it was.
  void SaveTheTitleCard(const std::string& name);
  // From the main menu through the practice set-up (game mode, start stage) and the
  // loadout to the first frame of play.
  void StartPractice(int mode, int stage);
  // From play through the pause to the standing main menu.
  void QuitToMainMenu();
  // From the main menu to the records' replays tab.
  void ToTheReplaysTab();
  // A lost last life, to the continue question (the death and the game over's fade-in
  // shortened); `fadeInFrame` saves the game over's picture at the end of its fade-in.
  void ToContinue(const char* fadeInFrame = nullptr);
  // From a results page through the rankings page to the title, the closing picture's
  // wait shortened; the frames of the three pages saved when named.
  void LeaveTheResults(const Keys& toRankings, const char* resultsFrame = nullptr, const char* rankingsFrame = nullptr,
                       const char* closingFrame = nullptr);

  GameSession game_;
};
