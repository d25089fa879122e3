// Movies played through the DirectShow stand-in into DirectDraw surfaces: frames follow
// the (virtual) clock, pause, seek and the end of the stream.
#include "dshow_fixture.h"

using DShowPlayback = DShowTest;

TEST_F(DShowPlayback, OpenReportsTheMovieAndWaitsStopped) {
  TestMovieSpec spec;
  spec.width = 80;
  spec.height = 60;
  OpenWithSample(WriteMovie(spec));
  const SIZE size = FrameSize();
  EXPECT_EQ(size.cx, 80);
  EXPECT_EQ(size.cy, 60);
  STREAM_TIME duration = 0;
  ASSERT_EQ(stream_->GetDuration(&duration), S_OK);
  EXPECT_EQ(duration, 8 * kFrameTime);
  IMediaSeeking* seeking = nullptr;
  ASSERT_EQ(graph_->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking)), S_OK);
  LONGLONG stop = 0;
  EXPECT_EQ(seeking->GetStopPosition(&stop), S_OK);
  EXPECT_EQ(stop, duration);
  seeking->Release();

  STREAM_STATE state = STREAMSTATE_RUN;
  EXPECT_EQ(stream_->GetState(&state), S_OK);
  EXPECT_EQ(state, STREAMSTATE_STOP);
  ClockAt(500);
  STREAM_TIME time = -1;
  EXPECT_EQ(stream_->GetTime(&time), S_OK);
  EXPECT_EQ(time, 0);
  EXPECT_EQ(Update(), MS_E_NOTRUNNING);

  RECT area{};
  IDirectDrawSurface* surface = nullptr;
  ASSERT_EQ(sample_->GetSurface(&surface, &area), S_OK);
  EXPECT_EQ(area.right - area.left, 80);
  EXPECT_EQ(area.bottom - area.top, 60);
  DDSCAPS caps{};
  EXPECT_EQ(surface->GetCaps(&caps), DD_OK);
  EXPECT_TRUE(caps.dwCaps & DDSCAPS_SYSTEMMEMORY);
  surface->Release();
}

TEST_F(DShowPlayback, FramesComeWhenTheirTimeComes) {
  OpenWithSample(WriteMovie(TestMovieSpec{}));
  ASSERT_EQ(Run(), S_OK);
  EXPECT_EQ(Update(), S_OK);  // frame 0 is due at once
  EXPECT_EQ(ShownFrame(), 0);

  EXPECT_EQ(Update(), MS_S_PENDING);
  EXPECT_EQ(Update(), MS_E_BUSY);
  ClockAt(99);
  EXPECT_EQ(WaitForSingleObject(event_, 30), WAIT_TIMEOUT);
  ClockAt(100);
  ASSERT_TRUE(PendingUpdateCompletes());
  EXPECT_EQ(ShownFrame(), 1);
  ResetEvent(event_);

  // Late by several frames: the newest due frame, at once.
  ClockAt(450);
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 4);
  STREAM_TIME time = 0;
  ASSERT_EQ(stream_->GetTime(&time), S_OK);
  EXPECT_EQ(time, 4500000);
}

TEST_F(DShowPlayback, PauseHoldsTheClockAndAPendingFrame) {
  OpenWithSample(WriteMovie(TestMovieSpec{}));
  ASSERT_EQ(Run(), S_OK);
  ClockAt(250);
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 2);
  EXPECT_EQ(Update(), MS_S_PENDING);

  ASSERT_EQ(control_->Pause(), S_OK);
  STREAM_STATE state = STREAMSTATE_RUN;
  EXPECT_EQ(stream_->GetState(&state), S_OK);
  EXPECT_EQ(state, STREAMSTATE_STOP);
  ClockAt(5000);
  STREAM_TIME time = 0;
  EXPECT_EQ(stream_->GetTime(&time), S_OK);
  EXPECT_EQ(time, 2500000);
  EXPECT_EQ(WaitForSingleObject(event_, 30), WAIT_TIMEOUT);

  // Running again, the clock goes on from where it stood.
  ASSERT_EQ(Run(), S_OK);
  ClockAt(5049);
  EXPECT_EQ(WaitForSingleObject(event_, 30), WAIT_TIMEOUT);
  ClockAt(5050);
  ASSERT_TRUE(PendingUpdateCompletes());
  EXPECT_EQ(ShownFrame(), 3);
  EXPECT_EQ(stream_->GetTime(&time), S_OK);
  EXPECT_EQ(time, 3000000);
}

