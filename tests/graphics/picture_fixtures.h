// Test pictures written byte by byte (BMP, TGA, DDS, BGRA) or through the libpng
// and libjpeg write side (PNG, JPEG), with the colours they were made from.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/graph_image.h"
#include "graphics/image_loaders.h"

typedef std::vector<std::uint8_t> Bytes;

// A picture to encode: 0xAARRGGBB per pixel, rows top first.
struct ArgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
  std::uint32_t At(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
};

// A picture of palette indices with its palette (0x00RRGGBB).
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> index;
  std::vector<std::uint32_t> palette;
  std::uint8_t At(int x, int y) const { return index[static_cast<std::size_t>(y) * width + x]; }
  ArgbPicture Colours() const;  // the palette colours with alpha 0
};

// Distinct colours and alphas in every pixel (alpha 255 everywhere unless withAlpha).
ArgbPicture MakeArgbPicture(int width, int height, bool withAlpha);
// Indices cycling through `colours` entries, with a few long runs for RLE.
IndexedPicture MakeIndexedPicture(int width, int height, int colours);

// Runs a loader over the bytes through a memory stream.
int DecodeWith(ImageLoader loader, const Bytes& file, GraphImage* img);
int DecodeAny(const Bytes& file, GraphImage* img);

// Every pixel of img (as GetGraphImagePixel reads it) equals expected(x, y), each
// channel within tolerance. Returns a description of the first difference, or "".
std::string ComparePixels(const GraphImage& img, const std::function<std::uint32_t(int, int)>& expected,
                          int tolerance = 0);

// --- BMP ---
struct BmpLayout {
  int bitCount = 24;
  std::uint32_t compression = 0;  // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields
  bool topDown = false;
  std::uint32_t masks[3] = {0, 0, 0};  // bit fields
  int headerSize = 40;
  std::uint32_t coloursUsed = 0;
};
// Stored rows of the pixel values given (indices for 8 bits and less), padded.
Bytes PackBmpRows(int width, int height, int bitCount, bool topDown,
                  const std::function<std::uint32_t(int, int)>& value);
Bytes BmpFile(int width, int height, const BmpLayout& layout, const std::vector<std::uint32_t>& palette,
              const Bytes& pixelData);
// Simple run-length encoders (runs of equal values and absolute runs).
Bytes EncodeRle8(const IndexedPicture& pic, bool bottomUp);
Bytes EncodeRle4(const IndexedPicture& pic, bool bottomUp);

// --- TGA ---
struct TgaLayout {
  int type = 2;  // 1, 2, 9, 10
  int bits = 32;
  int descriptor = 0x28;  // bit 5 top origin, bit 4 right to left
  int idLength = 0;
  int mapFirst = 0;
  bool footer = false;
};
// For the colour-mapped types the picture's palette colours (bits 24 or 32).
Bytes TgaFile(const ArgbPicture& pic, const TgaLayout& layout);
Bytes TgaFile(const IndexedPicture& pic, const TgaLayout& layout);
// The value a TGA of `bits` keeps for an ARGB colour, as GetGraphImagePixel reads it.
std::uint32_t TgaStoredColour(std::uint32_t argb, int bits);

// --- DDS and BGRA ---
Bytes DdsFile(int width, int height, int bits, std::uint32_t pixelFlags, std::uint32_t fourCc,
              const std::uint32_t masks[4], int pitch, const Bytes& pixelRows);
Bytes BgraFile(const ArgbPicture& pic, bool sixteenBit);

// --- PNG and JPEG ---
struct PngLayout {
  int colourType = 6;  // PNG_COLOR_TYPE_*
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<std::uint32_t> palette;  // colour type 3
  std::vector<std::uint8_t> paletteAlpha;  // tRNS for colour type 3
  bool greyTransparent = false;  // tRNS for grey: value 0
};
// Samples per pixel as the colour type needs them, rows top first, 8 or 16 bits
// (16-bit samples as value x 257).
Bytes PngFile(int width, int height, const PngLayout& layout, const std::function<std::vector<int>(int, int)>& samples);
Bytes JpegFile(const ArgbPicture& pic, bool grey, bool progressive, int quality);
