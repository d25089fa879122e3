// Movies played into graphs: drawing a movie graph at a moment shows that moment's
// frame; pause, the window's activation, the end, one refresh per presented frame, and
// the release and reopen around a display change.
#include "movie_fixture.h"

TEST_F(MovieGraphTest, AMovieFileLoadsAsAGraphOfItsFrameSizeAndWaitsToBeStarted) {
  StartMovies();
  TestMovieSpec spec;
  spec.width = 96;
  spec.height = 40;
  WriteMovie("intro.avi", spec);
  const int graph = LoadGraphFile("intro.avi");
  ASSERT_GE(graph, 0) << Log();
  int width = 0;
  int height = 0;
  ASSERT_EQ(QueryGraphSize(graph, &width, &height), 0);
  EXPECT_EQ(width, 96);
  EXPECT_EQ(height, 40);
  const MovieRecord* movie = MovieOf(graph);
  ASSERT_NE(movie, nullptr);
  EXPECT_EQ(movie->ownerGraph, graph);
  EXPECT_EQ(movie->playing, 0);
  EXPECT_EQ(movie->temporaryCopy, 0);
  EXPECT_EQ(movie->duration, 8000000);
  EXPECT_EQ(MovieTable.liveCount, 1);
  EXPECT_EQ(static_cast<std::uint32_t>(GetGraphRecord(graph)->movie) >> 27, 3u);

  // Not started: drawing asks for no frame.
  ClockAt(300);
  PresentScreen();
  EXPECT_EQ(DrawGraphAt(0, 0, graph, 0), 0);
  EXPECT_EQ(movie->updatePending, 0);
  EXPECT_FALSE(LogHas("エラーが発生しました"));
}

TEST_F(MovieGraphTest, EachDrawShowsTheFrameOfThatMoment) {
  StartMovies();
  WriteMovie("intro.avi");
  const int graph = LoadGraphFile("intro.avi");
  ASSERT_GE(graph, 0) << Log();
  ASSERT_EQ(PlayGraphMovie(graph), 0);
  EXPECT_EQ(DrawnFrame(graph), 0);
  EXPECT_EQ(MovieOf(graph)->updatePending, 1);  // frame 1 comes at 100 ms
  ClockAt(60);
  EXPECT_EQ(DrawnFrame(graph), 0);
  ClockAt(100);
  EXPECT_EQ(DrawnNewFrame(graph), 1);
  ClockAt(420);  // late: the newest frame due
  EXPECT_EQ(DrawnNewFrame(graph), 4);
  ClockAt(590);
  EXPECT_EQ(DrawnNewFrame(graph), 5);
}

TEST_F(MovieGraphTest, APausedMovieHoldsItsFrameAndGoesOnFromThere) {
  StartMovies();
  WriteMovie("intro.avi");
  const int graph = LoadGraphFile("intro.avi");
  ASSERT_GE(graph, 0) << Log();
  ASSERT_EQ(PlayGraphMovie(graph), 0);
  EXPECT_EQ(DrawnFrame(graph), 0);
  ClockAt(250);
  EXPECT_EQ(DrawnNewFrame(graph), 2);
  ASSERT_EQ(PauseGraphMovie(graph), 0);
  EXPECT_EQ(MovieOf(graph)->playing, 0);
  ClockAt(2000);
  EXPECT_EQ(DrawnFrame(graph), 2);
  STREAM_TIME time = 0;
  MovieOf(graph)->multimediaStream->GetTime(&time);
  EXPECT_EQ(time, 2500000);

  ASSERT_EQ(PlayGraphMovie(graph), 0);  // stream time 250 ms at clock 2000 ms
  ClockAt(2060);
  EXPECT_EQ(DrawnNewFrame(graph), 3);
}

TEST_F(MovieGraphTest, TheWindowsActivationPausesAndResumesEveryMovie) {
  StartMovies();
  SetRunWhileInactive(1);
  WriteMovie("one.avi");
  WriteMovie("two.avi");
  const int one = LoadGraphFile("one.avi");
  const int two = LoadGraphFile("two.avi");
  ASSERT_GE(one, 0);
  ASSERT_GE(two, 0);
  ASSERT_EQ(ResumeAllGraphMovies(), 0);
  EXPECT_EQ(MovieOf(one)->playing, 1);
  EXPECT_EQ(MovieOf(two)->playing, 1);
  TestSetWindowFocus(0);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(MovieOf(one)->playing, 0);
  EXPECT_EQ(MovieOf(two)->playing, 0);
  TestSetWindowFocus(1);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(MovieOf(one)->playing, 1);
  EXPECT_EQ(MovieOf(two)->playing, 1);
}

TEST_F(MovieGraphTest, TheEndStopsTheMovieOnItsLastFrame) {
  StartMovies();
  WriteMovie("intro.avi");
  const int graph = LoadGraphFile("intro.avi");
  ASSERT_GE(graph, 0) << Log();
  ASSERT_EQ(PlayGraphMovie(graph), 0);
  EXPECT_EQ(DrawnFrame(graph), 0);
  ClockAt(750);
  EXPECT_EQ(DrawnNewFrame(graph), 7);
  ClockAt(800);  // the last frame has run its time
  EXPECT_EQ(DrawnNewFrame(graph), 7);
  const MovieRecord* movie = MovieOf(graph);
  EXPECT_EQ(movie->playing, 0);
  EXPECT_EQ(movie->updatePending, 0);
  ClockAt(5000);
  EXPECT_EQ(DrawnFrame(graph), 7);
  EXPECT_EQ(movie->updatePending, 0);
}

