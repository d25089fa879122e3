// A plain per-pixel model of the image kernels, written from their descriptions
// independently of the renderer's code: one function per description (the
// image-at-position loops for 32-bit and 16-bit pixels, and the shared pixel
// operations that the run-table path and the stretched kernel follow).
#pragma once

#include <cstdint>
#include <optional>

enum RefForm { REF_DIRECT, REF_ALPHA, REF_PALETTE };

struct RefPixel {
  int form;            // RefForm
  std::uint32_t colour;  // the colour (palette entry for a palette source)
  std::uint32_t raw;     // what the transparent test compares (index or pixel value)
  std::uint32_t alpha;   // alpha sources only
  bool graph;            // a blend graph is given
  std::uint32_t weight;  // its ramp weight for this pixel
};

struct RefDraw {
  int mode;
  int param;
  std::uint32_t tint;  // 0x00RRGGBB
  bool trans;          // transparent test on
  std::uint32_t key;
  bool mmx;
};

// New destination pixel, or nothing when the pixel is not drawn. The gates on mode
// and parameter are the caller's; these take a mode 0..4 (mode 1 at 255 included).
std::optional<std::uint32_t> RefAtPosition32(const RefPixel& px, std::uint32_t d, const RefDraw& draw);
std::optional<std::uint32_t> RefAtPosition16(const RefPixel& px, std::uint32_t d, const RefDraw& draw);
// The shared operations; mmxCase allows the bytewise subtract form of mode 3.
std::optional<std::uint32_t> RefShared32(const RefPixel& px, std::uint32_t d, const RefDraw& draw, bool mmxCase);
std::optional<std::uint32_t> RefShared16(const RefPixel& px, std::uint32_t d, const RefDraw& draw);

// Two RGB565 pixels through the pair add or subtract (first pixel in the low half).
std::uint32_t RefPair565(std::uint32_t d, std::uint32_t s, bool add);
// The one-pixel RGB565 combines, from their per-channel descriptions.
std::uint32_t RefAdd565(std::uint32_t d, std::uint32_t u, bool lowBitOr);
std::uint32_t RefSub565(std::uint32_t d, std::uint32_t u);
std::uint32_t RefAdd8888(std::uint32_t d, std::uint32_t q, bool lowBitOr);
std::uint32_t RefSub8888(std::uint32_t d, std::uint32_t q);
