// A movie opened the way the library opens one: filter graph, multimedia stream with a
// video stream on the test's DirectDraw object and the default sound renderer, a
// system-memory sample surface, the virtual clock standing still until moved.
#pragma once

#include <string>

#include "ddraw_fixture.h"
#include "dshow/dshow.h"
#include "kernel/code_page.h"
#include "kernel/handles.h"
#include "kernel/sync.h"
#include "movie_writer.h"
#include "../support/scratch_directory.h"

class DShowTest : public DDrawTest {
 protected:
  static constexpr std::uint64_t kClockStart = 5000000000;  // microseconds
  static constexpr STREAM_TIME kFrameTime = 1000000;         // 10 frames a second

  void SetUp() override {
    DDrawTest::SetUp();
    TestClockStart(kClockStart, 0);
    event_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  }

  void TearDown() override {
    Close();
    CloseHandle(event_);
    TestClockStop();
    DDrawTest::TearDown();
  }

  // Moves the virtual clock to `ms` milliseconds after the start.
  static void ClockAt(std::uint64_t ms) { TestClockSet(kClockStart + ms * 1000); }


  std::string WriteMovie(const TestMovieSpec& spec, const std::string& name = "movie.avi") {
    EXPECT_TRUE(WriteTestMovie((scratch_.path() / name).string(), spec));
    return name;
  }

