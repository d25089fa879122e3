// The words check of a drawn frame, from the back screen read around each of its draws.
// A word is any caption of a picture, a digit of a digit picture, or the game's own text.
// (a) every cell the game draws from a text picture carries words;
// (b) no word is covered by a later draw of the page's furniture (a flat box as much as
//     a line, a picture or text; a layer over a word's whole box that keeps its
//     differences, such as a veil or a highlight, is not a cover; sprites and markers in
//     play pass over words and away), nor is a picture's word crowded by the game's
//     later text or digits;
// (c) every word reads in the frame as shown: its ink keeps a contrast ratio of at least
//     4.5 (3 from 24 pixels) with the ground a reader sees around its glyphs, whatever put
//     it there (a page, a stage's backdrop, scenery or an object); a word drawn faintly or
//     added to the screen, most of what such a draw could reach there;
// (d) the HUD lies on no panel, page or text picture drawn in play and inside no cursor;
// (e) a cursor (a frame or bracket marking a word) lies wholly on the screen and holds a
//     word (its own caption counts), and no word crosses its edge;
// (f) a figure of digits has a label on its row near it, or else no label near it off
//     its row that lacks another figure on its own row.
// Each finding is a test failure naming the frame, what was found and the boxes on the
// screen. Each checked frame adds the picture cells whose words it showed to the running
// test's "words-seen.txt".
#pragma once

#include <functional>
#include <string>
#include <vector>

struct WordCheck {
  // Called after each draw of the frame with what it drew (a picture's file name, "a box",
  // "the text '...'"): a test plants a fault by drawing more, checked with the rest.
  std::function<void(const std::string& drawn)> afterDraw;
  // When given, the findings are kept here instead of failing the test.
  std::vector<std::string>* findings = nullptr;
};

// Watches the drawing of the next frame, to its PresentScreen, and checks it.
void CheckWordsOfNextFrame(const std::string& frame, const WordCheck& check = {});
