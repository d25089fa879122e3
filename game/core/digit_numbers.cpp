// Numbers drawn with the picture digit fonts.
#include <cstdint>

#include "core/display.h"
#include "core/game_state.h"
#include "game_library.h"

namespace {

constexpr int kDigitAdvance[kDigitFonts] = {8, 14, 13, 22};

// Counted in 64 bits, so 10-digit values do not overflow the limit.
int DigitCount(std::int64_t value) {
  int digits = 1;
  for (std::int64_t limit = 10; value >= limit; limit *= 10) ++digits;
  return digits;
}

// A negative value (a score driven below zero) draws as 0.
std::int64_t Shown(int value) { return value > 0 ? value : 0; }

}  // namespace

void DrawNumber(int x, int y, int value, int font) {
  if (font < 0 || font >= kDigitFonts) return;
  std::int64_t rest = Shown(value);
  const int digits = DigitCount(rest);
  for (int i = digits - 1; i >= 0; --i) {
    const int digit = static_cast<int>(rest % 10);
    rest /= 10;
    DrawGraphAt(x + i * kDigitAdvance[font], y, DigitFonts[font * kDigitCells + digit], 1);
  }
}

void DrawNumberRight(int xRight, int y, int value, int font) {
  if (font < 0 || font >= kDigitFonts) return;
  const int digits = DigitCount(Shown(value));
  DrawNumber(xRight - (digits - 1) * kDigitAdvance[font], y, value, font);
}
