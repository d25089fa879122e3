#include "graphics/glyph_stamp.h"

#include <algorithm>
#include <cstdlib>

#include "graphics/font_record.h"

namespace {

// Rows of the rounded edge masks of sizes 2 to 4 (bit dx + size of row dy + size).
constexpr std::uint16_t kEdgeMask2[5] = {0b01110, 0b11111, 0b11111, 0b11111, 0b01110};
constexpr std::uint16_t kEdgeMask3[7] = {0b0001000, 0b0111110, 0b0111110, 0b1111111,
                                         0b0111110, 0b0111110, 0b0001000};
constexpr std::uint16_t kEdgeMask4[9] = {0b001111100, 0b011111110, 0b111111111, 0b111111111, 0b111111111,
                                         0b111111111, 0b111111111, 0b011111110, 0b001111100};

std::uint8_t BodyLevel(const GlyphBitmap& glyph, int x, int y) {
  const std::uint8_t* row = glyph.bits + static_cast<std::ptrdiff_t>(y) * glyph.rowBytes;
  return row[x];
}

bool BodyBit(const GlyphBitmap& glyph, int x, int y) {
  const std::uint8_t* row = glyph.bits + static_cast<std::ptrdiff_t>(y) * glyph.rowBytes;
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

// Calls mark(x, y) for every cell position the edge of the body pixel at (x, y) covers.
template <typename Mark>
void ForEachEdgePosition(int edgeSize, int x, int y, Mark mark) {
  for (int dy = -edgeSize; dy <= edgeSize; ++dy) {
    for (int dx = -edgeSize; dx <= edgeSize; ++dx) {
      if (EdgeKernelReaches(edgeSize, dx, dy)) mark(x + dx, y + dy);
    }
  }
}

}  // namespace

bool EdgeKernelReaches(int edgeSize, int dx, int dy) {
  if (std::abs(dx) > edgeSize || std::abs(dy) > edgeSize) return false;
  switch (edgeSize) {
    case 1:
      return std::abs(dx) + std::abs(dy) == 1;
    case 2:
      return (kEdgeMask2[dy + 2] >> (dx + 2)) & 1;
    case 3:
      return (kEdgeMask3[dy + 3] >> (dx + 3)) & 1;
    case 4:
      return (kEdgeMask4[dy + 4] >> (dx + 4)) & 1;
    default:
      return true;
  }
}

void StampGlyphIntoCell(std::uint8_t* cell, int rowBytes, int cellSize, int fontType, int edgeSize,
                        const GlyphBitmap& glyph, int* storedWidth, int* storedHeight) {
  const bool edged = (fontType & kFontTypeEdge) != 0;
  const int inset = edged ? edgeSize : 0;
  // The body is cut to what fits in the cell with its edges.
  const int width = std::clamp(glyph.width, 0, std::max(cellSize - 2 * inset, 0));
  const int height = std::clamp(glyph.height, 0, std::max(cellSize - 2 * inset, 0));
  *storedWidth = width + 2 * inset;
  *storedHeight = height + 2 * inset;
  const auto at = [&](int x, int y) -> std::uint8_t& { return cell[static_cast<std::ptrdiff_t>(y) * rowBytes + x]; };
  switch (fontType) {
    case 0:
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          if (BodyBit(glyph, x, y)) cell[static_cast<std::ptrdiff_t>(y) * rowBytes + (x >> 3)] |= 0x80 >> (x & 7);
        }
      }
      break;
    case 2:
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          const std::uint8_t level = BodyLevel(glyph, x, y);
          if (level > 0) at(x, y) = static_cast<std::uint8_t>(level - 1);
        }
      }
      break;
    case 1:
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          if (BodyBit(glyph, x, y)) at(x + inset, y + inset) = 1;
        }
      }
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          if (!BodyBit(glyph, x, y)) continue;
          ForEachEdgePosition(edgeSize, x + inset, y + inset, [&](int ex, int ey) {
            if (at(ex, ey) == 0) at(ex, ey) = 2;
          });
        }
      }
      break;
    default:  // 3
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          const std::uint8_t level = BodyLevel(glyph, x, y);
          if (level > 0) at(x + inset, y + inset) = static_cast<std::uint8_t>(level - 1);
        }
      }
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          const std::uint8_t level = BodyLevel(glyph, x, y);
          if (level == 0) continue;
          const std::uint8_t edge = static_cast<std::uint8_t>((level - 1) << 4);
          ForEachEdgePosition(edgeSize, x + inset, y + inset, [&](int ex, int ey) {
            std::uint8_t& value = at(ex, ey);
            if ((value & 0xF0) < edge) value = static_cast<std::uint8_t>((value & 0x0F) | edge);
          });
        }
      }
      break;
  }
}
