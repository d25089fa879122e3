#include "graphics/glyph_texture.h"

#include <algorithm>
#include <cstring>

#include "core/log.h"
#include "core/tracked_alloc.h"
#include "graphics/draw_state.h"
#include "graphics/font_record.h"
#include "graphics/glyph_cache.h"
#include "graphics/graph_loading.h"
#include "graphics/graph_pixel_transfer.h"
#include "graphics/graph_records.h"
#include "graphics/texture_formats.h"

namespace {

constexpr int kLargestCacheSide = 1 << 24;  // past this the graph cannot be made anyway

bool Antialiased(const FontRecord& font) { return (font.fontType & kFontTypeAntialiased) != 0; }
bool Edged(const FontRecord& font) { return (font.fontType & kFontTypeEdge) != 0; }

bool HasChannels(const PixelFormat* format, int a, int r, int g, int b) {
  return format != nullptr && format->bitsPerPixel == 16 && format->widthA == a && format->widthR == r &&
         format->widthG == g && format->widthB == b;
}

// The work image's format: the cache graph's texture format.
const PixelFormat* GlyphTextureFormat(bool antialiased) {
  return GetTextureFormatPixelFormatByFlags(antialiased ? 1 : 0, antialiased ? 0 : 1, 0, 0);
}

void FreeCacheGraphs(FontRecord* font) {
  // The edge graph shares the cache graph's textures: it goes first.
  if (font->edgeGraph != -1) FreeGraphBody(font->edgeGraph, 0);
  if (font->cacheGraph != -1) FreeGraphBody(font->cacheGraph, 0);
  font->edgeGraph = -1;
  font->cacheGraph = -1;
}

// Makes the cache graph (and the edge graph) with the new-graph defaults of a glyph
// cache: 16 bits, alpha channel for anti-aliased fonts, else alpha test.
int MakeCacheGraphs(FontRecord* font) {
  const int keptDepth = DrawState.newGraphColourDepth;
  const int keptAlpha = DrawState.newGraphAlphaRequest;
  const int keptAlphaTest = DrawState.newGraphAlphaTest;
  const int keptUse3D = DrawState.use3DGraphs;
  DrawState.newGraphColourDepth = 16;
  DrawState.newGraphAlphaRequest = Antialiased(*font) ? 1 : 0;
  DrawState.newGraphAlphaTest = Antialiased(*font) ? 0 : 1;
  SetUse3DGraphs(1);
  const int halves = Edged(*font) ? 2 : 1;
  font->cacheGraph = CreateBlankGraphDefault(font->cacheWidth * halves, font->cacheHeight);
  if (font->cacheGraph >= 0 && Edged(*font)) {
    font->edgeGraph = DeriveGraph(font->cacheWidth, 0, font->cacheWidth, font->cacheHeight, font->cacheGraph);
  }
  DrawState.newGraphColourDepth = keptDepth;
  DrawState.newGraphAlphaRequest = keptAlpha;
  DrawState.newGraphAlphaTest = keptAlphaTest;
  SetUse3DGraphs(keptUse3D);
  if (font->cacheGraph < 0 || (Edged(*font) && font->edgeGraph < 0)) {
    FreeCacheGraphs(font);
    return -1;
  }
  return 0;
}

}  // namespace

TextureCacheSize ChooseTextureCacheSize(int cellSize) {
  TextureCacheSize size{kFontTextureCacheSide, kFontTextureCacheSide, 0, 0};
  const auto count = [&] { return (size.height / cellSize) * (size.width / cellSize); };
  size.entries = count();
  while (size.entries < kFontMinTextureCells && size.width < kLargestCacheSide && size.height < kLargestCacheSide) {
    if (size.width > size.height) {
      size.height *= 2;
    } else {
      size.width *= 2;
    }
    size.entries = count();
  }
  size.entries = std::min(size.entries, kFontMaxCacheCells);
  size.cellsPerColumn = size.height / cellSize;
  return size;
}

int ChooseTextureGlyphCache() {
  if (!IsTextureCacheUsable()) return 0;
  return HasChannels(GlyphTextureFormat(true), 4, 4, 4, 4) && HasChannels(GlyphTextureFormat(false), 1, 5, 5, 5)
             ? 1
             : 0;
}

