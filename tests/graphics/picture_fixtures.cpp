#include "picture_fixtures.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "core/streams.h"

namespace {

void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void PutBytes(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }

int Channel(std::uint32_t argb, int shift) { return static_cast<int>((argb >> shift) & 0xFF); }

}  // namespace

ArgbPicture IndexedPicture::Colours() const {
  ArgbPicture pic;
  pic.width = width;
  pic.height = height;
  for (std::uint8_t i : index) pic.argb.push_back(palette[i] & 0xFFFFFF);
  return pic;
}

ArgbPicture MakeArgbPicture(int width, int height, bool withAlpha) {
  ArgbPicture pic;
  pic.width = width;
  pic.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t r = (x * 37 + y * 11) & 0xFF;
      const std::uint32_t g = (x * 13 + y * 29 + 60) & 0xFF;
      const std::uint32_t b = ((x * 7) ^ (y * 19)) & 0xFF;
      std::uint32_t a = 255;
      if (withAlpha) a = x == 0 ? 0 : (x == 1 ? 255 : (x * 23 + y * 41) & 0xFF);
      pic.argb.push_back((a << 24) | (r << 16) | (g << 8) | b);
    }
  }
  return pic;
}

IndexedPicture MakeIndexedPicture(int width, int height, int colours) {
  IndexedPicture pic;
  pic.width = width;
  pic.height = height;
  for (int i = 0; i < colours; ++i) {
    pic.palette.push_back((static_cast<std::uint32_t>(i * 53 + 9) & 0xFF) << 16 |
                          (static_cast<std::uint32_t>(i * 101 + 7) & 0xFF) << 8 |
                          (static_cast<std::uint32_t>(255 - i * 17) & 0xFF));
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // Row 0 is one long run; the others mix short runs and single pixels.
      const int v = y == 0 ? 1 : (x < 4 ? y : (x / 3 + y * 2 + (x % 5 == 0 ? x : 0)));
      pic.index.push_back(static_cast<std::uint8_t>(v % colours));
    }
  }
  return pic;
}

int DecodeWith(ImageLoader loader, const Bytes& file, GraphImage* img) {
  MemoryStream* memory = MemoryStreamOpen(file.data(), file.size());
  DataStream stream{GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  const int result = loader(&stream, img);
  MemoryStreamClose(stream.handle);
  return result;
}

int DecodeAny(const Bytes& file, GraphImage* img) { return DecodeWith(DecodeImageStream, file, img); }

std::string ComparePixels(const GraphImage& img, const std::function<std::uint32_t(int, int)>& expected,
                          int tolerance) {
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) {
      const std::uint32_t got = GetGraphImagePixel(&img, x, y);
      const std::uint32_t want = expected(x, y);
      for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(Channel(got, shift) - Channel(want, shift)) > tolerance) {
          char text[128];
          std::snprintf(text, sizeof text, "pixel (%d, %d): got %08X, expected %08X", x, y, got, want);
          return text;
        }
      }
    }
  }
  return "";
}

// --- BMP ---

Bytes PackBmpRows(int width, int height, int bitCount, bool topDown,
                  const std::function<std::uint32_t(int, int)>& value) {
  const int pitch = (bitCount * width + 31) / 32 * 4;
  Bytes data(static_cast<std::size_t>(pitch) * height, 0);
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    std::uint8_t* out = data.data() + static_cast<std::size_t>(row) * pitch;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = value(x, y);
      if (bitCount < 8) {
        const int perByte = 8 / bitCount;
        out[x / perByte] |= static_cast<std::uint8_t>(v << (8 - bitCount * (x % perByte + 1)));
      } else {
        for (int i = 0; i < bitCount / 8; ++i) out[x * (bitCount / 8) + i] = static_cast<std::uint8_t>(v >> (8 * i));
      }
    }
  }
  return data;
}

