// The fixed conversions of the blit: the common pairs of palette, 24-bit, 565 and
// 555 sources into 16- and 32-bit destinations, one shift-and-mask expression per
// pixel. Taken only without dithering, mirroring, alpha sources and key skipping.
#include <cstdint>

#include "graphics/pixel_convert_area.h"

namespace {

enum class Layout { Palette, Rgb24, Rgb32, Argb32, Rgb565, Rgb555, Argb1555, Other };

Layout ClassifyLayout(const PixelFormat& f) {
  if (f.bytesPerPixel == 1) return Layout::Palette;
  const bool rgb888 = f.maskR == 0xFF0000u && f.maskG == 0xFF00u && f.maskB == 0xFFu;
  const bool rgb555 = f.maskR == 0x7C00u && f.maskG == 0x3E0u && f.maskB == 0x1Fu;
  if (f.bitsPerPixel == 24 && rgb888 && f.maskA == 0) return Layout::Rgb24;
  if (f.bitsPerPixel == 32 && rgb888 && f.maskA == 0) return Layout::Rgb32;
  if (f.bitsPerPixel == 32 && rgb888 && f.maskA == 0xFF000000u) return Layout::Argb32;
  if (f.bitsPerPixel == 16 && f.maskR == 0xF800u && f.maskG == 0x7E0u && f.maskB == 0x1Fu && f.maskA == 0)
    return Layout::Rgb565;
  if (f.bitsPerPixel == 16 && rgb555 && f.maskA == 0) return Layout::Rgb555;
  if (f.bitsPerPixel == 16 && rgb555 && f.maskA == 0x8000u) return Layout::Argb1555;
  return Layout::Other;
}

// 0x00RRGGBB truncated to 565 or 555.
std::uint32_t To565(std::uint32_t c) {
  return ((c >> 8) & 0xF800u) | ((c >> 5) & 0x7E0u) | ((c >> 3) & 0x1Fu);
}
std::uint32_t To555(std::uint32_t c) {
  return ((c >> 9) & 0x7C00u) | ((c >> 6) & 0x3E0u) | ((c >> 3) & 0x1Fu);
}
// 565 widened to 0x00RRGGBB with the new low bits 0.
std::uint32_t From565(std::uint32_t v) {
  return ((v & 0xF800u) << 8) | ((v & 0x7E0u) << 5) | ((v & 0x1Fu) << 3);
}
std::uint32_t Narrow565To555(std::uint32_t v) { return (v & 0x1Fu) | ((v & 0xFFC0u) >> 1); }
std::uint32_t Widen555To565(std::uint32_t v) { return (v & 0x3Fu) | ((v & 0x7FE0u) << 1); }

// One row of the table: a source read as 0x00RRGGBB for palette and 24/32-bit
// sources (raw for 16-bit ones) and turned into the destination value.
template <int SrcBytes, int DstBytes, typename PixelOp>
bool RunFixed(const ConvertArea& a, const PixelFormat& src, PixelOp op) {
  WalkConvertArea<SrcBytes, DstBytes>(a, [&](const std::uint8_t* s, std::uint8_t* d, int, int) {
    const std::uint32_t v = SrcBytes == 1 ? src.palette[*s] & 0xFFFFFFu : LoadPixel<SrcBytes>(s);
    StorePixel<DstBytes>(d, op(v));
  });
  return true;
}

bool ConvertPlain(const ConvertArea& a, const PixelFormat& src, Layout from, Layout to) {
  const bool to32 = to == Layout::Rgb32 || to == Layout::Argb32;
  switch (from) {
    case Layout::Palette:
      if (to == Layout::Rgb565) return RunFixed<1, 2>(a, src, [](std::uint32_t c) { return To565(c); });
      if (to == Layout::Rgb555) return RunFixed<1, 2>(a, src, [](std::uint32_t c) { return To555(c) | 0x8000u; });
      if (to == Layout::Rgb32) return RunFixed<1, 4>(a, src, [](std::uint32_t c) { return c | 0xFF000000u; });
      return false;
    case Layout::Rgb24:
      if (to == Layout::Rgb565) return RunFixed<3, 2>(a, src, [](std::uint32_t c) { return To565(c); });
      if (to == Layout::Rgb555) return RunFixed<3, 2>(a, src, [](std::uint32_t c) { return To555(c) | 0x8000u; });
      if (to32) return RunFixed<3, 4>(a, src, [](std::uint32_t c) { return c | 0xFF000000u; });
      return false;
    case Layout::Rgb32:
      if (to == Layout::Rgb565) return RunFixed<4, 2>(a, src, [](std::uint32_t c) { return To565(c); });
      return false;
    case Layout::Rgb565:
      if (to == Layout::Rgb24) return RunFixed<2, 3>(a, src, [](std::uint32_t v) { return From565(v); });
      // The unused fourth byte is 0xFF as in every other 32-bit write, so converted
      // pixels and packed transparent colours agree.
      if (to == Layout::Rgb32) return RunFixed<2, 4>(a, src, [](std::uint32_t v) { return From565(v) | 0xFF000000u; });
      if (to == Layout::Rgb555) return RunFixed<2, 2>(a, src, [](std::uint32_t v) { return Narrow565To555(v) | 0x8000u; });
      return false;
    case Layout::Rgb555:
      if (to == Layout::Rgb565) return RunFixed<2, 2>(a, src, [](std::uint32_t v) { return Widen555To565(v); });
      return false;
    default:
      return false;
  }
}

// With a key: the key's colour gets alpha 0, every other colour full alpha.
bool ConvertKeyed(const ConvertArea& a, const PixelFormat& src, Layout from, Layout to, std::uint32_t key) {
  const std::uint32_t colourKey = key & 0xFFFFFFu;
  const std::uint32_t key555 = To555(colourKey);
  auto alpha1555 = [](std::uint32_t v555, bool transparent) { return transparent ? v555 : v555 | 0x8000u; };
  auto alpha8888 = [](std::uint32_t c, bool transparent) { return transparent ? c : c | 0xFF000000u; };
  switch (from) {
    case Layout::Palette:
      if (to == Layout::Argb1555)
        return RunFixed<1, 2>(a, src, [&](std::uint32_t c) { return alpha1555(To555(c), c == colourKey); });
      if (to == Layout::Argb32)
        return RunFixed<1, 4>(a, src, [&](std::uint32_t c) { return alpha8888(c, c == colourKey); });
      return false;
    case Layout::Rgb24:
      if (to == Layout::Argb1555)
        return RunFixed<3, 2>(a, src, [&](std::uint32_t c) { return alpha1555(To555(c), To555(c) == key555); });
      if (to == Layout::Argb32)
        return RunFixed<3, 4>(a, src, [&](std::uint32_t c) { return alpha8888(c, c == colourKey); });
      return false;
    case Layout::Rgb565:
      if (to == Layout::Argb1555)
        return RunFixed<2, 2>(a, src, [&](std::uint32_t v) {
          const std::uint32_t v555 = Narrow565To555(v);
          return alpha1555(v555, v555 == key555);
        });
      return false;
    default:
      return false;
  }
}

}  // namespace

bool ConvertFixedLayouts(const ConvertArea& a, const PixelFormat& dst, const PixelFormat& src,
                         bool keyToAlpha, std::uint32_t key) {
  const Layout from = ClassifyLayout(src);
  const Layout to = ClassifyLayout(dst);
  return keyToAlpha ? ConvertKeyed(a, src, from, to, key) : ConvertPlain(a, src, from, to);
}
