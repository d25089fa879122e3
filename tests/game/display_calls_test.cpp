// What the display draws, read from the recorded drawing calls; expected rows are
// typed from the game's own description of each page.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "../support/call_recorder.h"
#include "core/display.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "game_library.h"

namespace {

class DisplayCalls : public testing::Test {
 protected:
  void SetUp() override {
    NewGameInit();
    ResetCallRecorder();
    SetForwarding(Call::CreateObject, false);
    RecordDrawing(true);
    for (int i = 0; i < kDigitFonts * kDigitCells; ++i) DigitFonts[i] = 1000 + i;
  }
  void TearDown() override { ResetCallRecorder(); }
  static std::vector<std::vector<int>> Draws(Call call, int arguments) {
    std::vector<std::vector<int>> draws;
    for (const RecordedCall& c : CallsOf(call)) {
      std::vector<int> values;
      for (int i = 0; i < arguments; ++i) values.push_back(c.Int(i));
      draws.push_back(values);
    }
    return draws;
  }
  static std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const RecordedCall& c : CallsOf(Call::DrawFormattedText)) texts.push_back(c.text);
    return texts;
  }
};

using Rows = std::vector<std::vector<int>>;

TEST_F(DisplayCalls, DigitsRunFromTheLeftEdgeOrEndAtTheRightOne) {
  DrawNumber(100, 50, 0, 0);
  EXPECT_EQ(Draws(Call::DrawGraphAt, 3), (Rows{{100, 50, 1000}}));
  ClearCallLog();
  DrawNumberRight(100, 50, 123, 1);
  EXPECT_EQ(Draws(Call::DrawGraphAt, 3), (Rows{{100, 50, 1013}, {86, 50, 1012}, {72, 50, 1011}}));
  ClearCallLog();
  DrawNumber(0, 0, -5, 0);
  DrawNumber(0, 0, 7, 4);
  EXPECT_EQ(Draws(Call::DrawGraphAt, 3), (Rows{{0, 0, 1000}}));
  ClearCallLog();
  DrawNumberRight(300, 0, 2000000001, 3);
  const Rows draws = Draws(Call::DrawGraphAt, 3);
  ASSERT_EQ(draws.size(), 10u);
  EXPECT_EQ(draws.back(), (std::vector<int>{300 - 9 * 22, 0, 1032}));
}

TEST_F(DisplayCalls, NamesAndButtonNumbers) {
  DrawLoadoutName(0, 0, 1, 15);
  DrawLoadoutName(0, 0, 1, 90);
  DrawLoadoutName(0, 0, 0, 4);
  DrawLoadoutName(0, 0, 0, 3);
  DrawButtonNumber(3, 0, 0);
  DrawButtonNumber(16, 0, 0);
  DrawButtonNumber(8192, 0, 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"NO DATA", "StormSpike-V", "???", "LONG", "0", "1", "10"}));
}

struct Line {
  int x, y;
  const char* text;
};

// The statistics page, with the values set in the test below.
const Line kStatistics[] = {
    {200, 160, "トータルレベル　　　7"}, {200, 180, "総プレイ時間（分）　3"},
    {200, 220, "スコア　　　　　　　1234"}, {550, 220, "コイン取得数　　　　0"},
    {200, 240, "敵撃破数　　　　　　0"}, {550, 240, "クリア時間（秒）　　0"},
    {200, 280, "敵撃破関連スコア　　0"}, {550, 280, "レベル　　　　　　　2"},
    {200, 300, "コイン関連スコア　　0"}, {550, 300, "戦闘時間（秒）　　　60"},
    {200, 320, "撃ち込みスコア　　　0"}, {550, 320, "入手コイン数　　　　0"},
    {200, 340, "カスリスコア　　　　0"}, {550, 340, "使用コイン数　　　　0"},
    {200, 360, "タイムボーナス　　　0"}, {550, 360, "入手ＥＸＰコイン数　0"},
    {200, 380, "インフォボーナス　　0"}, {550, 380, "入手ＢＳＳコイン数　0"},
    {200, 400, "チップ弾スコア　　　0"}, {550, 400, "カスリ回数　　　　　0"},
    {200, 420, "ＢＳＳコインスコア　0"}, {550, 420, "被弾回数　　　　　　0"},
    {550, 440, "コンテニュー回数　　0"}, {200, 480, "ショットレベル　　　2"},
    {550, 480, "Ｎショットタイプ　　StomeSpike"}, {200, 500, "オプションレベル　　3"},
    {550, 500, "Ｔショットタイプ　　CloidClack-Variant"}, {200, 520, "ターボレベル　　　　4"},
    {550, 520, "オプションタイプ　　"}, {200, 540, "スピードレベル　　　5"},
    {550, 540, "オプションショット　WispProjector"}, {200, 560, "ガードヒール　　　　2"},
    {550, 560, "ＳＳ使用回数　　　　0"}, {200, 580, "ＳＳ購入数　　　　　0"},
    {550, 580, "ＢＳＳ使用回数　　　0"}, {550, 600, "最大スピード　　　　0"},
};

