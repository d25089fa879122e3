// The general pixel path: any state the device accepts, any target and texture kind.
// Each row is shaded in chunks, one pass per pipeline step over the chunk's pixels
// (colours, texels, stage cascade, tests, blend), each pass chosen outside its loop.
#include <algorithm>

#include "d3d/colour_math.h"
#include "d3d/draw_context.h"

namespace {

constexpr int kChunk = 64;

// Where one chunk starts: the interpolants at its first pixel.
struct Cursor {
  int x;
  int y;
  std::int64_t u[kStageCount];
  std::int64_t v[kStageCount];
  std::int32_t colour[8];
  std::int64_t depth;
};

struct Chunk {
  int count;
  DWORD diffuse[kChunk];
  DWORD specular[kChunk];
  DWORD texel[kStageCount][kChunk];
  DWORD colour[kChunk];
  bool keep[kChunk];
};

DWORD ClampedChannel(std::int32_t value) {
  std::int32_t rounded = (value + (1 << (kColourFractionBits - 1))) >> kColourFractionBits;
  return static_cast<DWORD>(std::clamp(rounded, 0, 255));
}

// Whether a stage of the cascade reads `argument` (as colour or alpha argument).
bool StagesRead(const DrawContext& c, DWORD argument) {
  for (int s = 0; s < c.stageCount; ++s) {
    const StageSetup& stage = c.stages[s];
    if (stage.colourArg1 == argument || stage.colourArg2 == argument || stage.alphaArg1 == argument ||
        stage.alphaArg2 == argument) {
      return true;
    }
  }
  return false;
}

void ShadeColours(const DrawContext& c, const SpanBlock& block, const Cursor& at, Chunk& chunk) {
  if (!c.gouraud) {
    std::fill_n(chunk.diffuse, chunk.count, block.diffuse);
    if (!c.untextured && StagesRead(c, D3DTA_SPECULAR)) std::fill_n(chunk.specular, chunk.count, block.specular);
    return;
  }
  for (int i = 0; i < chunk.count; ++i) {
    DWORD channel[8];
    for (int k = 0; k < 8; ++k) channel[k] = ClampedChannel(at.colour[k] + i * block.colour[k].step);
    chunk.diffuse[i] = MakeArgb(channel[0], channel[1], channel[2], channel[3]);
    chunk.specular[i] = MakeArgb(channel[4], channel[5], channel[6], channel[7]);
  }
}

template <DDrawPixelKind Kind>
DWORD ReadTexel(const TextureSampler& t, int x, int y) {
  using Word = PixelWord<Kind>;
  return reinterpret_cast<const Word*>(t.bits + static_cast<std::ptrdiff_t>(y) * t.pitch)[x];
}

// Four texels around the sample point, weighted by its 8-bit fractions.
template <DDrawPixelKind Kind>
DWORD FilterBilinear(const TextureSampler& t, std::int64_t u, std::int64_t v) {
  constexpr std::int64_t half = std::int64_t{1} << (kTexelFractionBits - 1);
  std::int64_t su = u - half;
  std::int64_t sv = v - half;
  constexpr std::int64_t one = std::int64_t{1} << kTexelFractionBits;
  int x0 = AddressTexel(su, t.width, t.wrap), x1 = AddressTexel(su + one, t.width, t.wrap);
  int y0 = AddressTexel(sv, t.height, t.wrap), y1 = AddressTexel(sv + one, t.height, t.wrap);
  DWORD fx = static_cast<DWORD>(su >> (kTexelFractionBits - 8)) & 0xFF;
  DWORD fy = static_cast<DWORD>(sv >> (kTexelFractionBits - 8)) & 0xFF;
  DWORD corner[4] = {RawToArgb<Kind>(ReadTexel<Kind>(t, x0, y0)), RawToArgb<Kind>(ReadTexel<Kind>(t, x1, y0)),
                     RawToArgb<Kind>(ReadTexel<Kind>(t, x0, y1)), RawToArgb<Kind>(ReadTexel<Kind>(t, x1, y1))};
  DWORD weight[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
  DWORD result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    DWORD sum = 0;
    for (int k = 0; k < 4; ++k) sum += ChannelOf(corner[k], shift) * weight[k];
    result |= ((sum + 32768) >> 16) << shift;
  }
  return result;
}

// Texels of one stage; keyed texels (judged on the point-sampled texel) drop the pixel.
template <DDrawPixelKind Kind>
void SampleStage(const TextureSampler& t, const SpanBlock& block, const Cursor& at, int stage, Chunk& chunk) {
  std::int64_t u = at.u[stage], v = at.v[stage];
  std::int64_t du = block.u[stage].step, dv = block.v[stage].step;
  DWORD* out = chunk.texel[stage];
  for (int i = 0; i < chunk.count; ++i, u += du, v += dv) {
    DWORD raw = ReadTexel<Kind>(t, AddressTexel(u, t.width, t.wrap), AddressTexel(v, t.height, t.wrap));
    if (t.keyed && (raw & t.keyMask) == t.key) chunk.keep[i] = false;
    out[i] = t.bilinear ? FilterBilinear<Kind>(t, u, v) : RawToArgb<Kind>(raw);
  }
}

// ---- Stage cascade ----

// The per-channel ops (the selections copy whole pixels instead).
template <DWORD Op>
DWORD CombineChannel(DWORD a, DWORD b) {
  if constexpr (Op == D3DTOP_MODULATE) return Mul255(a, b);
  if constexpr (Op == D3DTOP_MODULATE2X) return std::min<DWORD>(255, Div255Wide(2 * a * b));
  if constexpr (Op == D3DTOP_MODULATE4X) return std::min<DWORD>(255, Div255Wide(4 * a * b));
  if constexpr (Op == D3DTOP_ADD) return std::min<DWORD>(255, a + b);
  if constexpr (Op == D3DTOP_SUBTRACT) return a > b ? a - b : 0;
}

// op(a, b) into the colour channels of `out` (its alpha then 0), or into its alpha only.
enum class Channels { Colour, Alpha };

template <DWORD Op, Channels Into>
void Combine(const DWORD* a, const DWORD* b, DWORD* out, int n) {
  constexpr int firstShift = Into == Channels::Colour ? 0 : 24, endShift = Into == Channels::Colour ? 24 : 32;
  for (int i = 0; i < n; ++i) {
    DWORD result = 0;
    if constexpr (Op == D3DTOP_SELECTARG1) {
      result = a[i];
    } else if constexpr (Op == D3DTOP_SELECTARG2) {
      result = b[i];
    } else {
      for (int shift = firstShift; shift < endShift; shift += 8) {
        result |= CombineChannel<Op>(ChannelOf(a[i], shift), ChannelOf(b[i], shift)) << shift;
      }
    }
    out[i] = Into == Channels::Colour ? result & 0x00FFFFFFu : (out[i] & 0x00FFFFFFu) | (result & 0xFF000000u);
  }
}

template <Channels Into>
void CombineWith(DWORD op, const DWORD* a, const DWORD* b, DWORD* out, int n) {
  switch (op) {
    case D3DTOP_SELECTARG1: return Combine<D3DTOP_SELECTARG1, Into>(a, b, out, n);
    case D3DTOP_SELECTARG2: return Combine<D3DTOP_SELECTARG2, Into>(a, b, out, n);
    case D3DTOP_MODULATE: return Combine<D3DTOP_MODULATE, Into>(a, b, out, n);
    case D3DTOP_MODULATE2X: return Combine<D3DTOP_MODULATE2X, Into>(a, b, out, n);
    case D3DTOP_MODULATE4X: return Combine<D3DTOP_MODULATE4X, Into>(a, b, out, n);
    case D3DTOP_ADD: return Combine<D3DTOP_ADD, Into>(a, b, out, n);
    case D3DTOP_SUBTRACT: return Combine<D3DTOP_SUBTRACT, Into>(a, b, out, n);
    default: return;
  }
}

struct ArgumentArrays {
  const DWORD* diffuse;
  const DWORD* current;
  const DWORD* texture;
  const DWORD* factor;
  const DWORD* specular;

