// The program as a whole: start-up, the title, quitting, the files it leaves.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/game_state.h"
#include "core/resource_loaders.h"
#include "game_session.h"

namespace {

TEST(Program, StartsAtTheTitleWritesItsSaveFileAndQuitsOnEscape) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  EXPECT_EQ(game.folder().Read("SaveData.dat").size(), 360u);
  EXPECT_EQ(Scene, kSceneTitle);
  EXPECT_TRUE(game.Hold(0, 30));
  EXPECT_EQ(Scene, kSceneTitle);
  EXPECT_FALSE(game.Pass(0, /*escape=*/true));
}

// The save file is read before the log is opened; what went wrong must still reach it,
// naming the file that could not be read: through a link, the file the link names,
// which is kept in its own folder while the new save goes through the link.
TEST(Program, KeepsASaveFileItCannotReadAndLogsWhy) {
  using Unread = std::tuple<std::string, std::string, std::string>;  // (what, the log's reason, kept as)
  for (const auto& [file, why, kept] : {Unread{"SaveData.dat", "（Is a directory）", "SaveData.unreadable.dat"},
                                        Unread{"synced/save.dat", "（Permission denied）", "synced/save.unreadable.dat"}}) {
    GameSession game;
    const bool linked = file != "SaveData.dat";
    game.folder().Write(linked ? file : file + "/progress", "old");  // a folder opens, then fails to read
    if (linked) ::chmod(file.c_str(), 0), std::filesystem::create_symlink(file, "SaveData.dat");
    ASSERT_EQ(game.Start(), 0);
    const std::string log = game.folder().Read("Log.txt");
    EXPECT_NE(log.find("右記のファイルの読み込みに失敗しました：" + file + why + "\r\n"), std::string::npos);
    EXPECT_NE(log.find("読み込めなかったファイルを右記の名前で残しました：" + kept + "\r\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(game.folder().path() / kept));
    EXPECT_EQ(game.folder().Read(file).size(), 360u);
  }
}

// A FIFO under the save's or a replay's name is no file: the start goes on without
// waiting for a writer, the save is moved aside as an unreadable one is, and the
// replay's slot cannot be played.
TEST(Program, StartsPastFifosUnderItsFilesNames) {
  GameSession game;
  game.folder().MakeFifo("SaveData.dat");
  game.folder().MakeFifo("VTReplaydata03.dat");
  ASSERT_EQ(game.Start(), 0);
  EXPECT_NE(game.folder().Read("Log.txt").find("右記のファイルの読み込みに失敗しました：SaveData.dat（Not a regular file）\r\n"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_fifo(game.folder().path() / "SaveData.unreadable.dat"));
  EXPECT_EQ(game.folder().Read("SaveData.dat").size(), 360u);
  EXPECT_FALSE(PlayReplay(game, 3));
  EXPECT_EQ(ReplaySlot, kReplayNoSlot);
}

TEST(Program, EscapeQuitsFromEveryScene) {
  for (int scene : {kScenePlay, kSceneLoadout, kSceneTitle, kSceneResults, kSceneEnding}) {
    GameSession game;
    ASSERT_EQ(game.Start(), 0);
    Scene = scene;
    Paused = 1;
    EXPECT_FALSE(game.Pass(0, /*escape=*/true)) << "scene " << scene;
  }
}

TEST(Program, TheTitleStartsAGameThatIsRecorded) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  EXPECT_EQ(Scene, kScenePlay);
  EXPECT_EQ(ReplayMode, kReplayRecording);
  EXPECT_TRUE(game.Hold(kPadRight | kPadFire, 100));
  EXPECT_EQ(ReplayFrameCount, 100);
  EXPECT_EQ(StageFrame, 100);
}

TEST(Program, AQuitRequestEndsTheLoopAfterThePass) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  QuitRequest = 1;
  EXPECT_FALSE(game.Pass(0));
}

TEST(Program, AMissingReplayLeavesTheTitleAsItWas) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  EXPECT_FALSE(PlayReplay(game, 5));
  EXPECT_EQ(Scene, kSceneTitle);
  EXPECT_EQ(ReplaySlot, kReplayNoSlot);
  EXPECT_EQ(ReplayMode, kReplayOff);
}

std::vector<std::string> Screenshots(const ScratchDirectory& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("VT", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".bmp") names.push_back(name);
  }
  return names;
}

// Holding Backspace saves one screenshot; pressing it again saves another, under a
// name of its own even within the same second.
TEST(Program, BackspaceSavesOneScreenshotPerPress) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  ASSERT_TRUE(game.Hold(0, 3));
  for (int frame = 0; frame < 5; ++frame) ASSERT_TRUE(game.Pass(0, false, /*backspace=*/true));
  EXPECT_EQ(Screenshots(game.folder()).size(), 1u);
  ASSERT_TRUE(game.Pass(0));
  ASSERT_TRUE(game.Pass(0, false, /*backspace=*/true));
  const std::vector<std::string> shots = Screenshots(game.folder());
  ASSERT_EQ(shots.size(), 2u);
  // A whole screen as a 24-bit BMP.
  EXPECT_EQ(game.folder().Read(shots[0]).size(), 54u + 3u * 1024u * 768u);
}

// Every picture, sound and piece of music of the title, the stages, the ending and the
// results loads from the generated data, and shutting down leaves nothing allocated.
TEST(Program, LoadsEveryFileItNamesAndLeavesNoLeak) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  ASSERT_EQ(Scene, kScenePlay);
  ASSERT_TRUE(game.Hold(kPadRight, 30));
  for (int stage = 1; stage <= 9; ++stage) {
    Stage = stage;
    FreeStageImages();
    LoadStageResources(stage);
    ASSERT_TRUE(game.Pass(0));
  }
  LoadResultsResources();
  LoadResultsMusic(1);
  RestartGame();
  ASSERT_TRUE(game.Hold(0, 5));
  game.End();
  const std::string log = game.folder().Read("Log.txt");
  EXPECT_EQ(log.find("がありません"), std::string::npos);  // a file the library could not find
  EXPECT_EQ(log.find("失敗"), std::string::npos);
  EXPECT_NE(log.find("Alloc num:0"), std::string::npos);  // the leak report
}

}  // namespace
