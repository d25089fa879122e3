#include "word_cover_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "core/animation.h"
#include "core/display.h"
#include "core/game_state.h"
#include "float_to_int.h"
#include "core/resource_table.h"
#include "game_library.h"
#include "label_free_figures.h"
#include "kernel/code_page.h"
#include "picture_words.h"
#include "placeholder_art.h"
#include "word_boxes.h"
#include "word_check_measures.h"
#include "word_check_pictures.h"

namespace {

// A word's glyph pixels: those its glyphs cover at least half. Its ink: those they cover
// fully (there the picture holds the word's own colour).
constexpr int kGlyphCoverage = 128;
constexpr int kFullCoverage = 255;
// A change a reader sees: one of the channels moves by this much or more.
constexpr int kNoticeable = 40;
// The WCAG 2 contrast ratio (lighter + 0.05) / (darker + 0.05) of relative luminances,
// asked between a word's ink and the ground around its glyphs: 4.5, for large words as
// for the HUD's labels (they are read at a glance over the play), whatever strength or
// blend the word is drawn with, since a reader meets it so. A word caught mid-fade
// (drawn faintly or added, its strength changing from the frame before) is read once
// the fade has passed: it is asked for no more than what any picture could reach so
// drawn on that ground (white ink in a black rim, or white added), nor than WCAG asks of
// its size (3 from 24 pixels). The screen's blend rounds each channel, so that best is
// taken this many levels short.
constexpr double kLeastContrast = 4.5;
constexpr double kLeastLargeContrast = 3.0;
constexpr int kLargeWord = 24;
constexpr int kBlendRounding = 2;
// The share of that ground that may fall short of it: a stray edge of a sprite passing by.
constexpr double kShortGroundShare = 0.05;
constexpr double kStrayPixels = 4;
// A layer over a word keeps at least this share of each channel's differences.
constexpr double kLeastLayerSlope = 0.3;
// The rows a line of the library's default font may touch below its top.
constexpr int kTextRows = 24;
// Glyph columns of the game's text parted by more empty columns than this are two words.
constexpr int kWideSpace = 6;
// How far from a figure of digits its label may stand.
constexpr int kFigureReach = 120;
// The HUD's map: the view's frame and the objects' dots, the world drawn a twentieth as
// large from (352, 639). They follow the camera and the objects, as sprites do; the
// frame's reach is where the view's frame can pass over the camera's whole range.
constexpr Box kHudMap = {352, 639, 324, 100};
constexpr Box kMapFrameReach = {352, 639, 321, 97};

// Captions that must stand where the map's frame passes: each labels a figure the game
// writes there, on its row.
struct WordInTheMapsReach {
  const char* file;
  const char* text;
  const char* why;
};
constexpr WordInTheMapsReach kWordsInTheMapsReach[] = {
    {"tally01-01.png", "SCORE",
     "the tally's score is written right-aligned at x 474, row 676, in the map's reach: its label stands on "
     "that row within reach of it, and room left of the reach (from x 352) or right of it (to x 672) is too far"},
};

// What a draw is to the words around it: a picture of the scene (a sprite, a backdrop);
// pages, panels, text pictures, cursors, markers and the game's boxes and lines, which
// the HUD keeps off; or the game's text and digits, which keep a word's margin clear.
enum class Role { kSprite, kGround, kText };

// Pixels of a word that another draw met (covered or crowded): a cover by a layer (a
// page, a veil, a highlight bar that changed the whole ground of the word's box by one
// map that keeps its differences) lies over the word rather than across it.
struct Met {
  int pixels = 0;
  Box box;
  bool layer = false;

  void Add(int x, int y) {
    ++pixels;
    box.Add(x, y);
  }
};
using Crossings = std::map<int, Met>;  // by the draw met

struct Draw {
  std::string what;
  std::string text;  // the game's text
  std::string file;  // a picture's file name
  int cell = 0;      // and its cell
  Box area;          // where the call may draw
  Box changed;       // the pixels it changed
  int changedPixels = 0;
  Role role = Role::kSprite;
  int blend = 0, strength = 255;  // the blend mode and its strength
  bool filled = false;            // a box: filled
  bool hud = false;      // drawn by the play display's HUD
  bool passing = false;  // a sprite of the play or a marker following one: it passes by
  bool sprite = false;   // drawn by the objects pass at an object's place, with its picture
  bool turned = false;   // drawn turned or scaled: its area is only a bound
  bool fading = false;   // caught mid-fade: faint or added, at a strength the frame before did not draw it at
  bool picture = false;  // a picture, not the game's text, box or line
  bool cursor = false;   // a cursor's frame or bracket, or a marker
  Box frame;             // a cursor's frame on the screen (its visible pixels but its words)
  const CellFacts* lines = nullptr;  // and its lines, from the draw's origin
  std::set<int> hudOn;   // the HUD: the pictures whose pixels it was drawn on
  // A picture's words: the cell's own and its top-left on the screen.
  const std::vector<WordInk>* words = nullptr;
  int originX = 0, originY = 0;
};

struct ScreenWord;

// The mean luminance of a word's ink within a few pixels of a pixel of its ground (a
// word drawn faintly over a changing ground is as light or dark as the ground beside
// it), or of all its ink when none is that near; and the same of white ink drawn as the
// word was, over what lay under it.
class InkNearby {
 public:
  InkNearby(const ScreenWord& word, const Canvas& screen, const Blend& blend);
  double At(std::size_t p) const { return Mean(luminance_, all_, p); }
  // White ink rounded darker, or lighter.
  double WhiteAt(std::size_t p, int rounded) const {
    return rounded < 0 ? Mean(white_, allWhite_, p) : Mean(whiteUp_, allWhiteUp_, p);
  }

 private:
  static constexpr int kNear = 4;
  double Mean(const std::vector<double>& grid, double all, std::size_t p) const;

  Box near_;
  std::vector<double> luminance_, white_, whiteUp_;  // by pixel of near_: the ink's, or -1
  double all_ = 0.0, allWhite_ = 0.0, allWhiteUp_ = 0.0;  // the means of all of them
};

struct ScreenWord {
  ScreenWord(int by, std::string words, bool isDigit) : draw(by), text(std::move(words)), digit(isDigit) {}

