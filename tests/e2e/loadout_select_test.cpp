// The loadout select driven by pad words: its locks, shot codes and preview, one row
// per press, and the start of play 98 frames after the last decide, recorded outside
// practice. Expected values are typed from the screen's own tables.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "core/game_state.h"
#include "frame_digest.h"
#include "game_session.h"

namespace {

class LoadoutSelect : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(game_.Start(), 0);
    TotalLevel = 0;
    for (int& flag : VariantShotFlags) flag = 999;
    ToMainMenu(game_);
    ASSERT_TRUE(game_.Press(kPadFire));
    ASSERT_GT(PassUntil(game_, [] { return Scene == kSceneLoadout; }, 30), 0);
  }
  void TearDown() override {
    TotalLevel = 0;
    for (int& flag : VariantShotFlags) flag = 999;
    RecordOptionA = RecordOptionB = 1;
    ResetCallRecorder();
  }
  void Save(const std::string& name) {
    SaveNextFrame(name);
    ASSERT_TRUE(game_.Pass(0));
  }
  // Menu sound effects started since the log was cleared.
  std::vector<int> MenuSounds() const {
    std::vector<int> sounds;
    for (const RecordedCall& call : CallsOf(Call::StartSound)) {
      for (int se = 0; se < 4; ++se) {
        if (call.Int(0) == SeHandles[se] && call.Int(1) == 1) sounds.push_back(se);
      }
    }
    return sounds;
  }
  GameSession game_;
};

struct LockCase {
  int totalLevel;
  int variantFlag;  // of every type
  int row;
  int x, y;         // the row's cursor
  bool open;
};

TEST_F(LoadoutSelect, LockedPlacesCannotBeDecided) {
  const LockCase cases[] = {
      {0, 999, 0, 0, 0, true},     {0, 999, 0, 128, 0, true},  {0, 999, 0, 256, 0, false},
      {12, 999, 0, 512, 0, true},  {11, 999, 0, 512, 0, false}, {20, 999, 1, 640, 0, false},
      {0, 999, 1, 0, 30, false},   {0, 1, 1, 384, 30, true},    {0, 999, 2, 384, 0, false},
      {4, 999, 2, 384, 0, true},   {20, 999, 2, 512, 0, false}, {12, 999, 3, 384, 0, false},
      {20, 999, 3, 384, 0, true},  {0, 999, 3, 256, 0, true},
  };
  for (const LockCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << c.row << " at (" << c.x << ", " << c.y << "), total " << c.totalLevel);
    TotalLevel = c.totalLevel;
    for (int& flag : VariantShotFlags) flag = c.variantFlag;
    SelectFrame = c.row;
    ShopCursor[0] = SecondShotCursor[0] = c.x, ShopCursor[1] = SecondShotCursor[1] = c.y;
    OptionShotCursorX = OptionMoveCursorX = c.x;
    ClearCallLog();
    ASSERT_TRUE(game_.Press(kPadFire));
    const int expectedRow = !c.open ? c.row : c.row == 3 ? 4 : c.row + 1;
    EXPECT_EQ(SelectFrame >= 4 ? 4 : SelectFrame, expectedRow);
    EXPECT_EQ(MenuSounds(), !c.open ? std::vector<int>{} : std::vector<int>{c.row == 3 ? 3 : 0});
  }
  SelectFrame = 0;
}

TEST_F(LoadoutSelect, CursorsNameTheirShotCodes) {
  struct Move {
    int padWord;
    int code;
  };
  for (const Move& move : {Move{kPadRight, 20}, Move{kPadRight, 30}, Move{kPadDown, 90}, Move{kPadDown, 90},
                           Move{kPadRight, 100}, Move{kPadRight, 110}, Move{kPadRight, 120}, Move{kPadRight, 120},
                           Move{kPadUp, 60}, Move{kPadLeft, 50}}) {
    ASSERT_TRUE(game_.Press(move.padWord));
    EXPECT_EQ(NShotType, move.code);
  }
}

struct PreviewCase {
  int code, step, reload, burst;
};

