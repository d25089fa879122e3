// Laying text out: measuring, drawing into a MEMIMG from the memory cache by font type,
// the advance a drawn text takes, vertical text, clipping and the pixel rules.
#include <cstring>
#include <string>
#include <vector>

#include "font_fixture.h"
#include "graphics/glyph_compose.h"
#include "graphics/memimg.h"
#include "graphics/text_layout.h"

namespace {

// A zero-filled image of a kind, with or without alpha.
class Image {
 public:
  Image(int width, int height, int kind, int alpha = 0) {
    std::memset(static_cast<void*>(&image_), 0, sizeof(image_));
    EXPECT_EQ(InitMemImg(&image_, width, height, -1, 0, kind, 0, alpha, 0), 0);
    std::memset(image_.pixels, 0, static_cast<std::size_t>(image_.pitch) * height);
  }
  ~Image() { TerminateMemImg(&image_); }
  MEMIMG* get() { return &image_; }
  std::uint32_t At(int x, int y) const {
    std::uint32_t value = 0;
    std::memcpy(&value,
                static_cast<const std::uint8_t*>(image_.pixels) + static_cast<std::ptrdiff_t>(y) * image_.pitch +
                    x * MemImgBytesPerPixel(image_.kind, 0, image_.alphaFlag),
                MemImgBytesPerPixel(image_.kind, 0, image_.alphaFlag));
    return value;
  }
  std::vector<std::uint8_t> Bytes() const {
    const auto* p = static_cast<const std::uint8_t*>(image_.pixels);
    return std::vector<std::uint8_t>(p, p + static_cast<std::size_t>(image_.pitch) * image_.height);
  }

