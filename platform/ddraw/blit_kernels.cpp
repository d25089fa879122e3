#include "ddraw/blit_kernels.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// True when every byte of the value is the same (black and white, say).
template <typename Pixel>
bool RepeatsOneByte(Pixel value) {
  Pixel repeated = 0;
  for (std::size_t i = 0; i < sizeof(Pixel); ++i) repeated = static_cast<Pixel>(repeated << 8 | (value & 0xFFu));
  return repeated == value;
}

// The first row pixel by pixel, the others copied from it: whole-row copies (and
// row sets where every byte of the value is the same) run at memory speed.
template <typename Pixel>
void FillRows(PixelRows destination, int width, int height, Pixel value) {
  if (width <= 0 || height <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(Pixel);
  const auto lowByte = static_cast<unsigned char>(value);
  if (RepeatsOneByte(value)) {
    for (int row = 0; row < height; ++row)
      std::memset(destination.bits + static_cast<std::ptrdiff_t>(row) * destination.pitch, lowByte, rowBytes);
    return;
  }
  Pixel* first = reinterpret_cast<Pixel*>(destination.bits);
  std::fill_n(first, width, value);
  for (int row = 1; row < height; ++row)
    std::memcpy(destination.bits + static_cast<std::ptrdiff_t>(row) * destination.pitch, first, rowBytes);
}

// Whether the bytes spanned by two areas of `height` rows meet (pitches may differ
// in sign). Compared as addresses: the areas may lie in different allocations.
bool AreasOverlap(PixelRows destination, ConstPixelRows source, std::size_t rowBytes, int height) {
  auto span = [&](const BYTE* bits, LONG pitch) {
    const auto first = reinterpret_cast<std::uintptr_t>(bits);
    const auto last = first + static_cast<std::uintptr_t>(static_cast<std::ptrdiff_t>(height - 1) * pitch);
    return std::pair{std::min(first, last), std::max(first, last) + rowBytes};
  };
  const auto [destinationStart, destinationEnd] = span(destination.bits, destination.pitch);
  const auto [sourceStart, sourceEnd] = span(source.bits, source.pitch);
  return destinationStart < sourceEnd && sourceStart < destinationEnd;
}

template <typename Pixel>
void CopyRowsKeyed(PixelRows destination, ConstPixelRows source, int width, int height,
                   Pixel key, Pixel keyMask) {
  for (int row = 0; row < height; ++row) {
    Pixel* out = reinterpret_cast<Pixel*>(destination.bits + static_cast<std::ptrdiff_t>(row) * destination.pitch);
    const Pixel* in = reinterpret_cast<const Pixel*>(source.bits + static_cast<std::ptrdiff_t>(row) * source.pitch);
    for (int column = 0; column < width; ++column) {
      Pixel pixel = in[column];
      if ((pixel & keyMask) != key) out[column] = pixel;
    }
  }
}

template <typename Pixel>
void StretchRows(PixelRows destination, ConstPixelRows source, const StretchArea& area) {
  std::vector<int> sourceColumns(area.width);
  for (int i = 0; i < area.width; ++i) {
    std::int64_t column = area.firstColumn + i;
    sourceColumns[i] = static_cast<int>((2 * column + 1) * area.sourceWidth / (2 * std::int64_t{area.destinationWidth}));
  }
  for (int i = 0; i < area.height; ++i) {
    std::int64_t row = area.firstRow + i;
    auto sourceRow = static_cast<std::ptrdiff_t>((2 * row + 1) * area.sourceHeight / (2 * std::int64_t{area.destinationHeight}));
    const Pixel* in = reinterpret_cast<const Pixel*>(source.bits + sourceRow * source.pitch);
    Pixel* out = reinterpret_cast<Pixel*>(destination.bits + static_cast<std::ptrdiff_t>(i) * destination.pitch);
    for (int column = 0; column < area.width; ++column) out[column] = in[sourceColumns[column]];
  }
}

// One channel's place in a pixel: where it starts and how many bits it has.
struct Channel {
  int shift;
  int width;
};

Channel ChannelOf(DWORD mask) {
  Channel channel{0, 0};
  if (mask == 0) return channel;
  while (!(mask & 1u)) {
    mask >>= 1;
    ++channel.shift;
  }
  while (mask & 1u) {
    mask >>= 1;
    ++channel.width;
  }
  return channel;
}

// Widens a value of `width` bits to 8 by repeating its bits.
inline DWORD WidenTo8(DWORD value, int width) {
  if (width == 0) return 0;
  DWORD wide = value << (8 - width);
  for (int filled = width; filled < 8; filled += width) wide |= wide >> width;
  return wide & 0xFF;
}

template <typename In, typename Out>
void ConvertRows(PixelRows destination, const PixelLayout& destinationLayout, ConstPixelRows source,
                 const PixelLayout& sourceLayout, int width, int height) {
  const DWORD sourceMasks[3] = {sourceLayout.redMask, sourceLayout.greenMask, sourceLayout.blueMask};
  const DWORD destinationMasks[3] = {destinationLayout.redMask, destinationLayout.greenMask, destinationLayout.blueMask};
  Channel in[3];
  Channel out[3];
  for (int c = 0; c < 3; ++c) {
    in[c] = ChannelOf(sourceMasks[c]);
    out[c] = ChannelOf(destinationMasks[c]);
  }
  for (int row = 0; row < height; ++row) {
    const In* from = reinterpret_cast<const In*>(source.bits + static_cast<std::ptrdiff_t>(row) * source.pitch);
    Out* to = reinterpret_cast<Out*>(destination.bits + static_cast<std::ptrdiff_t>(row) * destination.pitch);
    for (int column = 0; column < width; ++column) {
      DWORD pixel = from[column];
      DWORD packed = 0;
      for (int c = 0; c < 3; ++c) {
        DWORD value = (pixel & sourceMasks[c]) >> in[c].shift;
        DWORD eight = WidenTo8(value, in[c].width);
        packed |= (eight >> (8 - out[c].width)) << out[c].shift;
      }
      to[column] = static_cast<Out>(packed);
    }
  }
}

}  // namespace

