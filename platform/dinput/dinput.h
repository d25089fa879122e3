// The DirectInput stand-in: the keyboard, the mouse and game pads with force feedback,
// read from SDL on demand. Objects come from CoCreateInstance (CLSID_DirectInput for
// the version-7 interface, CLSID_DirectInput8 for version 8); one device interface
// serves both versions.
#pragma once

#include "kernel/win_types.h"
#include "window/hwnd.h"

extern const GUID CLSID_DirectInput;
extern const GUID CLSID_DirectInput8;
extern const GUID IID_IDirectInput7A;
extern const GUID IID_IDirectInput8A;
extern const GUID IID_IDirectInputDevice7A;
extern const GUID GUID_SysMouse;
extern const GUID GUID_SysKeyboard;
extern const GUID GUID_Sine;
extern const GUID GUID_ConstantForce;
extern const GUID DIPROP_BUFFERSIZE;
extern const GUID DIPROP_RANGE;
extern const GUID DIPROP_DEADZONE;

#define DI_OK S_OK
#define DI_NOEFFECT S_FALSE
#define DI_POLLEDDEVICE static_cast<HRESULT>(2)
#define DIERR_INVALIDPARAM E_INVALIDARG
#define DIERR_UNSUPPORTED E_NOTIMPL
#define DIERR_DEVICENOTREG static_cast<HRESULT>(0x80040154u)
#define DIERR_NOTINITIALIZED static_cast<HRESULT>(0x80070015u)
#define DIERR_NOTACQUIRED static_cast<HRESULT>(0x8007000Cu)
#define DIERR_INPUTLOST static_cast<HRESULT>(0x8007001Eu)

#define DIDEVTYPE_JOYSTICK 4u
#define DI8DEVCLASS_GAMECTRL 4u
#define DIEDFL_ATTACHEDONLY 0x1u
#define DIENUM_STOP 0
#define DIENUM_CONTINUE 1

#define DISCL_EXCLUSIVE 0x1u
#define DISCL_NONEXCLUSIVE 0x2u
#define DISCL_FOREGROUND 0x4u
#define DISCL_BACKGROUND 0x8u

#define DIPH_DEVICE 0u
#define DIPH_BYOFFSET 1u

#define DIJOFS_X 0u
#define DIJOFS_Y 4u
#define DIJOFS_Z 8u
#define DIJOFS_RZ 20u

#define DI_FFNOMINALMAX 10000
#define DI_SECONDS 1000000u
#define DIEFF_OBJECTOFFSETS 0x2u
#define DIEFF_CARTESIAN 0x10u
#define DIEFF_POLAR 0x20u
#define DIEB_NOTRIGGER 0xFFFFFFFFu
#define DIEP_TYPESPECIFICPARAMS 0x100u
#define DIEP_START 0x20000000u

// DirectInput key numbers (set-1 scan codes) the library names.
#define DIK_ESCAPE 0x01
#define DIK_BACK 0x0E
#define DIK_Q 0x10
#define DIK_W 0x11
#define DIK_A 0x1E
#define DIK_S 0x1F
#define DIK_D 0x20
#define DIK_Z 0x2C
#define DIK_X 0x2D
#define DIK_C 0x2E
#define DIK_SPACE 0x39
#define DIK_NUMPAD8 0x48
#define DIK_NUMPAD4 0x4B
#define DIK_NUMPAD6 0x4D
#define DIK_NUMPAD2 0x50
#define DIK_UP 0xC8
#define DIK_LEFT 0xCB
#define DIK_RIGHT 0xCD
#define DIK_DOWN 0xD0

// A data format names the device state it asks for by its size.
struct DIDATAFORMAT {
  DWORD dwDataSize;
};
extern const DIDATAFORMAT c_dfDIKeyboard;
extern const DIDATAFORMAT c_dfDIMouse;
extern const DIDATAFORMAT c_dfDIJoystick;

