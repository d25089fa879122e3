// The conversion blit over a 1024 x 768 picture for the library's common pairs:
// picture uploads into 32- and 16-bit images, with and without dithering.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "../tests/graphics/common_pixel_formats.h"
#include "graphics/pixel_convert_blt.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

PixelFormat Palette() {
  PixelFormat pf{};
  BuildPalette8PixelFormat(&pf);
  for (std::uint32_t i = 0; i < 256; ++i) pf.palette[i] = i * 0x010307u & 0xFFFFFFu;
  return pf;
}

void Convert(benchmark::State& state, PixelFormat src, PixelFormat dst, int dither) {
  std::vector<std::uint8_t> from(static_cast<std::size_t>(kWidth) * kHeight * src.bytesPerPixel);
  for (std::size_t i = 0; i < from.size(); ++i) from[i] = static_cast<std::uint8_t>(i * 31 + (i >> 7));
  std::vector<std::uint8_t> to(static_cast<std::size_t>(kWidth) * kHeight * dst.bytesPerPixel);
  const RECT rect{0, 0, kWidth, kHeight};
  for (auto _ : state) {
    ConvertPixelFormatBlt(to.data(), kWidth * dst.bytesPerPixel, &dst, from.data(), kWidth * src.bytesPerPixel, &src,
                          nullptr, 0, nullptr, 0, 0, &rect, 0, 0, 0, dither, 0, 0, 0);
    benchmark::DoNotOptimize(to.data());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

const PixelFormat kPalette = Palette();

}  // namespace

BENCHMARK_CAPTURE(Convert, rgb24_to_xrgb, kRgb24, kXrgb8888, DITHER_NONE);
BENCHMARK_CAPTURE(Convert, argb_copy, kArgb8888, kArgb8888, DITHER_NONE);
BENCHMARK_CAPTURE(Convert, palette_to_565, kPalette, kRgb565, DITHER_NONE);
BENCHMARK_CAPTURE(Convert, rgb565_to_xrgb, kRgb565, kXrgb8888, DITHER_NONE);
BENCHMARK_CAPTURE(Convert, xrgb_to_565_ordered_dither, kXrgb8888, kRgb565, DITHER_ORDERED);
BENCHMARK_CAPTURE(Convert, argb_to_4444_carried_dither, kArgb8888, kArgb4444, DITHER_CARRY);
BENCHMARK_CAPTURE(Convert, rgb24_to_argb4444, kRgb24, kArgb4444, DITHER_NONE);
// Picture loading asks for a dither even where no channel narrows.
BENCHMARK_CAPTURE(Convert, rgb24_to_argb_ordered_dither, kRgb24, kArgb8888, DITHER_ORDERED);

BENCHMARK_MAIN();
