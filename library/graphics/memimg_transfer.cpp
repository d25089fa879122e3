// Loading a MEMIMG from a GraphImage (with the palette tables, transparency runs
// and premultiplied copy derived from it) and copying a MEMIMG back out.
#include <algorithm>
#include <cstring>

#include "graphics/memimg.h"
#include "graphics/pixel_bytes.h"
#include "graphics/pixel_convert_blt.h"
#include "workers/tile_frame.h"

namespace {

// Clips a span of length len copied from srcPos to dstPos (right to left when
// mirrored) to [0, srcLimit) and [0, dstLimit). len <= 0 afterwards: nothing left.
void ClipSpan(int* srcPos, int* dstPos, int* len, int srcLimit, int dstLimit, bool mirror) {
  long long s = *srcPos, d = *dstPos, n = *len;
  // Source side.
  const long long sl = std::max(s, 0LL), sr = std::min(s + n, static_cast<long long>(srcLimit));
  d += mirror ? (s + n) - sr : sl - s;
  s = sl;
  n = sr - sl;
  // Destination side.
  const long long dl = std::max(d, 0LL), dr = std::min(d + n, static_cast<long long>(dstLimit));
  s += mirror ? (d + n) - dr : dl - d;
  d = dl;
  n = dr - dl;
  *srcPos = static_cast<int>(std::max(s, 0LL));
  *dstPos = static_cast<int>(d);
  *len = n > 0 ? static_cast<int>(n) : 0;
}

// The palette table of a palette image from the source picture's palette.
void FillMemImgPalette(MEMIMG* img, const PixelFormat& source) {
  MemImgPalette* table = static_cast<MemImgPalette*>(img->palette);
  for (int i = 0; i < 256; ++i) {
    const std::uint32_t c = source.palette[i] & 0xFFFFFFu;
    if (img->kind == MEMIMG_KIND_16BIT) {
      table->rgb565[i] = static_cast<std::uint16_t>(((c >> 8) & 0xF800u) | ((c >> 5) & 0x7E0u) | ((c >> 3) & 0x1Fu));
    } else {
      table->xrgb[i] = c;
    }
  }
  const std::size_t tableBytes = img->kind == MEMIMG_KIND_16BIT ? 512 : 1024;
  std::memcpy(img->workPalette, img->palette, tableBytes);
  img->paletteCount = 256;
}

// One row's pixels classified as skip / opaque / translucent.
template <typename Classify>
std::uint8_t* EncodeRunRow(std::uint8_t* out, int width, Classify classify) {
  int x = 0;
  while (x < width) {
    const std::uint8_t type = classify(x);
    int run = 1;
    while (x + run < width && run < MEMIMG_RUN_MAX && classify(x + run) == type) ++run;
    *out++ = static_cast<std::uint8_t>(type | (run - 1));
    x += run;
  }
  *out++ = MEMIMG_RUN_END;
  return out;
}

std::uint8_t AlphaRunType(std::uint8_t alpha) {
  if (alpha == 0) return MEMIMG_RUN_SKIP;
  return alpha == 255 ? MEMIMG_RUN_OPAQUE : MEMIMG_RUN_TRANSLUCENT;
}

void BuildRunData(MEMIMG* img) {
  const int bytes = img->format->bytesPerPixel;
  const std::uint32_t widthMask = bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1u;
  const std::uint32_t key = img->transparentColor & widthMask;
  const int alphaByte = img->kind == MEMIMG_KIND_16BIT ? 2 : 3;
  std::uint8_t* out = img->runData;
  for (int y = 0; y < img->height; ++y) {
    const std::uint8_t* row = static_cast<const std::uint8_t*>(img->pixels) + static_cast<std::ptrdiff_t>(y) * img->pitch;
    if (img->alphaFlag) {
      out = EncodeRunRow(out, img->width, [&](int x) { return AlphaRunType(row[x * bytes + alphaByte]); });
    } else {
      out = EncodeRunRow(out, img->width, [&](int x) {
        return LoadPixelBytes(row + x * bytes, bytes) == key ? MEMIMG_RUN_SKIP : MEMIMG_RUN_OPAQUE;
      });
    }
  }
  img->runDataValid = 1;
}

// Colour x alpha >> 8 for every pixel, the alpha byte kept.
void BuildPremultiplied(MEMIMG* img) {
  for (int y = 0; y < img->height; ++y) {
    const std::size_t offset = static_cast<std::size_t>(y) * img->pitch;
    const std::uint8_t* s = static_cast<const std::uint8_t*>(img->pixels) + offset;
    std::uint8_t* d = static_cast<std::uint8_t*>(img->premultiplied) + offset;
    for (int x = 0; x < img->width; ++x, s += 4, d += 4) {
      std::uint32_t v = LoadPixel<4>(s);
      if (img->kind == MEMIMG_KIND_16BIT) {
        const std::uint32_t c = v & 0xFFFFu, a = (v >> 16) & 0xFFu;
        const std::uint32_t scaled =
            ((((c & 0x1Fu) * a) & 0x1F00u) | (((c & 0xF800u) * a) & 0xF80000u) | (((c & 0x7E0u) * a) & 0x7E000u)) >> 8;
        v = (v & 0xFFFF0000u) | scaled;
      } else {
        const std::uint32_t a = v >> 24;
        v = (v & 0xFF000000u) | ((((v >> 16) & 0xFFu) * a >> 8) << 16) | ((((v >> 8) & 0xFFu) * a >> 8) << 8) |
            ((v & 0xFFu) * a >> 8);
      }
      StorePixel<4>(d, v);
    }
  }
  img->premultipliedValid = 1;
}

}  // namespace

