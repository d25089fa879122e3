// Lists every event of the stage scripts, from their tables alone, one per line.
//   stage_events              all sixteen scripts, mode 0 stages 1-8, then mode 1
//   stage_events MODE STAGE   one script (mode 0 or 1, stage 1-8)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "stages/script_event_listing.h"

namespace {

void Print(int mode, int stage) {
  for (const std::string& line : ListStageEvents(mode, stage)) std::printf("%s\n", line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) {
    for (int mode = 0; mode <= 1; ++mode) {
      for (int stage = 1; stage <= 8; ++stage) Print(mode, stage);
    }
    return 0;
  }
  const int mode = argc == 3 ? std::atoi(argv[1]) : -1;
  const int stage = argc == 3 ? std::atoi(argv[2]) : -1;
  if (mode < 0 || mode > 1 || stage < 1 || stage > 8) {
    std::fprintf(stderr, "usage: stage_events [MODE STAGE]  (MODE 0 or 1, STAGE 1 to 8)\n");
    return 2;
  }
  Print(mode, stage);
  return 0;
}
