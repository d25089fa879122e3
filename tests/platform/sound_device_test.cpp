#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "dsound/dsound.h"
#include "testing.h"

namespace {

WAVEFORMATEX Pcm(int channels, int rate, int bits) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = static_cast<WORD>(channels);
  f.nSamplesPerSec = static_cast<DWORD>(rate);
  f.wBitsPerSample = static_cast<WORD>(bits);
  f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
  return f;
}

// A device on the manual mixer (1) or on SDL's output (0); its buffers are released and
// every object is counted back at the end.
class SoundDeviceTest : public ::testing::Test {
 protected:
  void Open(int manual) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    comStarted_ = true;
    SetManualSoundDevice(manual);
    void* object = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectSound, &object), S_OK);
    device_ = static_cast<IDirectSound*>(object);
    ASSERT_EQ(device_->Initialize(nullptr), DS_OK);
  }
  void TearDown() override {
    for (IDirectSoundBuffer* b : buffers_) b->Release();
    if (device_ != nullptr) device_->Release();
    EXPECT_EQ(LiveSoundObjectCount(), 0);
    ResetSoundDeviceControls();
    if (comStarted_) CoUninitialize();
  }

  // A secondary buffer filled with `pcm` (flags: volume control and static).
  IDirectSoundBuffer* Buffer(const WAVEFORMATEX& format, const std::vector<BYTE>& pcm,
                             DWORD flags = DSBCAPS_CTRLVOLUME | DSBCAPS_STATIC) {
    WAVEFORMATEX f = format;
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), flags, static_cast<DWORD>(pcm.size()), 0, &f};
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(device_->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    if (buffer == nullptr) return nullptr;
    void* p1;
    void* p2;
    DWORD b1, b2;
    EXPECT_EQ(buffer->Lock(0, static_cast<DWORD>(pcm.size()), &p1, &b1, &p2, &b2, 0), DS_OK);
    std::memcpy(p1, pcm.data(), b1);
    buffer->Unlock(p1, b1, p2, b2);
    buffers_.push_back(buffer);
    return buffer;
  }

  IDirectSoundBuffer* Duplicate(IDirectSoundBuffer* original) {
    IDirectSoundBuffer* copy = nullptr;
    EXPECT_EQ(device_->DuplicateSoundBuffer(original, &copy), DS_OK);
    if (copy != nullptr) buffers_.push_back(copy);
    return copy;
  }

  static std::vector<std::int16_t> Step(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
    EXPECT_EQ(StepSoundMixer(out.data(), frames), frames);
    return out;
  }

  static DWORD Status(IDirectSoundBuffer* b) {
    DWORD status = 0xFFFF;
    EXPECT_EQ(b->GetStatus(&status), DS_OK);
    return status;
  }

  static DWORD Cursor(IDirectSoundBuffer* b) {
    DWORD play = 0xFFFF, write = 0;
    EXPECT_EQ(b->GetCurrentPosition(&play, &write), DS_OK);
    return play;
  }

  IDirectSound* device_ = nullptr;
  bool comStarted_ = false;
  std::vector<IDirectSoundBuffer*> buffers_;
};

class ManualDevice : public SoundDeviceTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(Open(1));
    ASSERT_EQ(device_->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
  }
};

// SDL's output mixes in its own callback: the dummy driver takes the sound in real time.
class SdlDevice : public SoundDeviceTest {
 protected:
  void SetUp() override { Open(0); }
};

std::vector<BYTE> Stereo16(const std::vector<std::int16_t>& samples) {
  std::vector<BYTE> bytes(samples.size() * 2);
  std::memcpy(bytes.data(), samples.data(), bytes.size());
  return bytes;
}

// Frames 0..n-1 as a ramp: left = 10 * i, right = -10 * i.
std::vector<std::int16_t> Ramp(int frames) {
  std::vector<std::int16_t> s;
  for (int i = 0; i < frames; ++i) {
    s.push_back(static_cast<std::int16_t>(10 * i));
    s.push_back(static_cast<std::int16_t>(-10 * i));
  }
  return s;
}

TEST_F(ManualDevice, ObjectsCountTheirReferences) {
  IDirectSoundBuffer* b = Buffer(Pcm(1, 44100, 16), std::vector<BYTE>(64, 0));
  void* same = nullptr;
  ASSERT_EQ(b->QueryInterface(IID_IDirectSoundBuffer, &same), S_OK);
  EXPECT_EQ(same, b);
  EXPECT_EQ(b->Release(), 1u);  // the test's own reference is left
  EXPECT_EQ(device_->QueryInterface(IID_IDirectSoundBuffer, &same), E_NOINTERFACE);
  EXPECT_EQ(same, nullptr);
  ASSERT_EQ(device_->QueryInterface(IID_IUnknown, &same), S_OK);
  EXPECT_EQ(device_->Release(), 1u);
}

