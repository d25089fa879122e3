#include "graphics/graph_pixel_transfer.h"

#include <cstdint>

#include "graphics/graph_records.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_3d_data.h"

namespace {

// The pieces of a 2-D graph that the rectangle placed at (destX, destY) overlaps each
// get their part of it.
int TransferRectToGraph2D(const GraphImage* image, const GraphImage* alphaImage, const RECT& sourceRect, int destX,
                          int destY, GraphRecord* graph) {
  // A view of the rectangle alone, placed so that the graph's (destX, destY) shows its corner.
  const auto view = [&](const GraphImage* picture) {
    GraphImage part = *picture;
    part.pixels = static_cast<std::uint8_t*>(picture->pixels) +
                  static_cast<std::ptrdiff_t>(sourceRect.top) * picture->pitch +
                  static_cast<std::ptrdiff_t>(sourceRect.left) * picture->format.bytesPerPixel;
    part.width = sourceRect.right - sourceRect.left;
    part.height = sourceRect.bottom - sourceRect.top;
    return part;
  };
  const GraphImage colour = view(image);
  if (alphaImage == nullptr) return TransferImageToGraph2D(&colour, nullptr, -destX, -destY, graph);
  const GraphImage alpha = view(alphaImage);
  return TransferImageToGraph2D(&colour, &alpha, -destX, -destY, graph);
}

}  // namespace

int TransferPixelsToGraph(const GraphImage* image, const GraphImage* alphaImage, const RECT* sourceRect, int destX,
                          int destY, const char* name, int graph, int userValue) {
  GraphRecord* record = GetGraphRecord(graph);
  if (record == nullptr) return -1;
  SetGraphSourceFile(graph, name);
  record->sourceX = static_cast<std::uint16_t>(destX);
  record->sourceY = static_cast<std::uint16_t>(destY);
  record->userValue = userValue;
  if (record->flags.texture) {
    return TransferImageRectToGraphTextures(sourceRect, destX, destY, record, image, alphaImage);
  }
  return TransferRectToGraph2D(image, alphaImage, *sourceRect, destX, destY, record);
}
