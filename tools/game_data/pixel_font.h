// A 5 x 7 pixel font for the labels drawn into placeholder pictures.
#pragma once

#include <string_view>

#include "canvas.h"

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Draws the text with each font pixel as a scale x scale block; unknown characters
// draw as a blank. Letters are drawn in upper case.
void DrawLabel(Canvas& canvas, int x, int y, std::string_view text, int scale, Colour colour);
// The width the label takes.
int LabelWidth(std::string_view text, int scale);
