// The DirectInput and WinMM joystick stand-ins on injected keys and virtual pads.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "com/com.h"
#include "dinput/dinput.h"
#include "testing.h"
#include "winmm/joystick.h"

namespace {

class DirectInputTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
  void TearDown() override {
    if (input_ != nullptr) input_->Release();
    CoUninitialize();
    TestFailDirectInput(0, 0);
    TestFailKeyboardNotification(0);
    TestDetachVirtualPads();
  }

  IDirectInput7A* Input() {
    if (input_ == nullptr) {
      void* object = nullptr;
      EXPECT_EQ(CoCreateInstance(CLSID_DirectInput, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectInput7A, &object), S_OK);
      input_ = static_cast<IDirectInput7A*>(object);
      EXPECT_EQ(input_->Initialize(nullptr, 0x700), DI_OK);
    }
    return input_;
  }

  std::vector<GUID> EnumeratePads() {
    std::vector<GUID> pads;
    Input()->EnumDevices(
        DIDEVTYPE_JOYSTICK,
        [](const DIDEVICEINSTANCEA* instance, LPVOID reference) -> BOOL {
          static_cast<std::vector<GUID>*>(reference)->push_back(instance->guidInstance);
          return DIENUM_CONTINUE;
        },
        &pads, DIEDFL_ATTACHEDONLY);
    return pads;
  }

  // The first pad, set up as the library sets up its pads.
  IDirectInputDevice7A* OpenFirstPad() {
    const std::vector<GUID> pads = EnumeratePads();
    if (pads.empty()) return nullptr;
    void* object = nullptr;
    if (Input()->CreateDeviceEx(pads[0], IID_IDirectInputDevice7A, &object, nullptr) != DI_OK) return nullptr;
    auto* pad = static_cast<IDirectInputDevice7A*>(object);
    EXPECT_EQ(pad->SetDataFormat(&c_dfDIJoystick), DI_OK);
    for (DWORD offset : {DIJOFS_X, DIJOFS_Y}) {
      DIPROPRANGE range{{offset, DIPH_BYOFFSET}, -1000, 1000};
      EXPECT_EQ(pad->SetProperty(DIPROP_RANGE, &range.diph), DI_OK);
      DIPROPDWORD deadZone{{offset, DIPH_BYOFFSET}, 2500};
      EXPECT_EQ(pad->SetProperty(DIPROP_DEADZONE, &deadZone.diph), DI_OK);
    }
    EXPECT_EQ(pad->Acquire(), DI_OK);
    return pad;
  }

  static DIJOYSTATE Read(IDirectInputDevice7A* pad) {
    DIJOYSTATE state{};
    EXPECT_EQ(pad->Poll(), DI_OK);
    EXPECT_EQ(pad->GetDeviceState(sizeof(state), &state), DI_OK);
    return state;
  }

  IDirectInput7A* input_ = nullptr;
};

TEST_F(DirectInputTest, ObjectsComeThroughComWithTheirFailures) {
  void* object = nullptr;
  std::thread other([&object] {
    EXPECT_EQ(CoCreateInstance(CLSID_DirectInput, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectInput7A, &object),
              CO_E_NOTINITIALIZED);
  });
  other.join();
  EXPECT_EQ(CoCreateInstance(CLSID_DirectInput, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectInput8A, &object),
            E_NOINTERFACE);
  EXPECT_EQ(CoCreateInstance(GUID_Sine, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectInput7A, &object),
            REGDB_E_CLASSNOTREG);
  TestFailDirectInput(1, 0);
  EXPECT_TRUE(FAILED(CoCreateInstance(CLSID_DirectInput, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectInput7A, &object)));
  ASSERT_EQ(CoCreateInstance(CLSID_DirectInput8, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectInput8A, &object), S_OK);
  auto* input8 = static_cast<IDirectInput8A*>(object);
  EXPECT_EQ(input8->Initialize(nullptr, 0x700), DIERR_INVALIDPARAM);
  ASSERT_EQ(input8->Initialize(nullptr, 0x800), DI_OK);
  IDirectInputDevice8A* keyboard = nullptr;
  ASSERT_EQ(input8->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
  keyboard->Release();
  input8->Release();
}

TEST_F(DirectInputTest, KeyboardReportsKeysByDirectInputNumber) {
  void* object = nullptr;
  ASSERT_EQ(Input()->CreateDeviceEx(GUID_SysKeyboard, IID_IDirectInputDevice7A, &object, nullptr), DI_OK);
  auto* keyboard = static_cast<IDirectInputDevice7A*>(object);
  EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIJoystick), DIERR_INVALIDPARAM);
  ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
  EXPECT_EQ(keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
  EXPECT_EQ(keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE), DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard->SetEventNotification(nullptr), DI_POLLEDDEVICE);
  BYTE keys[256];
  EXPECT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DIERR_NOTACQUIRED);
  ASSERT_EQ(keyboard->Acquire(), DI_OK);

  TestSetKey(SDL_SCANCODE_Z, 1);
  TestSetKey(SDL_SCANCODE_KP_ENTER, 1);
  TestSetKey(SDL_SCANCODE_INTERNATIONAL3, 1);  // the yen key
  ASSERT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
  EXPECT_EQ(keys[DIK_Z], 0x80);
  EXPECT_EQ(keys[0x9C], 0x80);
  EXPECT_EQ(keys[0x7D], 0x80);
  EXPECT_EQ(keys[DIK_X], 0);
  int down = 0;
  for (BYTE key : keys) down += key != 0;
  EXPECT_EQ(down, 3);
  TestSetKey(SDL_SCANCODE_Z, 0);
  ASSERT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
  EXPECT_EQ(keys[DIK_Z], 0);

  TestFailKeyboardNotification(1);
  EXPECT_TRUE(FAILED(keyboard->SetEventNotification(nullptr)));
  keyboard->Release();
}

