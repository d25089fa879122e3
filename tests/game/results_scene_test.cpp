// The results scene's phases by the frame: game over and continue, the pages, the
// boards, the closing picture and the replay save page.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "../support/call_recorder.h"
#include "../support/scripted_input.h"
#include "../support/scratch_directory.h"
#include "../support/word_file_layouts.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/replay_files.h"
#include "screens/results.h"
#include "screens/screens.h"

namespace {

// Pad bits of the default key configuration: actions 1 (decide) and 2 (cancel).
enum Pad : int { kDown = 1, kLeft = 2, kRight = 4, kUp = 8, kCancel = 16, kDecide = 32 };
constexpr int kLeftHold = 2;  // BitHold entry of left

class Results : public testing::Test {
 protected:
  void SetUp() override {
    ResetCallRecorder();
    SetForwarding(Call::WriteSaveData, false);
    ResetModeState();
    MenuState = MenuStateRecord{};  // the cases enter pages directly, past the words their set-up writes
    NewGameInit();
    Scene = kSceneResults, RecordOptionA = RecordOptionB = 1;
  }
  void TearDown() override { ResetCallRecorder(); }
  // One frame of the scene with `pad` held, read by the input mapping.
  void Frame(int pad = 0) {
    SetScriptedInput(pad);
    ReadInput();
    RunResultScene();
  }
  void Press(int pad) { Frame(pad), Frame(); }
  int FramesUntil(const std::function<bool()>& done, int pad = 0) {
    for (int frames = 1; frames <= 2000; ++frames) {
      Frame(pad);
      if (done()) return frames;
    }
    return -1;
  }
};

TEST_F(Results, GameOverContinueAndRefusalTakeTheirFrames) {
  for (const bool yes : {false, true}) {
    SetUp();
    Score = 5000.0f, Coins = 300.0f, CoinsGot = 7, EnemiesDestroyed = 9, BattleFrames = 999, Lives = 0.0f;
    Level = 4.0f, Stage = 3, OptionLevel = 6, ShotLevel = 3, NShotType = 33, Credits = 2, ScenePhase = 1;
    ShootInScore = ChipScore = ExpCoinsGot = BssCoinsGot = SsBought = 5;
    EXPECT_EQ(FramesUntil([] { return ScenePhase == kPhaseContinueQuestion; }), 260);
    if (!yes) Press(kDown);
    ClearCallLog();
    Frame(kDecide);  // the answer's frame is the first of the fade
    if (!yes) {
      EXPECT_EQ(FramesUntil([] { return ScenePhase == kPhaseStatistics; }) + 1, 150);
      EXPECT_EQ(ContinuesUsed, 0);
      continue;
    }
    EXPECT_EQ(FramesUntil([] { return Scene == kScenePlay; }) + 1, 100);
    EXPECT_EQ(std::vector<int>({Credits, ContinuesUsed, Stage, NShotType, ShotLevel, OptionLevel, TitleCardActive}),
              std::vector<int>({1, 1, 3, 33, 3, 6, 1}));
    EXPECT_EQ(std::vector<float>({Score, Coins, Lives, Level}), std::vector<float>({0.0f, 0.0f, 3.0f, 1.0f}));
    EXPECT_EQ(std::vector<int>({CoinsGot, EnemiesDestroyed, BattleFrames, StageTimeline, ScenePhase, ReplayMode}),
              std::vector<int>(6, 0));
    // Every statistic of the results page restarts from 0.
    EXPECT_EQ(std::vector<int>({ShootInScore, ChipScore, ExpCoinsGot, BssCoinsGot, SsBought}), std::vector<int>(5, 0));
    std::vector<int> options;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) options.push_back(call.Int(0));
    EXPECT_EQ(options, std::vector<int>({2152, 2153, 2154, 2155}));  // at most four options
    EXPECT_EQ(ObjectPool[kPlayerSlot].y, static_cast<float>(320.0f + 650.1));
    EXPECT_EQ(ObjectPool[kRamSlot].behaviour, 4124);  // the ram is set up again as at a new game
  }
}

TEST_F(Results, WithoutCreditsTheQuestionGivesWayAtOnceAndCountsNoContinue) {
  Credits = 0, ScenePhase = kPhaseContinueQuestion;
  Frame(kDecide);
  EXPECT_EQ(ScenePhase, kPhaseToResults);
  EXPECT_EQ(ContinuesUsed, 0);
}