  const DWORD* Pick(DWORD argument) const {
    switch (argument) {
      case D3DTA_DIFFUSE: return diffuse;
      case D3DTA_CURRENT: return current;
      case D3DTA_TEXTURE: return texture;
      case D3DTA_TFACTOR: return factor;
      default: return specular;
    }
  }
};

// Stage 0's CURRENT is the diffuse; a stage without a texture reads opaque white as
// TEXTURE; ALPHAOP DISABLE passes the current alpha on.
void RunCascade(const DrawContext& c, Chunk& chunk) {
  DWORD white[kChunk], factor[kChunk];
  if (StagesRead(c, D3DTA_TEXTURE)) std::fill_n(white, chunk.count, 0xFFFFFFFFu);
  if (StagesRead(c, D3DTA_TFACTOR)) std::fill_n(factor, chunk.count, c.textureFactor);
  DWORD results[2][kChunk];
  const DWORD* current = chunk.diffuse;
  for (int s = 0; s < c.stageCount; ++s) {
    const StageSetup& stage = c.stages[s];
    DWORD* out = s + 1 == c.stageCount ? chunk.colour : results[s & 1];
    ArgumentArrays args{chunk.diffuse, current, stage.textured ? chunk.texel[s] : white, factor, chunk.specular};
    CombineWith<Channels::Colour>(stage.colourOp, args.Pick(stage.colourArg1), args.Pick(stage.colourArg2), out,
                                  chunk.count);
    if (stage.alphaOp == D3DTOP_DISABLE) {
      CombineWith<Channels::Alpha>(D3DTOP_SELECTARG1, current, current, out, chunk.count);
    } else {
      CombineWith<Channels::Alpha>(stage.alphaOp, args.Pick(stage.alphaArg1), args.Pick(stage.alphaArg2), out,
                                   chunk.count);
    }
    current = out;
  }
  if (c.stageCount == 0) std::copy_n(chunk.diffuse, chunk.count, chunk.colour);
}

// ---- Tests ----

void AlphaTest(const DrawContext& c, Chunk& chunk) {
  for (int i = 0; i < chunk.count; ++i) {
    int alpha = static_cast<int>(AlphaOf(chunk.colour[i]));
    bool inside = alpha >= c.alphaLow && alpha <= c.alphaHigh;
    if (inside == c.alphaOutside) chunk.keep[i] = false;
  }
}

// ZFUNC - 1 is a mask of the outcomes that pass: 1 less, 2 equal, 4 greater.
void DepthTest(const DrawContext& c, const SpanBlock& block, const Cursor& at, Chunk& chunk) {
  auto* row = reinterpret_cast<std::uint16_t*>(c.depthBits + static_cast<std::ptrdiff_t>(at.y) * c.depthPitch) + at.x;
  DWORD passing = c.depthFunc - 1;
  std::int64_t depth = at.depth;
  for (int i = 0; i < chunk.count; ++i, depth += block.depth.step) {
    std::int64_t rounded = (depth + (std::int64_t{1} << (kDepthFractionBits - 1))) >> kDepthFractionBits;
    auto value = static_cast<std::uint16_t>(std::clamp<std::int64_t>(rounded, 0, 0xFFFF));
    DWORD outcome = value < row[i] ? 1u : (value == row[i] ? 2u : 4u);
    if (!(passing & outcome)) chunk.keep[i] = false;
    if (chunk.keep[i] && c.depthWrite) row[i] = value;
  }
}

// ---- Blending and writing ----

// Per channel factors packed like a pixel (the alpha byte is the factor for alpha).
void BlendFactors(DWORD factor, const DWORD* source, const DWORD* destination, DWORD* out, int n) {
  auto fill = [&](auto factorOf) {
    for (int i = 0; i < n; ++i) out[i] = factorOf(source[i], destination[i]);
  };
  switch (factor) {
    case D3DBLEND_ZERO: return fill([](DWORD, DWORD) { return 0u; });
    case D3DBLEND_ONE: return fill([](DWORD, DWORD) { return 0xFFFFFFFFu; });
    case D3DBLEND_SRCCOLOR: return fill([](DWORD s, DWORD) { return s; });
    case D3DBLEND_SRCALPHA: return fill([](DWORD s, DWORD) { return AlphaOf(s) * 0x01010101u; });
    case D3DBLEND_INVSRCALPHA: return fill([](DWORD s, DWORD) { return (255 - AlphaOf(s)) * 0x01010101u; });
    default: return fill([](DWORD, DWORD d) { return ~d; });  // INVDESTCOLOR
  }
}

void Blend(const DrawContext& c, const DWORD* destination, Chunk& chunk) {
  DWORD sourceFactor[kChunk], destinationFactor[kChunk];
  BlendFactors(c.srcBlend, chunk.colour, destination, sourceFactor, chunk.count);
  BlendFactors(c.destBlend, chunk.colour, destination, destinationFactor, chunk.count);
  for (int i = 0; i < chunk.count; ++i) {
    if (!chunk.keep[i]) continue;
    DWORD result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      DWORD sum = ChannelOf(chunk.colour[i], shift) * ChannelOf(sourceFactor[i], shift) +
                  ChannelOf(destination[i], shift) * ChannelOf(destinationFactor[i], shift);
      result |= std::min<DWORD>(255, Div255Wide(sum)) << shift;
    }
    chunk.colour[i] = result;
  }
}

