#include "png_file.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

// libpng reports errors by a long jump back here; nothing changes after the setjmp.
bool Encode(png_structp png, png_infop info, std::FILE* file, const Canvas& canvas, png_byte* row) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_init_io(png, file);
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, canvas.width, canvas.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < canvas.height; ++y) {
    const Colour* pixel = &canvas.pixels[static_cast<std::size_t>(y) * canvas.width];
    for (int x = 0; x < canvas.width; ++x) {
      row[3 * x] = pixel[x].r;
      row[3 * x + 1] = pixel[x].g;
      row[3 * x + 2] = pixel[x].b;
    }
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  return true;
}

bool Decode(png_structp png, png_infop info, std::FILE* file, Canvas& canvas) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_init_io(png, file);
  png_read_png(png, info, PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_PACKING | PNG_TRANSFORM_EXPAND | PNG_TRANSFORM_GRAY_TO_RGB,
               nullptr);
  const int width = static_cast<int>(png_get_image_width(png, info));
  const int height = static_cast<int>(png_get_image_height(png, info));
  const int channels = png_get_channels(png, info);
  png_bytepp rows = png_get_rows(png, info);
  canvas = Canvas(width, height, Colour{0, 0, 0});
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const png_byte* p = rows[y] + static_cast<std::size_t>(x) * channels;
      canvas.Set(x, y, Colour{p[0], p[1], p[2], channels == 4 ? p[3] : png_byte{255}});
    }
  }
  return true;
}

}  // namespace

bool ReadPngFile(const std::string& path, Canvas& canvas) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  const bool ok = info != nullptr && Decode(png, info, file, canvas);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return ok;
}

bool WritePngFile(const std::string& path, const Canvas& canvas) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "cannot create %s\n", path.c_str());
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  std::vector<png_byte> row(static_cast<std::size_t>(canvas.width) * 3);
  bool ok = info != nullptr && Encode(png, info, file, canvas, row.data());
  png_destroy_write_struct(&png, &info);
  ok = std::fclose(file) == 0 && ok;
  if (!ok) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return ok;
}
