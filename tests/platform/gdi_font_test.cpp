// The GDI font stand-in: face lookup by family and language, GDI's metric rules, the
// glyph bitmap layouts and the object lifetimes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "gdi/gdi_font.h"
#include "testing.h"

namespace {

constexpr MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};

HFONT MakeFont(int height, const char* face = "", int weight = 600, DWORD charSet = SHIFTJIS_CHARSET) {
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charSet, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     NONANTIALIASED_QUALITY, FIXED_PITCH, face);
}

// A memory context with one font selected; gives both back at the end.
class SelectedFont {
 public:
  explicit SelectedFont(HFONT font) : font_(font), dc_(CreateCompatibleDC(nullptr)) {
    previous_ = SelectObject(dc_, font_);
  }
  ~SelectedFont() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(font_);
  }
  HDC dc() const { return dc_; }

  struct Glyph {
    GLYPHMETRICS metrics{};
    DWORD size = 0;
    std::vector<BYTE> bits;
  };
  Glyph Render(UINT code, UINT format) const {
    Glyph glyph;
    glyph.size = GetGlyphOutlineA(dc_, code, format, &glyph.metrics, 0, nullptr, &kIdentity);
    if (glyph.size == GDI_ERROR || glyph.size == 0) return glyph;
    glyph.bits.assign(glyph.size, 0xCD);
    EXPECT_EQ(GetGlyphOutlineA(dc_, code, format, &glyph.metrics, glyph.size, glyph.bits.data(), &kIdentity),
              glyph.size);
    return glyph;
  }

 private:
  HFONT font_;
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

std::string FontFileName(HFONT font) {
  return std::filesystem::canonical(GdiTestFontFile(font)).filename().string();
}

TEST(GdiFont, DefaultFaceIsTheInstalledJapaneseFont) {
  HFONT font = MakeFont(16);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(FontFileName(font), "ipag.ttf");
  EXPECT_TRUE(DeleteObject(font));
  // The system's character set is Shift-JIS: the default charset asks for Japanese too.
  font = MakeFont(16, "", 400, DEFAULT_CHARSET);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(FontFileName(font), "ipag.ttf");
  EXPECT_TRUE(DeleteObject(font));
}

TEST(GdiFont, NamedFaceNeedsTheFamilyAndTheLanguage) {
  HFONT font = MakeFont(16, "IPAGothic");
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(DeleteObject(font));
  // A face name in Shift-JIS, as the library passes it.
  font = MakeFont(16, "IPAゴシック");
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(DeleteObject(font));
  // Unknown families are not replaced by whatever fontconfig falls back to, and a
  // family without Japanese glyphs does not answer a Shift-JIS request.
  EXPECT_EQ(MakeFont(16, "No Such Face 123"), nullptr);
  EXPECT_EQ(MakeFont(16, "DejaVu Sans"), nullptr);
  EXPECT_EQ(MakeFont(0), nullptr);
  EXPECT_EQ(GdiTestLiveFontObjects(), 0);
}

TEST(GdiFont, PositiveHeightIsTheCellHeight) {
  for (int height : {12, 16, 24, 32}) {
    SelectedFont font(MakeFont(height));
    TEXTMETRIC metrics{};
    ASSERT_TRUE(GetTextMetrics(font.dc(), &metrics));
    EXPECT_EQ(metrics.tmHeight, height);
    EXPECT_EQ(metrics.tmAscent + metrics.tmDescent, height);
  }
  // IPA Gothic: Windows ascent 1802 and descent 401 of 2048 units, widest advance one em;
  // at 16 pixels the em is 14.87 pixels, the ascent 13 and the widest character 15 plus
  // one for the emboldening of weight 600.
  SelectedFont font(MakeFont(16));
  TEXTMETRIC metrics{};
  ASSERT_TRUE(GetTextMetrics(font.dc(), &metrics));
  EXPECT_EQ(metrics.tmAscent, 13);
  EXPECT_EQ(metrics.tmDescent, 3);
  EXPECT_EQ(metrics.tmMaxCharWidth, 16);
  SelectedFont regular(MakeFont(16, "", 400));
  ASSERT_TRUE(GetTextMetrics(regular.dc(), &metrics));
  EXPECT_EQ(metrics.tmMaxCharWidth, 15);
}

