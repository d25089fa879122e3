// Small operations on GraphImage records.
#include "graphics/graph_image.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "core/tracked_alloc.h"
#include "graphics/pixel_bytes.h"

int CreateRgb24GraphImage(int width, int height, GraphImage* img) {
  *img = GraphImage{};
  BuildRgb24PixelFormat(&img->format);
  img->width = width;
  img->height = height;
  if (width < 1 || height < 1 || width > (0x7FFFFFFF - 3) / 3) return -1;
  img->pitch = (3 * width + 3) & ~3;
  const std::size_t size = static_cast<std::size_t>(img->pitch) * static_cast<std::size_t>(height);
  img->pixels = TRACKED_ALLOC(size);
  return img->pixels != nullptr ? 0 : -1;
}

int FreeGraphImage(GraphImage* img) {
  if (img->pixels != nullptr) TrackedFree(img->pixels);
  std::memset(static_cast<void*>(img), 0, sizeof *img);
  return 0;
}

int FillGraphImageColor(GraphImage* img, int r, int g, int b, int a) {
  const int bytes = img->format.bytesPerPixel;
  if (img->pixels == nullptr || bytes < 2 || bytes > 4) return 0;
  const std::uint32_t value =
      PackPixel(&img->format, static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(a));
  std::uint8_t* row = static_cast<std::uint8_t*>(img->pixels);
  for (int y = 0; y < img->height; ++y, row += img->pitch) {
    for (int x = 0; x < img->width; ++x) StorePixelBytes(row + x * bytes, bytes, value);
  }
  return 0;
}

namespace {

// A channel's value as 8 bits (its top bits; a narrow channel's low bits 0),
// placed at bit byteShift.
std::uint32_t PlaceChannel(std::uint32_t value, std::uint32_t mask, int shift, int width, int byteShift) {
  if (width == 0) return 0;
  const std::uint32_t v = (value & mask) >> shift;
  const std::uint32_t top8 = width >= 8 ? v >> (width - 8) : v << (8 - width);
  return (top8 & 0xFF) << byteShift;
}

}  // namespace

std::uint32_t GetGraphImagePixel(const GraphImage* img, int x, int y) {
  if (img->pixels == nullptr) return 0;
  const PixelFormat& f = img->format;
  const std::uint8_t* p = static_cast<const std::uint8_t*>(img->pixels) +
                          static_cast<std::ptrdiff_t>(y) * img->pitch +
                          static_cast<std::ptrdiff_t>(x) * f.bytesPerPixel;
  if (f.bytesPerPixel == 1) return f.palette[*p] & 0xFFFFFFu;
  const std::uint32_t v = LoadPixelBytes(p, f.bytesPerPixel);
  std::uint32_t result = PlaceChannel(v, f.maskR, f.shiftR, f.widthR, 16) |
                         PlaceChannel(v, f.maskG, f.shiftG, f.widthG, 8) |
                         PlaceChannel(v, f.maskB, f.shiftB, f.widthB, 0);
  if (f.widthA != 0) result |= PlaceChannel(v, f.maskA, f.shiftA, f.widthA, 24);
  return result;
}

int MirrorGraphImage(GraphImage* img) {
  if (img->width <= 0 || img->height <= 0) return -1;
  const int bytes = img->format.bytesPerPixel;
  if (img->pixels == nullptr || bytes == 0 || bytes > 4) return 0;
  std::uint8_t* row = static_cast<std::uint8_t*>(img->pixels);
  for (int y = 0; y < img->height; ++y, row += img->pitch) {
    std::uint8_t* left = row;
    std::uint8_t* right = row + (img->width - 1) * bytes;
    for (; left < right; left += bytes, right -= bytes) std::swap_ranges(left, left + bytes, right);
  }
  return 0;
}

RECT ClipToPictures(RECT rect, const GraphImage* image, const GraphImage* alphaImage) {
  int width = image->width;
  int height = image->height;
  if (alphaImage != nullptr) {
    width = std::min(width, alphaImage->width);
    height = std::min(height, alphaImage->height);
  }
  rect.left = std::clamp<LONG>(rect.left, 0, width);
  rect.top = std::clamp<LONG>(rect.top, 0, height);
  rect.right = std::clamp<LONG>(rect.right, rect.left, width);
  rect.bottom = std::clamp<LONG>(rect.bottom, rect.top, height);
  return rect;
}
