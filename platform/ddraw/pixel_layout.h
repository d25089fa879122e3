// The pixel formats the stand-in's surfaces and displays come in.
#pragma once

#include "ddraw/ddraw_types.h"

enum class DDrawPixelKind {
  RGB565,
  X1R5G5B5,
  A1R5G5B5,
  A4R4G4B4,
  X8R8G8B8,
  A8R8G8B8,
  R8G8B8,  // a 24-bit display only: reported, never a surface
  Z16,
  Count
};

struct PixelLayout {
  DWORD bytes;  // per pixel
  DWORD bits;   // reported bit count
  DWORD redMask, greenMask, blueMask, alphaMask;
  DWORD formatFlags;  // DDPF_ flags
  bool surfaceAllowed;

  DWORD ColourMask() const { return redMask | greenMask | blueMask; }
};

const PixelLayout& GetPixelLayout(DDrawPixelKind kind);

// The kind a DirectDraw pixel format describes, or Count when the stand-in has none.
DDrawPixelKind FindPixelKind(const DDPIXELFORMAT& format);

void DescribePixelKind(DDrawPixelKind kind, DDPIXELFORMAT* format);
