// Building, packing and comparing pixel formats.
#include "graphics/pixel_format.h"

#include "graphics/pixel_format_bits.h"

namespace {

void SetChannel(std::uint32_t mask, std::uint32_t* maskOut, std::uint8_t* shiftOut,
                std::uint8_t* widthOut) {
  const ChannelScan scan = ScanChannelMask(mask);
  *maskOut = mask;
  *shiftOut = scan.shift;
  *widthOut = scan.width;
}

void SetRgbChannels(PixelFormat* pf, int bits) {
  pf->bitsPerPixel = static_cast<std::uint16_t>(bits);
  pf->bytesPerPixel = static_cast<std::uint16_t>(bits / 8);
  SetChannel(0xFF0000u, &pf->maskR, &pf->shiftR, &pf->widthR);
  SetChannel(0xFF00u, &pf->maskG, &pf->shiftG, &pf->widthG);
  SetChannel(0xFFu, &pf->maskB, &pf->shiftB, &pf->widthB);
  SetChannel(0u, &pf->maskA, &pf->shiftA, &pf->widthA);
}

// An 8-bit value moved to a channel of the given width (top bits kept).
std::uint32_t FitByteToWidth(std::uint32_t v, int width) {
  return width <= 8 ? v >> (8 - width) : v << (width - 8);
}

}  // namespace

int BuildPixelFormatBody(PixelFormat* pf, int bits, std::uint32_t maskR, std::uint32_t maskG,
                         std::uint32_t maskB, std::uint32_t maskA) {
  pf->bitsPerPixel = static_cast<std::uint16_t>(bits);
  pf->bytesPerPixel = static_cast<std::uint16_t>(bits / 8);
  SetChannel(maskR, &pf->maskR, &pf->shiftR, &pf->widthR);
  SetChannel(maskG, &pf->maskG, &pf->shiftG, &pf->widthG);
  SetChannel(maskB, &pf->maskB, &pf->shiftB, &pf->widthB);
  SetChannel(maskA, &pf->maskA, &pf->shiftA, &pf->widthA);
  pf->noUseMask = LowBitsMask(bits) & ~(maskR | maskG | maskB | maskA);
  const ChannelScan noUse = ScanChannelMask(pf->noUseMask);
  pf->noUseShift = noUse.shift;
  pf->noUseWidth = noUse.width;
  return 0;
}

int BuildRgb24PixelFormat(PixelFormat* pf) {
  SetRgbChannels(pf, 24);
  pf->noUseMask = 0;
  return 0;
}

int BuildPalette8PixelFormat(PixelFormat* pf) {
  SetRgbChannels(pf, 8);
  pf->noUseMask = 0xFF000000u;
  return 0;
}

int BuildGray8PixelFormat(PixelFormat* pf) {
  BuildPalette8PixelFormat(pf);
  for (std::uint32_t i = 0; i < 256; ++i) pf->palette[i] = (i << 16) | (i << 8) | i;
  return 0;
}

std::uint32_t PackPixel(const PixelFormat* pf, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                        std::uint8_t a) {
  std::uint32_t value = pf->noUseMask;
  value |= (FitByteToWidth(r, pf->widthR) << pf->shiftR) & pf->maskR;
  value |= (FitByteToWidth(g, pf->widthG) << pf->shiftG) & pf->maskG;
  value |= (FitByteToWidth(b, pf->widthB) << pf->shiftB) & pf->maskB;
  if (pf->widthA != 0) value |= (FitByteToWidth(a, pf->widthA) << pf->shiftA) & pf->maskA;
  return value;
}

std::uint32_t ConvertPixelBetweenFormats(const PixelFormat* dst, const PixelFormat* src,
                                         std::uint32_t pixel) {
  auto convert = [pixel](std::uint32_t srcMask, int srcShift, int srcWidth, int dstWidth) {
    std::uint64_t v = (pixel & srcMask) >> srcShift;
    if (dstWidth > srcWidth) v <<= dstWidth - srcWidth;
    if (dstWidth < srcWidth) v >>= srcWidth - dstWidth;
    return v;
  };
  const std::uint64_t r = convert(src->maskR, src->shiftR, src->widthR, dst->widthR);
  const std::uint64_t g = convert(src->maskG, src->shiftG, src->widthG, dst->widthG);
  const std::uint64_t b = convert(src->maskB, src->shiftB, src->widthB, dst->widthB);
  const std::uint64_t a = src->widthA == 0 ? dst->maskA >> dst->shiftA
                                           : convert(src->maskA, src->shiftA, src->widthA, dst->widthA);
  const std::uint64_t value = (a << dst->shiftA) | (b << dst->shiftB) | (g << dst->shiftG) |
                              (r << dst->shiftR) | dst->noUseMask;
  return static_cast<std::uint32_t>(value);
}

void FixPixelFormatNoUseMask(PixelFormat* pf) {
  const int used = pf->widthR + pf->widthG + pf->widthB + pf->widthA;
  if (used == pf->bitsPerPixel) {
    pf->noUseMask = 0;
    return;
  }
  pf->noUseMask = LowBitsMask(pf->bitsPerPixel) & ~(pf->maskR | pf->maskG | pf->maskB | pf->maskA);
}

int SamePixelFormat(const PixelFormat* a, const PixelFormat* b) {
  return a->bitsPerPixel == b->bitsPerPixel && a->maskR == b->maskR && a->maskG == b->maskG &&
                 a->maskB == b->maskB && a->maskA == b->maskA
             ? 1
             : 0;
}
