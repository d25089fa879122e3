#include "graphics/text_layout.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "float_to_int.h"
#include "graphics/draw_state.h"
#include "graphics/font_record.h"
#include "graphics/fonts.h"
#include "graphics/glyph_cache.h"
#include "graphics/glyph_compose.h"
#include "graphics/graphics_fatal.h"
#include "graphics/memimg.h"
#include "graphics/screen_mode.h"
#include "graphics/text_texture.h"
#include "softrender/clip_rect.h"

namespace {

constexpr int kCodeChunk = 256;
constexpr std::uint16_t kSpace = 0x20;
constexpr std::uint16_t kFullWidthSpace = 0x81 | 0x40 << 8;

// Each colour channel multiplied by the tint's matching byte / 255.
std::uint32_t ApplyTint(std::uint32_t colour, const PixelFormat& format, std::uint32_t tint) {
  const std::uint32_t masks[3] = {format.maskR, format.maskG, format.maskB};
  const int shifts[3] = {format.shiftR, format.shiftG, format.shiftB};
  const std::uint32_t tintBytes[3] = {(tint >> 16) & 0xFF, (tint >> 8) & 0xFF, tint & 0xFF};
  std::uint32_t out = colour & ~(masks[0] | masks[1] | masks[2]);
  for (int c = 0; c < 3; ++c) {
    const std::uint32_t value = (colour & masks[c]) >> shifts[c];
    out |= (value * tintBytes[c] / 255) << shifts[c];
  }
  return out;
}

// A pen position as a whole pixel count, kept in a range where box sums cannot overflow.
std::int64_t PenPixels(double pen) {
  const double whole = std::trunc(pen);
  if (!(whole > -1e12)) return static_cast<std::int64_t>(-1e12);
  if (!(whole < 1e12)) return static_cast<std::int64_t>(1e12);
  return static_cast<std::int64_t>(whole);
}

// A colour of the screen's format as the tint that gives the white texture cache that colour.
std::uint32_t TintOf(std::uint32_t colour) {
  int r = 0;
  int g = 0;
  int b = 0;
  SplitScreenColor(colour, &r, &g, &b);
  return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
}

struct GlyphDraw {
  MEMIMG* dest;
  RECT clip;
  bool vertical;
  bool keepBackground;
  GlyphPalette palette;
};

void DrawGlyph(FontRecord* font, const GlyphEntry& entry, std::int64_t x, std::int64_t y, std::int64_t pen,
               const GlyphDraw& draw) {
  std::int64_t left;
  std::int64_t top;
  std::int64_t width = entry.width;
  std::int64_t height = entry.height;
  if (draw.vertical) {
    const std::int64_t right = x + font->lineHeight - entry.yOffset;
    left = right - entry.height;
    top = y + pen + entry.xOffset;
    width = entry.height;
    height = entry.width;
  } else {
    left = x + pen + entry.xOffset;
    top = y + entry.yOffset;
  }
  RECT visible;
  if (!ClipDrawRect(left, top, width, height, draw.clip, draw.dest->width, draw.dest->height, &visible)) return;
  // Inside the visible part every box edge fits an int.
  const RECT box{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(left + width),
                 static_cast<LONG>(top + height)};
  const GlyphCell cell{MemoryCacheCell(font, entry.cell), font->memoryRowBytes, font->memoryBits == 1};
  ComposeGlyph(draw.dest, box, visible, draw.vertical, cell, draw.palette, draw.keepBackground);
}

}  // namespace

int DrawOrMeasureText(int draw, int x, int y, std::uint8_t scaled, double xScale, double yScale, const char* text,
                      std::uint32_t colour, MEMIMG* dest, const RECT* clip, int keepBackground, int fontHandle,
                      std::uint32_t edgeColour, int length, int vertical, SIZE* size) {
  if (DrawState.drawingSuspended || GetDirectDrawObject() == nullptr) return -1;
  FontRecord* font = GetFontRecord(fontHandle);
  if (font == nullptr) return -1;
  if ((draw && !scaled) || !font->textureCache) {
    scaled = 0;
    xScale = 1.0;
    yScale = 1.0;
  }
  const double advanceScale = vertical ? yScale : xScale;
  const bool toTexture = draw != 0 && font->textureCache;
  const bool toMemory =
      draw != 0 && !font->textureCache && dest != nullptr && dest->magic == MEMIMG_MAGIC && dest->pixels != nullptr;

  TextureGlyphDraw textureDraw{};
  if (toTexture) {
    const PixelFormat* screen = QueryScreenPixelFormat();
    textureDraw = TextureGlyphDraw{vertical != 0, scaled != 0, xScale, yScale,
                                   TintOf(ApplyTint(colour, *screen, DrawState.tint)),
                                   TintOf(ApplyTint(edgeColour, *screen, DrawState.tint))};
  }
  GlyphDraw glyphDraw{};
  if (toMemory) {
    const PixelFormat* format = GetStandardPixelFormat(dest->kind, 0, 0);
    glyphDraw.dest = dest;
    glyphDraw.clip = clip != nullptr ? *clip : RECT{0, 0, dest->width, dest->height};
    glyphDraw.vertical = vertical != 0;
    glyphDraw.keepBackground = keepBackground != 0;
    if (format != nullptr) {
      MakeGlyphPalette(font->fontType, ApplyTint(colour, *format, DrawState.tint),
                       ApplyTint(edgeColour, *format, DrawState.tint), *dest, &glyphDraw.palette);
    }
  }

  double pen = 0.0;
  if (text != nullptr) {
    const int textLength = static_cast<int>(strnlen(text, INT_MAX));
    if (length < 0 || length > textLength) length = textLength;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    int at = 0;
    while (at < length) {
      std::uint16_t codes[kCodeChunk];
      int count = 0;
      const int walked = CacheTextGlyphs(fontHandle, bytes + at, length - at, codes, kCodeChunk, &count);
      if (walked <= 0) break;
      for (int i = 0; i < count; ++i) {
        const GlyphIndexSlot& slot = font->index[codes[i]];
        const GlyphEntry* entry = slot.valid ? slot.entry : RasterizeGlyph(fontHandle, 1, &codes[i]);
        if (entry == nullptr) return GraphicsFatalError("テキストキャッシュの作成に失敗しました");
        const bool blank = codes[i] == kSpace || codes[i] == kFullWidthSpace || entry->width == 0 || entry->height == 0;
        if (toMemory && !blank) DrawGlyph(font, *entry, x, y, PenPixels(pen), glyphDraw);
        if (toTexture && !blank) DrawTextureGlyph(*font, *entry, x, y, pen, textureDraw);
        pen += (entry->advance + font->spacing) * advanceScale;
      }
      at += walked;
    }
  }
  const int advance = DoubleToInt(std::floor(pen));
  if (size != nullptr) {
    *size = vertical ? SIZE{font->lineHeight, advance} : SIZE{advance, font->lineHeight};
  }
  return advance;
}
