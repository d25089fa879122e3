// The conversion blit: flag normalisation and the choice of path. Index copies,
// same-layout copies and keying to alpha are here; the fixed and the general
// conversions have their own files.
#include "graphics/pixel_convert_blt.h"

#include <cstring>

#include "graphics/pixel_convert_area.h"

namespace {

bool SameLayout(const PixelFormat& a, const PixelFormat& b) {
  return a.bitsPerPixel == b.bitsPerPixel && a.maskR == b.maskR && a.maskG == b.maskG &&
         a.maskB == b.maskB && a.maskA == b.maskA;
}

bool SameColourLayout(const PixelFormat& a, const PixelFormat& b) {
  return a.bitsPerPixel == b.bitsPerPixel && a.maskR == b.maskR && a.maskG == b.maskG &&
         a.maskB == b.maskB;
}

// Every colour channel (and a source alpha) as wide in both layouts: values are only
// moved, so a dither has no dropped bits to spread and changes nothing.
bool SameChannelWidths(const PixelFormat& dst, const PixelFormat& src) {
  return src.widthR == dst.widthR && src.widthG == dst.widthG && src.widthB == dst.widthB &&
         (src.maskA == 0 || src.widthA == dst.widthA);
}

std::uint32_t PixelWidthMask(int bytes) { return bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1u; }

// Rows copied unchanged, reversed under mirror, or with the key's pixels left out.
template <int Bytes>
void CopySameLayout(const ConvertArea& a, bool skipKey, std::uint32_t key) {
  if (!a.mirror && !skipKey) {
    const std::size_t rowBytes = static_cast<std::size_t>(a.width) * Bytes;
    for (int y = 0; y < a.height; ++y) std::memcpy(a.dst + y * a.dstPitch, a.src + y * a.srcPitch, rowBytes);
    return;
  }
  const std::uint32_t rawKey = key & PixelWidthMask(Bytes);
  WalkConvertArea<Bytes, Bytes>(a, [&](const std::uint8_t* s, std::uint8_t* d, int, int) {
    const std::uint32_t v = LoadPixel<Bytes>(s);
    if (!skipKey || v != rawKey) StorePixel<Bytes>(d, v);
  });
}

// Same colour layout with a key: the key's colour loses its alpha, everything else
// becomes opaque. Bits outside the colour channels do not take part in the test.
template <int Bytes>
void KeyToAlphaSameLayout(const ConvertArea& a, const PixelFormat& dst, std::uint32_t key) {
  const std::uint32_t notColour = ~(dst.maskR | dst.maskG | dst.maskB) & PixelWidthMask(Bytes);
  const std::uint32_t packedKey =
      PackPixel(&dst, static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
                static_cast<std::uint8_t>(key), 255) | notColour;
  WalkConvertArea<Bytes, Bytes>(a, [&](const std::uint8_t* s, std::uint8_t* d, int, int) {
    const std::uint32_t v = LoadPixel<Bytes>(s);
    StorePixel<Bytes>(d, (v | notColour) == packedKey ? v & ~dst.maskA : v | dst.maskA);
  });
}

}  // namespace

int ConvertPixelFormatBlt(void* dstBlock, int dstPitch, const PixelFormat* dstFormat, const void* srcBlock,
                          int srcPitch, const PixelFormat* srcFormat, const void* alphaImage,
                          int alphaPitch, const PixelFormat* alphaFormat, int dstX, int dstY,
                          const RECT* srcRect, int mirror, int keyToAlpha, std::uint32_t key,
                          int ditherMode, int alphaOnly, int alphaFromRed, int skipKey) {
  const PixelFormat& dst = *dstFormat;
  const PixelFormat& src = *srcFormat;
  const PixelFormat noFormat{};
  const PixelFormat& alpha = alphaFormat != nullptr ? *alphaFormat : noFormat;
  const int dstBytes = dst.bytesPerPixel;
  const int srcBytes = src.bytesPerPixel;

  const bool dstAlpha = dst.maskA != 0;
  const bool srcAlpha = src.maskA != 0;
  const bool alphaGiven = alphaImage != nullptr;
  const bool alphaWork = dstAlpha && (alphaGiven || srcAlpha);
  const bool alphaFromImage = dstAlpha && alphaGiven && !srcAlpha;
  const bool keying = keyToAlpha && !alphaWork && dstAlpha && !alphaFromRed;
  const bool skipping = skipKey && !alphaWork && !mirror;

  const int width = srcRect->right - srcRect->left;
  const int height = srcRect->bottom - srcRect->top;
  if (width <= 0 || height <= 0) return 0;
  if (dstBytes < 1 || dstBytes > 4 || srcBytes < 1 || srcBytes > 4) return -1;

  ConvertArea area;
  area.src = static_cast<const std::uint8_t*>(srcBlock) +
             static_cast<std::ptrdiff_t>(srcRect->top) * srcPitch +
             static_cast<std::ptrdiff_t>(srcRect->left) * srcBytes;
  area.srcPitch = srcPitch;
  area.dst = static_cast<std::uint8_t*>(dstBlock) + static_cast<std::ptrdiff_t>(dstY) * dstPitch +
             static_cast<std::ptrdiff_t>(dstX) * dstBytes;
  area.dstPitch = dstPitch;
  area.alpha = alphaGiven ? static_cast<const std::uint8_t*>(alphaImage) +
                                static_cast<std::ptrdiff_t>(srcRect->top) * alphaPitch +
                                static_cast<std::ptrdiff_t>(srcRect->left) * alpha.bytesPerPixel
                          : nullptr;
  area.alphaPitch = alphaPitch;
  area.width = width;
  area.height = height;
  area.mirror = mirror != 0;

  // Palette indices: only another index block can receive them.
  if (dstBytes == 1 && !alphaOnly && !skipping) {
    if (srcBytes != 1) return -1;
    CopySameLayout<1>(area, false, 0);
    return 0;
  }
  const bool plain = !keying && !alphaFromImage && !alphaOnly && !alphaFromRed;
  if (plain && SameLayout(dst, src)) {
    WithPixelBytes(dstBytes, [&](auto bytes) { CopySameLayout<bytes()>(area, skipping, key); });
    return 0;
  }
  if (keying && SameColourLayout(dst, src) && !alphaOnly && !alphaFromRed && !skipping) {
    WithPixelBytes(dstBytes, [&](auto bytes) { KeyToAlphaSameLayout<bytes()>(area, dst, key); });
    return 0;
  }
  const bool undithered = ditherMode == DITHER_NONE || SameChannelWidths(dst, src);
  if (undithered && !area.mirror && !alphaGiven && !alphaOnly && !alphaFromRed &&
      !skipping && ConvertFixedLayouts(area, dst, src, keying, key)) {
    return 0;
  }
  GeneralConvertOptions options;
  options.keyToAlpha = keying;
  options.skipKey = skipping;
  options.alphaOnly = alphaOnly != 0;
  options.alphaFromRed = alphaFromRed != 0;
  options.alphaFromImage = alphaFromImage;
  options.key = key;
  options.ditherMode = ditherMode;
  ConvertGeneral(area, dst, src, alpha, options);
  return 0;
}
