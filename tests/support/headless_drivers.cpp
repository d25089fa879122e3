// Test programs run headless wherever they are started: SDL's dummy video and audio
// drivers, unless the environment names others.
#include <cstdlib>

namespace {

const bool chosen = [] {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return true;
}();

}  // namespace