int MaxLevel(const SelectedFont::Glyph& glyph) {
  const UINT pitch = (glyph.metrics.gmBlackBoxX + 3) / 4 * 4;
  int level = 0;
  for (UINT y = 0; y < glyph.metrics.gmBlackBoxY; ++y) {
    for (UINT x = 0; x < pitch; ++x) {
      const BYTE value = glyph.bits[y * pitch + x];
      if (x >= glyph.metrics.gmBlackBoxX) {
        EXPECT_EQ(value, 0) << "padding at " << x << "," << y;
      }
      level = std::max<int>(level, value);
    }
  }
  return level;
}

TEST(GdiFont, GreyBitmapsHaveTheirLevelsAndPaddedRows) {
  SelectedFont font(MakeFont(16));
  const UINT katakanaA = 0x8341;  // "ア"
  struct Case {
    UINT format;
    int levels;
  };
  for (Case c : {Case{GGO_GRAY2_BITMAP, 4}, Case{GGO_GRAY4_BITMAP, 16}, Case{GGO_GRAY8_BITMAP, 64}}) {
    SelectedFont::Glyph glyph = font.Render(katakanaA, c.format);
    ASSERT_NE(glyph.size, GDI_ERROR);
    ASSERT_GT(glyph.metrics.gmBlackBoxX, 0u);
    EXPECT_EQ(glyph.size, (glyph.metrics.gmBlackBoxX + 3) / 4 * 4 * glyph.metrics.gmBlackBoxY);
    EXPECT_EQ(MaxLevel(glyph), c.levels) << c.format;  // a solid stroke reaches the top level
    EXPECT_EQ(glyph.metrics.gmCellIncX, 16);
  }
}

TEST(GdiFont, MonoBitmapRowsArePaddedToFourBytes) {
  SelectedFont font(MakeFont(16));
  SelectedFont::Glyph glyph = font.Render(0x8341, GGO_BITMAP);
  ASSERT_NE(glyph.size, GDI_ERROR);
  const UINT width = glyph.metrics.gmBlackBoxX;
  ASSERT_GT(width, 8u);
  ASSERT_LE(width, 32u);
  EXPECT_EQ(glyph.size, 4 * glyph.metrics.gmBlackBoxY);
  int setBits = 0;
  for (UINT y = 0; y < glyph.metrics.gmBlackBoxY; ++y) {
    const BYTE* row = &glyph.bits[y * 4];
    const std::uint32_t word = static_cast<std::uint32_t>(row[0]) << 24 | row[1] << 16 | row[2] << 8 | row[3];
    EXPECT_EQ(word & (0xFFFFFFFFu >> width), 0u) << "bits beyond the box in row " << y;
    setBits += __builtin_popcount(word);
  }
  EXPECT_GT(setBits, 20);
  // A buffer too small is refused, not overrun.
  std::vector<BYTE> small(glyph.size - 1);
  GLYPHMETRICS metrics{};
  EXPECT_EQ(GetGlyphOutlineA(font.dc(), 0x8341, GGO_BITMAP, &metrics, glyph.size - 1, small.data(), &kIdentity),
            GDI_ERROR);
}

TEST(GdiFont, SpacesAreBlankGlyphsWithTheirAdvance) {
  SelectedFont font(MakeFont(16));
  for (UINT format : {UINT{GGO_BITMAP}, UINT{GGO_GRAY4_BITMAP}}) {
    SelectedFont::Glyph half = font.Render(0x20, format);
    SelectedFont::Glyph full = font.Render(0x8140, format);  // full-width space
    EXPECT_EQ(half.size, 0u);
    EXPECT_EQ(full.size, 0u);
    EXPECT_EQ(half.metrics.gmBlackBoxX, 0u);
    EXPECT_EQ(full.metrics.gmBlackBoxY, 0u);
    EXPECT_EQ(half.metrics.gmCellIncX, 9);   // half of the em, plus the emboldening
    EXPECT_EQ(full.metrics.gmCellIncX, 16);
  }
}

