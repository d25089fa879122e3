// The words check of a drawn frame, from the back screen read around each of its draws.
// A word is any caption of a picture, a digit of a digit picture, or the game's own text.
// (a) every cell the game draws from a text picture carries words, and no sprite of the
//     play shows a cell of a sprite sheet that carries words (a label the display draws);
// (b) no word is covered by a later draw (a flat box as much as a line, any picture or
//     text; a layer over a word's whole box that keeps its differences, such as a veil or
//     a highlight, is not a cover; a sprite drawn at its object's place, in play or again
//     by the HUD, the HUD's edge markers and its map's frame and dots pass over words and
//     away), nor is a picture's word crowded by the game's later text or digits;
// (c) every word drawn, large or small, at whatever strength or blend, reads in the frame
//     as shown: its ink keeps a contrast ratio of at least 4.5 with the ground a reader
//     sees around its glyphs, whatever put it there (a page, a stage's backdrop, scenery
//     or an object); only a word caught mid-fade (drawn faintly or added at a strength the
//     frame before, recorded, did not draw it at) is asked for no more than white ink in
//     a black rim so drawn would reach there, nor than 3 from 24 pixels;
// (d) the HUD lies on no panel, page or text picture drawn in play (changing it as
//     noticeably as a cover would) and inside no cursor (its map aside, which passes over
//     them);
// (e) a cursor (a frame or bracket marking a word) lies wholly on the screen and holds a
//     word (its own caption counts); no word crosses its frame's lines, its own caption
//     no more than another (a line its caption was drawn over shows on both sides of it);
//     and its frame holds its own captions and the figures they label;
// (f) a figure of digits has a label on its row near it, unless it is named as needing
//     none (label_free_figures.h) and has none;
// (g) while the HUD draws its map, no caption lies where the map's frame can pass, unless
//     it is named as having to (a figure it labels stands there) and does.
// (h) no two captions of one picture the HUD draws read the same (each label names its own
//     figure or bar).
// Each finding is a test failure naming the frame, what was found and the boxes on the
// screen. Each checked frame adds the picture cells whose words it showed to the running
// test's kWordsSeenFile, and the names of the label-free figures it showed to its
// kLabelFreeFile.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "word_boxes.h"

constexpr const char* kWordsSeenFile = "words-seen.txt";
constexpr const char* kLabelFreeFile = "label-free-figures.txt";

struct WordCheck {
  // Called after each draw of the frame with what it drew (a picture's file name, "a box",
  // "the text '...'"): a test plants a fault by drawing more, checked with the rest.
  std::function<void(const std::string& drawn)> afterDraw;
  // The words of cells ("<file>#<cell>") that a test drew elsewhere in a picture of its
  // own, in place of those the generator wrote; and the pictures (by file name) it drew.
  std::map<std::string, std::vector<WordInk>> plantedWords;
  std::map<std::string, Canvas> plantedPictures;
  // When given, the findings are kept here instead of failing the test.
  std::vector<std::string>* findings = nullptr;
};

// Watches the drawing of the next frame, to its PresentScreen, and checks it.
void CheckWordsOfNextFrame(const std::string& frame, const WordCheck& check = {});
