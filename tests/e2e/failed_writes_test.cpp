// Files the program could not write: the save file's and a replay's failures are
// logged, a screenshot that was not written is neither heard nor seen.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/replay_files.h"
#include "core/save_data.h"
#include "game_library.h"
#include "game_session.h"
#include "testing.h"

namespace {

// The log names the file a write meant (through a link, its target) and why it failed,
// saying so when no temporary file could be made beside it; standard error says it once,
// with the name's own bytes.
TEST(FailedWrites, ASaveFileThatCannotBeWrittenIsLogged) {
  const std::string noTemporaryFile = "同じフォルダに一時ファイルを作れないため、右記のファイルの書き込みに失敗しました：";
  const std::string failed = "右記のファイルの書き込みに失敗しました：";
  const std::string gone = reinterpret_cast<const char*>(u8"ゲーム josé/");  // a folder that is not there
  const std::string bracket = reinterpret_cast<const char*>(u8"（");  // as standard error spells it
  // (file, made read-only rather than a link into a folder that is not there, the log line)
  const std::tuple<std::string, bool, std::string> failures[] = {
      {"SaveData.dat", false, noTemporaryFile + gone + "SaveData.dat（No such file or directory）"},
      {"SaveData.dat", true, failed + "SaveData.dat（Permission denied）"},
      {"VTReplaydata02.dat", false, noTemporaryFile + gone + "VTReplaydata02.dat（No such file or directory）"}};
  for (const auto& [name, readOnly, line] : failures) {
    GameSession game;
    ASSERT_EQ(game.Start(), 0);
    const std::filesystem::path file = game.folder().path() / name;
    if (readOnly) std::filesystem::permissions(file, std::filesystem::perms(0444));
    if (!readOnly) std::filesystem::remove(file), std::filesystem::create_symlink(gone + name, file);
    ReplayMode = kReplayRecording;
    BeginReplayIo();
    ReplaySlot = 2;
    testing::internal::CaptureStderr();
    for (int tries = 0; tries < 3; ++tries, ReplayMode = kReplayRecording) {
      EXPECT_EQ(name == "SaveData.dat" ? WriteSaveData() : FinishReplay(), -1);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    const std::string meant = readOnly ? name + bracket + "Permission denied" : gone + name + bracket + "No such file";
    EXPECT_NE(said.find(meant), std::string::npos) << said;
    EXPECT_NE(game.folder().Read("Log.txt").find(line + "\r\n"), std::string::npos) << line;
  }
}

TEST(FailedWrites, AScreenshotGivesItsSoundAndFlashOnlyWhenItWasWritten) {
  for (bool writable : {true, false}) {
    GameSession game;
    ASSERT_EQ(game.Start(), 0);
    ASSERT_TRUE(game.Hold(0, 60));  // past the title's fade-in
    // Without its folder the picture has nowhere to go.
    if (!writable) std::filesystem::remove_all(game.folder().path());
    // The title moves every frame, so the flash is found among the frame's last draws.
    ClearCallLog();
    RecordDrawing(true);
    ASSERT_TRUE(game.Pass(0, /*escape=*/false, /*backspace=*/true));
    RecordDrawing(false);
    EXPECT_EQ(IsSoundPlaying(SeHandles[104]), writable ? 1 : 0) << "writable " << writable;
    const std::vector<RecordedCall>& log = CallLog();
    const auto flash = std::find_if(log.begin(), log.end(), [](const RecordedCall& call) {
      return call.call == Call::SetBlendMode && call.Int(0) == 1 && call.Int(1) == 100;
    });
    // The box's colour is made between the blend and the box.
    const bool flashed = log.end() - flash > 2 && (flash + 2)->call == Call::DrawRect && (flash + 2)->Int(2) == 1024 &&
                         (flash + 2)->Int(3) == 768;
    EXPECT_EQ(flashed, writable) << "writable " << writable;
  }
}

}  // namespace
