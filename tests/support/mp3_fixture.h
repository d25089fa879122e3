// Test data: MP3 files encoded at test time by the ffmpeg command (Debian package
// "ffmpeg", with its Layer III encoder) from a generated tone.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "wave_builder.h"

namespace testdata {

struct Mp3File {
  Bytes file;               // as written, with its tag and info frame
  std::size_t firstFrame = 0;  // where the frames start (after any ID3v2 tag)
  Bytes bytes;              // the frames alone
  std::string error;
};

// The length of a leading ID3v2 tag, 0 when there is none.
inline std::size_t Id3v2Length(const Bytes& file) {
  if (file.size() < 10 || file[0] != 'I' || file[1] != 'D' || file[2] != '3') return 0;
  std::size_t size = 0;
  for (int i = 6; i < 10; ++i) size = (size << 7) | (file[i] & 0x7F);
  return size + 10 + ((file[3] == 4 && (file[5] & 0x10)) ? 10 : 0);
}

// `seconds` of a sine at `frequency`, encoded at `kbps` (constant bit rate).
inline Mp3File EncodeMp3Sine(double seconds, double frequency, int rate, int channels, int kbps,
                             const std::string& extraOptions = "") {
  Mp3File result;
  std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-mp3-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    result.error = "no temporary directory";
    return result;
  }
  const std::filesystem::path dir = pattern;
  const Bytes wav = Wav(PcmFmt(channels, rate, 16),
                        AsBytes(Sine(static_cast<int>(seconds * rate), channels, frequency, rate, 16000)));
  std::ofstream(dir / "in.wav", std::ios::binary).write(reinterpret_cast<const char*>(wav.data()),
                                                         static_cast<std::streamsize>(wav.size()));
  const std::string command = "ffmpeg -nostdin -loglevel error -y -i '" + (dir / "in.wav").string() +
                              "' -codec:a libmp3lame -b:a " + std::to_string(kbps) + "k " + extraOptions + " '" +
                              (dir / "out.mp3").string() + "'";
  if (std::system(command.c_str()) != 0) {
    result.error = "ffmpeg failed: " + command;
  } else {
    std::ifstream in(dir / "out.mp3", std::ios::binary);
    result.file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    result.firstFrame = Id3v2Length(result.file);
    if (result.firstFrame < result.file.size()) {
      result.bytes.assign(result.file.begin() + static_cast<long>(result.firstFrame), result.file.end());
    }
  }
  std::filesystem::remove_all(dir);
  return result;
}

}  // namespace testdata