TEST(GdiFont, ShiftJisCodesReachTheirGlyphs) {
  SelectedFont font(MakeFont(24));
  // 0x8540 is no CP932 character: the face's missing glyph, as is a lone lead byte.
  const SelectedFont::Glyph missing = font.Render(0x8540, GGO_GRAY4_BITMAP);
  EXPECT_EQ(font.Render(0x81, GGO_GRAY4_BITMAP).bits, missing.bits);
  for (UINT code : {0x8341u /* ア */, 0x8ABFu /* 漢 */, 0xB1u /* ｱ */, 0x41u}) {
    const SelectedFont::Glyph glyph = font.Render(code, GGO_GRAY4_BITMAP);
    ASSERT_GT(glyph.size, 0u) << std::hex << code;
    EXPECT_NE(glyph.bits, missing.bits) << std::hex << code;
  }
  // Half-width katakana take half a cell, their full-width forms a whole one.
  EXPECT_EQ(font.Render(0xB1, GGO_BITMAP).metrics.gmCellIncX * 2 - 1, font.Render(0x8341, GGO_BITMAP).metrics.gmCellIncX);
}

TEST(GdiFont, WeightAndSlantAreSynthesisedDeterministically) {
  SelectedFont bold(MakeFont(16, "", 600));
  SelectedFont regular(MakeFont(16, "", 400));
  SelectedFont italic(CreateFontA(16, 0, 0, 0, 400, TRUE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, NONANTIALIASED_QUALITY,
                                  FIXED_PITCH, ""));
  const SelectedFont::Glyph b = bold.Render(0x8ABF, GGO_GRAY4_BITMAP);
  const SelectedFont::Glyph r = regular.Render(0x8ABF, GGO_GRAY4_BITMAP);
  const SelectedFont::Glyph i = italic.Render(0x49 /* I */, GGO_GRAY4_BITMAP);
  const SelectedFont::Glyph upright = regular.Render(0x49, GGO_GRAY4_BITMAP);
  EXPECT_EQ(b.metrics.gmCellIncX, r.metrics.gmCellIncX + 1);
  EXPECT_EQ(b.metrics.gmBlackBoxX, r.metrics.gmBlackBoxX + 1);
  EXPECT_GT(i.metrics.gmBlackBoxX, upright.metrics.gmBlackBoxX);
  EXPECT_EQ(bold.Render(0x8ABF, GGO_GRAY4_BITMAP).bits, b.bits);
}

TEST(GdiFont, FontsLiveWhileSelected) {
  HFONT font = MakeFont(16);
  ASSERT_NE(font, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  GLYPHMETRICS metrics{};
  TEXTMETRIC text{};
  // The system font a context starts with draws nothing.
  EXPECT_FALSE(GetTextMetrics(dc, &text));
  EXPECT_EQ(GetGlyphOutlineA(dc, 0x41, GGO_BITMAP, &metrics, 0, nullptr, &kIdentity), GDI_ERROR);
  HGDIOBJ system = SelectObject(dc, font);
  ASSERT_NE(system, nullptr);
  EXPECT_FALSE(DeleteObject(font));   // selected
  EXPECT_FALSE(DeleteObject(system)); // the system font stays
  const MAT2 twice{{0, 2}, {0, 0}, {0, 0}, {0, 2}};
  EXPECT_EQ(GetGlyphOutlineA(dc, 0x41, GGO_BITMAP, &metrics, 0, nullptr, &twice), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineA(dc, 0x41, 2 /* outline */, &metrics, 0, nullptr, &kIdentity), GDI_ERROR);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(SelectObject(screen, font), nullptr);  // only memory contexts hold fonts
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(SelectObject(dc, system), font);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_FALSE(DeleteObject(font));  // already gone
  EXPECT_EQ(SelectObject(dc, font), nullptr);
  // Deleting the context lets go of what it held.
  font = MakeFont(16);
  SelectObject(dc, font);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_EQ(GdiTestLiveFontObjects(), 0);
}

TEST(GdiFont, InjectedFailures) {
  GdiTestFailCall(GdiTestCall::CreateFontA, 1, 1);
  HFONT first = MakeFont(16);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(MakeFont(16), nullptr);
  GdiTestFailCall(GdiTestCall::CreateCompatibleDC, 0, 1);
  EXPECT_EQ(CreateCompatibleDC(nullptr), nullptr);
  SelectedFont font(first);
  GdiTestFailCall(GdiTestCall::GetGlyphOutlineA, 0, 1);
  EXPECT_EQ(font.Render(0x41, GGO_BITMAP).size, GDI_ERROR);
  EXPECT_GT(font.Render(0x41, GGO_BITMAP).size, 0u);
}

}  // namespace
