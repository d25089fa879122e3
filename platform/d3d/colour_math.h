// 8-bit channel arithmetic shared by every pixel path, and the conversions between the
// surface pixel kinds and 0xAARRGGBB.
#pragma once

#include <cstdint>
#include <type_traits>

#include "ddraw/pixel_layout.h"

// round(x / 255) for 0 <= x <= 255 x 255, as the shift form the vector code uses.
constexpr DWORD Div255(DWORD x) {
  DWORD t = x + 128;
  return (t + (t >> 8)) >> 8;
}

// round(x / 255) for any x that fits (blend sums reach 2 x 255 x 255).
constexpr DWORD Div255Wide(DWORD x) { return (2 * x + 255) / 510; }

// The same as one multiply: the high 16 bits of (x + 128) x 257, as 16-bit vector lanes
// take it (the sum stays below 65536).
constexpr DWORD Div255ByMultiply(DWORD x) { return ((x + 128) * 257) >> 16; }

constexpr bool Div255IsExact() {
  for (DWORD x = 0; x <= 255 * 255; ++x) {
    if (Div255(x) != Div255Wide(x) || Div255ByMultiply(x) != Div255Wide(x)) return false;
  }
  return true;
}
static_assert(Div255IsExact(), "the shift and multiply forms must round like the division");

// a x b / 255, rounded; exact for 0 and 255.
constexpr DWORD Mul255(DWORD a, DWORD b) { return Div255(a * b); }

constexpr DWORD AlphaOf(DWORD argb) { return argb >> 24; }
constexpr DWORD ChannelOf(DWORD argb, int shift) { return (argb >> shift) & 0xFF; }
constexpr DWORD MakeArgb(DWORD a, DWORD r, DWORD g, DWORD b) { return (a << 24) | (r << 16) | (g << 8) | b; }

// A channel of `bits` bits widened to 8 by repeating its bits.
constexpr DWORD Widen(DWORD value, int bits) {
  switch (bits) {
    case 1: return value * 255;
    case 4: return value * 17;
    case 5: return (value << 3) | (value >> 2);
    case 6: return (value << 2) | (value >> 4);
    default: return value;
  }
}

// Per kind: channel widths and shifts (alpha width 0: reads as 255).
struct ChannelLayout {
  int aBits, rBits, gBits, bBits;
  int aShift, rShift, gShift, bShift;
  DWORD unusedBits;  // bits that belong to no channel (written as 1)
};

constexpr ChannelLayout kChannelLayouts[] = {
    /* RGB565   */ {0, 5, 6, 5, 0, 11, 5, 0, 0},
    /* X1R5G5B5 */ {0, 5, 5, 5, 0, 10, 5, 0, 0x8000},
    /* A1R5G5B5 */ {1, 5, 5, 5, 15, 10, 5, 0, 0},
    /* A4R4G4B4 */ {4, 4, 4, 4, 12, 8, 4, 0, 0},
    /* X8R8G8B8 */ {0, 8, 8, 8, 0, 16, 8, 0, 0xFF000000u},
    /* A8R8G8B8 */ {8, 8, 8, 8, 24, 16, 8, 0, 0},
};

constexpr const ChannelLayout& ChannelsOf(DDrawPixelKind kind) { return kChannelLayouts[static_cast<int>(kind)]; }

constexpr bool IsColourKind(DDrawPixelKind kind) {
  return kind == DDrawPixelKind::RGB565 || kind == DDrawPixelKind::X1R5G5B5 || kind == DDrawPixelKind::A1R5G5B5 ||
         kind == DDrawPixelKind::A4R4G4B4 || kind == DDrawPixelKind::X8R8G8B8 || kind == DDrawPixelKind::A8R8G8B8;
}

constexpr DWORD FieldOf(DWORD raw, int shift, int bits) { return (raw >> shift) & ((1u << bits) - 1); }

template <DDrawPixelKind Kind>
constexpr DWORD RawToArgb(DWORD raw) {
  constexpr ChannelLayout c = ChannelsOf(Kind);
  DWORD a = c.aBits == 0 ? 255 : Widen(FieldOf(raw, c.aShift, c.aBits), c.aBits);
  return MakeArgb(a, Widen(FieldOf(raw, c.rShift, c.rBits), c.rBits), Widen(FieldOf(raw, c.gShift, c.gBits), c.gBits),
                  Widen(FieldOf(raw, c.bShift, c.bBits), c.bBits));
}

template <DDrawPixelKind Kind>
constexpr DWORD ArgbToRaw(DWORD argb) {
  constexpr ChannelLayout c = ChannelsOf(Kind);
  DWORD raw = c.unusedBits;
  if constexpr (c.aBits != 0) raw |= (AlphaOf(argb) >> (8 - c.aBits)) << c.aShift;
  raw |= (ChannelOf(argb, 16) >> (8 - c.rBits)) << c.rShift;
  raw |= (ChannelOf(argb, 8) >> (8 - c.gBits)) << c.gShift;
  raw |= (ChannelOf(argb, 0) >> (8 - c.bBits)) << c.bShift;
  return raw;
}

// Storage of each kind's pixels.
template <DDrawPixelKind Kind>
using PixelWord = std::conditional_t<ChannelsOf(Kind).rBits == 8, std::uint32_t, std::uint16_t>;

// Calls visit(std::integral_constant<DDrawPixelKind, K>{}) for the colour kind K = kind
// (a Z or unknown kind is never passed here).
template <typename Visitor>
decltype(auto) VisitColourKind(DDrawPixelKind kind, Visitor&& visit) {
  using K = DDrawPixelKind;
  switch (kind) {
    case K::RGB565: return visit(std::integral_constant<K, K::RGB565>{});
    case K::X1R5G5B5: return visit(std::integral_constant<K, K::X1R5G5B5>{});
    case K::A1R5G5B5: return visit(std::integral_constant<K, K::A1R5G5B5>{});
    case K::A4R4G4B4: return visit(std::integral_constant<K, K::A4R4G4B4>{});
    case K::X8R8G8B8: return visit(std::integral_constant<K, K::X8R8G8B8>{});
    default: return visit(std::integral_constant<K, K::A8R8G8B8>{});
  }
}
