#include "graphics/fill_unused_bits.h"

#include <cstddef>

namespace {

template <typename Pixel>
void OrRows(std::uint8_t* first, long pitch, int width, int height, Pixel bits) {
  for (int row = 0; row < height; ++row) {
    Pixel* pixel = reinterpret_cast<Pixel*>(first + static_cast<std::ptrdiff_t>(row) * pitch);
    for (int i = 0; i < width; ++i) pixel[i] |= bits;
  }
}

}  // namespace

int FillUnusedBitsInRect(const DDSURFACEDESC2* locked, int x, int y, const PixelFormat* format, int width,
                         int height, std::uint32_t value) {
  // Masked, so that a value wider than the unused bits cannot spill into a channel.
  const std::uint32_t bits = (value << format->noUseShift) & format->noUseMask;
  if (bits == 0 || width <= 0 || height <= 0) return 0;
  const int bytes = format->bytesPerPixel;
  std::uint8_t* first = static_cast<std::uint8_t*>(locked->lpSurface) +
                        static_cast<std::ptrdiff_t>(y) * locked->lPitch + static_cast<std::ptrdiff_t>(x) * bytes;
  if (bytes == 2) {
    OrRows<std::uint16_t>(first, locked->lPitch, width, height, static_cast<std::uint16_t>(bits));
  } else if (bytes == 4) {
    OrRows<std::uint32_t>(first, locked->lPitch, width, height, bits);
  }
  return 0;
}