  int draw;
  std::string text;
  bool digit;  // a digit picture's digit
  bool drawn = false;  // its draw changed its glyphs, however faintly: it is measured
  bool shown = false;  // its glyphs show: it is covered and seen
  bool gone = false;   // wholly under a picture drawn later over the whole screen
  int margin = 0;      // the clear space it needs from the game's later text and digits
  int reach = 1;       // its rim: how far around its glyphs its ground lies
  double fadingNeed = kLeastContrast;  // the contrast it is asked for at most caught mid-fade
  Box box;             // its glyph pixels
  std::vector<Box> pieces;  // the words of the game's text, split at its wide spaces
  std::vector<std::size_t> glyph, ink, ground;
  std::vector<Colour> inkUnder, groundUnder;  // what lay under each before the word was drawn
  Crossings covers;  // its glyph pixels, by the later draw
  Crossings crowds;  // its margin, by the game's later text and digits
};

InkNearby::InkNearby(const ScreenWord& word, const Canvas& screen, const Blend& blend)
    : near_(word.box.Grown(kNear + 4)) {
  luminance_.assign(static_cast<std::size_t>(near_.w) * near_.h, -1.0);
  white_ = whiteUp_ = luminance_;
  const double share = 1.0 / static_cast<double>(word.ink.size());
  for (std::size_t i = 0; i < word.ink.size(); ++i) {
    const std::size_t p = word.ink[i];
    const std::size_t at = near_.Index(ColumnOf(p), RowOf(p));
    luminance_[at] = Luminance(screen.pixels[p]);
    white_[at] = Luminance(Nudged(blend.Over(word.inkUnder[i], 255), -kBlendRounding));
    whiteUp_[at] = Luminance(Nudged(blend.Over(word.inkUnder[i], 255), kBlendRounding));
    all_ += luminance_[at] * share, allWhite_ += white_[at] * share, allWhiteUp_ += whiteUp_[at] * share;
  }
}

double InkNearby::Mean(const std::vector<double>& grid, double all, std::size_t p) const {
  const int px = ColumnOf(p), py = RowOf(p);
  double sum = 0.0;
  int count = 0;
  for (int y = std::max(py - kNear, near_.y); y <= std::min(py + kNear, near_.Bottom() - 1); ++y) {
    for (int x = std::max(px - kNear, near_.x); x <= std::min(px + kNear, near_.Right() - 1); ++x) {
      const double l = grid[near_.Index(x, y)];
      if (l >= 0.0) sum += l, ++count;
    }
  }
  return count > 0 ? sum / count : all;
}

// A line of the findings: the subject (a word, a text, a HUD piece, a cursor), how the
// other draw met it, the pixels where, and for contrasts the lowest ratio met.
struct Finding {
  std::string key, rule, subject, relation, other;
  Box subjectBox, otherBox, where;
  int pixels = 0, of = 0;
  std::set<int> subjects;        // the words or draws merged, each counted once in `of`
  std::set<std::string> pieces;  // for the HUD: its pieces
  double least = 100.0;  // for contrasts: the lowest ratio met
  double need = 0.0;     // and the ratio asked for there

  void Count(int subject, int more, int total, const Box& at) {
    pixels += more;
    if (subjects.insert(subject).second) of += total;
    where.Add(at);
  }
};

std::ostream& operator<<(std::ostream& out, const Finding& f) {
  out << f.rule << ' ' << f.subject << " at " << f.subjectBox << ' ' << f.relation << ' ' << f.other;
  if (!f.otherBox.Empty()) out << " at " << f.otherBox;
  if (f.pixels == 0) return out;
  out << ": ";
  if (f.need > 0.0) {
    out << std::fixed << std::setprecision(1) << "contrast down to " << std::floor(f.least * 10) / 10 << " ("
        << f.need << " asked) at ";
  }
  out << f.pixels << (f.of > 0 ? " of " + std::to_string(f.of) : "") << " pixels, " << f.where;
  for (const std::string& piece : f.pieces) out << (piece == *f.pieces.begin() ? " (" : "; ") << piece;
  return out << (f.pieces.empty() ? "" : ")");
}

// A finding fails the running test, unless the test keeps them (`kept`); with
// VANTOREL_WORD_FINDINGS naming a file, it is added to that file instead, so that a
// whole run's findings can be read as one list.
void Report(const std::string& frame, const std::string& line, std::vector<std::string>* kept) {
  if (kept != nullptr) {
    kept->push_back(frame + ": " + line);
    return;
  }
  static const char* const file = std::getenv("VANTOREL_WORD_FINDINGS");
  if (file == nullptr || *file == '\0') {
    ADD_FAILURE() << frame << ": " << line;
    return;
  }
  std::ofstream(file, std::ios::app) << frame << ": " << line << '\n';
}

// Adds the lines to one of the running test's records (its folder, and so the file, is
// emptied by the test's first use of it).
void Record(const char* file, const std::set<std::string>& lines) {
  std::ofstream out(TestFrameFolder() / file, std::ios::app);
  for (const std::string& line : lines) out << line << '\n';
}

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool HasLetters(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::isalpha(c) || c >= 0x80; });
}

class FrameWatch {
 public:
  void Arm(const std::string& frame, const WordCheck& check) {
    frame_ = frame;
    check_ = check;
    armed_ = true;
    started_ = false;
    NoteTheFrameBefore();
  }

  void See(const RecordedCall& call) {
    if (!armed_) return;
    switch (call.call) {
      case Call::SetBlendMode: blend_ = call.Int(0), strength_ = call.Int(1); break;
      case Call::DrawHud:
        hud_ = call.Int(0) == 1;
        if (hud_) NoteObjectPlaces();  // the HUD may draw the dragon again at its place
        break;
      case Call::DrawObjects:
        inPlay_ = call.Int(0) == 1;
        if (inPlay_) NoteObjectPlaces();
        break;
      case Call::ClearDrawTarget: Start(true); break;
      case Call::PresentScreen: Finish(); break;
      case Call::DrawGraphAt:
      case Call::DrawGraphMirrored:
      case Call::DrawGraphRotated:
      case Call::DrawRect:
      case Call::DrawLineSegment:
      case Call::DrawFormattedText:
      case Call::DrawTextAt:
      case Call::DrawGraphFileAt:
        // The loading picture is drawn on the fresh screen before the frame loop clears it.
        if (!started_) Start(false);
        Take(Describe(call));
        if (check_.afterDraw) check_.afterDraw(draws_.back().picture ? draws_.back().file : draws_.back().what);
        break;
      default: break;
    }
  }

