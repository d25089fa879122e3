// The names of game modes and shots, and pad button numbers, as the menus show them.
#include <array>

#include "core/display.h"
#include "core/input.h"
#include "game_library.h"

namespace {

constexpr std::array<const char*, 4> kModeNames = {"NATURAL", "TRUE", "EXTRA", "LONG"};
// By shot code / 10 - 1, for the codes 10, 20, ..., 120 only.
constexpr std::array<const char*, 12> kShotNames = {
    "WindForce",   "GhostFlame",   "StormSpike",   "CloudCrack",   "DragonScale",   "GoldStrike",
    "WindForce-V", "GhostFlame-V", "StormSpike-V", "CloudCrack-V", "DragonScale-V", "GoldStrike-V"};

const char* ModeName(int mode) {
  return mode >= 0 && mode < static_cast<int>(kModeNames.size()) ? kModeNames[mode] : "???";
}

const char* ShotName(int code) {
  const bool listed = code % 10 == 0 && code >= 10 && code / 10 <= static_cast<int>(kShotNames.size());
  return listed ? kShotNames[code / 10 - 1] : "NO DATA";
}

int ButtonNumber(int bit) {
  if (!IsButtonBit(bit)) return 0;
  int number = 1;
  for (int b = kFirstButtonBit; b != bit; b <<= 1) ++number;
  return number;
}

}  // namespace

void DrawLoadoutName(int x, int y, int which, int value) {
  const char* name = which == 0 ? ModeName(value) : which == 1 ? ShotName(value) : nullptr;
  if (name != nullptr) DrawFormattedText(x, y, MakeScreenColor(255, 255, 255), "%s", name);
}

void DrawButtonNumber(int bit, int x, int y) {
  DrawFormattedText(x, y, MakeScreenColor(255, 255, 255), "%d", ButtonNumber(bit));
}
