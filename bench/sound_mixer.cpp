// The software mixer: one device period (1024 frames) with a number of playing
// buffers, at the device rate and resampled from mono 22050 Hz.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsound/dsound.h"
#include "testing.h"

namespace {

void MixPeriod(benchmark::State& state, int channels, int rate) {
  CoInitialize(nullptr);
  SetManualSoundDevice(1);
  void* object = nullptr;
  CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectSound, &object);
  IDirectSound* device = static_cast<IDirectSound*>(object);
  device->Initialize(nullptr);
  WAVEFORMATEX format{WAVE_FORMAT_PCM, static_cast<WORD>(channels), static_cast<DWORD>(rate), 0,
                      static_cast<WORD>(channels * 2), 16, 0};
  format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
  std::vector<IDirectSoundBuffer*> buffers;
  for (int i = 0; i < state.range(0); ++i) {
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_CTRLVOLUME | DSBCAPS_STATIC, format.nAvgBytesPerSec, 0, &format};
    IDirectSoundBuffer* buffer = nullptr;
    device->CreateSoundBuffer(&desc, &buffer, nullptr);
    buffer->SetVolume(-300);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    buffers.push_back(buffer);
  }
  std::vector<std::int16_t> out(2 * 1024);
  for (auto _ : state) {
    StepSoundMixer(out.data(), 1024);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * 1024 * state.range(0));
  for (IDirectSoundBuffer* buffer : buffers) buffer->Release();
  device->Release();
}

void BM_MixStereoAtDeviceRate(benchmark::State& state) { MixPeriod(state, 2, 44100); }
void BM_MixMonoResampled(benchmark::State& state) { MixPeriod(state, 1, 22050); }

BENCHMARK(BM_MixStereoAtDeviceRate)->Arg(1)->Arg(16)->Arg(64);
BENCHMARK(BM_MixMonoResampled)->Arg(1)->Arg(16)->Arg(64);

}  // namespace

BENCHMARK_MAIN();
