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

void StartAGame(GameSession& game, int mainShot, int secondShot) {
  ASSERT_EQ(Scene, kSceneTitle);
  ASSERT_TRUE(game.Press(kPadFire));
  ASSERT_EQ(Scene, kSceneLoadout);
  ASSERT_TRUE(game.Pass(kPadFire));
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

std::vector<FrameDigest> PlayBack(GameSession& game, int slot, const FrameHook& hook, int livePadWord) {
  EXPECT_EQ(Scene, kSceneTitle);
  ReplaySlot = slot;
  EXPECT_TRUE(game.Pass(kPadSpecial));
  EXPECT_EQ(ReplayMode, kReplayPlayback);
  ClearCallLog();
  std::vector<FrameDigest> digests;
  while (ReplayMode == kReplayPlayback) {
    EXPECT_TRUE(game.Pass(livePadWord));
    if (hook) hook(static_cast<int>(digests.size()));
    digests.push_back(TakeFrameDigest());
  }
  EXPECT_EQ(Scene, kSceneResults);
  digests.pop_back();
  return digests;
}
