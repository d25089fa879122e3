// Files the program could not write: the save file's failure is logged, a screenshot
// that was not written is neither heard nor seen.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
    DDrawTestCapturePresents(true);
    ASSERT_TRUE(game.Pass(0));
    DDrawTestImage plain;
    ASSERT_TRUE(DDrawTestLastPresentedFrame(&plain));
    // Without its folder the picture has nowhere to go.
    if (!writable) std::filesystem::remove_all(game.folder().path());
    ASSERT_TRUE(game.Pass(0, /*escape=*/false, /*backspace=*/true));
    DDrawTestImage shot;
    ASSERT_TRUE(DDrawTestLastPresentedFrame(&shot));
    DDrawTestCapturePresents(false);
    EXPECT_EQ(IsSoundPlaying(SeHandles[104]), writable ? 1 : 0) << "writable " << writable;
    EXPECT_EQ(shot.pixels != plain.pixels, writable) << "writable " << writable;
  }
}

}  // namespace
