#include "bmp_file.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

void Put16(std::vector<std::uint8_t>* out, std::uint32_t v) {
  out->push_back(static_cast<std::uint8_t>(v));
  out->push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>* out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const MEMIMG& img) {
  const bool is16 = img.kind == MEMIMG_KIND_16BIT;
  const std::uint32_t bytesPerPixel = is16 ? 2 : 4;
  const std::uint32_t rowBytes = (img.width * bytesPerPixel + 3) & ~3u;
  const std::uint32_t headerBytes = 14 + 40 + (is16 ? 12 : 0);
  const std::uint32_t imageBytes = rowBytes * img.height;
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(&out, headerBytes + imageBytes);
  Put32(&out, 0);
  Put32(&out, headerBytes);
  Put32(&out, 40);
  Put32(&out, static_cast<std::uint32_t>(img.width));
  Put32(&out, static_cast<std::uint32_t>(img.height));  // bottom-up rows
  Put16(&out, 1);
  Put16(&out, bytesPerPixel * 8);
  Put32(&out, is16 ? 3 : 0);  // BI_BITFIELDS or BI_RGB
  Put32(&out, imageBytes);
  Put32(&out, 2835);
  Put32(&out, 2835);
  Put32(&out, 0);
  Put32(&out, 0);
  if (is16) {
    Put32(&out, 0xF800);
    Put32(&out, 0x07E0);
    Put32(&out, 0x001F);
  }
  for (int y = img.height - 1; y >= 0; --y) {
    const auto* row = static_cast<const std::uint8_t*>(img.pixels) + static_cast<std::size_t>(y) * img.pitch;
    const std::size_t start = out.size();
    out.insert(out.end(), row, row + img.width * bytesPerPixel);
    out.resize(start + rowBytes, 0);
  }
  return out;
}

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}
