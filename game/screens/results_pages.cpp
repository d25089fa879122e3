// The results: set-up, the turning backdrop, the statistics and rankings pages, the
// moves between the three pages, and the fade-out after the rankings page.
#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/resource_loaders.h"
#include "core/sound_control.h"
#include "float_to_int.h"
#include "game_library.h"
#include "screens/menu_common.h"
#include "screens/results.h"

namespace {

enum ResultsPicture : int { kEmblem = 0, kStrip = 1, kPageHeader = 2 };
constexpr int kStripStep = 10;
constexpr int kStripEnd = 1020;
constexpr float kEmblemTurn = 0.001f;
constexpr float kNavigationFrom = 0.2f;  // emblem angle; about 200 frames
constexpr int kResultsMusicChannel = 4;
constexpr int kFadeOutFrames = 150;
constexpr int kLeaveSe = 3;

float& EmblemAngle() { return ShopEmblem[2]; }

void KeepPacing() {
  if (VSyncOffOption == 0) SetSyncToVBlank(1);
  FrameWaitOffset = 0;
}

// A page: its tab and its phase.
struct Page {
  float tab;
  int phase;
};
constexpr Page kStatistics = {kStatisticsTab, kPhaseStatistics};
constexpr Page kReplaySave = {kReplaySaveTab, kPhaseReplaySave};
constexpr Page kRankings = {kRankingsTab, kPhaseRankings};

// Where left and right lead from each page.
struct PageLinks {
  Page page, left, right;
};
constexpr PageLinks kLinks[] = {
    {kStatistics, kRankings, kReplaySave},
    {kReplaySave, kStatistics, kRankings},
    {kRankings, kReplaySave, kStatistics},
};
constexpr const PageLinks& kSavePageLinks = kLinks[1];

// A move onto the save page goes one page further while saving is barred.
void MoveTo(const Page& page, bool leftward) {
  if (page.phase == kPhaseReplaySave && !SavingAllowed()) {
    MoveTo(leftward ? kSavePageLinks.left : kSavePageLinks.right, leftward);
    return;
  }
  // The way from the statistics to the save page shows one black frame.
  if (page.phase == kPhaseReplaySave && MenuState.cursor == kStatisticsTab) FillScreen(0, 0, 0);
  MenuState.cursor = page.tab;
  ScenePhase = page.phase;
}

}  // namespace

bool SavingAllowed() {
  return WatchingReplay == 0 && ContinuesUsed == 0 && PracticeFlag == 0 && RecordOptionA == 1 && RecordOptionB == 1;
}

void ResultsSetUp() {
  const int emblemX = RandomInRange(1400);
  const int emblemY = RandomInRange(1000);
  ShopEmblem[0] = static_cast<float>(emblemX);
  ShopEmblem[1] = static_cast<float>(emblemY);
  EmblemAngle() = 0.0f;
  DeathFrames = 0;
  StopPadRumble(1);
  LoadResultsResources();
  SetBgmFade(6, kFadeOutStop);
  SetBgmFade(2, kFadeOutStop);
  // Frees what the channel still holds (the music of a playback's results) first.
  LoadResultsMusic(EndingReached == 1 ? 1 : 0);
  SetBgmFade(kResultsMusicChannel, kFadeFull);
  ScenePhase = kPhaseStatistics;
  MenuState.fade = 0.0f;
  MenuCursorY = 143;
  MenuState.cursor = kStatisticsTab;
  MenuState.blinkTimer = 0.0f;
  KeepPacing();
  EnterRankingBoards();
}

void DrawResultsBackdrop() {
  float& a = EmblemAngle();
  a += kEmblemTurn;
  const int alpha = FloatToInt(a * 500.0f);
  SetBlendMode(kBlendAlpha, alpha);
  for (int x = 0; x <= kStripEnd; x += kStripStep) DrawGraphAt(x, 0, StageImages[kStrip], 1);
  SetBlendMode(kBlendAdd, alpha);
  const float x = ShopEmblem[0];
  const float y = ShopEmblem[1];
  const int emblem = StageImages[kEmblem];
  DrawGraphRotated(FloatToInt(x), FloatToInt(y), 1.0, a, emblem, 1, 0);
  DrawGraphRotated(FloatToInt(x / 2.0f), FloatToInt(y / 2.0f), 1.0, 2.0 * a, emblem, 1, 0);
  DrawGraphRotated(DoubleToInt(x * 1.5), DoubleToInt(y * 1.5), 1.0, -1.5 * a, emblem, 1, 0);
}

void DrawPageHeader(int picture) {
  SetBlendMode(kBlendAdd, FloatToInt(EmblemAngle() * 500.0f - 50.0f));
  DrawGraphAt(0, -40, StageImages[picture], 1);
}

void DrawPageTab() { DrawGraphAt(DoubleToInt(MenuState.cursor + 114.0), 55, SelectionMarker(), 1); }

void NavigatePages() {
  if (EmblemAngle() <= kNavigationFrom) return;
  const float tab = MenuState.cursor;
  for (const PageLinks& links : kLinks) {
    if (links.page.tab != tab) continue;
    if (Left()) {
      ConsumeLeft();
      MoveTo(links.left, true);
    } else if (Right()) {
      ConsumeRight();
      MoveTo(links.right, false);
    } else if (tab == kRankingsTab && Decide()) {
      ScenePhase = kPhaseResultsFadeOut;
      PhaseTimer = 0;
      StartSound(SeHandles[kLeaveSe], 1, 1);
    }
  }
}

void StatisticsPage() {
  StopPadRumble(1);
  for (int channel : {3, 2, 6, 8}) SetBgmFade(channel, kFadeOutStop);
  KeepPacing();
  DrawResultsBackdrop();
  DrawPageHeader(kPageHeader);
  DrawPlayStatistics();
  DrawPageTab();
  NavigatePages();
}

void RankingsPage() {
  DrawResultsBackdrop();
  DrawPageHeader(kPageHeader);
  DrawRankingBoards();
  DrawPageTab();
  NavigatePages();
}

void ResultsFadeOut() {
  ++PhaseTimer;
  SetBgmFade(kResultsMusicChannel, kFadeOutStopFast);
  DrawResultsBackdrop();
  SetBlendMode(kBlendAlpha, 2 * PhaseTimer);
  FillScreen(0, 0, 0);
  if (PhaseTimer > kFadeOutFrames) ScenePhase = kPhaseLoadClosing;
}
