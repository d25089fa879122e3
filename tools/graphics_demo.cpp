// The graphics core's demo: draws the demo scene (a generated tile sheet loaded with
// LoadDivGraphFile; tiles plain, mirrored, rotated, stretched and in blend modes 0 to
// 4; boxes and lines) on the back screen, saves it as a BMP and presents it.
//
//   graphics_demo [--bits 32|16] [--full-screen] [--software|--surfaces] [--hold SECONDS] [--out FILE]
//
// With --hold the window keeps showing the picture for that long (for a screenshot). The
// picture is saved only with --out.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "demo_options.h"
#include "demo_work_folder.h"
#include "graphics_demo_scene.h"
#include "kernel/threads.h"

int main(int argc, char** argv) {
  demo_scene::DemoOptions options;
  int holdSeconds = 0;
  for (int i = 1; i < argc; ++i) {
    if (demo_scene::TakeDemoOption(argc, argv, &i, &options)) continue;
    if (std::strcmp(argv[i], "--hold") == 0 && i + 1 < argc) {
      holdSeconds = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: %s %s [--hold SECONDS]\n", argv[0], demo_scene::kSharedUsage);
      return 2;
    }
  }
  DemoWorkFolder work;
  const std::string out = work.Outside(options.out);
  if (!demo_scene::WriteTileSheet(demo_scene::kSheetName)) {
    std::fprintf(stderr, "cannot write %s\n", demo_scene::kSheetName);
    return 1;
  }
  if (demo_scene::StartGraphics(options.bits, options.windowed, options.path) != 0) {
    std::fprintf(stderr, "graphics start failed (see %s)\n", work.KeepLog().c_str());
    return 1;
  }
  int tiles[demo_scene::kTileCount];
  int status = 0;
  if (demo_scene::LoadTiles(tiles) != 0 || demo_scene::DrawScene(tiles) != 0) {
    std::fprintf(stderr, "drawing failed (see %s)\n", work.KeepLog().c_str());
    status = 1;
  } else if (!out.empty() &&
             SaveScreenToBmp(0, 0, demo_scene::kScreenWidth, demo_scene::kScreenHeight, out.c_str()) != 0) {
    std::fprintf(stderr, "cannot save %s\n", out.c_str());
    status = 1;
  } else {
    if (!out.empty()) std::printf("saved %s\n", out.c_str());
    PresentScreen();
    for (int frame = 0; frame < holdSeconds * 60; ++frame) {
      ProcessMessage();
      demo_scene::DrawScene(tiles);
      PresentScreen();
      Sleep(16);
    }
  }
  demo_scene::EndGraphics();
  return status;
}
