// The per-pixel blend arithmetic of the software renderer: one source colour over
// one destination pixel under a blend operation, with the draw tint and up to two
// weights (the blend-graph weight and the source alpha). Every kernel's span loops
// instantiate these templates with the choices fixed for the whole draw, so the
// per-pixel code carries no option tests.
//
// 32-bit pixels are the bytes blue, green, red, X (X = byte 3, the alpha of an
// alpha image). RGB565 pixels hold red in bits 11-15, green 5-10, blue 0-4. The
// channel index c is 0 blue, 1 green, 2 red everywhere, also for tint rows.
//
// All intermediates are unsigned 32-bit: a formula whose true value is
// non-negative and below 2^32 comes out exact under modular arithmetic, also when a
// difference (v - d) is negative on the way.
#pragma once

#include <cstdint>

#include "graphics/blend_tables.h"
#include "softrender/saturate_ops.h"

// The blend operations. The first five are the blend modes 0-4; the others are the
// fixed-parameter shortcut forms that some kernels take instead (each is chosen
// only for a white tint, no blend graph and a source without alpha).
enum BlendOp {
  BLEND_OP_COPY = 0,   // mode 0, and mode 1 at parameter 255
  BLEND_OP_ALPHA = 1,  // mode 1: mix by the parameter
  BLEND_OP_ADD = 2,    // mode 2: add the source scaled by the parameter
  BLEND_OP_SUB = 3,    // mode 3: subtract the source scaled by the parameter
  BLEND_OP_MUL = 4,    // mode 4: multiply (the parameter is not used)
  BLEND_OP_SUB_BYTES,  // mode 3 at 255 with the MMX-usable flag: exact bytewise subtract of all 4 bytes
  BLEND_OP_ADD_BYTES,  // image-at-position mode 2 at 255 with the MMX-usable flag: bytewise add of all 4 bytes
  BLEND_OP_ADD_RAW,    // image-at-position mode 2 at 255 otherwise: packed add without the low-bit OR term
  BLEND_OP_HALF,       // image-at-position mode 1 at 128: the two halves summed (byte 3 becomes 0)
  BLEND_OP_MIX6,       // image-at-position 16-bit mode 1, white tint: the 6-bit mix table
};

// The weights a pixel's blend carries. The weight argument of the blend functions
// is the graph weight W (0..255), the source alpha a, or their product a x W.
enum BlendFactors {
  FACTORS_NONE = 0,
  FACTORS_GRAPH = 1,
  FACTORS_ALPHA = 2,
  FACTORS_GRAPH_ALPHA = 3,
};

constexpr int BlendFactorCount(int factors) { return (factors & 1) + ((factors >> 1) & 1); }

// The table rows one draw uses, picked once from its parameter and tint.
struct BlendRows {
  const std::uint32_t* param;    // BlendScaleTable row of the parameter
  const std::int32_t* diff;      // BlendDiffTable row of the parameter, at its centre
  const std::uint8_t* mix6;      // BlendMix6Table level parameter / 4: [source x 64 + destination]
  const std::uint32_t* tint[3];  // BlendScaleTable rows of the blue, green and red tint bytes
  std::uint32_t p;               // the parameter, 0..255
};

// The tint word is 0x00RRGGBB (bytes blue, green, red in memory); it is white when
// those 24 bits are all ones.
inline bool IsWhiteTint(std::uint32_t tint) { return (tint & 0xFFFFFFu) == 0xFFFFFFu; }

inline BlendRows MakeBlendRows(int param, std::uint32_t tint) {
  const std::uint32_t p = param < 0 ? 0u : param > 255 ? 255u : static_cast<std::uint32_t>(param);
  BlendRows rows;
  rows.param = BlendScaleTable[p];
  rows.diff = BlendDiffTable[p] + BLEND_DIFF_CENTRE;
  rows.mix6 = &BlendMix6Table[p >> 2][0][0];
  for (int c = 0; c < 3; ++c) rows.tint[c] = BlendScaleTable[(tint >> (8 * c)) & 0xFFu];
  rows.p = p;
  return rows;
}

