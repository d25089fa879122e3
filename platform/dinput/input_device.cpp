// The shared device behaviour, the keyboard and the mouse.
#include "dinput/input_device.h"

#include <SDL2/SDL_scancode.h>

#include <cstdio>
#include <cstring>

#include "window/keyboard.h"

HRESULT InputDevice::SetDataFormat(const DIDATAFORMAT* format) {
  if (format == nullptr || format->dwDataSize != stateSize_) return DIERR_INVALIDPARAM;
  formatSet_ = true;
  return DI_OK;
}

HRESULT InputDevice::SetCooperativeLevel(HWND window, DWORD flags) {
  const DWORD exclusivity = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
  const DWORD focus = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
  if (exclusivity == 0 || exclusivity == (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE)) return DIERR_INVALIDPARAM;
  if (focus == 0 || focus == (DISCL_FOREGROUND | DISCL_BACKGROUND)) return DIERR_INVALIDPARAM;
  if (window == nullptr && (flags & (DISCL_EXCLUSIVE | DISCL_FOREGROUND))) return DIERR_INVALIDPARAM;
  return DI_OK;
}

HRESULT InputDevice::SetProperty(REFGUID property, const DIPROPHEADER* header) {
  // The buffer size is accepted; buffered data is never read from these devices.
  if (header == nullptr) return DIERR_INVALIDPARAM;
  return property == DIPROP_BUFFERSIZE ? DI_OK : DIERR_UNSUPPORTED;
}

HRESULT InputDevice::GetDeviceInfo(DIDEVICEINSTANCEA* instance) {
  if (instance == nullptr) return DIERR_INVALIDPARAM;
  std::memset(instance, 0, sizeof(*instance));
  std::snprintf(instance->tszInstanceName, sizeof(instance->tszInstanceName), "%s", name_);
  std::snprintf(instance->tszProductName, sizeof(instance->tszProductName), "%s", name_);
  return DI_OK;
}

HRESULT InputDevice::SetEventNotification(HANDLE) { return DI_POLLEDDEVICE; }

HRESULT InputDevice::Acquire() {
  if (!formatSet_) return DIERR_INVALIDPARAM;
  if (acquired_) return DI_NOEFFECT;
  acquired_ = true;
  return DI_OK;
}

HRESULT InputDevice::Unacquire() {
  if (!acquired_) return DI_NOEFFECT;
  acquired_ = false;
  return DI_OK;
}

HRESULT InputDevice::Poll() { return acquired_ ? DI_NOEFFECT : DIERR_NOTACQUIRED; }

HRESULT InputDevice::GetDeviceState(DWORD size, LPVOID state) {
  if (state == nullptr || size != stateSize_) return DIERR_INVALIDPARAM;
  if (!acquired_) return DIERR_NOTACQUIRED;
  std::memset(state, 0, size);
  return ReadState(static_cast<BYTE*>(state));
}

HRESULT InputDevice::CreateEffect(REFGUID, const DIEFFECT*, IDirectInputEffect** out, LPUNKNOWN) {
  if (out != nullptr) *out = nullptr;
  return DIERR_UNSUPPORTED;
}

ULONG InputDevice::Release() {
  if (--references_ > 0) return references_;
  delete this;
  return 0;
}

namespace {

// 256 bytes by DirectInput key number, bit 7 while the key is down.
class KeyboardDevice final : public InputDevice {
 public:
  KeyboardDevice() : InputDevice(256, "Keyboard") {}

  HRESULT SetEventNotification(HANDLE event) override {
    return IsKeyboardNotificationFailing() ? E_FAIL : InputDevice::SetEventNotification(event);
  }

 protected:
  HRESULT ReadState(BYTE* state) override {
    for (int scancode = 1; scancode < SDL_NUM_SCANCODES; ++scancode) {
      const int key = DikFromScancode(scancode);
      if (key != 0 && IsScancodeDown(scancode)) state[key] = 0x80;
    }
    return DI_OK;
  }
};

// The mouse is never read by the library; it reports no movement and no buttons.
class MouseDevice final : public InputDevice {
 public:
  MouseDevice() : InputDevice(16, "Mouse") {}

 protected:
  HRESULT ReadState(BYTE*) override { return DI_OK; }
};

}  // namespace

IDirectInputDevice7A* CreateKeyboardDevice() { return new KeyboardDevice; }
IDirectInputDevice7A* CreateMouseDevice() { return new MouseDevice; }
