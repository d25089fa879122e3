#include <gtest/gtest.h>

#include "graphics/blend_tables.h"

TEST(BlendTables, FilledValues) {
  FillBlendLookupTables();
  EXPECT_EQ(BlendDiffTable[128][0], -128);  // difference -255 at parameter 128
  EXPECT_EQ(BlendDiffTable[128][BLEND_DIFF_CENTRE + 255], 128);
  EXPECT_EQ(BlendDiffTable[100][BLEND_DIFF_CENTRE - 3], -1);  // truncated toward zero
  EXPECT_EQ(BlendDiffTable[200][BLEND_DIFF_CENTRE], 0);
  EXPECT_EQ(BlendScaleTable[255][255], 255u);
  EXPECT_EQ(BlendScaleTable[128][100], 50u);
  for (int r = 0; r < 64; r += 9) {
    for (int c = 0; c < 64; c += 7) {
      EXPECT_EQ(BlendMix6Table[0][r][c], c);
      EXPECT_EQ(BlendMix6Table[63][r][c], r);
    }
  }
  EXPECT_EQ(BlendMix6Table[32][63][0], 32);
  // The other names are the same tables.
  EXPECT_EQ(&ScaleTable[0][0], &BlendScaleTable[0][0]);
  EXPECT_EQ(&DiffScaleTable[0][0], &BlendDiffTable[0][0]);
}

TEST(BlendTables, RampTable) {
  MakeBlendRampTable(nullptr, 0, 255);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(BlendRampTable[i], 255);

  MakeBlendRampTable(nullptr, 255, 0);
  for (int i = 0; i < 255; ++i) EXPECT_EQ(BlendGraphRamp[i], 0);
  EXPECT_EQ(BlendGraphRamp[255], 1);

  // Halfway with a 63-wide border: a ramp of slope 4 through the middle.
  MakeBlendRampTable(nullptr, 128, 63);
  EXPECT_EQ(BlendGraphRamp[0], 0);
  EXPECT_EQ(BlendGraphRamp[100], 100 * 256 / 64 + 256 - (1024 + 256) * 128 / 256);
  EXPECT_EQ(BlendGraphRamp[255], 255);

  // Out-of-range settings are held to 0..255 (no division by zero).
  MakeBlendRampTable(nullptr, 300, -1);
  for (int i = 0; i < 255; ++i) EXPECT_EQ(BlendGraphRamp[i], 0);
}
