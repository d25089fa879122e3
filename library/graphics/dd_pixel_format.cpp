// PixelFormat <-> DDPIXELFORMAT, and the MEMIMG kinds as DirectDraw formats.
#include "graphics/dd_pixel_format.h"

#include <cstring>

#include "graphics/memimg.h"

int PixelFormatFromDDPixelFormat(const DDPIXELFORMAT* ddpf, PixelFormat* pf) {
  return BuildPixelFormatBody(pf, static_cast<int>(ddpf->dwRGBBitCount), ddpf->dwRBitMask,
                              ddpf->dwGBitMask, ddpf->dwBBitMask, ddpf->dwRGBAlphaBitMask);
}

int BuildDDPixelFormatBody(DDPIXELFORMAT* ddpf, std::uint32_t bits, std::uint32_t maskR,
                           std::uint32_t maskG, std::uint32_t maskB, std::uint32_t maskA) {
  std::memset(ddpf, 0, sizeof *ddpf);
  ddpf->dwSize = sizeof *ddpf;
  ddpf->dwFlags = DDPF_RGB;
  ddpf->dwRGBBitCount = bits;
  ddpf->dwRBitMask = maskR;
  ddpf->dwGBitMask = maskG;
  ddpf->dwBBitMask = maskB;
  ddpf->dwRGBAlphaBitMask = maskA;
  return 0;
}

namespace {

struct StandardDDFormats {
  DDPIXELFORMAT colour[2][2][2];  // [kind][alpha][palette]
  DDPIXELFORMAT single[2];        // kinds 2 and 3
};

StandardDDFormats BuildStandardDDFormats() {
  StandardDDFormats formats{};
  for (int kind = 0; kind < 2; ++kind) {
    for (int alpha = 0; alpha < 2; ++alpha) {
      for (int palette = 0; palette < 2; ++palette) {
        const PixelFormat* pf = GetStandardPixelFormat(kind, alpha, palette);
        BuildDDPixelFormatBody(&formats.colour[kind][alpha][palette], pf->bitsPerPixel, pf->maskR,
                               pf->maskG, pf->maskB, pf->maskA);
      }
    }
  }
  // The single-channel kinds carry only their bit count and all-channel masks.
  const DWORD singleBits[2] = {8, 16};
  const DWORD singleMask[2] = {0xFF, 0xFFFF};
  for (int i = 0; i < 2; ++i) {
    DDPIXELFORMAT& f = formats.single[i];
    f.dwRGBBitCount = singleBits[i];
    f.dwRBitMask = f.dwGBitMask = f.dwBBitMask = f.dwRGBAlphaBitMask = singleMask[i];
  }
  return formats;
}

}  // namespace

const DDPIXELFORMAT* GetStandardDDPixelFormat(int kind, int alphaFlag, int paletteFlag) {
  static const StandardDDFormats formats = BuildStandardDDFormats();
  if (kind < 0 || kind > 3) return nullptr;
  if (kind >= 2) return &formats.single[kind - 2];
  return &formats.colour[kind][alphaFlag ? 1 : 0][paletteFlag ? 1 : 0];
}
