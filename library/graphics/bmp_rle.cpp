// Run-length decoding of BMP pixel data.
#include "graphics/bmp_rle.h"

#include <cstring>

namespace {

class RleWriter {
 public:
  RleWriter(std::uint8_t* out, int pitch, int rows, bool bottomUp)
      : out_(out), pitch_(pitch), rows_(rows), bottomUp_(bottomUp) {}

  // Where `count` pixels from the current position go, or NULL when they would
  // leave the row or the block.
  std::uint8_t* Span(std::int64_t count) {
    if (row_ < 0 || row_ >= rows_ || x_ < 0 || x_ + count > pitch_) return nullptr;
    const std::int64_t memoryRow = bottomUp_ ? rows_ - 1 - row_ : row_;
    std::uint8_t* p = out_ + memoryRow * pitch_ + x_;
    x_ += count;
    return p;
  }
  void EndLine() {
    x_ = 0;
    ++row_;
  }
  void Move(int dx, int dy) {
    x_ += dx;
    row_ += dy;
  }

 private:
  std::uint8_t* out_;
  std::int64_t pitch_;
  std::int64_t rows_;
  bool bottomUp_;
  std::int64_t x_ = 0;
  std::int64_t row_ = 0;  // in file order
};

// Pixel i of a run of 4-bit pixels taken from packed bytes, high nibble first.
std::uint8_t Nibble(const std::uint8_t* packed, int i) {
  const std::uint8_t b = packed[i / 2];
  return (i & 1) ? b & 0x0F : b >> 4;
}

}  // namespace

bool DecodeBmpRle(const std::uint8_t* data, std::size_t size, bool rle4, std::uint8_t* out, int pitch,
                  int rows, bool bottomUp) {
  RleWriter writer(out, pitch, rows, bottomUp);
  std::size_t pos = 0;
  while (pos + 2 <= size) {
    const int count = data[pos];
    const std::uint8_t code = data[pos + 1];
    pos += 2;
    if (count > 0) {
      std::uint8_t* span = writer.Span(count);
      if (span == nullptr) return false;
      if (rle4) {
        for (int i = 0; i < count; ++i) span[i] = Nibble(&code, i & 1);
      } else {
        std::memset(span, code, count);
      }
      continue;
    }
    if (code == 0) {
      writer.EndLine();
    } else if (code == 1) {
      return true;
    } else if (code == 2) {
      if (pos + 2 > size) return false;
      writer.Move(data[pos], data[pos + 1]);
      pos += 2;
    } else {
      const std::size_t bytes = rle4 ? (code + 1) / 2 : code;
      if (pos + bytes > size) return false;
      std::uint8_t* span = writer.Span(code);
      if (span == nullptr) return false;
      for (int i = 0; i < code; ++i) span[i] = rle4 ? Nibble(data + pos, i) : data[pos + i];
      pos += bytes;
      pos += pos & 1;  // absolute runs end on an even offset
    }
  }
  return false;
}