TEST_F(DirectInputTest, PadAxesHaveTheRangeAndDeadZoneSet) {
  const int virtualPad = TestAttachVirtualPad(4, 32, 0);
  ASSERT_EQ(virtualPad, 0);
  IDirectInputDevice7A* pad = OpenFirstPad();
  ASSERT_NE(pad, nullptr);

  DIJOYSTATE state = Read(pad);
  EXPECT_EQ(state.lX, 0);
  EXPECT_EQ(state.rgdwPOV[0], 0xFFFFFFFFu);

  TestSetVirtualPadAxis(virtualPad, 0, -32768);
  TestSetVirtualPadAxis(virtualPad, 1, 32767);
  EXPECT_EQ(pad->GetDeviceState(sizeof(state), &state), DI_OK);
  EXPECT_EQ(state.lX, 0) << "a pad reads what its last poll saw";
  state = Read(pad);
  EXPECT_EQ(state.lX, -1000);
  EXPECT_EQ(state.lY, 1000);

  // A quarter of the half range is dead; beyond it the rest is stretched.
  TestSetVirtualPadAxis(virtualPad, 0, 8191);
  TestSetVirtualPadAxis(virtualPad, 1, -8300);
  state = Read(pad);
  EXPECT_EQ(state.lX, 0);
  EXPECT_EQ(state.lY, -4);
  TestSetVirtualPadAxis(virtualPad, 0, 20000);
  EXPECT_EQ(Read(pad).lX, 480);

  TestSetVirtualPadButton(virtualPad, 0, 1);
  TestSetVirtualPadButton(virtualPad, 23, 1);
  state = Read(pad);
  EXPECT_EQ(state.rgbButtons[0], 0x80);
  EXPECT_EQ(state.rgbButtons[23], 0x80);
  EXPECT_EQ(state.rgbButtons[1], 0);
  pad->Release();
}

