// Ogg Vorbis through the library's stream callbacks. An even first byte gives the rest
// as the file itself; an odd one wraps the rest into Ogg pages with good checksums
// (packets cut at each 0xFF byte pair), so the fuzzer reaches the Vorbis headers and
// the audio packets rather than stopping at the page checksums.
#include <ogg/ogg.h>

#include <vector>

#include "decode_sound_image.h"

namespace {

std::vector<std::uint8_t> WrapInPages(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> file;
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);
  std::size_t start = 0;
  long packetNumber = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    const bool cut = i == size || (i + 1 < size && data[i] == 0xFF && data[i + 1] == 0xFF);
    if (!cut) continue;
    ogg_packet packet{};
    packet.packet = const_cast<unsigned char*>(data + start);
    packet.bytes = static_cast<long>(i - start);
    packet.b_o_s = packetNumber == 0;
    packet.e_o_s = i == size;
    packet.granulepos = packetNumber < 3 ? 0 : packetNumber * 256;
    packet.packetno = packetNumber++;
    ogg_stream_packetin(&stream, &packet);
    start = i + 2;
    ++i;
  }
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) {
    file.insert(file.end(), page.header, page.header + page.header_len);
    file.insert(file.end(), page.body, page.body + page.body_len);
  }
  ogg_stream_clear(&stream);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    DecodeSoundImage(data + 1, size - 1);
  } else {
    const std::vector<std::uint8_t> file = WrapInPages(data + 1, size - 1);
    DecodeSoundImage(file.data(), file.size());
  }
  return 0;
}
