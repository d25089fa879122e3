// Shared body of the picture-loader fuzz targets: decode through a memory stream
// and, when the loader accepts the data, read pixels and convert them as graph
// creation would. Out-of-block pixels show at the ends of the block, so only a
// window at each end is read and converted: the cost per input stays small however
// large the picture claims to be.
//
// An accepted picture is decoded whole, and a few bytes can declare millions of
// pixels: such inputs cost a hundredfold and reach no code a smaller picture does
// not. A target that can read the declared size from the header skips those above
// kLargestDecoded pixels that the loader would accept; larger ones still go to the
// loader, which refuses them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/streams.h"
#include "graphics/image_loaders.h"
#include "graphics/picture_stream.h"
#include "graphics/pixel_convert_blt.h"

namespace picture_fuzz {

constexpr int kWindow = 64;
constexpr std::int64_t kLargestDecoded = 1 << 16;

// Reads and converts the window at (left, top), clipped to the picture.
inline void ConvertWindow(const GraphImage& img, int left, int top) {
  static std::uint32_t out[kWindow * kWindow];
  const RECT rect{left, top, std::min(img.width, left + kWindow), std::min(img.height, top + kWindow)};
  std::uint32_t sum = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) sum += GetGraphImagePixel(&img, x, y);
  }
  PixelFormat argb{};
  BuildPixelFormatBody(&argb, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
  ConvertPixelFormatBlt(out, kWindow * 4, &argb, img.pixels, img.pitch, &img.format, nullptr, 0, nullptr, 0, 0, &rect,
                        static_cast<int>(sum & 1), 0, 0, DITHER_ORDERED, 0, 0, 0);
}

}  // namespace picture_fuzz

// Reads the picture size a header declares: false when the data has none.
using DeclaredSizeReader = bool (*)(const std::uint8_t* data, std::size_t size, std::int64_t* width,
                                    std::int64_t* height);

inline int FuzzPictureLoader(ImageLoader loader, const std::uint8_t* data, std::size_t size,
                             DeclaredSizeReader declaredSize = nullptr) {
  std::int64_t width = 0;
  std::int64_t height = 0;
  if (declaredSize != nullptr && declaredSize(data, size, &width, &height) &&
      width * height > picture_fuzz::kLargestDecoded && PictureSizeAllowed(width, height)) {
    return 0;
  }
  MemoryStream* memory = MemoryStreamOpen(data, size);
  if (memory == nullptr) return 0;
  DataStream stream{GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  GraphImage img{};
  const int result = loader(&stream, &img);
  MemoryStreamClose(stream.handle);
  if (result != 0) return 0;
  picture_fuzz::ConvertWindow(img, 0, 0);
  const int right = std::max(0, img.width - picture_fuzz::kWindow);
  const int bottom = std::max(0, img.height - picture_fuzz::kWindow);
  if (right > 0 || bottom > 0) picture_fuzz::ConvertWindow(img, right, bottom);
  FreeGraphImage(&img);
  return 0;
}