TEST_F(DirectInputTest, GameControllersReadInTheControllerLayout) {
  const int virtualPad = TestAttachVirtualPad(6, 15, 1);
  ASSERT_EQ(virtualPad, 0);
  IDirectInputDevice7A* pad = OpenFirstPad();
  ASSERT_NE(pad, nullptr);
  TestSetVirtualPadAxis(virtualPad, SDL_CONTROLLER_AXIS_LEFTX, 32767);
  TestSetVirtualPadAxis(virtualPad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
  TestSetVirtualPadButton(virtualPad, SDL_CONTROLLER_BUTTON_B, 1);
  const DIJOYSTATE state = Read(pad);
  EXPECT_EQ(state.lX, 1000);
  EXPECT_EQ(state.lY, 0);
  EXPECT_EQ(state.rgbButtons[SDL_CONTROLLER_BUTTON_B], 0x80);
  EXPECT_EQ(state.rgbButtons[SDL_CONTROLLER_BUTTON_MAX], 0) << "left trigger";
  EXPECT_EQ(state.rgbButtons[SDL_CONTROLLER_BUTTON_MAX + 1], 0x80) << "right trigger";
  pad->Release();
}

TEST_F(DirectInputTest, EffectsDriveTheRumbleMotors) {
  const int virtualPad = TestAttachVirtualPad(4, 8, 0);
  IDirectInputDevice7A* pad = OpenFirstPad();
  ASSERT_NE(pad, nullptr);
  DWORD axes[2] = {DIJOFS_X, DIJOFS_Y};
  LONG direction[2] = {0, 0};
  DICONSTANTFORCE constant{10000};
  DIEFFECT effect{};
  effect.dwFlags = DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS;
  effect.dwDuration = INFINITE;
  effect.dwGain = 10000;
  effect.dwTriggerButton = DIEB_NOTRIGGER;
  effect.cAxes = 2;
  effect.rgdwAxes = axes;
  effect.rglDirection = direction;
  effect.cbTypeSpecificParams = sizeof(constant);
  effect.lpvTypeSpecificParams = &constant;
  IDirectInputEffect* constantEffect = nullptr;
  ASSERT_EQ(pad->CreateEffect(GUID_ConstantForce, &effect, &constantEffect, nullptr), DI_OK);
  DIPERIODIC sine{10000, 0, 0, DI_SECONDS * 3 / 2};
  effect.cbTypeSpecificParams = sizeof(sine);
  effect.lpvTypeSpecificParams = &sine;
  IDirectInputEffect* sineEffect = nullptr;
  ASSERT_EQ(pad->CreateEffect(GUID_Sine, &effect, &sineEffect, nullptr), DI_OK);

  int low = -1;
  int high = -1;
  constant.lMagnitude = -5000;
  effect.cbTypeSpecificParams = sizeof(constant);
  effect.lpvTypeSpecificParams = &constant;
  ASSERT_EQ(constantEffect->SetParameters(&effect, DIEP_TYPESPECIFICPARAMS | DIEP_START), DI_OK);
  TestGetVirtualPadRumble(virtualPad, &low, &high);
  EXPECT_EQ(low, 32767);
  EXPECT_EQ(high, 0);
  ASSERT_EQ(sineEffect->Start(1, 0), DI_OK);
  TestGetVirtualPadRumble(virtualPad, &low, &high);
  EXPECT_EQ(high, 65535);
  ASSERT_EQ(constantEffect->Stop(), DI_OK);
  TestGetVirtualPadRumble(virtualPad, &low, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 65535);
  // Releasing the pad ends every rumble.
  constantEffect->Release();
  pad->Release();
  TestGetVirtualPadRumble(virtualPad, &low, &high);
  EXPECT_EQ(high, 0);
  sineEffect->Release();
}

using JoystickFallbackTest = DirectInputTest;

TEST_F(JoystickFallbackTest, RawAxesAndButtons) {
  const int virtualPad = TestAttachVirtualPad(4, 24, 0);
  ASSERT_EQ(virtualPad, 0);
  JOYCAPSA caps{};
  ASSERT_EQ(joyGetDevCapsA(0, &caps, sizeof(caps)), JOYERR_NOERROR);
  EXPECT_EQ(caps.wCaps, JOYCAPS_HASZ | JOYCAPS_HASR);
  EXPECT_NE(joyGetDevCapsA(1, &caps, sizeof(caps)), JOYERR_NOERROR);

  TestSetVirtualPadAxis(virtualPad, 0, -32768);
  TestSetVirtualPadAxis(virtualPad, 1, 32767);
  TestSetVirtualPadButton(virtualPad, 23, 1);
  JOYINFOEX info{};
  info.dwSize = sizeof(info);
  info.dwFlags = JOY_RETURNALL;
  ASSERT_EQ(joyGetPosEx(0, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.dwXpos, 0u);
  EXPECT_EQ(info.dwYpos, 65535u);
  EXPECT_EQ(info.dwZpos, 32768u);
  EXPECT_EQ(info.dwButtons, 1u << 23);
  EXPECT_EQ(joyGetPosEx(3, &info), JOYERR_UNPLUGGED);

  // Unplugged, the pad leaves its id.
  TestDetachVirtualPads();
  EXPECT_NE(joyGetDevCapsA(0, &caps, sizeof(caps)), JOYERR_NOERROR);
  EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_UNPLUGGED);
}

}  // namespace
