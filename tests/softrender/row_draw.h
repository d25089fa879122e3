// One-row draws for the numeric examples: a source row over a destination row
// through the image-at-position kernel (its own loops, or its run-table path) or
// through the stretched kernel's loops (a flipped one-row draw, which keeps the
// pixel order and scale 1 but never hands over to the image-at-position kernel).
#pragma once

#include <cstdint>
#include <vector>

#include "softrender/source_pixels.h"

enum class RowKernel { AtPosition, RunTable, Stretched };

struct RowDraw {
  int kind = PIXEL_KIND_32;
  int form = SOURCE_DIRECT;
  std::uint32_t key = 0;
  std::vector<std::uint32_t> source{};  // raw source pixels (indices for a palette source)
  std::vector<std::uint32_t> dest{};
  std::vector<std::uint32_t> palette{};  // palette entries, the rest 0
  int mode = 0;
  int param = 255;
  std::uint32_t tint = 0xFFFFFF;
  int mmx = 0;
  int transparent = 0;
  std::vector<std::uint8_t> graph{};  // blend-graph bytes (the ramp is the identity), or none
};

// The destination row after the draw.
std::vector<std::uint32_t> DrawRow(const RowDraw& draw, RowKernel kernel);

// One pixel over one pixel.
std::uint32_t DrawPixel(RowDraw draw, std::uint32_t source, std::uint32_t dest, RowKernel kernel);
