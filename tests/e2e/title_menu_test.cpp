// The title menu driven by pad words: the intro's timings and skips, the main menu's
// items behind their gates, the records and replay browser, the options and the
// practice set-up. Expected values are the menu's own tables, typed from its
// description.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "core/game_state.h"
#include "core/save_data.h"
#include "game_session.h"

namespace {

bool OnPage(int page) { return Scene == kSceneTitle && MenuState.page == static_cast<float>(page); }

int UntilPage(GameSession& game, int page, int limit, int padWord = 0) {
  return PassUntil(game, [page] { return OnPage(page); }, limit, padWord);
}

// Menu sound effects started this far, by effect number.
std::vector<int> MenuSounds() {
  std::vector<int> sounds;
  for (const RecordedCall& call : CallsOf(Call::StartSound)) {
    for (int se = 0; se < 4; ++se) {
      if (call.Int(0) == SeHandles[se] && call.Int(1) == 1) sounds.push_back(se);
    }
  }
  return sounds;
}

std::vector<std::string> Texts() {
  std::vector<std::string> texts;
  for (const RecordedCall& call : CallsOf(Call::DrawFormattedText)) texts.push_back(call.text);
  return texts;
}

bool Shows(const std::string& text) {
  for (const std::string& shown : Texts()) {
    if (shown == text) return true;
  }
  return false;
}

class TitleMenu : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(game_.Start(), 0);
    TotalLevel = 0;
  }
  void TearDown() override {
    TotalLevel = 0;
    ResetCallRecorder();
  }
  void Menu() { ToMainMenu(game_); }
  // Takes the log of one pass with `padWord`, drawing included.
  void RecordPass(int padWord) {
    ClearCallLog();
    RecordDrawing(true);
    ASSERT_TRUE(game_.Pass(padWord));
    RecordDrawing(false);
  }
  void Save(const std::string& name) {
    SaveNextFrame(name);
    ASSERT_TRUE(game_.Pass(0));
  }
  GameSession game_;
};

TEST_F(TitleMenu, IntroPagesLastTheirFramesAndTheMenuResetsThePracticeValues) {
  // A page that ends hands over within its last frame, so each later count is one
  // short of the page's length.
  EXPECT_EQ(UntilPage(game_, 1, 300), 240);
  EXPECT_EQ(UntilPage(game_, 2, 600), 495 - 1);
  EXPECT_EQ(UntilPage(game_, 3, 200), 128 - 1);
  ASSERT_TRUE(game_.Hold(0, 5));
  EXPECT_TRUE(OnPage(3));  // waits for action 1
  EXPECT_EQ(UntilPage(game_, 4, 5, kPadFire), 1);
  EXPECT_EQ(UntilPage(game_, 5, 40), 24 - 1);
  StartStage = 7, StartOptionLevel = 3, PracticeCursorY = 372;
  EXPECT_EQ(UntilPage(game_, 6, 40), 26 - 1);
  EXPECT_EQ(StartStage, 1);
  EXPECT_EQ(StartOptionLevel, 0);
  EXPECT_EQ(PracticeCursorY, 0);
  // The game start fades to white for 18 frames, then the loadout select follows.
  ASSERT_TRUE(game_.Press(kPadFire));
  EXPECT_TRUE(OnPage(12));
  EXPECT_EQ(PassUntil(game_, [] { return Scene == kSceneLoadout; }, 30), 18 - 2);
}

TEST_F(TitleMenu, AHeldButtonShortensTheLogoAndJumpsTheNotice) {
  ASSERT_TRUE(game_.Hold(0, 100));
  EXPECT_LE(UntilPage(game_, 1, 20, kPadFire), 10);
  // From 430 at double speed, then the build-up as ever, whose end the held button
  // carries through the title picture at once.
  EXPECT_EQ(UntilPage(game_, 2, 100, kPadFire), 33);
  EXPECT_EQ(UntilPage(game_, 4, 200, kPadFire), 128 - 1);
}