// Left and right on each page, with saving allowed and with each thing that bars it.
TEST_F(Results, PagesMoveOnceTheEmblemPassesTwoTenthsAndSkipTheSavePageWhenBarred) {
  const std::vector<std::function<void()>> bars = {
      [] {}, [] { ContinuesUsed = 1; }, [] { PracticeFlag = 1; }, [] { RecordOptionA = 0; },
      [] { RecordOptionB = 0; }, [] { WatchingReplay = 1; }};
  struct Move { float from; int bit; float allowed, barred; };
  const Move moves[] = {{kStatisticsTab, kRight, kReplaySaveTab, kRankingsTab},
                        {kStatisticsTab, kLeft, kRankingsTab, kRankingsTab},
                        {kRankingsTab, kLeft, kReplaySaveTab, kStatisticsTab},
                        {kRankingsTab, kRight, kStatisticsTab, kStatisticsTab},
                        {kReplaySaveTab, kLeft, kStatisticsTab, kStatisticsTab},
                        {kReplaySaveTab, kRight, kRankingsTab, kRankingsTab}};
  const int phaseOf[] = {kPhaseStatistics, kPhaseReplaySave, kPhaseRankings};
  auto phase = [&](float tab) { return phaseOf[tab == kStatisticsTab ? 0 : tab == kReplaySaveTab ? 1 : 2]; };
  for (std::size_t bar = 0; bar < bars.size(); ++bar) {
    for (const Move& move : moves) {
      if (bar > 0 && move.from == kReplaySaveTab) continue;
      SetUp();
      bars[bar]();
      MenuState.cursor = move.from, ScenePhase = phase(move.from), ShopEmblem[2] = 0.3f;
      Frame(move.bit);
      const float expected = bar == 0 ? move.allowed : move.barred;
      EXPECT_EQ(MenuState.cursor, expected) << bar << " " << move.from;
      EXPECT_EQ(ScenePhase, phase(expected)) << bar << " " << move.from;
    }
  }
  // From the set-up on, the emblem turns by 0.001 (f32) a frame; a fresh press on every
  // frame moves the page on the first frame whose angle is above 0.2.
  SetUp();
  int firstOpenFrame = 0;
  for (float angle = 0.0f; angle <= 0.2f; angle += 0.001f) ++firstOpenFrame;
  ScenePhase = kPhaseResultsSetUp;
  int frames = 0;
  do {
    BitHold[kLeftHold] = 0;
    Frame(kLeft);
    ++frames;
  } while (MenuState.cursor == kStatisticsTab && frames < 400);
  EXPECT_EQ(frames, firstOpenFrame);
}

TEST_F(Results, RankingsTakeTheRunWhereItBeatsAnEntry) {
  // Against [100, 50, 10] and the 9999 defaults; clear time 7260 / 60 = 121 s.
  struct Run { int mode, stage, watching, continues, score; std::vector<int> scores; int clearTime; bool timed; };
  const std::vector<int> unchanged = {100, 50, 10};
  const Run runs[] = {{0, 9, 0, 0, 70, {100, 70, 50}, 121, true},  {0, 5, 0, 0, 70, {100, 70, 50}, 0, false},
                      {0, 5, 0, 0, 10, unchanged, 0, false},        {0, 5, 0, 0, 50, {100, 50, 50}, 0, false},
                      {1, 3, 0, 0, 200, {200, 100, 50}, 0, false}, {2, 3, 0, 0, 70, {100, 70, 50}, 121, true},
                      {3, 9, 0, 0, 70, unchanged, 55, false},      {1, 9, 1, 0, 70, unchanged, 55, false},
                      {0, 9, 0, 1, 70, unchanged, 55, false}};
  for (const Run& run : runs) {
    SetUp();
    GameMode = run.mode, Stage = run.stage, WatchingReplay = run.watching, ContinuesUsed = run.continues;
    Score = run.score + 0.9f, BattleFrames = 7260, ClearTimeSec = 55, ScenePhase = kPhaseResultsSetUp;
    auto& board = RankingBoards[run.mode == 3 ? 1 : run.mode];  // mode 3 has none: mode 1's stays
    std::copy(unchanged.begin(), unchanged.end(), board[0]);
    std::fill_n(board[3], 3, 9999);
    Frame();
    SCOPED_TRACE(testing::Message() << run.mode << " " << run.stage << " " << run.score);
    EXPECT_EQ(std::vector<int>(board[0], board[0] + 3), run.scores);
    EXPECT_EQ(std::vector<int>(board[3], board[3] + 3), run.timed ? std::vector<int>({121, 9999, 9999}) : std::vector<int>(3, 9999));
    EXPECT_EQ(ClearTimeSec, run.clearTime);
  }
}