TEST_F(ManualDevice, DeviceRatePcmPlaysExactlyThenStopsAtPositionZero) {
  const std::vector<std::int16_t> ramp = Ramp(100);
  IDirectSoundBuffer* b = Buffer(Pcm(2, 44100, 16), Stereo16(ramp));
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(Status(b), static_cast<DWORD>(DSBSTATUS_PLAYING));
  const std::vector<std::int16_t> first = Step(60);
  EXPECT_EQ(std::vector<std::int16_t>(ramp.begin(), ramp.begin() + 120), first);
  EXPECT_EQ(Cursor(b), 60u * 4);
  const std::vector<std::int16_t> rest = Step(50);
  EXPECT_EQ(std::vector<std::int16_t>(ramp.begin() + 120, ramp.end()),
            std::vector<std::int16_t>(rest.begin(), rest.begin() + 80));
  for (std::size_t i = 80; i < rest.size(); ++i) EXPECT_EQ(rest[i], 0);
  EXPECT_EQ(Status(b), 0u);
  EXPECT_EQ(Cursor(b), 0u);  // the play cursor of an ended buffer is back at the start
}

TEST_F(ManualDevice, MonoEightBitAtHalfRateIsWidenedAndInterpolated) {
  // 8-bit unsigned mono at 22050 Hz: every source frame spans two device frames.
  IDirectSoundBuffer* b = Buffer(Pcm(1, 22050, 8), {128, 138, 148, 158});
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  const std::vector<std::int16_t> out = Step(8);
  const std::int16_t expected[] = {0, 1280, 2560, 3840, 5120, 6400, 7680, 7680};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(out[2 * i], expected[i]) << i;
    EXPECT_EQ(out[2 * i + 1], expected[i]) << i;
  }
  EXPECT_EQ(Status(b), 0u);
}

