// Files that are no movie, or damaged movies: refused at the open, or played as far as
// they go and then ended, never a crash (the sanitizer build runs these too).
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "dshow/sound_decoder.h"
#include "dshow_fixture.h"

using DShowDamage = DShowTest;

namespace {

std::vector<char> ReadBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& file, const std::vector<char>& bytes) {
  std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The AVI movie with the rate in its sound's WAVEFORMATEX (the "strf" chunk after
// "auds", the rate 4 bytes in) rewritten.
std::vector<char> WithSoundRate(std::vector<char> movie, std::uint32_t rate) {
  const std::string text(movie.begin(), movie.end());
  const std::size_t format = text.find("strf", text.find("auds")) + 8;
  EXPECT_LT(format + 8, movie.size());
  if (format + 8 < movie.size()) std::memcpy(&movie[format + 4], &rate, sizeof rate);
  return movie;
}

}  // namespace

TEST_F(DShowDamage, FilesThatAreNoMovieAreRefused) {
  EXPECT_EQ(Open("missing.avi"), VFW_E_NOT_FOUND);
  Close();
  scratch_.Write("text.avi", "this is not a movie at all, only some words in a file\n");
  EXPECT_EQ(Open("text.avi"), VFW_E_UNSUPPORTED_STREAM);
  Close();
  scratch_.Write("empty.avi", "");
  EXPECT_EQ(Open("empty.avi"), VFW_E_UNSUPPORTED_STREAM);
  Close();
  // Pictures are not movies, even where a decoder for them exists.
  const char png[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x02\0\0\0";
  scratch_.Write("picture.png", std::string(png, sizeof(png) - 1));
  EXPECT_EQ(Open("picture.png"), VFW_E_UNSUPPORTED_STREAM);
  Close();
  scratch_.Write("folder/inside.txt", "x");
  EXPECT_EQ(Open("folder"), VFW_E_UNSUPPORTED_STREAM);
}

TEST_F(DShowDamage, AMovieWithoutPicturesHasNoFrameSize) {
  // A container holding only sound: it opens, and the video stream reports 0 x 0.
  ASSERT_EQ(system("ffmpeg -loglevel quiet -f lavfi -i sine=duration=0.2 -c:a pcm_s16le sound.avi"), 0);
  ASSERT_EQ(Open("sound.avi"), S_OK);
  const SIZE size = FrameSize();
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, 0);
  EXPECT_EQ(video_->CreateSample(nullptr, nullptr, 0, &sample_), MS_E_INCOMPATIBLE);
}

TEST_F(DShowDamage, TruncatedMoviesOpenAndEndOrAreRefused) {
  TestMovieSpec spec;
  spec.withSound = true;
  const std::vector<char> whole = ReadBytes(WriteMovie(spec));
  ASSERT_GT(whole.size(), 1000u);
  for (std::size_t keep : {whole.size() * 3 / 4, whole.size() / 2, whole.size() / 8, std::size_t{300}, std::size_t{40}}) {
    SCOPED_TRACE(keep);
    WriteBytes("cut.avi", std::vector<char>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep)));
    ClockAt(0);
    const HRESULT opened = Open("cut.avi");
    if (opened == S_OK && FrameSize().cx > 0) {
      const SIZE size = FrameSize();
      IDirectDrawSurface* surface = MakeFirstVersionSurface(size.cx, size.cy, Xrgb8888());
      ASSERT_EQ(video_->CreateSample(surface, nullptr, 0, &sample_), S_OK);
      surface->Release();
      ASSERT_EQ(Run(), S_OK);
      ClockAt(60000);
      HRESULT result = Update();
      EXPECT_TRUE(result == S_OK || result == MS_S_ENDOFSTREAM);
      EXPECT_EQ(Update(), MS_S_ENDOFSTREAM);
    } else {
      EXPECT_TRUE(opened == S_OK || opened == VFW_E_UNSUPPORTED_STREAM) << std::hex << opened;
    }
    Close();
  }
}

// A sound whose header states a rate beyond conversion has no sound decoder; the
// movie opens and plays without it.
TEST_F(DShowDamage, SoundAtARateBeyondConversionIsLeftOut) {
  TestMovieSpec spec;
  spec.withSound = true;
  const std::vector<char> whole = ReadBytes(WriteMovie(spec));
  for (std::uint32_t rate : {50000000u, 20u}) {
    SCOPED_TRACE(rate);
    WriteBytes("rate.avi", WithSoundRate(whole, rate));
    EXPECT_EQ(SoundDecoder::Open("rate.avi", nullptr), nullptr);
    EXPECT_EQ(Open("rate.avi"), S_OK);
    Close();
  }
  WriteBytes("rate.avi", whole);
  EXPECT_NE(SoundDecoder::Open("rate.avi", nullptr), nullptr);
}

