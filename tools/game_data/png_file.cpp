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

}  // namespace

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
