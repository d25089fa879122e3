// Test controls of the sound device and the fault and capability state behind them.
#include <mutex>

#include "dsound/sound_device_state.h"

std::atomic<int> g_liveSoundObjects{0};

namespace {

constexpr DWORD kAllFormatCaps = DSCAPS_PRIMARYMONO | DSCAPS_PRIMARYSTEREO | DSCAPS_PRIMARY8BIT |
                                 DSCAPS_PRIMARY16BIT | DSCAPS_SECONDARYMONO | DSCAPS_SECONDARYSTEREO |
                                 DSCAPS_SECONDARY8BIT | DSCAPS_SECONDARY16BIT;
constexpr DWORD kDeviceMaxSampleRate = 48000;

std::mutex g_controlLock;
bool g_manualRequested = false;
std::weak_ptr<SoundDeviceState> g_manualState;
struct FaultPlan {
  int succeedFirst = 0;
  int failures = 0;
};
FaultPlan g_faults[static_cast<int>(SoundFault::Count)];
DWORD g_capsFlags = kAllFormatCaps;
DWORD g_maxSampleRate = kDeviceMaxSampleRate;

}  // namespace

bool SoundFaultFires(SoundFault fault) {
  std::lock_guard<std::mutex> hold(g_controlLock);
  FaultPlan& plan = g_faults[static_cast<int>(fault)];
  if (plan.failures == 0) return false;
  if (plan.succeedFirst > 0) {
    --plan.succeedFirst;
    return false;
  }
  --plan.failures;
  return true;
}

DWORD ReportedCapsFlags() {
  std::lock_guard<std::mutex> hold(g_controlLock);
  return g_capsFlags;
}

DWORD ReportedMaxSampleRate() {
  std::lock_guard<std::mutex> hold(g_controlLock);
  return g_maxSampleRate;
}

bool ManualSoundDeviceRequested() {
  std::lock_guard<std::mutex> hold(g_controlLock);
  return g_manualRequested;
}

void SetManualSoundDeviceState(std::shared_ptr<SoundDeviceState> state) {
  state->mixer.steppedByHand = true;
  std::lock_guard<std::mutex> hold(g_controlLock);
  g_manualState = state;
}

void SetManualSoundDevice(int on) {
  std::lock_guard<std::mutex> hold(g_controlLock);
  g_manualRequested = on != 0;
}

int StepSoundMixer(std::int16_t* out, int frames) {
  std::shared_ptr<SoundDeviceState> state;
  {
    std::lock_guard<std::mutex> hold(g_controlLock);
    state = g_manualState.lock();
  }
  if (state == nullptr || frames < 0) return -1;
  std::vector<std::int16_t> discard;
  if (out == nullptr) {
    discard.resize(static_cast<std::size_t>(frames) * kMixerChannels);
    out = discard.data();
  }
  std::lock_guard<std::mutex> hold(state->mixer.lock);
  state->mixer.Render(out, frames);
  return frames;
}

void SetSoundDeviceCaps(DWORD flags, DWORD maxSecondaryRate) {
  std::lock_guard<std::mutex> hold(g_controlLock);
  g_capsFlags = flags;
  g_maxSampleRate = maxSecondaryRate;
}

int GetPrimaryBufferFormat(WAVEFORMATEX* format) {
  std::shared_ptr<SoundDeviceState> state;
  {
    std::lock_guard<std::mutex> hold(g_controlLock);
    state = g_manualState.lock();
  }
  if (state == nullptr) return -1;
  std::lock_guard<std::mutex> hold(state->mixer.lock);
  *format = state->primaryFormat;
  return 0;
}

void InjectSoundFault(SoundFault fault, int succeedFirst, int failures) {
  std::lock_guard<std::mutex> hold(g_controlLock);
  g_faults[static_cast<int>(fault)] = {succeedFirst < 0 ? 0 : succeedFirst, failures < 0 ? 0 : failures};
}

void ResetSoundDeviceControls() {
  std::lock_guard<std::mutex> hold(g_controlLock);
  g_manualRequested = false;
  g_capsFlags = kAllFormatCaps;
  g_maxSampleRate = kDeviceMaxSampleRate;
  for (FaultPlan& plan : g_faults) plan = FaultPlan{};
}

int LiveSoundObjectCount() { return g_liveSoundObjects.load(); }
