// Pad rumble: a constant force at the asked power, and a sine on top of it above half
// power; timed rumbles stop from the message pump.
#include <algorithm>
#include <cstdint>

#include "core/input_devices.h"
#include "core/input_state.h"
#include "core/input_workers.h"
#include "core/main_window.h"
#include "winmm/time.h"

namespace {

constexpr int kMergeKeyboard = 0x1000;
constexpr int kSineAbove = 5000;

// The pad of a rumble call when it can rumble, else null.
PadRecord* RumblePad(int pad) {
  InputState& input = Input();
  const int index = (pad & ~kMergeKeyboard) - 1;
  if (index < 0 || index >= input.padCount) return nullptr;
  PadRecord& record = input.pads[index];
  return record.device != nullptr && record.constantEffect != nullptr ? &record : nullptr;
}

// The work of a stop: no entry-point steps, so the pump thread may call it.
void StopRumble(PadRecord& pad) {
  pad.rumbleOn = 0;
  pad.rumbleMagnitude = DI_FFNOMINALMAX;
  ApplyPadRumbleEffects();
}

// Starts or stops an effect so that its running flag becomes `run`.
void SetEffectRunning(IDirectInputEffect* effect, int* running, int run) {
  if (effect == nullptr || *running == run) return;
  if (run) {
    effect->Start(1, 0);
  } else {
    effect->Stop();
  }
  *running = run;
}

}  // namespace

int StartPadRumbleBody(int pad, int power, int durationMs) {
  if (StartInputForWorker()) return 0;
  PadRecord* record = RumblePad(pad);
  if (record == nullptr) return 0;
  const std::int64_t wanted = power == -1 ? record->rumbleMagnitude : static_cast<std::int64_t>(power) * 10;
  const int magnitude = static_cast<int>(std::clamp<std::int64_t>(wanted, -DI_FFNOMINALMAX, DI_FFNOMINALMAX));
  record->rumbleLastTick = timeGetTime();
  record->rumbleDuration = durationMs;
  record->rumbleElapsed = 0;
  if (record->rumbleOn && record->rumbleMagnitude == magnitude) return 0;

  DICONSTANTFORCE constant{magnitude};
  DIEFFECT effect{};
  effect.dwGain = DI_FFNOMINALMAX;
  effect.cbTypeSpecificParams = sizeof(constant);
  effect.lpvTypeSpecificParams = &constant;
  const DWORD flags = DIEP_TYPESPECIFICPARAMS | (record->constantRunning ? DIEP_START : 0u);
  record->constantEffect->SetParameters(&effect, flags);
  record->rumbleOn = 1;
  record->rumbleMagnitude = magnitude;
  ApplyPadRumbleEffects();
  return 0;
}

int StopPadRumbleBody(int pad) {
  if (StartInputForWorker()) return 0;
  PadRecord* record = RumblePad(pad);
  if (record == nullptr || !record->rumbleOn) return 0;
  StopRumble(*record);
  return 0;
}

int ApplyPadRumbleEffects() {
  if (!UsesDirectInput()) return 0;
  const bool active = IsAppActive() != 0;
  for (PadRecord& pad : Input().pads) {
    if (pad.device == nullptr) continue;
    const int constantWanted = active && pad.rumbleOn ? 1 : 0;
    const int sineWanted = active && pad.rumbleOn && pad.rumbleMagnitude > kSineAbove ? 1 : 0;
    SetEffectRunning(pad.constantEffect, &pad.constantRunning, constantWanted);
    SetEffectRunning(pad.periodicEffect, &pad.periodicRunning, sineWanted);
  }
  return 0;
}

int UpdatePadRumbleTimers() {
  if (!UsesDirectInput()) return 0;
  InputState& input = Input();
  if (input.padCount == 0) return ApplyPadRumbleEffects();
  const DWORD now = timeGetTime();
  for (PadRecord& pad : input.pads) {
    if (pad.device == nullptr || !pad.rumbleOn || pad.rumbleDuration < 0) continue;
    if (now != pad.rumbleLastTick) {
      // A tick that went backwards counts as none.
      const std::int32_t passed = static_cast<std::int32_t>(now - pad.rumbleLastTick);
      pad.rumbleElapsed += std::max(passed, 0);
      pad.rumbleLastTick = now;
    }
    if (pad.rumbleElapsed >= pad.rumbleDuration) StopRumble(pad);
  }
  return ApplyPadRumbleEffects();
}