 private:
  // A frame's drawing starts on the cleared screen, read back; or on a fresh one, black.
  void Start(bool cleared) {
    started_ = true;
    screen_ = Canvas(kScreenWidth, kScreenHeight, Colour{0, 0, 0});
    if (cleared && !ReadBackScreen(0, 0, screen_)) ADD_FAILURE() << frame_ << ": the screen could not be read";
    owner_.assign(screen_.pixels.size(), -1);
    wordAt_.assign(screen_.pixels.size(), -1);
    marginOf_.assign(screen_.pixels.size(), -1);
    draws_.clear();
    tile_.clear();
    words_.clear();
    unworded_.clear();
    wordedSprites_.clear();
    mapShown_ = false;
    plantedFacts_.clear();
    findings_.clear();
    seen_.clear();
    labelFree_.clear();
  }

  Draw Describe(const RecordedCall& call) {
    Draw draw;
    draw.hud = hud_;
    draw.blend = blend_, draw.strength = strength_;
    switch (call.call) {
      case Call::DrawRect:
        draw.what = "a box";
        draw.filled = call.Int(5) != 0;
        draw.area = {call.Int(0) - 1, call.Int(1) - 1, call.Int(2) - call.Int(0) + 3, call.Int(3) - call.Int(1) + 3};
        draw.role = Role::kGround;
        draw.passing =
            hud_ && kHudMap.Holds({call.Int(0), call.Int(1), call.Int(2) - call.Int(0), call.Int(3) - call.Int(1)});
        break;
      case Call::DrawLineSegment: {
        const int left = std::min(call.Int(0), call.Int(2)), top = std::min(call.Int(1), call.Int(3));
        draw.what = "a line";
        draw.area = {left - 2, top - 2, std::abs(call.Int(2) - call.Int(0)) + 5,
                     std::abs(call.Int(3) - call.Int(1)) + 5};
        draw.role = Role::kGround;
        break;
      }
      case Call::DrawFormattedText:
      case Call::DrawTextAt:
        draw.text = Cp932ToUtf8(call.text.c_str());
        draw.what = "the text '" + draw.text + "'";
        draw.area = {call.Int(0) - 2, call.Int(1) - 2, kScreenWidth, kTextRows + 2};
        draw.role = Role::kText;
        break;
      default: DescribePicture(call, draw); break;
    }
    if (blend_ != 0) draw.what += " (blend " + std::to_string(blend_) + ", " + std::to_string(strength_) + ")";
    draw.fading = (blend_ == kBlendAdd || PartStrength(draw)) && CaughtMidFade(call);
    return draw;
  }

  // What a drawing call drew, the same from frame to frame: a picture's cell, or a text.
  static std::string ThingDrawn(const RecordedCall& call) {
    switch (call.call) {
      case Call::DrawGraphAt:
      case Call::DrawGraphMirrored:
      case Call::DrawGraphRotated: {
        const GraphPicture* graph = PictureOfGraph(call.Int(call.call == Call::DrawGraphRotated ? 4 : 2));
        return graph == nullptr ? "" : graph->file + "#" + std::to_string(graph->cell);
      }
      case Call::DrawGraphFileAt:
      case Call::DrawFormattedText:
      case Call::DrawTextAt: return std::string(CallName(call.call)) + " " + call.text;
      default: return "";
    }
  }
  // A strength as the screen shows it: anything past full is full.
  static int ShownStrength(int strength) { return std::clamp(strength, 0, 255); }

  // The strengths at which the frame before (when its drawing was recorded) drew each
  // thing, by its blend.
  void NoteTheFrameBefore() {
    drawnBefore_.clear();
    int blend = 0, strength = 0;
    for (const RecordedCall& call : DrawingOfTheFrameBefore()) {
      if (call.call == Call::SetBlendMode) blend = call.Int(0), strength = call.Int(1);
      const std::string thing = ThingDrawn(call);
      if (!thing.empty()) drawnBefore_[{thing, blend}].insert(ShownStrength(strength));
    }
  }
  // Whether the thing drawn now was drawn in the frame before with the same blend, but
  // never at the strength it has now: a fade in or out, caught on its way.
  bool CaughtMidFade(const RecordedCall& call) const {
    const auto before = drawnBefore_.find({ThingDrawn(call), blend_});
    return before != drawnBefore_.end() && !before->second.contains(ShownStrength(strength_));
  }

  void DescribePicture(const RecordedCall& call, Draw& draw) {
    const bool rotated = call.call == Call::DrawGraphRotated;
    draw.turned = rotated;
    const GraphPicture fromFile = {call.text.substr(call.text.find_last_of("\\/") + 1), 0};
    const GraphPicture* graph =
        call.call == Call::DrawGraphFileAt ? &fromFile : PictureOfGraph(call.Int(rotated ? 4 : 2));
    const PictureFile* picture = graph == nullptr ? nullptr : PictureNamed(graph->file);
    if (picture == nullptr) {
      draw.what = "an unnamed graph";
      draw.area = {0, 0, kScreenWidth, kScreenHeight};
      return;
    }
    draw.what = graph->file + (picture->count > 0 ? "#" + std::to_string(graph->cell) : "");
    draw.file = graph->file;
    draw.cell = graph->cell;
    draw.picture = true;
    draw.cursor = CellIsACursor(*picture, graph->cell) || IsSelectionMark(*picture, graph->cell);
    const double scale = rotated ? call.arguments[2] : 1.0, angle = rotated ? call.arguments[3] : 0.0;
    // A negative scale draws the picture turned over, as large.
    const double halfW = picture->width * std::abs(scale) / 2, halfH = picture->height * std::abs(scale) / 2;
    const double spanX = std::abs(std::cos(angle)) * halfW + std::abs(std::sin(angle)) * halfH;
    const double spanY = std::abs(std::sin(angle)) * halfW + std::abs(std::cos(angle)) * halfH;
    draw.area =
        rotated ? Box{static_cast<int>(call.arguments[0] - spanX) - 5, static_cast<int>(call.arguments[1] - spanY) - 5,
                      static_cast<int>(2 * spanX) + 11, static_cast<int>(2 * spanY) + 11}
                : Box{call.Int(0), call.Int(1), picture->width, picture->height};
    const bool ground = picture->art == PictureArt::kText || picture->art == PictureArt::kPanel ||
                        picture->art == PictureArt::kScreen || WordsOf(picture->name) != nullptr ||
                        IsStillMark(*picture, graph->cell);
    draw.role = picture->art == PictureArt::kDigits ? Role::kText : ground ? Role::kGround : Role::kSprite;
    draw.sprite = (inPlay_ || hud_) && rotated && AnObjectsPicture(call.Int(0), call.Int(1), call.Int(4));
    draw.passing = draw.role == Role::kSprite && (draw.sprite || IsEdgeMark(*picture, graph->cell));
    if (draw.sprite && !IsTextPicture(*picture) && !WordsOfCell(*picture, graph->cell).empty()) {
      wordedSprites_.push_back(draw.what + " at " + (std::ostringstream() << draw.area).str());
    }
    draw.originX = rotated ? call.Int(0) - picture->width / 2 : call.Int(0);
    draw.originY = rotated ? call.Int(1) - picture->height / 2 : call.Int(1);
    const bool plain = !rotated || (scale == 1.0 && angle == 0.0 && call.Int(6) == 0);
    if (draw.cursor && plain) {
      const auto planted = check_.plantedPictures.find(draw.file);
      draw.lines = planted == check_.plantedPictures.end()
                       ? &FactsOfCell(*picture, graph->cell)
                       : &plantedFacts_.emplace_back(FactsOfCell(*picture, graph->cell, planted->second,
                                                                 WordsDrawn(*picture, graph->cell)));
      const Box& frame = draw.lines->frame;
      draw.frame = {draw.originX + frame.x, draw.originY + frame.y, frame.w, frame.h};
    }
    const std::vector<WordInk>& words = WordsDrawn(*picture, graph->cell);
    if (IsTextPicture(*picture) && words.empty() && !draw.cursor) {
      unworded_.push_back(draw.what + " at " + (std::ostringstream() << draw.area).str());
    }
    // Words are followed where they read: not turned, scaled or mirrored.
    if (!words.empty() && plain && call.call != Call::DrawGraphMirrored) draw.words = &words;
  }

