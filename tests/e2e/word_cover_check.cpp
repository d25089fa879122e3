#include "word_cover_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <vector>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "canvas.h"
#include "core/display.h"
#include "core/resource_table.h"
#include "kernel/code_page.h"
#include "picture_words.h"
#include "placeholder_art.h"
#include "word_boxes.h"

namespace {

// A word's glyph pixels: those its glyphs cover at least half; its contrast is
// measured where they cover fully (there the picture holds the word's own colour).
constexpr int kGlyphCoverage = 128;
// A change a reader sees: one of the channels moves by this much or more.
constexpr int kNoticeable = 40;
// The WCAG 2 contrast ratio (lighter + 0.05) / (darker + 0.05) of relative luminances,
// asked between a text's colour and each pixel a page, panel, text picture, cursor,
// marker or the game's own boxes and lines put under it.
constexpr double kLeastContrast = 4.5;
// The rows a line of the library's default font may touch below its top.
constexpr int kTextRows = 24;

struct Box {
  int x = 0, y = 0, w = 0, h = 0;

  bool Empty() const { return w <= 0 || h <= 0; }
  Box OnScreen() const {
    const int left = std::max(x, 0), top = std::max(y, 0);
    return {left, top, std::min(x + w, kScreenWidth) - left, std::min(y + h, kScreenHeight) - top};
  }
  void Add(const Box& other) {
    if (other.Empty()) return;
    Add(other.x, other.y);
    Add(other.x + other.w - 1, other.y + other.h - 1);
  }
  void Add(int px, int py) {
    if (Empty()) {
      *this = {px, py, 1, 1};
      return;
    }
    const int right = std::max(x + w, px + 1), bottom = std::max(y + h, py + 1);
    x = std::min(x, px), y = std::min(y, py), w = right - x, h = bottom - y;
  }
};

std::ostream& operator<<(std::ostream& out, const Box& box) {
  return out << '(' << box.x << ',' << box.y << ' ' << box.w << 'x' << box.h << ')';
}

double Luminance(const Colour& c) {
  static const std::array<double, 256> linear = [] {
    std::array<double, 256> table{};
    for (int value = 0; value < 256; ++value) {
      const double s = value / 255.0;
      table[value] = s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    }
    return table;
  }();
  return 0.2126 * linear[c.r] + 0.7152 * linear[c.g] + 0.0722 * linear[c.b];
}

double Contrast(const Colour& a, const Colour& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int Change(const Colour& a, const Colour& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// The mask grown by `reach` pixels along its rows (or columns): a sliding count.
std::vector<char> Dilated(const std::vector<char>& mask, int width, int height, int reach, bool alongRows) {
  std::vector<char> grown(mask.size());
  const int lines = alongRows ? height : width, length = alongRows ? width : height;
  for (int line = 0; line < lines; ++line) {
    const auto at = [&](int i) { return static_cast<std::size_t>(alongRows ? line * width + i : i * width + line); };
    int count = 0;
    for (int i = 0; i < length + reach; ++i) {
      if (i < length) count += mask[at(i)];
      if (i > 2 * reach) count -= mask[at(i - 2 * reach - 1)];
      if (i >= reach) grown[at(i - reach)] = count > 0;
    }
  }
  return grown;
}

bool Overlap(const Box& a, const Box& b) {
  return !a.Empty() && !b.Empty() && a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

bool Same(const Colour& a, const Colour& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

const PictureFile* PictureNamed(const std::string& name) {
  static const std::vector<PictureFile> pictures = AllPictureFiles();
  for (const PictureFile& picture : pictures) {
    if (name == picture.name) return &picture;
  }
  return nullptr;
}

// The words of a cell, worked out once per run.
const std::vector<WordInk>& WordsOfCell(const PictureFile& picture, int cell) {
  static std::map<std::pair<std::string, int>, std::vector<WordInk>> known;
  const auto key = std::make_pair(std::string(picture.name), cell);
  const auto found = known.find(key);
  return found != known.end() ? found->second : known.emplace(key, WordsInCell(picture, cell)).first->second;
}

// What a draw is to the words around it. Sprites in play and backdrops are no ground
// a text is measured against; pages, panels, text pictures, cursors, markers and the
// game's boxes and lines are; the game's text and digits are measured.
enum class Role { kSprite, kGround, kText };

// Pixels of a word or text that another draw met: covered, crowded, or (a crossing) too
// close to the colour that draw put under them, with the lowest contrast there. A cover
// by a layer (a page, a veil, a highlight bar that changed the whole ground of the word's
// box by about the same amount) lies over the word rather than across it: it does not count.
struct Met {
  int pixels = 0;
  Box box;
  double least = kLeastContrast;
  bool layer = false;

  void Add(int x, int y, double contrast = kLeastContrast) {
    ++pixels;
    box.Add(x, y);
    least = std::min(least, contrast);
  }
};
using Crossings = std::map<int, Met>;  // by the draw met

struct Draw {
  std::string what;
  std::string cell;  // a picture's "<file>#<cell>"
  Box area;     // where the call may draw
  Box changed;  // the pixels it changed
  int changedPixels = 0;
  Role role = Role::kSprite;
  std::optional<Colour> colour;  // the game's text: the colour it is written in
  int blend = 0, strength = 0;
  bool hud = false;      // drawn by the play display's HUD
  bool picture = false;  // a picture, not the game's text, box or line
  bool cursor = false;   // a cell the words table draws as a cursor's frame or bracket
  std::set<int> hudOn;   // the HUD: the pictures whose pixels it was drawn on
  // A picture's words: the cell's own, its top-left on the screen, and whether the
  // picture is clear around them (so what lies under them is their ground).
  const std::vector<WordInk>* words = nullptr;
  int originX = 0, originY = 0;
  bool clearGround = false;
  Crossings crossings;
};

struct ScreenWord {
  int draw;
  std::string text;
  int margin;  // the clear space it needs around its glyphs: half its size
  Box box;
  int glyphPixels = 0;
  Crossings covers;  // its glyph pixels, by the later draw
  Crossings crowds;  // its margin, by the game's later text and digits
  Crossings crossings;
};

// The lower of the contrasts of a colour (when known) and of the ink as drawn with the
// ground under it.
double ContrastWithGround(const std::optional<Colour>& colour, const Colour& drawn, const Colour& ground) {
  const double asDrawn = Contrast(drawn, ground);
  return colour ? std::min(asDrawn, Contrast(*colour, ground)) : asDrawn;
}

// A line of the findings: the subject (a word, a text, a HUD piece), how the other
// draw met it, the pixels where, and for contrasts the lowest ratio met.
struct Finding {
  std::string key, rule, subject, relation, other;
  Box subjectBox, otherBox, where;
  int pixels = 0, of = 0;
  std::set<int> subjects;        // the words or draws merged, each counted once in `of`
  std::set<std::string> pieces;  // for the HUD: its pieces
  double least = kLeastContrast;

  void Count(int subject, int more, int total, const Box& at) {
    pixels += more;
    if (subjects.insert(subject).second) of += total;
    where.Add(at);
  }
};

std::ostream& operator<<(std::ostream& out, const Finding& f) {
  out << f.rule << ' ' << f.subject << " at " << f.subjectBox << ' ' << f.relation << ' ' << f.other << " at "
      << f.otherBox << ": ";
  char ratio[16];
  std::snprintf(ratio, sizeof ratio, "%.1f", std::floor(f.least * 10) / 10);
  if (f.least < kLeastContrast) out << "contrast down to " << ratio << " at ";
  out << f.pixels << (f.of > 0 ? " of " + std::to_string(f.of) : "") << " pixels, " << f.where;
  for (const std::string& piece : f.pieces) out << (piece == *f.pieces.begin() ? " (" : "; ") << piece;
  return out << (f.pieces.empty() ? "" : ")");
}

// A finding fails the running test; with VANTOREL_WORD_FINDINGS naming a file, it is
// added to that file instead, so that a whole run's findings can be read as one list.
void Report(const std::string& frame, const std::string& line) {
  static const char* const file = std::getenv("VANTOREL_WORD_FINDINGS");
  if (file == nullptr || *file == '\0') {
    ADD_FAILURE() << frame << ": " << line;
    return;
  }
  std::ofstream(file, std::ios::app) << frame << ": " << line << '\n';
}

// Adds the cells whose words a frame showed to the running test's "words-seen.txt".
void NoteSeen(const std::set<std::string>& cells) {
  const std::filesystem::path file = TestFrameFolder() / "words-seen.txt";
  std::set<std::string> seen = cells;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) seen.insert(line);
  in.close();
  std::ofstream out(file);
  for (const std::string& cell : seen) out << cell << '\n';
}

class FrameWatch {
 public:
  void Arm(const std::string& frame) {
    frame_ = frame;
    armed_ = true;
  }

  void See(const RecordedCall& call) {
    if (!armed_) return;
    switch (call.call) {
      case Call::SetBlendMode: blend_ = call.Int(0), strength_ = call.Int(1); break;
      case Call::DrawHud: hud_ = call.Int(0) == 1; break;
      case Call::ClearDrawTarget: Start(); break;
      case Call::PresentScreen: Finish(); break;
      case Call::DrawGraphAt:
      case Call::DrawGraphMirrored:
      case Call::DrawGraphRotated:
      case Call::DrawRect:
      case Call::DrawLineSegment:
      case Call::DrawFormattedText:
      case Call::DrawTextAt: Take(Describe(call)); break;
      default: break;
    }
  }

 private:
  void Start() {
    screen_ = Canvas(kScreenWidth, kScreenHeight, {});
    if (!ReadBackScreen(0, 0, screen_)) ADD_FAILURE() << frame_ << ": the screen could not be read";
    owner_.assign(screen_.pixels.size(), -1);
    wordAt_.assign(screen_.pixels.size(), -1);
    marginOf_.assign(screen_.pixels.size(), -1);
    draws_.clear();
    words_.clear();
    unworded_.clear();
    findings_.clear();
    seen_.clear();
  }

  Draw Describe(const RecordedCall& call) {
    Draw draw;
    draw.blend = blend_, draw.strength = strength_;
    draw.hud = hud_;
    switch (call.call) {
      case Call::DrawRect:
        draw.what = "a box";
        draw.area = {call.Int(0) - 1, call.Int(1) - 1, call.Int(2) - call.Int(0) + 3, call.Int(3) - call.Int(1) + 3};
        draw.role = Role::kGround;
        return draw;
      case Call::DrawLineSegment: {
        const int left = std::min(call.Int(0), call.Int(2)), top = std::min(call.Int(1), call.Int(3));
        draw.what = "a line";
        draw.area = {left - 2, top - 2, std::abs(call.Int(2) - call.Int(0)) + 5,
                     std::abs(call.Int(3) - call.Int(1)) + 5};
        draw.role = Role::kGround;
        return draw;
      }
      case Call::DrawFormattedText:
      case Call::DrawTextAt: {
        // 32-bit screen colours are 0x00RRGGBB.
        const auto colour = static_cast<std::uint32_t>(call.arguments[2]);
        draw.what = "the text '" + Cp932ToUtf8(call.text.c_str()) + "'";
        draw.area = {call.Int(0) - 2, call.Int(1) - 2, kScreenWidth, kTextRows + 2};
        draw.role = Role::kText;
        draw.colour = Colour{static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
                             static_cast<std::uint8_t>(colour)};
        return draw;
      }
      default: DescribePicture(call, draw); return draw;
    }
  }

  void DescribePicture(const RecordedCall& call, Draw& draw) {
    const bool rotated = call.call == Call::DrawGraphRotated;
    const GraphPicture* graph = PictureOfGraph(call.Int(rotated ? 4 : 2));
    const PictureFile* picture = graph == nullptr ? nullptr : PictureNamed(graph->file);
    if (picture == nullptr) {
      draw.what = "an unnamed graph";
      draw.area = {0, 0, kScreenWidth, kScreenHeight};
      return;
    }
    draw.what = graph->file + (picture->count > 0 ? "#" + std::to_string(graph->cell) : "");
    draw.cell = graph->file + "#" + std::to_string(graph->cell);
    draw.picture = true;
    draw.cursor = CellIsACursor(*picture, graph->cell);
    const double scale = rotated ? call.arguments[2] : 1.0, angle = rotated ? call.arguments[3] : 0.0;
    const double halfW = picture->width * scale / 2, halfH = picture->height * scale / 2;
    const double spanX = std::abs(std::cos(angle)) * halfW + std::abs(std::sin(angle)) * halfH;
    const double spanY = std::abs(std::sin(angle)) * halfW + std::abs(std::cos(angle)) * halfH;
    draw.area =
        rotated ? Box{static_cast<int>(call.arguments[0] - spanX) - 5, static_cast<int>(call.arguments[1] - spanY) - 5,
                      static_cast<int>(2 * spanX) + 11, static_cast<int>(2 * spanY) + 11}
                : Box{call.Int(0), call.Int(1), picture->width, picture->height};
    const PictureWords* table = WordsOf(picture->name);
    const bool ground = picture->art == PictureArt::kText || picture->art == PictureArt::kPanel ||
                        picture->art == PictureArt::kScreen || table != nullptr || IsMarkCell(*picture, graph->cell);
    draw.role = picture->art == PictureArt::kDigits ? Role::kText : ground ? Role::kGround : Role::kSprite;
    if (!IsTextPicture(*picture)) return;
    draw.words = &WordsOfCell(*picture, graph->cell);
    if (draw.words->empty() && !CellIsACursor(*picture, graph->cell)) {
      unworded_.push_back(draw.what + " at " + (std::ostringstream() << draw.area).str());
    }
    // Words are followed where they read: not turned, scaled or mirrored.
    if (call.call == Call::DrawGraphMirrored || (rotated && (scale != 1.0 || angle != 0.0))) draw.words = nullptr;
    draw.originX = rotated ? call.Int(0) - picture->width / 2 : call.Int(0);
    draw.originY = rotated ? call.Int(1) - picture->height / 2 : call.Int(1);
    draw.clearGround = table != nullptr && (table->ground == Ground::kClear || table->ground == Ground::kEmblem);
  }

  std::size_t At(int x, int y) const { return static_cast<std::size_t>(y) * kScreenWidth + x; }
  bool Measured(int owner) const { return owner >= 0 && draws_[owner].role != Role::kSprite; }

  // Whether the draw just taken laid one flat layer over the word (a page, a veil, a
  // highlight bar): over the ground of the word's box its result is one map of what lay
  // there, after = k * before + c in each channel (clamped), to within half a noticeable
  // change. A line, a frame or an edge across the box breaks that map.
  bool LaidOver(int word, const Box& area, const std::vector<Colour>& before, const std::vector<Colour>& after) const {
    const Box& box = words_[word].box;
    std::vector<std::pair<Colour, Colour>> ground;
    for (int y = box.y; y < box.y + box.h; ++y) {
      for (int x = box.x; x < box.x + box.w; ++x) {
        if (wordAt_[At(x, y)] == word) continue;
        if (x < area.x || y < area.y || x >= area.x + area.w || y >= area.y + area.h) return false;
        const std::size_t a = static_cast<std::size_t>(y - area.y) * area.w + x - area.x;
        ground.emplace_back(before[a], after[a]);
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
      const double k = spread > 1e-6 ? (sxy - sx * sy / n) / spread : 0, c = n > 0 ? (sy - k * sx) / n : 0;
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
    Canvas after(area.w, area.h, {});
    if (!ReadBackScreen(area.x, area.y, after)) ADD_FAILURE() << frame_ << ": the screen could not be read";
    // What lay in the area before, and which draws had put it there.
    std::vector<Colour> before(after.pixels.size());
    std::vector<int> owners(after.pixels.size());
    std::set<int> crossed;
    for (int y = area.y; y < area.y + area.h; ++y) {
      for (int x = area.x; x < area.x + area.w; ++x) {
        const std::size_t p = At(x, y), a = static_cast<std::size_t>(y - area.y) * area.w + x - area.x;
        const Colour was = before[a] = screen_.pixels[p], now = after.pixels[a];
        owners[a] = owner_[p];
        if (Same(was, now)) continue;
        const int change = Change(was, now);
        draw.changed.Add(x, y);
        ++draw.changedPixels;
        if (change >= kNoticeable && wordAt_[p] >= 0) {
          words_[wordAt_[p]].covers[index].Add(x, y);
          crossed.insert(wordAt_[p]);
        } else if (change >= kNoticeable && marginOf_[p] >= 0 && draw.role == Role::kText) {
          words_[marginOf_[p]].crowds[index].Add(x, y);
        }
        const int under = owner_[p];
        if (draw.hud && under >= 0 && !draws_[under].hud && draws_[under].picture &&
            draws_[under].role == Role::kGround) {
          draw.hudOn.insert(under);
        }
        if (draw.role == Role::kText && Measured(under)) {
          const double contrast = ContrastWithGround(draw.colour, now, was);
          if (contrast < kLeastContrast) draw.crossings[under].Add(x, y, contrast);
        }
        screen_.pixels[p] = now;
        owner_[p] = index;
      }
    }
    for (int word : crossed) words_[word].covers[index].layer = LaidOver(word, area, before, after.pixels);
    if (draw.cursor && draw.changedPixels > 0) seen_.insert(draw.cell);
    draws_.push_back(std::move(draw));
    if (draws_.back().words != nullptr) PlaceWords(index, area, before, owners);
  }

  // Marks the clear space a shown word needs: the pixels within its margin of a glyph.
  void MarkMargin(int word, const std::vector<std::size_t>& glyph) {
    const int margin = words_[word].margin;
    const Box& box = words_[word].box;
    const Box near = Box{box.x - margin, box.y - margin, box.w + 2 * margin, box.h + 2 * margin}.OnScreen();
    std::vector<char> mask(static_cast<std::size_t>(near.w) * near.h);
    for (std::size_t p : glyph) {
      mask[(p / kScreenWidth - near.y) * near.w + p % kScreenWidth - near.x] = 1;
    }
    mask = Dilated(Dilated(mask, near.w, near.h, margin, true), near.w, near.h, margin, false);
    for (int y = near.y; y < near.y + near.h; ++y) {
      for (int x = near.x; x < near.x + near.w; ++x) {
        if (mask[static_cast<std::size_t>(y - near.y) * near.w + x - near.x] && wordAt_[At(x, y)] != word) {
          marginOf_[At(x, y)] = word;
        }
      }
    }
  }

  // The words a picture put on the screen. Any change of a glyph pixel puts the word
  // there to be measured against its ground; it counts as shown, for what covers it
  // later, once most of its glyph pixels changed noticeably.
  void PlaceWords(int index, const Box& area, const std::vector<Colour>& before, const std::vector<int>& owners) {
    const Draw& draw = draws_[index];
    for (const WordInk& ink : *draw.words) {
      ScreenWord word{index, ink.text, ink.size / 2, {}, 0, {}, {}, {}};
      std::vector<std::size_t> glyph;
      int drawn = 0, shown = 0;
      for (int cy = ink.y; cy < ink.y + ink.height; ++cy) {
        for (int cx = ink.x; cx < ink.x + ink.width; ++cx) {
          const int x = draw.originX + cx, y = draw.originY + cy;
          if (ink.At(cx, cy) < kGlyphCoverage || x < area.x || y < area.y || x >= area.x + area.w ||
              y >= area.y + area.h) {
            continue;
          }
          const std::size_t p = At(x, y), a = static_cast<std::size_t>(y - area.y) * area.w + x - area.x;
          glyph.push_back(p);
          word.box.Add(x, y);
          drawn += !Same(before[a], screen_.pixels[p]);
          shown += Change(before[a], screen_.pixels[p]) >= kNoticeable;
          if (draw.clearGround && ink.At(cx, cy) == 255 && Measured(owners[a])) {
            const double contrast = ContrastWithGround(ink.colour, screen_.pixels[p], before[a]);
            if (contrast < kLeastContrast) word.crossings[owners[a]].Add(x, y, contrast);
          }
        }
      }
      if (drawn == 0) continue;
      word.glyphPixels = static_cast<int>(glyph.size());
      words_.push_back(std::move(word));
      if (2 * shown < words_.back().glyphPixels) continue;
      seen_.insert(draw.cell);
      for (std::size_t p : glyph) wordAt_[p] = static_cast<int>(words_.size()) - 1;
      MarkMargin(static_cast<int>(words_.size()) - 1, glyph);
    }
  }

  std::string Named(int index) const {
    const Draw& draw = draws_[index];
    std::ostringstream out;
    out << draw.what;
    if (draw.blend != 0) out << " (blend " << draw.blend << ", " << draw.strength << ")";
    return out.str();
  }

  // One line per subject, rule and other draw's picture, cell or text: a number's
  // digits, or the rows of a list, merged.
  Finding& Note(const std::string& rule, const std::string& subject, const Box& subjectBox, const std::string& relation,
                int other) {
    const std::string key = rule + subject + relation + Named(other);
    auto found = std::find_if(findings_.begin(), findings_.end(), [&](const Finding& f) { return f.key == key; });
    if (found == findings_.end()) {
      Finding added;
      added.key = key, added.rule = rule, added.subject = subject, added.relation = relation, added.other = Named(other);
      found = findings_.insert(findings_.end(), std::move(added));
    }
    found->subjectBox.Add(subjectBox);
    found->otherBox.Add(draws_[other].changed);
    return *found;
  }

  void NoteCrossings(const std::string& subject, int id, const Box& box, const Crossings& crossings, int of) {
    for (const auto& [ground, met] : crossings) {
      Finding& finding = Note("(c)", subject, box, "lies on", ground);
      finding.Count(id, met.pixels, of, met.box);
      finding.least = std::min(finding.least, met.least);
    }
  }

  // The HUD keeps clear of the pictures drawn in play: none of it on a panel, page or
  // text picture (a page over the whole screen aside: the HUD is drawn over it), none of
  // it inside a cursor's frame.
  void NoteHudInPictures() {
    for (int hud = 0; hud < static_cast<int>(draws_.size()); ++hud) {
      const Draw& piece = draws_[hud];
      if (!piece.hud || piece.changedPixels == 0) continue;
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
        finding.pieces.insert(Named(hud));
      }
    }
  }

  void Finish() {
    armed_ = false;
    RecordDrawing(false);
    for (int w = 0; w < static_cast<int>(words_.size()); ++w) {
      const ScreenWord& word = words_[w];
      const std::string subject = "the word '" + word.text + "' of " + draws_[word.draw].what;
      for (const auto& [by, cover] : word.covers) {
        if (!cover.layer)
          Note("(b)", subject, word.box, "is covered by", by).Count(w, cover.pixels, word.glyphPixels, cover.box);
      }
      for (const auto& [by, crowd] : word.crowds) {
        Note("(b)", subject, word.box, "is crowded (within " + std::to_string(word.margin) + " pixels) by", by)
            .Count(w, crowd.pixels, 0, crowd.box);
      }
      NoteCrossings(subject, w, word.box, word.crossings, word.glyphPixels);
    }
    NoteHudInPictures();
    for (int d = 0; d < static_cast<int>(draws_.size()); ++d) {
      const Draw& draw = draws_[d];
      if (draw.role == Role::kText) NoteCrossings(draw.what, d, draw.changed, draw.crossings, draw.changedPixels);
    }
    for (const std::string& cell : unworded_) Report(frame_, "(a) " + cell + " carries no words");
    for (const Finding& finding : findings_) Report(frame_, (std::ostringstream() << finding).str());
    NoteSeen(seen_);
  }

  std::string frame_;
  bool armed_ = false;
  bool hud_ = false;
  int blend_ = 0, strength_ = 0;
  Canvas screen_{0, 0, {}};
  std::vector<int> owner_;     // by pixel: the draw that set it last
  std::vector<int> wordAt_;    // by pixel: the shown word whose glyph it is
  std::vector<int> marginOf_;  // by pixel: the shown word whose margin it lies in
  std::vector<Draw> draws_;
  std::vector<ScreenWord> words_;
  std::vector<std::string> unworded_;  // the text picture cells drawn without words
  std::set<std::string> seen_;         // "<file>#<cell>" of the cells whose words showed
  std::vector<Finding> findings_;
};

}  // namespace

void CheckWordsOfNextFrame(const std::string& frame) {
  static FrameWatch watch;
  watch.Arm(frame);
  RecordDrawing(true);
  ObserveDrawing([](const RecordedCall& call) { watch.See(call); });
}
