// Cutting a texture graph into power-of-two textures the device can hold, and the
// pieces of a graph cut out of another.
#include <algorithm>

#include "core/log.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_3d_data.h"
#include "graphics/surface_data.h"

namespace {

struct PieceLayout {
  int x;
  int y;
  int textureWidth;
  int textureHeight;
};

// The largest piece side along an axis: the device's, or without the cut flag one
// that keeps to the screen width.
int AxisLimit(int cut) {
  const int largest = GetLargestTextureSide();
  if (cut) return largest;
  int screenWidth = 0;
  GetScreenModeSizeBody(&screenWidth, nullptr);
  if (screenWidth > largest) return screenWidth;
  int size = 8;
  while (size < screenWidth) size *= 2;
  return size;
}

// The pieces of a graph, each non-square one split into squares when the device
// takes only those. The count, or -1 when more than the graph can hold.
int LayOutPieces(const int* widths, int columns, const int* heights, int rows, PieceLayout* pieces) {
  const bool squareOnly = IsSquareTextureOnly() != 0;
  int count = 0;
  int y = 0;
  for (int row = 0; row < rows; ++row) {
    int x = 0;
    for (int column = 0; column < columns; ++column) {
      const int w = widths[column];
      const int h = heights[row];
      const int side = squareOnly ? std::min(w, h) : 0;
      const int across = squareOnly ? w / side : 1;
      const int down = squareOnly ? h / side : 1;
      for (int j = 0; j < down; ++j) {
        for (int i = 0; i < across; ++i) {
          if (count == kGraphMaxPieces) return -1;
          pieces[count++] = squareOnly ? PieceLayout{x + i * side, y + j * side, side, side} : PieceLayout{x, y, w, h};
        }
      }
      x += w;
    }
    y += heights[row];
  }
  return count;
}

}  // namespace

int ChooseTextureSizes(int length, int cut, int* sizes, int maxCount) {
  const int deviceSmallest = GetSmallestTextureSide();
  const int small = deviceSmallest > 32 ? deviceSmallest : 32;
  if (maxCount < 1 || length < 1) return -1;
  if (length <= small) {
    int size = small;
    while (size > deviceSmallest && size / 2 >= length) size /= 2;
    sizes[0] = size;
    return 1;
  }
  const int largest = AxisLimit(cut);
  int screenWidth = 0;
  GetScreenModeSizeBody(&screenWidth, nullptr);
  int size = largest;
  while (size > length && size > small) size /= 2;
  if (size * 2 <= largest && (cut || length < screenWidth)) {
    sizes[0] = size < length ? size * 2 : size;
    return 1;
  }
  int count = 0;
  int remainder = length;
  while (remainder > 0) {
    if (count == maxCount) return -1;
    sizes[count++] = size;
    remainder -= size;
    if (remainder > size * 3 / 4 && size < largest) {
      sizes[count - 1] = size * 2;
      break;
    }
    if (remainder < size) {
      while (size > small && size > remainder) size /= 2;
    }
  }
  if (count >= 2 && sizes[count - 1] == sizes[count - 2] && sizes[count - 1] * 2 <= largest) {
    sizes[count - 2] *= 2;
    --count;
  }
  return count;
}

int SetupTextureGraph(GraphRecord* graph) {
  if (GetDirect3DObject() == nullptr) return -1;
  const int cut = graph->flags.drawValid || graph->flags.renderTargetCopy ? 1 : 0;
  int widths[kTextureSizeListLimit];
  int heights[kTextureSizeListLimit];
  const int columns = ChooseTextureSizes(graph->width, cut, widths, kTextureSizeListLimit);
  const int rows = ChooseTextureSizes(graph->height, cut, heights, kTextureSizeListLimit);
  PieceLayout layout[kGraphMaxPieces];
  const int count = columns < 0 || rows < 0 ? -1 : LayOutPieces(widths, columns, heights, rows, layout);
  if (count < 0) {
    LogPrintf("エラー：画像の分割数が最大数の %d を超えました", kGraphMaxPieces);
    return -1;
  }
  graph->pieceCount = 0;
  for (int i = 0; i < count; ++i) {
    const PieceLayout& piece = layout[i];
    const int usedWidth = std::min(piece.textureWidth, graph->width - piece.x);
    const int usedHeight = std::min(piece.textureHeight, graph->height - piece.y);
    if (usedWidth <= 0 || usedHeight <= 0) continue;
    const int handle = AddSurface3DData(piece.textureWidth, piece.textureHeight, piece.x, piece.y, usedWidth,
                                        usedHeight, piece.x, piece.y, graph->handle, nullptr, 0, 0, graph->flags);
    if (handle < 0) return -1;
    graph->pieces[graph->pieceCount++] = handle;
  }
  return 0;
}

int CreateDerivedGraphTextures(GraphRecord* graph, int x, int y, int width, int height, const GraphRecord* parent) {
  graph->pieceCount = 0;
  const RECT wanted{x, y, x + width, y + height};
  for (int i = 0; i < parent->pieceCount; ++i) {
    const Surface3DData* piece = GetSurface3DData(parent->pieces[i]);
    if (piece == nullptr) return -1;
    const RECT overlap{std::max<LONG>(wanted.left, piece->x), std::max<LONG>(wanted.top, piece->y),
                       std::min<LONG>(wanted.right, piece->x + piece->width),
                       std::min<LONG>(wanted.bottom, piece->y + piece->height)};
    if (overlap.right <= overlap.left || overlap.bottom <= overlap.top) continue;
    const int handle =
        AddSurface3DData(0, 0, overlap.left - x, overlap.top - y, overlap.right - overlap.left,
                         overlap.bottom - overlap.top, piece->sourceX + (overlap.left - piece->x),
                         piece->sourceY + (overlap.top - piece->y), graph->handle, piece, overlap.left - piece->x,
                         overlap.top - piece->y, graph->flags);
    if (handle < 0) return -1;
    graph->pieces[graph->pieceCount++] = handle;
  }
  return graph->pieceCount > 0 ? 0 : -1;
}
