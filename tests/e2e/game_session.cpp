#include "game_session.h"

#include <filesystem>

#include "core/frame_loop.h"
#include "library_interposer.h"
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

int GameSession::Start() {
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