 private:
  MEMIMG image_;
};

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;

int Measure(const char* text, int font, int vertical = 0, SIZE* size = nullptr, int length = -1) {
  return DrawOrMeasureText(0, 0, 0, 0, 1.0, 1.0, text, 0, nullptr, nullptr, 0, font, 0, length, vertical, size);
}

int Draw(MEMIMG* dest, int x, int y, const char* text, int font, int vertical = 0, const RECT* clip = nullptr,
         int keep = 1) {
  return DrawOrMeasureText(1, x, y, 0, 1.0, 1.0, text, kWhite, dest, clip, keep, font, kRed, -1, vertical, nullptr);
}

TEST_F(FontTest, MeasuringAddsAdvancesAndSpacing) {
  Start();
  const int font = MakeFont(16);
  ASSERT_GE(font, 0);
  const int a = Measure("A", font);
  const int b = Measure("B", font);
  EXPECT_EQ(a, 9);
  SetFontSpaceToHandle(2, font);
  SIZE size{};
  EXPECT_EQ(Measure("AB", font, 0, &size), a + b + 4);
  EXPECT_EQ(size.cx, a + b + 4);
  EXPECT_EQ(size.cy, 16);
  EXPECT_EQ(Measure("AB", font, 1, &size), a + b + 4);
  EXPECT_EQ(size.cx, 16);  // vertical: width and height swapped
  EXPECT_EQ(size.cy, a + b + 4);
  SetFontSpaceToHandle(0, font);
  // A length stops at its byte count but never splits a pair.
  EXPECT_EQ(Measure("AアB", font, 0, nullptr, 1), a);
  EXPECT_EQ(Measure("AアB", font, 0, nullptr, 2), a + 16);
  EXPECT_EQ(Measure("AアB", font, 0, nullptr, 100), a + 16 + b);
  EXPECT_EQ(Measure("", font), 0);
  EXPECT_EQ(Measure(nullptr, font), 0);
  EXPECT_EQ(Measure("A", -1), -1);
}

TEST_F(FontTest, FullWidthSpacesDrawNothingButAdvance) {
  Start();
  const int font = MakeFont(16, 3, 2);
  ASSERT_GE(font, 0);
  Image image(64, 32, MEMIMG_KIND_32BIT);
  std::memset(image.get()->pixels, 0x5A, static_cast<std::size_t>(image.get()->pitch) * 32);
  const std::vector<std::uint8_t> before = image.Bytes();
  EXPECT_EQ(Draw(image.get(), 0, 0, "　　 ", font), 16 + 16 + 9);
  EXPECT_EQ(image.Bytes(), before);
}

// Drawing a text equals drawing its first character and the rest at the measured
// advance: the measured width is the drawn width.
TEST_F(FontTest, MeasuredAdvanceIsTheDrawnAdvance) {
  Start();
  const char* rest = "い漢字ｱ Ab";
  for (int type = 0; type < 4; ++type) {
    const int font = MakeFont(16, type, 2);
    ASSERT_GE(font, 0);
    SetFontSpaceToHandle(3, font);
    for (int vertical = 0; vertical < 2; ++vertical) {
      Image whole(160, 160, MEMIMG_KIND_32BIT);
      Image parts(160, 160, MEMIMG_KIND_32BIT);
      const std::string text = std::string("ア") + rest;
      ASSERT_GT(Draw(whole.get(), 8, 8, text.c_str(), font, vertical), 0);
      const int first = Measure("ア", font, vertical);
      Draw(parts.get(), 8, 8, "ア", font, vertical);
      Draw(parts.get(), vertical ? 8 : 8 + first, vertical ? 8 + first : 8, rest, font, vertical);
      EXPECT_EQ(whole.Bytes(), parts.Bytes()) << "type " << type << " vertical " << vertical;
    }
  }
}

TEST_F(FontTest, VerticalGlyphsAreTurnedAQuarterClockwise) {
  Start();
  const int font = MakeFont(16, 2);
  ASSERT_GE(font, 0);
  Image upright(40, 40, MEMIMG_KIND_32BIT, 1);
  Image turned(40, 40, MEMIMG_KIND_32BIT, 1);
  Draw(upright.get(), 0, 0, "ア", font, 0);
  Draw(turned.get(), 0, 0, "ア", font, 1);
  // Upright pixel (x, y) of the line box shows at (line height - 1 - y, x).
  int ink = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      EXPECT_EQ(turned.At(15 - y, x), upright.At(x, y)) << x << "," << y;
      ink += upright.At(x, y) != 0 ? 1 : 0;
    }
  }
  EXPECT_GT(ink, 20);
}

TEST_F(FontTest, GlyphsAreClippedToTheClipAndTheImage) {
  Start();
  const int font = MakeFont(16, 1, 2);
  ASSERT_GE(font, 0);
  // A 24 x 24 view in the middle of a larger image: the clip reaches far beyond the
  // view, but nothing outside it may change.
  Image outer(96, 96, MEMIMG_KIND_16BIT);
  std::memset(outer.get()->pixels, 0x77, static_cast<std::size_t>(outer.get()->pitch) * 96);
  MEMIMG view;
  InitMemImgView(&view, outer.get(), 36, 36, 24, 24);
  const RECT huge{-1000, -1000, 1000, 1000};
  Draw(&view, -6, -6, "漢字漢字", font, 0, &huge, 0);
  Draw(&view, 10, 10, "漢字", font, 1, &huge, 0);
  int changedInside = 0;
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x) {
      const bool inside = x >= 36 && x < 60 && y >= 36 && y < 60;
      if (!inside) {
        ASSERT_EQ(outer.At(x, y), 0x7777u) << x << "," << y;
      } else if (outer.At(x, y) != 0x7777u) {
        ++changedInside;
      }
    }
  }
  EXPECT_GT(changedInside, 100);
  // A clip inside the image: only its pixels change.
  Image image(48, 48, MEMIMG_KIND_32BIT);
  const RECT clip{10, 4, 20, 30};
  Draw(image.get(), 0, 0, "漢字漢字", font, 0, &clip);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      if (x < 10 || x >= 20 || y < 4 || y >= 30) {
        ASSERT_EQ(image.At(x, y), 0u) << x << "," << y;
      }
    }
  }
}

