// Arbitrary chunks after a RIFF WAVE header: the chunk walk, the fmt checks, PCM and
// every converted format.
#include <vector>

#include "decode_sound_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  file.insert(file.end(), data, data + size);
  BreakOggCapturePatterns(&file);
  DecodeSoundImage(file.data(), file.size(), Mp3Frames::OpenedOnly);
  return 0;
}