TEST_F(TitleMenu, FramesOfTheIntroAndTheMenu) {
  struct Shot {
    int page;
    int padWord;
    const char* name;
  };
  for (const Shot& shot : {Shot{0, 0, "page0-logo"}, Shot{1, kPadFire, "page1-notice"}, Shot{2, kPadFire, "page2-build-up"},
                           Shot{4, kPadFire, "page4-to-menu"}, Shot{5, 0, "page5-slide-in"}}) {
    if (!OnPage(shot.page)) {
      ASSERT_GT(UntilPage(game_, shot.page, 600, shot.padWord), 0);
    }
    ASSERT_TRUE(game_.Hold(shot.padWord, shot.page == 5 ? 10 : 8));
    Save(shot.name);
  }
  ASSERT_GT(UntilPage(game_, 6, 40), 0);
  Save("page6-main-menu");
  ASSERT_TRUE(game_.Press(kPadSecond));
  ASSERT_GT(UntilPage(game_, 11, 40), 0);
  ASSERT_TRUE(game_.Hold(0, 60));
  Save("page11-title-again");
  ASSERT_TRUE(game_.Pass(kPadFire));
  ASSERT_GT(UntilPage(game_, 6, 80), 0);
  ASSERT_TRUE(game_.Press(kPadFacing));  // the manual key
  EXPECT_TRUE(OnPage(20));
  Save("page20-manual");
  ASSERT_TRUE(game_.Press(kPadFacing));
  EXPECT_TRUE(OnPage(9));
  ASSERT_GT(UntilPage(game_, 6, 60), 0);
  ASSERT_TRUE(game_.Press(kPadFire));
  ASSERT_TRUE(game_.Hold(0, 8));
  Save("page12-game-start");
}

struct MenuCase {
  int item;
  int totalLevel;
  int page;      // after the decide
  int gameMode;  // -1: unchanged
  int sound;     // -1: none
};

TEST_F(TitleMenu, EachItemOpensItsPageBehindItsGate) {
  const MenuCase cases[] = {
      {0, 7, 12, 0, 3},  {1, 7, 6, -1, -1}, {1, 8, 12, 1, 3}, {2, 8, 6, -1, -1}, {2, 16, 12, 2, 3},
      {3, 7, 6, -1, -1}, {3, 8, 16, -1, 0}, {4, 0, 13, -1, 0}, {5, 0, 7, -1, 0},
  };
  Menu();
  for (const MenuCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "item " << c.item << " at total level " << c.totalLevel);
    TotalLevel = c.totalLevel;
    MenuState.page = 6.0f, MenuState.cursor = static_cast<float>(26 * c.item), GameMode = 5;
    ClearCallLog();
    ASSERT_TRUE(game_.Press(kPadSpecial));  // action 3 decides as well
    EXPECT_EQ(MenuState.page, static_cast<float>(c.page));
    EXPECT_EQ(GameMode, c.gameMode < 0 ? 5 : c.gameMode);
    EXPECT_EQ(MenuSounds(), c.sound < 0 ? std::vector<int>{} : std::vector<int>{c.sound});
    if (c.item == 4) {
      EXPECT_EQ(MenuCursorY, 143);
    }
  }
  // Up from the first item is quit, down from quit the first item.
  MenuState.page = 6.0f, MenuState.cursor = 0.0f, GameMode = 0;
  ClearCallLog();
  ASSERT_TRUE(game_.Press(kPadUp));
  EXPECT_EQ(MenuState.cursor, 156.0f);
  ASSERT_TRUE(game_.Press(kPadDown));
  EXPECT_EQ(MenuState.cursor, 0.0f);
  EXPECT_EQ(MenuSounds(), (std::vector<int>{1, 1}));
  ASSERT_TRUE(game_.Press(kPadUp));
  EXPECT_FALSE(game_.Pass(kPadFire));
  EXPECT_EQ(QuitRequest, 1);
  QuitRequest = 0;
}

TEST_F(TitleMenu, TheTotalPanelAddsEachModesWholeMinutes) {
  Menu();
  const int saved[4] = {PlayFrames[0], PlayFrames[1], PlayFrames[2], PlayFrames[3]};
  PlayFrames[0] = PlayFrames[1] = PlayFrames[2] = 3599, PlayFrames[3] = 7200;
  MenuState.cursor = 130.0f;
  RecordPass(0);
  // The panel is added at 140, the blend the controls picture above it left.
  int panelBlend = -1;
  for (const RecordedCall& call : CallLog()) {
    if (call.call == Call::SetBlendMode) panelBlend = call.Int(0) * 1000 + call.Int(1);
    if (call.call == Call::DrawGraphAt && call.Int(0) == 430 && call.Int(1) == 500) break;
  }
  EXPECT_EQ(panelBlend, 2 * 1000 + 140);
  std::vector<int> minutesDigits;
  for (const RecordedCall& call : CallsOf(Call::DrawGraphAt)) {
    if (call.Int(1) == 568) minutesDigits.push_back(call.Int(2));
  }
  EXPECT_EQ(minutesDigits, (std::vector<int>{DigitFonts[20]}));
  for (int mode = 0; mode < 4; ++mode) PlayFrames[mode] = saved[mode];
}

