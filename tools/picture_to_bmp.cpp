// picture_to_bmp IN OUT.bmp: decodes any picture the library reads (BMP, JPEG, PNG,
// "BGRA", TGA, DDS) and writes it as a 24-bit BMP, printing what the decoder made
// of it. Alpha is dropped.
#include <cstdio>
#include <cstdint>
#include <vector>

#include "core/streams.h"
#include "graphics/image_loaders.h"
#include "graphics/pixel_convert_blt.h"

namespace {

bool ReadFile(const char* path, std::vector<std::uint8_t>* data) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  std::uint8_t buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data->insert(data->end(), buffer, buffer + n);
  const bool ok = std::ferror(f) == 0;
  std::fclose(f);
  return ok;
}

void Put16(std::vector<std::uint8_t>* b, std::uint32_t v) {
  b->push_back(static_cast<std::uint8_t>(v));
  b->push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>* b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A bottom-up 24-bit BMP of the image, converted by the library's blit.
std::vector<std::uint8_t> EncodeBmp(const GraphImage& img) {
  const std::uint32_t pitch = (3u * img.width + 3u) & ~3u;
  const std::uint32_t dataSize = pitch * static_cast<std::uint32_t>(img.height);
  std::vector<std::uint8_t> file;
  file.push_back('B');
  file.push_back('M');
  Put32(&file, 54 + dataSize);
  Put32(&file, 0);
  Put32(&file, 54);
  Put32(&file, 40);
  Put32(&file, static_cast<std::uint32_t>(img.width));
  Put32(&file, static_cast<std::uint32_t>(img.height));
  Put16(&file, 1);
  Put16(&file, 24);
  for (int i = 0; i < 6; ++i) Put32(&file, i == 1 ? dataSize : 0);
  file.resize(54 + dataSize, 0);
  PixelFormat rgb24{};
  BuildRgb24PixelFormat(&rgb24);
  std::uint8_t* lastRow = file.data() + 54 + pitch * (img.height - 1);
  const RECT whole{0, 0, img.width, img.height};
  ConvertPixelFormatBlt(lastRow, -static_cast<int>(pitch), &rgb24, img.pixels, img.pitch, &img.format, nullptr, 0,
                        nullptr, 0, 0, &whole, 0, 0, 0, DITHER_NONE, 0, 0, 0);
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s picture out.bmp\n", argv[0]);
    return 2;
  }
  std::vector<std::uint8_t> data;
  if (!ReadFile(argv[1], &data)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  MemoryStream* memory = MemoryStreamOpen(data.data(), data.size());
  DataStream stream{GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  GraphImage img{};
  const int result = DecodeImageStream(&stream, &img);
  MemoryStreamClose(stream.handle);
  if (result != 0) {
    std::fprintf(stderr, "%s: not a picture the library reads\n", argv[1]);
    return 1;
  }
  const PixelFormat& f = img.format;
  std::printf("%s: %d x %d, pitch %d, %d bits, masks R %08X G %08X B %08X A %08X%s\n", argv[1], img.width, img.height,
              img.pitch, f.bitsPerPixel, f.maskR, f.maskG, f.maskB, f.maskA, f.bytesPerPixel == 1 ? " (palette)" : "");
  const std::vector<std::uint8_t> bmp = EncodeBmp(img);
  FreeGraphImage(&img);
  std::FILE* out = std::fopen(argv[2], "wb");
  const bool written = out != nullptr && std::fwrite(bmp.data(), 1, bmp.size(), out) == bmp.size();
  if (out != nullptr && std::fclose(out) != 0) return 1;
  if (!written) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
