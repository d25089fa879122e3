// The clipped area one image kernel draw works on, and the loop type of the
// image-at-position kernel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "softrender/source_pixels.h"

struct BlitArea {
  std::uint8_t* dst;          // destination pixel of the area's top-left corner
  std::ptrdiff_t dstPitch;
  const std::uint8_t* src;    // source pixel drawn there
  std::ptrdiff_t srcPitch;
  const std::uint8_t* graph;  // blend-graph byte of that source pixel, or NULL
  std::ptrdiff_t graphPitch;
  int width;
  int height;
  const std::uint8_t* runs;     // run-table path only: the source's run table
  const std::uint8_t* runsEnd;  // and the end of its buffer
};

using BlitLoop = void (*)(const BlitArea& area, const SourceDraw& draw);