TEST_F(TitleMenu, TheSavingExitWritesOnceAndStartsAFreshGame) {
  Menu();
  ASSERT_TRUE(game_.Press(kPadFacing));
  ClearCallLog();
  ASSERT_TRUE(game_.Press(kPadFacing));
  ASSERT_TRUE(OnPage(9));
  EXPECT_EQ(UntilPage(game_, 5, 30), 14 - 1);  // the press counts
  EXPECT_EQ(CallsOf(Call::WriteSaveData).size(), 1u);
  EXPECT_EQ(CallsOf(Call::NewGameInit).size(), 1u);
  EXPECT_EQ(MenuState.fade, 26.0f);
}

// ---- Records and the replay browser ----

class RecordsPages : public TitleMenu {
 protected:
  void OpenRecords() {
    Menu();
    MenuState.cursor = 104.0f;
    ASSERT_TRUE(game_.Press(kPadFire));
    ASSERT_EQ(UntilPage(game_, 14, 30), 18 - 2);  // the press and its release count
  }
};

TEST_F(RecordsPages, TabsTakeEachPressOnceAndDecideWaitsForTheFade) {
  OpenRecords();
  struct Tab {
    int padWord;
    float cursor;
    int page;
  };
  for (const Tab& tab : {Tab{kPadLeft, 658, 14}, Tab{kPadRight, 418, 14}, Tab{kPadRight, 543, 18}, Tab{kPadRight, 658, 18},
                         Tab{kPadRight, 418, 14}, Tab{kPadLeft, 658, 14}, Tab{kPadLeft, 543, 18}, Tab{kPadLeft, 418, 14}}) {
    ASSERT_TRUE(game_.Press(tab.padWord));
    EXPECT_EQ(MenuState.cursor, tab.cursor);
    EXPECT_TRUE(OnPage(tab.page)) << MenuState.page;
  }
  // The fade carries on from the browser; back on the records a decide within the
  // page's first 17 frames is ignored.
  MenuState.fade = 0.0f;
  ASSERT_TRUE(game_.Hold(0, 15));
  ASSERT_TRUE(game_.Press(kPadFire));  // the 16th and 17th frames
  EXPECT_TRUE(OnPage(14));
  ASSERT_TRUE(game_.Press(kPadFire));
  EXPECT_TRUE(OnPage(15));
  EXPECT_EQ(UntilPage(game_, 5, 30), 18 - 2);
}

TEST_F(RecordsPages, TheBrowserWrapsItsRowsNamesItsSlotsAndReportsAMissingReplay) {
  OpenRecords();
  Save("page14-records");
  ASSERT_TRUE(game_.Press(kPadRight));
  ASSERT_TRUE(OnPage(18));
  ASSERT_TRUE(game_.Press(kPadUp));
  EXPECT_EQ(MenuCursorY, 383);
  ASSERT_TRUE(game_.Press(kPadDown));
  EXPECT_EQ(MenuCursorY, 143);
  ReplayList[1] = ReplayListEntry{{'A', 'B', 'C'}, 1234, 11, 0, 1, 7, 2, 5, 6, 7};
  RecordPass(0);
  EXPECT_TRUE(Shows("NAME - ABC"));
  EXPECT_TRUE(Shows("NSHOT      : "));   // a code with a level digit
  EXPECT_TRUE(Shows("OPSHOT     :LidlessWall"));
  EXPECT_TRUE(Shows("OPMOVE     : "));   // outside the table
  EXPECT_TRUE(Shows("NO DATA"));         // the row's second shot, code 0
  EXPECT_TRUE(Shows("DATA 9            SCORE:                N:              T:"));
  Save("page18-details");
  // Slot 4 has no file: the loading texts are presented before the read, then the
  // failure stays on the page.
  MenuCursorY = 143 + 3 * 30;
  RecordPass(kPadFire);
  std::vector<Call> order;
  for (const RecordedCall& call : CallLog()) {
    if (call.call == Call::PresentScreen || call.call == Call::NewGameInit) order.push_back(call.call);
    if (call.call == Call::DrawFormattedText && call.text == "Now Loading : DATA 4 ") order.push_back(call.call);
  }
  EXPECT_EQ(order, (std::vector<Call>{Call::DrawFormattedText, Call::PresentScreen, Call::PresentScreen}));
  EXPECT_EQ(ReplaySlot, kReplayNoSlot);
  EXPECT_TRUE(Shows("REPLAY FAILED"));
  RecordPass(0);
  EXPECT_TRUE(Shows("REPLAY FAILED"));
  EXPECT_TRUE(OnPage(18));
  Save("page18-failure");
  // A held decide is one press: the failed load is not tried again while it is held.
  ClearCallLog();
  RecordDrawing(true);
  ASSERT_TRUE(game_.Hold(kPadFire, 4));
  RecordDrawing(false);
  const std::vector<std::string> texts = Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Now Loading : DATA 4 "), 1);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "REPLAY FAILED"), 4);
}

