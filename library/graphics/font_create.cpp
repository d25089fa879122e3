// Making fonts: the GDI font with its fall-backs, the cell metrics, the glyph cache;
// the default font; the font system's start and the re-creation after a
// display change.
#include <algorithm>
#include <cstring>

#include "core/log.h"
#include "core/tracked_alloc.h"
#include "graphics/draw_state.h"
#include "graphics/font_record.h"
#include "graphics/fonts.h"
#include "graphics/glyph_cache.h"
#include "graphics/glyph_texture.h"
#include "graphics/screen_mode.h"
#include "kernel/code_page.h"

namespace {

constexpr int kDefaultSize = 16;
constexpr int kDefaultThickness = 6;
constexpr int kDefaultEdgeSize = 1;
constexpr int kCharsetCount = 3;
// GDI character-set codes by the library's charset index (default, Shift-JIS, Hangeul).
constexpr DWORD kCharsetCodes[kCharsetCount] = {DEFAULT_CHARSET, SHIFTJIS_CHARSET, HANGEUL_CHARSET};

struct DefaultFontSettingsRecord {
  int handle = -1;
  char face[kFontFaceSize] = "";
  int size = kDefaultSize;
  int thickness = kDefaultThickness;
  int fontType = 0;
  int charset = 1;
  int edgeSize = kDefaultEdgeSize;
  int italic = 0;
  int spacing = 0;
};
DefaultFontSettingsRecord g_default;

// The settings a font is made from, as CreateFontToHandle takes them.
struct FontSettings {
  char face[kFontFaceSize];
  int size;
  int thickness;
  int fontType;
  int charset;
  int edgeSize;
  int italic;
};

FontSettings SettingsOf(const FontRecord& font) {
  FontSettings settings{};
  std::memcpy(settings.face, font.face, sizeof(settings.face));
  settings.size = font.size;
  settings.thickness = font.thickness;
  settings.fontType = font.fontType;
  settings.charset = font.charset;
  settings.edgeSize = font.edgeSize;
  settings.italic = font.italic;
  return settings;
}

bool GraphicsUp() { return GetDirectDrawObject() != nullptr; }

int FirstFreeFontSlot() {
  for (int slot = 0; slot < kFontTableSize; ++slot) {
    if (FontTable.slots[slot] == nullptr) return slot;
  }
  return -1;
}

// Puts the record in its slot with the given check number, or the next one.
int RegisterFont(int slot, FontRecord* font, int check) {
  if (check == -1) {
    check = static_cast<int>(FontTable.checkCounter);
    FontTable.checkCounter = (FontTable.checkCounter + 1) % kHandleCheckLimit;
  }
  font->check = static_cast<std::uint32_t>(check) % kHandleCheckLimit;
  FontTable.slots[slot] = font;
  ++FontTable.liveCount;
  FontTable.highWater = std::max(FontTable.highWater, slot + 1);
  return FontTableType::MakeHandle(font->check, slot);
}

HFONT CreateGdiFont(const FontRecord& font, DWORD charsetCode) {
  return CreateFontA(font.size, 0, 0, 0, font.thickness * 100, font.italic != 0 ? TRUE : FALSE, FALSE, FALSE,
                     charsetCode, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, FIXED_PITCH,
                     font.face);
}

// The GDI font, falling back to the default and then the Shift-JIS character set.
int MakeGdiFont(FontRecord* font) {
  const bool named = font->face[0] != '\0';
  font->gdiFont = CreateGdiFont(*font, kCharsetCodes[font->charset]);
  if (font->gdiFont == nullptr) font->gdiFont = CreateGdiFont(*font, DEFAULT_CHARSET);
  if (font->gdiFont == nullptr && named) font->gdiFont = CreateGdiFont(*font, SHIFTJIS_CHARSET);
  if (font->gdiFont != nullptr) return 0;
  return LogWrite(named ? "指定のフォントの作成に失敗しました\n" : "フォントの作成に失敗しました\n");
}

// Cell size and line height from the text metrics.
int TakeCellMetrics(FontRecord* font) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return LogWrite("ＤＣの取得に失敗しました\n");
  HGDIOBJ previous = SelectObject(dc, font->gdiFont);
  TEXTMETRIC metrics{};
  const BOOL measured = GetTextMetrics(dc, &metrics);
  SelectObject(dc, previous);
  DeleteDC(dc);
  if (!measured) return LogWrite("ＤＣの取得に失敗しました\n");
  const int edges = (font->fontType & kFontTypeEdge) != 0 ? 2 * font->edgeSize : 0;
  font->cellSize = (metrics.tmMaxCharWidth + edges + 7) / 8 * 8;
  font->lineHeight = metrics.tmHeight + edges;
  if (font->lineHeight % 2 != 0) ++font->lineHeight;
  return 0;
}

