// A 5 x 7 pixel font for the digit pictures.
#pragma once

#include <string_view>

#include "canvas.h"

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Draws the digits with each font pixel as a scale x scale block; other characters
// draw as a blank.
void DrawLabel(Canvas& canvas, int x, int y, std::string_view text, int scale, Colour colour);