Bytes BmpFile(int width, int height, const BmpLayout& layout, const std::vector<std::uint32_t>& palette,
              const Bytes& pixelData) {
  const bool masksAfterHeader = layout.compression == 3 && layout.headerSize == 40;
  const std::uint32_t offset = 14 + layout.headerSize + (masksAfterHeader ? 12 : 0) +
                               static_cast<std::uint32_t>(palette.size()) * 4;
  Bytes b = {'B', 'M'};
  Put32(b, offset + static_cast<std::uint32_t>(pixelData.size()));
  Put32(b, 0);
  Put32(b, offset);
  Put32(b, layout.headerSize);
  Put32(b, static_cast<std::uint32_t>(width));
  Put32(b, static_cast<std::uint32_t>(layout.topDown ? -height : height));
  Put16(b, 1);
  Put16(b, layout.bitCount);
  Put32(b, layout.compression);
  Put32(b, static_cast<std::uint32_t>(pixelData.size()));
  Put32(b, 2835);
  Put32(b, 2835);
  // A short colour table is announced by its used-colours count.
  const bool shortTable = !palette.empty() && layout.bitCount <= 8 && palette.size() < (1u << layout.bitCount);
  Put32(b, layout.coloursUsed != 0 || !shortTable ? layout.coloursUsed : static_cast<std::uint32_t>(palette.size()));
  Put32(b, 0);
  if (layout.compression == 3 || layout.headerSize > 40) {
    for (std::uint32_t m : layout.masks) Put32(b, m);
  }
  while (b.size() < 14u + layout.headerSize) b.push_back(0);
  for (std::uint32_t c : palette) Put32(b, c | 0xAA000000u);  // the fourth byte is not a colour
  PutBytes(b, pixelData);
  return b;
}

namespace {

// Rows in file order, each a list of values.
template <typename EmitRow>
Bytes EncodeRle(const IndexedPicture& pic, bool bottomUp, EmitRow emitRow) {
  Bytes out;
  for (int row = 0; row < pic.height; ++row) {
    const int y = bottomUp ? pic.height - 1 - row : row;
    std::vector<std::uint8_t> values;
    for (int x = 0; x < pic.width; ++x) values.push_back(pic.At(x, y));
    emitRow(out, values);
    out.push_back(0);
    out.push_back(row == pic.height - 1 ? 1 : 0);
  }
  return out;
}

// Splits a row into runs of equal values (length >= 2) and literal stretches.
template <typename Run, typename Literal>
void SplitRuns(const std::vector<std::uint8_t>& v, Run run, Literal literal) {
  std::size_t i = 0;
  while (i < v.size()) {
    std::size_t n = 1;
    while (i + n < v.size() && v[i + n] == v[i] && n < 255) ++n;
    if (n >= 2) {
      run(v[i], n);
      i += n;
      continue;
    }
    std::size_t j = i;
    while (j < v.size() && j - i < 255 && !(j + 1 < v.size() && v[j + 1] == v[j])) ++j;
    if (j == i) j = i + 1;
    literal(&v[i], j - i);
    i = j;
  }
}

}  // namespace

Bytes EncodeRle8(const IndexedPicture& pic, bool bottomUp) {
  return EncodeRle(pic, bottomUp, [](Bytes& out, const std::vector<std::uint8_t>& row) {
    SplitRuns(
        row,
        [&](std::uint8_t value, std::size_t n) {
          out.push_back(static_cast<std::uint8_t>(n));
          out.push_back(value);
        },
        [&](const std::uint8_t* p, std::size_t n) {
          if (n < 3) {
            for (std::size_t k = 0; k < n; ++k) out.insert(out.end(), {1, p[k]});
            return;
          }
          out.insert(out.end(), {0, static_cast<std::uint8_t>(n)});
          out.insert(out.end(), p, p + n);
          if (n & 1) out.push_back(0);
        });
  });
}

Bytes EncodeRle4(const IndexedPicture& pic, bool bottomUp) {
  return EncodeRle(pic, bottomUp, [](Bytes& out, const std::vector<std::uint8_t>& row) {
    SplitRuns(
        row,
        [&](std::uint8_t value, std::size_t n) {
          out.push_back(static_cast<std::uint8_t>(n));
          out.push_back(static_cast<std::uint8_t>(value << 4 | value));
        },
        [&](const std::uint8_t* p, std::size_t n) {
          if (n < 3) {
            for (std::size_t k = 0; k < n; ++k) out.insert(out.end(), {1, static_cast<std::uint8_t>(p[k] << 4)});
            return;
          }
          out.insert(out.end(), {0, static_cast<std::uint8_t>(n)});
          Bytes packed((n + 1) / 2, 0);
          for (std::size_t k = 0; k < n; ++k) packed[k / 2] |= static_cast<std::uint8_t>(p[k] << ((k & 1) ? 0 : 4));
          PutBytes(out, packed);
          if (packed.size() & 1) out.push_back(0);
        });
  });
}