  // The words of a cell as the frame's pictures hold them: the generator's, or a test's.
  const std::vector<WordInk>& WordsDrawn(const PictureFile& picture, int cell) const {
    const auto planted = check_.plantedWords.find(std::string(picture.name) + "#" + std::to_string(cell));
    return planted != check_.plantedWords.end() ? planted->second : WordsOfCell(picture, cell);
  }

  // Where the objects pass may draw each record's picture: its place on the screen, each
  // coordinate truncated after the subtraction of the camera or (its hit flash) before.
  static std::int64_t PlaceKey(int x, int y) { return static_cast<std::int64_t>(x) << 32 ^ static_cast<std::uint32_t>(y); }
  void NoteObjectPlaces() {
    objectsAt_.clear();
    for (int slot = 0; slot < kPoolSize; ++slot) {
      const GameObject& object = ObjectPool[slot];
      if (object.state == kStateFree && slot != kPlayerSlot) continue;
      objectsAt_.emplace(PlaceKey(FloatToInt(object.x - CameraX), FloatToInt(object.y - CameraY)), slot);
      objectsAt_.emplace(PlaceKey(FloatToInt(object.x) - FloatToInt(CameraX), FloatToInt(object.y) - FloatToInt(CameraY)),
                         slot);
    }
  }
  // Whether a picture drawn at (x, y) is the one an object shows there.
  bool AnObjectsPicture(int x, int y, int handle) const {
    const auto [from, to] = objectsAt_.equal_range(PlaceKey(x, y));
    return std::any_of(from, to, [handle](const auto& entry) {
      const GameObject& object = ObjectPool[entry.second];
      return object.imageSet >= 0 && object.imageSet < kImageSets &&
             SpriteHandles[object.imageSet * kCellsPerSet + CurrentAnimationPair(object).frame] == handle;
    });
  }

  // Whether the draw just taken laid one flat layer over the word (a page, a veil, a
  // highlight bar): over the ground of the word's box its result is one map of what lay
  // there, after = k * before + c in each channel (clamped), to within half a noticeable
  // change, that keeps the differences under it (k not near 0: a solid box maps all to one
  // colour). A line, a frame or an edge across the box breaks that map.
  bool LaidOver(int word, const Box& area, const std::vector<Colour>& before, const std::vector<Colour>& after) const {
    const Box& box = words_[word].box;
    std::vector<std::pair<Colour, Colour>> ground;
    for (int y = box.y; y < box.Bottom(); ++y) {
      for (int x = box.x; x < box.Right(); ++x) {
        if (wordAt_[At(x, y)] == word) continue;
        if (!area.Holds(x, y)) return false;
        ground.emplace_back(before[area.Index(x, y)], after[area.Index(x, y)]);
      }
    }
    for (std::uint8_t Colour::*channel : {&Colour::r, &Colour::g, &Colour::b}) {
      double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
      for (const auto& [was, now] : ground) {
        const double x = was.*channel, y = now.*channel;
        if (y <= 0 || y >= 255) continue;  // clamped: no measure of the map
        n += 1, sx += x, sy += y, sxx += x * x, sxy += x * y;
      }
      const double spread = n > 0 ? sxx - sx * sx / n : 0;
      if (spread <= 1e-6) return false;  // nothing left to measure the map by
      const double k = (sxy - sx * sy / n) / spread, c = (sy - k * sx) / n;
      if (k < kLeastLayerSlope) return false;
      for (const auto& [was, now] : ground) {
        if (std::abs(std::clamp(k * (was.*channel) + c, 0.0, 255.0) - now.*channel) > kNoticeable / 2) return false;
      }
    }
    return true;
  }

  void Take(Draw draw) {
    const int index = static_cast<int>(draws_.size());
    const Box area = draw.area.OnScreen();
    if (area.Empty()) {
      draws_.push_back(std::move(draw));
      return;
    }
    // Kept from draw to draw: fresh buffers of a screen's size fault in their pages anew.
    Canvas& after = after_;
    after.width = area.w, after.height = area.h;
    after.pixels.assign(static_cast<std::size_t>(area.w) * area.h, Colour{});
    if (!ReadBackScreen(area.x, area.y, after)) ADD_FAILURE() << frame_ << ": the screen could not be read";
    std::vector<Colour>& before = before_;
    before.assign(after.pixels.size(), Colour{});
    std::vector<std::pair<std::size_t, int>>& changes = changes_;  // screen pixel, change
    changes.clear();
    std::set<int> crossed;
    for (int y = area.y; y < area.Bottom(); ++y) {
      for (int x = area.x; x < area.Right(); ++x) {
        const std::size_t p = At(x, y), a = area.Index(x, y);
        const Colour was = before[a] = screen_.pixels[p], now = after.pixels[a];
        if (Same(was, now)) continue;
        const int change = Change(was, now);
        changes.emplace_back(p, change);
        draw.changed.Add(x, y);
        ++draw.changedPixels;
        if (change >= kNoticeable && wordAt_[p] >= 0) {
          words_[wordAt_[p]].covers[index].Add(x, y);
          crossed.insert(wordAt_[p]);
        } else if (change >= kNoticeable && marginOf_[p] >= 0 && draw.role == Role::kText) {
          words_[marginOf_[p]].crowds[index].Add(x, y);
        }
        const int under = owner_[p];
        if (draw.hud && change >= kNoticeable && under >= 0 && !draws_[under].hud && draws_[under].picture &&
            draws_[under].role == Role::kGround) {
          draw.hudOn.insert(under);
        }
        screen_.pixels[p] = now;
        owner_[p] = index;
      }
    }
    for (int word : crossed) words_[word].covers[index].layer = LaidOver(word, area, before, after.pixels);
    // An opaque draw over the whole screen starts the picture anew: what lay under it (a
    // number drawn while objects update, before the stage is drawn) is no part of the frame.
    if (Wipes(draw, area)) {
      for (ScreenWord& word : words_) word.gone = true;
    }
    if (draw.cursor && draw.changedPixels > 0) Seen(draw);
    mapShown_ |= draw.hud && draw.passing && !draw.picture && draw.changedPixels > 0;
    draws_.push_back(std::move(draw));
    if (draws_.back().words != nullptr) PlaceWords(index, area, before);
    if (draws_.back().role == Role::kText && !draws_.back().picture) PlaceText(index, changes, area, before);
  }