TEST_F(LoadoutSelect, ThePreviewFiresEachShotAtItsOwnPace) {
  TotalLevel = 999;
  for (int& flag : VariantShotFlags) flag = 1;
  const PreviewCase cases[] = {{10, 2, 30, 2}, {20, 5, 60, 3}, {30, 1, 3, 1},   {40, 1, 35, 2},
                               {50, 1, 2, 1},  {60, 1, 60, 1}, {70, 3, 30, 2},  {80, 5, 60, 3},
                               {90, 1, 3, 1},  {100, 1, 40, 2}, {110, 1, 38, 8}, {120, 1, 30, 1}};
  for (const PreviewCase& c : cases) {
    SCOPED_TRACE(c.code);
    ShopCursor[0] = (c.code / 10 - 1) % 6 * 128, ShopCursor[1] = c.code > 60 ? 30 : 0;
    NShotType = c.code, ShotReload = 100, MainShotBurst = 0;
    ASSERT_TRUE(game_.Pass(0));
    EXPECT_EQ(ShotReload, 100 - c.step);
    ShotReload = 1;
    ASSERT_TRUE(game_.Pass(0));
    EXPECT_EQ(ShotReload, c.reload);
    EXPECT_EQ(MainShotBurst, c.burst);
  }
  // A locked place holds the preview and shows no explanation.
  TotalLevel = 0;
  ShopCursor[0] = 256, ShopCursor[1] = 0, NShotType = 30, ShotReload = 5;
  ClearCallLog();
  RecordDrawing(true);
  ASSERT_TRUE(game_.Pass(0));
  RecordDrawing(false);
  EXPECT_EQ(ShotReload, 20);
  EXPECT_EQ(MainShotBurst, 0);
  for (const RecordedCall& call : CallsOf(Call::DrawGraphRotated)) EXPECT_NE(call.Int(4), WeaponDescriptionImages[4]);
}

TEST_F(LoadoutSelect, OnePressMovesOneRowAndCancelOnTheFirstReturnsToTheTitle) {
  ASSERT_TRUE(game_.Press(kPadFire));
  EXPECT_EQ(SelectFrame, 1);
  ASSERT_TRUE(game_.Press(kPadFire));
  ASSERT_TRUE(game_.Press(kPadFire));
  EXPECT_EQ(SelectFrame, 3);
  ASSERT_TRUE(game_.Press(kPadSecond));
  EXPECT_EQ(SelectFrame, 2);
  ASSERT_TRUE(game_.Press(kPadSecond));
  EXPECT_EQ(SelectFrame, 1);
  ASSERT_TRUE(game_.Press(kPadSecond));
  EXPECT_EQ(SelectFrame, 0);
  EXPECT_EQ(NShotType, 10);  // row 0 writes its code again
  EXPECT_EQ(TShotType, 0);
  PracticeFlag = 1, StartStage = 5, StartOptionLevel = 3, StartLevelUps = 4;
  ASSERT_TRUE(game_.Press(kPadSecond));
  EXPECT_EQ(Scene, kSceneTitle);
  EXPECT_EQ(MenuState.page, 9.0f);
  EXPECT_EQ(PracticeFlag, 0);
  EXPECT_EQ(StartStage, 1);
  EXPECT_EQ(StartOptionLevel, 0);
  EXPECT_EQ(StartLevelUps, 1);
}

