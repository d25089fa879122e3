// Ogg Vorbis through the library's stream callbacks. An even first byte gives the rest
// as the file itself; an odd one wraps the rest into Ogg pages with good checksums
// (packets cut at each 0xFF byte pair), so the fuzzer reaches the Vorbis headers and
// the audio packets rather than stopping at the page checksums.
#include <ogg/ogg.h>

#include <cstring>
#include <vector>

#include "decode_sound_image.h"

namespace {

// One page writer for the process, reset per input: setting one up takes some 30 KB.
ogg_stream_state* PageWriter() {
  static ogg_stream_state stream;
  static const bool made = ogg_stream_init(&stream, 1) == 0;
  if (!made) __builtin_trap();
  ogg_stream_reset(&stream);
  return &stream;
}

void AddPacket(ogg_stream_state* stream, const std::uint8_t* bytes, std::size_t size, long number, bool last) {
  ogg_packet packet{};
  packet.packet = const_cast<unsigned char*>(bytes);
  packet.bytes = static_cast<long>(size);
  packet.b_o_s = number == 0;
  packet.e_o_s = last;
  packet.granulepos = number < 3 ? 0 : number * 256;
  packet.packetno = number;
  ogg_stream_packetin(stream, &packet);
}

std::vector<std::uint8_t> WrapInPages(const std::uint8_t* data, std::size_t size) {
  ogg_stream_state* stream = PageWriter();
  static constexpr std::uint8_t kCut[2] = {0xFF, 0xFF};
  std::size_t start = 0;
  long packetNumber = 0;
  for (;;) {
    const void* cut = memmem(data + start, size - start, kCut, sizeof kCut);
    if (cut == nullptr) break;
    const std::size_t end = static_cast<std::size_t>(static_cast<const std::uint8_t*>(cut) - data);
    AddPacket(stream, data + start, end - start, packetNumber++, false);
    start = end + sizeof kCut;
  }
  AddPacket(stream, data + start, size - start, packetNumber, true);
  std::vector<std::uint8_t> file;
  file.reserve(size + size / 8 + 64);
  ogg_page page;
  while (ogg_stream_flush(stream, &page) != 0) {
    file.insert(file.end(), page.header, page.header + page.header_len);
    file.insert(file.end(), page.body, page.body + page.body_len);
  }
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    DecodeSoundImage(data + 1, size - 1, Mp3Frames::OpenedOnly);
  } else {
    const std::vector<std::uint8_t> file = WrapInPages(data + 1, size - 1);
    DecodeSoundImage(file.data(), file.size(), Mp3Frames::OpenedOnly);
  }
  return 0;
}