  void AddWord(ScreenWord word) {
    const int index = static_cast<int>(words_.size());
    words_.push_back(std::move(word));
    const ScreenWord& added = words_.back();
    if (!added.shown) return;
    for (std::size_t p : added.glyph) wordAt_[p] = index;
    if (added.margin > 0) MarkMargin(index);
  }

  // The boxes of the runs of a text's glyph columns that wide spaces part.
  static std::vector<Box> Pieces(const std::vector<std::size_t>& glyph) {
    std::map<int, Box> columns;  // by column: the glyph pixels' rows
    for (std::size_t p : glyph) {
      columns[ColumnOf(p)].Add(ColumnOf(p), RowOf(p));
    }
    std::vector<Box> pieces;
    int last = -kWideSpace - 1;
    for (const auto& [column, rows] : columns) {
      if (column - last > kWideSpace || pieces.empty()) pieces.emplace_back();
      pieces.back().Add(rows);
      last = column;
    }
    return pieces;
  }

  // The game's own text: its glyphs are the pixels it changed noticeably, the ground a
  // reader sees it on the pixels around them that it left as they were.
  void PlaceText(int index, const std::vector<std::pair<std::size_t, int>>& changes, const Box& area,
                 const std::vector<Colour>& before) {
    ScreenWord word(index, draws_[index].text, false);
    const Box near = draws_[index].changed.Grown(1).OnScreen();
    if (near.Empty()) return;
    std::vector<char> drawn(static_cast<std::size_t>(near.w) * near.h);
    for (const auto& [p, change] : changes) {
      drawn[near.Index(ColumnOf(p), RowOf(p))] = 1;
      if (change < kNoticeable) continue;
      word.inkUnder.push_back(before[area.Index(ColumnOf(p), RowOf(p))]);
      word.glyph.push_back(p);
      word.box.Add(ColumnOf(p), RowOf(p));
    }
    word.ink = word.glyph;
    word.fadingNeed = FadingNeedOf(word.box.h);
    word.drawn = word.shown = !word.glyph.empty();
    word.pieces = Pieces(word.glyph);
    VisitRing(drawn, near, 1, [&](int x, int y) {
      word.ground.push_back(At(x, y));
      word.groundUnder.push_back(screen_.pixels[At(x, y)]);
    });
    if (word.shown) AddWord(std::move(word));
  }

  // Marks the clear space a shown word needs: the pixels within its margin of a glyph.
  void MarkMargin(int word) {
    const int margin = words_[word].margin;
    const Box near = words_[word].box.Grown(margin).OnScreen();
    std::vector<char> mask(static_cast<std::size_t>(near.w) * near.h);
    for (std::size_t p : words_[word].glyph) {
      mask[near.Index(ColumnOf(p), RowOf(p))] = 1;
    }
    VisitRing(mask, near, margin, [&](int x, int y) { marginOf_[At(x, y)] = word; });
  }

  // The words a picture put on the screen: its glyph pixels, its ink, and the ground a
  // reader sees it against, the pixels its glyphs leave bare within its reach of any ink. A word
  // shows once most of its glyph pixels changed noticeably or already held its colour.
  void PlaceWords(int index, const Box& area, const std::vector<Colour>& before) {
    const Draw& draw = draws_[index];
    for (const WordInk& ink : *draw.words) {
      ScreenWord word(index, ink.text, ink.digit);
      word.margin = ink.digit ? 0 : ink.size / 2;
      word.reach = ink.reach;
      word.fadingNeed = FadingNeedOf(ink.size);
      const Box reach = Box{draw.originX + ink.x, draw.originY + ink.y, ink.width, ink.height}.Grown(ink.reach);
      const Box near = reach.OnScreen();
      if (near.Empty()) continue;
      std::vector<char> inked(static_cast<std::size_t>(near.w) * near.h);
      int drawn = 0, shown = 0;
      for (int y = near.y; y < near.Bottom(); ++y) {
        for (int x = near.x; x < near.Right(); ++x) {
          const int coverage = ink.At(x - draw.originX, y - draw.originY);
          inked[near.Index(x, y)] = coverage > 0;
          if (coverage < kGlyphCoverage || !area.Holds(x, y)) continue;
          const std::size_t p = At(x, y), a = area.Index(x, y);
          word.glyph.push_back(p);
          word.box.Add(x, y);
          if (coverage == kFullCoverage) word.ink.push_back(p), word.inkUnder.push_back(before[a]);
          drawn += !Same(before[a], screen_.pixels[p]);
          shown += Change(before[a], screen_.pixels[p]) >= kNoticeable ||
                   Change(ink.colour, screen_.pixels[p]) < kNoticeable / 2;
        }
      }
      if (drawn == 0) continue;
      VisitRing(inked, near, ink.reach, [&](int x, int y) {
        word.ground.push_back(At(x, y));
        word.groundUnder.push_back(area.Holds(x, y) ? before[area.Index(x, y)] : screen_.pixels[At(x, y)]);
      });
      word.drawn = true;
      word.shown = 2 * shown >= static_cast<int>(word.glyph.size());
      word.pieces = {word.box};
      if (word.shown) Seen(draw);
      AddWord(std::move(word));
    }
  }

