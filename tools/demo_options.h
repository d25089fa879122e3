// The switches the drawing demos share: screen depth, window or full screen, drawing
// path and output file.
#pragma once

#include <cstdlib>
#include <cstring>

#include "graphics_demo_scene.h"

namespace demo_scene {

inline constexpr const char* kSharedUsage = "[--bits 32|16] [--full-screen] [--software|--surfaces] [--out FILE]";

struct DemoOptions {
  int bits = 32;
  int windowed = 1;
  int path = kHardwarePath;
  const char* out = nullptr;
};

// Takes the shared switch at argv[*i], with its value; false when it is none of them.
inline bool TakeDemoOption(int argc, char** argv, int* i, DemoOptions* options) {
  const char* name = argv[*i];
  const bool hasValue = *i + 1 < argc;
  if (std::strcmp(name, "--bits") == 0 && hasValue) {
    options->bits = std::atoi(argv[++*i]);
  } else if (std::strcmp(name, "--full-screen") == 0) {
    options->windowed = 0;
  } else if (std::strcmp(name, "--software") == 0) {
    options->path = kSoftwarePath;
  } else if (std::strcmp(name, "--surfaces") == 0) {
    options->path = kSurfacePath;
  } else if (std::strcmp(name, "--out") == 0 && hasValue) {
    options->out = argv[++*i];
  } else {
    return false;
  }
  return true;
}

}  // namespace demo_scene