  // Builds the graph and stream and opens `file` (a Shift-JIS name): OpenFile's result.
  HRESULT Open(const std::string& file) {
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(&graph_)),
              S_OK);
    EXPECT_EQ(CoCreateInstance(CLSID_AMMultiMediaStream, nullptr, CLSCTX_INPROC_SERVER, IID_IAMMultiMediaStream,
                               reinterpret_cast<void**>(&stream_)),
              S_OK);
    EXPECT_EQ(stream_->Initialize(STREAMTYPE_READ, AMMSF_NOGRAPHTHREAD, graph_), S_OK);
    EXPECT_EQ(graph_->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control_)), S_OK);
    IDirectDraw4* dd4 = nullptr;
    EXPECT_EQ(dd_->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd4)), DD_OK);
    EXPECT_EQ(stream_->AddMediaStream(dd4, &MSPID_PrimaryVideo, 0, nullptr), S_OK);
    dd4->Release();
    EXPECT_EQ(stream_->AddMediaStream(nullptr, &MSPID_PrimaryAudio, AMMSF_ADDDEFAULTRENDERER, nullptr), S_OK);
    WCHAR wide[MAX_PATH];
    EXPECT_GT(MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH), 0);
    const HRESULT opened = stream_->OpenFile(wide, 0);
    if (opened != S_OK) return opened;
    IMediaStream* video = nullptr;
    EXPECT_EQ(stream_->GetMediaStream(MSPID_PrimaryVideo, &video), S_OK);
    EXPECT_EQ(video->QueryInterface(IID_IDirectDrawMediaStream, reinterpret_cast<void**>(&video_)), S_OK);
    video->Release();
    return S_OK;
  }

  // The frame size the stream reports.
  SIZE FrameSize() {
    DDSURFACEDESC format{};
    format.dwSize = sizeof(format);
    EXPECT_EQ(video_->GetFormat(&format, nullptr, nullptr, nullptr), S_OK);
    return SIZE{static_cast<LONG>(format.dwWidth), static_cast<LONG>(format.dwHeight)};
  }

  // A system-memory surface through the first-version interface, as the library makes it.
  IDirectDrawSurface* MakeFirstVersionSurface(DWORD width, DWORD height, const DDPIXELFORMAT& format) {
    IDirectDraw* first = nullptr;
    EXPECT_EQ(dd_->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)), DD_OK);
    DDSURFACEDESC description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.dwWidth = width;
    description.dwHeight = height;
    description.ddpfPixelFormat = format;
    description.ddsCaps.dwCaps = DDSCAPS_SYSTEMMEMORY | DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(first->CreateSurface(&description, &surface, nullptr), DD_OK);
    first->Release();
    return surface;
  }

  // Opens the movie and a sample on a surface of the frame size in `format`.
  void OpenWithSample(const std::string& file, const DDPIXELFORMAT& format = Xrgb8888()) {
    ASSERT_EQ(Open(file), S_OK);
    const SIZE size = FrameSize();
    IDirectDrawSurface* surface = MakeFirstVersionSurface(size.cx, size.cy, format);
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(video_->CreateSample(surface, nullptr, 0, &sample_), S_OK);
    surface->Release();
  }

  HRESULT Run() { return stream_->SetState(STREAMSTATE_RUN); }

  HRESULT Update() { return sample_->Update(0, event_, nullptr, 0); }

  // The event of a pending update, waited for (bounded).
  bool PendingUpdateCompletes() { return WaitForSingleObject(event_, 10000) == WAIT_OBJECT_0; }

  // The colour (0x00RRGGBB) at a point of the sample's surface, read through the
  // fourth-version interface as the library reads frames.
  std::uint32_t SamplePixel(LONG x, LONG y) {
    IDirectDrawSurface* surface = nullptr;
    RECT area{};
    EXPECT_EQ(sample_->GetSurface(&surface, &area), S_OK);
    std::uint32_t colour = SurfacePixel(surface, area.left + x, area.top + y);
    surface->Release();
    return colour;
  }

  static std::uint32_t SurfacePixel(IDirectDrawSurface* surface, LONG x, LONG y) {
    IDirectDrawSurface4* fourth = nullptr;
    EXPECT_EQ(surface->QueryInterface(IID_IDirectDrawSurface4, reinterpret_cast<void**>(&fourth)), DD_OK);
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    EXPECT_EQ(fourth->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    const DDPIXELFORMAT& format = description.ddpfPixelFormat;
    const BYTE* row = static_cast<const BYTE*>(description.lpSurface) + y * description.lPitch;
    std::uint32_t raw = 0;
    std::memcpy(&raw, row + x * (format.dwRGBBitCount / 8), format.dwRGBBitCount / 8);
    EXPECT_EQ(fourth->Unlock(nullptr), DD_OK);
    fourth->Release();
    return Widen(raw, format.dwRBitMask) << 16 | Widen(raw, format.dwGBitMask) << 8 | Widen(raw, format.dwBBitMask);
  }

  // The movie frame a point shows, checked to be a clean match of one frame's colour
  // (within `tolerance` in each channel).
  int ShownFrame(LONG x = 8, LONG y = 8, int tolerance = 24) {
    int distance = 0;
    const int frame = NearestTestMovieFrame(SamplePixel(x, y), &distance);
    EXPECT_LE(distance, tolerance) << "frame " << frame;
    return frame;
  }

  void Close() {
    if (sample_ != nullptr) sample_->Release();
    if (video_ != nullptr) video_->Release();
    if (control_ != nullptr) control_->Release();
    if (stream_ != nullptr) stream_->Release();
    if (graph_ != nullptr) graph_->Release();
    sample_ = nullptr;
    video_ = nullptr;
    control_ = nullptr;
    stream_ = nullptr;
    graph_ = nullptr;
  }

  // A channel of a raw pixel widened to 8 bits by bit replication.
  static std::uint32_t Widen(std::uint32_t raw, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = __builtin_ctz(mask);
    const int width = __builtin_popcount(mask);
    std::uint32_t value = (raw & mask) >> shift;
    std::uint32_t wide = 0;
    for (int filled = 0; filled < 8; filled += width) wide = (wide << width) | value;
    return (wide >> (((8 + width - 1) / width) * width - 8)) & 0xFF;
  }

  ScratchDirectory scratch_;
  HANDLE event_ = nullptr;
  IGraphBuilder* graph_ = nullptr;
  IAMMultiMediaStream* stream_ = nullptr;
  IMediaControl* control_ = nullptr;
  IDirectDrawMediaStream* video_ = nullptr;
  IDirectDrawStreamSample* sample_ = nullptr;
};