int MakeMemoryCache(FontRecord* font) {
  const long long cellPixels = static_cast<long long>(font->cellSize) * font->cellSize;
  const int count = static_cast<int>(std::clamp<long long>(kFontMemoryCachePixels / cellPixels, kFontMinMemoryCells,
                                                           kFontMaxCacheCells));
  font->entryCount = count;
  font->cacheWidth = font->cellSize;
  font->cacheHeight = count * font->cellSize;
  font->cellsPerColumn = count;
  font->memoryBits = font->fontType == 0 ? 1 : 8;
  font->memoryRowBytes = (font->cellSize * font->memoryBits + 7) / 8;
  font->memoryCache = static_cast<std::uint8_t*>(
      TRACKED_CALLOC(static_cast<std::size_t>(font->memoryRowBytes) * static_cast<std::size_t>(font->cacheHeight)));
  if (font->memoryCache == nullptr) {
    return LogPrintf("フォントのキャッシュ用メモリの確保に失敗しました in CreateFontToHandle");
  }
  return 0;
}

// The texture cache when the device offers it and the cache graph can be made, else
// the memory cache with its drawing screen.
int MakeGlyphCache(int handle, FontRecord* font) {
  if (ChooseTextureGlyphCache()) {
    const int made = MakeFontTextureCache(handle, font);
    if (made != 0) return made == 1 ? 0 : -1;
  }
  if (MakeMemoryCache(font) != 0) return -1;
  font->memoryCacheLost = 1;
  if (RefreshFontCache(handle) != 0) return LogWrite("フォント用描画スクリーンの作成に失敗しました\n");
  return 0;
}

bool ValidSettings(int fontType, int charset, int edgeSize) {
  return fontType >= 0 && fontType <= 3 && charset >= 0 && charset < kCharsetCount && edgeSize >= 1;
}

}  // namespace

int CreateFontToHandle(const char* face, int size, int thickness, int fontType, int charset, int edgeSize,
                       int italic, int slot, int check) {
  if (!GraphicsUp()) return -1;
  if (fontType == -1) fontType = 0;
  if (edgeSize > 1) fontType |= kFontTypeEdge;
  if (size == -1) size = kDefaultSize;
  if (thickness == -1) thickness = kDefaultThickness;
  if (edgeSize == -1) edgeSize = kDefaultEdgeSize;
  if (charset == -1) charset = GetOEMCP() == 949 ? 2 : 1;
  if (!ValidSettings(fontType, charset, edgeSize)) return -1;
  if (face == nullptr) face = "";
  if (std::strlen(face) >= kFontFaceSize) return LogWrite("指定のフォントの作成に失敗しました\n");

  if (slot != -1) {
    if (slot < 0 || slot >= kFontTableSize || FontTable.slots[slot] != nullptr) return -1;
  } else {
    slot = FirstFreeFontSlot();
    if (slot < 0) return LogPrintf("作成できるフォントハンドル数 %d の限界を超えました", kFontTableSize);
  }
  auto* font = static_cast<FontRecord*>(TRACKED_CALLOC(sizeof(FontRecord)));
  if (font == nullptr) return LogWrite("フォント管理用メモリ領域の確保に失敗しました\n");
  font->screenSurface = -1;
  font->cacheGraph = -1;
  font->edgeGraph = -1;
  if (ScreenMode.bits == 8) fontType &= ~kFontTypeAntialiased;
  std::memcpy(font->face, face, std::strlen(face) + 1);
  font->size = size;
  font->thickness = thickness;
  font->fontType = fontType;
  font->charset = charset;
  font->edgeSize = edgeSize;
  font->italic = italic;
  const int handle = RegisterFont(slot, font, check);

  // From here a failure releases everything made so far, as deleting the font does.
  if (MakeGdiFont(font) != 0 || TakeCellMetrics(font) != 0 || MakeGlyphCache(handle, font) != 0) {
    FreeFontHandle(handle);
    return -1;
  }
  ClearFontCache(handle);
  font->watcher = nullptr;
  return handle;
}

