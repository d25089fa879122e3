// Test data: Ogg Vorbis streams encoded at test time with libvorbisenc.
#pragma once

#include <vorbis/vorbisenc.h>

#include <algorithm>

#include <cstdint>
#include <vector>

#include "wave_builder.h"

namespace testdata {

// Encodes interleaved 16-bit samples (VBR quality 0.4).
inline Bytes EncodeOgg(const std::vector<std::int16_t>& samples, int channels, int rate) {
  Bytes out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 20240601);
  ogg_page page;
  ogg_packet packet, commentPacket, codePacket;
  auto writePage = [&out](const ogg_page& p) {
    PutBytes(out, p.header, static_cast<std::size_t>(p.header_len));
    PutBytes(out, p.body, static_cast<std::size_t>(p.body_len));
  };
  vorbis_analysis_headerout(&dsp, &comment, &packet, &commentPacket, &codePacket);
  ogg_stream_packetin(&stream, &packet);
  ogg_stream_packetin(&stream, &commentPacket);
  ogg_stream_packetin(&stream, &codePacket);
  while (ogg_stream_flush(&stream, &page) != 0) writePage(page);

  auto drain = [&]() {
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) writePage(page);
      }
    }
  };
  const int frames = static_cast<int>(samples.size()) / channels;
  for (int done = 0; done < frames; done += 1024) {
    const int count = std::min(1024, frames - done);
    float** buffer = vorbis_analysis_buffer(&dsp, count);
    for (int i = 0; i < count; ++i) {
      for (int c = 0; c < channels; ++c) buffer[c][i] = samples[(done + i) * channels + c] / 32768.0f;
    }
    vorbis_analysis_wrote(&dsp, count);
    drain();
  }
  vorbis_analysis_wrote(&dsp, 0);
  drain();
  while (ogg_stream_flush(&stream, &page) != 0) writePage(page);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

}  // namespace testdata
