#include "pixel_font.h"

#include <algorithm>
#include <cstdint>

namespace {

struct Glyph {
  char character;
  std::uint8_t rows[kGlyphHeight];  // bit 4 is the leftmost column
};

constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
};

const Glyph* FindGlyph(char character) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.character == character) return &glyph;
  }
  return nullptr;
}

}  // namespace

void VisitLabel(int x, int y, std::string_view text, int scale, const std::function<void(int x, int y)>& visit) {
  for (char character : text) {
    if (const Glyph* glyph = FindGlyph(character)) {
      for (int row = 0; row < kGlyphHeight * scale; ++row) {
        for (int column = 0; column < kGlyphWidth * scale; ++column) {
          if (glyph->rows[row / scale] & (0x10 >> (column / scale))) visit(x + column, y + row);
        }
      }
    }
    x += (kGlyphWidth + 1) * scale;
  }
}

void DrawLabel(Canvas& canvas, int x, int y, std::string_view text, int scale) {
  VisitLabel(x, y, text, scale, [&](int px, int py) {
    canvas.FillRect(px - kDigitRim, py - kDigitRim, 2 * kDigitRim + 1, 2 * kDigitRim + 1, kOutlineColour);
  });
  VisitLabel(x, y, text, scale, [&](int px, int py) { canvas.Set(px, py, kDigitColour); });
}

DigitPlace PlaceDigit(int cellWidth, int cellHeight) {
  const int scale = std::max(1, std::min(cellWidth / (kGlyphWidth + 1), cellHeight / (kGlyphHeight + 1)));
  return {(cellWidth - kGlyphWidth * scale) / 2, (cellHeight - kGlyphHeight * scale) / 2, scale};
}