TEST_F(DShowPlayback, SeekShowsTheFrameAtThatTimeBetweenKeyFrames) {
  TestMovieSpec spec;
  spec.frames = 12;
  spec.keyFrameInterval = 5;
  OpenWithSample(WriteMovie(spec));
  ASSERT_EQ(Run(), S_OK);
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 0);

  ASSERT_EQ(stream_->Seek(880 * 10000), S_OK);  // inside frame 8, three after a key frame
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 8);
  ASSERT_EQ(stream_->Seek(130 * 10000), S_OK);  // backwards
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 1);
  ClockAt(100);  // the clock runs on from the seek
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 2);

  // Seeking while paused moves the time without starting.
  ASSERT_EQ(control_->Pause(), S_OK);
  ASSERT_EQ(stream_->Seek(600 * 10000), S_OK);
  STREAM_TIME time = 0;
  EXPECT_EQ(stream_->GetTime(&time), S_OK);
  EXPECT_EQ(time, 6000000);
  EXPECT_EQ(Update(), MS_E_NOTRUNNING);
  ASSERT_EQ(Run(), S_OK);
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 6);

  // The second half of the frame before a key frame.
  ASSERT_EQ(stream_->Seek(450 * 10000), S_OK);
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 4);

  // A seek answers an update that waits.
  EXPECT_EQ(Update(), MS_S_PENDING);
  ASSERT_EQ(stream_->Seek(1050 * 10000), S_OK);
  ASSERT_TRUE(PendingUpdateCompletes());
  EXPECT_EQ(ShownFrame(), 10);
}

TEST_F(DShowPlayback, TheEndIsReportedAfterTheLastFrameHasRunItsTime) {
  OpenWithSample(WriteMovie(TestMovieSpec{}));
  ASSERT_EQ(Run(), S_OK);
  ClockAt(750);
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 7);
  EXPECT_EQ(Update(), MS_S_PENDING);  // the end comes at 800 ms
  ClockAt(800);
  ASSERT_TRUE(PendingUpdateCompletes());
  EXPECT_EQ(ShownFrame(), 7);  // the last frame stays
  EXPECT_EQ(Update(), MS_S_ENDOFSTREAM);
  EXPECT_EQ(Update(), MS_S_ENDOFSTREAM);

  ClockAt(3000);
  STREAM_TIME time = 0;
  EXPECT_EQ(stream_->GetTime(&time), S_OK);
  EXPECT_EQ(time, 8 * kFrameTime);

  // Far past the end at the first look: the last frame, then the end.
  ASSERT_EQ(stream_->Seek(0), S_OK);
  ClockAt(60000);
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 7);
  EXPECT_EQ(Update(), MS_S_ENDOFSTREAM);
}

TEST_F(DShowPlayback, MovieWithSoundPlaysItsPictures) {
  TestMovieSpec spec;
  spec.withSound = true;
  OpenWithSample(WriteMovie(spec));
  ASSERT_EQ(Run(), S_OK);
  ClockAt(320);
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 3);
}

TEST_F(DShowPlayback, ShiftJisFileNamesOpen) {
  const std::string name = "\x83\x80\x81\x5B\x83\x72\x81\x5B.avi";  // "ムービー.avi"
  OpenWithSample(WriteMovie(TestMovieSpec{}, name));
  ASSERT_EQ(Run(), S_OK);
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 0);
}

TEST_F(DShowPlayback, TheUsualMovieContainersOpen) {
  struct Container {
    const char* format;
    const char* codec;
    const char* name;
    int framesPerSecond;
  };
  const Container containers[] = {{"mp4", "mpeg4", "movie.mp4", 10},
                                  {"matroska", "mpeg4", "movie.mkv", 10},
                                  {"asf", "msmpeg4", "movie.wmv", 10},
                                  {"mpeg", "mpeg1video", "movie.mpg", 25}};
  for (const Container& container : containers) {
    SCOPED_TRACE(container.name);
    TestMovieSpec spec;
    spec.container = container.format;
    spec.videoCodec = container.codec;
    spec.framesPerSecond = container.framesPerSecond;
    ClockAt(0);
    OpenWithSample(WriteMovie(spec, container.name));
    ASSERT_EQ(Run(), S_OK);
    ClockAt(5 * 1000 / container.framesPerSecond + 10);
    EXPECT_EQ(Update(), S_OK);
    EXPECT_EQ(ShownFrame(), 5);
    Close();
  }
}
