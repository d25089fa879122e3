// What one draw call works with: the target and Z memory, the scissor, the textures
// and stage set-up, the per-pixel tests and the blend, all read from the device once per
// call, plus the span routine chosen for that set-up. The rasteriser hands the routine
// spans: runs of pixels on one row, or a block of rows sharing one x range.
#pragma once

#include <cstdint>

#include "d3d/device_states.h"
#include "ddraw/pixel_layout.h"

// Texel coordinates: texel units with 32 fractional bits (texel = value >> 32).
constexpr int kTexelFractionBits = 32;
// Depth: 16-bit Z units with 16 fractional bits. Gouraud colours: 0..255 with 16.
constexpr int kDepthFractionBits = 16;
constexpr int kColourFractionBits = 16;

// A value at the span's first pixel, its change per pixel and per row.
template <typename T>
struct Interpolant {
  T start;
  T step;
  T rowStep;
};

struct TexelCoverage;

struct SpanBlock {
  int x;
  int y;
  int count;  // pixels per row
  int rows;
  Interpolant<std::int64_t> u[kStageCount];  // for stages that sample a texture
  Interpolant<std::int64_t> v[kStageCount];
  DWORD diffuse;  // flat shading
  DWORD specular;
  Interpolant<std::int32_t> colour[8];  // Gouraud: diffuse a, r, g, b, then specular a, r, g, b
  Interpolant<std::int64_t> depth;
  // Which of the primitive's stage-0 texels are transparent (see TransparentTexels), or
  // null: every pixel is shaded.
  const TexelCoverage* coverage;
};

struct DrawContext;
typedef void (*SpanFunction)(const DrawContext& context, const SpanBlock& block);

struct TextureSampler {
  const BYTE* bits;
  LONG pitch;
  int width;
  int height;
  DDrawPixelKind kind;
  bool keyed;
  DWORD key;  // colour bits of the source colour key
  DWORD keyMask;
  bool bilinear;
  bool wrap;  // else clamp
  std::uint64_t contentStamp;  // changes with the texels
};

struct StageSetup {
  DWORD colourOp, colourArg1, colourArg2;
  DWORD alphaOp, alphaArg1, alphaArg2;
  int coordinateSet;  // sets the vertex format lacks read (0, 0)
  bool textured;
};

// What the specialised routines read and write through, chosen with them per draw: they
// shade 0xAARRGGBB pixels, chunk by chunk (of at most kFastChunk pixels).
constexpr int kFastChunk = 256;
struct FastConversions {
  // Point-sampled, clamped texels of stage 0 for `count` pixels from (u, v).
  void (*readTexels)(const TextureSampler& t, std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv,
                     int count, DWORD* out);
  // For a 16-bit target: its pixels widened, and back (widening loses no colour bits).
  // Without blending the target is not read: pixels are shaded over transparent black
  // and only those written (made opaque) narrowed back. Null for a 32-bit target,
  // shaded in place.
  void (*widenTarget)(const BYTE* row, int count, DWORD* out);
  void (*narrowTarget)(const DWORD* shaded, int count, BYTE* row);
  void (*narrowWritten)(const DWORD* shaded, int count, BYTE* row);
  int targetBytesPerPixel;
  bool texelsInPlace;  // 32-bit texels: unscaled rows are read where they lie
  // Texels of the target's size with their colour channels where the target has them:
  // the rows of an opaque, untinted, unscaled draw are copied as they lie, with the
  // target's unused bits set (the only other bits such texels have are alpha, there).
  bool texelsCopied;
  DWORD copiedUnusedBits;  // the target's unused bits, repeated over 32 bits
  DWORD key;           // the colour key as texels read (colour bits), or a value none has
};

// The stage-0 texels that leave the target as it is under the draw's states (both off:
// every pixel is visited). Keyed texels are always dropped; texels of alpha 0 when the
// pixel's alpha follows the texel's and the alpha test drops it or the blend keeps the
// target for it.
struct TransparentTexels {
  bool keyed;
  bool alphaZero;
};

struct DrawContext {
  BYTE* targetBits;
  LONG targetPitch;
  DDrawPixelKind targetKind;
  RECT scissor;  // viewport inside the target

  BYTE* depthBits;  // null: no Z test
  LONG depthPitch;
  DWORD depthFunc;
  bool depthWrite;

  bool gouraud;
  bool untextured;  // stage 0 has no texture: colour and alpha are the diffuse
  int stageCount;   // stages before the first with COLOROP DISABLE
  StageSetup stages[kStageCount];
  TextureSampler textures[kStageCount];
  DWORD textureFactor;

  // Alpha test: a pixel passes when its alpha lies in [alphaLow, alphaHigh] (empty when
  // low > high), or outside that range when alphaOutside is set (NOTEQUAL).
  int alphaLow;
  int alphaHigh;
  bool alphaOutside;

  bool blend;
  DWORD srcBlend;
  DWORD destBlend;

  SpanFunction span;
  FastConversions fast;  // set when `span` is a specialised routine
  // Blocks whose coverage is set go through SkipTransparentTexels on their way to
  // `span`.
  TransparentTexels transparent;
};

// The routines of the two pixel paths.
void GeneralSpan(const DrawContext& context, const SpanBlock& block);
// The specialised routine for this set-up (its conversions set in `fast`), or nullptr
// when only the general path fits.
SpanFunction ChooseFastSpan(DrawContext* context);

// One texel fetch with the sampler's addressing.
inline int AddressTexel(std::int64_t coordinate, int size, bool wrap) {
  std::int64_t texel = coordinate >> kTexelFractionBits;
  if (wrap) {
    std::int64_t wrapped = texel % size;
    return static_cast<int>(wrapped < 0 ? wrapped + size : wrapped);
  }
  return static_cast<int>(texel < 0 ? 0 : (texel >= size ? size - 1 : texel));
}
