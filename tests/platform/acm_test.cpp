#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../support/adpcm_encoders.h"
#include "../support/mp3_fixture.h"
#include "../support/signal_measures.h"
#include "acm/msacm.h"

using testdata::Bytes;

namespace {

// A source format with its format data, laid out as the converter reads it.
struct SourceFormat {
  Bytes bytes;
  const WAVEFORMATEX* get() const { return reinterpret_cast<const WAVEFORMATEX*>(bytes.data()); }
};

SourceFormat Format(WORD tag, int channels, int rate, int blockAlign, int bits, const Bytes& extra = {},
                    int averageBytes = 0) {
  SourceFormat f;
  testdata::PutLe(f.bytes, tag, 2);
  testdata::PutLe(f.bytes, static_cast<std::uint64_t>(channels), 2);
  testdata::PutLe(f.bytes, static_cast<std::uint64_t>(rate), 4);
  testdata::PutLe(f.bytes, averageBytes > 0 ? averageBytes : static_cast<std::uint64_t>(rate) * blockAlign, 4);
  testdata::PutLe(f.bytes, static_cast<std::uint64_t>(blockAlign), 2);
  testdata::PutLe(f.bytes, static_cast<std::uint64_t>(bits), 2);
  testdata::PutLe(f.bytes, extra.size(), 2);
  testdata::PutBytes(f.bytes, extra.data(), extra.size());
  return f;
}

WAVEFORMATEX Suggest(const SourceFormat& src, MMRESULT* result) {
  WAVEFORMATEX dst{};
  dst.wFormatTag = WAVE_FORMAT_PCM;
  *result = acmFormatSuggest(nullptr, src.get(), &dst, sizeof dst, ACM_FORMATSUGGESTF_WFORMATTAG);
  return dst;
}

// Converts all of `data` the way the sound loader does: source pieces of at most
// 2048 bytes into a destination of `dstBytes`, until a call produces nothing.
std::vector<std::int16_t> ConvertAll(const SourceFormat& src, const Bytes& data, DWORD dstBytes = 0) {
  MMRESULT result;
  WAVEFORMATEX pcm = Suggest(src, &result);
  EXPECT_EQ(result, MMSYSERR_NOERROR);
  if (result != MMSYSERR_NOERROR) return {};
  HACMSTREAM stream = nullptr;
  EXPECT_EQ(acmStreamOpen(&stream, nullptr, src.get(), &pcm, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME),
            MMSYSERR_NOERROR);
  if (stream == nullptr) return {};
  if (dstBytes == 0) dstBytes = pcm.nAvgBytesPerSec;
  DWORD bound = 0;
  EXPECT_EQ(acmStreamSize(stream, static_cast<DWORD>(data.size()), &bound, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
  std::vector<BYTE> out(dstBytes);
  Bytes pcmBytes;
  std::size_t position = 0;
  while (position < data.size()) {
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = const_cast<BYTE*>(data.data()) + position;
    header.cbSrcLength = static_cast<DWORD>(std::min<std::size_t>(2048, data.size() - position));
    header.pbDst = out.data();
    header.cbDstLength = dstBytes;
    EXPECT_EQ(acmStreamPrepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_BLOCKALIGN), MMSYSERR_NOERROR);
    EXPECT_EQ(acmStreamUnprepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
    if (header.cbDstLengthUsed == 0) break;
    position += header.cbSrcLengthUsed;
    pcmBytes.insert(pcmBytes.end(), out.begin(), out.begin() + header.cbDstLengthUsed);
  }
  EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
  EXPECT_LE(pcmBytes.size(), bound);
  std::vector<std::int16_t> samples(pcmBytes.size() / 2);
  std::memcpy(samples.data(), pcmBytes.data(), samples.size() * 2);
  return samples;
}

double RmsError(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
  double sum = 0;
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) sum += (a[i] - b[i]) * static_cast<double>(a[i] - b[i]);
  return std::sqrt(sum / static_cast<double>(n));
}

TEST(AudioConverter, LawFormatsDecodeToTheirStandardValues) {
  const Bytes codes = {0xD5, 0x55, 0xAA, 0x2A, 0x80, 0x00, 0xFF, 0x7F};
  // A-law: 0xD5/0x55 are the smallest steps, 0xAA/0x2A full scale.
  const std::vector<std::int16_t> alaw = ConvertAll(Format(WAVE_FORMAT_ALAW, 1, 8000, 1, 8), codes);
  ASSERT_EQ(alaw.size(), 8u);
  EXPECT_EQ(alaw[0], 8);
  EXPECT_EQ(alaw[1], -8);
  EXPECT_EQ(alaw[2], 32256);
  EXPECT_EQ(alaw[3], -32256);
  // mu-law: 0x80/0x00 full scale, 0xFF/0x7F zero.
  const std::vector<std::int16_t> mulaw = ConvertAll(Format(WAVE_FORMAT_MULAW, 2, 8000, 2, 8), codes);
  ASSERT_EQ(mulaw.size(), 8u);
  EXPECT_EQ(mulaw[4], 32124);
  EXPECT_EQ(mulaw[5], -32124);
  EXPECT_EQ(mulaw[6], 0);
  EXPECT_EQ(mulaw[7], 0);

  // Every code decodes, and the positive half mirrors the negative half.
  Bytes all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<std::uint8_t>(i));
  const std::vector<std::int16_t> a = ConvertAll(Format(WAVE_FORMAT_ALAW, 1, 8000, 1, 8), all);
  const std::vector<std::int16_t> u = ConvertAll(Format(WAVE_FORMAT_MULAW, 1, 8000, 1, 8), all);
  ASSERT_EQ(a.size(), 256u);
  ASSERT_EQ(u.size(), 256u);
  for (int i = 0; i < 128; ++i) {
    EXPECT_EQ(a[i], -a[i + 128]) << i;
    EXPECT_EQ(u[i], -u[i + 128]) << i;
  }
}

TEST(AudioConverter, FloatAndExtensibleSamplesReduceTo16Bits) {
  const std::vector<std::int16_t> expected = {0, 1, -1, 12345, -32768, 32767, 32767, -32768, 0};
  Bytes floats, doubles;
  const double values[] = {0.0, 1.0 / 32768, -1.0 / 32768, 12345.0 / 32768, -1.0, 32767.0 / 32768, 1.5, -2.0, NAN};
  for (double v : values) {
    const float f = static_cast<float>(v);
    testdata::PutBytes(floats, &f, 4);
    testdata::PutBytes(doubles, &v, 8);
  }
  floats.resize(floats.size() + 2);  // a trailing partial frame is not converted
  doubles.resize(doubles.size() + 8);
  // One channel of 32-bit floats, and a 3-channel 64-bit extensible float stream.
  EXPECT_EQ(ConvertAll(Format(WAVE_FORMAT_IEEE_FLOAT, 1, 44100, 4, 32), floats), expected);
  const std::vector<std::int16_t> wide = ConvertAll(
      Format(WAVE_FORMAT_EXTENSIBLE, 3, 44100, 24, 64, testdata::ExtensibleExtra(64, WAVE_FORMAT_IEEE_FLOAT)), doubles);
  ASSERT_EQ(wide.size(), 9u);
  EXPECT_EQ(wide, expected);

  // Extensible integer PCM keeps the two most significant bytes of each sample.
  const Bytes pcm24 = {0x56, 0x34, 0x12, 0xFF, 0xFF, 0x80};
  EXPECT_EQ(ConvertAll(Format(WAVE_FORMAT_EXTENSIBLE, 2, 48000, 6, 24, testdata::ExtensibleExtra(24, 1)), pcm24),
            (std::vector<std::int16_t>{0x1234, -32513}));
  const Bytes pcm8 = {0, 128, 255};
  EXPECT_EQ(ConvertAll(Format(WAVE_FORMAT_EXTENSIBLE, 1, 8000, 1, 8, testdata::ExtensibleExtra(8, 1)), pcm8),
            (std::vector<std::int16_t>{-32768, 0, 32512}));
}

TEST(AudioConverter, ImaAdpcmDecodesWhatTheEncoderReconstructs) {
  for (int channels : {1, 2}) {
    const int blockAlign = 256 * channels;
    const std::vector<std::int16_t> signal = testdata::Sine(5000, channels, 440, 22050, 12000);
    const testdata::AdpcmData encoded = testdata::EncodeIma(signal, channels, blockAlign);
    const SourceFormat src =
        Format(WAVE_FORMAT_IMA_ADPCM, channels, 22050, blockAlign, 4, encoded.fmtExtra);
    const std::vector<std::int16_t> decoded = ConvertAll(src, encoded.data);
    EXPECT_EQ(decoded, encoded.decoded) << channels;
    EXPECT_LT(RmsError(decoded, signal), 300.0) << channels;
  }
}

TEST(AudioConverter, MsAdpcmDecodesWhatTheEncoderReconstructs) {
  for (int channels : {1, 2}) {
    const int blockAlign = 256 * channels;
    const std::vector<std::int16_t> signal = testdata::Sine(5000, channels, 300, 22050, 12000);
    const testdata::AdpcmData encoded = testdata::EncodeMsAdpcm(signal, channels, blockAlign);
    const SourceFormat src = Format(WAVE_FORMAT_ADPCM, channels, 22050, blockAlign, 4, encoded.fmtExtra);
    const std::vector<std::int16_t> decoded = ConvertAll(src, encoded.data);
    EXPECT_EQ(decoded, encoded.decoded) << channels;
    EXPECT_LT(RmsError(decoded, signal), 600.0) << channels;
  }
}

TEST(AudioConverter, BlocksThatDoNotFitTheDestinationWaitForTheNextCall) {
  const std::vector<std::int16_t> signal = testdata::Sine(3000, 1, 440, 22050, 8000);
  const testdata::AdpcmData encoded = testdata::EncodeIma(signal, 1, 256);
  const SourceFormat src = Format(WAVE_FORMAT_IMA_ADPCM, 1, 22050, 256, 4, encoded.fmtExtra);
  // Room for one block and a half: one block per call.
  const DWORD oneBlock = static_cast<DWORD>(encoded.samplesPerBlock * 2);
  EXPECT_EQ(ConvertAll(src, encoded.data, oneBlock * 3 / 2), encoded.decoded);
}

TEST(AudioConverter, CorruptMsAdpcmPredictorFailsTheConversion) {
  const std::vector<std::int16_t> signal = testdata::Sine(1000, 1, 440, 22050, 8000);
  testdata::AdpcmData encoded = testdata::EncodeMsAdpcm(signal, 1, 256);
  encoded.data[0] = 7;  // only pairs 0..6 exist
  const SourceFormat src = Format(WAVE_FORMAT_ADPCM, 1, 22050, 256, 4, encoded.fmtExtra);
  MMRESULT result;
  WAVEFORMATEX pcm = Suggest(src, &result);
  HACMSTREAM stream = nullptr;
  ASSERT_EQ(acmStreamOpen(&stream, nullptr, src.get(), &pcm, nullptr, 0, 0, 0), MMSYSERR_NOERROR);
  std::vector<BYTE> out(pcm.nAvgBytesPerSec);
  ACMSTREAMHEADER header{sizeof header, 0, encoded.data.data(), 256, 0, out.data(),
                         static_cast<DWORD>(out.size()), 0};
  ASSERT_EQ(acmStreamPrepareHeader(stream, &header, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(acmStreamConvert(stream, &header, ACM_STREAMCONVERTF_BLOCKALIGN), static_cast<MMRESULT>(MMSYSERR_ERROR));
  acmStreamUnprepareHeader(stream, &header, 0);
  acmStreamClose(stream, 0);
}

TEST(AudioConverter, UnsupportedAndInconsistentFormatsAreRefused) {
  MMRESULT result;
  Suggest(Format(WAVE_FORMAT_PCM, 2, 44100, 4, 16), &result);  // plain PCM needs no conversion
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  Suggest(Format(0x0160, 2, 44100, 4, 16), &result);
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  Suggest(Format(WAVE_FORMAT_ALAW, 0, 8000, 1, 8), &result);
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  Suggest(Format(WAVE_FORMAT_ALAW, 1, 0, 1, 8), &result);
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  Suggest(Format(WAVE_FORMAT_IEEE_FLOAT, 2, 44100, 4, 32), &result);  // block align of 16-bit samples
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  Suggest(Format(WAVE_FORMAT_IMA_ADPCM, 1, 22050, 256, 4), &result);  // no samples-per-block word
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  Suggest(Format(WAVE_FORMAT_IMA_ADPCM, 1, 22050, 256, 4, {0xFF, 0x7F}), &result);  // more than a block holds
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  Suggest(Format(WAVE_FORMAT_ADPCM, 1, 22050, 256, 4, {0xF4, 0x01, 0x07, 0x00}), &result);  // coefficients missing
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  Bytes unknownSub = testdata::ExtensibleExtra(16, 1);
  unknownSub[20] ^= 1;
  Suggest(Format(WAVE_FORMAT_EXTENSIBLE, 2, 44100, 4, 16, unknownSub), &result);
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  Suggest(Format(WAVE_FORMAT_MPEGLAYER3, 2, 44100, 1, 0), &result);  // no Layer III data
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  Bytes layer3(12, 0);
  layer3[0] = MPEGLAYER3_ID_MPEG;
  Suggest(Format(WAVE_FORMAT_MPEGLAYER3, 2, 44000, 1, 0, layer3), &result);  // no MPEG rate
  EXPECT_EQ(result, static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));

  // The only destination is the suggested one.
  const SourceFormat alaw = Format(WAVE_FORMAT_ALAW, 1, 8000, 1, 8);
  WAVEFORMATEX pcm = Suggest(alaw, &result);
  ASSERT_EQ(result, MMSYSERR_NOERROR);
  EXPECT_EQ(pcm.wBitsPerSample, 16);
  EXPECT_EQ(pcm.nAvgBytesPerSec, 16000u);
  pcm.wBitsPerSample = 8;
  pcm.nBlockAlign = 1;
  HACMSTREAM stream = nullptr;
  EXPECT_EQ(acmStreamOpen(&stream, nullptr, alaw.get(), &pcm, nullptr, 0, 0, 0),
            static_cast<MMRESULT>(ACMERR_NOTPOSSIBLE));
  EXPECT_EQ(stream, nullptr);
}

TEST(AudioConverter, ConversionNeedsAPreparedHeader) {
  const SourceFormat alaw = Format(WAVE_FORMAT_ALAW, 1, 8000, 1, 8);
  MMRESULT result;
  WAVEFORMATEX pcm = Suggest(alaw, &result);
  HACMSTREAM stream = nullptr;
  ASSERT_EQ(acmStreamOpen(&stream, nullptr, alaw.get(), &pcm, nullptr, 0, 0, 0), MMSYSERR_NOERROR);
  BYTE src[4] = {0xD5, 0xD5, 0xD5, 0xD5};
  BYTE dst[8];
  ACMSTREAMHEADER header{sizeof header, 0, src, 4, 0, dst, 8, 0};
  EXPECT_EQ(acmStreamConvert(stream, &header, 0), static_cast<MMRESULT>(ACMERR_UNPREPARED));
  EXPECT_EQ(acmStreamUnprepareHeader(stream, &header, 0), static_cast<MMRESULT>(ACMERR_UNPREPARED));
  EXPECT_EQ(acmStreamClose(nullptr, 0), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  EXPECT_EQ(acmStreamClose(stream, 0), MMSYSERR_NOERROR);
}

// Layer III data as the sound loader hands it over: the frames from the first one on.
TEST(AudioConverter, Mp3DecodesTheEncodedToneWithoutLosingTheEnd) {
  const testdata::Mp3File mp3 = testdata::EncodeMp3Sine(1.0, 440, 44100, 2, 128);
  ASSERT_FALSE(mp3.bytes.empty()) << mp3.error;
  Bytes extra(12, 0);
  extra[0] = MPEGLAYER3_ID_MPEG;
  const SourceFormat src = Format(WAVE_FORMAT_MPEGLAYER3, 2, 44100, 1, 0, extra, 128000 / 8);
  const std::vector<std::int16_t> whole = ConvertAll(src, mp3.bytes);
  // Encoder delay and padding may remain: about one second of stereo samples.
  ASSERT_GE(whole.size(), 2u * 44100);
  ASSERT_LE(whole.size(), 2u * (44100 + 3 * 1152));
  EXPECT_NEAR(testdata::ZeroCrossingFrequency(whole, 2, 44100), 440.0, 5.0);
  EXPECT_GT(testdata::PeakAbs(whole), 8000);

  // A destination far smaller than what a source piece decodes to gives the same PCM.
  EXPECT_EQ(ConvertAll(src, mp3.bytes, 1000), whole);
}

// Decoder handles pass from one codec to the next: what a stream of another layout
// left behind, or one dropped halfway, must not reach the next stream.
TEST(AudioConverter, Mp3DecodesTheSameAfterOtherStreams) {
  const testdata::Mp3File stereo = testdata::EncodeMp3Sine(0.5, 440, 44100, 2, 128);
  const testdata::Mp3File mono = testdata::EncodeMp3Sine(0.5, 1000, 22050, 1, 32);
  ASSERT_FALSE(stereo.bytes.empty()) << stereo.error;
  ASSERT_FALSE(mono.bytes.empty()) << mono.error;
  Bytes extra(12, 0);
  extra[0] = MPEGLAYER3_ID_MPEG;
  const SourceFormat stereoFormat = Format(WAVE_FORMAT_MPEGLAYER3, 2, 44100, 1, 0, extra, 128000 / 8);
  const SourceFormat monoFormat = Format(WAVE_FORMAT_MPEGLAYER3, 1, 22050, 1, 0, extra, 32000 / 8);
  const std::vector<std::int16_t> first = ConvertAll(stereoFormat, stereo.bytes);
  const std::vector<std::int16_t> firstMono = ConvertAll(monoFormat, mono.bytes);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(firstMono.empty());
  EXPECT_NEAR(testdata::ZeroCrossingFrequency(firstMono, 1, 22050), 1000.0, 10.0);
  EXPECT_EQ(ConvertAll(stereoFormat, stereo.bytes), first);

  const Bytes half(stereo.bytes.begin(), stereo.bytes.begin() + static_cast<long>(stereo.bytes.size() / 2));
  EXPECT_FALSE(ConvertAll(stereoFormat, half).empty());
  EXPECT_EQ(ConvertAll(monoFormat, mono.bytes), firstMono);
  EXPECT_EQ(ConvertAll(stereoFormat, stereo.bytes), first);
}

}  // namespace
