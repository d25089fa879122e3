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

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../support/save_frame.h"
#include "../support/word_file_layouts.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/replay_files.h"
#include "core/stage_end.h"
#include "game_session.h"
#include "page_tour.h"
#include "scenario.h"
#include "screens/results.h"
#include "word_cover_check.h"

namespace {

// Save file words (0-based) of the settings a long-time player has.
constexpr int kTotalLevelWord = 1;
constexpr int kTitlePictureSetWord = 32;
constexpr int kHudCountersOffWord = 34, kHudPanelOffWord = 35, kHudNoticeOffWord = 36;
constexpr int kFirstVariantWord = 77;
constexpr int kFirstPlayCountWord = 2, kFirstPlayFramesWord = 14;

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
  // Plays and minutes by mode whose figures on the main menu's panels, with the total
  // level, use every digit: the extra mode's 1234 plays in 5678 minutes, 1244 plays and
  // 5680 minutes in all.
  const int plays[] = {10, 0, 1234}, minutes[] = {2, 0, 5678};
  for (int mode = 0; mode < 3; ++mode) {
    words[kFirstPlayCountWord + mode] = plays[mode];
    words[kFirstPlayFramesWord + mode] = minutes[mode] * 3600;
  }
  return words;
}

// Where the HUD is seen in a stage: a point of its timeline (the rows before it passed as
// by a player who cleared every wave) and of the camera's travel over the world.
struct ScrollPoint {
  int timeline;
  float cameraX, cameraY;
};

// The counters a stage moves every frame, as a run that got to `timeline` without
// waiting has them: they bring on its later scenery, and fade and change its backdrops.
void SetStageClocks(int stage, int timeline) {
  int& progress = StageEventState[4][1];
  if (stage == 4) progress = std::min(4 * timeline, 31000);
  if (stage == 5) progress = timeline;
  if (stage == 6 || stage == 8) BackgroundBlendCounter = timeline;
  if (stage == 8 && GameMode != 2) {
    // The backdrop the boss chain has left by then: the first boss's wreck hands over
    // before the hold at 5300 lets the timeline on, the body closes before the hold
    // at 8200, the last boss dies before the hold at 9500. The extra mode has no
    // script to bring the bosses.
    EndBackdropPhase = timeline < 5300 ? 1 : timeline < 8200 ? 2 : timeline < 9500 ? 3 : 4;
    EndBackdropTimer = std::max(0, timeline - 9500);
  }
}

// Each stage's halt (stage 7 ends on its own clock after its boss, stage 8 runs on to
// the ending at 10800): its points are spread over it.
constexpr int kStageLength[] = {2400, 4000, 6720, 10300, 8020, 6800, 5000, 10800};
// The camera's travel: the world's top left, its bottom, its middle, its far right.
constexpr ScrollPoint kViews[] = {{0, 0.0f, 0.0f}, {0, 1800.0f, 1152.0f}, {0, 3600.0f, 500.0f}, {0, 5376.0f, 1152.0f}};
// Stage 8's captions come up at these rows, each with the backdrop of its part.
constexpr int kStage8CaptionRows[] = {4450, 6750, 8460};

// The stage's start, as its title card ends, and points at 35%, 62% and 90% of it.
std::vector<ScrollPoint> ScrollPointsOf(int stage) {
  constexpr int kCardEnd = 700, kShare[] = {0, 35, 62, 90};
  std::vector<ScrollPoint> points;
  for (int k = 0; k < 4; ++k) {
    ScrollPoint point = kViews[k];
    point.timeline = std::max(kCardEnd, kStageLength[stage - 1] * kShare[k] / 100);
    points.push_back(point);
  }
  return points;
}

// Every side notice the game gives, with the points it pays (the unlock notice, 25,
// has a place of its own below them).
struct Notice {
  int icon, points;
};
constexpr Notice kNotices[] = {
    {0, 6000},      {1, 8000},      {2, 24000},    {3, 800000},   {4, 260000},   {5, 1600000}, {6, 180000},
    {7, 920000},    {8, 450000},    {9, 999999},   {10, 100000},  {11, 200000},  {12, 300000}, {13, 240000},
    {14, 655350},   {15, 6666},     {16, 44444},   {17, 640000},  {18, 12345},   {19, 36000},  {20, 23456},
    {22, 31200},    {23, 999999},   {28, 4000},    {29, 0},       {30, 25600},   {31, 51200},  {32, 500000}};
constexpr int kUnlockNotice = 25;

