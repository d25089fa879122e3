// The checks and per-draw preparations the image kernels share: which images may
// be drawn into, the source form, the blend operation of a mode and parameter, the
// palette copy, and the bookkeeping after a write.
#pragma once

#include <cstdint>
#include <cstring>

#include "graphics/memimg.h"
#include "softrender/source_pixels.h"

// A destination takes a source of its own pixel kind (16- or 32-bit) and has
// neither a palette nor an alpha channel.
inline bool CanDrawInto(const MEMIMG* dst, const MEMIMG* src) {
  if (src->kind != dst->kind || dst->paletteFlag != 0 || dst->alphaFlag != 0) return false;
  return src->kind == PIXEL_KIND_16 || src->kind == PIXEL_KIND_32;
}

inline int SourceFormOf(const MEMIMG* src) {
  if (src->paletteFlag != 0) return SOURCE_PALETTE;
  return src->alphaFlag == 1 ? SOURCE_ALPHA : SOURCE_DIRECT;
}

inline int DestBytesPerPixel(int kind) { return kind == PIXEL_KIND_16 ? 2 : 4; }

inline int ClampBlendParam(int param) { return param < 0 ? 0 : param > 255 ? 255 : param; }

// The blend operation of a mode at a parameter (0..255), or -1 when the draw draws
// nothing: a mode outside 0..4, and modes 1 to 3 at parameter 0 (mode 3 runs there,
// with a zero source, when mode3RunsAtZero). Mode 1 at 255 is the plain copy.
inline int GeneralBlendOp(int mode, int param, bool mode3RunsAtZero) {
  if (static_cast<unsigned>(mode) > 4u) return -1;
  if (mode == 1 && param == 255) return BLEND_OP_COPY;
  if (param == 0 && (mode == 1 || mode == 2 || (mode == 3 && !mode3RunsAtZero))) return -1;
  return mode;
}

// The operation of the pixel operations shared by the stretched and the other
// geometric kernels, or -1 when the draw draws nothing: GeneralBlendOp (mode 3 at
// parameter 0 draws nothing here), and on 32-bit pixels mode 3 at 255 takes the
// exact bytewise subtract when the MMX-usable flag is on and neither a blend graph,
// a tint nor a source alpha weighs the source.
inline int SharedPixelOp(int kind, int form, int mode, int param, bool graph, bool white, bool mmxUsable) {
  const int op = GeneralBlendOp(mode, param, false);
  if (kind == PIXEL_KIND_32 && op == BLEND_OP_SUB && param == 255 && !graph && white && form != SOURCE_ALPHA &&
      mmxUsable) {
    return BLEND_OP_SUB_BYTES;
  }
  return op;
}

// A palette as the kernels read it: 256 entries in the destination's layout.
union KernelPalette {
  std::uint32_t xrgb[256];
  std::uint16_t rgb565[256];
};

// Copies the source's palette entries (at most 256) and zeroes the rest.
inline void CopyKernelPalette(KernelPalette* out, const MEMIMG* src) {
  std::memset(out, 0, sizeof *out);
  const int count = src->paletteCount < 0 ? 0 : src->paletteCount > 256 ? 256 : src->paletteCount;
  if (src->palette == nullptr || count == 0) return;
  const std::size_t entryBytes = src->kind == PIXEL_KIND_16 ? 2 : 4;
  std::memcpy(out, src->palette, entryBytes * static_cast<std::size_t>(count));
}

// The image's pixels changed: its run table and premultiplied copy no longer
// describe them.
inline void MarkMemImgWritten(MEMIMG* img) {
  img->runDataValid = 0;
  img->premultipliedValid = 0;
  MarkMemImgPixelsChanged(img);
}
