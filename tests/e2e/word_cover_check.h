// The words check of a drawn frame, from the back screen read around each of its draws:
// (a) every cell the game draws from a text picture carries words; (b) no word of a
// picture is covered by a later draw (the game's text or digits, a picture, a box or a
// line), nor crowded by the game's text or digits; (c) the game's text, its digits and
// the words of clear-ground pictures keep a contrast ratio of at least 4.5 with every
// pixel under them that a page, panel, text picture, cursor, marker or the game's own
// boxes and lines put there; (d) the HUD lies on no panel, page or text picture drawn in
// play and inside no cursor. Each finding is a test failure naming the frame, what was
// found and the boxes on the screen.
#pragma once

#include <string>

// Watches the drawing of the next frame, to its PresentScreen, and checks it.
void CheckWordsOfNextFrame(const std::string& frame);
