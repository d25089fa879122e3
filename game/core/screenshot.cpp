#include "core/screenshot.h"

#include <cstdio>

namespace {

bool FileExists(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

}  // namespace

std::string ScreenshotFileName(const int dateTime[6]) {
  char stem[96];
  std::snprintf(stem, sizeof stem, "VT%d%d%d%d%d%d", dateTime[0], dateTime[1], dateTime[2], dateTime[3],
                dateTime[4], dateTime[5]);
  std::string name = std::string(stem) + ".bmp";
  for (int copy = 2; FileExists(name); ++copy) name = std::string(stem) + "_" + std::to_string(copy) + ".bmp";
  return name;
}
