// The software blenders' lookup tables.
#include "graphics/blend_tables.h"

#include <algorithm>

std::uint32_t BlendScaleTable[256][256];
std::int32_t BlendDiffTable[256][512];
std::uint8_t BlendMix6Table[64][64][64];
std::uint8_t BlendGraphRamp[256];

void FillBlendLookupTables() {
  for (int p = 0; p < 256; ++p) {
    for (int v = 0; v < 256; ++v) BlendScaleTable[p][v] = static_cast<std::uint32_t>(v * p / 255);
    for (int d = -255; d <= 255; ++d) BlendDiffTable[p][d + BLEND_DIFF_CENTRE] = d * p / 255;
    BlendDiffTable[p][511] = 0;
  }
  for (int b = 0; b < 64; ++b) {
    for (int r = 0; r < 64; ++r) {
      for (int c = 0; c < 64; ++c) BlendMix6Table[b][r][c] = static_cast<std::uint8_t>((r * b + c * (63 - b)) / 63);
    }
  }
}

int MakeBlendRampTable(const GraphRecord*, int borderParameter, int borderWidth) {
  const int progress = std::clamp(borderParameter, 0, 255);
  const int d = std::clamp(borderWidth, 0, 255) + 1;
  const int offset = 256 - ((65536 / d + 256) * progress) / 256;
  for (int i = 0; i < 256; ++i) BlendGraphRamp[i] = static_cast<std::uint8_t>(std::clamp(i * 256 / d + offset, 0, 255));
  return 0;
}
