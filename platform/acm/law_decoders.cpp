// A-law and mu-law: each byte is one logarithmically coded sample.
#include <array>

#include "acm/acm_codec.h"

namespace {

constexpr std::int16_t AlawToLinear(BYTE code) {
  const int a = code ^ 0x55;
  int magnitude = (a & 0x0F) << 4;
  const int segment = (a & 0x70) >> 4;
  if (segment == 0) {
    magnitude += 8;
  } else {
    magnitude = (magnitude + 0x108) << (segment - 1);
  }
  return static_cast<std::int16_t>((a & 0x80) ? magnitude : -magnitude);
}

constexpr std::int16_t MulawToLinear(BYTE code) {
  const int u = ~code & 0xFF;
  const int magnitude = (((u & 0x0F) << 3) + 0x84) << ((u & 0x70) >> 4);
  return static_cast<std::int16_t>((u & 0x80) ? 0x84 - magnitude : magnitude - 0x84);
}

template <std::int16_t (*Decode)(BYTE)>
constexpr std::array<std::int16_t, 256> MakeTable() {
  std::array<std::int16_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = Decode(static_cast<BYTE>(i));
  return table;
}

constexpr auto kAlawTable = MakeTable<AlawToLinear>();
constexpr auto kMulawTable = MakeTable<MulawToLinear>();

void DecodeWithTable(const std::array<std::int16_t, 256>& table, const BlockFormat& format, const BYTE* src,
                     DWORD blocks, BYTE* out) {
  const std::size_t samples = static_cast<std::size_t>(blocks) * format.channels;
  for (std::size_t i = 0; i < samples; ++i) StoreLe16(out + 2 * i, table[src[i]]);
}

}  // namespace

bool DecodeAlaw(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out) {
  DecodeWithTable(kAlawTable, format, src, blocks, out);
  return true;
}

bool DecodeMulaw(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out) {
  DecodeWithTable(kMulawTable, format, src, blocks, out);
  return true;
}