TEST_F(DisplayCalls, TheStatisticsPageHasItsThirtySixLinesAndThirtyFourInAReplay) {
  TotalLevel = 5;
  Level = 2.7f;
  PlayFrames[0] = 3600;
  PlayFrames[1] = 7199;
  BattleFrames = 3600;
  Score = 1234.9f;
  ShotLevel = 2, OptionLevel = 3, TurboLevel = 4, SpeedLevel = 5, GuardHealLevel = 2;
  NShotType = 34;
  TShotType = 104;
  OptionType = 7;  // from a damaged replay: no name
  OptionShot = 3;
  for (int watching : {0, 1}) {
    WatchingReplay = watching;
    ClearCallLog();
    DrawPlayStatistics();
    const std::vector<RecordedCall> drawn = CallsOf(Call::DrawFormattedText);
    ASSERT_EQ(drawn.size(), watching ? 34u : 36u);
    const Line* expected = kStatistics + (watching ? 2 : 0);
    for (const RecordedCall& line : drawn) {
      SCOPED_TRACE(expected->text);
      EXPECT_EQ(line.Int(0), expected->x);
      EXPECT_EQ(line.Int(1), expected->y);
      EXPECT_EQ(line.text, expected->text);
      ++expected;
    }
  }
}

TEST_F(DisplayCalls, RankingBoardsOpenWithTheTotalLevel) {
  RankingBoards[0][3][0] = 42;
  RankingBoards[1][3][2] = 99;
  RankingBoards[2][0][0] = 123456;
  for (int board = 0; board < 3; ++board) RankingHeaderImages[board] = 700 + board;
  // A first run's results see the total level at -1: the first board still shows.
  const std::pair<int, int> levels[] = {{-1, 1}, {0, 1}, {8, 2}, {16, 3}};
  for (const auto& [level, boards] : levels) {
    TotalLevel = level;
    ClearCallLog();
    DrawRankingBoards();
    Rows headers;
    for (int board = 0; board < boards; ++board) headers.push_back({75, 178 + 177 * board, 700 + board});
    EXPECT_EQ(Draws(Call::DrawGraphAt, 3), headers);
    const std::vector<std::string> texts = Texts();
    ASSERT_EQ(texts.size(), 16u * boards);
    EXPECT_EQ(texts[0], "スコア");
    EXPECT_EQ(texts[12], "クリアタイム");
    EXPECT_EQ(texts[13], "1st 42 sec.");
  }
  const std::vector<RecordedCall> texts = CallsOf(Call::DrawFormattedText);
  EXPECT_EQ(texts[16 + 15].text, "3rd 99 sec.");
  EXPECT_EQ(texts[16 + 15].Int(0), 730);
  EXPECT_EQ(texts[16 + 15].Int(1), 178 + 177 + 120);
  EXPECT_EQ(texts[32 + 1].text, "1st 123456.");
  EXPECT_EQ(texts[32].Int(1), 178 + 354 + 55);
}

GameObject& PlaceObject(int slot, int blendMode) {
  GameObject& object = ObjectPool[slot] = GameObject{};
  object.state = 1, object.layer = 2, object.category = kCategoryEffect;
  object.blendMode = blendMode, object.fade = 55.5f;
  object.x = 100.7f, object.y = 50.2f;
  return object;
}

TEST_F(DisplayCalls, ObjectsTakeTheirBlendTheFlashAndTheHitBox) {
  for (GameObject& object : ObjectPool) object.state = 0;
  for (int mode = 0; mode <= 5; ++mode) PlaceObject(60 + mode, mode);
  GameObject& player = PlaceObject(0, 0);
  player.layer = 5, player.category = kCategoryPlayer, player.collidable = 1, player.hitFlash = 1;
  player.hitWidth = player.hitHeight = 4;
  CameraX = 0.9f;  // x' = (int)99.8 = 99; the flash (int)100.7 - (int)0.9 = 100
  HitBoxOverlayOff = 0;
  Paused = 1;
  DrawObjects();
  std::vector<std::vector<int>> sequence;
  for (const RecordedCall& c : CallLog()) {
    if (c.call == Call::SetBlendMode) sequence.push_back({0, c.Int(0), c.Int(1)});
    if (c.call == Call::DrawGraphRotated) sequence.push_back({1, c.Int(0), c.Int(1)});
    if (c.call == Call::DrawRect) sequence.push_back({2, c.Int(0), c.Int(1), c.Int(2), c.Int(3)});
  }
  sequence.resize(19);
  const Rows expected = {
      {0, 0, 0},   {1, 99, 50}, {0, 1, 199}, {1, 99, 50}, {0, 2, 199}, {1, 99, 50}, {0, 3, 199},
      {1, 99, 50}, {0, 4, 0},   {1, 99, 50}, {0, 0, 0},   {1, 99, 50},
      {0, 0, 0},   {1, 99, 50},                              // the player on layer 5
      {0, 2, 120}, {1, 100, 50},                             // its flash, a pixel beside
      {0, 2, 200}, {2, 97, 48, 101, 52},                     // its 4 x 4 hit box
      {0, 1, 200}};                                          // the popups begin
  EXPECT_EQ(sequence, expected);
  EXPECT_EQ(player.hitFlash, 0);
}

