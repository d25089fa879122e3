// DirectDraw's pixel-format record (32 bytes), shared by the DirectDraw stand-in
// and the library's pixel-format code.
#pragma once

#include "kernel/win_types.h"

#define DDPF_ALPHAPIXELS 0x00000001u
#define DDPF_FOURCC 0x00000004u
#define DDPF_RGB 0x00000040u
#define DDPF_ZBUFFER 0x00000400u

struct DDPIXELFORMAT {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwFourCC;
  union {
    DWORD dwRGBBitCount;
    DWORD dwZBufferBitDepth;
  };
  DWORD dwRBitMask;
  DWORD dwGBitMask;
  DWORD dwBBitMask;
  DWORD dwRGBAlphaBitMask;
};
static_assert(sizeof(DDPIXELFORMAT) == 32, "DDPIXELFORMAT is 32 bytes");
