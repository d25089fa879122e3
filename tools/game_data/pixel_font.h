// A 5 x 7 pixel font for the digit pictures.
#pragma once

#include <functional>
#include <string_view>

#include "canvas.h"

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Visits each pixel the digits cover, each font pixel a scale x scale block with its top
// left at (x, y); other characters are blanks: DrawLabel draws by this walk, and the
// word boxes report it.
void VisitLabel(int x, int y, std::string_view text, int scale, const std::function<void(int x, int y)>& visit);
// The digits' ink, and the width of their dark rim.
constexpr Colour kDigitColour = {255, 255, 255};
constexpr int kDigitRim = 1;
// Draws the digits, each in its dark rim.
void DrawLabel(Canvas& canvas, int x, int y, std::string_view text, int scale);

// A digit picture's cell holds one digit, centred, as large as whole font pixels allow
// with a pixel of its own around it (for the rim).
struct DigitPlace {
  int x, y, scale;
};
DigitPlace PlaceDigit(int cellWidth, int cellHeight);
