// Opening and closing movies: archived movies through a temporary copy, files that are
// no movie, graphs that cannot be made, shared movies and the movie table's slots.
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "graphics/graph_loading.h"
#include "graphics/surface_data.h"
#include "movie_fixture.h"
#include "mua_writer.h"

namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

class ArchivedMovieTest : public MovieGraphTest {
 protected:
  void StartWithArchives() {
    SetArchiveAccess(1);
    StartMovies();
    SetArchiveFileExtension("pop");
  }

  // data.pop holding `members`; nothing of them stays loose.
  void PackData(const std::vector<MuaMember>& members) {
    MuaPackOptions options;
    options.keyMode = MuaKeyMode::kNoKeyString;
    std::string error;
    const std::vector<std::uint8_t> archive = BuildMuaArchive(members, options, &error);
    ASSERT_FALSE(archive.empty()) << error;
    WriteFile("data.pop", std::string(archive.begin(), archive.end()));
  }
};

TEST_F(ArchivedMovieTest, AnArchivedMoviePlaysFromATemporaryCopyDeletedWithItsGraph) {
  StartWithArchives();
  WriteMovie("source/intro.avi");
  PackData({{"intro.avi", ReadAll(scratch_.path() / "source/intro.avi")}});
  std::filesystem::remove_all(scratch_.path() / "source");
  const int graph = LoadGraphFile("data\\intro.avi");
  ASSERT_GE(graph, 0) << Log();
  const MovieRecord* movie = MovieOf(graph);
  ASSERT_NE(movie, nullptr);
  EXPECT_EQ(movie->temporaryCopy, 1);
  EXPECT_EQ(TemporaryFiles(), 1u);
  ASSERT_EQ(PlayGraphMovie(graph), 0);
  ClockAt(230);
  EXPECT_EQ(DrawnFrame(graph), 2);

  // A display change reopens the copy as it is.
  ASSERT_EQ(ReleaseAllMovieObjects(), 0);
  ASSERT_EQ(ReopenAllMovies(), 0);
  EXPECT_EQ(TemporaryFiles(), 1u);
  ClockAt(340);
  EXPECT_EQ(DrawnFrame(graph), 3);

  ASSERT_EQ(FreeGraph(graph, 0), 0);
  EXPECT_EQ(TemporaryFiles(), 0u);
  EXPECT_EQ(MovieTable.liveCount, 0);
}

TEST_F(ArchivedMovieTest, AnArchivedFileThatIsNoMovieLeavesNoTemporaryFile) {
  StartWithArchives();
  PackData({{"broken.avi", std::vector<std::uint8_t>(5000, 0x5A)}});
  EXPECT_EQ(LoadGraphFile("data\\broken.avi"), -1);
  EXPECT_TRUE(LogHas("ファイル:data\\broken.avi が開けませんでした"));
  EXPECT_TRUE(LogHas("ムービーファイルオープン処理時にエラーが発生しました"));
  EXPECT_TRUE(LogHas("右記のグラフィックファイルのロードに失敗しました：data\\broken.avi"));
  EXPECT_EQ(TemporaryFiles(), 0u);
  EXPECT_EQ(MovieTable.liveCount, 0);
}

TEST_F(ArchivedMovieTest, ACopyThatComesOutShortFails) {
  StartWithArchives();
  TestMovieSpec spec;
  spec.withSound = true;  // some 150 KB
  WriteMovie("source/intro.avi", spec);
  PackData({{"intro.avi", ReadAll(scratch_.path() / "source/intro.avi")}});
  // Files may not grow past 100 KB while the copy is written: the write comes out short.
  signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  getrlimit(RLIMIT_FSIZE, &previous);
  rlimit limited = previous;
  limited.rlim_cur = 100000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const int graph = LoadGraphFile("data\\intro.avi");
  setrlimit(RLIMIT_FSIZE, &previous);
  EXPECT_EQ(graph, -1);
  EXPECT_TRUE(LogHas("ファイル:data\\intro.avi が開けませんでした"));
  EXPECT_EQ(TemporaryFiles(), 0u);
  EXPECT_EQ(MovieTable.liveCount, 0);
}

TEST_F(MovieGraphTest, FilesThatAreNoMovieFailCleanly) {
  StartMovies();
  const std::size_t blocks = TrackedBlocksInUse();
  EXPECT_EQ(LoadGraphFile("missing.avi"), -1);
  EXPECT_TRUE(LogHas("グラフィックファイル missing.avi がありません"));
  WriteFile("words.avi", "only words, no pictures and no sound in here at all");
  EXPECT_EQ(LoadGraphFile("words.avi"), -1);
  EXPECT_TRUE(LogHas("ファイル:words.avi が開けませんでした"));
  EXPECT_TRUE(LogHas("ムービーファイルオープン処理時にエラーが発生しました"));
  EXPECT_EQ(MovieTable.liveCount, 0);
  EXPECT_EQ(TemporaryFiles(), 0u);  // the loose file was copied once and the copy deleted
  EXPECT_EQ(TrackedBlocksInUse(), blocks);
}

