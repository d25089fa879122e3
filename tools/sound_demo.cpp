// Sound demo: writes a short effect (WAV, 1760 Hz, mono 22050 Hz) and a one-second
// music loop (Ogg Vorbis, 440 Hz, stereo) into a temporary folder, starts the library,
// loads both through its entry points, plays the music in a loop with the effect on
// top three times, and ends after the given number of seconds (default 3). Run it
// with SDL_AUDIODRIVER=disk (and SDL_DISKAUDIOFILE=out.raw) to capture the mix as
// 16-bit stereo at 44100 Hz; without a display, with SDL_VIDEODRIVER=dummy.
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../tests/support/ogg_fixture.h"
#include "../tests/support/wave_builder.h"
#include "demo_work_folder.h"
#include "game_library.h"

namespace {

void WriteFile(const std::filesystem::path& path, const testdata::Bytes& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Keeps the window's messages flowing for `milliseconds`; false once it is closed.
bool RunFor(unsigned milliseconds) {
  const unsigned start = GetMilliseconds();
  while (GetMilliseconds() - start < milliseconds) {
    if (ProcessMessage() != 0) return false;
    const timespec pause = {0, 1000000};
    nanosleep(&pause, nullptr);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 3;
  DemoWorkFolder work;
  WriteFile("sound_demo/effect.wav",
            testdata::Wav(testdata::PcmFmt(1, 22050, 16),
                          testdata::AsBytes(testdata::Sine(22050 / 5, 1, 1760, 22050, 8000))));
  WriteFile("sound_demo/music.ogg", testdata::EncodeOgg(testdata::Sine(44100, 2, 440, 44100, 16000), 2, 44100));

  ChangeWindowMode(1);
  if (InitLibrary() != 0) {
    std::fprintf(stderr, "the library could not start (see %s)\n", work.KeepLog().c_str());
    return 1;
  }
  const int music = LoadSoundFile("sound_demo\\music.ogg", 1, -1);
  const int effect = LoadSoundFile("sound_demo\\effect.wav", 3, -1);
  if (music < 0 || effect < 0) {
    std::fprintf(stderr, "no sound device, or the sounds could not be loaded (see %s)\n", work.KeepLog().c_str());
    EndLibrary();
    return 1;
  }
  SetSoundVolume(200, music);
  StartSound(music, 3, 1);
  bool open = true;
  for (int i = 0; i < 3 && open; ++i) {
    StartSound(effect, 1, 1);  // three overlapping plays on the effect's three buffers
    open = RunFor(100);
  }
  if (open) RunFor(static_cast<unsigned>(seconds * 1000 - 300));
  StopSound(music);
  FreeSound(effect, 0);
  FreeSound(music, 0);
  EndLibrary();
  std::printf("played %d s: music loop and effect\n", seconds);
  return 0;
}