// ---- Options ----

class OptionsPage : public TitleMenu {
 protected:
  void SetUp() override {
    TitleMenu::SetUp();
    for (int action = 0; action < kActionCount; ++action) savedKeys_[action] = KeyConfig[action];
    Menu();
    MenuState.cursor = 130.0f;
    ASSERT_TRUE(game_.Press(kPadFire));
    ASSERT_EQ(UntilPage(game_, 8, 40), 28 - 2);  // the press and its release count
    ASSERT_EQ(MenuCursorY, 33);
  }
  void TearDown() override {
    for (int action = 0; action < kActionCount; ++action) KeyConfig[action] = savedKeys_[action];
    SlowdownOption = 1, VibrationOption = 1, WindowedOption = 1;
    TitleMenu::TearDown();
  }
  void Row(int row) { MenuCursorY = row; }
  int savedKeys_[kActionCount];
};

TEST_F(OptionsPage, AButtonHeldOnAKeyRowSwapsItWithTheActionThatHadIt) {
  Row(222);  // action 2
  ASSERT_TRUE(game_.Pass(kPadFire));
  EXPECT_EQ(KeyConfig[0], kPadSecond);
  EXPECT_EQ(KeyConfig[1], kPadFire);
  for (int word : {kPadFacing | kPadPause, kPadFacing | kPadUp}) {
    ASSERT_TRUE(game_.Pass(word));
    EXPECT_EQ(KeyConfig[1], kPadFire);
  }
  ASSERT_TRUE(game_.Pass(0));
}

TEST_F(OptionsPage, ValuesStepInTheirOrderWithATestRumble) {
  Row(461);
  SlowdownOption = 0;
  std::vector<int> slowdowns;
  for (int word : {kPadRight, kPadRight, kPadRight, kPadLeft, kPadLeft, kPadLeft}) {
    ASSERT_TRUE(game_.Press(word));
    slowdowns.push_back(SlowdownOption);
  }
  EXPECT_EQ(slowdowns, (std::vector<int>{2, 1, 1, 2, 0, 0}));
  Row(495);
  VibrationOption = 0;
  ClearCallLog();
  for (int word : {kPadRight, kPadRight, kPadLeft, kPadLeft}) ASSERT_TRUE(game_.Press(word));
  std::vector<std::vector<int>> rumbles;
  for (const RecordedCall& call : CallsOf(Call::StartPadRumble)) rumbles.push_back({call.Int(0), call.Int(1), call.Int(2)});
  EXPECT_EQ(rumbles, (std::vector<std::vector<int>>{{1, 500, 600}, {1, 1000, 600}, {1, 500, 600}}));
  EXPECT_EQ(VibrationOption, 0);
  Save("page8-sub-page-0");
}

TEST_F(OptionsPage, SubPageOneSettingsUnlockByTotalLevel) {
  ASSERT_TRUE(game_.Press(kPadRight));
  ASSERT_EQ(ConfigSubPage, 1);
  struct Gate {
    int totalLevel;
    int backdropLayer, hudPanel;  // BackdropLayerOff at row 72, HudPanelImageOff at row 222
  };
  for (const Gate& gate : {Gate{7, 0, 0}, Gate{8, 0, 1}, Gate{16, 1, 1}}) {
    TotalLevel = gate.totalLevel;
    BackdropLayerOff = HudPanelImageOff = 0;
    Row(72);
    ASSERT_TRUE(game_.Press(kPadRight));
    Row(222);
    ASSERT_TRUE(game_.Press(kPadLeft));
    EXPECT_EQ(BackdropLayerOff, gate.backdropLayer) << gate.totalLevel;
    EXPECT_EQ(HudPanelImageOff, gate.hudPanel) << gate.totalLevel;
  }
  BackdropLayerOff = HudPanelImageOff = 0;
  Save("page8-sub-page-1");
  Row(33);
  ASSERT_TRUE(game_.Press(kPadLeft));
  EXPECT_EQ(ConfigSubPage, 0);
  EXPECT_EQ(MenuCursorY, 33);
}

