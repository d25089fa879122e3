#include "graphics/glyph_cache.h"

#include <algorithm>
#include <cstring>

#include "core/tracked_alloc.h"
#include "graphics/draw_state.h"
#include "graphics/font_record.h"
#include "graphics/fonts.h"
#include "graphics/glyph_stamp.h"
#include "graphics/glyph_texture.h"
#include "graphics/graphics_fatal.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"

namespace {

constexpr int kMaxGlyphsPerRasterization = 256;
constexpr MAT2 kIdentityMatrix{{0, 1}, {0, 0}, {0, 0}, {0, 1}};

// Takes the next entry of the round robin for the code: the glyph it held leaves the
// index, and so does an older entry of the same code.
GlyphEntry* TakeNextEntry(FontRecord* font, std::uint16_t code) {
  GlyphEntry* entry = &font->entries[font->nextEntry];
  font->nextEntry = (font->nextEntry + 1) % font->entryCount;
  if (entry->used && entry->indexSlot != nullptr && entry->indexSlot->entry == entry) {
    *entry->indexSlot = GlyphIndexSlot{0, nullptr};
  }
  GlyphIndexSlot* slot = &font->index[code];
  if (slot->valid && slot->entry != entry) {
    slot->entry->used = 0;
    slot->entry->indexSlot = nullptr;
  }
  *slot = GlyphIndexSlot{1, entry};
  entry->used = 1;
  entry->indexSlot = slot;
  return entry;
}

void ForgetEntry(GlyphEntry* entry) {
  *entry->indexSlot = GlyphIndexSlot{0, nullptr};
  entry->used = 0;
  entry->indexSlot = nullptr;
}

// The value GetGlyphOutlineA takes: the byte, or first byte x 256 + second byte.
UINT GdiCharacter(std::uint16_t code) {
  return code > 0xFF ? static_cast<UINT>((code & 0xFF) << 8 | code >> 8) : code;
}

// Where a glyph is stamped: its memory-cache cell, or the scratch cell the texture
// cache takes it from.
struct StampTarget {
  std::uint8_t* cell;
  int rowBytes;
};

// Renders one glyph through GDI into the entry and the (cleared) target cell. False
// (after the fatal report) when GDI or the buffer fails.
bool RenderGlyph(HDC dc, FontRecord* font, int ascent, std::uint16_t code, GlyphEntry* entry,
                 const StampTarget& target) {
  const bool grey = (font->fontType & kFontTypeAntialiased) != 0;
  const UINT format = grey ? GGO_GRAY4_BITMAP : GGO_BITMAP;
  GLYPHMETRICS metrics{};
  const DWORD size = GetGlyphOutlineA(dc, GdiCharacter(code), format, &metrics, 0, nullptr, &kIdentityMatrix);
  if (size == GDI_ERROR) {
    GraphicsFatalError("GetGlyphOutline 関数が失敗しました");
    return false;
  }
  entry->xOffset = static_cast<std::int16_t>(metrics.gmptGlyphOrigin.x);
  entry->yOffset = static_cast<std::int16_t>(ascent - metrics.gmptGlyphOrigin.y);
  entry->advance = metrics.gmCellIncX;
  entry->width = 0;
  entry->height = 0;
  if (size == 0) return true;  // a blank glyph: its advance only

  auto* bits = static_cast<std::uint8_t*>(TRACKED_ALLOC(size));
  if (bits == nullptr) {
    GraphicsFatalError("アンチエイリアス文字取得用バッファの確保に失敗しました");
    return false;
  }
  const int width = static_cast<int>(metrics.gmBlackBoxX);
  const int height = static_cast<int>(metrics.gmBlackBoxY);
  const int rowBytes = grey ? (width + 3) / 4 * 4 : (width + 31) / 32 * 4;
  const bool rendered = GetGlyphOutlineA(dc, GdiCharacter(code), format, &metrics, size, bits, &kIdentityMatrix) == size &&
                        static_cast<long long>(rowBytes) * height <= size;
  if (rendered) {
    int storedWidth = 0;
    int storedHeight = 0;
    StampGlyphIntoCell(target.cell, target.rowBytes, font->cellSize, font->fontType, font->edgeSize, GlyphBitmap{bits, width, height, rowBytes}, &storedWidth, &storedHeight);
    entry->width = static_cast<std::int16_t>(storedWidth);
    entry->height = static_cast<std::int16_t>(storedHeight);
  }
  TrackedFree(bits);
  if (!rendered) GraphicsFatalError("GetGlyphOutline 関数が失敗しました");
  return rendered;
}

// Makes the screen-sized surface the blended text path composes text in.
int MakeDrawingScreen(FontRecord* font) {
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  GraphFlags flags{};
  flags.alphaChannel = (font->fontType & kFontTypeAntialiased) != 0 ? 1 : 0;
  flags.alphaMode2D = static_cast<std::uint8_t>(DrawState.alphaSetting2D);
  flags.colourDepth = static_cast<std::uint8_t>(ScreenMode.bits != 0 ? ScreenMode.bits : 16);
  font->screenSurface = AddSurface2D(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0, 0, -1,
                                     nullptr, 0, 0, flags);
  if (font->screenSurface < 0) return -1;
  SetSurface2DWatcher(font->screenSurface, &font->memoryCacheLost);
  return 0;
}

}  // namespace

