// How the kernels read one source pixel and end it on one destination pixel: the
// source forms of the two pixel kinds, the transparent test, the alpha shortcuts
// and the choice of weights, on top of the blend arithmetic of blend_ops.h.
#pragma once

#include <cstdint>
#include <cstring>

#include "softrender/blend_ops.h"

enum SourceForm {
  SOURCE_DIRECT = 0,   // the pixel is the colour
  SOURCE_ALPHA = 1,    // the pixel is the colour with an alpha byte
  SOURCE_PALETTE = 2,  // the pixel is a one-byte index into the image's palette
};

enum PixelKind { PIXEL_KIND_16 = 0, PIXEL_KIND_32 = 1 };

// Source pixel layouts. Raw() is the value the transparent test compares with the
// image's transparent word (the index for a palette image); Colour() the colour in
// the destination's layout; Alpha() the alpha byte of an alpha form.
template <int Kind, int Form>
struct SourcePixels;

template <>
struct SourcePixels<PIXEL_KIND_32, SOURCE_DIRECT> {
  static constexpr int kBytes = 4;
  static std::uint32_t Raw(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
  static std::uint32_t Colour(std::uint32_t raw, const void*) { return raw; }
};

template <>
struct SourcePixels<PIXEL_KIND_32, SOURCE_ALPHA> : SourcePixels<PIXEL_KIND_32, SOURCE_DIRECT> {
  static std::uint32_t Alpha(const std::uint8_t* p) { return p[3]; }
};

template <>
struct SourcePixels<PIXEL_KIND_32, SOURCE_PALETTE> {
  static constexpr int kBytes = 1;
  static std::uint32_t Raw(const std::uint8_t* p) { return p[0]; }
  static std::uint32_t Colour(std::uint32_t raw, const void* palette) {
    return static_cast<const std::uint32_t*>(palette)[raw];
  }
};

template <>
struct SourcePixels<PIXEL_KIND_16, SOURCE_DIRECT> {
  static constexpr int kBytes = 2;
  static std::uint32_t Raw(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }
  static std::uint32_t Colour(std::uint32_t raw, const void*) { return raw; }
};

// The RGB565 word, the alpha byte, one byte that is never read.
template <>
struct SourcePixels<PIXEL_KIND_16, SOURCE_ALPHA> {
  static constexpr int kBytes = 4;
  static std::uint32_t Raw(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }
  static std::uint32_t Colour(std::uint32_t raw, const void*) { return raw; }
  static std::uint32_t Alpha(const std::uint8_t* p) { return p[2]; }
};

template <>
struct SourcePixels<PIXEL_KIND_16, SOURCE_PALETTE> {
  static constexpr int kBytes = 1;
  static std::uint32_t Raw(const std::uint8_t* p) { return p[0]; }
  static std::uint32_t Colour(std::uint32_t raw, const void* palette) {
    return static_cast<const std::uint16_t*>(palette)[raw];
  }
};

// Destination pixel access of a kind.
template <int Kind>
struct DestPixels;

template <>
struct DestPixels<PIXEL_KIND_32> {
  static constexpr int kBytes = 4;
  static std::uint32_t Load(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
  static void Store(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }
  template <int Op, int Factors, bool White>
  static std::uint32_t Blend(std::uint32_t s, std::uint32_t d, std::uint32_t weight, const BlendRows& rows) {
    return BlendPixel32<Op, Factors, White>(s, d, weight, rows);
  }
};

template <>
struct DestPixels<PIXEL_KIND_16> {
  static constexpr int kBytes = 2;
  static std::uint32_t Load(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }
  static void Store(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
  }
  template <int Op, int Factors, bool White>
  static std::uint32_t Blend(std::uint32_t s, std::uint32_t d, std::uint32_t weight, const BlendRows& rows) {
    return BlendPixel565<Op, Factors, White>(s, d, weight, rows);
  }
};

// The per-draw inputs of DrawSourcePixel besides the pixels themselves.
struct SourceDraw {
  BlendRows rows;
  const void* palette;        // the source palette (palette form), in the destination's layout
  std::uint32_t key;          // the source's transparent word
};

// Draws the source pixel at src over the destination pixel at dst, with the
// blend-graph weight W (ignored without Graph). With Trans, a non-alpha pixel
// whose raw value equals the key is skipped; an alpha pixel of alpha 0 is skipped
// and one of alpha 255 is blended without its alpha. Without Trans every alpha
// pixel is weighted by its alpha, 0 and 255 included.
template <int Kind, int Form, int Op, bool Graph, bool White, bool Trans>
inline void DrawSourcePixel(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t graphWeight,
                            const SourceDraw& draw) {
  using Src = SourcePixels<Kind, Form>;
  using Dst = DestPixels<Kind>;
  constexpr int kGraph = Graph ? FACTORS_GRAPH : FACTORS_NONE;
  const std::uint32_t raw = Src::Raw(src);
  if constexpr (Form == SOURCE_ALPHA) {
    const std::uint32_t a = Src::Alpha(src);
    if constexpr (Trans) {
      if (a == 0) return;
      if (a == 255) {
        Dst::Store(dst, Dst::template Blend<Op, kGraph, White>(raw, Dst::Load(dst), graphWeight, draw.rows));
        return;
      }
    }
    const std::uint32_t weight = Graph ? a * graphWeight : a;
    Dst::Store(dst, Dst::template Blend<Op, kGraph | FACTORS_ALPHA, White>(raw, Dst::Load(dst), weight, draw.rows));
  } else {
    if constexpr (Trans) {
      if (raw == draw.key) return;
    }
    const std::uint32_t colour = Src::Colour(raw, draw.palette);
    Dst::Store(dst, Dst::template Blend<Op, kGraph, White>(colour, Dst::Load(dst), graphWeight, draw.rows));
  }
}

// Bytes per source pixel of a kind and form.
constexpr int SourceBytesPerPixel(int kind, int form) {
  if (form == SOURCE_PALETTE) return 1;
  return kind == PIXEL_KIND_16 && form == SOURCE_DIRECT ? 2 : 4;
}
