// The fonts' demo: the game's statistics lines and a line of every glyph kind drawn
// on the back screen (see text_demo_scene.h), saved as a BMP.
//
//   text_demo [--bits 32|16] [--full-screen] [--software|--surfaces] [--out FILE]
#include <cstdio>

#include "demo_options.h"
#include "text_demo_scene.h"

int main(int argc, char** argv) {
  demo_scene::DemoOptions options;
  options.out = "text_demo.bmp";
  for (int i = 1; i < argc; ++i) {
    if (!demo_scene::TakeDemoOption(argc, argv, &i, &options)) {
      std::fprintf(stderr, "usage: %s %s\n", argv[0], demo_scene::kSharedUsage);
      return 2;
    }
  }
  if (demo_scene::StartGraphics(options.bits, options.windowed, options.path) != 0) {
    std::fprintf(stderr, "graphics start failed (see Log.txt)\n");
    return 1;
  }
  int status = 0;
  if (text_scene::DrawScene() != 0) {
    std::fprintf(stderr, "a font could not be made (see Log.txt)\n");
    status = 1;
  } else if (SaveScreenToBmp(0, 0, text_scene::kScreenWidth, text_scene::kScreenHeight, options.out) != 0) {
    std::fprintf(stderr, "cannot save %s\n", options.out);
    status = 1;
  } else {
    std::printf("saved %s\n", options.out);
    PresentScreen();
  }
  demo_scene::EndGraphics();
  return status;
}
