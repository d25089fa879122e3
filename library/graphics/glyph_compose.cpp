#include "graphics/glyph_compose.h"

#include "graphics/memimg.h"

namespace {

struct ColourLayout {
  const PixelFormat* colour;  // the channels of the colour part
  std::uint32_t colourMask;
  int alphaShift;  // -1: no alpha byte
};

ColourLayout LayoutOf(const MEMIMG& dest) {
  const bool wide = dest.kind == MEMIMG_KIND_32BIT;
  return ColourLayout{GetStandardPixelFormat(dest.kind, 0, 0), wide ? 0xFFFFFFu : 0xFFFFu,
                      dest.alphaFlag ? (wide ? 24 : 16) : -1};
}

std::uint32_t WithAlpha(const ColourLayout& layout, std::uint32_t colour, int alpha) {
  if (layout.alphaShift < 0) return colour;
  return (colour & layout.colourMask) | static_cast<std::uint32_t>(alpha) << layout.alphaShift;
}

// edge + (text - edge) x f / 256 in every colour channel.
std::uint32_t MixColours(const PixelFormat& format, std::uint32_t text, std::uint32_t edge, int f) {
  std::uint32_t out = 0;
  const std::uint32_t masks[3] = {format.maskR, format.maskG, format.maskB};
  const int shifts[3] = {format.shiftR, format.shiftG, format.shiftB};
  for (int c = 0; c < 3; ++c) {
    const int t = static_cast<int>((text & masks[c]) >> shifts[c]);
    const int e = static_cast<int>((edge & masks[c]) >> shifts[c]);
    out |= static_cast<std::uint32_t>(e + (t - e) * f / 256) << shifts[c];
  }
  return out;
}

// Type 3: body level b, edge level e.
std::uint32_t BlendedGlyphPixel(const ColourLayout& layout, std::uint32_t text, std::uint32_t edge, int b, int e) {
  if (b == 0) return WithAlpha(layout, edge, e * 16);
  if (b == 15) return WithAlpha(layout, text, 255);
  const int alpha = ((15 - b) * e + 16 * b) & 0xFF;
  const int f = b * 4096 / alpha;
  return WithAlpha(layout, MixColours(*layout.colour, text, edge, f), alpha);
}

template <typename Pixel, bool kOneBit>
void ComposeRows(MEMIMG* dest, const RECT& box, const RECT& visible, bool vertical, const GlyphCell& cell,
                 const GlyphPalette& palette, bool keepBackground) {
  for (LONG y = visible.top; y < visible.bottom; ++y) {
    Pixel* out = reinterpret_cast<Pixel*>(static_cast<std::uint8_t*>(dest->pixels) +
                                          static_cast<std::ptrdiff_t>(y) * dest->pitch) +
                 visible.left;
    for (LONG x = visible.left; x < visible.right; ++x, ++out) {
      const int cellX = vertical ? y - box.top : x - box.left;
      const int cellY = vertical ? box.right - 1 - x : y - box.top;
      const std::uint8_t* row = cell.pixels + static_cast<std::ptrdiff_t>(cellY) * cell.rowBytes;
      const std::uint8_t value = kOneBit ? (row[cellX >> 3] >> (7 - (cellX & 7))) & 1 : row[cellX];
      if (palette.drawn[value]) {
        *out = static_cast<Pixel>(palette.value[value]);
      } else if (!keepBackground) {
        *out = 0;
      }
    }
  }
}

template <typename Pixel>
void ComposeAnyCell(MEMIMG* dest, const RECT& box, const RECT& visible, bool vertical, const GlyphCell& cell,
                    const GlyphPalette& palette, bool keepBackground) {
  if (cell.oneBit) {
    ComposeRows<Pixel, true>(dest, box, visible, vertical, cell, palette, keepBackground);
  } else {
    ComposeRows<Pixel, false>(dest, box, visible, vertical, cell, palette, keepBackground);
  }
}

}  // namespace

void MakeGlyphPalette(int fontType, std::uint32_t textColour, std::uint32_t edgeColour, const MEMIMG& dest,
                      GlyphPalette* palette) {
  const ColourLayout layout = LayoutOf(dest);
  for (int v = 0; v < 256; ++v) {
    palette->drawn[v] = false;
    palette->value[v] = 0;
  }
  const auto set = [palette](int v, std::uint32_t value) {
    palette->drawn[v] = true;
    palette->value[v] = value;
  };
  switch (fontType) {
    case 0:
      set(1, WithAlpha(layout, textColour, 255));
      break;
    case 1:
      set(1, WithAlpha(layout, textColour, 255));
      set(2, WithAlpha(layout, edgeColour, 255));
      break;
    case 2:
      for (int level = 1; level < 16; ++level) set(level, WithAlpha(layout, textColour, level * 16));
      break;
    default:
      for (int v = 1; v < 256; ++v) set(v, BlendedGlyphPixel(layout, textColour, edgeColour, v & 15, v >> 4));
      break;
  }
}

void ComposeGlyph(MEMIMG* dest, const RECT& box, const RECT& visible, bool vertical, const GlyphCell& cell,
                  const GlyphPalette& palette, bool keepBackground) {
  if (dest->paletteFlag || (dest->kind != MEMIMG_KIND_16BIT && dest->kind != MEMIMG_KIND_32BIT)) return;
  if (dest->kind == MEMIMG_KIND_32BIT || dest->alphaFlag) {
    ComposeAnyCell<std::uint32_t>(dest, box, visible, vertical, cell, palette, keepBackground);
  } else {
    ComposeAnyCell<std::uint16_t>(dest, box, visible, vertical, cell, palette, keepBackground);
  }
}
