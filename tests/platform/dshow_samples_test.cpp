// Stream samples: the surfaces frames go into, their pixel kinds and rectangles, and the
// order in which the objects may be let go.
#include "dshow_fixture.h"

using DShowSamples = DShowTest;

TEST_F(DShowSamples, EveryColourKindTakesTheFrames) {
  const std::string file = WriteMovie(TestMovieSpec{});
  const DDPIXELFORMAT formats[] = {
      Rgb565(), Format(16, 0x7C00, 0x3E0, 0x1F), Format(16, 0x7C00, 0x3E0, 0x1F, 0x8000),
      Format(16, 0xF00, 0xF0, 0xF, 0xF000), Xrgb8888(), Format(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000)};
  for (const DDPIXELFORMAT& format : formats) {
    SCOPED_TRACE(format.dwRBitMask);
    ClockAt(0);
    OpenWithSample(file, format);
    ASSERT_EQ(Run(), S_OK);
    ClockAt(510);
    ASSERT_EQ(Update(), S_OK);
    // Four-bit channels are dithered.
    const int tolerance = format.dwRBitMask == 0xF00 ? 40 : 24;
    EXPECT_EQ(ShownFrame(8, 8, tolerance), 5);
    EXPECT_EQ(ShownFrame(63, 47, tolerance), 5);
    if (format.dwRGBAlphaBitMask != 0) {
      IDirectDrawSurface* surface = nullptr;
      ASSERT_EQ(sample_->GetSurface(&surface, nullptr), S_OK);
      IDirectDrawSurface4* fourth = nullptr;
      ASSERT_EQ(surface->QueryInterface(IID_IDirectDrawSurface4, reinterpret_cast<void**>(&fourth)), DD_OK);
      DDSURFACEDESC2 description{};
      description.dwSize = sizeof(description);
      ASSERT_EQ(fourth->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
      std::uint32_t raw = 0;
      std::memcpy(&raw, description.lpSurface, format.dwRGBBitCount / 8);
      EXPECT_EQ(raw & format.dwRGBAlphaBitMask, format.dwRGBAlphaBitMask);  // opaque
      fourth->Unlock(nullptr);
      fourth->Release();
      surface->Release();
    }
    Close();
  }
}

TEST_F(DShowSamples, ARectangleScalesTheFrameIntoPartOfTheSurface) {
  ASSERT_EQ(Open(WriteMovie(TestMovieSpec{})), S_OK);
  IDirectDrawSurface* surface = MakeFirstVersionSurface(200, 100, Xrgb8888());
  IDirectDrawSurface7* seventh = nullptr;
  ASSERT_EQ(surface->QueryInterface(IID_IDirectDrawSurface7, reinterpret_cast<void**>(&seventh)), DD_OK);
  ASSERT_EQ(Fill(seventh, 0x00123456), DD_OK);
  RECT area{100, 10, 196, 82};  // 1.5 times the frame
  ASSERT_EQ(video_->CreateSample(surface, &area, 0, &sample_), S_OK);
  ASSERT_EQ(Run(), S_OK);
  ASSERT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(0, 0), 0);
  EXPECT_EQ(ShownFrame(95, 71), 0);
  EXPECT_EQ(SurfacePixel(surface, 99, 10), 0x123456u);
  EXPECT_EQ(SurfacePixel(surface, 196, 81), 0x123456u);
  EXPECT_EQ(SurfacePixel(surface, 100, 82), 0x123456u);
  RECT reported{};
  ASSERT_EQ(sample_->GetSurface(nullptr, &reported), S_OK);
  EXPECT_EQ(reported.left, 100);
  EXPECT_EQ(reported.bottom, 82);
  seventh->Release();
  surface->Release();
}

