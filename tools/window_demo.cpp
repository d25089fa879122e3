// Window and input demo: opens the 1024 x 768 window with a caption and prints the
// pad word (pad 1 merged with the keyboard) whenever it changes. Escape or closing the
// window ends it.
//   window_demo            run until Escape
//   window_demo SECONDS    also end after that many seconds
#include <cstdio>
#include <cstdlib>

#include "demo_work_folder.h"
#include "game_library.h"

namespace {

constexpr int kEscape = 1;
constexpr std::uint32_t kFrameMs = 17;

const char* const kBitNames[] = {"down", "left", "right", "up"};

void PrintPadWord(int word) {
  std::printf("pad word 0x%08x:", static_cast<unsigned>(word));
  for (int bit = 0; bit < 28; ++bit) {
    if (!(word & (1 << bit))) continue;
    if (bit < 4) {
      std::printf(" %s", kBitNames[bit]);
    } else {
      std::printf(" button%d", bit - 3);
    }
  }
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
  DemoWorkFolder work;
  ChangeWindowMode(1);
  SetScreenMode(1024, 768, 32, 60);
  SetWindowTitle("Vantorel - window and input demo (Esc ends it)");
  SetRunWhileInactive(1);
  if (InitLibrary() != 0) {
    std::fprintf(stderr, "the library did not start (see %s)\n", work.KeepLog().c_str());
    return 1;
  }
  const std::uint32_t start = GetMilliseconds();
  int lastWord = -1;
  while (ProcessMessage() == 0 && IsKeyDown(kEscape) == 0) {
    const std::uint32_t frameStart = GetMilliseconds();
    const int word = ReadPadBits(0x1001);
    if (word != lastWord) {
      PrintPadWord(word);
      lastWord = word;
    }
    if (seconds > 0 && frameStart - start >= static_cast<std::uint32_t>(seconds) * 1000) break;
    while (GetMilliseconds() - frameStart < kFrameMs) {
    }
  }
  EndLibrary();
  return 0;
}
