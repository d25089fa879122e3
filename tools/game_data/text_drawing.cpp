#include "text_drawing.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cstdio>
#include <string>

namespace {

constexpr const char* kFamily = "IPAPGothic";
// Below this coverage an edge pixel over the transparent green stays transparent.
constexpr int kEdgeCoverage = 72;

std::string FaceFile() {
  FcPattern* request = FcNameParse(reinterpret_cast<const FcChar8*>(kFamily));
  FcConfigSubstitute(nullptr, request, FcMatchPattern);
  FcDefaultSubstitute(request);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, request, &result);
  std::string file;
  FcChar8* path = nullptr;
  if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
    file = reinterpret_cast<const char*>(path);
  }
  if (match != nullptr) FcPatternDestroy(match);
  FcPatternDestroy(request);
  return file;
}

FT_Face Face() {
  static FT_Face face = [] {
    FT_Library library = nullptr;
    FT_Face opened = nullptr;
    const std::string file = FaceFile();
    if (FT_Init_FreeType(&library) != 0 || file.empty() || FT_New_Face(library, file.c_str(), 0, &opened) != 0) {
      std::fprintf(stderr, "make_game_data: cannot open the %s font\n", kFamily);
      return static_cast<FT_Face>(nullptr);
    }
    return opened;
  }();
  return face;
}

TextObserver g_observer = nullptr;

std::uint8_t Mix(std::uint8_t from, std::uint8_t to, int coverage) {
  return static_cast<std::uint8_t>((from * (255 - coverage) + to * coverage + 127) / 255);
}

bool IsTransparent(const Colour& c) {
  return c.r == kTransparentGreen.r && c.g == kTransparentGreen.g && c.b == kTransparentGreen.b;
}

void Blend(Canvas& canvas, int x, int y, Colour colour, int coverage) {
  if (coverage == 0 || x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return;
  Colour& pixel = canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x];
  if (IsTransparent(pixel)) {
    if (coverage < kEdgeCoverage) return;
    pixel = {0, 0, 0};
  }
  pixel = {Mix(pixel.r, colour.r, coverage), Mix(pixel.g, colour.g, coverage), Mix(pixel.b, colour.b, coverage)};
  // A blend must never land on the key colour itself.
  if (IsTransparent(pixel)) pixel.g = 254;
}

}  // namespace

bool TextFaceReady() { return Face() != nullptr; }

void ObserveTexts(TextObserver observer) { g_observer = observer; }

int TextWidth(std::string_view text, int size) {
  FT_Face face = Face();
  if (face == nullptr) return 0;
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
  long width = 0;
  for (char character : text) {
    if (FT_Load_Char(face, static_cast<unsigned char>(character), FT_LOAD_DEFAULT) == 0) {
      width += face->glyph->advance.x;
    }
  }
  return static_cast<int>(width >> 6);
}

int FittingSize(std::string_view text, int size, int width) {
  while (size > 8 && TextWidth(text, size) > width) --size;
  return size;
}

void VisitInk(int x, int y, std::string_view text, int size, Align align, const InkVisitor& visit) {
  FT_Face face = Face();
  if (face == nullptr) return;
  if (align != Align::kLeft) {
    const int width = TextWidth(text, size);
    x -= align == Align::kCentre ? width / 2 : width;
  }
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
  const int baseline = y + static_cast<int>(face->size->metrics.ascender >> 6);
  long pen = static_cast<long>(x) << 6;
  for (char character : text) {
    if (FT_Load_Char(face, static_cast<unsigned char>(character), FT_LOAD_DEFAULT) != 0) continue;
    const FT_GlyphSlot glyph = face->glyph;
    // A little weight keeps thin strokes readable at caption sizes.
    FT_Outline_Embolden(&glyph->outline, size * 2);
    if (FT_Render_Glyph(glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
    const int left = static_cast<int>(pen >> 6) + glyph->bitmap_left;
    const int top = baseline - glyph->bitmap_top;
    for (unsigned row = 0; row < glyph->bitmap.rows; ++row) {
      for (unsigned column = 0; column < glyph->bitmap.width; ++column) {
        const int coverage = glyph->bitmap.buffer[row * glyph->bitmap.pitch + column];
        if (coverage != 0) visit(left + static_cast<int>(column), top + static_cast<int>(row), coverage);
      }
    }
    pen += glyph->advance.x;
  }
}

int OutlineWidth(int size) { return size <= 24 ? 1 : size <= 56 ? 2 : 3; }

void DrawText(Canvas& canvas, int x, int y, std::string_view text, int size, Colour colour, Align align,
              bool rimmed) {
  if (g_observer != nullptr) g_observer(text);
  if (rimmed) {
    const int rim = OutlineWidth(size);
    VisitInk(x, y, text, size, align, [&](int px, int py, int) {
      canvas.FillRect(px - rim, py - rim, 2 * rim + 1, 2 * rim + 1, kOutlineColour);
    });
  }
  VisitInk(x, y, text, size, align,
           [&](int px, int py, int coverage) { Blend(canvas, px, py, colour, coverage); });
}
