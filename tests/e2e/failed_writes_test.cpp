// Files the program could not write: the save file's failure is logged, a screenshot
// that was not written is neither heard nor seen.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/save_data.h"
#include "game_library.h"
#include "game_session.h"
#include "testing.h"

namespace {

TEST(FailedWrites, ASaveFileThatCannotBeWrittenIsLogged) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  std::filesystem::create_directory(game.folder().path() / "SaveData.dat.tmp");
  EXPECT_EQ(WriteSaveData(), -1);
  EXPECT_NE(game.folder().Read("Log.txt").find("右記のファイルの書き込みに失敗しました：SaveData.dat\r\n"),
            std::string::npos);
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
