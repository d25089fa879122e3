// Glyph bitmaps in GDI's layouts, rendered by FreeType.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstring>

#include "gdi/cp932_code.h"
#include "gdi/font_object.h"
#include "gdi/gdi_failure_injection.h"

namespace {

// Grey levels of the grey formats (0 for the 1-bit format), or -1 for a format not
// emulated.
int GreyLevels(UINT format) {
  switch (format) {
    case GGO_BITMAP:
      return 0;
    case GGO_GRAY2_BITMAP:
      return 4;
    case GGO_GRAY4_BITMAP:
      return 16;
    case GGO_GRAY8_BITMAP:
      return 64;
    default:
      return -1;
  }
}

bool IsIdentity(const MAT2* m) {
  return m != nullptr && m->eM11.value == 1 && m->eM11.fract == 0 && m->eM12.value == 0 && m->eM12.fract == 0 &&
         m->eM21.value == 0 && m->eM21.fract == 0 && m->eM22.value == 1 && m->eM22.fract == 0;
}

// Loads, styles and renders the glyph into the face's slot.
bool RenderGlyph(const FontObject* font, UINT character, bool mono) {
  FT_Face face = font->face;
  const FT_UInt index = FT_Get_Char_Index(face, Cp932CodeToUnicode(character));  // 0: the missing glyph
  const FT_Int32 target = mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | target) != 0) return false;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  // Bold grey glyphs are widened here by one pixel; 1-bit ones on their bitmap
  // (WidenMonoRow).
  if (font->embolden && !mono) FT_Outline_EmboldenXY(&slot->outline, 64, 0);
  if (font->oblique) {
    const FT_Matrix slant{0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees
    FT_Outline_Transform(&slot->outline, &slant);
  }
  return FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0;
}

DWORD RowBytes(UINT width, int greyLevels) {
  return greyLevels == 0 ? (width + 31) / 32 * 4 : (width + 3) / 4 * 4;
}

// A 1-bit row of a bold glyph, one pixel wider than the rendered one: every stroke
// grows by a pixel to its right, but not into a one-pixel gap before the next stroke.
// Filling those gaps would join the strokes of small letters (M and W become blocks).
void WidenMonoRow(const BYTE* in, unsigned width, BYTE* out) {
  const auto ink = [&](unsigned x) { return x < width && ((in[x >> 3] >> (7 - (x & 7))) & 1) != 0; };
  for (unsigned x = 0; x <= width; ++x) {
    if (ink(x) || (x > 0 && ink(x - 1) && !ink(x + 1))) out[x >> 3] |= static_cast<BYTE>(0x80 >> (x & 7));
  }
}

void WriteBitmap(const FT_Bitmap& bitmap, int greyLevels, bool widen, DWORD rowBytes, BYTE* out) {
  std::memset(out, 0, static_cast<std::size_t>(rowBytes) * bitmap.rows);
  for (unsigned y = 0; y < bitmap.rows; ++y) {
    const BYTE* in = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
    BYTE* row = out + static_cast<std::size_t>(y) * rowBytes;
    if (widen) {
      WidenMonoRow(in, bitmap.width, row);
      continue;
    }
    if (greyLevels == 0) {
      std::memcpy(row, in, (bitmap.width + 7) / 8);
      continue;
    }
    const int coverageMax = bitmap.num_grays - 1;
    for (unsigned x = 0; x < bitmap.width; ++x) {
      row[x] = static_cast<BYTE>((in[x] * greyLevels + coverageMax / 2) / coverageMax);
    }
  }
}

}  // namespace

DWORD GetGlyphOutlineA(HDC dc, UINT character, UINT format, GLYPHMETRICS* metrics, DWORD size, LPVOID buffer,
                       const MAT2* matrix) {
  const int greyLevels = GreyLevels(format);
  if (greyLevels < 0 || metrics == nullptr || !IsIdentity(matrix)) return GDI_ERROR;
  if (GdiCallFails(GdiTestCall::GetGlyphOutlineA)) return GDI_ERROR;
  std::lock_guard<std::mutex> lock(FontLock());
  const FontObject* font = SelectedFace(dc);
  if (font == nullptr || !RenderGlyph(font, character, greyLevels == 0)) return GDI_ERROR;
  const FT_GlyphSlot slot = font->face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  // The 1-bit renderer gives an outline without contours (a space) a one-pixel box.
  const bool blank = slot->outline.n_contours == 0 || bitmap.width == 0 || bitmap.rows == 0;
  const bool widen = font->embolden && greyLevels == 0;
  const UINT width = bitmap.width + (widen ? 1 : 0);
  metrics->gmBlackBoxX = blank ? 0 : width;
  metrics->gmBlackBoxY = blank ? 0 : bitmap.rows;
  metrics->gmptGlyphOrigin = {slot->bitmap_left, slot->bitmap_top};
  metrics->gmCellIncX = static_cast<short>(((slot->advance.x + 32) >> 6) + (font->embolden ? 1 : 0));
  metrics->gmCellIncY = 0;
  if (blank) return 0;
  const DWORD rowBytes = RowBytes(width, greyLevels);
  const DWORD needed = rowBytes * bitmap.rows;
  if (buffer == nullptr || size == 0) return needed;
  if (size < needed) return GDI_ERROR;
  WriteBitmap(bitmap, greyLevels, widen, rowBytes, static_cast<BYTE*>(buffer));
  return needed;
}
