#include "ddraw/pixel_layout.h"

namespace {

constexpr PixelLayout kLayouts[] = {
    /* RGB565   */ {2, 16, 0xF800, 0x07E0, 0x001F, 0, DDPF_RGB, true},
    /* X1R5G5B5 */ {2, 16, 0x7C00, 0x03E0, 0x001F, 0, DDPF_RGB, true},
    /* A1R5G5B5 */ {2, 16, 0x7C00, 0x03E0, 0x001F, 0x8000, DDPF_RGB | DDPF_ALPHAPIXELS, true},
    /* A4R4G4B4 */ {2, 16, 0x0F00, 0x00F0, 0x000F, 0xF000, DDPF_RGB | DDPF_ALPHAPIXELS, true},
    /* X8R8G8B8 */ {4, 32, 0xFF0000, 0xFF00, 0xFF, 0, DDPF_RGB, true},
    /* A8R8G8B8 */ {4, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, DDPF_RGB | DDPF_ALPHAPIXELS, true},
    /* R8G8B8   */ {3, 24, 0xFF0000, 0xFF00, 0xFF, 0, DDPF_RGB, false},
    /* Z16      */ {2, 16, 0, 0xFFFF, 0, 0, DDPF_ZBUFFER, true},
};
static_assert(sizeof(kLayouts) / sizeof(kLayouts[0]) == static_cast<int>(DDrawPixelKind::Count));

constexpr DWORD kUnsupportedFormatFlags =
    DDPF_FOURCC | DDPF_ALPHA | DDPF_LUMINANCE | DDPF_BUMPLUMINANCE | DDPF_BUMPDUDV;

}  // namespace

const PixelLayout& GetPixelLayout(DDrawPixelKind kind) { return kLayouts[static_cast<int>(kind)]; }

DDrawPixelKind FindPixelKind(const DDPIXELFORMAT& format) {
  if (format.dwFlags & kUnsupportedFormatFlags) return DDrawPixelKind::Count;
  if (format.dwFlags & DDPF_ZBUFFER) {
    bool maskFits = format.dwZBitMask == 0 || format.dwZBitMask == 0xFFFF;
    return format.dwZBufferBitDepth == 16 && maskFits ? DDrawPixelKind::Z16 : DDrawPixelKind::Count;
  }
  if (!(format.dwFlags & DDPF_RGB)) return DDrawPixelKind::Count;
  DWORD alphaMask = (format.dwFlags & DDPF_ALPHAPIXELS) ? format.dwRGBAlphaBitMask : 0;
  for (int i = 0; i < static_cast<int>(DDrawPixelKind::Count); ++i) {
    const PixelLayout& layout = kLayouts[i];
    if (!(layout.formatFlags & DDPF_RGB)) continue;
    if (layout.bits == format.dwRGBBitCount && layout.redMask == format.dwRBitMask &&
        layout.greenMask == format.dwGBitMask && layout.blueMask == format.dwBBitMask &&
        layout.alphaMask == alphaMask) {
      return static_cast<DDrawPixelKind>(i);
    }
  }
  return DDrawPixelKind::Count;
}

void DescribePixelKind(DDrawPixelKind kind, DDPIXELFORMAT* format) {
  const PixelLayout& layout = GetPixelLayout(kind);
  *format = DDPIXELFORMAT{};
  format->dwSize = sizeof(DDPIXELFORMAT);
  format->dwFlags = layout.formatFlags;
  format->dwRGBBitCount = layout.bits;
  format->dwRBitMask = layout.redMask;
  format->dwGBitMask = layout.greenMask;
  format->dwBBitMask = layout.blueMask;
  format->dwRGBAlphaBitMask = layout.alphaMask;
}