template <DDrawPixelKind Kind>
void WriteChunk(const DrawContext& c, const Cursor& at, Chunk& chunk) {
  using Word = PixelWord<Kind>;
  Word* row = reinterpret_cast<Word*>(c.targetBits + static_cast<std::ptrdiff_t>(at.y) * c.targetPitch) + at.x;
  if (c.blend) {
    DWORD destination[kChunk];
    for (int i = 0; i < chunk.count; ++i) destination[i] = RawToArgb<Kind>(row[i]);
    Blend(c, destination, chunk);
  }
  for (int i = 0; i < chunk.count; ++i) {
    if (chunk.keep[i]) row[i] = static_cast<Word>(ArgbToRaw<Kind>(chunk.colour[i]));
  }
}

void ShadeChunk(const DrawContext& c, const SpanBlock& block, const Cursor& at, Chunk& chunk) {
  std::fill_n(chunk.keep, chunk.count, true);
  ShadeColours(c, block, at, chunk);
  if (c.untextured) {
    std::copy_n(chunk.diffuse, chunk.count, chunk.colour);
  } else {
    for (int s = 0; s < c.stageCount; ++s) {
      if (!c.stages[s].textured) continue;
      VisitColourKind(c.textures[s].kind,
                      [&](auto kind) { SampleStage<kind.value>(c.textures[s], block, at, s, chunk); });
    }
    RunCascade(c, chunk);
  }
  AlphaTest(c, chunk);
  if (c.depthBits != nullptr) DepthTest(c, block, at, chunk);
  VisitColourKind(c.targetKind, [&](auto kind) { WriteChunk<kind.value>(c, at, chunk); });
}