// The tone's samples played at another rate: converted to the device's rate whole, each
// decoded frame joining the next without a gap or a jump.
TEST_F(DShowDamage, SoundAtAnotherRateIsConvertedWithoutGaps) {
  TestMovieSpec spec;
  spec.withSound = true;
  const std::vector<char> whole = ReadBytes(WriteMovie(spec));
  const int toneFrames = SoundDecoder::kRate * spec.frames / spec.framesPerSecond;
  for (std::uint32_t rate : {22050u, 32000u, 48000u}) {
    SCOPED_TRACE(rate);
    WriteBytes("rate.avi", WithSoundRate(whole, rate));
    const std::unique_ptr<SoundDecoder> decoder = SoundDecoder::Open("rate.avi", nullptr);
    ASSERT_NE(decoder, nullptr);
    std::vector<std::int16_t> left;
    std::vector<std::int16_t> chunk(2 * 1000);
    for (int read = 1000; read == 1000;) {
      read = decoder->Read(chunk.data(), 1000);
      for (int i = 0; i < read; ++i) left.push_back(chunk[2 * i]);
    }
    const double expected = static_cast<double>(toneFrames) * SoundDecoder::kRate / rate;
    EXPECT_NEAR(static_cast<double>(left.size()), expected, 64.0);
    // Away from where the tone starts and stops, its slope changes by under 40 a
    // sample at these rates; a lost or repeated stretch jumps by thousands.
    constexpr std::size_t kEdge = 64;
    int steepest = 0;
    for (std::size_t i = kEdge; i + kEdge < left.size(); ++i) {
      steepest = std::max(steepest, std::abs(left[i + 1] - 2 * left[i] + left[i - 1]));
    }
    EXPECT_LT(steepest, 100);
  }
}

TEST_F(DShowDamage, CorruptedMoviesPlayToTheirEnd) {
  TestMovieSpec spec;
  spec.withSound = true;
  spec.keyFrameInterval = 4;
  const std::vector<char> whole = ReadBytes(WriteMovie(spec));
  struct Damage {
    std::size_t from;  // the first byte damaged, counted back from the end with fromEnd
    std::size_t step;
    bool fromEnd;      // 64 bytes only
  };
  // Sparse and dense damage in the pictures, in the header and in the index at the end.
  const Damage patterns[] = {{4096, 997, false}, {4096, 101, false}, {20000, 29, false},
                             {0, 211, false},    {3000, 1, true},    {64, 5, false}};
  unsigned state = 1;
  for (const Damage& damage : patterns) {
    SCOPED_TRACE(damage.step);
    std::vector<char> bytes = whole;
    const std::size_t from = damage.fromEnd ? bytes.size() - damage.from : damage.from;
    for (std::size_t i = from; i < bytes.size() && (!damage.fromEnd || i < from + 64); i += damage.step) {
      state = state * 1103515245u + 12345u;
      bytes[i] = static_cast<char>(state >> 16);
    }
    WriteBytes("damaged.avi", bytes);
    ClockAt(0);
    if (Open("damaged.avi") == S_OK && FrameSize().cx > 0) {
      const SIZE size = FrameSize();
      IDirectDrawSurface* surface = MakeFirstVersionSurface(size.cx, size.cy, Rgb565());
      if (surface != nullptr && video_->CreateSample(surface, nullptr, 0, &sample_) == S_OK) {
        ASSERT_EQ(Run(), S_OK);
        bool pending = false;
        for (std::uint64_t ms = 0; ms <= 1000; ms += 100) {
          ClockAt(ms);
          // A short look: a frame that is not due (damaged times) keeps its update waiting.
          if (pending && WaitForSingleObject(event_, 30) == WAIT_OBJECT_0) pending = false;
          ResetEvent(event_);
          if (!pending) pending = Update() == MS_S_PENDING;
        }
        ClockAt(60000);
        if (pending) {
          ASSERT_TRUE(PendingUpdateCompletes());
        }
        const HRESULT last = Update();
        EXPECT_TRUE(last == S_OK || last == MS_S_ENDOFSTREAM) << std::hex << last;
        EXPECT_EQ(Update(), MS_S_ENDOFSTREAM);
      }
      if (surface != nullptr) surface->Release();
    }
    Close();
  }
}
