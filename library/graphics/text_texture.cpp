#include "graphics/text_texture.h"

#include "float_to_int.h"
#include "graphics/draw_entry_points.h"
#include "graphics/draw_state.h"
#include "graphics/font_record.h"
#include "graphics/graph_loading.h"
#include "graphics/graph_records.h"
#include "softrender/clip_rect.h"

namespace {

// Glyphs further out than this cannot reach any target; skipping them keeps every
// coordinate sum inside int.
constexpr std::int64_t kFarOut = std::int64_t{1} << 29;

bool Near(std::int64_t v) { return v > -kFarOut && v < kFarOut; }

// Truncated toward zero; out of range gives INT_MIN, which lies far out.
std::int64_t Trunc(double v) { return DoubleToInt(v); }

// Draws the graph turned a quarter clockwise, its top-left corner at (cornerX, cornerY)
// and stretched to `along` pixels downward and `across` pixels leftward, inside `box`
// only (a temporary clip).
void DrawTurnedGraph(const RECT& box, float cornerX, float cornerY, float along, float across, int graph) {
  const RECT kept = DrawState.clip;
  RECT narrowed = box;
  ClipRectangleBody(&narrowed, &kept);
  if (narrowed.left >= narrowed.right || narrowed.top >= narrowed.bottom) return;
  SetClipRectBody(narrowed.left, narrowed.top, narrowed.right, narrowed.bottom);
  // The quad routine centres texels on pixels itself (by -0.5).
  const float x = cornerX;
  const float y = cornerY;
  DrawGraphQuad(x, y, x, y + along, x - across, y + along, x - across, y, graph, 1);
  SetClipRectBody(kept.left, kept.top, kept.right, kept.bottom);
}

void DrawCell(const FontRecord& font, const GlyphEntry& entry, std::int64_t x, std::int64_t y, double pen,
              const TextureGlyphDraw& draw, int graph) {
  const int cellX = CellX(font, entry.cell);
  const int cellY = CellY(font, entry.cell);
  const int width = entry.width;
  const int height = entry.height;
  if (!draw.vertical) {
    if (!draw.scaled) {
      const std::int64_t left = x + Trunc(pen) + entry.xOffset;
      const std::int64_t top = y + entry.yOffset;
      if (!Near(left) || !Near(top)) return;
      DrawGraphSubRect(static_cast<int>(left), static_cast<int>(top), cellX, cellY, width, height, graph, 1, 0);
      return;
    }
    const std::int64_t left = x + Trunc(entry.xOffset * draw.xScale + pen);
    const std::int64_t top = y + Trunc(entry.yOffset * draw.yScale);
    const std::int64_t right = left + Trunc(width * draw.xScale);
    const std::int64_t bottom = top + Trunc(height * draw.yScale);
    if (!Near(left) || !Near(top) || !Near(right) || !Near(bottom)) return;
    DrawGraphSubRectStretched(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                              static_cast<int>(bottom), cellX, cellY, width, height, graph, 1);
    return;
  }
  // Turned: the cell's rows run leftward from the line box's right side, its columns
  // downward from the pen.
  const double across = draw.scaled ? draw.xScale : 1.0;
  const double along = draw.scaled ? draw.yScale : 1.0;
  const std::int64_t right = x + Trunc((font.lineHeight - entry.yOffset) * across);
  const std::int64_t top = y + Trunc(pen + entry.xOffset * along);
  const std::int64_t left = right - Trunc(height * across);
  const std::int64_t bottom = top + Trunc(width * along);
  if (!Near(left) || !Near(top) || !Near(right) || !Near(bottom)) return;
  const RECT box{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                 static_cast<LONG>(bottom)};
  if (!draw.scaled) {
    // The whole cache turned, placed so that the cell lands in the box.
    int graphWidth = 0;
    int graphHeight = 0;
    QueryGraphSize(graph, &graphWidth, &graphHeight);
    DrawTurnedGraph(box, static_cast<float>(right + cellY), static_cast<float>(top - cellX),
                    static_cast<float>(graphWidth), static_cast<float>(graphHeight), graph);
    return;
  }
  const int cell = DeriveGraph(cellX, cellY, width, height, graph);
  if (cell < 0) return;
  DrawTurnedGraph(box, static_cast<float>(right), static_cast<float>(top), static_cast<float>(bottom - top),
                  static_cast<float>(right - left), cell);
  FreeGraphBody(cell, 0);
}

}  // namespace

void DrawTextureGlyph(const FontRecord& font, const GlyphEntry& entry, std::int64_t x, std::int64_t y, double pen,
                      const TextureGlyphDraw& draw) {
  const int keptBlendGraph = DrawState.blendGraph;
  const int keptBorderParam = DrawState.blendGraphBorderParam;
  const int keptBorderWidth = DrawState.blendGraphBorderWidth;
  const std::uint32_t keptTint = DrawState.tint;
  SetBlendGraph(-1, keptBorderParam, keptBorderWidth);
  if ((font.fontType & kFontTypeEdge) != 0) {
    SetDrawTintPacked(draw.edgeTint);
    DrawCell(font, entry, x, y, pen, draw, font.edgeGraph);
  }
  SetDrawTintPacked(draw.textTint);
  DrawCell(font, entry, x, y, pen, draw, font.cacheGraph);
  SetDrawTintPacked(keptTint);
  SetBlendGraph(keptBlendGraph, keptBorderParam, keptBorderWidth);
}