  static bool Counts(const ScreenWord& word) { return word.shown && !word.gone; }
  static bool Measured(const ScreenWord& word) { return word.drawn && !word.gone; }
  // A picture's caption: not a digit, not the game's text.
  bool IsCaption(const ScreenWord& word) const { return draws_[word.draw].picture && !word.digit; }
  // A digit picture's digit, or the game's text of digits alone.
  bool IsFigure(const ScreenWord& word) const {
    return word.digit || (!draws_[word.draw].picture && AllDigits(word.text));
  }
  void Seen(const Draw& draw) { seen_.insert(draw.file + "#" + std::to_string(draw.cell)); }

  // Whether draw `by` wrote the same word again in the same place (a number drawn twice).
  bool Redrawn(const ScreenWord& word, int by) const {
    return std::any_of(words_.begin(), words_.end(), [&](const ScreenWord& again) {
      return again.draw == by && again.text == word.text && again.box.x == word.box.x && again.box.y == word.box.y;
    });
  }

  // A filled box or an opaque picture at full strength over the whole screen, alone or
  // with the draws of the same one just before it (a ground drawn side by side).
  bool Wipes(const Draw& draw, const Box& area) {
    const PictureFile* picture = draw.picture ? PictureNamed(draw.file) : nullptr;
    const bool opaque = draw.blend <= kBlendAlpha && !PartStrength(draw) && !draw.turned &&
                        (picture != nullptr ? FactsOfCell(*picture, draw.cell).opaque : !draw.picture && draw.filled);
    if (!opaque) {
      tile_.clear();
      return false;
    }
    const std::string tile = draw.file + "#" + std::to_string(draw.cell);
    if (tile != tile_) {
      tile_ = tile;
      tiled_.assign(screen_.pixels.size(), 0);
      tiledPixels_ = 0;
    }
    for (int y = area.y; y < area.Bottom(); ++y) {
      for (int x = area.x; x < area.Right(); ++x) {
        if (!tiled_[At(x, y)]) tiled_[At(x, y)] = 1, ++tiledPixels_;
      }
    }
    return tiledPixels_ == tiled_.size();
  }
  static bool PartStrength(const Draw& draw) { return draw.blend != 0 && draw.strength < 255; }

  std::string Subject(const ScreenWord& word) const {
    if (word.digit) return "the digits of " + draws_[word.draw].file;
    if (!IsCaption(word)) return draws_[word.draw].what;
    return "the word '" + word.text + "' of " + draws_[word.draw].what;
  }

  // One line per subject, rule and other draw: a number's digits, or the rows of a list,
  // merged.
  Finding& Note(const std::string& rule, const std::string& subject, const Box& subjectBox, const std::string& relation,
                int other) {
    const std::string named = other >= 0 ? draws_[other].what : "";
    const std::string key = rule + subject + relation + named;
    auto found = std::find_if(findings_.begin(), findings_.end(), [&](const Finding& f) { return f.key == key; });
    if (found == findings_.end()) {
      Finding added;
      added.key = key, added.rule = rule, added.subject = subject, added.relation = relation, added.other = named;
      found = findings_.insert(findings_.end(), std::move(added));
    }
    found->subjectBox.Add(subjectBox);
    if (other >= 0) found->otherBox.Add(draws_[other].changed);
    return *found;
  }

  // (b) Words covered by a later draw of the page's furniture (sprites and markers in
  // play pass over words and away), or crowded by the game's later text and digits.
  void NoteCovers() {
    for (int w = 0; w < static_cast<int>(words_.size()); ++w) {
      const ScreenWord& word = words_[w];
      if (!Counts(word)) continue;
      for (const auto& [by, cover] : word.covers) {
        if (!cover.layer && !draws_[by].passing && !Redrawn(word, by)) {
          Note("(b)", Subject(word), word.box, "is covered by", by)
              .Count(w, cover.pixels, static_cast<int>(word.glyph.size()), cover.box);
        }
      }
      for (const auto& [by, crowd] : word.crowds) {
        Note("(b)", Subject(word), word.box, "is crowded (within " + std::to_string(word.margin) + " pixels) by", by)
            .Count(w, crowd.pixels, 0, crowd.box);
      }
    }
  }

  // (c) Each word drawn against the ground around its glyphs in the frame as presented,
  // at whatever strength or blend: the luminance of its ink nearby against each pixel of
  // that ground, but those of a sprite of the play drawn later, passing over it.
  void NoteContrasts() {
    for (int w = 0; w < static_cast<int>(words_.size()); ++w) {
      const ScreenWord& word = words_[w];
      if (!Measured(word) || word.ink.empty() || word.ground.empty()) continue;
      const Draw& by = draws_[word.draw];
      const Blend blend{by.blend == kBlendAdd, ShownStrength(by.strength) / 255.0};
      const InkNearby inkNear(word, screen_, blend);
      int shortPixels = 0;
      double least = kLeastContrast, asked = kLeastContrast;
      Box where;
      std::map<int, int> owners;
      std::vector<double> contrasts;
      for (std::size_t i = 0; i < word.ground.size(); ++i) {
        const std::size_t p = word.ground[i];
        if (owner_[p] > word.draw && draws_[owner_[p]].passing) continue;
        const double contrast = Contrast(inkNear.At(p), Luminance(screen_.pixels[p]));
        contrasts.push_back(contrast);
        // Caught mid-fade: what white ink in a black rim, drawn as the word was, would
        // reach here at best, each rounded towards the other.
        const auto best = [&] {
          const Colour rim = blend.Over(word.groundUnder[i], 0);
          return std::min(Contrast(inkNear.WhiteAt(p, -kBlendRounding), Luminance(Nudged(rim, kBlendRounding))),
                          Contrast(inkNear.WhiteAt(p, kBlendRounding), Luminance(Nudged(rim, -kBlendRounding))));
        };
        if (contrast >= kLeastContrast) continue;
        const double need = by.fading ? std::min(word.fadingNeed, best()) : kLeastContrast;
        if (contrast >= need) continue;
        ++shortPixels;
        if (contrast < least) least = contrast, asked = need;
        where.Add(ColumnOf(p), RowOf(p));
        ++owners[owner_[p]];
      }
      ReportContrast(word, contrasts);
      if (shortPixels <= std::max(kStrayPixels, kShortGroundShare * static_cast<double>(word.ground.size()))) continue;
      const int most = std::max_element(owners.begin(), owners.end(), [](const auto& a, const auto& b) {
                         return a.second < b.second;
                       })->first;
      const bool own = most == word.draw;
      Finding& finding =
          Note("(c)", Subject(word), word.box, own ? "reads poorly on its own ground" : "reads poorly on", own ? -1 : most);
      finding.Count(w, shortPixels, static_cast<int>(word.ground.size()), where);
      if (least < finding.least) finding.least = least, finding.need = asked;
    }
  }

