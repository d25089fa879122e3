// Whether a transparent draw shows a source texel (not alpha 0, not the transparent
// word), and the SSE2 walk that passes over whole groups of hidden 32-bit texels.
// The summaries of shown texels all test with these, so they agree with the kernels'
// transparent test.
#pragma once

#include <cstdint>

#include "graphics/memimg.h"
#include "softrender/draw_options.h"
#include "softrender/source_pixels.h"
#include "softrender/sse2_lanes.h"

// What a summary of a source's shown texels was made from: the same values, the same
// summary.
struct ShownTexelSource {
  std::uint64_t stamp;  // 0: unknown content (borrowed pixels)
  const void* pixels;
  int width, height, pitch, form;
  std::uint32_t key;

  static ShownTexelSource Of(const MEMIMG* src) {
    return {src->contentStamp, src->pixels, src->width, src->height, src->pitch, SourceFormOf(src), src->transparentColor};
  }
  bool operator==(const ShownTexelSource&) const = default;
};

template <int Kind, int Form>
class TexelShown {
 public:
  static constexpr int kBytes = SourcePixels<Kind, Form>::kBytes;
  // 32-bit texels compared as whole words: the lanes can pass over hidden groups.
  static constexpr bool kWords = Kind == PIXEL_KIND_32 && Form != SOURCE_PALETTE;

  explicit TexelShown(const MEMIMG* src)
      : key_(src->transparentColor),
        hiddenMask_(Form == SOURCE_ALPHA ? 0xFF000000u : ~0u),
        hiddenKey_(Form == SOURCE_ALPHA ? 0u : src->transparentColor) {}

  bool operator()(const std::uint8_t* texel) const {
    if constexpr (Form == SOURCE_ALPHA) {
      return SourcePixels<Kind, Form>::Alpha(texel) != 0;
    } else {
      return SourcePixels<Kind, Form>::Raw(texel) != key_;
    }
  }

  // From column x rightwards, before end: where the whole hidden groups stop.
  int PassHiddenRight(const std::uint8_t* row, int x, int end) const {
#ifdef __SSE2__
    if constexpr (kWords) {
      while (x + Sse2Lanes::kPixels <= end && AllHidden(row + 4 * x)) x += Sse2Lanes::kPixels;
    }
#endif
    return x;
  }

  // From the exclusive end leftwards: the new exclusive end.
  int PassHiddenLeft(const std::uint8_t* row, int end) const {
#ifdef __SSE2__
    if constexpr (kWords) {
      while (end >= Sse2Lanes::kPixels && AllHidden(row + 4 * (end - Sse2Lanes::kPixels))) end -= Sse2Lanes::kPixels;
    }
#endif
    return end;
  }

 private:
#ifdef __SSE2__
  bool AllHidden(const std::uint8_t* group) const {
    using L = Sse2Lanes;
    return L::ByteMask(L::Equal32(L::And(L::Load(group), L::Set32(hiddenMask_)), L::Set32(hiddenKey_))) ==
           L::kAllBytes;
  }
#endif

  std::uint32_t key_;
  // 32-bit texels are hidden where (word & mask) == key.
  std::uint32_t hiddenMask_, hiddenKey_;
};