TEST_F(DShowSamples, WithoutASurfaceTheStreamMakesOneInTheDisplayFormat) {
  ASSERT_EQ(Open(WriteMovie(TestMovieSpec{})), S_OK);
  ASSERT_EQ(video_->CreateSample(nullptr, nullptr, 0, &sample_), S_OK);
  IDirectDrawSurface* surface = nullptr;
  RECT area{};
  ASSERT_EQ(sample_->GetSurface(&surface, &area), S_OK);
  EXPECT_EQ(area.right, 64);
  EXPECT_EQ(area.bottom, 48);
  DDSCAPS caps{};
  ASSERT_EQ(surface->GetCaps(&caps), DD_OK);
  EXPECT_TRUE(caps.dwCaps & DDSCAPS_SYSTEMMEMORY);
  IDirectDrawSurface4* fourth = nullptr;
  ASSERT_EQ(surface->QueryInterface(IID_IDirectDrawSurface4, reinterpret_cast<void**>(&fourth)), DD_OK);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(fourth->GetSurfaceDesc(&description), DD_OK);
  DDSURFACEDESC2 display{};
  display.dwSize = sizeof(display);
  ASSERT_EQ(dd_->GetDisplayMode(&display), DD_OK);
  EXPECT_EQ(description.ddpfPixelFormat.dwRGBBitCount, display.ddpfPixelFormat.dwRGBBitCount);
  EXPECT_EQ(description.ddpfPixelFormat.dwRBitMask, display.ddpfPixelFormat.dwRBitMask);
  fourth->Release();
  surface->Release();
  ASSERT_EQ(Run(), S_OK);
  ClockAt(200);
  ASSERT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 2);
}

TEST_F(DShowSamples, SurfacesThatCannotTakeFramesAreRefused) {
  ASSERT_EQ(Open(WriteMovie(TestMovieSpec{})), S_OK);
  IDirectDrawSurface7* depth = MakeSurface(64, 48, ZBuffer16(), DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY);
  IDirectDrawSurface* depthFirst = nullptr;
  ASSERT_EQ(depth->QueryInterface(IID_IDirectDrawSurface, reinterpret_cast<void**>(&depthFirst)), DD_OK);
  EXPECT_EQ(video_->CreateSample(depthFirst, nullptr, 0, &sample_), DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(sample_, nullptr);
  depthFirst->Release();
  depth->Release();

  IDirectDrawSurface* small = MakeFirstVersionSurface(32, 48, Xrgb8888());
  EXPECT_EQ(video_->CreateSample(small, nullptr, 0, &sample_), DDERR_INVALIDRECT);
  RECT outside{0, 0, 33, 10};
  EXPECT_EQ(video_->CreateSample(small, &outside, 0, &sample_), DDERR_INVALIDRECT);
  RECT empty{5, 5, 5, 9};
  EXPECT_EQ(video_->CreateSample(small, &empty, 0, &sample_), DDERR_INVALIDRECT);
  EXPECT_EQ(video_->CreateSample(small, nullptr, 1, &sample_), E_INVALIDARG);
  EXPECT_EQ(small->Release(), 0u);  // nothing kept a reference
}

TEST_F(DShowSamples, UpdatesTakeOnlyTheAsynchronousForm) {
  OpenWithSample(WriteMovie(TestMovieSpec{}));
  ASSERT_EQ(Run(), S_OK);
  EXPECT_EQ(sample_->Update(0, nullptr, nullptr, 0), E_INVALIDARG);
  EXPECT_EQ(sample_->Update(1, event_, nullptr, 0), E_INVALIDARG);
  EXPECT_EQ(Update(), S_OK);
}

TEST_F(DShowSamples, ASampleLetGoWhileWaitingGetsNoFrame) {
  OpenWithSample(WriteMovie(TestMovieSpec{}));
  ASSERT_EQ(Run(), S_OK);
  ASSERT_EQ(Update(), S_OK);
  ASSERT_EQ(Update(), MS_S_PENDING);
  sample_->Release();
  sample_ = nullptr;
  ClockAt(300);
  EXPECT_EQ(WaitForSingleObject(event_, 30), WAIT_TIMEOUT);

  // The stream lives on for a new sample.
  IDirectDrawSurface* surface = MakeFirstVersionSurface(64, 48, Rgb565());
  ASSERT_EQ(video_->CreateSample(surface, nullptr, 0, &sample_), S_OK);
  surface->Release();
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 3);
}