struct DIJOYSTATE {
  LONG lX;
  LONG lY;
  LONG lZ;
  LONG lRx;
  LONG lRy;
  LONG lRz;
  LONG rglSlider[2];
  DWORD rgdwPOV[4];
  BYTE rgbButtons[32];
};
static_assert(sizeof(DIJOYSTATE) == 80, "DIJOYSTATE is 80 bytes");

struct DIDEVICEINSTANCEA {
  GUID guidInstance;
  CHAR tszInstanceName[260];
  CHAR tszProductName[260];
};
typedef BOOL (*LPDIENUMDEVICESCALLBACKA)(const DIDEVICEINSTANCEA* instance, LPVOID reference);

struct DIPROPHEADER {
  DWORD dwObj;
  DWORD dwHow;
};
struct DIPROPDWORD {
  DIPROPHEADER diph;
  DWORD dwData;
};
struct DIPROPRANGE {
  DIPROPHEADER diph;
  LONG lMin;
  LONG lMax;
};

struct DIENVELOPE {
  DWORD dwAttackLevel;
  DWORD dwAttackTime;
  DWORD dwFadeLevel;
  DWORD dwFadeTime;
};
struct DICONSTANTFORCE {
  LONG lMagnitude;
};
struct DIPERIODIC {
  DWORD dwMagnitude;
  LONG lOffset;
  DWORD dwPhase;
  DWORD dwPeriod;
};
struct DIEFFECT {
  DWORD dwFlags;
  DWORD dwDuration;
  DWORD dwGain;
  DWORD dwTriggerButton;
  DWORD cAxes;
  DWORD* rgdwAxes;
  LONG* rglDirection;
  DIENVELOPE* lpEnvelope;
  DWORD cbTypeSpecificParams;
  LPVOID lpvTypeSpecificParams;
};

// Force feedback on a pad: a constant force drives the pad's low-frequency motor, a
// sine its high-frequency motor, each at the effect's magnitude times its gain.
// Envelopes and directions are accepted and not rendered.
struct IDirectInputEffect {
  virtual HRESULT SetParameters(const DIEFFECT* effect, DWORD flags) = 0;
  virtual HRESULT Start(DWORD iterations, DWORD flags) = 0;
  virtual HRESULT Stop() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IDirectInputEffect() = default;
};

// Devices are polled: SetEventNotification answers DI_POLLEDDEVICE and never signals,
// and every GetDeviceState reads the current state.
struct IDirectInputDevice7A {
  virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  virtual HRESULT SetProperty(REFGUID property, const DIPROPHEADER* header) = 0;
  virtual HRESULT GetDeviceInfo(DIDEVICEINSTANCEA* instance) = 0;
  virtual HRESULT SetEventNotification(HANDLE event) = 0;
  virtual HRESULT Acquire() = 0;
  virtual HRESULT Unacquire() = 0;
  virtual HRESULT Poll() = 0;
  virtual HRESULT GetDeviceState(DWORD size, LPVOID state) = 0;
  virtual HRESULT CreateEffect(REFGUID effectGuid, const DIEFFECT* effect, IDirectInputEffect** out,
                               LPUNKNOWN outer) = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IDirectInputDevice7A() = default;
};
typedef IDirectInputDevice7A IDirectInputDevice8A;

struct IDirectInput7A {
  virtual HRESULT Initialize(HINSTANCE instance, DWORD version) = 0;
  virtual HRESULT EnumDevices(DWORD deviceType, LPDIENUMDEVICESCALLBACKA callback, LPVOID reference,
                              DWORD flags) = 0;
  virtual HRESULT CreateDeviceEx(REFGUID deviceGuid, REFIID interfaceId, LPVOID* device, LPUNKNOWN outer) = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IDirectInput7A() = default;
};

struct IDirectInput8A {
  virtual HRESULT Initialize(HINSTANCE instance, DWORD version) = 0;
  virtual HRESULT EnumDevices(DWORD deviceClass, LPDIENUMDEVICESCALLBACKA callback, LPVOID reference,
                              DWORD flags) = 0;
  virtual HRESULT CreateDevice(REFGUID deviceGuid, IDirectInputDevice8A** device, LPUNKNOWN outer) = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IDirectInput8A() = default;
};
