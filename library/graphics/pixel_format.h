// PixelFormat: the one description of how a pixel value is laid out. Decoded
// pictures, in-memory images, the screen and every texture format carry one, and
// every conversion between two layouts reads two of them.
#pragma once

#include <cstdint>

struct PixelFormat {
  std::uint16_t bitsPerPixel;   // 8, 16, 24 or 32
  std::uint16_t bytesPerPixel;  // bitsPerPixel / 8
  std::uint8_t widthR, widthG, widthB, widthA;  // bits of each channel; 0 = absent
  std::uint8_t shiftR, shiftG, shiftB, shiftA;  // lowest bit of each channel
  std::uint32_t maskR, maskG, maskB, maskA;     // the channel's bits; 0 = absent
  std::uint32_t noUseMask;                      // bits that belong to no channel
  // Meaningful for one-byte (palette) formats only: entry i as 0x00RRGGBB, so the
  // bytes in memory are blue, green, red, 0. The channel fields of a one-byte format
  // describe these entries, not the index.
  std::uint32_t palette[256];
  std::uint8_t noUseShift;  // lowest bit of noUseMask (0 when it is 0)
  std::uint8_t noUseWidth;  // consecutive set bits of noUseMask from there
};

// Builds pf from a bit count and four channel masks (0 = channel absent). The
// palette is not touched. Returns 0.
int BuildPixelFormatBody(PixelFormat* pf, int bits, std::uint32_t maskR, std::uint32_t maskG,
                         std::uint32_t maskB, std::uint32_t maskA);

// The fixed formats. Each sets the bit counts, the four channels and the no-use
// mask; grey 8 also fills the palette with the grey ramp. Return 0.
int BuildRgb24PixelFormat(PixelFormat* pf);     // 24 bits, R 0xFF0000, G 0xFF00, B 0xFF
int BuildPalette8PixelFormat(PixelFormat* pf);  // 8-bit indices; the caller fills the palette
int BuildGray8PixelFormat(PixelFormat* pf);     // 8-bit indices into a grey ramp

// Packs 8-bit channel values into pf's layout; the no-use bits are set to 1.
std::uint32_t PackPixel(const PixelFormat* pf, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                        std::uint8_t a);

// Re-packs a direct-colour pixel from src's layout into dst's, channel by channel
// (new low bits 0; an absent source alpha becomes opaque).
std::uint32_t ConvertPixelBetweenFormats(const PixelFormat* dst, const PixelFormat* src,
                                         std::uint32_t pixel);

// Recomputes the no-use mask from the channel widths (0 when they fill the pixel).
void FixPixelFormatNoUseMask(PixelFormat* pf);

// 1 when the bit counts and the four channel masks are equal, else 0.
int SamePixelFormat(const PixelFormat* a, const PixelFormat* b);
