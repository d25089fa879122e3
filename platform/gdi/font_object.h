// A logical font of the stand-in: a FreeType face at the cell size asked for. Shared by
// the font objects and the glyph bitmaps; every use holds FontLock().
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>
#include <string>

#include "gdi/gdi_font.h"

struct FontObject : HFONT__ {
  FT_Face face = nullptr;  // null for the system font, which draws nothing
  std::string file;
  LONG ascent = 0;
  LONG descent = 0;
  LONG maxCharWidth = 0;
  bool embolden = false;  // weight 600 and above on a regular face
  bool oblique = false;
  int selections = 0;  // memory contexts holding it
};

std::mutex& FontLock();

// The font every memory context starts with; it has no face.
FontObject* SystemFont();

// The memory context's selected font with a face, or null.
FontObject* SelectedFace(HDC dc);