TEST_F(ManualDevice, LoopingWrapsAndStopResumesFromTheCursor) {
  const std::vector<std::int16_t> ramp = Ramp(10);
  IDirectSoundBuffer* b = Buffer(Pcm(2, 44100, 16), Stereo16(ramp));
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(Status(b), static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
  const std::vector<std::int16_t> out = Step(25);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(out[2 * i], 10 * (i % 10)) << i;
  EXPECT_EQ(Cursor(b), 5u * 4);

  ASSERT_EQ(b->Stop(), DS_OK);
  EXPECT_EQ(Status(b), 0u);
  for (std::int16_t s : Step(5)) EXPECT_EQ(s, 0);
  EXPECT_EQ(Cursor(b), 5u * 4);  // stopping keeps the cursor
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(Step(1)[0], 50);
  ASSERT_EQ(b->SetCurrentPosition(2 * 4 + 3), DS_OK);  // rounds down to a whole frame
  EXPECT_EQ(Step(1)[0], 20);
}

TEST_F(ManualDevice, VolumeScalesByDecibelsAndMinimumIsSilence) {
  std::vector<std::int16_t> loud(2 * 16, 10000);
  IDirectSoundBuffer* b = Buffer(Pcm(2, 44100, 16), Stereo16(loud));
  ASSERT_EQ(b->SetVolume(-600), DS_OK);  // -6 dB
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(Step(1)[0], static_cast<std::int16_t>(std::lround(10000 * std::pow(10.0, -0.3))));
  ASSERT_EQ(b->SetVolume(DSBVOLUME_MIN), DS_OK);
  EXPECT_EQ(Step(1)[0], 0);
  EXPECT_EQ(b->SetVolume(1), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->SetVolume(-10001), DSERR_INVALIDPARAM);

  IDirectSoundBuffer* fixed = Buffer(Pcm(2, 44100, 16), Stereo16(loud), DSBCAPS_STATIC);
  EXPECT_EQ(fixed->SetVolume(0), DSERR_CONTROLUNAVAIL);
}

TEST_F(ManualDevice, DuplicatesShareSamplesButPlayIndependentlyAndMix) {
  const std::vector<std::int16_t> ramp = Ramp(40);
  IDirectSoundBuffer* a = Buffer(Pcm(2, 44100, 16), Stereo16(ramp));
  IDirectSoundBuffer* b = Duplicate(a);
  IDirectSoundBuffer* c = Duplicate(a);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(Status(b), 0u);

  // Three overlapping plays, started 10 frames apart.
  a->Play(0, 0, 0);
  Step(10);
  b->Play(0, 0, 0);
  Step(10);
  c->Play(0, 0, 0);
  const std::vector<std::int16_t> out = Step(1);
  EXPECT_EQ(out[0], 10 * 20 + 10 * 10 + 0);
  EXPECT_EQ(Cursor(a), 21u * 4);
  EXPECT_EQ(Cursor(b), 11u * 4);
  EXPECT_EQ(Cursor(c), 1u * 4);

  // Writing through one buffer changes what all of them play.
  void* p1;
  void* p2;
  DWORD b1, b2;
  ASSERT_EQ(c->Lock(4, 4, &p1, &b1, &p2, &b2, 0), DS_OK);
  const std::int16_t marker[2] = {7777, 7777};
  std::memcpy(p1, marker, 4);
  c->Unlock(p1, b1, p2, b2);
  a->Stop();
  b->Stop();
  EXPECT_EQ(Step(1)[0], 7777);
}

TEST_F(ManualDevice, LockWrapsIntoASecondRegion) {
  IDirectSoundBuffer* b = Buffer(Pcm(1, 44100, 16), std::vector<BYTE>(100, 0));
  void* p1;
  void* p2;
  DWORD b1, b2;
  ASSERT_EQ(b->Lock(80, 40, &p1, &b1, &p2, &b2, 0), DS_OK);
  EXPECT_EQ(b1, 20u);
  EXPECT_EQ(b2, 20u);
  EXPECT_EQ(static_cast<BYTE*>(p1) - static_cast<BYTE*>(p2), 80);
  EXPECT_EQ(b->Unlock(p1, b1, p2, b2), DS_OK);
  EXPECT_EQ(b->Lock(100, 4, &p1, &b1, &p2, &b2, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->Lock(0, 101, &p1, &b1, &p2, &b2, 0), DSERR_INVALIDPARAM);
  ASSERT_EQ(b->Lock(50, 0, &p1, &b1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DSERR_INVALIDPARAM);
  ASSERT_EQ(b->Lock(0, 0, &p1, &b1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
  EXPECT_EQ(b1, 100u);
}

TEST_F(ManualDevice, BufferCreationChecksItsArguments) {
  IDirectSoundBuffer* b = nullptr;
  WAVEFORMATEX f = Pcm(2, 44100, 16);
  DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_STATIC, 3, 0, &f};
  EXPECT_EQ(device_->CreateSoundBuffer(&desc, &b, nullptr), DSERR_INVALIDPARAM);  // below the minimum size
  desc.dwBufferBytes = DSBSIZE_MAX + 1u;
  EXPECT_EQ(device_->CreateSoundBuffer(&desc, &b, nullptr), DSERR_INVALIDPARAM);
  desc.dwBufferBytes = 64;
  f.nChannels = 3;
  f.nBlockAlign = 6;
  EXPECT_EQ(device_->CreateSoundBuffer(&desc, &b, nullptr), DSERR_BADFORMAT);
  f = Pcm(2, 44100, 16);
  f.nBlockAlign = 2;
  EXPECT_EQ(device_->CreateSoundBuffer(&desc, &b, nullptr), DSERR_BADFORMAT);
  f = Pcm(2, 44100, 24);
  EXPECT_EQ(device_->CreateSoundBuffer(&desc, &b, nullptr), DSERR_BADFORMAT);
  f = Pcm(2, 44100, 16);
  desc.dwSize = 12;
  EXPECT_EQ(device_->CreateSoundBuffer(&desc, &b, nullptr), DSERR_INVALIDPARAM);
  EXPECT_EQ(b, nullptr);

  // A duplicate must come from a secondary buffer of this device.
  DSBUFFERDESC primaryDesc{sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
  IDirectSoundBuffer* primary = nullptr;
  ASSERT_EQ(device_->CreateSoundBuffer(&primaryDesc, &primary, nullptr), DS_OK);
  buffers_.push_back(primary);
  IDirectSoundBuffer* copy = nullptr;
  EXPECT_EQ(device_->DuplicateSoundBuffer(primary, &copy), DSERR_INVALIDPARAM);
  EXPECT_EQ(primary->Lock(0, 4, nullptr, nullptr, nullptr, nullptr, 0), DSERR_INVALIDCALL);
}

TEST_F(ManualDevice, PrimaryFormatNeedsPriorityLevelAndIsRecorded) {
  DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
  IDirectSoundBuffer* primary = nullptr;
  ASSERT_EQ(device_->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
  buffers_.push_back(primary);
  const WAVEFORMATEX format = Pcm(1, 22050, 8);
  ASSERT_EQ(device_->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
  EXPECT_EQ(primary->SetFormat(&format), DSERR_PRIOLEVELNEEDED);
  ASSERT_EQ(device_->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
  ASSERT_EQ(primary->SetFormat(&format), DS_OK);
  WAVEFORMATEX recorded{};
  ASSERT_EQ(GetPrimaryBufferFormat(&recorded), 0);
  EXPECT_EQ(recorded.nSamplesPerSec, 22050u);
  EXPECT_EQ(recorded.wBitsPerSample, 8);
  EXPECT_EQ(recorded.nChannels, 1);
}

TEST_F(ManualDevice, CapabilitiesAreTheConfiguredOnes) {
  DSCAPS caps{};
  caps.dwSize = sizeof caps;
  ASSERT_EQ(device_->GetCaps(&caps), DS_OK);
  EXPECT_EQ(caps.dwMaxSecondarySampleRate, 48000u);
  EXPECT_EQ(caps.dwMinSecondarySampleRate, static_cast<DWORD>(DSBFREQUENCY_MIN));
  EXPECT_TRUE(caps.dwFlags & DSCAPS_PRIMARY16BIT);
  EXPECT_TRUE(caps.dwFlags & DSCAPS_SECONDARYSTEREO);
  EXPECT_EQ(caps.dwTotalHwMemBytes, 0u);
  SetSoundDeviceCaps(DSCAPS_PRIMARYMONO, 22050);
  ASSERT_EQ(device_->GetCaps(&caps), DS_OK);
  EXPECT_EQ(caps.dwFlags, static_cast<DWORD>(DSCAPS_PRIMARYMONO));
  EXPECT_EQ(caps.dwMaxSecondarySampleRate, 22050u);
  caps.dwSize = 8;
  EXPECT_EQ(device_->GetCaps(&caps), DSERR_INVALIDPARAM);
}

TEST_F(ManualDevice, InjectedFaultsFailTheirCallOnce) {
  WAVEFORMATEX f = Pcm(1, 44100, 16);
  DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_STATIC, 64, 0, &f};
  IDirectSoundBuffer* b = nullptr;
  InjectSoundFault(SoundFault::CreateSecondaryBuffer, 1);
  ASSERT_EQ(device_->CreateSoundBuffer(&desc, &b, nullptr), DS_OK);
  buffers_.push_back(b);
  IDirectSoundBuffer* failed = nullptr;
  EXPECT_EQ(device_->CreateSoundBuffer(&desc, &failed, nullptr), DSERR_OUTOFMEMORY);
  EXPECT_EQ(failed, nullptr);
  InjectSoundFault(SoundFault::DuplicateBuffer, 0);
  EXPECT_EQ(device_->DuplicateSoundBuffer(b, &failed), DSERR_OUTOFMEMORY);
  EXPECT_NE(Duplicate(b), nullptr);
  void* p1;
  DWORD b1;
  InjectSoundFault(SoundFault::Lock, 0);
  EXPECT_EQ(b->Lock(0, 4, &p1, &b1, nullptr, nullptr, 0), DSERR_GENERIC);
  EXPECT_EQ(b->Lock(0, 4, &p1, &b1, nullptr, nullptr, 0), DS_OK);
}

TEST(SoundDevice, UninitialisedDeviceRefusesWorkAndSecondInitialiseIsRefused) {
  CoInitialize(nullptr);
  SetManualSoundDevice(1);
  void* object = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectSound, &object), S_OK);
  IDirectSound* device = static_cast<IDirectSound*>(object);
  DSCAPS caps{};
  caps.dwSize = sizeof caps;
  EXPECT_EQ(device->GetCaps(&caps), DSERR_UNINITIALIZED);
  EXPECT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DSERR_UNINITIALIZED);
  InjectSoundFault(SoundFault::Initialize, 0);
  EXPECT_EQ(device->Initialize(nullptr), DSERR_NODRIVER);
  EXPECT_EQ(device->Initialize(nullptr), DS_OK);
  EXPECT_EQ(device->Initialize(nullptr), DSERR_ALREADYINITIALIZED);
  device->Release();
  EXPECT_EQ(LiveSoundObjectCount(), 0);
  EXPECT_EQ(StepSoundMixer(nullptr, 10), -1);  // the manual device went with it

  InjectSoundFault(SoundFault::CreateDevice, 0);
  EXPECT_EQ(CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectSound, &object),
            E_OUTOFMEMORY);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectSoundBuffer, &object),
            E_NOINTERFACE);
  CoUninitialize();
}

// A short sound ends by itself.
TEST_F(SdlDevice, ASoundEndsByItself) {
  IDirectSoundBuffer* b = Buffer(Pcm(2, 44100, 16), std::vector<BYTE>(4 * 2205), DSBCAPS_STATIC);  // 50 ms
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  DWORD status = DSBSTATUS_PLAYING;
  for (int wait = 0; wait < 2000 && (status & DSBSTATUS_PLAYING); ++wait) {  // at most 10 s
    usleep(5000);
    status = Status(b);
  }
  EXPECT_EQ(status, 0u);
}

// Under the tests' virtual clock the output's own pace does not count: play positions
// follow the clock alone, however long the callback has run and however often asked.
TEST_F(SdlDevice, OnTheVirtualClockPlayPositionsFollowTheClockAlone) {
  constexpr std::uint64_t kStart = 5'000'000;
  TestClockStart(kStart, 0);
  using State = std::pair<DWORD, DWORD>;
  const auto at = [](IDirectSoundBuffer* b, std::uint64_t micros) {
    TestClockSet(kStart + micros);
    return State(Status(b), Cursor(b));
  };
  const DWORD playing = DSBSTATUS_PLAYING;
  const DWORD looping = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;

  IDirectSoundBuffer* once = Buffer(Pcm(2, 44100, 16), std::vector<BYTE>(2205 * 4), DSBCAPS_STATIC);  // 50 ms
  ASSERT_EQ(once->Play(0, 0, 0), DS_OK);
  usleep(100000);  // the output's callback runs meanwhile
  EXPECT_EQ(at(once, 0), State(playing, 0));
  EXPECT_EQ(at(once, 20'000), State(playing, 882 * 4));
  EXPECT_EQ(at(once, 20'000), State(playing, 882 * 4));
  EXPECT_EQ(at(once, 49'999), State(playing, 2204 * 4));
  EXPECT_EQ(at(once, 50'000), State(0, 0));

  IDirectSoundBuffer* loop = Buffer(Pcm(1, 22050, 16), std::vector<BYTE>(441 * 2), DSBCAPS_STATIC);  // 20 ms
  TestClockSet(kStart + 100'000);
  ASSERT_EQ(loop->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(at(loop, 145'000), State(looping, 110 * 2));  // 992.25 frames played
  ASSERT_EQ(loop->Stop(), DS_OK);
  EXPECT_EQ(at(loop, 900'000), State(0, 110 * 2));
  ASSERT_EQ(loop->Play(0, 0, 0), DS_OK);  // on from the cursor, no longer looping
  EXPECT_EQ(at(loop, 905'000), State(playing, 220 * 2));
  EXPECT_EQ(at(loop, 915'000), State(0, 0));
  TestClockStop();
}

TEST(SoundDevice, EnumerationListsTheDefaultDeviceFirst) {
  std::vector<std::string> seen;
  auto callback = [](LPGUID guid, LPCSTR description, LPCSTR, LPVOID context) -> BOOL {
    auto* list = static_cast<std::vector<std::string>*>(context);
    list->push_back(std::string(guid == nullptr ? "default:" : "device:") + description);
    return TRUE;
  };
  ASSERT_EQ(DirectSoundEnumerateA(callback, &seen), DS_OK);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen[0].rfind("default:", 0), 0u);
  auto stop = [](LPGUID, LPCSTR, LPCSTR, LPVOID context) -> BOOL {
    ++*static_cast<int*>(context);
    return FALSE;
  };
  int calls = 0;
  DirectSoundEnumerateA(stop, &calls);
  EXPECT_EQ(calls, 1);
}

TEST(Modules, BuiltInModuleExportsItsFunctionsAndFailuresCanBeForced) {
  HMODULE module = LoadLibraryA("dsound.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_NE(GetProcAddress(module, "DirectSoundEnumerateA"), nullptr);
  EXPECT_EQ(GetProcAddress(module, "NoSuchExport"), nullptr);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(LoadLibraryA("OTHER.DLL"), nullptr);
  FailNextModuleCall(1, 0);
  EXPECT_EQ(LoadLibraryA("DSOUND.DLL"), nullptr);
  EXPECT_NE(LoadLibraryA("DSOUND.DLL"), nullptr);
  FailNextModuleCall(0, 1);
  EXPECT_EQ(GetProcAddress(module, "DirectSoundEnumerateA"), nullptr);
}

}  // namespace