// The ending's image sets: the right-hand caption pages, the left-hand ones, the staff
// roll (its pictures one animation each, 417 to 439).
constexpr int kRightPages = 22, kLeftPages = 23, kStaffRoll = 24;
constexpr int kFirstRollPicture = 417, kPastTheRoll = 440;
// The ending's rows of its fade to black and of the staff pictures' fader (states 1 to 4
// show two pictures in turn, states 5 and 6 the closing pair).
constexpr int kFadeToBlackRow = 1400, kFirstStaffPicturesRow = 1700, kLastStaffPicturesRow = 12100;
// The ending's rows from its second scene on (the 28 caption pages among them), in order.
constexpr int kEndingRows[] = {2500, 3150, 3250, 3820, 4000, 4100, 4300, 4600, 4700, 4850, 5050, 5300, 5550,
                               5800, 6050, 6300, 6550, 6800, 7050, 7300, 7550, 7700, 7800, 8050, 8250, 8301,
                               8550, 8800, 9050, 9200, 9300, 9550, 9800, 9801, 10050, 10300, 10550, 10800};

class WordTour : public PageTour {
 protected:
  // The program started on `words`: the loading picture it shows first (drawn straight
  // from its file before the frame loop begins) is saved as "<loadingFrame>" and checked.
  void StartAndSaveTheLoadingPicture(const std::vector<int>& words, const std::string& loadingFrame) {
    Scenario::SkipDrawing(false);
    SaveNextFrame(loadingFrame);
    CheckWordsOfNextFrame(loadingFrame);
    StartWithSaveWords(game_, words);
    Scenario::SkipDrawing(true);
    EXPECT_FALSE(SavedFramePath().empty()) << loadingFrame;
  }
  // Nine replays of long runs, their scores eight digits long, in the session's folder.
  void WriteAVeteransReplays() {
    for (int slot = 1; slot <= kReplaySlotCount; ++slot) {
      const int letter = 'A' + slot;
      std::vector<int> header = {letter, letter + 1, letter + 2, 98765432 - 1111111 * slot, slot % 6, (slot + 2) % 6,
                                 slot % 2, slot % 4, slot % 4, 4321 * slot, 1234 * slot, 3600 + slot};
      header.resize(18, 0);
      game_.folder().Write(ReplayFileName(slot), EncodeWords(ReplayWords(header, 0, {})));
    }
  }
  // A fresh press.
  void Tap(int padWord) {
    Hold(padWord, 1);
    Hold(0, 1);
  }
  // The stage's title card: its first picture at full strength over black, then its
  // second at full strength as the stage shows under it.
  void SaveTheCardPictures(const std::string& name) {
    ASSERT_GT(PassUntil(game_, [] { return TitleCardActive == 1; }, 400), 0);
    EndFadeTimer = 0;  // the run's opening white veil is over by then
    MoveTheCardTo(99);
    Save(name + "-first");
    MoveTheCardTo(379);
    Save(name + "-second");
  }
  // The play at a scroll point: the timeline moved to `lead` passes before it, played
  // with the shot held, then the view put at the point with the dragon in it.
  void ToScrollPoint(const ScrollPoint& point, int lead = 60) {
    LeaveOutFrames(point.timeline - lead - StageTimeline);
    StageTimeline = point.timeline - lead;
    SetStageClocks(Stage, StageTimeline);
    Hold(kPadFire, lead);
    CameraX = point.cameraX, CameraY = point.cameraY;
    ObjectPool[kPlayerSlot].x = point.cameraX + 300.0f;
    ObjectPool[kPlayerSlot].y = point.cameraY + 200.0f;  // above the captions and the warning
  }
  // A stage cleared: its tally (shortened) counted out, then the shop's way on; with a
  // name, each of the shop's places is first saved under the cursor as "<name>-<n>".
  void OnToTheNextStage(const std::string& shopPlaces = "") {
    const int next = Stage + 1;
    TimelineHalt = kHaltCleared;
    ASSERT_GT(PassUntil(game_, [] { return TimelineHalt == kHaltTally; }, 2), 0);
    ShopEmblem[2] = 0.73f;  // the tally's emblem near the turn that ends it
    ASSERT_GT(PassUntil(game_, [] { return TimelineHalt == kHaltShop; }, 10, kPadSecond), 0);
    if (!shopPlaces.empty()) SaveTheShopsPlaces(shopPlaces);
    LeaveAll({{"shop", Then(Down(2), Press({kPadSpecial})), [] { return TitleCardActive == 1; }, "the next stage",
               nullptr, 0}});
    ASSERT_EQ(Stage, next);
  }
  // The cursor over each of the shop's seven places in turn: shot, speed, guard heal,
  // level-up, turbo, option, the way on.
  void SaveTheShopsPlaces(const std::string& name) {
    const struct {
      int move, place;  // the key that brings the cursor there, and the place's item
    } steps[] = {{0, 0},         {kPadRight, 250}, {kPadRight, 500}, {kPadDown, 540},
                 {kPadLeft, 290}, {kPadLeft, 40},  {kPadDown, 330}};
    int n = 0;
    for (const auto& step : steps) {
      if (step.move != 0) Tap(step.move);
      ASSERT_EQ(ShopCursor[0] + ShopCursor[1], step.place);
      Save(name + "-" + std::to_string(++n));
    }
  }
  // The kill chain of the held special, at counts that between them use every digit of
  // its figures.
  void SaveTheKillChain(const std::string& name) {
    std::tie(PowerModeB, ChainTimer) = std::tuple(1, 2100);  // as the held special starts them
    for (int kills : {12, 34, 56, 78, 90}) {
      KillChain = kills;
      ChainScore = kills * 6400;
      Save(name + std::to_string(kills), kPadFire);
    }
    PowerModeB = ChainTimer = KillChain = ChainScore = 0;
  }
  // The side notices, ten at a time (as many as the HUD has places for), over the play.
  void SaveTheSideNotices(const std::string& name) {
    for (std::size_t first = 0; first < std::size(kNotices); first += kSideNoticeCount) {
      for (SideNotice& notice : SideNotices) notice = {};
      for (std::size_t n = first; n < std::min(first + kSideNoticeCount, std::size(kNotices)); ++n) {
        AddInfoBonus(kNotices[n].icon, kNotices[n].points);
      }
      if (first == 0) ShowRecordingNotice(kUnlockNotice);
      Save(name + "-" + std::to_string(first / kSideNoticeCount + 1), kPadFire);
    }
    for (SideNotice& notice : SideNotices) notice = {};
  }
  // The staff pictures' fader from the ending's row `row`: each of its pictures from
  // `firstState` on (a rising state, every other one) saved once it is at full strength.
  void SaveTheStaffPictures(int row, int firstState, int lastState, const std::string& name) {
    StageTimeline = row - 1;
    Hold(0, 1);
    for (int state = firstState; state <= lastState; state += 2) {
      ASSERT_GT(PassUntil(game_, [state] { return CreditPictureState == state && CreditPictureAlpha >= 255; }, 500),
                0)
          << "fader state " << state;
      Save(name + std::to_string(state));
    }
  }
  // The ending's caption pages, staff roll and staff pictures, every picture of them at
  // full strength: a run put at stage 8's end, the fade to black and the first two staff
  // pictures, then the ending's rows from the second scene on, each performed in turn
  // without the waits between them. Each caption page, once its row has put it up, is
  // moved on to full strength and saved, with the staff roll (from its row on) showing
  // its next picture in full; a page saved goes on to its fade-out and leaves before the
  // next row. Last, the closing pair of staff pictures.
  void TourTheEnding(bool secondSet) {
    StartWithSaveWords(game_, VeteransSave({.secondPictureSet = secondSet}));
    StartAGame(game_);
    std::tie(Stage, StageTimeline) = std::tuple(8, 10799);
    ASSERT_GT(PassUntil(game_, [] { return Scene == kSceneEnding; }, 60), 0);
    const std::string set = std::string("tour-ending-set-") + (secondSet ? "2" : "1");
    StageTimeline = kFadeToBlackRow - 1;
    Hold(0, 1);
    SaveTheStaffPictures(kFirstStaffPicturesRow, 1, 3, set + "-staff-state-");
    const std::string name = set + "-page-";
    std::map<int, std::set<int>> shown;  // the pictures saved in full, by image set
    int pages = 0;
    for (int row : kEndingRows) {
      for (GameObject& object : ObjectPool) {
        if (object.state == kStateActive && (object.imageSet == kRightPages || object.imageSet == kLeftPages)) {
          object.phase = 1.0f, object.fade = 261.0f;  // past its fade-out: it leaves on the next pass
        }
      }
      StageTimeline = row - 1;
      Hold(0, 1);
      // The veils of the ending's start and of the second scene, long over when the first
      // page comes.
      EndingFadeIn = EndFadeTimer = 0;
      GameObject* page = nullptr;
      GameObject* roll = nullptr;
      for (GameObject& object : ObjectPool) {
        if (object.state != kStateActive) continue;
        if (object.imageSet == kRightPages || object.imageSet == kLeftPages) page = &object;
        if (object.imageSet == kStaffRoll) roll = &object;
      }
      if (page == nullptr) continue;
      page->fade = 1.0f;
      const int nextRollPicture = kFirstRollPicture + static_cast<int>(shown[kStaffRoll].size());
      if (roll != nullptr && nextRollPicture < kPastTheRoll) {
        roll->animation = nextRollPicture;
        std::tie(roll->animStep, roll->phase, roll->fade) = std::tuple(0, 0.0f, 1.0f);
      }
      Save(name + std::to_string(++pages));
      for (GameObject* shownInFull : {page, roll}) {
        if (shownInFull != nullptr && shownInFull->state == kStateActive && shownInFull->fade <= 0.0f) {
          shown[shownInFull->imageSet].insert(shownInFull->animation);
        }
      }
    }
    EXPECT_EQ(pages, 28);
    EXPECT_EQ(shown[kRightPages].size(), 15u);
    EXPECT_EQ(shown[kLeftPages].size(), 13u);
    EXPECT_EQ(shown[kStaffRoll].size(), 23u);
    SaveTheStaffPictures(kLastStaffPicturesRow, 5, 5, set + "-staff-state-");
  }
  // The extra mode runs no stage script (no waves, no rows moving the backdrops): each
  // stage from `first` to `last` once, by a practice run, at two of its points.
  void TourTheExtraMode(int first, int last) {
    StartWithSaveWords(game_, VeteransSave());
    ToMainMenu(game_);
    for (int stage = first; stage <= last; ++stage) {
      SCOPED_TRACE(testing::Message() << "stage " << stage);
      StartPractice(2, stage);
      ASSERT_EQ(GameMode, 2);
      PastTheTitleCard();
      const std::vector<ScrollPoint> points = ScrollPointsOf(stage);
      for (int k : {0, 2}) {
        ToScrollPoint(points[k]);
        Save("tour-mode-2-stage-" + std::to_string(stage) + "-" + std::to_string(k + 1), kPadFire);
      }
      QuitToMainMenu();
    }
  }
  // A run of `mode` through the eight stages, the stages from `first` to `last` seen:
  // each one's title card, then the HUD at each of its scroll points (stage 8's
  // captions among them), then its clear. The stages before `first` are only cleared.
  void TourTheStages(int mode, int first, int last) {
    const std::string run = "tour-mode-" + std::to_string(mode);
    const std::vector<int> save = VeteransSave({.secondPictureSet = mode == 1});
    if (mode == 1 && first == 1) {
      StartAndSaveTheLoadingPicture(save, "tour-loading-set-2");
    } else {
      StartWithSaveWords(game_, save);
    }
    ToMainMenu(game_);
    StartRun(game_, mode);
    for (int stage = 1; stage <= last; ++stage) {
      SCOPED_TRACE(testing::Message() << "stage " << stage);
      if (stage < first) {
        PastTheTitleCard();
        OnToTheNextStage();
        continue;
      }
      const std::string at = run + "-stage-" + std::to_string(stage);
      SaveTheCardPictures(run + "-title-card-" + std::to_string(stage));
      PastTheTitleCard();
      int k = 0;
      for (const ScrollPoint& point : ScrollPointsOf(stage)) {
        ToScrollPoint(point);
        // The first and last points with one life left: the warning over the ground in both
        // its blinking phases, the two modes taking them in turn (the HUD moves the cycle on
        // before it draws: 3 gives the bright phase, 1 the dim one).
        if (k == 0 || k == 3) Lives = 1.0f, FrameCycle4 = (k == 0) == (mode == 0) ? 3 : 1;
        Save(at + "-" + std::to_string(++k), kPadFire);
        Lives = 3.0f;
        if (mode == 0 && stage == 4 && k == 1) {
          // The shot held into the next waves, which spawn at the dragon: the last enemy hit.
          ASSERT_GT(PassUntil(game_, [] { return LastHitPanel[4] >= 300; }, 600, kPadFire), 0);
          Save(at + "-last-hit", kPadFire);
        }
      }
      if (mode == 0 && stage == 3) SaveTheSideNotices(at + "-side-notices");
      if (mode == 0 && stage == 7) SaveTheKillChain(at + "-kill-chain-");
      if (stage == 8) {
        for (int caption = 1; caption <= 3; ++caption) {
          ToScrollPoint({kStage8CaptionRows[caption - 1], kViews[caption].cameraX, kViews[caption].cameraY}, 1);
          ASSERT_EQ(Stage8Caption, caption);
          // The caption's rise shortened: it shows at full strength from level 306.
          Stage8CaptionLevel = 300;
          ASSERT_GT(PassUntil(game_, [] { return Stage8CaptionLevel >= 310; }, 10, kPadFire), 0);
          Save(at + "-caption-" + std::to_string(caption), kPadFire);
        }
      } else if (stage < last) {
        OnToTheNextStage(mode == 1 && stage == 1 ? run + "-shop-place" : "");
      }
    }
  }
};