TEST_F(FontTest, TheTintColoursTheTextAndKeepingTheBackgroundIsAChoice) {
  Start();
  const int font = MakeFont(16, 1, 1);
  ASSERT_GE(font, 0);
  Image kept(32, 32, MEMIMG_KIND_32BIT);
  Image cleared(32, 32, MEMIMG_KIND_32BIT);
  for (Image* image : {&kept, &cleared}) {
    std::memset(image->get()->pixels, 0x33, static_cast<std::size_t>(image->get()->pitch) * 32);
  }
  SetDrawTint(255, 128, 0);
  Draw(kept.get(), 0, 0, "田", font, 0, nullptr, 1);
  Draw(cleared.get(), 0, 0, "田", font, 0, nullptr, 0);
  SetDrawTint(255, 255, 255);
  int text = 0;
  int edge = 0;
  int zero = 0;
  int background = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::uint32_t k = kept.At(x, y);
      const std::uint32_t c = cleared.At(x, y);
      if ((k & 0xFFFFFF) == 0xFF8000) ++text;        // white x tint
      if ((k & 0xFFFFFF) == 0xFF0000) ++edge;        // red x tint
      if (k == 0x33333333u) ++background;
      if (c == 0) ++zero;
      if (k != 0x33333333u) {
        EXPECT_EQ(c, k) << x << "," << y;  // glyph pixels agree
      }
    }
  }
  EXPECT_GT(text, 20);
  EXPECT_GT(edge, 20);
  EXPECT_GT(zero, 0);  // the box's background pixels became 0
  EXPECT_GT(background, zero);
}

TEST(GlyphPalette, AlphaSlotsAndTheEdgeMix) {
  Image wide(1, 1, MEMIMG_KIND_32BIT, 1);
  Image narrow(1, 1, MEMIMG_KIND_16BIT, 1);
  Image plain(1, 1, MEMIMG_KIND_16BIT, 0);
  GlyphPalette palette;
  MakeGlyphPalette(2, 0xFFFFFF, 0, *wide.get(), &palette);
  EXPECT_FALSE(palette.drawn[0]);
  EXPECT_EQ(palette.value[1], 0x10FFFFFFu);
  EXPECT_EQ(palette.value[15], 0xF0FFFFFFu);
  MakeGlyphPalette(2, 0xFFFF, 0, *narrow.get(), &palette);
  EXPECT_EQ(palette.value[15], 0x00F0FFFFu);  // 16-bit colour, alpha in bits 16-23
  MakeGlyphPalette(2, 0xFFFF, 0, *plain.get(), &palette);
  EXPECT_EQ(palette.value[15], 0xFFFFu);  // no alpha byte: the colour alone
  // Type 3, body 8 and edge 15: alpha 7 x 15 + 16 x 8 = 233, f = 8 x 4096 / 233 = 140.
  MakeGlyphPalette(3, 0xFFFFFF, 0x000000, *wide.get(), &palette);
  EXPECT_EQ(palette.value[15 << 4 | 8], 0xE98B8B8Bu);
  EXPECT_EQ(palette.value[15 << 4], 0xF0000000u);      // edge only: edge colour at 240
  EXPECT_EQ(palette.value[3 << 4 | 15], 0xFFFFFFFFu);  // full body: text colour opaque
  EXPECT_FALSE(palette.drawn[0]);
  MakeGlyphPalette(3, 0xFFFF, 0x0000, *narrow.get(), &palette);
  EXPECT_EQ(palette.value[15 << 4 | 8], 0x00E98450u);  // R 16, G 34, B 16
  MakeGlyphPalette(1, 0x1234, 0x4321, *plain.get(), &palette);
  EXPECT_EQ(palette.value[1], 0x1234u);
  EXPECT_EQ(palette.value[2], 0x4321u);
  EXPECT_FALSE(palette.drawn[3]);
}

}  // namespace