// --- TGA ---

namespace {

Bytes TgaPixelBytes(std::uint32_t argb, int bits) {
  const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  if (bits == 16) {
    const std::uint32_t v = ((argb >> 31) << 15) | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
  }
  Bytes out = {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r)};
  if (bits == 32) out.push_back(static_cast<std::uint8_t>(argb >> 24));
  return out;
}

// Units (pixels or indices) in the order the descriptor asks for, then packed.
Bytes TgaBody(int width, int height, const TgaLayout& layout,
              const std::function<Bytes(int, int)>& unit) {
  std::vector<Bytes> units;
  for (int row = 0; row < height; ++row) {
    const int y = (layout.descriptor & 0x20) ? row : height - 1 - row;
    for (int col = 0; col < width; ++col) {
      const int x = (layout.descriptor & 0x10) ? width - 1 - col : col;
      units.push_back(unit(x, y));
    }
  }
  Bytes out;
  if (layout.type < 9) {
    for (const Bytes& u : units) PutBytes(out, u);
    return out;
  }
  std::size_t i = 0;
  while (i < units.size()) {
    std::size_t n = 1;
    while (i + n < units.size() && units[i + n] == units[i] && n < 128) ++n;
    if (n >= 2) {
      out.push_back(static_cast<std::uint8_t>(0x80 | (n - 1)));
      PutBytes(out, units[i]);
    } else {
      n = 1;
      while (i + n < units.size() && n < 128 && units[i + n] != units[i + n - 1]) ++n;
      out.push_back(static_cast<std::uint8_t>(n - 1));
      for (std::size_t k = 0; k < n; ++k) PutBytes(out, units[i + k]);
    }
    i += n;
  }
  return out;
}

Bytes TgaWrap(int width, int height, const TgaLayout& layout, int pixelDepth, const Bytes& colourMap,
              int mapLength, const Bytes& body) {
  Bytes b;
  b.push_back(static_cast<std::uint8_t>(layout.idLength));
  b.push_back(mapLength > 0 ? 1 : 0);
  b.push_back(static_cast<std::uint8_t>(layout.type));
  Put16(b, static_cast<std::uint32_t>(mapLength > 0 ? layout.mapFirst : 0));
  Put16(b, static_cast<std::uint32_t>(mapLength));
  b.push_back(static_cast<std::uint8_t>(mapLength > 0 ? layout.bits : 0));
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, static_cast<std::uint32_t>(width));
  Put16(b, static_cast<std::uint32_t>(height));
  b.push_back(static_cast<std::uint8_t>(pixelDepth));
  b.push_back(static_cast<std::uint8_t>(layout.descriptor));
  for (int i = 0; i < layout.idLength; ++i) b.push_back(static_cast<std::uint8_t>('A' + i % 26));
  PutBytes(b, colourMap);
  PutBytes(b, body);
  if (layout.footer) {
    Put32(b, 0);
    Put32(b, 0);
    const char* signature = "TRUEVISION-XFILE.";
    b.insert(b.end(), signature, signature + 18);  // with its terminating zero
  }
  return b;
}

}  // namespace

Bytes TgaFile(const ArgbPicture& pic, const TgaLayout& layout) {
  const Bytes body = TgaBody(pic.width, pic.height, layout,
                             [&](int x, int y) { return TgaPixelBytes(pic.At(x, y), layout.bits); });
  return TgaWrap(pic.width, pic.height, layout, layout.bits, {}, 0, body);
}

Bytes TgaFile(const IndexedPicture& pic, const TgaLayout& layout) {
  Bytes map;
  for (std::uint32_t c : pic.palette) PutBytes(map, TgaPixelBytes(c | 0xFF000000u, layout.bits));
  const Bytes body = TgaBody(pic.width, pic.height, layout, [&](int x, int y) {
    return Bytes{static_cast<std::uint8_t>(pic.At(x, y) + layout.mapFirst)};
  });
  return TgaWrap(pic.width, pic.height, layout, 8, map, static_cast<int>(pic.palette.size()), body);
}

