// The on-screen log: a text buffer of 80 lines and the font to draw it with, set up
// at the end of the start-up and after every screen-mode change. Its state word says
// whether the log is shown on screen; the library never shows it, so the word stays 0
// and presenting never draws the log.
#pragma once

#include <cstdint>

// Needs a DirectDraw object and the main window (-1 otherwise). The first call makes
// the font (size 16); every call clears the lines and the state word.
int InitScreenLog();
// Makes the font again (edged, thickness 4) when the font layer reported it lost.
int RecreateScreenLogFont();
// Draws as many lines as fit in the screen height, 16 pixels apart, in white with a
// black edge at x 0.
int DrawScreenLog();
std::uint32_t GetScreenLogState();
