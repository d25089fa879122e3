// Movie files opened and played through the DirectShow stand-in. An input whose first
// byte is odd is the file itself; otherwise it damages a small generated movie (with
// sound and key frames every third picture): two bytes choose how much of it is kept,
// then each three bytes XOR one byte at a 16-bit offset. The sound is played only
// when the first byte's second bit is set: opening it reads the file a second time.
// The movie is short (six pictures in a tenth of a second), so the whole file lies
// within a 16-bit offset and most of what an input damages is headers and pictures
// rather than sound samples.
#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ddraw/ddraw.h"
#include "dshow/dshow.h"
#include "kernel/code_page.h"
#include "kernel/handles.h"
#include "kernel/sync.h"
#include "movie_writer.h"
#include "scratch_files.h"
#include "testing.h"

namespace {

constexpr int kFrames = 6;
constexpr int kFramesPerSecond = 60;
constexpr int kKeyFrameInterval = 3;
constexpr STREAM_TIME kSecondKeyFrameTime = STREAM_TIME{10000000} * kKeyFrameInterval / kFramesPerSecond;

std::string g_path;
std::vector<std::uint8_t> g_movie;
IDirectDraw7* g_directDraw = nullptr;
HANDLE g_event = nullptr;
std::uint64_t g_clock = 1000000;

std::vector<std::uint8_t> Damaged(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes = g_movie;
  if (size >= 3) {
    const std::size_t keep = (static_cast<std::size_t>(data[1]) << 8 | data[2]) + 1;
    bytes.resize(bytes.size() * keep / 65536);
  }
  for (std::size_t i = 3; i + 2 < size; i += 3) {
    const std::size_t offset = static_cast<std::size_t>(data[i]) << 8 | data[i + 1];
    if (offset < bytes.size()) bytes[offset] ^= data[i + 2];
  }
  return bytes;
}

// Every frame due at once (the clock far ahead) from where the movie was sought before
// it started. The first byte's third bit starts it at the second key frame rather than
// the start, and its fourth bit seeks once more while it runs, to the other place: each
// kind of seek stays within reach, while most inputs decode only one run of pictures.
void Play(IAMMultiMediaStream* stream, IDirectDrawMediaStream* video, std::uint8_t choice) {
  DDSURFACEDESC format{};
  format.dwSize = sizeof(format);
  if (video->GetFormat(&format, nullptr, nullptr, nullptr) != S_OK) return;
  if (format.dwWidth == 0 || format.dwHeight == 0) return;
  IDirectDrawStreamSample* sample = nullptr;
  if (video->CreateSample(nullptr, nullptr, 0, &sample) != S_OK) return;
  const STREAM_TIME first = (choice & 4) ? kSecondKeyFrameTime : 0;
  const int seeks = (choice & 8) ? 2 : 1;
  for (int i = 0; i < seeks; ++i) {
    stream->Seek(i == 0 ? first : kSecondKeyFrameTime - first);
    stream->SetState(STREAMSTATE_RUN);
    g_clock += 100000000;
    TestClockSet(g_clock);
    for (int update = 0; update < 3 && sample->Update(0, g_event, nullptr, 0) == S_OK; ++update) {
    }
    WaitForSingleObject(g_event, 0);
  }
  sample->Release();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  g_path = MakeScratchFolder(/*enter=*/false) + "/movie";
  TestMovieSpec spec;
  spec.width = 32;
  spec.height = 24;
  spec.frames = kFrames;
  spec.framesPerSecond = kFramesPerSecond;
  spec.keyFrameInterval = kKeyFrameInterval;
  spec.withSound = true;
  if (!WriteTestMovie(g_path, spec)) std::abort();
  g_movie = ReadWholeFile(g_path.c_str());

  TestClockStart(g_clock, 0);
  SetManualSoundDevice(1);  // the sound is decoded and queued; no SDL device per input
  if (SDL_Init(SDL_INIT_VIDEO) != 0 || CoInitialize(nullptr) != S_OK) std::abort();
  if (CoCreateInstance(CLSID_DirectDraw7, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectDraw7,
                       reinterpret_cast<void**>(&g_directDraw)) != S_OK ||
      g_directDraw->Initialize(nullptr) != DD_OK || g_directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL) != DD_OK) {
    std::abort();
  }
  g_event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0 && (data[0] & 1)) {
    WriteWholeFile(g_path.c_str(), data + 1, size - 1);
  } else {
    WriteWholeFile(g_path.c_str(), Damaged(data, size));
  }
  IAMMultiMediaStream* stream = nullptr;
  if (CoCreateInstance(CLSID_AMMultiMediaStream, nullptr, CLSCTX_INPROC_SERVER, IID_IAMMultiMediaStream,
                       reinterpret_cast<void**>(&stream)) != S_OK) {
    std::abort();
  }
  stream->Initialize(STREAMTYPE_READ, AMMSF_NOGRAPHTHREAD, nullptr);
  stream->AddMediaStream(g_directDraw, &MSPID_PrimaryVideo, 0, nullptr);
  if (size > 0 && (data[0] & 2)) stream->AddMediaStream(nullptr, &MSPID_PrimaryAudio, AMMSF_ADDDEFAULTRENDERER, nullptr);
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, g_path.c_str(), -1, wide, MAX_PATH);
  if (stream->OpenFile(wide, 0) == S_OK) {
    IMediaStream* media = nullptr;
    IDirectDrawMediaStream* video = nullptr;
    if (stream->GetMediaStream(MSPID_PrimaryVideo, &media) == S_OK &&
        media->QueryInterface(IID_IDirectDrawMediaStream, reinterpret_cast<void**>(&video)) == S_OK) {
      Play(stream, video, size > 0 ? data[0] : 0);
      video->Release();
    }
    if (media != nullptr) media->Release();
  }
  stream->Release();
  return 0;
}
