// PNG pictures through libpng, fed from the library's DataStream. Palette
// pictures without transparency stay palette images; grey ones become grey-ramp
// palette images (or 16-bit grey with an unused alpha byte); everything else
// becomes RGB24 or 32-bit with alpha, blue first.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "core/tracked_alloc.h"
#include "graphics/image_loaders.h"
#include "graphics/picture_stream.h"

namespace {

// What the read callback is handed.
struct PngStreamIo {
  DataStream* stream;
  std::int64_t end;  // stream position of the end of the data
};

void PngStreamRead(png_structp png, png_bytep data, std::size_t n) {
  PngStreamIo* io = static_cast<PngStreamIo*>(png_get_io_ptr(png));
  const std::int64_t here = io->stream->ops->tell(io->stream->handle);
  if (here < 0 || io->end - here < static_cast<std::int64_t>(n) || !StreamReadExact(io->stream, data, n)) {
    png_error(png, "Read Error");
  }
}

int PngReadFromStream(png_structp png, PngStreamIo* io, DataStream* stream) {
  io->stream = stream;
  io->end = stream->ops->tell(stream->handle) + StreamRemaining(stream);
  png_set_read_fn(png, io, PngStreamRead);
  return 0;
}

// Every picture that is not a PNG passes through here on its way to the next
// loader: nothing is printed.
[[noreturn]] void PngQuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngQuietWarning(png_structp, png_const_charp) {}

// The format of the decoded rows.
void ChoosePngFormat(png_structp png, png_infop info, int colourType, bool expanded, int width,
                     std::size_t rowBytes, PixelFormat* pf) {
  if (colourType == PNG_COLOR_TYPE_PALETTE && !expanded) {
    BuildPalette8PixelFormat(pf);
    png_colorp plte = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &plte, &count) == 0) count = 0;
    for (int i = 0; i < count && i < 256; ++i) {
      pf->palette[i] = (static_cast<std::uint32_t>(plte[i].red) << 16) | (plte[i].green << 8) | plte[i].blue;
    }
  } else if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    if (rowBytes / 2 >= static_cast<std::size_t>(width)) {
      BuildPixelFormatBody(pf, 16, 0xFFu, 0xFFu, 0xFFu, 0);  // grey in the low byte, the alpha byte unused
    } else {
      BuildGray8PixelFormat(pf);
    }
  } else if (png_get_channels(png, info) == 4) {
    BuildPixelFormatBody(pf, 32, 0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u);
  } else {
    BuildRgb24PixelFormat(pf);
  }
}

}  // namespace

int LoadPngImage(DataStream* stream, GraphImage* img) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngQuietError, PngQuietWarning);
  if (png == nullptr) return -1;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return -1;
  }
  // Blocks taken before a libpng error are freed at the jump point.
  png_bytep* volatile rows = nullptr;
  std::uint8_t* volatile pixels = nullptr;
  PngStreamIo io;
  if (setjmp(png_jmpbuf(png))) {
    if (rows != nullptr) TrackedFree(rows);
    if (pixels != nullptr) TrackedFree(pixels);
    png_destroy_read_struct(&png, &info, nullptr);
    return -1;
  }
  PngReadFromStream(png, &io, stream);
  png_set_sig_bytes(png, 0);
  png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
  // Only the chunks that make the pixels are read. libpng takes the other chunks'
  // whole declared length before reading them, so a few bytes could ask for a
  // gigabyte; skipped, they are read through a small buffer.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
  if (!PictureSizeAllowed(width, height)) png_error(png, "picture too large");

  png_set_strip_16(png);
  png_set_packing(png);
  png_set_packswap(png);
  const bool expand = (colourType == PNG_COLOR_TYPE_GRAY && depth <= 8) || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (expand) png_set_expand(png);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const std::size_t rowBytes = png_get_rowbytes(png, info);

  rows = static_cast<png_bytep*>(TRACKED_ALLOC(sizeof(png_bytep) * height));
  pixels = static_cast<std::uint8_t*>(TRACKED_ALLOC(rowBytes * height));
  if (rows == nullptr || pixels == nullptr) png_error(png, "out of memory");
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels + y * rowBytes;
  png_read_image(png, rows);
  png_read_end(png, nullptr);

  GraphImage result{};
  ChoosePngFormat(png, info, colourType, expand, static_cast<int>(width), rowBytes, &result.format);
  result.width = static_cast<int>(width);
  result.height = static_cast<int>(height);
  result.pitch = static_cast<int>(rowBytes);
  result.pixels = pixels;
  TrackedFree(rows);
  png_destroy_read_struct(&png, &info, nullptr);
  *img = result;
  return 0;
}
