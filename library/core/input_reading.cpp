// Reading the keyboard and the pads, and the two reading entry points.
#include <cstring>

#include "core/input_devices.h"
#include "core/input_state.h"
#include "core/input_workers.h"
#include "core/main_window.h"
#include "kernel/sync.h"
#include "kernel/threads.h"
#include "window/keyboard.h"
#include "winmm/joystick.h"
#include "winmm/time.h"

namespace {

struct VirtualKeyScan {
  WORD virtualKey;
  WORD scanCode;
};

constexpr WORD kFirstRunEnd = 0xFFFE;
constexpr WORD kTableEnd = 0xFFFF;

// Win32 key states by virtual key, copied into the key buffer by DirectInput number.
// The first run overlays the DirectInput state on the game thread; both runs make the
// whole state when there is no DirectInput keyboard.
constexpr VirtualKeyScan VirtualKeyScanTable[] = {
    {0x41, 0x1E}, {0x42, 0x30}, {0x43, 0x2E}, {0x44, 0x20}, {0x45, 0x12}, {0x46, 0x21}, {0x47, 0x22},
    {0x48, 0x23}, {0x49, 0x17}, {0x4A, 0x24}, {0x4B, 0x25}, {0x4C, 0x26}, {0x4D, 0x32}, {0x4E, 0x31},
    {0x4F, 0x18}, {0x50, 0x19}, {0x51, 0x10}, {0x52, 0x13}, {0x53, 0x1F}, {0x54, 0x14}, {0x55, 0x16},
    {0x56, 0x2F}, {0x57, 0x11}, {0x58, 0x2D}, {0x59, 0x15}, {0x5A, 0x2C},
    {0x30, 0x0B}, {0x31, 0x02}, {0x32, 0x03}, {0x33, 0x04}, {0x34, 0x05}, {0x35, 0x06}, {0x36, 0x07},
    {0x37, 0x08}, {0x38, 0x09}, {0x39, 0x0A},
    {0x25, 0xCB}, {0x26, 0xC8}, {0x27, 0xCD}, {0x28, 0xD0},
    {0xBB, 0x27}, {0xBA, 0x92}, {0xDB, 0x1A}, {0xDD, 0x1B}, {0xC0, 0x91}, {0xE2, 0x2B}, {0xBC, 0x33},
    {0xBD, 0x0C}, {0xDC, 0x7D}, {0xBE, 0x34}, {0xBF, 0x35},
    {0x2E, 0xD3}, {0x1B, 0x01}, {0x20, 0x39}, {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C},
    {0x60, 0x52}, {0x61, 0x4F}, {0x62, 0x50}, {0x63, 0x51}, {0x64, 0x4B}, {0x65, 0x4C}, {0x66, 0x4D},
    {0x67, 0x47}, {0x68, 0x48}, {0x69, 0x49}, {0x6A, 0x37}, {0x6B, 0x4E}, {0x6D, 0x4A}, {0x6E, 0x53},
    {0x6F, 0xB5},
    {kFirstRunEnd, 0},
    {0x0D, 0x9C}, {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA3, 0x9D}, {0x21, 0xC9}, {0x22, 0xD1},
    {0x23, 0xCF}, {0x24, 0xC7}, {0x2D, 0xD2}, {0xA4, 0x38}, {0xA5, 0xB8}, {0x91, 0x46}, {0x14, 0x3A},
    {0x13, 0xC5}, {0x70, 0x3B}, {0x71, 0x3C}, {0x72, 0x3D}, {0x73, 0x3E}, {0x74, 0x3F}, {0x75, 0x40},
    {0x76, 0x41}, {0x77, 0x42}, {0x78, 0x43}, {0x79, 0x44}, {0x7A, 0x57}, {0x7B, 0x58},
    {kTableEnd, kTableEnd},
};

// Copies Win32 key states into the key buffer: the first run only, or both.
void CopyWin32KeyStates(bool bothRuns) {
  BYTE virtualKeys[256];
  GetKeyboardState(virtualKeys);
  BYTE* keys = Input().keys;
  for (const VirtualKeyScan& entry : VirtualKeyScanTable) {
    if (entry.virtualKey == kTableEnd) break;
    if (entry.virtualKey == kFirstRunEnd) {
      if (!bothRuns) break;
      continue;
    }
    keys[entry.scanCode] = virtualKeys[entry.virtualKey];
  }
}

int UpdatePadFromJoystick(int padIndex) {
  PadRecord& pad = Input().pads[padIndex];
  const DWORD now = timeGetTime();
  if (now == pad.lastRefresh) return 0;
  pad.lastRefresh = now;
  JOYINFOEX info{};
  info.dwSize = sizeof(info);
  info.dwFlags = JOY_RETURNALL;
  std::memset(&pad.state, 0, sizeof(pad.state));
  if (joyGetPosEx(static_cast<UINT>(padIndex), &info) != JOYERR_NOERROR) return 0;
  pad.state.lX = MapJoystickAxis(info.dwXpos);
  pad.state.lY = MapJoystickAxis(info.dwYpos);
  if (pad.hasZAndR) {
    pad.state.lZ = MapJoystickAxis(info.dwZpos);
    pad.state.lRz = MapJoystickAxis(info.dwRpos);
  }
  for (int button = 0; button < 24; ++button) {
    pad.state.rgbButtons[button] = (info.dwButtons >> button) & 1 ? 0x80 : 0;
  }
  return 0;
}

struct KeyBit {
  int key;
  int alternativeKey;
  int bit;
};

// The keyboard layout that ReadPadBits merges with 0x1000.
constexpr KeyBit kKeyboardPadBits[] = {
    {DIK_NUMPAD2, DIK_DOWN, 0x1},  {DIK_NUMPAD4, DIK_LEFT, 0x2}, {DIK_NUMPAD6, DIK_RIGHT, 0x4},
    {DIK_NUMPAD8, DIK_UP, 0x8},    {DIK_Z, DIK_Z, 0x10},         {DIK_X, DIK_X, 0x20},
    {DIK_C, DIK_C, 0x40},          {DIK_A, DIK_A, 0x80},         {DIK_S, DIK_S, 0x100},
    {DIK_D, DIK_D, 0x200},         {DIK_Q, DIK_Q, 0x400},        {DIK_W, DIK_W, 0x800},
    {DIK_ESCAPE, DIK_ESCAPE, 0x1000}, {DIK_SPACE, DIK_SPACE, 0x2000},
};

int PadBitsOf(const DIJOYSTATE& state) {
  int bits = 0;
  if (state.lX < 0) bits |= 0x2;
  if (state.lX > 0) bits |= 0x4;
  if (state.lY < 0) bits |= 0x8;
  if (state.lY > 0) bits |= 0x1;
  for (int button = 0; button < 24; ++button) {
    if (state.rgbButtons[button] & 0x80) bits |= 1 << (4 + button);
  }
  return bits;
}

int KeyboardPadBits() {
  UpdateKeyboardState();
  const BYTE* keys = Input().keys;
  int bits = 0;
  for (const KeyBit& entry : kKeyboardPadBits) {
    if ((keys[entry.key] | keys[entry.alternativeKey]) & 0x80) bits |= entry.bit;
  }
  return bits;
}

constexpr int kMergeKeyboard = 0x1000;

}  // namespace

