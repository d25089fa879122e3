#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../support/adpcm_encoders.h"
#include "../support/mp3_fixture.h"
#include "../support/ogg_fixture.h"
#include "../support/signal_measures.h"
#include "core/sound_source.h"
#include "core/tracked_alloc.h"

using testdata::Bytes;

namespace {

// What decoding a whole file image gives.
struct Decoded {
  int opened = -1;
  int kind = -1;
  WAVEFORMATEX format{};
  Bytes pcm;

  std::vector<std::int16_t> Samples() const {
    std::vector<std::int16_t> s(pcm.size() / 2);
    std::memcpy(s.data(), pcm.data(), s.size() * 2);
    return s;
  }
};

Decoded Decode(const Bytes& file) {
  Decoded result;
  MemoryStream* memory = MemoryStreamOpen(file.data(), file.size());
  DataStream stream{GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  SoundSource source;
  result.opened = OpenSoundSource(&stream, &source);
  if (result.opened == 0) {
    result.kind = source.kind;
    void* pcm = nullptr;
    std::uint32_t bytes = 0;
    EXPECT_EQ(DecodeWholeSource(&source, &result.format, &pcm, &bytes), 0);
    const BYTE* p = static_cast<const BYTE*>(pcm);
    result.pcm.assign(p, p + bytes);
    TrackedFree(pcm);
    EXPECT_EQ(CloseSoundSource(&source), 0);
    EXPECT_EQ(CloseSoundSource(&source), -1);
  }
  MemoryStreamClose(reinterpret_cast<StreamHandle>(memory));
  return result;
}

Bytes Pcm16(const std::vector<std::int16_t>& s) { return testdata::AsBytes(s); }

TEST(SoundSource, PcmWavDecodesToItsExactBytes) {
  const Bytes stereo = Pcm16(testdata::Sine(1000, 2, 440, 44100, 20000));
  Decoded d = Decode(testdata::Wav(testdata::PcmFmt(2, 44100, 16), stereo));
  ASSERT_EQ(d.opened, 0);
  EXPECT_EQ(d.kind, kSourceWavPcm);
  EXPECT_EQ(d.pcm, stereo);
  EXPECT_EQ(d.format.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(d.format.nChannels, 2);
  EXPECT_EQ(d.format.nSamplesPerSec, 44100u);
  EXPECT_EQ(d.format.wBitsPerSample, 16);
  EXPECT_EQ(d.format.nBlockAlign, 4);
  EXPECT_EQ(d.format.cbSize, 0);

  const Bytes mono8 = {0, 64, 128, 192, 255};
  d = Decode(testdata::Wav(testdata::PcmFmt(1, 11025, 8), mono8));
  ASSERT_EQ(d.opened, 0);
  EXPECT_EQ(d.pcm, mono8);
  EXPECT_EQ(d.format.wBitsPerSample, 8);
}

TEST(SoundSource, ChunkWalkSkipsPaddedChunksAndShortFmtGetsItsSampleSize) {
  const Bytes pcm = Pcm16({1, 2, 3, 4, 5, 6});
  // An odd-sized chunk before "data" is followed by its pad byte.
  Bytes between;
  testdata::PutChunk(between, "LIST", {'a', 'b', 'c'});
  testdata::PutChunk(between, "fact", {1, 0, 0, 0});
  Decoded d = Decode(testdata::Wav(testdata::PcmFmt(2, 22050, 16), pcm, between));
  ASSERT_EQ(d.opened, 0);
  EXPECT_EQ(d.pcm, pcm);

  // A 16-byte fmt chunk: the sample size comes from block align / channels.
  testdata::FmtChunk fmt = testdata::PcmFmt(2, 22050, 16);
  fmt.withCbSize = false;
  fmt.bits = 0;
  d = Decode(testdata::Wav(fmt, pcm));
  ASSERT_EQ(d.opened, 0);
  EXPECT_EQ(d.format.wBitsPerSample, 16);
  EXPECT_EQ(d.pcm, pcm);
}

TEST(SoundSource, FmtChunkMustComeFirstAndMakeSense) {
  const Bytes pcm = Pcm16({1, 2, 3, 4});
  // "fmt " after another chunk: neither WAV opener takes it, nor any other.
  Bytes file = testdata::Wav(testdata::PcmFmt(1, 8000, 16), pcm);
  Bytes reordered(file.begin(), file.begin() + 12);
  testdata::PutChunk(reordered, "JUNK", {0, 0});
  reordered.insert(reordered.end(), file.begin() + 12, file.end());
  EXPECT_EQ(Decode(reordered).opened, -1);

  auto rejects = [&pcm](testdata::FmtChunk fmt) { return Decode(testdata::Wav(fmt, pcm)).opened == -1; };
  testdata::FmtChunk f = testdata::PcmFmt(1, 8000, 16);
  f.channels = 0;
  EXPECT_TRUE(rejects(f));
  f = testdata::PcmFmt(9, 8000, 16);
  EXPECT_TRUE(rejects(f));
  f = testdata::PcmFmt(1, 0, 16);
  EXPECT_TRUE(rejects(f));
  f = testdata::PcmFmt(1, 8000, 16);
  f.blockAlign = 0;
  EXPECT_TRUE(rejects(f));
  f = testdata::PcmFmt(1, 8000, 16);
  f.withCbSize = false;
  f.blockAlign = 0;  // would divide by the channel count otherwise
  EXPECT_TRUE(rejects(f));
  EXPECT_TRUE(rejects(testdata::PcmFmt(1, 8000, 24)));  // plain PCM: 8 or 16 bits

  // fmt shorter than 16 bytes, and fmt longer than the file.
  Bytes shortFmt = file;
  shortFmt[16] = 14;
  EXPECT_EQ(Decode(shortFmt).opened, -1);
  Bytes hugeFmt = file;
  hugeFmt[16] = 0xFF;
  hugeFmt[17] = 0xFF;
  hugeFmt[18] = 0xFF;
  hugeFmt[19] = 0x7F;
  EXPECT_EQ(Decode(hugeFmt).opened, -1);
}

TEST(SoundSource, DataSizeIsWhatTheFileHolds) {
  const Bytes pcm = Pcm16({10, 20, 30, 40, 50});
  Decoded d = Decode(testdata::Wav(testdata::PcmFmt(1, 8000, 16), pcm, {}, 0x7FFFFFF0));
  ASSERT_EQ(d.opened, 0);
  EXPECT_EQ(d.pcm, pcm);

  // A file cut inside a sample frame keeps its whole frames.
  const Bytes stereo = Pcm16({1, 2, 3, 4, 5, 6});
  for (std::size_t cut : {9u, 10u, 11u}) {
    d = Decode(testdata::Wav(testdata::PcmFmt(2, 8000, 16), Bytes(stereo.begin(), stereo.begin() + cut)));
    EXPECT_EQ(d.pcm, Bytes(stereo.begin(), stereo.begin() + 8)) << cut << " bytes";
  }

  // The same for data that goes through the converter.
  const Bytes alaw = {0xD5, 0x55, 0xD5, 0x55};
  testdata::FmtChunk fmt = testdata::PcmFmt(1, 8000, 8);
  fmt.tag = WAVE_FORMAT_ALAW;
  d = Decode(testdata::Wav(fmt, alaw, {}, 0x10000000));
  ASSERT_EQ(d.opened, 0);
  EXPECT_EQ(d.kind, kSourceAcm);
  EXPECT_EQ(d.Samples(), (std::vector<std::int16_t>{8, -8, 8, -8}));
}

// The converter's formats are tested with the converter; here the fmt chunk's format
// data must reach it, and every block, also blocks larger than the pieces it is fed.
TEST(SoundSource, ConvertedWavHandsItsFormatDataToTheConverter) {
  const std::vector<std::int16_t> signal = testdata::Sine(20000, 2, 440, 22050, 12000);
  testdata::FmtChunk fmt = testdata::PcmFmt(2, 22050, 16);
  fmt.tag = WAVE_FORMAT_IMA_ADPCM;
  fmt.bits = 4;
  testdata::AdpcmData ima;
  for (int blockAlign : {1024, 4096, 8192}) {
    SCOPED_TRACE(blockAlign);
    ima = testdata::EncodeIma(signal, 2, blockAlign);
    fmt.blockAlign = static_cast<std::uint16_t>(blockAlign);
    fmt.extra = ima.fmtExtra;
    Decoded d = Decode(testdata::Wav(fmt, ima.data));
    ASSERT_EQ(d.opened, 0);
    EXPECT_EQ(d.kind, kSourceAcm);
    EXPECT_EQ(d.format.wBitsPerSample, 16);
    EXPECT_EQ(d.format.nChannels, 2);
    EXPECT_EQ(d.format.nAvgBytesPerSec, 22050u * 4);
    EXPECT_EQ(d.Samples(), ima.decoded);
  }

  // A format-data size beyond the chunk is not read past the chunk.
  testdata::FmtChunk lying = fmt;
  lying.extra.clear();
  Bytes file = testdata::Wav(lying, ima.data);
  file[36] = 0xFF;  // cbSize; the chunk has none of it
  EXPECT_EQ(Decode(file).opened, -1);
}

// The block a whole decode takes: the PCM data as it is, the most the converter can
// give, the Ogg stream's stated length plus a second of slack; none once closed.
TEST(SoundSource, WholeSizeIsTheBlockAWholeDecodeTakes) {
  testdata::FmtChunk alaw = testdata::PcmFmt(1, 8000, 8);
  alaw.tag = WAVE_FORMAT_ALAW;
  const struct {
    const char* name;
    Bytes file;
    std::uint64_t bytes;
  } cases[] = {
      {"PCM", testdata::Wav(testdata::PcmFmt(2, 44100, 16), Pcm16(testdata::Sine(1000, 2, 440, 44100, 20000))), 4000},
      {"A-law", testdata::Wav(alaw, {0xD5, 0x55, 0xD5, 0x55, 0xD5, 0x55}, {}, 0x10000000), 12},
      {"Ogg", testdata::EncodeOgg(testdata::Sine(3000, 1, 440, 22050, 16000), 1, 22050), (3000 + 44100) * 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryStream* memory = MemoryStreamOpen(c.file.data(), c.file.size());
    DataStream stream{GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
    SoundSource source;
    ASSERT_EQ(OpenSoundSource(&stream, &source), 0);
    std::uint64_t bytes = 0;
    EXPECT_EQ(WholeSourceBytes(&source, &bytes), 0);
    EXPECT_EQ(bytes, c.bytes);
    CloseSoundSource(&source);
    EXPECT_EQ(WholeSourceBytes(&source, &bytes), -1);
    MemoryStreamClose(reinterpret_cast<StreamHandle>(memory));
  }
}

TEST(SoundSource, UnknownWavFormatIsRefused) {
  testdata::FmtChunk fmt = testdata::PcmFmt(2, 44100, 16);
  fmt.tag = 0x0160;
  EXPECT_EQ(Decode(testdata::Wav(fmt, Bytes(400, 1))).opened, -1);
  EXPECT_EQ(Decode(Bytes(1000, 0x55)).opened, -1);
  EXPECT_EQ(Decode(Bytes()).opened, -1);
}

TEST(SoundSource, OggVorbisDecodesEverySampleAsSixteenBitPcm) {
  const int frames = 30000;
  const std::vector<std::int16_t> signal = testdata::Sine(frames, 2, 440, 44100, 16000);
  const Bytes ogg = testdata::EncodeOgg(signal, 2, 44100);
  ASSERT_FALSE(ogg.empty());
  Decoded d = Decode(ogg);
  ASSERT_EQ(d.opened, 0);
  EXPECT_EQ(d.kind, kSourceOgg);
  EXPECT_EQ(d.format.nChannels, 2);
  EXPECT_EQ(d.format.nSamplesPerSec, 44100u);
  EXPECT_EQ(d.format.wBitsPerSample, 16);
  EXPECT_EQ(d.format.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(d.pcm.size(), static_cast<std::size_t>(frames) * 2 * 2);
  const std::vector<std::int16_t> samples = d.Samples();
  EXPECT_NEAR(testdata::ZeroCrossingFrequency(samples, 2, 44100), 440.0, 2.0);
  EXPECT_NEAR(testdata::PeakAbs(samples), 16000, 1600);

}

TEST(SoundSource, DamagedOggPageIsAHoleThatDecodingSkips) {
  const int frames = 4 * 44100;
  std::vector<std::int16_t> noisy = testdata::Sine(frames, 1, 440, 44100, 12000);
  std::uint32_t seed = 1;
  for (std::int16_t& s : noisy) {
    seed = seed * 1664525u + 1013904223u;
    s = static_cast<std::int16_t>(s + static_cast<int>(seed >> 20) - 2048);
  }
  const Bytes ogg = testdata::EncodeOgg(noisy, 1, 44100);
  std::vector<std::size_t> pages;
  for (std::size_t i = 0; i + 4 <= ogg.size(); ++i) {
    if (std::memcmp(&ogg[i], "OggS", 4) == 0) pages.push_back(i);
  }
  ASSERT_GE(pages.size(), 6u);
  Bytes damaged = ogg;
  const std::size_t page = pages[pages.size() / 2];
  damaged[page + 27 + damaged[page + 26] + 10] ^= 0x5A;
  const Decoded d = Decode(damaged);
  ASSERT_EQ(d.opened, 0);
  EXPECT_LT(d.pcm.size(), static_cast<std::size_t>(frames) * 2);
  EXPECT_GT(d.pcm.size(), static_cast<std::size_t>(frames) * 2 * 3 / 4);
}

TEST(SoundSource, ReadingInPiecesGivesTheSamePcm) {
  const std::vector<std::int16_t> signal = testdata::Sine(5000, 1, 300, 22050, 10000);
  const Bytes ogg = testdata::EncodeOgg(signal, 1, 22050);
  const Decoded whole = Decode(ogg);
  ASSERT_EQ(whole.opened, 0);

  MemoryStream* memory = MemoryStreamOpen(ogg.data(), ogg.size());
  DataStream stream{GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  SoundSource source;
  ASSERT_EQ(OpenSoundSource(&stream, &source), 0);
  Bytes pieces;
  BYTE piece[777];
  int got;
  while ((got = ReadSourcePcm(&source, piece, sizeof piece)) > 0) pieces.insert(pieces.end(), piece, piece + got);
  EXPECT_EQ(got, 0);
  EXPECT_EQ(ReadSourcePcm(&source, piece, sizeof piece), 0);
  EXPECT_EQ(source.pcmPosition, pieces.size());
  EXPECT_EQ(pieces, whole.pcm);
  CloseSoundSource(&source);
  EXPECT_EQ(ReadSourcePcm(&source, piece, sizeof piece), -1);
  MemoryStreamClose(reinterpret_cast<StreamHandle>(memory));
}

TEST(SoundSource, MpegFrameHeadersOfLayerThree) {
  MpegFrameInfo info;
  const std::uint8_t mpeg1[4] = {0xFF, 0xFB, 0x90, 0x44};  // 128 kbit/s, 44100 Hz, joint stereo
  ASSERT_EQ(ParseMpegFrameHeader(mpeg1, &info), 0);
  EXPECT_EQ(info.lowSamplingFrequency, 0);
  EXPECT_EQ(info.layer, 2);
  EXPECT_EQ(info.bitRate, 128);
  EXPECT_EQ(info.sampleRate, 44100);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.frameLength, 417);
  EXPECT_EQ(info.samplesPerFrame, 1152);
  const std::uint8_t padded[4] = {0xFF, 0xFB, 0x92, 0xC4};  // padding, mono
  ASSERT_EQ(ParseMpegFrameHeader(padded, &info), 0);
  EXPECT_EQ(info.frameLength, 418);
  EXPECT_EQ(info.channels, 1);
  const std::uint8_t mpeg2[4] = {0xFF, 0xF3, 0x80, 0x00};  // 64 kbit/s, 22050 Hz
  ASSERT_EQ(ParseMpegFrameHeader(mpeg2, &info), 0);
  EXPECT_EQ(info.lowSamplingFrequency, 1);
  EXPECT_EQ(info.sampleRate, 22050);
  EXPECT_EQ(info.frameLength, 208);
  EXPECT_EQ(info.samplesPerFrame, 576);

  const std::uint8_t badRate[4] = {0xFF, 0xFB, 0xF0, 0x00};
  const std::uint8_t badSampleRate[4] = {0xFF, 0xFB, 0x9C, 0x00};
  const std::uint8_t freeFormat[4] = {0xFF, 0xFB, 0x00, 0x00};
  const std::uint8_t layer1[4] = {0xFF, 0xFF, 0x90, 0x00};
  const std::uint8_t layer2[4] = {0xFF, 0xFD, 0x90, 0x00};
  const std::uint8_t reservedLayer[4] = {0xFF, 0xF9, 0x90, 0x00};
  const std::uint8_t noSync[4] = {0xFF, 0xEB, 0x90, 0x00};
  EXPECT_EQ(ParseMpegFrameHeader(badRate, &info), -1);
  EXPECT_EQ(ParseMpegFrameHeader(badSampleRate, &info), -1);
  EXPECT_EQ(ParseMpegFrameHeader(freeFormat, &info), -1);
  EXPECT_EQ(ParseMpegFrameHeader(layer1, &info), -1);
  EXPECT_EQ(ParseMpegFrameHeader(layer2, &info), -1);
  EXPECT_EQ(ParseMpegFrameHeader(reservedLayer, &info), -1);
  EXPECT_EQ(ParseMpegFrameHeader(noSync, &info), -2);
}

class Mp3Source : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { mp3_ = testdata::EncodeMp3Sine(1.0, 440, 44100, 2, 128); }
  static void CheckTone(const Decoded& d) {
    ASSERT_EQ(d.opened, 0);
    EXPECT_EQ(d.kind, kSourceAcm);
    EXPECT_EQ(d.format.nChannels, 2);
    EXPECT_EQ(d.format.nSamplesPerSec, 44100u);
    const std::vector<std::int16_t> s = d.Samples();
    EXPECT_GE(s.size(), 2u * 44100);
    EXPECT_LE(s.size(), 2u * (44100 + 3 * 1152));
    EXPECT_NEAR(testdata::ZeroCrossingFrequency(s, 2, 44100), 440.0, 5.0);
  }
  static testdata::Mp3File mp3_;
};
testdata::Mp3File Mp3Source::mp3_;

TEST_F(Mp3Source, EncodedFileWithItsTagsDecodes) {
  ASSERT_FALSE(mp3_.bytes.empty()) << mp3_.error;
  CheckTone(Decode(mp3_.file));
}

TEST_F(Mp3Source, TagsAreSkippedByTheirStatedSizes) {
  ASSERT_FALSE(mp3_.bytes.empty()) << mp3_.error;
  // Tag contents that would fail the frame scan if it looked at them.
  const Bytes bogusSync = {0xFF, 0xFF, 0xFF, 0xFF};
  // ID3v2.4 with a footer: 10 header bytes, the tag body, 10 footer bytes.
  Bytes file = {'I', 'D', '3', 4, 0, 0x10, 0, 0, 0x01, 0x00};  // body 128 bytes
  file.resize(file.size() + 128, 0);
  const Bytes footer = {'3', 'D', 'I', 4, 0, 0x10, 0xFF, 0xFF, 0xFF, 0xFF};
  testdata::PutBytes(file, footer.data(), footer.size());
  testdata::PutBytes(file, mp3_.bytes.data(), mp3_.bytes.size());
  // ID3v1 at the end: "TAG" and 125 bytes.
  testdata::PutBytes(file, "TAG", 3);
  testdata::PutBytes(file, bogusSync.data(), bogusSync.size());
  file.resize(file.size() + 121, 0);
  CheckTone(Decode(file));

  // Without the footer flag the footer bytes are scanned, and their sync fails the file.
  Bytes noFooterFlag = file;
  noFooterFlag[5] = 0;
  EXPECT_EQ(Decode(noFooterFlag).opened, -1);
}

// The searches for the first Ogg page and the first frame sync go through the stream a
// piece at a time: bytes before the stream are passed over wherever the pieces end,
// and an Ogg page is found as far in as vorbisfile looks (64 KB).
TEST_F(Mp3Source, BytesBeforeTheFirstPageOrFrameArePassedOver) {
  ASSERT_FALSE(mp3_.bytes.empty()) << mp3_.error;
  const Bytes ogg = testdata::EncodeOgg(testdata::Sine(3000, 1, 300, 22050, 10000), 1, 22050);
  const Bytes* streams[] = {&ogg, &mp3_.bytes};
  for (const Bytes* stream : streams) {
    const Decoded plain = Decode(*stream);
    ASSERT_EQ(plain.opened, 0);
    for (std::size_t lead : {1u, 4093u, 4094u, 4095u, 4096u, 20000u, 65535u}) {
      SCOPED_TRACE(lead);
      Bytes file(lead, 0x55);
      file.insert(file.end(), stream->begin(), stream->end());
      const Decoded d = Decode(file);
      EXPECT_EQ(d.kind, plain.kind);
      EXPECT_EQ(d.pcm, plain.pcm);
    }
  }
}

TEST_F(Mp3Source, HighBitRateAndLowSamplingRatesDecode) {
  const testdata::Mp3File loud = testdata::EncodeMp3Sine(0.5, 1000, 48000, 2, 320);
  ASSERT_FALSE(loud.bytes.empty()) << loud.error;
  Decoded d = Decode(loud.file);
  ASSERT_EQ(d.opened, 0);
  EXPECT_GE(d.pcm.size(), 4u * 24000);
  EXPECT_NEAR(testdata::ZeroCrossingFrequency(d.Samples(), 2, 48000), 1000.0, 10.0);

  const testdata::Mp3File low = testdata::EncodeMp3Sine(0.5, 500, 16000, 1, 8);
  ASSERT_FALSE(low.bytes.empty()) << low.error;
  d = Decode(low.file);
  ASSERT_EQ(d.opened, 0);
  EXPECT_EQ(d.format.nSamplesPerSec, 16000u);
  EXPECT_EQ(d.format.nChannels, 1);
  EXPECT_GE(d.pcm.size(), 2u * 8000);
  EXPECT_NEAR(testdata::ZeroCrossingFrequency(d.Samples(), 1, 16000), 500.0, 10.0);
}

TEST(SoundSource, FreeFormatAndBrokenMp3HeadersFailWithoutHanging) {
  // Frame syncs with bit-rate index 0 (free format) throughout.
  Bytes freeFormat;
  for (int i = 0; i < 200; ++i) {
    const Bytes frame = {0xFF, 0xFB, 0x00, 0x00, 0x11, 0x22};
    testdata::PutBytes(freeFormat, frame.data(), frame.size());
  }
  EXPECT_EQ(Decode(freeFormat).opened, -1);
  // A valid first header followed by junk that holds a bad sync.
  Bytes broken = {0xFF, 0xFB, 0x90, 0x44};
  broken.resize(417, 0);
  const Bytes bad = {0xFF, 0xFF, 0x90, 0x44};
  testdata::PutBytes(broken, bad.data(), bad.size());
  EXPECT_EQ(Decode(broken).opened, -1);
  // An ID3 tag claiming more than the file holds.
  Bytes tagOnly = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F, 0xFF, 0xFB, 0x90, 0x44};
  EXPECT_EQ(Decode(tagOnly).opened, -1);
}

}  // namespace
