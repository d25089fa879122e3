// The movie demo: loads a movie file as a graph (a generated one unless given: numbered
// flat-colour frames with a tone), starts it and draws it in the middle of the screen
// until it ends, saving the screen as a BMP (with --out) at one moment on the way.
//
//   movie_demo [--movie FILE] [--bits 32|16] [--software] [--at MS] [--out FILE]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "demo_work_folder.h"

#include "game_library.h"
#include "graphics/graph_records.h"
#include "graphics/movie_record.h"
#include "graphics/movies.h"
#include "graphics/screen_mode.h"
#include "kernel/threads.h"
#include "movie_writer.h"
#include "winmm/time.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr char kGeneratedMovie[] = "demo_movie.avi";

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--movie FILE] [--bits 32|16] [--software] [--at MS] [--out FILE]\n", program);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const char* movie = nullptr;
  int bits = 32;
  int software = 0;
  DWORD saveAt = 1500;
  const char* out = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--movie") == 0 && i + 1 < argc) {
      movie = argv[++i];
    } else if (std::strcmp(argv[i], "--bits") == 0 && i + 1 < argc) {
      bits = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--software") == 0) {
      software = 1;
    } else if (std::strcmp(argv[i], "--at") == 0 && i + 1 < argc) {
      saveAt = static_cast<DWORD>(std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else {
      return Usage(argv[0]);
    }
  }
  DemoWorkFolder work;
  const std::string moviePath = movie == nullptr ? kGeneratedMovie : work.Outside(movie);
  const std::string outPath = work.Outside(out);
  if (movie == nullptr) {
    TestMovieSpec spec;
    spec.width = 320;
    spec.height = 240;
    spec.frames = 30;
    spec.withSound = true;
    if (!WriteTestMovie(kGeneratedMovie, spec)) return 1;
  }
  movie = moviePath.c_str();

  ChangeWindowMode(1);
  SetScreenMode(kScreenWidth, kScreenHeight, bits, 60);
  if (software) SetHardwareRenderFlag(0);
  if (InitLibrary() != 0) {
    std::fprintf(stderr, "library start failed (see %s)\n", work.KeepLog().c_str());
    return 1;
  }
  const int graph = LoadGraphFile(movie);
  int status = 0;
  int width = 0;
  int height = 0;
  if (graph < 0 || QueryGraphSize(graph, &width, &height) != 0) {
    std::fprintf(stderr, "%s does not open as a movie (see %s)\n", movie, work.KeepLog().c_str());
    status = 1;
  } else {
    std::printf("%s: %d x %d\n", movie, width, height);
    PlayGraphMovie(graph);
    const DWORD start = timeGetTime();
    bool saved = false;
    // Until the movie has ended, and half a second more on its last frame.
    for (DWORD ended = 0; ProcessMessage() == 0 && (ended == 0 || timeGetTime() - ended < 500);) {
      SetDrawTarget(kDrawTargetBackScreen);
      ClearDrawTarget();
      DrawGraphAt((kScreenWidth - width) / 2, (kScreenHeight - height) / 2, graph, 0);
      if (!saved && !outPath.empty() && timeGetTime() - start >= saveAt) {
        saved = SaveScreenToBmp(0, 0, kScreenWidth, kScreenHeight, outPath.c_str()) == 0;
        if (saved) std::printf("saved %s at %u ms\n", outPath.c_str(), static_cast<unsigned>(timeGetTime() - start));
      }
      PresentScreen();
      if (ended == 0 && GetMovieRecord(GetGraphRecord(graph)->movie)->playing == 0) ended = timeGetTime();
      Sleep(16);
    }
    std::printf("played for %u ms\n", static_cast<unsigned>(timeGetTime() - start));
  }
  EndLibrary();
  return status;
}