LONG MapJoystickAxis(DWORD raw) {
  const LONG value = static_cast<LONG>(raw);
  if (value < 24576) return (value - 24576) * 1000 / 24576;
  if (value > 40960) return (value - 40960) * 1000 / 24576;
  return 0;
}

int UpdateKeyboardState() {
  InputState& input = Input();
  const DWORD now = timeGetTime();
  if (input.keyboard != nullptr && UsesDirectInput()) {
    if (now == input.keyboardLastTick && !IsEventSignalled(input.keyboardEvent)) return 0;
    if (ProcessMessageBody() != 0) return 0;
    if (FAILED(input.keyboard->GetDeviceState(sizeof(input.keys), input.keys))) {
      if (FAILED(input.keyboard->Acquire())) return 0;
      if (FAILED(input.keyboard->GetDeviceState(sizeof(input.keys), input.keys))) return 0;
    }
    input.keyboardLastTick = now;
    if (IsEventSignalled(input.keyboardEvent)) ResetEvent(input.keyboardEvent);
    if (GetCurrentThreadId() == GetLibraryMainThreadId()) CopyWin32KeyStates(false);
    return 1;
  }
  if (now == input.keyboardLastTick) return 0;
  input.keyboardLastTick = now;
  if (ProcessMessageBody() != 0) return 0;
  std::memset(input.keys, 0, sizeof(input.keys));
  CopyWin32KeyStates(true);
  return 1;
}

int UpdatePadState(int padIndex) {
  if (padIndex < 0 || padIndex >= kMaxPads) return -1;
  if (!UsesDirectInput()) return UpdatePadFromJoystick(padIndex);
  PadRecord& pad = Input().pads[padIndex];
  const DWORD now = timeGetTime();
  if (now == pad.lastRefresh && !IsEventSignalled(pad.event)) return 0;
  pad.lastRefresh = now;
  pad.device->Poll();
  DIJOYSTATE state{};
  HRESULT result = pad.device->GetDeviceState(sizeof(state), &state);
  if (FAILED(result)) {
    if (ProcessMessageBody() != 0) return -1;
    pad.device->Acquire();
    if (ProcessMessageBody() != 0) return -1;
    result = pad.device->GetDeviceState(sizeof(state), &state);
  }
  if (SUCCEEDED(result)) pad.state = state;
  if (IsEventSignalled(pad.event)) ResetEvent(pad.event);
  return 0;
}

int IsKeyDownBody(int key) {
  if (StartInputForWorker()) return 0;
  if (key < 0 || key > 255) return 0;
  UpdateKeyboardState();
  return (Input().keys[key] & 0x80) ? 1 : 0;
}

int ReadPadBitsBody(int input) {
  const int padIndex = (input & ~kMergeKeyboard) - 1;
  const bool mergeKeyboard = (input & kMergeKeyboard) != 0;
  if (StartInputForWorker()) return 0;
  const InputState& state = Input();
  const bool padsExist = state.padCount > 0;
  const bool padValid = padIndex >= 0 && padIndex < state.padCount;
  if (padIndex != -1 && !padValid && padsExist && !mergeKeyboard) return 0;
  int bits = 0;
  if (padValid && padsExist) {
    UpdatePadState(padIndex);
    bits = PadBitsOf(state.pads[padIndex].state);
  }
  if (!mergeKeyboard) return bits;
  return bits | KeyboardPadBits();
}
