// Shared body of the picture-loader fuzz targets: decode through a memory stream
// and, when the loader accepts the data, read every pixel and convert the picture
// as graph creation would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/streams.h"
#include "graphics/image_loaders.h"
#include "graphics/pixel_convert_blt.h"

inline int FuzzPictureLoader(ImageLoader loader, const std::uint8_t* data, std::size_t size) {
  MemoryStream* memory = MemoryStreamOpen(data, size);
  if (memory == nullptr) return 0;
  DataStream stream{GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  GraphImage img{};
  const int result = loader(&stream, &img);
  MemoryStreamClose(stream.handle);
  if (result != 0) return 0;
  // Huge pictures are only decoded: walking them would slow the search down.
  if (static_cast<std::int64_t>(img.width) * img.height > (1 << 20)) {
    FreeGraphImage(&img);
    return 0;
  }
  std::uint32_t sum = 0;
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) sum += GetGraphImagePixel(&img, x, y);
  }
  PixelFormat argb{};
  BuildPixelFormatBody(&argb, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
  std::vector<std::uint32_t> out(static_cast<std::size_t>(img.width) * img.height);
  const RECT rect{0, 0, img.width, img.height};
  ConvertPixelFormatBlt(out.data(), img.width * 4, &argb, img.pixels, img.pitch, &img.format, nullptr, 0, nullptr, 0,
                        0, &rect, static_cast<int>(sum & 1), 0, 0, DITHER_ORDERED, 0, 0, 0);
  FreeGraphImage(&img);
  return 0;
}