TEST_F(DisplayCalls, ThePausePanelFadesWithTheHeldActionsAndTheReplayMarkShows) {
  Paused = 1, ActionHold[0] = 10, ActionHold[2] = 20, ManualShown = 1, ReplayMode = 2;
  ManualImage = 555, CommonImages[kImagePausePanel] = 444, SpriteHandles[309] = 333;
  DrawObjects();
  const std::vector<RecordedCall> blends = CallsOf(Call::SetBlendMode);
  EXPECT_EQ(Draws(Call::DrawGraphAt, 3), (Rows{{112, 571, 444}, {862, -6, 333}}));  // the manual comes later
  EXPECT_EQ(blends[blends.size() - 3].Int(1), 255 - 12 - 24);
}

TEST_F(DisplayCalls, TheHitLevelLabelShowsBesideThePlayer) {
  HitLevel = 3.9f;
  HitLevelLabel[0] = 1, HitLevelLabel[1] = 520, HitLevelLabel[2] = 340, HitLevelLabel[3] = 55;
  CameraX = 100.5f, CameraY = 20.0f;
  DrawHud();
  bool shown = false;
  const std::vector<RecordedCall>& log = CallLog();
  for (std::size_t i = 1; i < log.size(); ++i) {
    if (log[i].call != Call::DrawGraphAt || log[i].Int(0) != 433 || log[i].Int(1) != 317) continue;
    shown = log[i].Int(2) == 1003;
    EXPECT_EQ(log[i - 1].Int(0), kBlendAlpha);  // laid over, with its rim
    EXPECT_EQ(log[i - 1].Int(1), 200);          // at 255 - 55, just before
  }
  EXPECT_TRUE(shown);
}

TEST_F(DisplayCalls, TheLastHitPanelShowsTheEnemyHitInsideItsFrame) {
  // Image set, cell, its cell size from the picture table (0: no picture drawn).
  const int cases[][3] = {{15, 3, 64}, {16, 7, 128}, {-1, 0, 0}, {kImageSets, 0, 0}, {15, kCellsPerSet, 0}};
  for (const auto& [set, cell, size] : cases) {
    ClearCallLog();
    SpriteHandles[15 * kCellsPerSet + 3] = 9153, SpriteHandles[16 * kCellsPerSet + 7] = 9167;
    LastHitImageSet = set, LastHitImageCell = cell, LastHitPanel[4] = 10;
    DrawHud();
    const std::vector<RecordedCall> pictures = CallsOf(Call::DrawGraphRotated);
    ASSERT_EQ(pictures.size(), size ? 1u : 0u) << set << " " << cell;
    if (size == 0) continue;
    const RecordedCall& picture = pictures[0];
    EXPECT_EQ(picture.Int(4), set == 15 ? 9153 : 9167);
    // Inside the 200 x 110 frame at (10, 480), left of the numbers.
    const double half = size * picture.arguments[2] / 2;
    EXPECT_GE(picture.arguments[0] - half, 10);
    EXPECT_LE(picture.arguments[0] + half, 150);
    EXPECT_GE(picture.arguments[1] - half, 480);
    EXPECT_LE(picture.arguments[1] + half, 590);
  }
}

TEST_F(DisplayCalls, TheTimedNoticeCountsDownFromTheStageStartAndShowsOnlyWhenAsked) {
  TitleCardActive = 1, TitleCardFrame = 399;
  UpdateStageTitleCard();
  EXPECT_GT(HudNoticeTimer, 0);
  CommonImages[kImageHudTimedNotice] = 4580;
  struct Case {
    int off, paused, timer;
    bool shown;
    int after;
  };
  const Case cases[] = {{0, 0, 300, true, 299}, {1, 0, 300, false, 299}, {0, 1, 300, true, 300}, {0, 0, 0, false, 0}};
  for (const Case& c : cases) {
    ClearCallLog();
    HudNoticeOff = c.off, Paused = c.paused, HudNoticeTimer = c.timer;
    DrawHud();
    int shown = 0;
    for (const std::vector<int>& draw : Draws(Call::DrawGraphAt, 3)) shown += draw == std::vector<int>{790, 580, 4580};
    EXPECT_EQ(shown, c.shown ? 1 : 0) << c.off << c.paused << c.timer;
    EXPECT_EQ(HudNoticeTimer, c.after);
  }
}

}  // namespace
