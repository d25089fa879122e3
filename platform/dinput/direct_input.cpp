// The DirectInput object: pads found through SDL's joystick list, devices made by GUID.
#include <SDL2/SDL.h>

#include <cstdio>

#include "dinput/dinput_internal.h"

// Identifiers of this stand-in's own numbering; nothing outside the process sees them.
#define VANTOREL_GUID(n) {0x5641'4E00u + (n), 0x4449, 0x4E50, {0x55, 0x54, 0, 0, 0, 0, 0, 0}}
const GUID CLSID_DirectInput = VANTOREL_GUID(1);
const GUID CLSID_DirectInput8 = VANTOREL_GUID(2);
const GUID IID_IDirectInput7A = VANTOREL_GUID(3);
const GUID IID_IDirectInput8A = VANTOREL_GUID(4);
const GUID IID_IDirectInputDevice7A = VANTOREL_GUID(5);
const GUID GUID_SysMouse = VANTOREL_GUID(6);
const GUID GUID_SysKeyboard = VANTOREL_GUID(7);
const GUID GUID_Sine = VANTOREL_GUID(8);
const GUID GUID_ConstantForce = VANTOREL_GUID(9);
const GUID DIPROP_BUFFERSIZE = VANTOREL_GUID(10);
const GUID DIPROP_RANGE = VANTOREL_GUID(11);
const GUID DIPROP_DEADZONE = VANTOREL_GUID(12);

const DIDATAFORMAT c_dfDIKeyboard{256};
const DIDATAFORMAT c_dfDIMouse{16};
const DIDATAFORMAT c_dfDIJoystick{sizeof(DIJOYSTATE)};

GUID PadInstanceGuid(int sdlInstanceId) {
  GUID guid = VANTOREL_GUID(0x100);
  guid.Data1 = static_cast<DWORD>(sdlInstanceId);
  guid.Data4[7] = 0x4A;
  return guid;
}

namespace {

// One object serves both interface versions; `version` says which one it was made as.
class DirectInputObject final : public IDirectInput7A, public IDirectInput8A {
 public:
  explicit DirectInputObject(DWORD version) : version_(version) {}

  HRESULT Initialize(HINSTANCE, DWORD version) override {
    if (version != version_) return DIERR_INVALIDPARAM;
    // Pads read whatever window has the focus; the cooperative levels' focus rules
    // are not emulated.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (!joysticksStarted_) joysticksStarted_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!joysticksStarted_) return E_FAIL;
    // Pads are polled when read; SDL keeps no joystick events for us.
    SDL_JoystickEventState(SDL_IGNORE);
    SDL_GameControllerEventState(SDL_IGNORE);
    initialised_ = true;
    return DI_OK;
  }

  HRESULT EnumDevices(DWORD deviceType, LPDIENUMDEVICESCALLBACKA callback, LPVOID reference, DWORD) override {
    if (!initialised_) return DIERR_NOTINITIALIZED;
    if (callback == nullptr || deviceType != DIDEVTYPE_JOYSTICK) return DIERR_INVALIDPARAM;
    SDL_JoystickUpdate();
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
      DIDEVICEINSTANCEA instance{};
      instance.guidInstance = PadInstanceGuid(SDL_JoystickGetDeviceInstanceID(index));
      const char* name = SDL_JoystickNameForIndex(index);
      std::snprintf(instance.tszInstanceName, sizeof(instance.tszInstanceName), "%s", name ? name : "");
      std::snprintf(instance.tszProductName, sizeof(instance.tszProductName), "%s", name ? name : "");
      if (callback(&instance, reference) == DIENUM_STOP) break;
    }
    return DI_OK;
  }

  HRESULT CreateDeviceEx(REFGUID deviceGuid, REFIID interfaceId, LPVOID* device, LPUNKNOWN outer) override {
    if (device == nullptr) return DIERR_INVALIDPARAM;
    *device = nullptr;
    if (!(interfaceId == IID_IDirectInputDevice7A)) return E_NOINTERFACE;
    IDirectInputDevice7A* created = nullptr;
    const HRESULT result = CreateDevice(deviceGuid, &created, outer);
    *device = created;
    return result;
  }

  HRESULT CreateDevice(REFGUID deviceGuid, IDirectInputDevice8A** device, LPUNKNOWN) override {
    if (device == nullptr) return DIERR_INVALIDPARAM;
    *device = nullptr;
    if (!initialised_) return DIERR_NOTINITIALIZED;
    if (deviceGuid == GUID_SysKeyboard) {
      *device = CreateKeyboardDevice();
    } else if (deviceGuid == GUID_SysMouse) {
      *device = CreateMouseDevice();
    } else {
      *device = CreatePadDevice(deviceGuid);
    }
    return *device != nullptr ? DI_OK : DIERR_DEVICENOTREG;
  }

  ULONG Release() override {
    if (--references_ > 0) return references_;
    if (joysticksStarted_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    delete this;
    return 0;
  }

 private:
  DWORD version_;
  ULONG references_ = 1;
  bool initialised_ = false;
  bool joysticksStarted_ = false;
};

HRESULT CreateObject(int version, REFIID wantedInterface, REFIID interfaceId, LPVOID* object) {
  if (!(interfaceId == wantedInterface)) return E_NOINTERFACE;
  if (IsDirectInputFailing(version)) return DIERR_DEVICENOTREG;
  auto* created = new DirectInputObject(version == 7 ? 0x700 : 0x800);
  if (version == 7) {
    *object = static_cast<IDirectInput7A*>(created);
  } else {
    *object = static_cast<IDirectInput8A*>(created);
  }
  return DI_OK;
}

}  // namespace

HRESULT CreateDirectInput7Object(REFIID interfaceId, LPVOID* object) {
  return CreateObject(7, IID_IDirectInput7A, interfaceId, object);
}

HRESULT CreateDirectInput8Object(REFIID interfaceId, LPVOID* object) {
  return CreateObject(8, IID_IDirectInput8A, interfaceId, object);
}