int MakeFontTextureCache(int fontHandle, FontRecord* font) {
  const TextureCacheSize size = ChooseTextureCacheSize(font->cellSize);
  font->cacheWidth = size.width;
  font->cacheHeight = size.height;
  font->entryCount = size.entries;
  font->cellsPerColumn = size.cellsPerColumn;
  font->textureCache = 1;
  font->textureCacheLost = 1;
  if (size.entries < 1 || RefreshTextureCache(fontHandle, font) != 0) {
    font->textureCache = 0;
    font->textureCacheLost = 0;
    LogWrite("テクスチャ文字キャッシュの作成に失敗しました\n");
    return 0;
  }
  GraphImage& work = font->workImage;
  work.format = *GlyphTextureFormat(Antialiased(*font));
  work.width = font->cellSize * (Edged(*font) ? 2 : 1);
  work.height = font->cellSize + (Edged(*font) ? 2 * font->edgeSize : 0);
  work.pitch = work.width * work.format.bytesPerPixel;
  work.pixels = TRACKED_CALLOC(static_cast<std::size_t>(work.pitch) * static_cast<std::size_t>(work.height));
  if (work.pixels == nullptr) return LogWrite("文字キャッシュ処理用メモリの確保に失敗しました\n");
  return 1;
}

int RefreshTextureCache(int fontHandle, FontRecord* font) {
  if (!font->textureCacheLost) return 0;
  // Graphs still there go first (their watcher raises the flag again).
  FreeCacheGraphs(font);
  font->textureCacheLost = 0;
  if (MakeCacheGraphs(font) != 0) {
    font->textureCacheLost = 1;
    return -1;
  }
  WatchGraphLoss(font->cacheGraph, &font->textureCacheLost);
  FillGraph(font->cacheGraph, 255, 255, 255, 0);
  return ClearFontCache(fontHandle);
}

void ReleaseTextureCache(FontRecord* font) {
  FreeCacheGraphs(font);
  TrackedFree(font->workImage.pixels);
  font->workImage.pixels = nullptr;
}

void MakeGlyphTexels(const FontRecord& font, GlyphTexels* texels) {
  const PixelFormat& format = font.workImage.format;
  const auto white = [&](int alpha) {
    return static_cast<std::uint16_t>(PackPixel(&format, 255, 255, 255, static_cast<std::uint8_t>(alpha)));
  };
  for (int value = 0; value < 256; ++value) {
    switch (font.fontType) {
      case 0:  // a bit
        texels->body[value] = white(value != 0 ? 255 : 0);
        texels->edge[value] = white(0);
        break;
      case 1:  // 1 body, 2 edge
        texels->body[value] = white(value == 1 ? 255 : 0);
        texels->edge[value] = white(value == 2 ? 255 : 0);
        break;
      default:  // body level in the low nibble, edge level in the high one (type 2: no edge)
        texels->body[value] = white((value & 0x0F) * 17);
        texels->edge[value] = white((value >> 4) * 17);
        break;
    }
  }
}

void TransferGlyphToTextureCache(FontRecord* font, const GlyphEntry& entry, const std::uint8_t* stamped,
                                 int rowBytes, const GlyphTexels& texels) {
  GraphImage& work = font->workImage;
  std::memset(work.pixels, 0, static_cast<std::size_t>(work.pitch) * static_cast<std::size_t>(work.height));
  const bool oneBit = font->fontType == 0;
  const bool edged = Edged(*font);
  for (int y = 0; y < entry.height; ++y) {
    const std::uint8_t* from = stamped + static_cast<std::ptrdiff_t>(y) * rowBytes;
    auto* body = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(work.pixels) +
                                                  static_cast<std::ptrdiff_t>(y) * work.pitch);
    std::uint16_t* edge = body + font->cellSize;
    for (int x = 0; x < entry.width; ++x) {
      const std::uint8_t value = oneBit ? (from[x >> 3] >> (7 - (x & 7))) & 1 : from[x];
      body[x] = texels.body[value];
      if (edged) edge[x] = texels.edge[value];
    }
  }
  const int cellX = CellX(*font, entry.cell);
  const int cellY = CellY(*font, entry.cell);
  const RECT bodyHalf{0, 0, font->cellSize, font->cellSize};
  TransferPixelsToGraph(&work, nullptr, &bodyHalf, cellX, cellY, nullptr, font->cacheGraph, 0);
  if (edged) {
    const RECT edgeHalf{font->cellSize, 0, 2 * font->cellSize, font->cellSize};
    TransferPixelsToGraph(&work, nullptr, &edgeHalf, cellX + font->cacheWidth, cellY, nullptr, font->cacheGraph, 0);
  }
}
