// The fonts' demo: the game's statistics lines and a line of every glyph kind drawn
// on the back screen (see text_demo_scene.h), saved as a BMP.
//
//   text_demo [--bits 32|16] [--full-screen] [--software|--surfaces] [--out FILE]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text_demo_scene.h"

int main(int argc, char** argv) {
  int bits = 32;
  int windowed = 1;
  int path = demo_scene::kHardwarePath;
  const char* out = "text_demo.bmp";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--bits") == 0 && i + 1 < argc) {
      bits = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--full-screen") == 0) {
      windowed = 0;
    } else if (std::strcmp(argv[i], "--software") == 0) {
      path = demo_scene::kSoftwarePath;
    } else if (std::strcmp(argv[i], "--surfaces") == 0) {
      path = demo_scene::kSurfacePath;
    } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--bits 32|16] [--full-screen] [--software|--surfaces] [--out FILE]\n", argv[0]);
      return 2;
    }
  }
  if (demo_scene::StartGraphics(bits, windowed, path) != 0) {
    std::fprintf(stderr, "graphics start failed (see Log.txt)\n");
    return 1;
  }
  int status = 0;
  if (text_scene::DrawScene() != 0) {
    std::fprintf(stderr, "a font could not be made (see Log.txt)\n");
    status = 1;
  } else if (SaveScreenToBmp(0, 0, text_scene::kScreenWidth, text_scene::kScreenHeight, out) != 0) {
    std::fprintf(stderr, "cannot save %s\n", out);
    status = 1;
  } else {
    std::printf("saved %s\n", out);
    PresentScreen();
  }
  demo_scene::EndGraphics();
  return status;
}
