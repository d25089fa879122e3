// Whole runs that end in the results: a continue and a refusal, and a run saved to a
// replay slot, checked in the files word by word, then played back.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "../support/call_recorder.h"
#include "../support/word_file_layouts.h"
#include "core/game_state.h"
#include "core/save_data.h"
#include "float_to_int.h"
#include "game_session.h"
#include "objects/objects.h"

namespace {

constexpr int kLossFrame = 40;
constexpr int kStatisticsPhase = 6, kRankingsPhase = 11;

std::vector<int> Words(const GameSession& game, const char* file, int first, int last) {
  const std::vector<int> words = DecodeWords(game.folder().Read(file));
  if (static_cast<int>(words.size()) < last) return {};
  return std::vector<int>(words.begin() + first - 1, words.begin() + last);
}

// Save file words 2, 3, 11, 15, 84 (total level; mode 0's play count, best level, play
// frames and best stage), then 42-53 (mode 0's score, coin, kill and clear time lists).
std::vector<int> SavedProgress(const GameSession& game) {
  std::vector<int> words;
  for (int word : {2, 3, 11, 15, 84, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53}) {
    words.push_back(Words(game, kSaveFileName, word, word).at(0));
  }
  return words;
}

// A hit on the last life, then the passes through the death to the results.
void LoseTheLastLife(GameSession& game) {
  LoseLastLife();
  ASSERT_GT(PassUntil(game, [] { return ScenePhase == 1; }, 5), 0);
  ASSERT_GT(PassUntil(game, [] { return Scene == kSceneResults; }, 300), 0);
}

TEST(ResultsRun, AContinueRestartsTheStageAndARefusalBarsSavingButAddsTheTotals) {
  GameSession game;
  StartWithAFreshSave(game);
  StartAGame(game);
  game.SaveFrameWhen([] { return ScenePhase == 2 && PhaseTimer == 130; }, "game-over-130");
  game.SaveFrameWhen([] { return ScenePhase == 3; }, "continue-question");
  game.SaveFrameWhen([] { return ScenePhase == 9 && PhaseTimer >= 150; }, "continue-fade");
  ASSERT_TRUE(game.Hold(kPadRight | kPadFire, 30));
  LoseTheLastLife(game);
  AnswerContinue(/*yes=*/true);
  ASSERT_GT(PassUntil(game, [] { return Scene == kScenePlay; }, 110), 0);
  EXPECT_EQ(std::vector<int>({Stage, Credits, ContinuesUsed, StageTimeline, TitleCardActive, ReplayMode}),
            std::vector<int>({1, 1, 1, 0, 1, 0}));
  ASSERT_TRUE(game.Hold(kPadFire, 30));
  LoseTheLastLife(game);
  AnswerContinue(/*yes=*/false);
  AwaitResultsNavigation(/*shortened=*/true);
  const int battleFrames = BattleFrames;
  ASSERT_TRUE(game.Press(kPadRight));
  EXPECT_EQ(ScenePhase, kRankingsPhase);  // the save page is barred after a continue
  LeaveResults(/*shortened=*/true);
  // The total level lost 1 at the start and gains the final level 1.0; nothing ranked.
  EXPECT_EQ(SavedProgress(game), std::vector<int>({0, 1, 1, battleFrames, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9999, 9999, 9999}));
}

TEST(ResultsRun, ASavedRunIsWrittenWordForWordAndItsPlaybackLeavesTheSaveFileAlone) {
  GameSession game;
  StartWithAFreshSave(game);
  StartAGame(game);
  game.AtReplayFrame(kLossFrame, LoseLastLife);
  const std::vector<FrameDigest> recorded = PlayScript(game, {{20, kPadRight | kPadFire}, {20, kPadUp}, {400, 0}});
  ASSERT_EQ(Scene, kSceneResults);
  AnswerContinue(/*yes=*/false);
  // Each page and each step of the save page on a frame with nothing held.
  game.SaveFrameWhen([] { return ScenePhase == 6 && ShopEmblem[2] > 0.25f; }, "statistics");
  game.SaveFrameWhen([] { return ScenePhase == 11 && InputWord == 0; }, "rankings");
  game.SaveFrameWhen([] { return ScenePhase == 10 && InputWord == 0; }, "replay-save");
  game.SaveFrameWhen([] { return ScenePhase == 10 && MenuState.blinkTimer == 1.0f && InputWord == 0; }, "ok");
  game.SaveFrameWhen([] { return ScenePhase == 10 && MenuState.fade == 3.0f && InputWord == 0; }, "name-entry");
  game.SaveFrameWhen([] { return ScenePhase == 10 && PhaseTimer == 100 && InputWord == 0; }, "finish");
  game.SaveFrameWhen([] { return ScenePhase == 13 && MenuState.backdropDarken > 200.0f; }, "closing");
  AwaitResultsNavigation();
  ASSERT_TRUE(game.Hold(0, 50));
  ASSERT_TRUE(game.Press(kPadLeft));  // the rankings page
  ASSERT_TRUE(game.Press(kPadLeft));
  ASSERT_TRUE(SaveReplay(1, "AAA"));
  const int score = FloatToInt(Score), coins = CoinsGot, kills = EnemiesDestroyed, battleFrames = BattleFrames;
  LeaveResults();
  ASSERT_EQ(Scene, kSceneTitle);

  const int frames = static_cast<int>(recorded.size());
  EXPECT_EQ(Words(game, "VTReplaydata01.dat", 1, 19),
            std::vector<int>({'A', 'A', 'A', score, 10, 10, 0, 0, 0, coins, kills, 0, 0, 32, 16, 64, 128, 256, frames}));
  std::vector<int> script(20, kPadRight | kPadFire);
  script.insert(script.end(), 20, kPadUp);
  EXPECT_EQ(Words(game, "VTReplaydata01.dat", 20, 59), script);
  EXPECT_EQ(Words(game, "VTReplaydata01.dat", 20 + frames, 19 + frames + 300), std::vector<int>(300, 0));
  EXPECT_EQ(game.folder().Read("VTReplaydata01.dat").size(), 4u * (19 + frames + 300));
  EXPECT_EQ(SavedProgress(game),
            std::vector<int>({0, 1, 1, battleFrames, 1, score, 0, 0, coins, 0, 0, kills, 0, 0, 9999, 9999, 9999}));

  const std::string saved = game.folder().Read(kSaveFileName);
  const std::vector<FrameDigest> played = PlayBack(game, 1);
  EXPECT_EQ(FirstDivergingFrame(recorded, played), -1) << DescribeDivergence(recorded, played);
  EXPECT_EQ(std::vector<int>({ScenePhase, WatchingReplay}), std::vector<int>({kStatisticsPhase, 1}));
  AwaitResultsNavigation(/*shortened=*/true);
  ASSERT_TRUE(game.Press(kPadRight));
  EXPECT_EQ(ScenePhase, kRankingsPhase);  // a replay cannot be saved again
  LeaveResults(/*shortened=*/true);
  EXPECT_EQ(game.folder().Read(kSaveFileName), saved);
}

// Runs that end in a game over while drops still fly in: the shot let go before the
// last life is lost, with coins dropped within the rested shot's reach, so they home in
// during the run-out (and, with the full-upgrade perk, its trickle stands ready). Each
// run is saved and played back to the run's own score and every figure of its results.
struct RunOut {
  unsigned seed;
  int playFrames;
  int coinDistance;  // from the dragon across and down, when its last life is lost
  bool fullUpgrade;
};

class ReplayedGameOver : public testing::TestWithParam<RunOut> {};

constexpr int kCoinTemplate = 1009;
constexpr float kWorldMiddleY = 960.0f;
constexpr int kLetGoFrames = 90;

TEST_P(ReplayedGameOver, PlaysBackToTheRunsOwnScoreAndFigures) {
  const RunOut run = GetParam();
  GameSession game;
  StartWithAFreshSave(game);
  StartAGame(game);
  if (run.fullUpgrade) {
    game.AtReplayFrame(0, [] {
      FullUpgradePerk = 1;
      LevelUpCount = 3;
    });
  }
  game.AtReplayFrame(run.playFrames + kLetGoFrames, [run] {
    LoseLastLife();
    // Towards the world's middle, so that the coins stay in it.
    const GameObject& dragon = ObjectPool[kPlayerSlot];
    const int y = FloatToInt(dragon.y) + (dragon.y < kWorldMiddleY ? run.coinDistance : -run.coinDistance);
    for (int side : {-1, 1}) CreateObject(kCoinTemplate, FloatToInt(dragon.x) + side * run.coinDistance, y, 0, 0);
  });
  std::vector<ScriptSegment> script = RandomPlay(run.playFrames, run.seed);
  script.push_back({kLetGoFrames + 400, 0});
  const std::vector<FrameDigest> recorded = PlayScript(game, script);
  ASSERT_EQ(Scene, kSceneResults);
  EXPECT_EQ(CoinPullFlag, 1) << "no drop was flying in during the run-out";
  AnswerContinue(/*yes=*/false);
  AwaitResultsNavigation(/*shortened=*/true);
  const std::vector<std::string> figures = FiguresShown();
  ASSERT_TRUE(SaveReplay(1, "AAA"));
  LeaveResults(/*shortened=*/true);

  const std::vector<FrameDigest> played = PlayBack(game, 1);
  EXPECT_EQ(FirstDivergingFrame(recorded, played), -1) << DescribeDivergence(recorded, played);
  EXPECT_EQ(FloatToInt(Score), ReplayList[1].score);
  EXPECT_EQ(FiguresShown(), figures);
}

INSTANTIATE_TEST_SUITE_P(DropsInFlight, ReplayedGameOver,
                         testing::Values(RunOut{5, 500, 200, false}, RunOut{9, 400, 250, true},
                                         RunOut{11, 500, 200, false}),
                         [](const testing::TestParamInfo<RunOut>& run) {
                           return "Seed" + std::to_string(run.param.seed);
                         });

// The number drawn at row `y` in digit font `font` during the last pass, read back
// from the digit pictures' handles, left to right.
std::string NumberDrawnAt(int y, int font) {
  std::vector<std::pair<int, char>> digits;
  for (const RecordedCall& call : CallsOf(Call::DrawGraphAt)) {
    if (call.Int(1) != y) continue;
    for (int digit = 0; digit < kDigitCells; ++digit) {
      if (DigitFonts[font * kDigitCells + digit] == call.Int(2)) digits.push_back({call.Int(0), char('0' + digit)});
    }
  }
  std::sort(digits.begin(), digits.end());
  std::string number;
  for (const auto& [x, digit] : digits) number += digit;
  return number;
}

// A save file whose total level, play counts and play frames stand at the int maximum:
// the total panel, the run's start and the results' closing keep them there.
TEST(ResultsRun, CountsAtTheIntMaximumStayThere) {
  GameSession game;
  std::vector<int> words = DefaultWords();
  words[1] = INT_MAX;
  for (int mode = 0; mode < 4; ++mode) words[2 + mode] = words[14 + mode] = INT_MAX;
  StartWithSaveWords(game, words);
  ToMainMenu(game);
  for (int item = 0; item < 5; ++item) ASSERT_TRUE(game.Press(kPadDown));  // the totals item
  RecordDrawing(true);
  ClearCallLog();
  ASSERT_TRUE(game.Pass());
  RecordDrawing(false);
  EXPECT_EQ(NumberDrawnAt(543, 2), "2147483647");  // the four play counts' sum
  StartRun(game, 0);
  EXPECT_EQ(PlayCount[0], INT_MAX);
  EXPECT_EQ(TotalLevel, INT_MAX - 1);
  ASSERT_TRUE(game.Hold(kPadFire, 30));
  LoseTheLastLife(game);
  AnswerContinue(/*yes=*/false);
  AwaitResultsNavigation(/*shortened=*/true);
  LeaveResults(/*shortened=*/true);
  const std::vector<int> saved = SavedProgress(game);
  EXPECT_EQ(std::vector<int>(saved.begin(), saved.begin() + 4), std::vector<int>({INT_MAX, INT_MAX, 1, INT_MAX}));
}

}  // namespace