TEST_F(Results, TheClosingPictureNeedsAHeldDecideAndTheRunJoinsTheTotals) {
  for (const int watching : {0, 1}) {
    SetUp();
    // Game mode 3 has no ranking board, but its totals count.
    WatchingReplay = watching, GameMode = 3, Level = 6.0f, Stage = 4, BattleFrames = 500, TotalLevel = 10;
    BestLevel[3] = 5, BestStage[3] = 4, PlayFrames[3] = 1000, ScenePhase = kPhaseResultsFadeOut;
    // The fade-out's last frame loads and shows the picture: the first of its 151 frames
    // without input. A 4-frame hold after them is not enough; held 5 frames it is.
    EXPECT_EQ(FramesUntil([] { return ScenePhase == kPhaseClosing; }), 151);
    EXPECT_EQ(FramesUntil([] { return MenuState.backdropDarken > 300.0f; }) + 1, 151);
    for (int i = 0; i < 4; ++i) Frame(kDecide);
    Frame();
    EXPECT_EQ(MenuState.cursor, 0.0f);
    EXPECT_EQ(FramesUntil([] { return MenuState.cursor == 1.0f; }, kDecide), 5);
    EXPECT_EQ(FramesUntil([] { return MenuState.backdropDarken == -10.0f; }) + 1, 135);
    // The 136th frame ends the run and is still veiled: the picture does not come back.
    RecordDrawing(true);
    ClearCallLog();
    Frame();
    RecordDrawing(false);
    EXPECT_EQ(Scene, kSceneTitle);
    ASSERT_FALSE(CallLog().empty());
    const RecordedCall& last = CallLog().back();
    EXPECT_EQ(last.call, Call::DrawRect);
    EXPECT_EQ(std::vector<int>({last.Int(0), last.Int(1), last.Int(2), last.Int(3)}), std::vector<int>({0, 0, 1024, 768}));
    const std::vector<int> totals = {TotalLevel, BestLevel[3], BestStage[3], PlayFrames[3]};
    EXPECT_EQ(totals, watching ? std::vector<int>({10, 5, 4, 1000}) : std::vector<int>({16, 6, 4, 1500}));
    EXPECT_EQ(CallsOf(Call::WriteSaveData).size(), watching ? 0u : 1u);
  }
}

TEST_F(Results, TheSavePageWritesTheRunUnderItsNameIntoTheChosenSlot) {
  ScratchDirectory scratch;
  for (const bool failing : {false, true}) {
    SetUp();
    const std::string old = EncodeWords(ReplayWords(std::vector<int>(18, 7), 1, {5}));
    scratch.Write("VTReplaydata09.dat", old);
    // A slot read-only by its mode is not written.
    std::filesystem::permissions(scratch.path() / "VTReplaydata09.dat",
                                 failing ? std::filesystem::perms(0444) : std::filesystem::perms(0644));
    ReplayMode = kReplayRecording;
    BeginReplayIo();
    ReplayBuffer[ReplayFrameCount++] = 16;
    ReplayMode = kReplayOff;
    ScenePhase = kPhaseReplaySave, MenuState.cursor = kReplaySaveTab, ShopEmblem[2] = 0.3f, MenuCursorY = 143;
    Press(kUp);  // wraps from slot 1 to slot 9
    EXPECT_EQ(MenuCursorY, 383);
    Press(kDown);
    Press(kUp);
    Press(kDecide);
    EXPECT_EQ(std::vector<int>({SaveStep(), SaveChoice()}), std::vector<int>({kFirstConfirmation, kChoiceNo}));
    Press(kLeft);
    Press(kDecide);  // YES: letter 1 at once, the name AAA
    EXPECT_EQ(std::vector<int>({SaveStep(), SaveChoice(), PlayerName[0], PlayerName[2], NameEntryLetter}),
              std::vector<int>({kNameEntry, kFirstLetter, 'A', 'A', 'A'}));
    Press(kCancel);
    EXPECT_EQ(SaveChoice(), kChoiceNo);
    Press(kLeft);
    Press(kDecide);
    struct Step { int start; int bit; int frames; int shown; };
    for (const Step& step : {Step{'Z', kUp, 1, '_'}, Step{'_', kUp, 1, 'A'}, Step{'A', kDown, 1, '_'},
                             Step{'_', kDown, 1, 'Z'}, Step{'A', kUp, 13, 'D'}, Step{'A', kUp, 12, 'C'}}) {
      NameEntryLetter = step.start;
      for (int i = 0; i < step.frames; ++i) Frame(step.bit);
      Frame();
      EXPECT_EQ(NameEntryLetter, step.shown) << static_cast<char>(step.start) << " " << step.frames;
    }
    Press(kDecide);  // C
    Press(kUp);
    Press(kDecide);  // B
    RecordDrawing(true);
    ClearCallLog();
    Press(kDecide);  // A: the write
    EXPECT_EQ(ReplaySlot, 9);
    EXPECT_EQ(PhaseTimer, failing ? 101 : 100);
    std::vector<std::string> texts;
    for (const RecordedCall& call : CallLog()) {
      if (call.call == Call::PresentScreen) texts.push_back("present");
      if (call.call == Call::PlaySe) texts.push_back("se " + std::to_string(call.Int(0)));
      if (call.call == Call::DrawFormattedText && call.Int(0) == 514 && call.Int(1) == 592) texts.push_back(call.text);
    }
    const std::string last = failing ? "FAILED" : "FINISH";
    EXPECT_EQ(texts, std::vector<std::string>({"se 0", "se 64", "Writing...", "present", last, last}));
    const std::vector<int> stored = DecodeWords(scratch.Read("VTReplaydata09.dat"));
    const std::vector<int> name = failing ? std::vector<int>(3, 7) : std::vector<int>({'C', 'B', 'A'});
    EXPECT_EQ(std::vector<int>(stored.begin(), stored.begin() + 3), name);
    if (failing) {
      EXPECT_EQ(scratch.Read("VTReplaydata09.dat"), old);
    }
    EXPECT_EQ(ReplayList[9].name[0], failing ? 7 : 'C');
  }
}

}  // namespace