  // The most a word of `size` pixels is asked for caught mid-fade.
  static double FadingNeedOf(int size) { return size >= kLargeWord ? kLeastLargeContrast : kLeastContrast; }

  // With VANTOREL_WORD_CONTRASTS naming a file, each word's contrast is added to it: the
  // ratio that all but the share of its ground allowed to fall short reach, and whether
  // it was held or caught mid-fade.
  void ReportContrast(const ScreenWord& word, std::vector<double>& contrasts) const {
    static const char* const file = std::getenv("VANTOREL_WORD_CONTRASTS");
    if (file == nullptr || *file == '\0' || contrasts.empty()) return;
    const auto at = contrasts.begin() + static_cast<std::ptrdiff_t>(kShortGroundShare * contrasts.size());
    std::nth_element(contrasts.begin(), at, contrasts.end());
    std::ofstream out(file, std::ios::app);
    out << frame_ << ": " << Subject(word) << ": " << std::fixed << std::setprecision(1) << *at;
    out << (draws_[word.draw].fading ? " (mid-fade)\n" : " (held)\n");
  }

  // (d) The HUD keeps clear of the pictures drawn in play: none of it on a panel, page or
  // text picture (a page over the whole screen aside: the HUD is drawn over it), none of
  // it inside a cursor's frame; its map passes over them.
  void NoteHudInPictures() {
    for (int hud = 0; hud < static_cast<int>(draws_.size()); ++hud) {
      const Draw& piece = draws_[hud];
      if (!piece.hud || piece.passing || piece.changedPixels == 0) continue;
      std::set<int> pictures = piece.hudOn;
      for (int cursor = 0; cursor < static_cast<int>(draws_.size()); ++cursor) {
        const Draw& frame = draws_[cursor];
        if (frame.cursor && !frame.hud && Overlap(piece.changed, frame.changed)) pictures.insert(cursor);
      }
      for (int picture : pictures) {
        const Box& box = draws_[picture].changed;
        if (box.w >= kScreenWidth && box.h >= kScreenHeight) continue;
        Finding& finding =
            Note("(d)", "the HUD", piece.changed, draws_[picture].cursor ? "lies inside" : "lies on", picture);
        finding.Count(hud, piece.changedPixels, 0, piece.changed);
        finding.pieces.insert(draws_[hud].what);
      }
    }
  }

  // (e) Cursors: the cells of one cursor picture that meet (a bracket's two halves) are
  // one cursor, its frame their lines. Each lies wholly on the screen, holds at least one
  // word (a caption of its own counts: it says what the cursor does), no word crosses
  // its frame, its own caption no more than any other, and its frame holds its own
  // captions and the figures they label.
  void NoteCursors() {
    std::vector<std::pair<Box, std::vector<int>>> cursors;
    for (int d = 0; d < static_cast<int>(draws_.size()); ++d) {
      const Draw& draw = draws_[d];
      if (!draw.cursor || draw.frame.Empty() || draw.changedPixels == 0) continue;
      auto joins = std::find_if(cursors.begin(), cursors.end(), [&](const auto& cursor) {
        return draws_[cursor.second.front()].file == draw.file && Overlap(cursor.first.Grown(1), draw.frame);
      });
      if (joins == cursors.end()) {
        cursors.push_back({draw.frame, {d}});
      } else {
        joins->first.Add(draw.frame);
        joins->second.push_back(d);
      }
    }
    const std::vector<Figure> figures = Figures();
    for (const auto& [frame, parts] : cursors) {
      const int first = parts.front();
      const std::string subject = "the cursor " + draws_[first].what;
      if (!Box{0, 0, kScreenWidth, kScreenHeight}.Holds(frame)) {
        Note("(e)", subject, frame, "is cut by the screen's edge", -1);
      }
      bool holds = false;
      for (const ScreenWord& word : words_) {
        if (!Counts(word)) continue;
        const bool own = std::find(parts.begin(), parts.end(), word.draw) != parts.end() && IsCaption(word);
        for (const Box& piece : word.pieces) {
          const bool crossed = std::any_of(parts.begin(), parts.end(),
                                           [&](int part) { return LinesCross(draws_[part], piece, word.reach); });
          if (crossed) {
            Note("(e)", subject, frame, "cuts through " + Subject(word), word.draw).subjectBox.Add(piece);
          } else if (frame.Holds(piece)) {
            holds = true;
          } else if (own) {
            Note("(e)", subject, frame, "leaves outside its frame " + Subject(word) + ", a caption of its own", -1)
                .subjectBox.Add(piece);
          }
          if (!own) continue;
          for (const Figure& figure : figures) {
            if (!Labels(piece, figure.box) || frame.Holds(figure.box)) continue;
            Note("(e)", subject, frame,
                 "leaves outside its frame the figure '" + figure.Digits() + "', which " + Subject(word) + " labels", -1)
                .subjectBox.Add(figure.box);
          }
        }
      }
      if (!holds) Note("(e)", subject, frame, "holds no word", -1);
    }
  }

  // Whether the lines of a cursor's frame drawn by `cursor` pass through the box: they
  // show inside it, or (drawn under a word's rim, `reach` around its glyphs) on two
  // opposite sides of the rim, in line.
  static bool LinesCross(const Draw& cursor, const Box& box, int reach) {
    const auto line = [&](int x, int y) { return cursor.lines->LineAt(x - cursor.originX, y - cursor.originY); };
    const Box inside = box.OnScreen();
    for (int y = inside.y; y < inside.Bottom(); ++y) {
      for (int x = inside.x; x < inside.Right(); ++x) {
        if (line(x, y)) return true;
      }
    }
    const Box rim = box.Grown(reach);
    for (int x = rim.x; x < rim.Right(); ++x) {
      if (line(x, rim.y - 1) && line(x, rim.Bottom())) return true;
    }
    for (int y = rim.y; y < rim.Bottom(); ++y) {
      if (line(rim.x - 1, y) && line(rim.Right(), y)) return true;
    }
    return false;
  }

  // A figure: a number's digits drawn side by side, or the game's text of digits alone.
  struct Figure {
    Box box;
    std::map<int, std::string> digits;  // by column

