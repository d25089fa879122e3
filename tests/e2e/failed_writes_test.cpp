// Files the program could not write: the save file's failure is logged.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/game_state.h"
#include "core/save_data.h"
#include "game_library.h"
#include "game_session.h"

namespace {

TEST(FailedWrites, ASaveFileThatCannotBeWrittenIsLogged) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  std::filesystem::create_directory(game.folder().path() / "SaveData.dat.tmp");
  EXPECT_EQ(WriteSaveData(), -1);
  EXPECT_NE(game.folder().Read("Log.txt").find("右記のファイルの書き込みに失敗しました：SaveData.dat\r\n"),
            std::string::npos);
}

}  // namespace
