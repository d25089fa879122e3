#include "game_session.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "../support/call_recorder.h"
#include "../support/scripted_input.h"
#include "core/frame_loop.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "core/object_pool.h"
#include "core/replay_files.h"
#include "core/resource_loaders.h"
#include "graphics/screen_mode.h"
#include "testing.h"

namespace {

// Virtual microseconds at start-up; every timer read advances the clock a millisecond,
// so the frame loop's busy-wait ends at once.
constexpr std::uint64_t kClockStart = 10'000'000;
constexpr std::uint64_t kClockStep = 1'000;

}  // namespace

GameSession::GameSession() {
  // The generated pictures, sounds and music are shared; "data" itself is the
  // session's own, since the game writes into it.
  const std::filesystem::path shared = std::filesystem::path(E2E_DATA_DIR) / "data";
  std::filesystem::create_directory(scratch_.path() / "data");
  for (const char* folder : {"image011", "se", "bgm"}) {
    std::filesystem::create_directory_symlink(shared / folder, scratch_.path() / "data" / folder);
  }
  SetScriptedInput(0);
  ResetCallRecorder();
  // What a fresh program starts with, whatever an earlier session of this process left.
  ResetModeState();
  TestClockStart(kClockStart, kClockStep);
}

GameSession::~GameSession() {
  End();
  TestClockStop();
}

void GameSession::End() {
  if (started_) EndGame();
  started_ = false;
}

int GameSession::Start(DrawingPath path) {
  SetHardwareRenderFlag(path == DrawingPath::kDevice ? 1 : 0);
  // The menus' globals as a fresh program has them (earlier sessions of this test
  // program may have left them anywhere).
  MenuState = MenuStateRecord{};
  MenuCursorY = PracticeCursorY = PracticeModeIndex = ConfigSubPage = PracticeFlag = ReplaySlot = 0;
  const int result = StartGame();
  started_ = result == 0;
  return result;
}

bool GameSession::Pass(int padWord, bool escape, bool backspace) {
  SetScriptedInput(padWord, escape, backspace);
  return RunFramePass();
}

bool GameSession::Hold(int padWord, int frames) {
  for (int i = 0; i < frames; ++i) {
    if (!Pass(padWord)) return false;
  }
  return true;
}

bool GameSession::Press(int padWord) { return Pass(padWord) && Pass(0); }

int PassUntil(GameSession& game, const std::function<bool()>& done, int frameLimit, int padWord) {
  for (int pass = 1; pass <= frameLimit; ++pass) {
    if (!game.Pass(padWord)) {
      ADD_FAILURE() << "the frame loop ended after " << pass << " passes";
      return -1;
    }
    if (done()) return pass;
  }
  ADD_FAILURE() << "not reached within " << frameLimit << " passes; scene " << Scene << " page " << MenuState.page << " timer " << MenuState.backdropTimer << " blink " << MenuState.blinkTimer;
  return -1;
}

namespace {

constexpr int kMainMenuPage = 6;
constexpr int kMenuItemStep = 26;
constexpr int kRecordsItem = 4;
constexpr int kCursorStep = 128;

bool OnPage(int page) { return Scene == kSceneTitle && MenuState.page == static_cast<float>(page); }

// `count` fresh presses of the pad word; a negative count presses `otherWay` instead.
void PressTimes(GameSession& game, int count, int padWord, int otherWay) {
  for (int i = 0; i < count; ++i) ASSERT_TRUE(game.Press(padWord));
  for (int i = 0; i < -count; ++i) ASSERT_TRUE(game.Press(otherWay));
}

void ToMenuItem(GameSession& game, int item) {
  const int from = static_cast<int>(MenuState.cursor) / kMenuItemStep;
  PressTimes(game, item - from, kPadDown, kPadUp);
}

// Moves a loadout cursor to a shot code's place and decides.
void ChooseShot(GameSession& game, const int* cursor, int code) {
  const int type = code / 10;
  const int x = (type - 1) % 6 * kCursorStep;
  const int y = type > 6 ? 30 : 0;
  PressTimes(game, (x - cursor[0]) / kCursorStep, kPadRight, kPadLeft);
  PressTimes(game, (y - cursor[1]) / 30, kPadDown, kPadUp);
  ASSERT_TRUE(game.Press(kPadFire));
}

void ChooseOption(GameSession& game, const int& cursorX, int option) {
  PressTimes(game, (256 + kCursorStep * option - cursorX) / kCursorStep, kPadRight, kPadLeft);
  ASSERT_TRUE(game.Press(kPadFire));
}

}  // namespace

