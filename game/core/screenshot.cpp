#include "core/screenshot.h"

#include <sys/stat.h>

#include <cstdio>

namespace {

// Anything at the name takes it, of whoever's and of any kind (a FIFO, a link that leads
// nowhere): looked at, never opened, so nothing is waited on.
bool NameTaken(const std::string& name) {
  struct stat status {};
  return ::lstat(name.c_str(), &status) == 0;
}

}  // namespace

std::string ScreenshotFileName(const int dateTime[6]) {
  char stem[96];
  std::snprintf(stem, sizeof stem, "VT%d%d%d%d%d%d", dateTime[0], dateTime[1], dateTime[2], dateTime[3],
                dateTime[4], dateTime[5]);
  std::string name = std::string(stem) + ".bmp";
  for (int copy = 2; NameTaken(name); ++copy) name = std::string(stem) + "_" + std::to_string(copy) + ".bmp";
  return name;
}