int TransferGraphImageToMemImg(const GraphImage* image, const GraphImage* alphaImage, MEMIMG* img, int x, int y,
                               int width, int height, int destX, int destY, int ditherMode) {
  FlushTileFrame();
  if (image->pixels == nullptr || img->pixels == nullptr) return -1;
  if (alphaImage != nullptr && alphaImage->pixels == nullptr) return -1;
  const int srcWidth = alphaImage != nullptr ? std::min(image->width, alphaImage->width) : image->width;
  const int srcHeight = alphaImage != nullptr ? std::min(image->height, alphaImage->height) : image->height;
  ClipSpan(&x, &destX, &width, srcWidth, img->width, false);
  ClipSpan(&y, &destY, &height, srcHeight, img->height, false);
  if (width <= 0 || height <= 0) return 0;
  const RECT rect{x, y, x + width, y + height};

  const bool colourKind = img->kind == MEMIMG_KIND_16BIT || img->kind == MEMIMG_KIND_32BIT;
  const bool withAlphaImage = colourKind && alphaImage != nullptr;
  const int result = ConvertPixelFormatBlt(
      img->pixels, img->pitch, img->format, image->pixels, image->pitch, &image->format,
      withAlphaImage ? alphaImage->pixels : nullptr, withAlphaImage ? alphaImage->pitch : 0,
      withAlphaImage ? &alphaImage->format : nullptr, destX, destY, &rect, 0, 0,
      colourKind ? img->transparentColor : 0, ditherMode, 0, 0, 0);
  if (result < 0) return -1;
  if (!colourKind) return 0;

  if (img->paletteFlag) FillMemImgPalette(img, image->format);
  img->premultipliedValid = 0;
  img->runDataValid = 0;
  MarkMemImgPixelsChanged(img);
  const bool whole = destX == 0 && destY == 0 && width == img->width && height == img->height;
  if (whole && img->runData != nullptr) {
    if (img->alphaFlag && img->premultiplied != nullptr) BuildPremultiplied(img);
    BuildRunData(img);
  }
  return 0;
}

void TransferMemImg(GraphImage* dest, const MEMIMG* img, int x, int y, int width, int height, int destX,
                    int destY, int mirror, int ditherMode) {
  FlushTileFrame();
  const bool plainColour = (img->kind == MEMIMG_KIND_16BIT || img->kind == MEMIMG_KIND_32BIT) &&
                           !img->paletteFlag && !img->alphaFlag;
  if (!plainColour || img->pixels == nullptr || dest->pixels == nullptr) return;
  ClipSpan(&x, &destX, &width, img->width, dest->width, mirror != 0);
  ClipSpan(&y, &destY, &height, img->height, dest->height, false);
  if (width <= 0 || height <= 0) return;
  const RECT rect{x, y, x + width, y + height};
  ConvertPixelFormatBlt(dest->pixels, dest->pitch, &dest->format, img->pixels, img->pitch, img->format, nullptr,
                        0, nullptr, destX, destY, &rect, mirror, 0, 0, ditherMode, 0, 0, 0);
}