void ToMainMenu(GameSession& game) {
  ASSERT_EQ(Scene, kSceneTitle);
  if (!OnPage(kMainMenuPage)) {
    // Buttons 1 to 6 skip the logo and the notice; action 1 held leaves the title.
    ASSERT_GT(PassUntil(game, [] { return OnPage(kMainMenuPage); }, 1000, kPadFire), 0);
  }
  ASSERT_TRUE(game.Pass(0));
}

void StartRun(GameSession& game, int mode, const Loadout& loadout) {
  ASSERT_TRUE(OnPage(kMainMenuPage));
  ToMenuItem(game, mode);
  ASSERT_TRUE(game.Press(kPadFire));
  ASSERT_GT(PassUntil(game, [] { return Scene == kSceneLoadout; }, 30), 0);
  ChooseShot(game, ShopCursor, loadout.mainShot);
  ChooseShot(game, SecondShotCursor, loadout.secondShot);
  ChooseOption(game, OptionShotCursorX, loadout.optionShot);
  ChooseOption(game, OptionMoveCursorX, loadout.optionType);
  ASSERT_GT(PassUntil(game, [] { return Scene == kScenePlay; }, 120), 0);
}

bool PlayReplay(GameSession& game, int slot) {
  ToMainMenu(game);
  ToMenuItem(game, kRecordsItem);
  EXPECT_TRUE(game.Press(kPadFire));
  EXPECT_GT(PassUntil(game, [] { return OnPage(14); }, 30), 0);
  EXPECT_TRUE(game.Press(kPadRight));
  EXPECT_TRUE(OnPage(18));
  PressTimes(game, slot - 1, kPadDown, kPadUp);
  EXPECT_TRUE(game.Pass(kPadFire));
  return ReplayMode == kReplayPlayback;
}

void StartAGame(GameSession& game, int mainShot, int secondShot) {
  ToMainMenu(game);
  StartRun(game, 0);
  ASSERT_EQ(Scene, kScenePlay);
  ASSERT_EQ(ReplayMode, kReplayRecording);
  NShotType = ReplayHeader.mainShot = mainShot;
  TShotType = ReplayHeader.secondShot = secondShot;
  ClearCallLog();
}

std::vector<FrameDigest> PlayScript(GameSession& game, const std::vector<ScriptSegment>& script,
                                    const FrameHook& hook) {
  std::vector<FrameDigest> digests;
  for (const ScriptSegment& segment : script) {
    for (int i = 0; i < segment.frames; ++i) {
      if (Scene != kScenePlay) return digests;
      EXPECT_TRUE(game.Pass(segment.padWord));
      if (hook) hook(static_cast<int>(digests.size()));
      digests.push_back(TakeFrameDigest());
    }
  }
  return digests;
}

void ClearEnemies(int group) {
  for (int slot = kFirstAllocatedSlot; slot < kPoolSize; ++slot) {
    const GameObject& object = ObjectPool[slot];
    if (object.state != kStateFree && object.category == kCategoryEnemy && object.group == group) ResetObject(slot);
  }
}

void SaveTheRecording(int slot) {
  PlayerName[0] = PlayerName[1] = PlayerName[2] = 'A';
  ReplaySlot = slot;
  ASSERT_EQ(FinishReplay(), 0);
  ResetModeState();
  RestartGame();
}

std::vector<FrameDigest> PlayBack(GameSession& game, int slot, const FrameHook& hook, int livePadWord,
                                  const FrameHook& beforeFrame) {
  EXPECT_EQ(Scene, kSceneTitle);
  EXPECT_TRUE(PlayReplay(game, slot));
  ClearCallLog();
  std::vector<FrameDigest> digests;
  while (ReplayMode == kReplayPlayback) {
    if (beforeFrame) beforeFrame(static_cast<int>(digests.size()));
    EXPECT_TRUE(game.Pass(livePadWord));
    if (hook) hook(static_cast<int>(digests.size()));
    digests.push_back(TakeFrameDigest());
  }
  EXPECT_EQ(Scene, kSceneResults);
  digests.pop_back();
  return digests;
}
