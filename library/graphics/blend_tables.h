// BlendLookupTables: the lookup tables of the software blenders. Filled once at
// graphics start-up (the ramp again whenever the blend graph changes); the software
// renderer only reads them.
#pragma once

#include <cstdint>

constexpr int BLEND_DIFF_CENTRE = 255;

// Product table: BlendScaleTable[p][v] = v x p / 255 (truncated), p, v in 0..255.
extern std::uint32_t BlendScaleTable[256][256];

// Difference table: BlendDiffTable[p][d + BLEND_DIFF_CENTRE] = d x p / 255 truncated
// toward zero for d = -255..255; entry 511 of each row is unused.
extern std::int32_t BlendDiffTable[256][512];

// 6-bit mix table: BlendMix6Table[b][r][c] = (r x b + c x (63 - b)) / 63 for the
// level b and 6-bit values r (source) and c (destination).
extern std::uint8_t BlendMix6Table[64][64][64];

// Blend-graph ramp: the weight 0..255 (applied as / 256) that a blend-graph byte
// gives the source; built by MakeBlendRampTable.
extern std::uint8_t BlendGraphRamp[256];

// Other names the renderer's kernels use for the same tables.
inline auto& ScaleTable = BlendScaleTable;
inline auto& DiffScaleTable = BlendDiffTable;
inline auto& BlendRampTable = BlendGraphRamp;

// Fills the product, difference and 6-bit mix tables.
void FillBlendLookupTables();

struct GraphRecord;

// Rebuilds BlendGraphRamp for a blend graph's progress (border parameter 0..255)
// and border width (0..255): with d = width + 1,
// ramp[i] = clamp(i x 256 / d + 256 - ((65536 / d + 256) x progress) / 256, 0, 255).
// The graph record is not read. Returns 0.
int MakeBlendRampTable(const GraphRecord* blendGraph, int borderParameter, int borderWidth);