TEST_F(WordTour, MenusOfAVeteransSave) {
  WriteAVeteransReplays();
  StartAndSaveTheLoadingPicture(VeteransSave(), "tour-loading-set-1");
  // The notice's end: the build-up's first frame, the title picture at full strength
  // over the name's glow.
  Hold(0, 20);
  MenuState.backdropTimer = 238.0f;
  ASSERT_GT(PassUntil(game_, [] { return OnPage(1); }, 10), 0);
  MenuState.backdropTimer = 494.0f;
  Save("tour-title-picture");
  LeaveAll({
      {"build-up", {{40, kPadSecond}}, AtTitle, "title", nullptr, 0, 200},
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
  ToTheReplaysTab();
  LeaveAll({{"records, replays tab", Press({kPadRight, kPadFire}), AtMainMenu, "main menu",
             "tour-replays-of-a-veteran"}});
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
  ToTheReplaysTab();
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
  ToTheReplaysTab();
  LeaveAll({{"records, replays tab", Press({kPadFire}), [] { return ReplayMode == kReplayPlayback; }, "replay playback"}});
  Hold(0, 100);
  ASSERT_EQ(ReplayMode, kReplayPlayback);
  ASSERT_EQ(StageStarted, 1);
  Save("tour-replay-playback");
}

TEST_F(WordTour, EveryStageOfTheExtraModeInPracticeFirstHalf) { TourTheExtraMode(1, 4); }

TEST_F(WordTour, EveryStageOfTheExtraModeInPracticeSecondHalf) { TourTheExtraMode(5, 8); }

TEST_F(WordTour, TheEndingsPagesInTheFirstPictureSet) { TourTheEnding(false); }

TEST_F(WordTour, TheEndingsPagesInTheSecondPictureSet) { TourTheEnding(true); }

TEST_F(WordTour, NaturalModeStagesOneToFour) { TourTheStages(0, 1, 4); }

TEST_F(WordTour, NaturalModeStagesFiveToEight) { TourTheStages(0, 5, 8); }

TEST_F(WordTour, TrueModeStagesOneToFourInTheSecondPictureSet) { TourTheStages(1, 1, 4); }

TEST_F(WordTour, TrueModeStagesFiveToEightInTheSecondPictureSet) { TourTheStages(1, 5, 8); }

}  // namespace

// The grounds of the stages that once left black behind the view, at the camera's four
// corners, in practice runs of the extra mode (no waves cover the ground): stage 6 once
// its far picture has faded, stage 7 with its far scroll at its end, stage 8 in phase 4
// while that phase's picture fades in.
TEST_F(WordTour, StageGroundsAtTheCamerasCorners) {
  constexpr float kCorners[][2] = {{0.0f, 0.0f}, {5376.0f, 0.0f}, {0.0f, 1152.0f}, {5376.0f, 1152.0f}};
  StartWithSaveWords(game_, VeteransSave());
  ToMainMenu(game_);
  for (int stage : {3, 4, 6, 7, 8}) {
    SCOPED_TRACE(testing::Message() << "stage " << stage);
    StartPractice(2, stage);
    PastTheTitleCard();
    for (int corner = 0; corner < 4; ++corner) {
      ToScrollPoint({(stage == 6 ? 5200 : 800) + 100 * corner, kCorners[corner][0], kCorners[corner][1]});
      if (stage == 7) StageEventState[5][1] = 2046;  // 2048 after the pass's step
      if (stage == 8) std::tie(EndBackdropPhase, EndBackdropTimer) = std::tuple(4, 200);
      Save("tour-ground-stage-" + std::to_string(stage) + "-corner-" + std::to_string(corner + 1), kPadFire);
    }
    QuitToMainMenu();
  }
}
