// Game pads on SDL: axes X, Y, Z and Rz with DirectInput's range and dead zone, up to
// 32 buttons, and rumble for the constant-force and sine effects. A pad SDL knows as a
// game controller reads in the controller layout (left stick X/Y, right stick Z/Rz,
// buttons in SDL's controller order, then the two triggers as buttons); any other pad
// reads its first four axes and its buttons as numbered. Hats are not reported.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dinput/input_device.h"

namespace {

constexpr int kAxisSlots = 6;  // lX, lY, lZ, lRx, lRy, lRz by offset / 4
constexpr Uint32 kRumbleSpanMs = 0xFFFF;
constexpr Uint32 kRumbleRenewMs = 30000;

struct AxisSettings {
  LONG min = 0;
  LONG max = 65535;
  DWORD deadZone = 0;  // 0..10000 of the half range
};

// An SDL axis value in the axis's range, with the dead zone around the centre cut out
// and the rest stretched to the full half range.
LONG ScaleAxis(int raw, const AxisSettings& axis) {
  const std::int64_t magnitude = std::min<std::int64_t>(std::abs(raw), 32767);
  const std::int64_t deadRaw = 32767 * static_cast<std::int64_t>(axis.deadZone) / 10000;
  const std::int64_t centre = (static_cast<std::int64_t>(axis.min) + axis.max) / 2;
  if (magnitude <= deadRaw) return static_cast<LONG>(centre);
  const std::int64_t halfRange = (static_cast<std::int64_t>(axis.max) - axis.min) / 2;
  const std::int64_t scaled = (magnitude - deadRaw) * halfRange / (32767 - deadRaw);
  return static_cast<LONG>(raw < 0 ? centre - scaled : centre + scaled);
}

class PadDevice;

class PadEffect final : public IDirectInputEffect {
 public:
  PadEffect(PadDevice* device, bool periodic) : device_(device), periodic_(periodic) {}

  HRESULT SetParameters(const DIEFFECT* effect, DWORD flags) override;
  HRESULT Start(DWORD, DWORD) override;
  HRESULT Stop() override;
  ULONG Release() override;

  bool IsPeriodic() const { return periodic_; }
  // 0..10000 while running, else 0.
  int Strength() const { return running_ ? std::min(10000, magnitude_ * gain_ / 10000) : 0; }
  void Detach() { device_ = nullptr; }

 private:
  PadDevice* device_;
  bool periodic_;
  bool running_ = false;
  int magnitude_ = 0;
  int gain_ = 10000;
};

class PadDevice final : public InputDevice {
 public:
  PadDevice(SDL_Joystick* joystick, SDL_GameController* controller)
      : InputDevice(sizeof(DIJOYSTATE), SDL_JoystickName(joystick)), joystick_(joystick), controller_(controller) {}

  HRESULT SetProperty(REFGUID property, const DIPROPHEADER* header) override {
    if (header == nullptr) return DIERR_INVALIDPARAM;
    if (!(property == DIPROP_RANGE) && !(property == DIPROP_DEADZONE)) return InputDevice::SetProperty(property, header);
    int first = 0;
    int last = kAxisSlots - 1;
    if (header->dwHow == DIPH_BYOFFSET) {
      if (header->dwObj % 4 != 0 || header->dwObj / 4 >= kAxisSlots) return DIERR_INVALIDPARAM;
      first = last = static_cast<int>(header->dwObj / 4);
    } else if (header->dwHow != DIPH_DEVICE) {
      return DIERR_INVALIDPARAM;
    }
    if (property == DIPROP_RANGE) {
      const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
      if (range->lMin >= range->lMax) return DIERR_INVALIDPARAM;
      for (int i = first; i <= last; ++i) {
        axes_[i].min = range->lMin;
        axes_[i].max = range->lMax;
      }
    } else {
      const DWORD deadZone = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
      if (deadZone > 10000) return DIERR_INVALIDPARAM;
      for (int i = first; i <= last; ++i) axes_[i].deadZone = deadZone;
    }
    return DI_OK;
  }

  HRESULT Poll() override {
    if (!IsAcquired()) return DIERR_NOTACQUIRED;
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(joystick_)) return DIERR_INPUTLOST;
    if (rumbling_ && SDL_GetTicks() - rumbleIssuedAt_ > kRumbleRenewMs) IssueRumble();
    return DI_OK;
  }

  HRESULT CreateEffect(REFGUID effectGuid, const DIEFFECT* effect, IDirectInputEffect** out, LPUNKNOWN) override {
    if (out == nullptr) return DIERR_INVALIDPARAM;
    *out = nullptr;
    const bool periodic = effectGuid == GUID_Sine;
    if (!periodic && !(effectGuid == GUID_ConstantForce)) return DIERR_UNSUPPORTED;
    if (!SDL_JoystickHasRumble(joystick_)) return DIERR_UNSUPPORTED;
    auto* created = new PadEffect(this, periodic);
    if (effect != nullptr) {
      const HRESULT result = created->SetParameters(effect, DIEP_TYPESPECIFICPARAMS);
      if (FAILED(result)) {
        created->Release();
        return result;
      }
    }
    effects_.push_back(created);
    *out = created;
    return DI_OK;
  }

  // Sets the two motors from the running effects.
  void EffectChanged() {
    int low = 0;
    int high = 0;
    for (const PadEffect* effect : effects_) {
      int& motor = effect->IsPeriodic() ? high : low;
      motor = std::max(motor, effect->Strength());
    }
    low_ = static_cast<Uint16>(low * 65535 / 10000);
    high_ = static_cast<Uint16>(high * 65535 / 10000);
    rumbling_ = low_ != 0 || high_ != 0;
    IssueRumble();
  }

