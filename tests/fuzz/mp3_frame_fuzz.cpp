// Arbitrary bytes after a Layer III frame sync: the frame scan, the tags and the
// conversion of whatever frames follow.
#include <vector>

#include "decode_sound_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MpegFrameInfo frame;
  if (size >= 4) ParseMpegFrameHeader(data, &frame);
  std::vector<std::uint8_t> file = {0xFF, 0xFB};
  file.insert(file.end(), data, data + size);
  BreakOggCapturePatterns(&file);
  DecodeSoundImage(file.data(), file.size(), Mp3Frames::Decoded);
  return 0;
}
