// Logical fonts and the memory contexts they are selected into.
#include <ft2build.h>
#include FT_TRUETYPE_TABLES_H

#include <memory>
#include <set>

#include "gdi/device_context.h"
#include "gdi/font_lookup.h"
#include "gdi/font_object.h"
#include "gdi/gdi_failure_injection.h"

namespace {

constexpr int kBoldWeight = 600;

std::set<HGDIOBJ> g_fonts;
std::set<HDC> g_memoryContexts;

FT_Library Library() {
  static FT_Library library = nullptr;
  if (library == nullptr && FT_Init_FreeType(&library) != 0) library = nullptr;
  return library;
}

// The face's Windows ascent and descent in font units (the typographic ones when the
// face has no OS/2 table).
void WindowsMetrics(FT_Face face, long* ascent, long* descent) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
    *ascent = os2->usWinAscent;
    *descent = os2->usWinDescent;
  } else {
    *ascent = face->ascender;
    *descent = -face->descender;
  }
}

long RoundedDivide(long long numerator, long long denominator) {
  return static_cast<long>((2 * numerator + denominator) / (2 * denominator));
}

// Sizes the face so that its cell (positive height) or em (negative) is |height|
// pixels, and takes the cell metrics.
bool SizeFace(FontObject* font, int height) {
  FT_Face face = font->face;
  if (!FT_IS_SCALABLE(face) || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return false;
  long winAscent = 0;
  long winDescent = 0;
  WindowsMetrics(face, &winAscent, &winDescent);
  const long cell = winAscent + winDescent;
  const long long unitsPerEm = face->units_per_EM;
  if (cell <= 0 || unitsPerEm <= 0) return false;
  const long long pixels = height > 0 ? height : -static_cast<long long>(height);
  const long em = height > 0 ? RoundedDivide(pixels * 64 * unitsPerEm, cell) : static_cast<long>(pixels * 64);
  if (em <= 0 || FT_Set_Char_Size(face, 0, em, 72, 72) != 0) return false;
  if (height > 0) {
    font->ascent = RoundedDivide(pixels * winAscent, cell);
    font->descent = static_cast<LONG>(pixels) - font->ascent;
  } else {
    font->ascent = RoundedDivide(pixels * winAscent, unitsPerEm);
    font->descent = RoundedDivide(pixels * winDescent, unitsPerEm);
  }
  font->maxCharWidth = static_cast<LONG>((FT_MulFix(face->max_advance_width, face->size->metrics.x_scale) + 32) >> 6) +
                       (font->embolden ? 1 : 0);
  return true;
}

void DestroyFont(FontObject* font) {
  if (font->face != nullptr) FT_Done_Face(font->face);
  delete font;
}

}  // namespace

std::mutex& FontLock() {
  static std::mutex lock;
  return lock;
}

FontObject* SystemFont() {
  static FontObject systemFont;
  return &systemFont;
}

FontObject* SelectedFace(HDC dc) {
  if (g_memoryContexts.count(dc) == 0 || dc->font == nullptr || dc->font->face == nullptr) return nullptr;
  return dc->font;
}

HFONT CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD, DWORD, DWORD charSet, DWORD, DWORD,
                  DWORD, DWORD pitchAndFamily, LPCSTR face) {
  if (GdiCallFails(GdiTestCall::CreateFontA) || height == 0 || height < -32767 || height > 32767) return nullptr;
  FontFileChoice choice;
  if (!FindFontFile(face, charSet, (pitchAndFamily & 3) == FIXED_PITCH, &choice)) return nullptr;
  std::lock_guard<std::mutex> lock(FontLock());
  FT_Library library = Library();
  auto font = std::make_unique<FontObject>();
  if (library == nullptr || FT_New_Face(library, choice.path.c_str(), choice.index, &font->face) != 0) return nullptr;
  font->file = choice.path;
  font->embolden = weight >= kBoldWeight && (font->face->style_flags & FT_STYLE_FLAG_BOLD) == 0;
  font->oblique = italic != 0 && (font->face->style_flags & FT_STYLE_FLAG_ITALIC) == 0;
  if (!SizeFace(font.get(), height)) {
    FT_Done_Face(font->face);
    return nullptr;
  }
  g_fonts.insert(font.get());
  return font.release();
}

BOOL DeleteObject(HGDIOBJ object) {
  std::lock_guard<std::mutex> lock(FontLock());
  auto found = g_fonts.find(object);
  if (found == g_fonts.end()) return FALSE;
  auto* font = static_cast<FontObject*>(static_cast<HFONT>(object));
  if (font->selections > 0) return FALSE;
  g_fonts.erase(found);
  DestroyFont(font);
  return TRUE;
}

HDC CreateCompatibleDC(HDC) {
  if (GdiCallFails(GdiTestCall::CreateCompatibleDC)) return nullptr;
  std::lock_guard<std::mutex> lock(FontLock());
  HDC dc = new HDC__{HDC__::Kind::Memory, nullptr, nullptr, SystemFont()};
  g_memoryContexts.insert(dc);
  return dc;
}

BOOL DeleteDC(HDC dc) {
  std::lock_guard<std::mutex> lock(FontLock());
  if (g_memoryContexts.erase(dc) == 0) return FALSE;
  --dc->font->selections;
  delete dc;
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  std::lock_guard<std::mutex> lock(FontLock());
  if (g_memoryContexts.count(dc) == 0 || (object != SystemFont() && g_fonts.count(object) == 0)) return nullptr;
  auto* font = static_cast<FontObject*>(static_cast<HFONT>(object));
  FontObject* previous = dc->font;
  --previous->selections;
  ++font->selections;
  dc->font = font;
  return previous;
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics) {
  std::lock_guard<std::mutex> lock(FontLock());
  FontObject* font = SelectedFace(dc);
  if (font == nullptr || metrics == nullptr) return FALSE;
  metrics->tmAscent = font->ascent;
  metrics->tmDescent = font->descent;
  metrics->tmHeight = font->ascent + font->descent;
  metrics->tmMaxCharWidth = font->maxCharWidth;
  return TRUE;
}

int GdiTestLiveFontObjects() {
  std::lock_guard<std::mutex> lock(FontLock());
  return static_cast<int>(g_fonts.size() + g_memoryContexts.size());
}

std::string GdiTestFontFile(HFONT__* font) {
  std::lock_guard<std::mutex> lock(FontLock());
  return g_fonts.count(font) != 0 ? static_cast<FontObject*>(font)->file : std::string();
}