TEST_F(OptionsPage, LeavingWritesTheNewSettingsIntoTheSaveFile) {
  Row(72);
  ASSERT_TRUE(game_.Press(kPadLeft));  // windowed 1 -> 0
  Row(197);
  ASSERT_TRUE(game_.Pass(kPadPause));  // action 1 takes button 5
  ASSERT_TRUE(game_.Pass(0));
  Row(33);
  ASSERT_TRUE(game_.Press(kPadUp));  // 33 -> 624: back
  ASSERT_EQ(MenuCursorY, 624);
  ASSERT_TRUE(game_.Press(kPadSpecial));  // action 3 still decides
  ASSERT_GT(UntilPage(game_, 5, 30), 0);
  const std::string bytes = game_.folder().Read(kSaveFileName);
  ASSERT_EQ(bytes.size(), 4u * kSaveWords);
  auto word = [&bytes](int i) {
    return static_cast<unsigned char>(bytes[4 * i]) | static_cast<unsigned char>(bytes[4 * i + 1]) << 8;
  };
  const int expected[] = {kPadPause, kPadSecond, kPadSpecial, kPadFacing, kPadFire, 0};  // words 20-25
  for (int i = 0; i < 6; ++i) EXPECT_EQ(word(20 + i), expected[i]) << "word " << 20 + i;
  EXPECT_EQ(word(87), SlowdownOption);
  EXPECT_EQ(word(88), VibrationOption);
  EXPECT_EQ(word(89), LightMode);
  WindowedOption = 1;
}

// ---- Practice set-up ----

class PracticeSetup : public TitleMenu {
 protected:
  void SetUp() override {
    TitleMenu::SetUp();
    Menu();
    TotalLevel = 8;
    GameMode = 2;
    MenuState.cursor = 78.0f;
    ASSERT_TRUE(game_.Press(kPadFire));
    ASSERT_GT(UntilPage(game_, 17, 30), 0);
  }
  std::vector<int> Sweep(int row, int& value, int padWord, int presses) {
    PracticeCursorY = row;
    std::vector<int> values;
    for (int i = 0; i < presses; ++i) {
      EXPECT_TRUE(game_.Press(padWord));
      values.push_back(value);
    }
    return values;
  }
};

TEST_F(PracticeSetup, ValuesWrapAsTheirRowsSay) {
  EXPECT_EQ(GameMode, 0);
  EXPECT_EQ(PracticeCursorY, 122);
  EXPECT_EQ(Sweep(247, StartOptionLevel, kPadRight, 5), (std::vector<int>{1, 2, 3, 4, 1}));
  StartOptionLevel = 0;
  EXPECT_EQ(Sweep(247, StartOptionLevel, kPadRight, 5), (std::vector<int>{1, 2, 3, 4, 1}));
  StartOptionLevel = 0;
  EXPECT_EQ(Sweep(247, StartOptionLevel, kPadLeft, 5), (std::vector<int>{4, 3, 2, 1, 0}));
  EXPECT_EQ(Sweep(322, StartLevelUps, kPadRight, 9), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 0, 1}));
  EXPECT_EQ(Sweep(172, StartStage, kPadLeft, 9), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
  std::vector<int> modes;
  PracticeCursorY = 122;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(game_.Press(kPadRight));
    modes.push_back(10 * PracticeModeIndex + GameMode);
  }
  EXPECT_EQ(modes, (std::vector<int>{11, 22, 0}));
  // Rows wrap between the back row and the first.
  ASSERT_TRUE(game_.Press(kPadUp));
  EXPECT_EQ(PracticeCursorY, 526);
  ASSERT_TRUE(game_.Press(kPadDown));
  EXPECT_EQ(PracticeCursorY, 122);
  Save("page17-practice");
}

TEST_F(PracticeSetup, StartEntersTheLoadoutAndBackResetsTheMode) {
  PracticeCursorY = 372;
  ASSERT_TRUE(game_.Pass(kPadFire));
  EXPECT_EQ(PracticeFlag, 1);
  EXPECT_EQ(Scene, kSceneLoadout);
  EXPECT_EQ(MenuState.fade, 150.0f);
  ASSERT_TRUE(game_.Pass(0));
  PracticeFlag = 0, Scene = kSceneTitle;
  GameMode = 1, StartStage = 4;
  PracticeCursorY = 526;
  ASSERT_TRUE(game_.Press(kPadFire));
  EXPECT_TRUE(OnPage(9));
  EXPECT_EQ(GameMode, 0);
  EXPECT_EQ(StartStage, 1);
  EXPECT_EQ(PracticeCursorY, 0);
}

}  // namespace
