#include <gtest/gtest.h>

#include "../support/ogg_fixture.h"
#include "../support/signal_measures.h"
#include "../support/sound_system_fixture.h"
#include "core/archive_reader.h"
#include "core/file_layer.h"
#include "mua_writer.h"

namespace {

using testdata::Bytes;

// The file layer as the game sets it up: archives named "<folder>.pop" first.
class SoundFileLoading : public testdata::SoundSystemTest {
 protected:
  void SetUp() override {
    testdata::SoundSystemTest::SetUp();
    SetArchiveAccessBody(1);
    InitFileSystem();
    InstallFileFunctionTable(nullptr);
    SetArchiveFileExtensionBody("pop");
    ASSERT_EQ(InitSoundSystem(), 0);
  }
  void TearDown() override {
    EXPECT_EQ(GetOpenFileCount(), 0);
    CloseAllArchives();
    testdata::SoundSystemTest::TearDown();
  }

  void Write(const std::string& path, const Bytes& bytes) { scratch_.Write(path, std::string(bytes.begin(), bytes.end())); }
};

TEST_F(SoundFileLoading, LooseWavIsFoundInAnyCaseAndGetsAtMostTenBuffers) {
  Write("data/se/beep.wav", testdata::Wav(testdata::PcmFmt(2, 44100, 16), testdata::AsBytes(testdata::Ramp(50, 7))));
  const int sound = LoadSoundFileBody("DATA\\Se\\Beep.WAV", 12, -1);
  ASSERT_GE(sound, 0);
  EXPECT_EQ(LiveSoundObjectCount(), 3 + 10);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  EXPECT_EQ(Mix(3), (std::vector<int>{0, 7, 14}));
  EXPECT_EQ(LoadSoundFileForward("data\\se\\beep.wav", 2, -1) & 0xFFFF, 1);
}

TEST_F(SoundFileLoading, MusicLoadsFromItsFoldersArchive) {
  const std::vector<std::int16_t> tone = testdata::Sine(22050, 2, 441, 44100, 12000);
  std::string error;
  const Bytes archive =
      BuildMuaArchive({{"loop.ogg", testdata::EncodeOgg(tone, 2, 44100)}}, MuaPackOptions{}, &error);
  ASSERT_FALSE(archive.empty()) << error;
  Write("data/bgm.pop", archive);
  const int music = LoadSoundFileBody("data\\bgm\\loop.ogg", 1, -1);
  ASSERT_GE(music, 0);
  ASSERT_EQ(StartSoundBody(music, 3, 1), 0);
  std::vector<std::int16_t> out(2 * 44100);
  ASSERT_EQ(StepSoundMixer(out.data(), 44100), 44100);  // two rounds of the half-second loop
  EXPECT_NEAR(testdata::PeakAbs(out), 12000, 1200);
  EXPECT_EQ(IsSoundPlayingBody(music), 1);
}

TEST_F(SoundFileLoading, MissingAndUndecodableFilesFailWithTheirLogLines) {
  EXPECT_EQ(LoadSoundFileBody("data\\se\\none.wav", 1, -1), -1);
  std::string log = Log();
  EXPECT_NE(log.find("右記のファイルのオープンに失敗しました：data\\se\\none.wav"), std::string::npos);
  EXPECT_NE(log.find("右記の音声ファイルのロードに失敗しました_1：data\\se\\none.wav"), std::string::npos);

  Write("data/se/noise.wav", Bytes(3000, 0x33));
  EXPECT_EQ(LoadSoundFileBody("data\\se\\noise.wav", 1, -1), -1);
  EXPECT_NE(Log().find("右記の音声ファイルのロードに失敗しました_2：data\\se\\noise.wav"), std::string::npos);

  Write("data/se/empty.wav", testdata::Wav(testdata::PcmFmt(1, 22050, 16), {}));
  EXPECT_EQ(LoadSoundFileBody("data\\se\\empty.wav", 1, -1), -1);
  EXPECT_NE(Log().find("右記の音声ファイルのロードに失敗しました_2：data\\se\\empty.wav"), std::string::npos);

  EXPECT_EQ(AddSoundData(-1) & 0xFFFF, 0);  // no slot was kept
}

TEST_F(SoundFileLoading, NothingLoadsWhileTheSystemIsDown) {
  Write("data/se/beep.wav", testdata::Wav(testdata::PcmFmt(1, 44100, 16), Bytes(100, 0)));
  ASSERT_EQ(EndSoundSystem(), 0);
  EXPECT_EQ(LoadSoundFileBody("data\\se\\beep.wav", 1, -1), -1);
}

}  // namespace