  void ForgetEffect(PadEffect* effect) {
    effects_.erase(std::remove(effects_.begin(), effects_.end(), effect), effects_.end());
    EffectChanged();
  }

 protected:
  HRESULT ReadState(BYTE* bytes) override {
    if (!SDL_JoystickGetAttached(joystick_)) return DIERR_INPUTLOST;
    auto* state = reinterpret_cast<DIJOYSTATE*>(bytes);
    for (DWORD& pov : state->rgdwPOV) pov = 0xFFFFFFFFu;
    if (controller_ != nullptr) {
      ReadController(state);
    } else {
      ReadJoystick(state);
    }
    return DI_OK;
  }

 private:
  ~PadDevice() override {
    for (PadEffect* effect : effects_) effect->Detach();
    SDL_JoystickRumble(joystick_, 0, 0, 0);
    if (controller_ != nullptr) {
      SDL_GameControllerClose(controller_);
    } else {
      SDL_JoystickClose(joystick_);
    }
  }

  void SetAxes(DIJOYSTATE* state, const int raw[4]) {
    state->lX = ScaleAxis(raw[0], axes_[DIJOFS_X / 4]);
    state->lY = ScaleAxis(raw[1], axes_[DIJOFS_Y / 4]);
    state->lZ = ScaleAxis(raw[2], axes_[DIJOFS_Z / 4]);
    state->lRz = ScaleAxis(raw[3], axes_[DIJOFS_RZ / 4]);
  }

  void ReadController(DIJOYSTATE* state) {
    const int raw[4] = {SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTX),
                        SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTY),
                        SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_RIGHTX),
                        SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_RIGHTY)};
    SetAxes(state, raw);
    int button = 0;
    for (; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
      if (SDL_GameControllerGetButton(controller_, static_cast<SDL_GameControllerButton>(button))) {
        state->rgbButtons[button] = 0x80;
      }
    }
    for (auto trigger : {SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT}) {
      if (SDL_GameControllerGetAxis(controller_, trigger) > 16384) state->rgbButtons[button] = 0x80;
      ++button;
    }
  }

  void ReadJoystick(DIJOYSTATE* state) {
    int raw[4] = {0, 0, 0, 0};
    const int axisCount = std::min(4, SDL_JoystickNumAxes(joystick_));
    for (int axis = 0; axis < axisCount; ++axis) raw[axis] = SDL_JoystickGetAxis(joystick_, axis);
    SetAxes(state, raw);
    const int buttonCount = std::min(32, SDL_JoystickNumButtons(joystick_));
    for (int button = 0; button < buttonCount; ++button) {
      if (SDL_JoystickGetButton(joystick_, button)) state->rgbButtons[button] = 0x80;
    }
  }

  // SDL ends a rumble after at most kRumbleSpanMs; Poll renews a long one. SDL takes
  // its joystick lock itself, so the message-pump thread may call this too.
  void IssueRumble() {
    SDL_JoystickRumble(joystick_, low_, high_, rumbling_ ? kRumbleSpanMs : 0);
    rumbleIssuedAt_ = SDL_GetTicks();
  }

  SDL_Joystick* joystick_;
  SDL_GameController* controller_;
  AxisSettings axes_[kAxisSlots];
  std::vector<PadEffect*> effects_;
  Uint16 low_ = 0;
  Uint16 high_ = 0;
  bool rumbling_ = false;
  Uint32 rumbleIssuedAt_ = 0;
};

HRESULT PadEffect::SetParameters(const DIEFFECT* effect, DWORD flags) {
  if (effect == nullptr) return DIERR_INVALIDPARAM;
  if (flags & DIEP_TYPESPECIFICPARAMS) {
    if (effect->lpvTypeSpecificParams == nullptr) return DIERR_INVALIDPARAM;
    if (periodic_) {
      if (effect->cbTypeSpecificParams != sizeof(DIPERIODIC)) return DIERR_INVALIDPARAM;
      magnitude_ = static_cast<int>(
          std::min<DWORD>(static_cast<const DIPERIODIC*>(effect->lpvTypeSpecificParams)->dwMagnitude, 10000));
    } else {
      if (effect->cbTypeSpecificParams != sizeof(DICONSTANTFORCE)) return DIERR_INVALIDPARAM;
      const LONG magnitude = static_cast<const DICONSTANTFORCE*>(effect->lpvTypeSpecificParams)->lMagnitude;
      magnitude_ = static_cast<int>(std::min<std::int64_t>(std::abs(static_cast<std::int64_t>(magnitude)), 10000));
    }
    gain_ = static_cast<int>(std::min<DWORD>(effect->dwGain, 10000));
  }
  if (flags & DIEP_START) running_ = true;
  if (device_ != nullptr) device_->EffectChanged();
  return DI_OK;
}

HRESULT PadEffect::Start(DWORD, DWORD) {
  running_ = true;
  if (device_ != nullptr) device_->EffectChanged();
  return DI_OK;
}

HRESULT PadEffect::Stop() {
  running_ = false;
  if (device_ != nullptr) device_->EffectChanged();
  return DI_OK;
}

ULONG PadEffect::Release() {
  if (device_ != nullptr) device_->ForgetEffect(this);
  delete this;
  return 0;
}

}  // namespace

IDirectInputDevice7A* CreatePadDevice(REFGUID instanceGuid) {
  const int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) {
    if (!(PadInstanceGuid(SDL_JoystickGetDeviceInstanceID(index)) == instanceGuid)) continue;
    if (SDL_IsGameController(index)) {
      SDL_GameController* controller = SDL_GameControllerOpen(index);
      if (controller == nullptr) return nullptr;
      return new PadDevice(SDL_GameControllerGetJoystick(controller), controller);
    }
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    return joystick != nullptr ? new PadDevice(joystick, nullptr) : nullptr;
  }
  return nullptr;
}
