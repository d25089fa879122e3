// Texture pixel formats: the nine format records the device offered (missing kinds
// filled from others), the Z-buffer format, and the choice of a format for a graph.
#pragma once

#include <cstdint>

#include "ddraw/ddraw_types.h"
#include "graphics/graph_records.h"
#include "graphics/pixel_format.h"

struct D3DDEVICEDESC7;

// Which texture format a graph's pieces get.
enum TextureFormatKind : int {
  kTexturePlain16 = 0,
  kTexturePlain32 = 1,
  kTextureAlpha16 = 2,
  kTextureAlpha32 = 3,
  kTextureAlphaTest16 = 4,
  kTextureAlphaTest32 = 5,
  kTextureTarget16 = 6,
  kTextureTarget32 = 7,
  kTextureTargetAlpha = 8,
};
constexpr int kTextureFormatKindCount = 9;

struct TextureFormat {
  DDPIXELFORMAT ddFormat;
  PixelFormat format;  // bitsPerPixel 0: missing
};

// Clears the nine records and the Z-buffer format.
void ClearTextureFormats();
// Fills the missing kinds from the others; -1 when no 16-bit format without alpha exists.
int CompleteTextureFormats();

TextureFormatKind SelectTextureFormatKind(std::uint8_t alphaChannel, std::uint8_t drawValid, std::uint8_t alphaTest,
                                          int colourDepth);
TextureFormatKind SelectTextureFormatKindFor(const GraphFlags& flags);
const TextureFormat* GetTextureFormatRecord(int kind);
const PixelFormat* GetTextureFormatPixelFormat(int kind);
const PixelFormat* GetTextureFormatPixelFormatFor(const GraphFlags& flags);
const PixelFormat* GetTextureFormatPixelFormatByFlags(std::uint8_t alphaChannel, std::uint8_t alphaTest,
                                                      int bits32, std::uint8_t renderTarget);
const DDPIXELFORMAT* GetZBufferFormat();

// Enumeration callbacks (context: int* found).
HRESULT EnumD3DDeviceCallback(LPSTR description, LPSTR name, D3DDEVICEDESC7* device, LPVOID found);
HRESULT EnumTextureFormatCallback(DDPIXELFORMAT* format, LPVOID found);
HRESULT EnumZBufferFormatCallback(DDPIXELFORMAT* format, LPVOID found);
// The device description the device enumeration chose.
const D3DDEVICEDESC7* GetChosenDeviceDescription();