std::uint32_t TgaStoredColour(std::uint32_t argb, int bits) {
  if (bits == 16) return argb & 0xF8F8F8u;
  if (bits == 24) return argb & 0xFFFFFFu;
  return argb;
}

// --- DDS and BGRA ---

Bytes DdsFile(int width, int height, int bits, std::uint32_t pixelFlags, std::uint32_t fourCc,
              const std::uint32_t masks[4], int pitch, const Bytes& pixelRows) {
  Bytes b = {'D', 'D', 'S', ' '};
  Put32(b, 124);
  Put32(b, 0x1007u | (pitch > 0 ? 0x8u : 0u));
  Put32(b, static_cast<std::uint32_t>(height));
  Put32(b, static_cast<std::uint32_t>(width));
  Put32(b, static_cast<std::uint32_t>(pitch > 0 ? pitch : 0));
  while (b.size() < 4 + 72) b.push_back(0);
  Put32(b, 32);
  Put32(b, pixelFlags);
  Put32(b, fourCc);
  Put32(b, static_cast<std::uint32_t>(bits));
  for (int i = 0; i < 4; ++i) Put32(b, masks[i]);
  Put32(b, 0x1000);
  while (b.size() < 128) b.push_back(0);
  PutBytes(b, pixelRows);
  return b;
}

Bytes BgraFile(const ArgbPicture& pic, bool sixteenBit) {
  Bytes b = {'B', 'G', 'R', 'A'};
  Put32(b, sixteenBit ? 0x10101010u : 0x08080808u);
  Put32(b, static_cast<std::uint32_t>(pic.width));
  Put32(b, static_cast<std::uint32_t>(pic.height));
  for (std::uint32_t c : pic.argb) {
    for (int shift : {0, 8, 16, 24}) {
      if (sixteenBit) b.push_back(0x34);  // the low byte, dropped by the loader
      b.push_back(static_cast<std::uint8_t>(c >> shift));
    }
  }
  return b;
}

// --- PNG and JPEG ---

namespace {

void AppendToBytes(png_structp png, png_bytep data, std::size_t n) {
  Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
void NoFlush(png_structp) {}

}  // namespace

Bytes PngFile(int width, int height, const PngLayout& layout,
              const std::function<std::vector<int>(int, int)>& samples) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendToBytes, NoFlush);
  png_set_IHDR(png, info, width, height, layout.bitDepth, layout.colourType,
               layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> plte;
  for (std::uint32_t c : layout.palette) {
    plte.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
  }
  if (!plte.empty()) png_set_PLTE(png, info, plte.data(), static_cast<int>(plte.size()));
  if (!layout.paletteAlpha.empty()) {
    png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()), nullptr);
  }
  png_color_16 greyKey{};
  if (layout.greyTransparent) png_set_tRNS(png, info, nullptr, 0, &greyKey);
  png_write_info(png, info);
  const int channels = static_cast<int>(png_get_channels(png, info));
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  std::vector<Bytes> rows(height, Bytes(rowBytes, 0));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::vector<int> s = samples(x, y);
      for (int c = 0; c < channels; ++c) {
        const int bitPos = (x * channels + c) * layout.bitDepth;
        if (layout.bitDepth == 16) {
          rows[y][bitPos / 8] = static_cast<std::uint8_t>(s[c] >> 8);
          rows[y][bitPos / 8 + 1] = static_cast<std::uint8_t>(s[c]);
        } else {
          rows[y][bitPos / 8] |= static_cast<std::uint8_t>(s[c] << (8 - layout.bitDepth - bitPos % 8));
        }
      }
    }
  }
  std::vector<png_bytep> pointers;
  for (Bytes& r : rows) pointers.push_back(r.data());
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes JpegFile(const ArgbPicture& pic, bool grey, bool progressive, int quality) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(pic.width);
  cinfo.image_height = static_cast<JDIMENSION>(pic.height);
  cinfo.input_components = grey ? 1 : 3;
  cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  Bytes row;
  for (int y = 0; y < pic.height; ++y) {
    row.clear();
    for (int x = 0; x < pic.width; ++x) {
      const std::uint32_t c = pic.At(x, y);
      if (grey) {
        row.push_back(static_cast<std::uint8_t>(c >> 8));
      } else {
        row.insert(row.end(), {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                               static_cast<std::uint8_t>(c)});
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}