void Advance(const SpanBlock& block, Cursor& at, int pixels) {
  at.x += pixels;
  for (int s = 0; s < kStageCount; ++s) {
    at.u[s] += block.u[s].step * pixels;
    at.v[s] += block.v[s].step * pixels;
  }
  for (int k = 0; k < 8; ++k) at.colour[k] += block.colour[k].step * pixels;
  at.depth += block.depth.step * pixels;
}

}  // namespace

void GeneralSpan(const DrawContext& c, const SpanBlock& block) {
  Cursor rowStart{block.x, block.y, {}, {}, {}, block.depth.start};
  for (int s = 0; s < kStageCount; ++s) {
    rowStart.u[s] = block.u[s].start;
    rowStart.v[s] = block.v[s].start;
  }
  for (int k = 0; k < 8; ++k) rowStart.colour[k] = block.colour[k].start;
  Chunk chunk;
  for (int row = 0; row < block.rows; ++row) {
    Cursor at = rowStart;
    for (int done = 0; done < block.count; done += kChunk) {
      chunk.count = std::min(kChunk, block.count - done);
      ShadeChunk(c, block, at, chunk);
      Advance(block, at, chunk.count);
    }
    rowStart.y += 1;
    for (int s = 0; s < kStageCount; ++s) {
      rowStart.u[s] += block.u[s].rowStep;
      rowStart.v[s] += block.v[s].rowStep;
    }
    for (int k = 0; k < 8; ++k) rowStart.colour[k] += block.colour[k].rowStep;
    rowStart.depth += block.depth.rowStep;
  }
}