TEST_F(LoadoutSelect, PlayStartsNinetyEightFramesAfterTheLastDecideAndIsRecorded) {
  GameMode = 1;
  TotalLevel = 20;
  const int plays = PlayCount[1];
  const char* names[] = {"loadout-row0", "loadout-row1", "loadout-row2", "loadout-row3"};
  for (int row = 0; row < 4; ++row) {
    if (row == 3) {
      ASSERT_TRUE(game_.Press(kPadRight));  // Formation
    }
    ASSERT_TRUE(game_.Hold(0, 20));
    Save(names[row]);
    ASSERT_TRUE(game_.Press(kPadFire));
  }
  ASSERT_EQ(SelectFrame, 7);  // the decide's frame and one more
  ASSERT_TRUE(game_.Hold(0, 40));
  Save("loadout-fade");
  RecordOptionA = 0;  // presets, and levels from them
  ClearCallLog();
  EXPECT_EQ(PassUntil(game_, [] { return Scene == kScenePlay; }, 100), 98 - 42);
  EXPECT_EQ(ObjectPool[kPlayerSlot].y, 970.1f);
  EXPECT_EQ(TotalLevel, 19);
  EXPECT_EQ(PlayCount[1], plays + 1);
  EXPECT_EQ(ReplayMode, kReplayRecording);
  EXPECT_EQ(ReplayHeader.mainShot, 10);
  EXPECT_EQ(ReplayHeader.secondShot, 10);
  EXPECT_EQ(ReplayHeader.gameMode, 1);
  EXPECT_EQ(ReplayHeader.optionType, 1);
  EXPECT_EQ(ReplayHeader.optionShot, 0);
  EXPECT_EQ(ShotLevel, 2);
  EXPECT_EQ(NShotType, 11);
  EXPECT_EQ(SpeedLevel, 2);
  EXPECT_EQ(LevelUpCount, 3);
}

TEST_F(LoadoutSelect, AtMostFourOptionsStartAndPracticeRecordsNothing) {
  struct Run {
    int practice;
    int optionLevel;
    std::vector<int> options;
  };
  for (const Run& run : {Run{0, 6, {2152, 2153, 2154, 2155}}, Run{1, 2, {2152, 2153}}}) {
    Scene = kSceneLoadout, SelectFrame = 3, PracticeFlag = run.practice, StartOptionLevel = run.optionLevel;
    TotalLevel = 0, NShotType = TShotType = 10;
    ReplayMode = kReplayOff, ReplayHeader = ReplayHeaderRecord{};
    ASSERT_TRUE(game_.Press(kPadFire));
    SetForwarding(Call::CreateObject, false);
    ClearCallLog();
    ASSERT_GT(PassUntil(game_, [] { return Scene == kScenePlay; }, 100), 0);
    SetForwarding(Call::CreateObject, true);
    std::vector<int> options;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) options.push_back(call.Int(0));
    // A practice run gets its options from the new game alone.
    const std::vector<int> recorded = {2152, 2153, 2154, 2155, 2152, 2153, 2154, 2155};
    EXPECT_EQ(options, run.practice == 0 ? recorded : run.options);
    EXPECT_EQ(ReplayMode, run.practice == 0 ? kReplayRecording : kReplayOff);
    EXPECT_EQ(ReplayHeader.mainShot, run.practice == 0 ? 10 : 0);
  }
  PracticeFlag = 0, StartOptionLevel = 0;
}

// The whole road: a fresh save, the intro with its skips, mode 0 with WindForce,
// WindForce, WizardSpike and Trace, a recording saved to a slot and played from the
// replay browser, frame by frame the same.
TEST(WholeGame, ARunChosenInTheMenusReplaysFromTheBrowser) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  ToMainMenu(game);
  StartRun(game, 0, Loadout{10, 10, 0, 0});
  ASSERT_EQ(ReplayMode, kReplayRecording);
  EXPECT_EQ(NShotType, 10);
  ClearCallLog();
  std::mt19937 random(7);
  std::vector<ScriptSegment> script;
  const int words[] = {0, kPadUp, kPadDown, kPadRight, kPadRight | kPadFire, kPadFire, kPadSecond, kPadUp | kPadFire};
  for (int segment = 0; segment < 60; ++segment) script.push_back({5, words[random() % 8]});
  const std::vector<FrameDigest> recorded = PlayScript(game, script);
  ASSERT_EQ(recorded.size(), 300u);
  SaveTheRecording(6);
  const std::vector<FrameDigest> played = PlayBack(game, 6);
  ASSERT_EQ(played.size(), recorded.size());
  EXPECT_EQ(FirstDivergingFrame(recorded, played), -1) << DescribeDivergence(recorded, played);
}

}  // namespace