TEST_F(MovieGraphTest, TruncatedMoviesLoadAndEndOrFailCleanly) {
  StartMovies();
  WriteMovie("whole.avi");
  const std::vector<std::uint8_t> whole = ReadAll(scratch_.path() / "whole.avi");
  for (std::size_t keep : {whole.size() / 2, whole.size() / 10, std::size_t{100}}) {
    SCOPED_TRACE(keep);
    WriteFile("cut.avi", std::string(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep)));
    ClockAt(0);
    const int graph = LoadGraphFile("cut.avi");
    if (graph >= 0) {
      ASSERT_EQ(PlayGraphMovie(graph), 0);
      DrawGraphAt(0, 0, graph, 0);
      ClockAt(60000);
      PresentScreen();
      DrawGraphAt(0, 0, graph, 0);
      if (MovieOf(graph)->updatePending) {
        ASSERT_EQ(WaitForSingleObject(MovieOf(graph)->frameEvent, 10000), WAIT_OBJECT_0);
        PresentScreen();
        DrawGraphAt(0, 0, graph, 0);
      }
      EXPECT_EQ(MovieOf(graph)->playing, 0);  // it ended
      FreeGraph(graph, 0);
    }
    EXPECT_EQ(MovieTable.liveCount, 0);
    EXPECT_EQ(TemporaryFiles(), 0u);
  }
}

TEST_F(MovieGraphTest, AMovieWhoseGraphCannotBeMadeIsClosed) {
  StartMovies();
  WriteMovie("intro.avi");
  // A full surface table refuses the graph's pixels.
  const int live = SurfaceDataTable.liveCount;
  SurfaceDataTable.liveCount = kSurfaceDataTableSize;
  const int graph = LoadGraphFile("intro.avi");
  SurfaceDataTable.liveCount = live;
  EXPECT_EQ(graph, -1);
  EXPECT_TRUE(LogHas("右記のグラフィックファイルの格納用グラフィック領域の作成に失敗しました：intro.avi"));
  EXPECT_EQ(MovieTable.liveCount, 0);
}

TEST_F(MovieGraphTest, OnlyTheGraphThatOpenedAMovieClosesIt) {
  StartMovies();
  WriteMovie("intro.avi");
  const int graph = LoadGraphFile("intro.avi");
  ASSERT_GE(graph, 0);
  const int tile = DeriveGraph(32, 24, 32, 24, graph);
  ASSERT_GE(tile, 0);
  EXPECT_EQ(GetGraphRecord(tile)->movie, GetGraphRecord(graph)->movie);
  ASSERT_EQ(PlayGraphMovie(graph), 0);
  ClockAt(120);
  PresentScreen();
  DrawGraphAt(100, 100, tile, 0);  // the tile refreshes the movie's pixels it shares
  EXPECT_EQ(FrameAt(104, 104), 1);

  ASSERT_EQ(FreeGraph(tile, 0), 0);
  EXPECT_EQ(MovieTable.liveCount, 1);
  ClockAt(220);
  EXPECT_EQ(DrawnNewFrame(graph), 2);

  // The other way round: the tile keeps a stale handle and draws its last pixels.
  const int second = DeriveGraph(0, 0, 16, 16, graph);
  ASSERT_EQ(FreeGraph(graph, 0), 0);
  EXPECT_EQ(MovieTable.liveCount, 0);
  PresentScreen();
  EXPECT_EQ(DrawGraphAt(0, 0, second, 0), 0);
  EXPECT_EQ(FrameAt(4, 4), 2);
}

TEST_F(MovieGraphTest, NewMoviesTakeTheFirstFreeSlot) {
  StartMovies();
  WriteMovie("intro.avi");
  int width = 0;
  int height = 0;
  const int first = OpenMovieToGraph("intro.avi", &width, &height, 0);
  const int second = OpenMovieToGraph("intro.avi", &width, &height, 0);
  const int third = OpenMovieToGraph("intro.avi", &width, &height, 0);
  EXPECT_EQ(first & 0xFFFF, 0);
  EXPECT_EQ(second & 0xFFFF, 1);
  EXPECT_EQ(third & 0xFFFF, 2);
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
  ASSERT_EQ(CloseMovie(first), 0);
  EXPECT_EQ(CloseMovie(first), -1);  // a stale handle
  EXPECT_EQ(GetMovieRecord(first), nullptr);
  const int again = OpenMovieToGraph("intro.avi", nullptr, nullptr, 0);
  EXPECT_EQ(again & 0xFFFF, 0);
  EXPECT_NE(again, first);  // a new check number
  for (int movie : {second, third, again}) EXPECT_EQ(CloseMovie(movie), 0);
  EXPECT_EQ(MovieTable.liveCount, 0);
}
