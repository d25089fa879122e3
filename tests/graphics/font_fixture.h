// A started graphics core for the font tests, with helpers to make fonts and to see
// what a font creation left behind.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "core/tracked_alloc.h"
#include "gdi/gdi_font.h"
#include "graphics/font_record.h"
#include "graphics/fonts.h"
#include "graphics/surface_2d.h"
#include "graphics_fixture.h"

class FontTest : public GraphicsTest {
 public:
  // Everything a font owns: table slots, tracked blocks, GDI objects, drawing screens.
  struct Footprint {
    int fonts;
    std::size_t blocks;
    int gdiObjects;
    int surfaces;
    bool operator==(const Footprint&) const = default;
  };

 protected:
  static Footprint Now() {
    return Footprint{FontTable.liveCount, TrackedBlocksInUse(), GdiTestLiveFontObjects(), Surface2DTable.liveCount};
  }

  // size, font type and edge size; the other settings default.
  static int MakeFont(int size, int fontType = 0, int edgeSize = -1) {
    return CreateFontToHandle(nullptr, size, -1, fontType, -1, edgeSize, 0, -1, -1);
  }
};

// A glyph as GDI renders it with a font's GDI font: its metrics and bitmap.
struct GdiGlyph {
  GLYPHMETRICS metrics{};
  std::vector<std::uint8_t> bits;
};

inline GdiGlyph RenderWithGdi(int font, UINT character, UINT format) {
  constexpr MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GdiGlyph glyph;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, GetFontRecord(font)->gdiFont);
  const DWORD size = GetGlyphOutlineA(dc, character, format, &glyph.metrics, 0, nullptr, &identity);
  glyph.bits.resize(size);
  GetGlyphOutlineA(dc, character, format, &glyph.metrics, size, glyph.bits.data(), &identity);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return glyph;
}

inline void PrintTo(const FontTest::Footprint& f, std::ostream* out) {
  *out << "{fonts " << f.fonts << ", blocks " << f.blocks << ", gdi " << f.gdiObjects << ", surfaces " << f.surfaces
       << "}";
}
