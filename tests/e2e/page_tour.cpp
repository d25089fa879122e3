#include "page_tour.h"

#include <algorithm>
#include <tuple>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "core/stage_end.h"
#include "edge_band_check.h"
#include "scenario.h"
#include "screens/results.h"
#include "word_cover_check.h"

namespace {

bool loopEnded = false;

}  // namespace

Keys Press(const std::vector<int>& words) {
  Keys keys;
  for (int word : words) keys.insert(keys.end(), {{1, word}, {1, 0}});
  return keys;
}

Keys Down(int count) { return Press(std::vector<int>(count, kPadDown)); }

Keys DownToItem(int item) { return Down(item - static_cast<int>(MenuState.cursor) / 26); }

bool OnPage(int page) { return Scene == kSceneTitle && MenuState.page == static_cast<float>(page); }
bool AtTitle() { return OnPage(3); }
bool AtMainMenu() { return OnPage(6); }
bool InLoadout() { return Scene == kSceneLoadout; }
bool InPlay() { return Scene == kScenePlay; }
bool Ended() { return loopEnded; }

void PageTour::SetUp() {
  loopEnded = false;
  Scenario::SkipDrawing(true);
  KeepCallLog(false);
}

void PageTour::TearDown() {
  Scenario::SkipDrawing(false);
  ResetCallRecorder();
  QuitRequest = 0;
}

void PageTour::Hold(int padWord, int frames) {
  for (int i = 0; i < frames && !loopEnded; ++i) {
    loopEnded = !game_.Pass(padWord & ~kEscape, (padWord & kEscape) != 0);
  }
}

void PageTour::Save(const std::string& name, int padWord) {
  Scenario::SkipDrawing(false);
  SaveNextFrame(name);
  CheckWordsOfNextFrame(name);
  Hold(padWord, 1);
  Scenario::SkipDrawing(true);
  ASSERT_FALSE(SavedFramePath().empty()) << name;
  for (const std::string& band : EdgeBandsOf(LastSavedFrame())) ADD_FAILURE() << name << " shows " << band;
}

void PageTour::LeaveAll(const std::vector<PageExit>& exits) {
  for (const PageExit& exit : exits) {
    SCOPED_TRACE(testing::Message() << exit.page << " -> " << exit.leadsTo);
    Hold(0, exit.shows);
    if (exit.frame != nullptr) Save(exit.frame);
    for (const ScriptSegment& hold : exit.keys) Hold(hold.padWord, hold.frames);
    for (int i = 0; i < exit.wait && !exit.arrived() && !loopEnded; ++i) Hold(0, 1);
    ASSERT_TRUE(exit.arrived()) << "scene " << Scene << " page " << MenuState.page << " phase " << ScenePhase;
  }
}

void PageTour::LeaveOutFrames(int frames) {
  if (frames <= 0) return;
  const auto countDown = [frames](int& timer) { timer = std::max(0, timer - frames); };
  for (SideNotice& notice : SideNotices) countDown(notice.timer);
  countDown(HudNoticeTimer);
  countDown(LastHitPanel[4]);
}

void PageTour::MoveTheCardTo(int frame) {
  const int skipped = frame - TitleCardFrame;
  StageTimeline += skipped;
  LeaveOutFrames(skipped);
  TitleCardFrame = frame;
}

void PageTour::PastTheTitleCard() {
  MoveTheCardTo(398);  // the stage starts at 400
  ASSERT_GT(PassUntil(game_, [] { return TitleCardFrame > 400; }, 10), 0);
  MoveTheCardTo(670);
  ASSERT_GT(PassUntil(game_, [] { return TitleCardActive == 0; }, 20), 0);
  HudAlpha = 255;
  EndFadeTimer = 0;  // the run's opening white veil, gone long before the card ends
}

void PageTour::SaveTheTitleCard(const std::string& name) {
  ASSERT_GT(PassUntil(game_, [] { return TitleCardActive == 1; }, 400), 0);
  const int frame = TitleCardFrame, alpha = TitleCardAlpha;
  std::tie(TitleCardFrame, TitleCardAlpha) = std::tuple(263, 126);
  EndFadeTimer = 0;  // the run's opening white veil is over by then
  Save(name);
  std::tie(TitleCardFrame, TitleCardAlpha) = std::tuple(frame + 1, alpha);
}

void PageTour::StartPractice(int mode, int stage) {
  LeaveAll({
      {"main menu", Then(DownToItem(3), Press({kPadFire})), [] { return OnPage(17); }, "practice set-up"},
      {"practice set-up",
       Then(Press(std::vector<int>(mode, kPadRight)), Press({kPadDown}),
            Press(std::vector<int>(stage - 1, kPadRight)), Down(6), Press({kPadFire})),
       InLoadout, "loadout"},
      {"loadout", Press({kPadFire, kPadFire, kPadFire, kPadFire}), InPlay, "play"},
  });
}

void PageTour::QuitToMainMenu() {
  LeaveAll({{"play", QuitThroughThePause(), AtTitle, "title (through the pause)", nullptr, 0, 0}});
  ToMainMenu(game_);
}

void PageTour::ToTheReplaysTab() {
  LeaveAll({
      {"main menu", Then(DownToItem(4), Press({kPadFire})), [] { return OnPage(14); }, "records, rankings tab"},
      {"records, rankings tab", Press({kPadRight}), [] { return OnPage(18); }, "records, replays tab"},
  });
}

void PageTour::ToContinue(const char* fadeInFrame) {
  LoseLastLife();
  ASSERT_GT(PassUntil(game_, [] { return ScenePhase == 1; }, 10), 0);
  DeathFrames = 268;
  ASSERT_GT(PassUntil(game_, [] { return Scene == kSceneResults && ScenePhase == 2; }, 10), 0);
  if (fadeInFrame != nullptr) {
    PhaseTimer = 257;  // the fade-in's last frames, its pictures at full strength
    Save(fadeInFrame);
  } else {
    PhaseTimer = 255;
  }
  ASSERT_GT(PassUntil(game_, [] { return Scene == kSceneResults && ScenePhase == 3; }, 10), 0);
}

void PageTour::LeaveTheResults(const Keys& toRankings, const char* resultsFrame, const char* rankingsFrame,
                               const char* closingFrame) {
  ShopEmblem[2] = kResultsFullStrength;
  LeaveAll({
      {"results", toRankings, [] { return ScenePhase == kPhaseRankings; }, "rankings", resultsFrame, 60},
      {"rankings", Press({kPadFire}), [] { return Scene == kSceneResults && ScenePhase == 13; }, "closing picture",
       rankingsFrame, 60},
  });
  MenuState.backdropDarken = 296.0f;  // the closing picture's veil is gone
  LeaveAll({{"closing picture", {{10, kPadFire}}, [] { return Scene == kSceneTitle && MenuState.page == 0.0f; },
             "title", closingFrame}});
}