int GetBuiltinFontHandle() { return g_default.handle; }

int DefaultFontSettings() {
  const int handle = g_default.handle;
  g_default = DefaultFontSettingsRecord{};
  g_default.handle = handle;
  return 0;
}

int EnsureDefaultFont() {
  const FontRecord* font = GetFontRecord(g_default.handle);
  if (font != nullptr && std::strcmp(font->face, g_default.face) == 0 && font->fontType == g_default.fontType &&
      font->size == g_default.size && font->thickness == g_default.thickness && font->charset == g_default.charset &&
      font->edgeSize == g_default.edgeSize && font->italic == g_default.italic) {
    return 0;
  }
  FreeFontHandle(g_default.handle);
  const int edgeSize = (g_default.fontType & kFontTypeEdge) != 0 ? g_default.edgeSize : -1;
  g_default.handle = CreateFontToHandle(g_default.face, g_default.size, g_default.thickness, g_default.fontType,
                                        g_default.charset, edgeSize, g_default.italic, -1, -1);
  SetFontSpaceToHandle(g_default.spacing, g_default.handle);
  return 0;
}

int RebuildDefaultFont(const char*, int size, int thickness) {
  if (!GraphicsUp()) return -1;
  g_default.size = size == -1 ? kDefaultSize : size;
  g_default.thickness = thickness == -1 ? kDefaultThickness : thickness;
  return EnsureDefaultFont();
}

int FreeDefaultFont() {
  FreeFontHandle(g_default.handle);
  g_default.handle = -1;
  return 0;
}

int InitFontSystem() {
  if (!GraphicsUp()) return -1;
  LogWrite("フォントの初期化を行います\n");
  IncreaseLogIndent();
  FontSettings kept{};
  kept.size = kDefaultSize;
  kept.thickness = kDefaultThickness;
  kept.fontType = -1;
  kept.charset = -1;
  kept.edgeSize = -1;
  if (const FontRecord* font = GetFontRecord(g_default.handle)) kept = SettingsOf(*font);
  for (int slot = 0; slot < kFontTableSize; ++slot) {
    if (FontTable.slots[slot] != nullptr) FreeFontHandle(FontTable.HandleOf(slot));
  }
  g_default.handle = CreateFontToHandle(kept.face, kept.size, kept.thickness, kept.fontType, kept.charset,
                                        kept.edgeSize, kept.italic, -1, -1);
  DecreaseLogIndent();
  LogWrite("フォントの初期化は正常に終了しました\n");
  return 0;
}

int RecreateAllFonts() {
  for (int slot = 0; slot < kFontTableSize; ++slot) {
    const FontRecord* font = FontTable.slots[slot];
    if (font == nullptr) continue;
    const FontSettings settings = SettingsOf(*font);
    const int check = static_cast<int>(font->check);
    const int spacing = font->spacing;
    int* watcher = font->watcher;
    FreeFontHandle(FontTable.HandleOf(slot));
    const int handle = CreateFontToHandle(settings.face, settings.size, settings.thickness, settings.fontType,
                                          settings.charset, settings.edgeSize, settings.italic, slot, check);
    // The holder keeps its handle, so it keeps its watch too.
    SetFontSpaceToHandle(spacing, handle);
    WatchFontLoss(handle, watcher);
  }
  return 0;
}
