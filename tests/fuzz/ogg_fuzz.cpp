// Ogg Vorbis through the library's stream callbacks. An even first byte gives the rest
// as the file itself; an odd one wraps the rest into Ogg pages with good checksums
// (packets cut at each 0xFF byte pair), so the fuzzer reaches the Vorbis headers and
// the audio packets rather than stopping at the page checksums.
#include <ogg/ogg.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "decode_sound_image.h"

namespace {

constexpr std::size_t kPageSegments = 255;
constexpr std::size_t kPageFill = 4096;  // a page ends past this many body bytes...
constexpr int kPagePackets = 4;           // ...once this many packets end on it
constexpr std::size_t kPageHeaderBytes = 27;
constexpr std::uint8_t kContinuedPacket = 0x01;
constexpr std::uint8_t kFirstPage = 0x02;
constexpr std::uint8_t kLastPage = 0x04;
// Stored low byte first, the serial number reads FF F0: the first frame sync in the file,
// and no Layer III header. Pages that the Ogg opener refuses go on to the MP3 opener,
// whose frame scan then stops at once, where it used to search the whole file (the MP3
// target's work, and a third of this target's time).
constexpr std::uint32_t kSerialNumber = 0xF0FF;

// One lacing value of a packet: up to 255 of its bytes.
struct Segment {
  std::size_t offset;    // of its bytes in the input
  std::uint8_t length;   // under 255 for a packet's last segment
  std::int64_t granule;  // of the packet the segment ends
};

HARNESS_UNTRACED void StoreLe(std::uint8_t* at, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The pages are laid out as a libogg stream lays out the same packets, and written
// straight into the file: the stream copied every packet into buffers of its own and
// each page out of them again, which took a third of each input's time.
class PageLayout {
 public:
  // A packet goes in as segments of 255 bytes and one shorter, possibly empty, last one.
  HARNESS_UNTRACED void AddPacket(std::size_t offset, std::size_t size, std::int64_t granule) {
    for (;;) {
      const std::size_t take = std::min<std::size_t>(size, 255);
      segments_.push_back({offset, static_cast<std::uint8_t>(take), granule});
      offset += take;
      size -= take;
      if (take < 255) return;
    }
  }

  // The first packet has the first page to itself; a page holds at most 255 segments
  // and ends early past kPageFill bytes once kPagePackets packets ended on it.
  HARNESS_UNTRACED void WritePages(const std::uint8_t* input, std::vector<std::uint8_t>* file) {
    std::uint32_t sequence = 0;
    for (std::size_t first = 0; first < segments_.size();) {
      std::size_t end = first;
      std::size_t fill = 0;
      int packetsEnded = 0;
      int packetsJustEnded = 0;
      std::int64_t granule = sequence == 0 ? 0 : -1;  // the first page's says 0 in any case
      while (end < segments_.size() && end - first < kPageSegments) {
        if (sequence > 0 && fill > kPageFill && packetsJustEnded >= kPagePackets) break;
        const Segment& segment = segments_[end++];
        fill += segment.length;
        packetsJustEnded = 0;
        if (segment.length < 255) {
          granule = segment.granule;
          packetsJustEnded = ++packetsEnded;
          if (sequence == 0) break;
        }
      }
      const bool continued = first > 0 && segments_[first - 1].length == 255;
      const std::uint8_t flags = (continued ? kContinuedPacket : 0) | (sequence == 0 ? kFirstPage : 0) |
                                 (end == segments_.size() ? kLastPage : 0);
      WritePage(input, first, end, fill, flags, granule, sequence++, file);
      first = end;
    }
    segments_.clear();
  }

 private:
  HARNESS_UNTRACED void WritePage(const std::uint8_t* input, std::size_t first, std::size_t end, std::size_t fill,
                                  std::uint8_t flags, std::int64_t granule, std::uint32_t sequence,
                                  std::vector<std::uint8_t>* file) const {
    const std::size_t count = end - first;
    const std::size_t start = file->size();
    file->resize(start + kPageHeaderBytes + count + fill);
    std::uint8_t* header = file->data() + start;
    std::memcpy(header, "OggS", 4);
    header[4] = 0;  // stream structure version
    header[5] = flags;
    StoreLe(header + 6, static_cast<std::uint64_t>(granule), 8);
    StoreLe(header + 14, kSerialNumber, 4);
    StoreLe(header + 18, sequence, 4);
    StoreLe(header + 22, 0, 4);  // the checksum, taken over the page with these bytes zero
    header[26] = static_cast<std::uint8_t>(count);
    std::uint8_t* body = header + kPageHeaderBytes + count;
    for (std::size_t i = first; i < end; ++i) {
      header[kPageHeaderBytes + i - first] = segments_[i].length;
      std::memcpy(body, input + segments_[i].offset, segments_[i].length);
      body += segments_[i].length;
    }
    ogg_page page{header, static_cast<long>(kPageHeaderBytes + count), header + kPageHeaderBytes + count,
                  static_cast<long>(fill)};
    ogg_page_checksum_set(&page);
  }

  std::vector<Segment> segments_;
};

// The next 0xFF byte pair at or after `start`, or `size`.
HARNESS_UNTRACED std::size_t NextCut(const std::uint8_t* data, std::size_t start, std::size_t size) {
  for (std::size_t at = NextByte(data, start, size, 0xFF); at + 1 < size; at = NextByte(data, at + 1, size, 0xFF)) {
    if (data[at + 1] == 0xFF) return at;
  }
  return size;
}

// The first three packets are the Vorbis headers, at granule 0; audio packets count on.
HARNESS_UNTRACED std::int64_t PacketGranule(std::int64_t number) { return number < 3 ? 0 : number * 256; }

HARNESS_UNTRACED std::vector<std::uint8_t> WrapInPages(const std::uint8_t* data, std::size_t size) {
  static PageLayout pages;  // one for the process, so its segment list keeps its room
  std::size_t start = 0;
  std::int64_t packetNumber = 0;
  for (std::size_t cut = NextCut(data, 0, size); cut < size; cut = NextCut(data, start, size)) {
    pages.AddPacket(start, cut - start, PacketGranule(packetNumber++));
    start = cut + 2;
  }
  pages.AddPacket(start, size - start, PacketGranule(packetNumber));
  std::vector<std::uint8_t> file;
  file.reserve(size + size / 8 + 64);
  pages.WritePages(data, &file);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    // A RIFF file is the WAV target's: decoding the converted WAV files this mode grew
    // took most of this target's time in some runs.
    if (size >= 5 && std::memcmp(data + 1, "RIFF", 4) == 0) return 0;
    DecodeSoundImage(data + 1, size - 1, Mp3Frames::OpenedOnly);
  } else {
    const std::vector<std::uint8_t> file = WrapInPages(data + 1, size - 1);
    DecodeSoundImage(file.data(), file.size(), Mp3Frames::OpenedOnly);
  }
  return 0;
}
