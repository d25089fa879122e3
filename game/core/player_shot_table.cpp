#include "core/player_shot_table.h"

#include <iterator>

namespace {

constexpr ShotAim F = ShotAim::kPlayerFacing;
constexpr ShotAim R = ShotAim::kFacingRight;
constexpr ShotAim kAt = ShotAim::kAtPlayer;
constexpr ShotSound kNone = ShotSound::kNone;
constexpr ShotSound kAfter = ShotSound::kAfterShot;
constexpr ShotSound kFirst = ShotSound::kRandomVolumeFirst;
constexpr SecondShot kNoSecond = {0, 0, F, false};

// Four rows per type, levels 0 to 3, types 1 to 12 in order.
// code, step base, per perk, idle, reload, burst, spacing, shot, paired, aim, sound, se, second pair
constexpr ShotRow kShotRows[] = {
    {10, 3, 2, 5, 30, 2, 3, 2034, 0, F, kAfter, 12, kNoSecond},
    {11, 3, 2, 5, 30, 2, 3, 2035, 0, F, kNone, 0, {2, 2036, R, false}},
    {12, 3, 2, 5, 30, 2, 3, 2037, 0, F, kNone, 0, {3, 2038, R, false}},
    {13, 4, 2, 5, 30, 2, 3, 2039, 0, F, kNone, 0, {3, 2040, F, true}},
    {20, 5, 2, 8, 50, 3, 2, 2041, 0, F, kAfter, 90, kNoSecond},
    {21, 5, 2, 7, 50, 3, 2, 2042, 0, F, kAfter, 90, kNoSecond},
    {22, 5, 2, 7, 50, 3, 2, 2043, 0, F, kAfter, 90, kNoSecond},
    {23, 5, 2, 7, 50, 3, 2, 2044, 0, F, kAfter, 90, kNoSecond},
    {30, 1, 1, 1, 3, 1, 1, 2045, 0, F, kNone, 0, kNoSecond},
    {31, 1, 1, 1, 3, 1, 1, 2046, 0, F, kNone, 0, kNoSecond},
    {32, 1, 1, 1, 3, 1, 1, 2047, 0, F, kNone, 0, kNoSecond},
    {33, 1, 1, 1, 3, 1, 1, 2049, 0, F, kNone, 0, kNoSecond},
    {40, 1, 1, 1, 36, 2, 7, 2026, 0, R, kNone, 0, kNoSecond},
    {41, 1, 1, 1, 33, 2, 7, 2052, 0, R, kNone, 0, kNoSecond},
    {42, 1, 1, 1, 30, 2, 7, 2053, 0, R, kNone, 0, kNoSecond},
    {43, 1, 1, 1, 27, 2, 7, 2054, 0, R, kAfter, 91, kNoSecond},
    {50, 1, 1, 1, 2, 1, 2, 2081, 0, R, kAfter, 91, kNoSecond},
    {51, 1, 1, 1, 2, 1, 2, 2082, 0, R, kAfter, 91, kNoSecond},
    {52, 1, 1, 1, 2, 1, 2, 2083, 0, R, kAfter, 91, kNoSecond},
    {53, 1, 1, 1, 2, 1, 2, 2084, 0, R, kAfter, 91, kNoSecond},
    {60, 1, 2, 2, 40, 2, 2, 2099, 2101, R, kAfter, 14, kNoSecond},
    {61, 2, 2, 2, 42, 4, 2, 2099, 2101, R, kAfter, 14, kNoSecond},
    {62, 2, 2, 2, 44, 6, 2, 2099, 2101, R, kAfter, 14, kNoSecond},
    {63, 2, 2, 2, 46, 8, 2, 2099, 2101, R, kAfter, 14, kNoSecond},
    {70, 3, 1, 5, 50, 2, 3, 2074, 0, F, kNone, 0, kNoSecond},
    {71, 3, 1, 5, 50, 2, 3, 2075, 0, F, kNone, 0, kNoSecond},
    {72, 3, 1, 5, 50, 2, 3, 2076, 0, F, kNone, 0, kNoSecond},
    {73, 3, 1, 5, 50, 2, 3, 2077, 0, F, kNone, 0, kNoSecond},
    {80, 5, 2, 7, 50, 3, 2, 2066, 0, F, kNone, 0, kNoSecond},
    {81, 5, 2, 7, 50, 3, 2, 2067, 0, F, kNone, 0, kNoSecond},
    {82, 5, 2, 7, 50, 3, 2, 2068, 0, F, kNone, 0, kNoSecond},
    {83, 5, 2, 7, 50, 3, 2, 2069, 0, F, kNone, 0, kNoSecond},
    {90, 1, 1, 1, 3, 1, 1, 2070, 0, F, kNone, 0, kNoSecond},
    {91, 1, 1, 1, 3, 1, 1, 2071, 0, F, kNone, 0, kNoSecond},
    {92, 1, 1, 1, 3, 1, 1, 2072, 0, F, kNone, 0, kNoSecond},
    {93, 1, 1, 1, 3, 1, 1, 2073, 0, F, kNone, 0, kNoSecond},
    {100, 1, 1, 1, 70, 2, 10, 2062, 0, R, kNone, 0, kNoSecond},
    {101, 1, 1, 1, 68, 2, 10, 2063, 0, R, kNone, 0, kNoSecond},
    {102, 1, 1, 1, 66, 2, 10, 2064, 0, R, kNone, 0, kNoSecond},
    {103, 1, 1, 1, 63, 2, 10, 2065, 0, R, kNone, 0, kNoSecond},
    {110, 2, 1, 5, 50, 8, 2, 2085, 0, F, kFirst, 95, kNoSecond},
    {111, 2, 1, 5, 40, 8, 2, 2087, 0, F, kFirst, 95, kNoSecond},
    {112, 2, 1, 5, 30, 8, 2, 2088, 0, F, kFirst, 95, kNoSecond},
    {113, 2, 1, 5, 20, 8, 2, 2089, 0, F, kFirst, 95, kNoSecond},
    {120, 1, 2, 1, 40, 1, 35, 2216, 0, kAt, kAfter, 37, kNoSecond},
    {121, 1, 2, 1, 30, 1, 30, 2217, 0, R, kAfter, 37, kNoSecond},
    {122, 1, 2, 1, 20, 1, 25, 2218, 0, R, kAfter, 37, kNoSecond},
    {123, 1, 2, 1, 10, 1, 20, 2226, 0, R, kAfter, 37, kNoSecond},
};
constexpr int kLevels = 4;
static_assert(std::size(kShotRows) == 12 * kLevels, "one row per code");

}  // namespace

const ShotRow* FindShotRow(int code) {
  const int type = code / 10;
  const int level = code % 10;
  if (code < 10 || type > 12 || level >= kLevels) return nullptr;
  return &kShotRows[(type - 1) * kLevels + level];
}