// One 32-bit source pixel s over the destination pixel d; returns the new
// destination pixel (byte 3 kept wherever the operation does not define it).
template <int Op, int Factors, bool White>
inline std::uint32_t BlendPixel32(std::uint32_t s, std::uint32_t d, std::uint32_t weight,
                                  const BlendRows& rows) {
  constexpr int n = BlendFactorCount(Factors);
  if constexpr (Op == BLEND_OP_COPY && n == 0 && White) {
    return s;
  } else if constexpr (Op == BLEND_OP_SUB_BYTES) {
    return SubSaturateBytes(d, s);
  } else if constexpr (Op == BLEND_OP_ADD_BYTES) {
    return AddSaturateBytes(d, s);
  } else if constexpr (Op == BLEND_OP_ADD_RAW) {
    return AddSaturate8888NoLowBits(d, s);
  } else if constexpr (Op == BLEND_OP_HALF) {
    return ((s >> 1) & 0x7F7F7Fu) + ((d >> 1) & 0x7F7F7Fu);
  } else {
    static_assert(Op <= BLEND_OP_MUL, "no 32-bit form of this operation");
    const std::uint32_t f = n == 0 ? 1u : weight;
    constexpr int shift = 8 * n;        // modes 0: the weights' scale
    constexpr int shiftP = 8 * (n + 1); // modes 1-4: the weights' and the parameter's scale
    std::uint32_t out = (Op == BLEND_OP_ADD || Op == BLEND_OP_SUB) ? 0u : (d & 0xFF000000u);
#pragma GCC unroll 3
    for (int c = 0; c < 3; ++c) {
      const std::uint32_t sc = (s >> (8 * c)) & 0xFFu;
      const std::uint32_t dc = (d >> (8 * c)) & 0xFFu;
      const std::uint32_t v = White ? sc : rows.tint[c][sc];
      std::uint32_t r;
      if constexpr (Op == BLEND_OP_COPY) {
        r = n == 0 ? v : ((dc << shift) + (v - dc) * f) >> shift;
      } else if constexpr (Op == BLEND_OP_ALPHA) {
        r = ((dc << shiftP) + (v - dc) * f * rows.p) >> shiftP;
      } else if constexpr (Op == BLEND_OP_ADD || Op == BLEND_OP_SUB) {
        r = n == 0 ? rows.param[v] : (v * f * rows.p) >> shiftP;
      } else {
        r = (v * dc * f) >> shiftP;
      }
      out |= (r & 0xFFu) << (8 * c);
    }
    if constexpr (Op == BLEND_OP_ADD) return AddSaturate8888(d, out);
    if constexpr (Op == BLEND_OP_SUB) return SubSaturate8888(d, out);
    return out;
  }
}

// RGB565 channel layout, indexed by c (0 blue, 1 green, 2 red).
constexpr int kRgb565Shift[3] = {0, 5, 11};
constexpr int kRgb565Width[3] = {5, 6, 5};

// One RGB565 source colour s over the destination pixel d (both in the low 16 bits);
// returns the new destination pixel. With the alpha as the only weight and a tint,
// the add and subtract scale the untinted channel by the alpha before tinting it.
template <int Op, int Factors, bool White>
inline std::uint32_t BlendPixel565(std::uint32_t s, std::uint32_t d, std::uint32_t weight,
                                   const BlendRows& rows) {
  constexpr int n = BlendFactorCount(Factors);
  if constexpr (Op == BLEND_OP_COPY && n == 0 && White) {
    return s & 0xFFFFu;
  } else if constexpr (Op == BLEND_OP_ADD_RAW) {
    return AddSaturate565NoLowBits(d, s);
  } else if constexpr (Op == BLEND_OP_HALF) {
    return ((s >> 1) & 0x7BEFu) + ((d >> 1) & 0x7BEFu);
  } else {
    static_assert(Op <= BLEND_OP_MUL || Op == BLEND_OP_MIX6, "no RGB565 form of this operation");
    static_assert(Op != BLEND_OP_MIX6 || (White && n == 0), "the mix table serves the untinted, unweighted blend");
    const std::uint32_t f = n == 0 ? 1u : weight;
    std::uint32_t out = 0;
#pragma GCC unroll 3
    for (int c = 0; c < 3; ++c) {
      const int w = kRgb565Width[c];
      const std::uint32_t mask = (1u << w) - 1u;
      const std::uint32_t sc = (s >> kRgb565Shift[c]) & mask;
      const std::uint32_t dc = (d >> kRgb565Shift[c]) & mask;
      const std::uint32_t v = White ? sc : rows.tint[c][sc];
      std::uint32_t r;
      if constexpr (Op == BLEND_OP_COPY) {
        r = n == 0 ? v : ((dc << (8 * n)) + (v - dc) * f) >> (8 * n);
      } else if constexpr (Op == BLEND_OP_ALPHA) {
        if constexpr (n == 0) {
          r = static_cast<std::uint32_t>(static_cast<std::int32_t>(dc) +
                                         rows.diff[static_cast<std::int32_t>(v) - static_cast<std::int32_t>(dc)]);
        } else {
          r = ((dc << (8 * (n + 1))) + (v - dc) * f * rows.p) >> (8 * (n + 1));
        }
      } else if constexpr (Op == BLEND_OP_MIX6) {
        r = rows.mix6[sc * 64u + dc];
      } else if constexpr (Op == BLEND_OP_ADD || Op == BLEND_OP_SUB) {
        if constexpr (Factors == FACTORS_NONE) {
          r = rows.param[v];
        } else if constexpr (Factors == FACTORS_ALPHA) {
          const std::uint32_t scaled = (sc * f) >> 8;
          r = rows.param[White ? scaled : rows.tint[c][scaled]];
        } else {
          r = rows.param[(v * f) >> (8 * n)];
        }
      } else {
        r = (dc * v * f) >> (w + 8 * n);
      }
      out |= (r & mask) << kRgb565Shift[c];
    }
    if constexpr (Op == BLEND_OP_ADD) return AddSaturate565(d, out);
    if constexpr (Op == BLEND_OP_SUB) return SubSaturate565(d, out);
    return out;
  }
}
