// The font part of GDI the library uses: logical fonts, a memory device context to
// select them into, the text metrics and glyph bitmaps (GetGlyphOutlineA).
//
// Backed by FreeType with fonts found through fontconfig. What is emulated:
// - Face names: "" (the default face) is IPA Gothic, the Japanese font the project
//   installs; a named face is found only when an installed font has that family name
//   and covers the language of the character set. DEFAULT_CHARSET is the system's own
//   character set, which is Shift-JIS here, so every charset but HANGEUL_CHARSET asks
//   for Japanese coverage.
// - Height: a positive height is the cell height (ascent + descent from the font's
//   Windows metrics), a negative one the em height; 0 is refused (no default size).
// - Weight: 600 and above are emboldened by one pixel (advance + 1), lighter weights
//   drawn as the face is; a 1-bit glyph keeps its one-pixel gaps between strokes so
//   that small bold letters stay legible. Italic is an oblique slant of the outline.
// - Width, escapement, orientation, underline, strike-out, the precisions and the
//   quality do not change glyph bitmaps and are not emulated; the pitch only steers
//   the choice of the default face.
// - Character codes are CP932: a single byte, or lead byte x 256 + trail byte.
#pragma once

#include "gdi/gdi.h"
#include "kernel/win_types.h"

// A logical font; what it holds is the stand-in's own (font_object.h).
struct HFONT__ : HGDIOBJ__ {};
typedef HFONT__* HFONT;

// Character sets.
#define DEFAULT_CHARSET 1
#define SHIFTJIS_CHARSET 128
#define HANGEUL_CHARSET 129

#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define NONANTIALIASED_QUALITY 3
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1

// NULL when no installed font answers the face and character set (or a test injected
// the failure).
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face);

// A memory context (whatever the given context) holding the system font until a font is
// selected; given back with DeleteDC.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);

// Selects a font into a memory context and returns the one it held; NULL for anything
// else (other objects, other contexts). A font stays alive while selected: DeleteObject refuses it (FALSE) until it is
// selected out or its context deleted. The system font is never deleted.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);

struct TEXTMETRIC {
  LONG tmHeight;        // ascent + descent
  LONG tmAscent;        // baseline to cell top
  LONG tmDescent;       // baseline to cell bottom
  LONG tmMaxCharWidth;  // widest advance of the face
};

// The metrics of the context's font; FALSE while the system font is selected.
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);

struct FIXED {
  WORD fract;
  short value;
};

struct MAT2 {
  FIXED eM11;
  FIXED eM12;
  FIXED eM21;
  FIXED eM22;
};

struct GLYPHMETRICS {
  UINT gmBlackBoxX;         // bitmap width (0 for a blank glyph)
  UINT gmBlackBoxY;         // bitmap height
  POINT gmptGlyphOrigin;    // the bitmap's top-left: x from the pen, y up from the baseline
  short gmCellIncX;         // advance
  short gmCellIncY;
};

// Bitmap formats: rows top to bottom, each padded to a multiple of 4 bytes.
#define GGO_BITMAP 1        // 1 bit per pixel, most significant bit first
#define GGO_GRAY2_BITMAP 4  // one byte per pixel, levels 0..4
#define GGO_GRAY4_BITMAP 5  // levels 0..16
#define GGO_GRAY8_BITMAP 6  // levels 0..64

#define GDI_ERROR 0xFFFFFFFFu

// Fills the metrics and returns the bitmap's size in bytes when buffer is NULL or size
// is 0; otherwise writes the bitmap too (GDI_ERROR when it does not fit). A blank glyph
// has size 0. Only the identity matrix is emulated; other formats, another matrix, the
// system font or a non-memory context give GDI_ERROR.
DWORD GetGlyphOutlineA(HDC dc, UINT character, UINT format, GLYPHMETRICS* metrics, DWORD size,
                       LPVOID buffer, const MAT2* matrix);
