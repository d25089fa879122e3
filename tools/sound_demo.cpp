// Sound demo: writes a short effect (WAV, 1760 Hz, mono 22050 Hz) and a one-second
// music loop (Ogg Vorbis, 440 Hz, stereo) into "sound_demo/", loads both through the
// file layer, plays the music in a loop with the effect on top three times, and ends
// after the given number of seconds (default 3). Run it with SDL_AUDIODRIVER=disk
// (and SDL_DISKAUDIOFILE=out.raw) to capture the mix as 16-bit stereo at 44100 Hz.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../tests/support/ogg_fixture.h"
#include "../tests/support/wave_builder.h"
#include "com/com.h"
#include "core/file_layer.h"
#include "core/log.h"
#include "core/sound_system.h"
#include "core/sound_workers.h"
#include "kernel/threads.h"

namespace {

void WriteFile(const std::filesystem::path& path, const testdata::Bytes& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 3;
  WriteFile("sound_demo/effect.wav",
            testdata::Wav(testdata::PcmFmt(1, 22050, 16),
                          testdata::AsBytes(testdata::Sine(22050 / 5, 1, 1760, 22050, 8000))));
  WriteFile("sound_demo/music.ogg", testdata::EncodeOgg(testdata::Sine(44100, 2, 440, 44100, 16000), 2, 44100));

  OpenLogFile();
  CoInitialize(nullptr);
  InitFileSystem();
  InstallFileFunctionTable(nullptr);
  if (InitSoundSystem() != 0) {
    std::fprintf(stderr, "the sound device could not be started (see Log.txt)\n");
    return 1;
  }
  const int music = LoadSoundFileBody("sound_demo\\music.ogg", 1, -1);
  const int effect = LoadSoundFileBody("sound_demo\\effect.wav", 3, -1);
  if (music < 0 || effect < 0) {
    std::fprintf(stderr, "the sounds could not be loaded (see Log.txt)\n");
    EndSoundSystem();
    return 1;
  }
  SetSoundVolumeBody(200, music);
  StartSoundBody(music, 3, 1);
  for (int i = 0; i < 3; ++i) {
    StartSoundBody(effect, 1, 1);
    Sleep(100);
  }
  Sleep(static_cast<DWORD>(seconds * 1000 - 300));
  StopSoundBody(music);
  FreeSoundBody(effect, 0);
  FreeSoundBody(music, 0);
  EndSoundSystem();
  std::printf("played %d s: music loop and effect; Log.txt written\n", seconds);
  return 0;
}
