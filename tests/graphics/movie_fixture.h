// A started library with a generated movie loaded as a graph, the virtual clock standing
// still until moved, and temporary files going to a folder of the scratch directory.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "../support/process_temporary_folder.h"
#include "graphics/movie_record.h"
#include "graphics/movies.h"
#include "graphics_fixture.h"
#include "kernel/sync.h"
#include "movie_writer.h"

class MovieGraphTest : public GraphicsTest {
 protected:
  static constexpr std::uint64_t kClockStart = 7000000000;  // microseconds

  void StartMovies(int bits = 32, int windowed = 1, int path = demo_scene::kSurfacePath) {
    std::filesystem::create_directories(scratch_.path() / "tmp");
    setenv("TMPDIR", (scratch_.path() / "tmp").c_str(), 1);
    Start(bits, windowed, path);
    SetDrawTarget(kDrawTargetBack);
    TestClockStart(kClockStart, 0);
  }

  void TearDown() override {
    TestClockStop();
    GraphicsTest::TearDown();
    setenv("TMPDIR", ProcessTemporaryFolder().c_str(), 1);
  }

  // Moves the virtual clock to `ms` milliseconds after the start.
  static void ClockAt(std::uint64_t ms) { TestClockSet(kClockStart + ms * 1000); }

  void WriteMovie(const std::string& name, const TestMovieSpec& spec = TestMovieSpec{}) {
    std::filesystem::create_directories((scratch_.path() / name).parent_path());
    ASSERT_TRUE(WriteTestMovie((scratch_.path() / name).string(), spec));
  }

  static MovieRecord* MovieOf(int graph) {
    const GraphRecord* record = GetGraphRecord(graph);
    return record != nullptr ? GetMovieRecord(record->movie) : nullptr;
  }

  // Presents, draws the graph at the top-left corner and tells which movie frame shows.
  int DrawnFrame(int graph) {
    PresentScreen();
    DrawGraphAt(0, 0, graph, 0);
    return FrameAt(4, 4);
  }

  // As DrawnFrame, once the update the movie waits for has come in (bounded wait): for
  // moments when a newer frame is due.
  int DrawnNewFrame(int graph) {
    MovieRecord* movie = MovieOf(graph);
    if (movie != nullptr && movie->updatePending) {
      EXPECT_EQ(WaitForSingleObject(movie->frameEvent, 10000), WAIT_OBJECT_0);
    }
    return DrawnFrame(graph);
  }

  // The movie frame whose colour the draw target shows at (x, y).
  int FrameAt(int x, int y) {
    const MEMIMG* image = ScreenSurfaces.targetMemImg;
    const PixelFormat* format =
        image != nullptr && image->pixels != nullptr ? image->format : QueryScreenPixelFormat();
    const std::uint32_t raw = TargetPixel(x, y);
    const std::uint32_t rgb = Widen(raw, format->maskR) << 16 | Widen(raw, format->maskG) << 8 |
                              Widen(raw, format->maskB);
    int distance = 0;
    const int frame = NearestTestMovieFrame(rgb, &distance);
    EXPECT_LE(distance, 24) << "frame " << frame;
    return frame;
  }

  std::size_t TemporaryFiles() const {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch_.path() / "tmp")) {
      (void)entry;
      ++count;
    }
    return count;
  }

 private:
  static std::uint32_t Widen(std::uint32_t raw, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = __builtin_ctz(mask);
    const int width = __builtin_popcount(mask);
    const std::uint32_t value = (raw & mask) >> shift;
    return width >= 8 ? value >> (width - 8) : value << (8 - width);
  }
};
