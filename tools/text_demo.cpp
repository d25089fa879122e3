// The fonts' demo: the game's statistics lines and a line of every glyph kind drawn
// on the back screen (see text_demo_scene.h), saved as a BMP with --out.
//
//   text_demo [--bits 32|16] [--full-screen] [--software|--surfaces] [--out FILE]
#include <cstdio>

#include "demo_options.h"
#include "demo_work_folder.h"
#include "text_demo_scene.h"

int main(int argc, char** argv) {
  demo_scene::DemoOptions options;
  for (int i = 1; i < argc; ++i) {
    if (!demo_scene::TakeDemoOption(argc, argv, &i, &options)) {
      std::fprintf(stderr, "usage: %s %s\n", argv[0], demo_scene::kSharedUsage);
      return 2;
    }
  }
  DemoWorkFolder work;
  const std::string out = work.Outside(options.out);
  if (demo_scene::StartGraphics(options.bits, options.windowed, options.path) != 0) {
    std::fprintf(stderr, "graphics start failed (see %s)\n", work.KeepLog().c_str());
    return 1;
  }
  int status = 0;
  if (text_scene::DrawScene() != 0) {
    std::fprintf(stderr, "a font could not be made (see %s)\n", work.KeepLog().c_str());
    status = 1;
  } else if (!out.empty() &&
             SaveScreenToBmp(0, 0, text_scene::kScreenWidth, text_scene::kScreenHeight, out.c_str()) != 0) {
    std::fprintf(stderr, "cannot save %s\n", out.c_str());
    status = 1;
  } else {
    if (!out.empty()) std::printf("saved %s\n", out.c_str());
    PresentScreen();
  }
  demo_scene::EndGraphics();
  return status;
}
