// A test program ends on SIGTERM and SIGINT even after SDL's video has started (which
// would otherwise take them as a quit event that nothing reads).
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(EndSignals, EndATestProgramWithSdlRunning) {
  for (int signal : {SIGTERM, SIGINT}) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
      if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) _exit(2);
      if (write(ready[1], "y", 1) != 1) _exit(2);
      for (int tick = 0; tick < 10000; ++tick) {
        SDL_PumpEvents();
        usleep(1000);
      }
      _exit(3);  // still running: the signal was swallowed
    }
    close(ready[1]);
    char started = 'n';
    ASSERT_EQ(read(ready[0], &started, 1), 1);
    close(ready[0]);
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
  }
}

}  // namespace
