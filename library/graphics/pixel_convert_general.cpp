// The general path of the conversion blit: every channel is extracted, widened
// (the maximum maps to the maximum) or narrowed (optionally dithered) and composed
// in the destination layout.
#include <cstdint>

#include "graphics/pixel_convert_area.h"
#include "graphics/pixel_convert_blt.h"

namespace {

// The 4 x 4 ordered-dither matrix, index (x & 3) + (y & 3) x 4.
constexpr std::uint32_t kDitherMatrix[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

// Where a channel's value comes from (a channel of the source pixel or of the
// alpha image) and where it goes.
struct ChannelPlan {
  std::uint32_t srcMask = 0;
  int srcShift = 0;
  std::uint64_t srcMax = 0;
  int drop = 0;                // source width - destination width; 0 without conversion
  std::uint64_t dropMask = 0;  // the dropped bits at the source position (drop > 0)
  std::uint64_t dstMax = 0;
  int dstShift = 0;
  std::uint64_t threshold[16] = {};  // ordered dither, at the source position
  std::uint64_t carry = 0;           // carried error, kept across rows
};

ChannelPlan PlanChannel(std::uint32_t srcMask, int srcShift, int srcWidth, std::uint32_t dstMask,
                        int dstShift, int dstWidth, bool convert) {
  ChannelPlan c;
  c.srcMask = srcMask;
  c.srcShift = srcShift;
  c.srcMax = srcMask >> srcShift;
  c.dstMax = dstMask >> dstShift;
  c.dstShift = dstShift;
  c.drop = convert ? srcWidth - dstWidth : 0;
  if (c.drop > 0) {
    c.dropMask = ((std::uint64_t{1} << c.drop) - 1) << srcShift;
    for (int i = 0; i < 16; ++i)
      c.threshold[i] = (((std::uint64_t{1} << c.drop) * kDitherMatrix[i]) >> 4) << srcShift;
  }
  return c;
}

std::uint64_t ConvertChannel(ChannelPlan& c, std::uint32_t value, int ditherMode, int ditherIndex) {
  std::uint64_t v = (value & c.srcMask) >> c.srcShift;
  if (c.drop > 0) {
    v >>= c.drop;
    const std::uint64_t dropped = value & c.dropMask;
    if (ditherMode == DITHER_ORDERED) {
      if (c.threshold[ditherIndex] < dropped) ++v;
    } else if (ditherMode == DITHER_CARRY) {
      c.carry += dropped;
      if (c.carry > c.dropMask) ++v;
      c.carry &= c.dropMask;
    }
  } else if (c.drop < 0 && c.srcMax != 0) {
    const int k = -c.drop;
    v = (v << k) + v * ((std::uint64_t{1} << k) - 1) / c.srcMax;
  }
  return v > c.dstMax ? c.dstMax : v;
}

enum class AlphaSource { Constant, SourcePixel, AlphaImage };

struct GeneralPlan {
  ChannelPlan r, g, b, a;
  AlphaSource alphaSource;
  std::uint64_t constantAlpha;
  const PixelFormat* alphaFormat;
  std::uint32_t noUseMask;
  std::uint32_t keyColourBits;  // the packed key's R, G and B bits (key to alpha)
  std::uint32_t colourMask;
  std::uint32_t alphaMask;
};

GeneralPlan MakePlan(const PixelFormat& dst, const PixelFormat& src, const PixelFormat& alphaFormat,
                     const GeneralConvertOptions& o) {
  GeneralPlan p{};
  const bool dstAlpha = dst.maskA != 0;
  // The alpha channel's source: the red channel (alpha from red), the alpha image's
  // red channel, the source's own alpha, or a constant.
  std::uint32_t aMask = 0;
  int aShift = 0, aWidth = 0;
  p.alphaSource = AlphaSource::Constant;
  p.constantAlpha = dstAlpha ? dst.maskA >> dst.shiftA : 0;
  if (dstAlpha && o.alphaFromRed) {
    p.alphaSource = AlphaSource::SourcePixel;
    aMask = src.maskR, aShift = src.shiftR, aWidth = src.widthR;
  } else if (o.alphaFromImage) {
    p.alphaSource = AlphaSource::AlphaImage;
    aMask = alphaFormat.maskR, aShift = alphaFormat.shiftR, aWidth = alphaFormat.widthR;
  } else if (dstAlpha && src.maskA != 0) {
    p.alphaSource = AlphaSource::SourcePixel;
    aMask = src.maskA, aShift = src.shiftA, aWidth = src.widthA;
  }
  const bool alphaChannel = p.alphaSource != AlphaSource::Constant;
  // Without a change of channel width the values are only moved.
  const bool convert = src.widthR != dst.widthR || src.widthG != dst.widthG ||
                       src.widthB != dst.widthB || (alphaChannel && aWidth != dst.widthA);
  p.r = PlanChannel(src.maskR, src.shiftR, src.widthR, dst.maskR, dst.shiftR, dst.widthR, convert);
  p.g = PlanChannel(src.maskG, src.shiftG, src.widthG, dst.maskG, dst.shiftG, dst.widthG, convert);
  p.b = PlanChannel(src.maskB, src.shiftB, src.widthB, dst.maskB, dst.shiftB, dst.widthB, convert);
  p.a = PlanChannel(aMask, aShift, aWidth, dst.maskA, dst.shiftA, dst.widthA, convert);
  p.alphaFormat = &alphaFormat;
  p.noUseMask = dst.noUseMask;
  p.colourMask = dst.maskR | dst.maskG | dst.maskB;
  p.alphaMask = dst.maskA;
  if (o.keyToAlpha) {
    const std::uint32_t packed =
        PackPixel(&dst, static_cast<std::uint8_t>(o.key >> 16), static_cast<std::uint8_t>(o.key >> 8),
                  static_cast<std::uint8_t>(o.key), 255);
    p.keyColourBits = packed & p.colourMask;
  }
  return p;
}

// The alpha image's pixel under source pixel (x, y); a one-byte alpha image gives
// its palette entry (a grey picture's grey).
std::uint32_t AlphaImageValue(const ConvertArea& area, const PixelFormat& format, int x, int y) {
  const int bytes = format.bytesPerPixel;
  if (bytes < 1 || bytes > 4) return 0;
  const std::uint32_t raw = LoadPixelBytes(area.alpha + y * area.alphaPitch + x * bytes, bytes);
  return bytes == 1 ? format.palette[raw] : raw;
}

template <int SrcBytes, int DstBytes>
void RunGeneral(const ConvertArea& area, const PixelFormat& src, GeneralPlan& p,
                const GeneralConvertOptions& o) {
  const std::uint32_t skipValue = o.key & (SrcBytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * SrcBytes)) - 1u);
  WalkConvertArea<SrcBytes, DstBytes>(area, [&](const std::uint8_t* s, std::uint8_t* d, int x, int y) {
    const std::uint32_t raw = LoadPixel<SrcBytes>(s);
    if (o.skipKey && raw == skipValue) return;
    const std::uint32_t value = SrcBytes == 1 ? src.palette[raw] : raw;
    const int ditherIndex = (x & 3) + (y & 3) * 4;
    std::uint64_t r = ConvertChannel(p.r, value, o.ditherMode, ditherIndex);
    std::uint64_t g = ConvertChannel(p.g, value, o.ditherMode, ditherIndex);
    std::uint64_t b = ConvertChannel(p.b, value, o.ditherMode, ditherIndex);
    std::uint64_t a = p.constantAlpha;
    if (p.alphaSource == AlphaSource::SourcePixel) {
      a = ConvertChannel(p.a, value, o.ditherMode, ditherIndex);
    } else if (p.alphaSource == AlphaSource::AlphaImage) {
      a = ConvertChannel(p.a, AlphaImageValue(area, *p.alphaFormat, x, y), o.ditherMode, ditherIndex);
    }
    if (o.alphaOnly) r = g = b = 0;
    std::uint32_t out = static_cast<std::uint32_t>((r << p.r.dstShift) | (g << p.g.dstShift) |
                                                   (b << p.b.dstShift) | (a << p.a.dstShift));
    if (o.keyToAlpha) out = (out & p.colourMask) == p.keyColourBits ? out & ~p.alphaMask : out | p.alphaMask;
    if (DstBytes == 2 || DstBytes == 4) out |= p.noUseMask;
    StorePixel<DstBytes>(d, out);
  });
}

}  // namespace

void ConvertGeneral(const ConvertArea& area, const PixelFormat& dst, const PixelFormat& src,
                    const PixelFormat& alphaFormat, const GeneralConvertOptions& options) {
  GeneralPlan plan = MakePlan(dst, src, alphaFormat, options);
  WithPixelBytes(src.bytesPerPixel, [&](auto srcBytes) {
    WithPixelBytes(dst.bytesPerPixel, [&](auto dstBytes) {
      RunGeneral<srcBytes(), dstBytes()>(area, src, plan, options);
    });
  });
}