    std::string Digits() const {
      std::string all;
      for (const auto& [column, digit] : digits) all += digit;
      return all;
    }
  };
  std::vector<Figure> Figures() const {
    std::vector<Figure> figures;
    const ScreenWord* last = nullptr;
    for (const ScreenWord& word : words_) {
      if (!Counts(word) || !IsFigure(word)) continue;
      const bool joins = last != nullptr && last->digit && word.digit && SameRow(last->box, word.box) &&
                         Gap(last->box, word.box) <= word.box.h && !figures.empty();
      if (!joins) figures.emplace_back();
      figures.back().box.Add(word.box);
      figures.back().digits[word.box.x] = word.text;
      last = &word;
    }
    return figures;
  }
  // Whether a label's piece labels the figure: on its row, within reach.
  static bool Labels(const Box& label, const Box& figure) {
    return SameRow(figure, label) && Gap(figure, label) <= kFigureReach;
  }

  // (f) Each figure has a label on its row within reach (a picture's caption, or a piece
  // of the game's text with letters in it), but those named as needing none, which have none.
  void NoteFigures() {
    for (const Figure& figure : Figures()) {
      const bool labelled = std::any_of(words_.begin(), words_.end(), [&](const ScreenWord& word) {
        return Counts(word) && !IsFigure(word) && (IsCaption(word) || HasLetters(word.text)) &&
               std::any_of(word.pieces.begin(), word.pieces.end(),
                           [&](const Box& piece) { return Labels(piece, figure.box); });
      });
      const auto named = std::find_if(LabelFreeFigures().begin(), LabelFreeFigures().end(),
                                      [&](const LabelFreeFigure& free) { return free.standsAt(figure.box); });
      const bool free = named != LabelFreeFigures().end();
      if (free && !labelled) labelFree_.insert(named->name);
      if (free != labelled) continue;
      Note("(f)", "the figure '" + figure.Digits() + "'", figure.box,
           free ? "is named as needing no label (" + std::string(named->name) + ") but has one on its row"
                : "has no label on its row",
           -1);
    }
  }

  // (g) While the HUD draws its map, captions keep out of where its frame can pass, but
  // those named as having to stand there, which do.
  void NoteMapReach() {
    if (!mapShown_) return;
    std::map<const WordInTheMapsReach*, bool> named;  // shown: whether one stood in the reach
    for (const ScreenWord& word : words_) {
      if (!Counts(word) || !IsCaption(word)) continue;
      const std::string& file = draws_[word.draw].file;
      const auto found = std::find_if(std::begin(kWordsInTheMapsReach), std::end(kWordsInTheMapsReach),
                                      [&](const WordInTheMapsReach& w) { return file == w.file && word.text == w.text; });
      const bool inReach = Overlap(word.box, kMapFrameReach);
      if (found != std::end(kWordsInTheMapsReach)) {
        named[found] |= inReach;
      } else if (inReach) {
        Note("(g)", Subject(word), word.box, "stands where the HUD's map passes", -1);
      }
    }
    for (const auto& [word, inReach] : named) {
      if (inReach) continue;
      Note("(g)", "the word '" + std::string(word->text) + "' of " + word->file, {},
           "is named as standing where the HUD's map passes (" + std::string(word->why) + ") but stands clear", -1);
    }
  }

  // (h) No two captions of one picture the HUD draws read the same: each label names its
  // own figure or bar. (Notices drawn one by one may well repeat.)
  void NoteHudRepeats() {
    std::map<std::pair<int, std::string>, Box> first;  // where each caption of a draw showed first
    for (const ScreenWord& word : words_) {
      if (!Counts(word) || !IsCaption(word) || !draws_[word.draw].hud) continue;
      const auto [shown, isFirst] = first.try_emplace({word.draw, word.text}, word.box);
      if (isFirst) continue;
      Finding& finding = Note("(h)", Subject(word), word.box, "reads the same as", -1);
      finding.other = "the label";
      finding.otherBox.Add(shown->second);
    }
  }

  void Finish() {
    armed_ = false;
    RecordDrawing(false);
    if (!ReadBackScreen(0, 0, screen_)) ADD_FAILURE() << frame_ << ": the screen could not be read";
    NoteCovers();
    NoteContrasts();
    NoteHudInPictures();
    NoteCursors();
    NoteFigures();
    NoteMapReach();
    NoteHudRepeats();
    for (const std::string& cell : unworded_) Report(frame_, "(a) " + cell + " carries no words", check_.findings);
    for (const std::string& cell : wordedSprites_) {
      Report(frame_, "(a) a sprite of the play shows " + cell + ", a cell that carries words", check_.findings);
    }
    for (const Finding& finding : findings_) {
      Report(frame_, (std::ostringstream() << finding).str(), check_.findings);
    }
    Record(kWordsSeenFile, seen_);
    Record(kLabelFreeFile, labelFree_);
  }

  std::string frame_;
  bool armed_ = false;
  bool started_ = false;
  WordCheck check_;
  bool hud_ = false;
  bool inPlay_ = false;
  bool mapShown_ = false;  // the HUD drew its map
  int blend_ = 0, strength_ = 0;
  Canvas screen_{0, 0, {}};
  // Take's buffers: a draw's area as drawn, what lay there before, the pixels it changed.
  Canvas after_{0, 0, {}};
  std::vector<Colour> before_;
  std::vector<std::pair<std::size_t, int>> changes_;
  std::vector<int> owner_;     // by pixel: the draw that set it last
  std::vector<int> wordAt_;    // by pixel: the shown word whose glyph it is
  std::vector<int> marginOf_;  // by pixel: the shown word whose margin it lies in
  std::string tile_;           // the picture of the opaque draws in a row just made
  std::vector<char> tiled_;    // by pixel: whether they covered it
  std::size_t tiledPixels_ = 0;
  std::vector<Draw> draws_;
  std::vector<ScreenWord> words_;
  std::vector<std::string> unworded_;  // the text picture cells drawn without words
  std::vector<std::string> wordedSprites_;  // the sprites of the play that showed a worded cell
  std::unordered_multimap<std::int64_t, int> objectsAt_;  // the slots by their places this frame
  std::map<std::pair<std::string, int>, std::set<int>> drawnBefore_;  // strengths, by thing and blend
  std::deque<CellFacts> plantedFacts_;  // the frames' lines of the pictures a test drew
  std::set<std::string> seen_;         // "<file>#<cell>" of the cells whose words showed
  std::set<std::string> labelFree_;    // the names of the label-free figures shown
  std::vector<Finding> findings_;
};

}  // namespace

void CheckWordsOfNextFrame(const std::string& frame, const WordCheck& check) {
  static FrameWatch watch;
  watch.Arm(frame, check);
  RecordDrawing(true);
  ObserveDrawing([](const RecordedCall& call) { watch.See(call); });
}
