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

constexpr long kPageSegments = 255;

void TakePages(ogg_stream_state* stream, int (*take)(ogg_stream_state*, ogg_page*), std::vector<std::uint8_t>* file) {
  ogg_page page;
  while (take(stream, &page) != 0) {
    file->insert(file->end(), page.header, page.header + page.header_len);
    file->insert(file->end(), page.body, page.body + page.body_len);
  }
}

// The next 0xFF byte pair at or after `start`, or `size`. Searched for the 0xFF bytes
// alone: a search for the pair from each cut would read the rest of the input again
// every time.
std::size_t NextCut(const std::uint8_t* data, std::size_t start, std::size_t size) {
  while (start + 1 < size) {
    const void* hit = std::memchr(data + start, 0xFF, size - start - 1);
    if (hit == nullptr) break;
    const std::size_t at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data);
    if (data[at + 1] == 0xFF) return at;
    start = at + 1;
  }
  return size;
}

// Pages are taken out while the packets go in, once a page's most segments are held:
// the page writer moves its whole segment table down for every page it takes, and
// scans it for every page it is asked for.
std::vector<std::uint8_t> WrapInPages(const std::uint8_t* data, std::size_t size) {
  ogg_stream_state* stream = PageWriter();
  std::vector<std::uint8_t> file;
  file.reserve(size + size / 8 + 64);
  std::size_t start = 0;
  long packetNumber = 0;
  for (std::size_t cut = NextCut(data, 0, size); cut < size; cut = NextCut(data, start, size)) {
    AddPacket(stream, data + start, cut - start, packetNumber++, false);
    if (stream->lacing_fill >= kPageSegments) TakePages(stream, ogg_stream_pageout, &file);
    start = cut + 2;
  }
  AddPacket(stream, data + start, size - start, packetNumber, true);
  TakePages(stream, ogg_stream_flush, &file);
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
