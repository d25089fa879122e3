// The archive LZ decoder on arbitrary blocks. The header's block size is made to agree
// with the input so that the token stream itself gets explored.
#include <cstdint>
#include <vector>

#include "core/archive_format.h"
#include "core/mua_lz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kMuaLzHeaderSize) return 0;
  std::vector<std::uint8_t> block(data, data + size);
  StoreLe32(block.data(), LoadLe32(data) % 65536);
  StoreLe32(block.data() + 4, static_cast<std::uint32_t>(size));
  const std::int64_t outputSize = DecompressMuaLz(block.data(), block.size(), nullptr, 0);
  std::vector<std::uint8_t> output(static_cast<std::size_t>(outputSize));
  DecompressMuaLz(block.data(), block.size(), output.data(), output.size());
  return 0;
}