TEST_F(MovieGraphTest, TwoDrawsInOnePresentedFrameRefreshOnce) {
  StartMovies();
  TestMovieSpec spec;
  spec.framesPerSecond = 100;
  spec.frames = 12;
  WriteMovie("fast.avi", spec);
  const int graph = LoadGraphFile("fast.avi");
  ASSERT_GE(graph, 0) << Log();
  ASSERT_EQ(PlayGraphMovie(graph), 0);
  EXPECT_EQ(DrawnFrame(graph), 0);
  ClockAt(10);
  ASSERT_EQ(WaitForSingleObject(MovieOf(graph)->frameEvent, 10000), WAIT_OBJECT_0);
  DrawGraphAt(0, 0, graph, 0);  // the same presented frame, 10 ms on
  EXPECT_EQ(FrameAt(4, 4), 0);
  EXPECT_EQ(DrawnFrame(graph), 1);  // presented: refreshed
  ClockAt(40);  // 30 ms on without a present: the guard has run out
  EXPECT_EQ(WaitForSingleObject(MovieOf(graph)->frameEvent, 10000), WAIT_OBJECT_0);
  DrawGraphAt(0, 0, graph, 0);
  EXPECT_EQ(FrameAt(4, 4), 4);
}

TEST_F(MovieGraphTest, ADisplayChangeKeepsThePlaceAndThePlayState) {
  StartMovies();
  WriteMovie("one.avi");
  WriteMovie("two.avi");
  const int playing = LoadGraphFile("one.avi");
  const int paused = LoadGraphFile("two.avi");
  ASSERT_GE(playing, 0);
  ASSERT_GE(paused, 0);
  ASSERT_EQ(ResumeAllGraphMovies(), 0);
  EXPECT_EQ(DrawnFrame(playing), 0);
  EXPECT_EQ(DrawnFrame(paused), 0);
  ClockAt(350);
  EXPECT_EQ(DrawnNewFrame(playing), 3);
  ClockAt(450);
  EXPECT_EQ(DrawnNewFrame(paused), 4);
  ASSERT_EQ(PauseGraphMovie(paused), 0);

  ASSERT_EQ(ReleaseAllMovieObjects(), 0);
  EXPECT_EQ(MovieOf(playing)->sampleSurface, nullptr);
  EXPECT_EQ(MovieOf(playing)->playPosition, 4500000);
  EXPECT_EQ(MovieOf(paused)->playPosition, 4500000);
  ClockAt(470);
  EXPECT_EQ(DrawnFrame(playing), 3);  // no objects: the last frame stays
  ASSERT_EQ(ReopenAllMovies(), 0);
  EXPECT_NE(MovieOf(playing)->sampleSurface, nullptr);

  // The playing one goes on from 450 ms; the paused one waits.
  ClockAt(500);
  EXPECT_EQ(DrawnFrame(playing), 4);
  ClockAt(580);
  EXPECT_EQ(DrawnNewFrame(playing), 5);
  EXPECT_EQ(DrawnFrame(paused), 4);
  ASSERT_EQ(PlayGraphMovie(paused), 0);
  ClockAt(700);  // 450 + 120 ms
  EXPECT_EQ(DrawnFrame(paused), 5);
}

TEST_F(MovieGraphTest, RecreatingTheGraphicsObjectsRebuildsTheMovies) {
  StartMovies();
  WriteMovie("intro.avi");
  const int graph = LoadGraphFile("intro.avi");
  ASSERT_GE(graph, 0);
  ASSERT_EQ(PlayGraphMovie(graph), 0);
  ClockAt(250);
  EXPECT_EQ(DrawnFrame(graph), 2);
  ASSERT_EQ(RecreateObjectsAsTheWindowDoes(), 0);
  const MovieRecord* movie = MovieOf(graph);
  ASSERT_NE(movie, nullptr);
  EXPECT_NE(movie->sampleSurface, nullptr);
  EXPECT_EQ(movie->playPosition, 2500000);
  ClockAt(360);
  EXPECT_EQ(DrawnFrame(graph), 3);
  EXPECT_EQ(DDrawTestDeadObjectUses(), 0);
}

TEST_F(MovieGraphTest, SoftwareDrawingAtSixteenBitsShowsTheFrames) {
  StartMovies(16, 1, 1);
  WriteMovie("intro.avi");
  const int graph = LoadGraphFile("intro.avi");
  ASSERT_GE(graph, 0) << Log();
  ASSERT_EQ(PlayGraphMovie(graph), 0);
  ClockAt(330);
  EXPECT_EQ(DrawnFrame(graph), 3);
  ClockAt(600);
  EXPECT_EQ(DrawnNewFrame(graph), 6);
}
