#include "graphics/texture_formats.h"

#include <cstring>

#include "d3d/d3d.h"
#include "graphics/dd_pixel_format.h"
#include "graphics/screen_mode.h"

namespace {

TextureFormat g_formats[kTextureFormatKindCount];
DDPIXELFORMAT g_zBufferFormat;
D3DDEVICEDESC7 g_chosenDevice;

// The kind a missing record is copied from, in the order the copies are made.
struct FillFrom {
  int kind;
  int from;
};
constexpr FillFrom kFillFrom[] = {{kTexturePlain32, kTexturePlain16},     {kTextureAlpha32, kTextureAlpha16},
                                  {kTextureAlphaTest16, kTextureAlpha16}, {kTextureAlphaTest32, kTextureAlpha32},
                                  {kTextureTarget16, kTexturePlain16},    {kTextureTarget32, kTexturePlain32},
                                  {kTextureTargetAlpha, kTextureAlpha32}};

bool IsMissing(int kind) { return g_formats[kind].format.bitsPerPixel == 0; }

void Store(int kind, const DDPIXELFORMAT& ddFormat, const PixelFormat& format) {
  g_formats[kind].ddFormat = ddFormat;
  g_formats[kind].format = format;
}

}  // namespace

void ClearTextureFormats() {
  std::memset(g_formats, 0, sizeof(g_formats));
  std::memset(&g_zBufferFormat, 0, sizeof(g_zBufferFormat));
}

int CompleteTextureFormats() {
  if (IsMissing(kTexturePlain16)) return -1;
  for (const FillFrom& fill : kFillFrom) {
    if (IsMissing(fill.kind)) g_formats[fill.kind] = g_formats[fill.from];
  }
  return 0;
}

TextureFormatKind SelectTextureFormatKind(std::uint8_t alphaChannel, std::uint8_t drawValid, std::uint8_t alphaTest,
                                          int colourDepth) {
  const int d = colourDepth == 16 ? 0 : 1;
  if (drawValid) return (alphaChannel || alphaTest) ? kTextureTargetAlpha : static_cast<TextureFormatKind>(kTextureTarget16 + d);
  if (alphaChannel) return static_cast<TextureFormatKind>(kTextureAlpha16 + d);
  if (alphaTest) return static_cast<TextureFormatKind>(kTextureAlphaTest16 + d);
  return static_cast<TextureFormatKind>(kTexturePlain16 + d);
}

TextureFormatKind SelectTextureFormatKindFor(const GraphFlags& flags) {
  return SelectTextureFormatKind(flags.alphaChannel, flags.drawValid, flags.alphaTest, flags.colourDepth);
}

const TextureFormat* GetTextureFormatRecord(int kind) {
  return kind >= 0 && kind < kTextureFormatKindCount ? &g_formats[kind] : nullptr;
}

const PixelFormat* GetTextureFormatPixelFormat(int kind) {
  const TextureFormat* record = GetTextureFormatRecord(kind);
  return record != nullptr ? &record->format : nullptr;
}

const PixelFormat* GetTextureFormatPixelFormatFor(const GraphFlags& flags) {
  return GetTextureFormatPixelFormat(SelectTextureFormatKindFor(flags));
}

const PixelFormat* GetTextureFormatPixelFormatByFlags(std::uint8_t alphaChannel, std::uint8_t alphaTest, int bits32,
                                                      std::uint8_t renderTarget) {
  return GetTextureFormatPixelFormat(SelectTextureFormatKind(alphaChannel, renderTarget, alphaTest, bits32 ? 32 : 16));
}

const DDPIXELFORMAT* GetZBufferFormat() { return &g_zBufferFormat; }

const D3DDEVICEDESC7* GetChosenDeviceDescription() { return &g_chosenDevice; }

HRESULT EnumD3DDeviceCallback(LPSTR, LPSTR, D3DDEVICEDESC7* device, LPVOID found) {
  const bool tnl = device->deviceGUID == IID_IDirect3DTnLHalDevice;
  if (!tnl && !(device->deviceGUID == IID_IDirect3DHALDevice)) return D3DENUMRET_OK;
  const int depth = GetRequestedColorBitDepth();
  const DWORD wanted = depth == 16 ? DDBD_16 : depth == 32 ? DDBD_32 : 0;
  if (wanted == 0 || !(device->dwDeviceRenderBitDepth & wanted)) return D3DENUMRET_OK;
  g_chosenDevice = *device;
  *static_cast<int*>(found) = 1;
  return tnl ? D3DENUMRET_CANCEL : D3DENUMRET_OK;
}

HRESULT EnumTextureFormatCallback(DDPIXELFORMAT* ddFormat, LPVOID found) {
  constexpr DWORD kSkipped = DDPF_LUMINANCE | DDPF_BUMPLUMINANCE | DDPF_BUMPDUDV | DDPF_FOURCC | DDPF_ALPHA;
  if ((ddFormat->dwFlags & kSkipped) || ddFormat->dwFourCC != 0) return D3DENUMRET_OK;
  PixelFormat format{};
  PixelFormatFromDDPixelFormat(ddFormat, &format);
  const std::uint32_t alphaMask = ddFormat->dwRGBAlphaBitMask;
  if (alphaMask == 0 && (format.bitsPerPixel == 16 || format.bitsPerPixel == 32)) {
    const int kind = format.bitsPerPixel == 16 ? kTexturePlain16 : kTexturePlain32;
    // A later plain format wins only when it is the screen's own.
    if (IsMissing(kind) || SamePixelFormat(&format, QueryScreenPixelFormat())) Store(kind, *ddFormat, format);
    if (kind == kTexturePlain16) *static_cast<int*>(found) = 1;
  } else if (alphaMask == 0xF000u) {
    Store(kTextureAlpha16, *ddFormat, format);
  } else if (alphaMask == 0xFF000000u) {
    Store(kTextureAlpha32, *ddFormat, format);
    Store(kTextureAlphaTest32, *ddFormat, format);
  } else if (alphaMask == 0x8000u) {
    Store(kTextureAlphaTest16, *ddFormat, format);
  }
  return D3DENUMRET_OK;
}

HRESULT EnumZBufferFormatCallback(DDPIXELFORMAT* ddFormat, LPVOID found) {
  if (ddFormat->dwFlags != DDPF_ZBUFFER || ddFormat->dwFourCC != 0 || ddFormat->dwZBufferBitDepth != 16) {
    return D3DENUMRET_OK;
  }
  g_zBufferFormat = *ddFormat;
  *static_cast<int*>(found) = 1;
  return D3DENUMRET_CANCEL;
}
