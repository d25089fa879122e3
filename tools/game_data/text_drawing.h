// Captions in the generated pictures, drawn with the proportional IPA Gothic face
// through FreeType. Over the transparent green a glyph's edge blends towards black,
// so a caption keeps a dark rim whether the game draws it blended or added.
#pragma once

#include <functional>
#include <string_view>

#include "canvas.h"

enum class Align { kLeft, kCentre, kRight };

// The face is found once; false (with a message on standard error) when it cannot be.
bool TextFaceReady();
// The width of a caption at a pixel size.
int TextWidth(std::string_view text, int size);
// Draws a caption with its top at `y`, placed by `align` against `x`, in a dark rim: the
// pixels within OutlineWidth(size) of any of its ink turn dark first, so the caption
// reads on whatever ground the game draws it over, however faintly (without the rim,
// for a test that wants a caption without it).
void DrawText(Canvas& canvas, int x, int y, std::string_view text, int size, Colour colour,
              Align align = Align::kLeft, bool rimmed = true);
// The width of a caption's dark rim, and of the ground around its glyphs that a
// reader sees it against.
int OutlineWidth(int size);
// Visits each pixel of a caption's glyphs with its coverage (1 to 255), placed as
// DrawText places it: DrawText blends by this walk, and the word boxes report it.
using InkVisitor = std::function<void(int x, int y, int coverage)>;
void VisitInk(int x, int y, std::string_view text, int size, Align align, const InkVisitor& visit);
// The largest size up to `size` at which the caption fits `width`.
int FittingSize(std::string_view text, int size, int width);

// For the tests: every caption drawn from now on is handed to `observer` (null stops).
using TextObserver = void (*)(std::string_view text);
void ObserveTexts(TextObserver observer);
