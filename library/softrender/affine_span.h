// Rows of destination pixels whose source positions advance by a constant step:
// the spans of the textured triangle and the rows of the rotated image. Source
// positions are 14.18 fixed point (one texel = 2^18) held in 64 bits, so they never
// wrap. The columns whose position lies inside the source are found once per row,
// which leaves the pixel loop without an inside test.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/memimg.h"
#include "softrender/soft_draw_state.h"
#include "softrender/source_pixels.h"

constexpr int kFixedShift = 18;
constexpr std::int64_t kFixedOne = std::int64_t{1} << kFixedShift;

// The source as the span loops read it.
struct SampledSource {
  const std::uint8_t* pixels;  // texel (0, 0)
  std::ptrdiff_t pitch;
  const std::uint8_t* graph;   // blend-graph byte (0, 0), or NULL
  std::ptrdiff_t graphPitch;
  // Positions uLow <= u < uLimit and vLow <= v < vLimit are inside: the source's size
  // x 2^18, cut to the blend graph's size and, where the draw skips transparent texels,
  // to the box of the others.
  std::int64_t uLow, vLow;
  std::int64_t uLimit, vLimit;
};

struct AffineSpan {
  std::uint8_t* dst;    // destination pixel of the first column
  std::int64_t count;   // columns
  std::int64_t u, v;    // source position of the first column
  std::int64_t du, dv;  // added per column
};

// The columns [*first, *end) of the span whose source position is inside.
void InsideColumns(const AffineSpan& span, const SampledSource& source, std::int64_t* first, std::int64_t* end);

using AffineSpanLoop = void (*)(const AffineSpan& span, const SampledSource& source, const SourceDraw& draw);

// The rows of a draw that is neither turned nor sheared: every row walks the same
// source columns, and each reads one source row, the same for rows that repeat it.
struct UprightRows {
  std::uint8_t* dst;  // destination pixel of the first column in the first row
  std::ptrdiff_t dstPitch;
  std::int64_t count;  // columns
  std::int64_t rows;
  std::int64_t u, du;  // source position of the first column, added per column
  std::int64_t v, dv;  // source position of the first row, added per row
};

using UprightRowsLoop = void (*)(const UprightRows& rows, const SampledSource& source, const SourceDraw& draw);

// Everything one draw's spans share.
struct AffineDraw {
  SampledSource source;
  SourceDraw draw;
  AffineSpanLoop loop;
  UprightRowsLoop uprightLoop;
  std::uint8_t* dstPixels;
  std::ptrdiff_t dstPitch;
  int dstBytes;
  RECT clip;  // the draw state's clip rectangle inside the destination
};

// Checks the images and the draw state and prepares the draw. False when nothing
// is drawn: a destination with a palette or alpha or of another pixel kind than the
// source, a blend mode outside 0..4 or modes 1-3 at parameter 0, an empty clip or
// source.
bool PrepareAffineDraw(MEMIMG* dst, const MEMIMG* src, int transparent, const MEMIMG* blendGraph,
                       const SoftDrawState& state, AffineDraw* out);

// Draws columns first..last (inclusive) of destination row y, clipped, with the
// source position (u, v) at column first.
void DrawAffineRow(const AffineDraw& draw, std::int64_t y, std::int64_t first, std::int64_t last, std::int64_t u,
                   std::int64_t v, std::int64_t du, std::int64_t dv);

// Draws rows y .. y + rows - 1 and columns first..last (inclusive), clipped, of a
// draw whose rows share one column walk: source position
// (u, v + r x dvRow) at column first of row y + r, u advancing by du per column and v
// fixed along a row. The same bytes as DrawAffineRow with dv 0 on each row.
void DrawUprightRows(const AffineDraw& draw, std::int64_t y, std::int64_t rows, std::int64_t first, std::int64_t last,
                     std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dvRow);