TEST_F(DShowSamples, TheSampleOutlivesTheStreamsAndGraph) {
  OpenWithSample(WriteMovie(TestMovieSpec{}));
  ASSERT_EQ(Run(), S_OK);
  ASSERT_EQ(Update(), S_OK);
  ASSERT_EQ(Update(), MS_S_PENDING);
  video_->Release();
  control_->Release();
  stream_->Release();
  graph_->Release();
  video_ = nullptr;
  control_ = nullptr;
  stream_ = nullptr;
  graph_ = nullptr;
  ClockAt(100);
  ASSERT_TRUE(PendingUpdateCompletes());
  EXPECT_EQ(ShownFrame(), 1);
}

TEST_F(DShowSamples, CallsOutOfOrderAreRefused) {
  IAMMultiMediaStream* stream = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_AMMultiMediaStream, nullptr, CLSCTX_INPROC_SERVER, IID_IAMMultiMediaStream,
                             reinterpret_cast<void**>(&stream)),
            S_OK);
  EXPECT_EQ(stream->AddMediaStream(nullptr, &MSPID_PrimaryAudio, AMMSF_ADDDEFAULTRENDERER, nullptr), MS_E_NOTINIT);
  EXPECT_EQ(stream->OpenFile(u"movie.avi", 0), MS_E_NOTINIT);
  EXPECT_EQ(stream->SetState(STREAMSTATE_RUN), MS_E_NOTINIT);
  // Without a graph the stream makes its own.
  ASSERT_EQ(stream->Initialize(STREAMTYPE_READ, 0, nullptr), S_OK);
  EXPECT_EQ(stream->Initialize(STREAMTYPE_READ, 0, nullptr), E_UNEXPECTED);
  EXPECT_EQ(stream->AddMediaStream(nullptr, &MSPID_PrimaryVideo, 0, nullptr), E_INVALIDARG);
  EXPECT_EQ(stream->AddMediaStream(nullptr, &MSPID_PrimaryAudio, 0, nullptr), E_NOTIMPL);
  IMediaStream* none = nullptr;
  EXPECT_EQ(stream->GetMediaStream(MSPID_PrimaryVideo, &none), MS_E_NOSTREAM);
  WriteMovie(TestMovieSpec{});
  EXPECT_EQ(stream->OpenFile(u"movie.avi", 0), S_OK);
  EXPECT_EQ(stream->OpenFile(u"movie.avi", 0), MS_E_SOURCEALREADYDEFINED);
  EXPECT_EQ(stream->AddMediaStream(nullptr, &MSPID_PrimaryAudio, AMMSF_ADDDEFAULTRENDERER, nullptr),
            MS_E_SOURCEALREADYDEFINED);
  STREAM_TIME duration = 0;
  EXPECT_EQ(stream->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 8 * kFrameTime);
  stream->Release();

  // One movie per graph.
  WriteMovie(TestMovieSpec{}, "second.avi");
  ASSERT_EQ(Open("movie.avi"), S_OK);
  IAMMultiMediaStream* other = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_AMMultiMediaStream, nullptr, CLSCTX_INPROC_SERVER, IID_IAMMultiMediaStream,
                             reinterpret_cast<void**>(&other)),
            S_OK);
  ASSERT_EQ(other->Initialize(STREAMTYPE_READ, 0, graph_), S_OK);
  EXPECT_EQ(other->OpenFile(u"second.avi", 0), MS_E_SOURCEALREADYDEFINED);
  other->Release();
}