void FillPixels(PixelRows destination, DWORD bytes, int width, int height, DWORD value) {
  if (bytes == 2) {
    FillRows<std::uint16_t>(destination, width, height, static_cast<std::uint16_t>(value));
  } else {
    FillRows<std::uint32_t>(destination, width, height, value);
  }
}

void CopyPixels(PixelRows destination, ConstPixelRows source, DWORD bytes, int width, int height) {
  if (width <= 0 || height <= 0) return;
  std::size_t rowBytes = static_cast<std::size_t>(width) * bytes;
  if (!AreasOverlap(destination, source, rowBytes, height)) {
    // Apart (another surface, say): plain row copies, which the sanitizers check
    // at copying speed where they move overlapping memory byte by byte.
    for (int row = 0; row < height; ++row) {
      std::memcpy(destination.bits + static_cast<std::ptrdiff_t>(row) * destination.pitch,
                  source.bits + static_cast<std::ptrdiff_t>(row) * source.pitch, rowBytes);
    }
    return;
  }
  bool bottomUp = destination.bits > source.bits;
  for (int i = 0; i < height; ++i) {
    std::ptrdiff_t row = bottomUp ? height - 1 - i : i;
    std::memmove(destination.bits + row * destination.pitch, source.bits + row * source.pitch, rowBytes);
  }
}

void CopyPixelsKeyed(PixelRows destination, ConstPixelRows source, DWORD bytes, int width,
                     int height, DWORD key, DWORD keyMask) {
  if (bytes == 2) {
    CopyRowsKeyed<std::uint16_t>(destination, source, width, height,
                                 static_cast<std::uint16_t>(key & keyMask),
                                 static_cast<std::uint16_t>(keyMask));
  } else {
    CopyRowsKeyed<std::uint32_t>(destination, source, width, height, key & keyMask, keyMask);
  }
}

void StretchPixels(PixelRows destination, ConstPixelRows source, DWORD bytes, const StretchArea& area) {
  if (bytes == 2) {
    StretchRows<std::uint16_t>(destination, source, area);
  } else {
    StretchRows<std::uint32_t>(destination, source, area);
  }
}

void ConvertPixels(PixelRows destination, const PixelLayout& destinationLayout,
                   ConstPixelRows source, const PixelLayout& sourceLayout, int width, int height) {
  if (sourceLayout.bytes == 2) {
    if (destinationLayout.bytes == 2) {
      ConvertRows<std::uint16_t, std::uint16_t>(destination, destinationLayout, source, sourceLayout, width, height);
    } else {
      ConvertRows<std::uint16_t, std::uint32_t>(destination, destinationLayout, source, sourceLayout, width, height);
    }
  } else if (destinationLayout.bytes == 2) {
    ConvertRows<std::uint32_t, std::uint16_t>(destination, destinationLayout, source, sourceLayout, width, height);
  } else {
    ConvertRows<std::uint32_t, std::uint32_t>(destination, destinationLayout, source, sourceLayout, width, height);
  }
}