std::uint8_t* MemoryCacheCell(FontRecord* font, int cell) {
  return font->memoryCache + static_cast<std::ptrdiff_t>(CellY(*font, cell)) * font->memoryRowBytes +
         CellX(*font, cell) * font->memoryBits / 8;
}

int ClearFontCache(int fontHandle) {
  FontRecord* font = GetFontRecord(fontHandle);
  if (font == nullptr) return -1;
  std::memset(static_cast<void*>(font->index), 0, sizeof(font->index));
  std::memset(static_cast<void*>(font->entries), 0, sizeof(font->entries));
  for (int i = 0; i < font->entryCount; ++i) font->entries[i].cell = i;
  font->entries[font->entryCount].cell = -1;
  font->nextEntry = 0;
  return 0;
}

int RefreshFontCache(int fontHandle) {
  FontRecord* font = GetFontRecord(fontHandle);
  if (font == nullptr) return -1;
  if (RefreshTextureCache(fontHandle, font) != 0) return -1;
  if (!font->memoryCacheLost) return 0;
  // A surface that is still there goes first (its watcher raises the flag again).
  if (font->screenSurface != -1) DeleteSurface2D(font->screenSurface);
  font->screenSurface = -1;
  font->memoryCacheLost = 0;
  if (MakeDrawingScreen(font) != 0) {
    font->memoryCacheLost = 1;
    return -1;
  }
  return 0;
}

int CacheTextGlyphs(int fontHandle, const std::uint8_t* text, int length, std::uint16_t* codes, int capacity,
                    int* count) {
  FontRecord* font = GetFontRecord(fontHandle);
  if (font == nullptr) return -1;
  std::uint16_t missing[kMaxGlyphsPerRasterization];
  const int missingLimit = std::min(kMaxGlyphsPerRasterization, font->entryCount);
  int missingCount = 0;
  int at = 0;
  int n = 0;
  while (at < length && n < capacity && text[at] != 0) {
    std::uint16_t code = text[at];
    int step = 1;
    if (IsMultiByteLead(&text[at], font->charset)) {
      if (text[at + 1] == 0) {  // a lone lead byte ends the text
        at = length;
        break;
      }
      code = static_cast<std::uint16_t>(code | text[at + 1] << 8);
      step = 2;
    }
    codes[n++] = code;
    at += step;
    if (!font->index[code].valid && missingCount < missingLimit &&
        std::find(missing, missing + missingCount, code) == missing + missingCount) {
      missing[missingCount++] = code;
    }
  }
  if (missingCount > 0) RasterizeGlyph(fontHandle, missingCount, missing);
  *count = n;
  return at;
}

GlyphEntry* RasterizeGlyph(int fontHandle, int count, const std::uint16_t* codes) {
  if (DrawState.drawingSuspended || GetDirectDrawObject() == nullptr) return nullptr;
  FontRecord* font = GetFontRecord(fontHandle);
  if (font == nullptr) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  TEXTMETRIC metrics{};
  HGDIOBJ previous = dc != nullptr ? SelectObject(dc, font->gdiFont) : nullptr;
  if (dc == nullptr || previous == nullptr || !GetTextMetrics(dc, &metrics)) {
    if (dc != nullptr) DeleteDC(dc);
    GraphicsFatalError("テキストキャッシュサーフェスのＤＣの取得に失敗しました");
    return nullptr;
  }
  // A texture cache takes each glyph from a scratch cell laid out like a memory cell.
  const int cellRowBytes = (font->cellSize * (font->fontType == 0 ? 1 : 8) + 7) / 8;
  std::uint8_t* scratch = nullptr;
  GlyphTexels* texels = nullptr;
  if (font->textureCache) {
    scratch = static_cast<std::uint8_t*>(
        TRACKED_ALLOC(static_cast<std::size_t>(cellRowBytes) * static_cast<std::size_t>(font->cellSize)));
    texels = static_cast<GlyphTexels*>(TRACKED_ALLOC(sizeof(GlyphTexels)));
    if (scratch == nullptr || texels == nullptr) {
      TrackedFree(scratch);
      TrackedFree(texels);
      SelectObject(dc, previous);
      DeleteDC(dc);
      GraphicsFatalError("アンチエイリアス文字取得用バッファの確保に失敗しました");
      return nullptr;
    }
    MakeGlyphTexels(*font, texels);
  }
  GlyphEntry* last = nullptr;
  for (int i = 0; i < count; ++i) {
    GlyphEntry* entry = TakeNextEntry(font, codes[i]);
    const StampTarget target = font->textureCache ? StampTarget{scratch, cellRowBytes}
                                                  : StampTarget{MemoryCacheCell(font, entry->cell), font->memoryRowBytes};
    for (int row = 0; row < font->cellSize; ++row) {
      std::memset(target.cell + static_cast<std::ptrdiff_t>(row) * target.rowBytes, 0,
                  static_cast<std::size_t>(cellRowBytes));
    }
    if (!RenderGlyph(dc, font, metrics.tmAscent, codes[i], entry, target)) {
      ForgetEntry(entry);
      last = nullptr;
      break;
    }
    if (font->textureCache) TransferGlyphToTextureCache(font, *entry, scratch, cellRowBytes, *texels);
    last = entry;
  }
  TrackedFree(scratch);
  TrackedFree(texels);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return last;
}
