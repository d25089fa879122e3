// Pixels over transparent texels (see TransparentTexels) change nothing, so spans need
// not visit them. Per texture region a primitive samples, where its other texels lie is
// summed up once (their box, and per texel row their first and last column) and kept
// per thread under the texture's content stamp; spans are then cut, row by row, to the
// pixels whose texels may lie there. The cut keeps a texel to spare on each side, so
// every pixel whose texel is shown is still shaded, as before, and the picture is the
// same to the byte.
#pragma once

#include <vector>

#include "d3d/draw_context.h"

// Inclusive texel bounds; left > right or top > bottom: empty.
struct TexelBox {
  int left, top, right, bottom;
};

struct TexelColumns {
  int first, last;  // first > last: none
};

struct TexelCoverage {
  TexelBox region;  // what was summed up
  TexelBox box;     // where the texels that are not transparent lie
  std::vector<TexelColumns> rows;  // per row of the region
  bool boxCuts;  // the box is smaller than the region
  bool rowsCut;  // some row's texels are not all shown
};

// The summary of `region` (inside the texture) of the draw's stage-0 texture.
const TexelCoverage& FindTexelCoverage(const DrawContext& c, const TexelBox& region);

// Whether a block over the region is worth cutting: to the box, or (a large region's)
// row by row.
bool CutsBlocks(const TexelCoverage& coverage);

// Hands the draw's span routine the parts of the block (whose coverage is of the
// draw's stage-0 texture) that may change the target.
void SkipTransparentTexels(const DrawContext& c, const SpanBlock& block);
