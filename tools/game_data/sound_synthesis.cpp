#include "sound_synthesis.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kEffectRate = 22050;
constexpr int kMusicRate = 22050;

std::vector<float> EffectSamples(int seed) {
  const int length = kEffectRate * (8 + seed % 5) / 40;  // 0.2 to 0.3 s
  const double start = 220.0 * std::pow(2.0, (seed % 24) / 12.0);
  const double sweep = (seed % 3 == 0) ? 0.5 : (seed % 3 == 1 ? 1.0 : 2.0);
  std::vector<float> samples(length);
  double phase = 0.0;
  for (int i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / length;
    phase += 2.0 * kPi * start * std::pow(sweep, t) / kEffectRate;
    const double envelope = std::min(1.0, i / 100.0) * (1.0 - t) * (1.0 - t);
    samples[i] = static_cast<float>(0.6 * envelope * std::sin(phase));
  }
  return samples;
}

std::vector<float> MusicSamples(int seed) {
  const int beats = 16;
  const int beatLength = kMusicRate / 6;
  const double root = 110.0 * std::pow(2.0, (seed % 12) / 12.0);
  const int steps[4] = {0, 4, 7, 12};
  std::vector<float> samples(static_cast<std::size_t>(beats) * beatLength);
  for (int beat = 0; beat < beats; ++beat) {
    const double frequency = root * std::pow(2.0, steps[(beat + seed) % 4] / 12.0);
    for (int i = 0; i < beatLength; ++i) {
      const double t = static_cast<double>(i) / kMusicRate;
      const double envelope = std::exp(-6.0 * i / beatLength);
      samples[static_cast<std::size_t>(beat) * beatLength + i] =
          static_cast<float>(0.35 * envelope * (std::sin(2 * kPi * frequency * t) + 0.3 * std::sin(4 * kPi * frequency * t)));
    }
  }
  return samples;
}

void PutLittleEndian(std::FILE* file, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), file);
}

// Writes the pages the stream has ready (all of them when flushing); `ended` is set
// once the last page of the stream has been written.
bool WriteOggPages(std::FILE* file, ogg_stream_state& stream, bool flush, bool& ended) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
    if (std::fwrite(page.header, 1, page.header_len, file) != static_cast<std::size_t>(page.header_len)) return false;
    if (std::fwrite(page.body, 1, page.body_len, file) != static_cast<std::size_t>(page.body_len)) return false;
    if (ogg_page_eos(&page)) ended = true;
  }
  return true;
}

bool EncodeVorbis(std::FILE* file, const std::vector<float>& samples, int serial) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, kMusicRate, 0.1f) != 0) {
    vorbis_info_clear(&info);
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial);

  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  bool ended = false;
  bool ok = WriteOggPages(file, stream, true, ended);

  constexpr std::size_t kChunk = 1024;
  std::size_t done = 0;
  while (ok && !ended) {
    const std::size_t count = std::min(kChunk, samples.size() - done);
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (std::size_t i = 0; i < count; ++i) buffer[0][i] = samples[done + i];
      done += count;
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(count));  // 0 marks the end
    while (ok && vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (ok && vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        ok = WriteOggPages(file, stream, false, ended);
      }
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return ok && ended;
}

}  // namespace

bool WriteEffectWav(const std::string& path, int seed) {
  const std::vector<float> samples = EffectSamples(seed);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::fwrite("RIFF", 1, 4, file);
  PutLittleEndian(file, 36 + dataBytes, 4);
  std::fwrite("WAVEfmt ", 1, 8, file);
  PutLittleEndian(file, 16, 4);
  PutLittleEndian(file, 1, 2);  // PCM
  PutLittleEndian(file, 1, 2);  // mono
  PutLittleEndian(file, kEffectRate, 4);
  PutLittleEndian(file, kEffectRate * 2, 4);
  PutLittleEndian(file, 2, 2);
  PutLittleEndian(file, 16, 2);
  std::fwrite("data", 1, 4, file);
  PutLittleEndian(file, dataBytes, 4);
  for (float sample : samples) {
    PutLittleEndian(file, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(sample * 32767.0f))), 2);
  }
  return std::fclose(file) == 0;
}

bool WriteMusicOgg(const std::string& path, int seed) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = EncodeVorbis(file, MusicSamples(seed), 1000 + seed);
  return std::fclose(file) == 0 && ok;
}
