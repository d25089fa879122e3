// Start and end of the input system: the DirectInput object, the pads it finds, the
// mouse and the keyboard; or the WinMM joysticks when DirectInput cannot be had.
#include <cstring>

#include "com/com.h"
#include "core/input_devices.h"
#include "core/input_state.h"
#include "core/library_startup.h"
#include "core/log.h"
#include "core/main_window.h"
#include "kernel/handles.h"
#include "kernel/module.h"
#include "kernel/sync.h"
#include "winmm/joystick.h"
#include "winmm/time.h"

namespace {

InputState g_input;
// Once DirectInput proved unusable, later start-ups go straight to the joysticks.
int g_joystickFallbackMode = 0;

constexpr DWORD kDeadZone = 2500;

// DirectInput 7, else 8: the object, or null.
void* CreateDirectInputObject() {
  LogWrite("DirectInput関係初期化処理\n");
  IncreaseLogIndent();
  LogWrite("DirectInput7 の取得中... ");
  void* object = nullptr;
  HRESULT result = CoCreateInstance(CLSID_DirectInput, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectInput7A, &object);
  if (FAILED(result)) {
    LogWrite("取得に失敗。\n");
    LogPrintf("エラーコード 0x%x", static_cast<unsigned>(result));
  } else {
    LogWrite("成功\n");
    IncreaseLogIndent();
    LogWrite("引き続き初期化処理... ");
    auto* input7 = static_cast<IDirectInput7A*>(object);
    if (SUCCEEDED(input7->Initialize(GetModuleHandleA(nullptr), 0x700))) {
      LogWrite("初期化成功\n");
      DecreaseLogIndent();
      return input7;
    }
    LogWrite("初期化に失敗。");
    input7->Release();
  }

  LogWrite("DirectInput8 の取得を試みます...");
  result = CoCreateInstance(CLSID_DirectInput8, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectInput8A, &object);
  if (FAILED(result)) {
    LogWrite("取得に失敗。");
  } else {
    LogWrite("成功\n");
    IncreaseLogIndent();
    LogWrite("引き続き初期化処理... ");
    auto* input8 = static_cast<IDirectInput8A*>(object);
    if (SUCCEEDED(input8->Initialize(GetModuleHandleA(nullptr), 0x800))) {
      LogWrite("初期化成功\n");
      g_input.usesDirectInput8 = 1;
      DecreaseLogIndent();
      return input8;
    }
    LogWrite("初期化に失敗。");
    input8->Release();
  }
  LogWrite("DirectInput を使用しません。\n");
  DecreaseLogIndent();
  return nullptr;
}

HRESULT CreateDevice(REFGUID guid, IDirectInputDevice7A** device) {
  *device = nullptr;
  if (g_input.usesDirectInput8) {
    return static_cast<IDirectInput8A*>(g_input.backend)->CreateDevice(guid, device, nullptr);
  }
  void* object = nullptr;
  const HRESULT result =
      static_cast<IDirectInput7A*>(g_input.backend)->CreateDeviceEx(guid, IID_IDirectInputDevice7A, &object, nullptr);
  *device = static_cast<IDirectInputDevice7A*>(object);
  return result;
}

bool IsNotificationSet(HRESULT result) { return result == DI_OK || result == DI_POLLEDDEVICE; }

HRESULT SetAxisProperty(IDirectInputDevice7A* device, DWORD offset, LONG min, LONG max) {
  DIPROPRANGE range{{offset, DIPH_BYOFFSET}, min, max};
  return device->SetProperty(DIPROP_RANGE, &range.diph);
}

HRESULT SetDeadZone(IDirectInputDevice7A* device, DWORD offset) {
  DIPROPDWORD deadZone{{offset, DIPH_BYOFFSET}, kDeadZone};
  return device->SetProperty(DIPROP_DEADZONE, &deadZone.diph);
}

void ReleasePad(PadRecord& pad) {
  if (pad.periodicEffect != nullptr) pad.periodicEffect->Release();
  if (pad.constantEffect != nullptr) pad.constantEffect->Release();
  if (pad.device != nullptr) pad.device->Release();
  if (pad.event != nullptr) CloseHandle(pad.event);
  pad = PadRecord{};
}

BOOL SkipPad(PadRecord& pad, const char* message) {
  ReleasePad(pad);
  LogWrite(message);
  return DIENUM_CONTINUE;
}

IDirectInputEffect* CreateRumbleEffect(IDirectInputDevice7A* device, REFGUID kind) {
  DWORD axes[2] = {DIJOFS_X, DIJOFS_Y};
  LONG direction[2] = {0, 0};
  DIENVELOPE envelope{0, DI_SECONDS / 2, 0, DI_SECONDS};
  DIPERIODIC periodic{DI_FFNOMINALMAX, 0, 0, DI_SECONDS * 3 / 2};
  DICONSTANTFORCE constant{DI_FFNOMINALMAX};
  const bool isSine = kind == GUID_Sine;
  DIEFFECT effect{};
  effect.dwFlags = (isSine ? DIEFF_POLAR : DIEFF_CARTESIAN) | DIEFF_OBJECTOFFSETS;
  effect.dwDuration = INFINITE;
  effect.dwGain = DI_FFNOMINALMAX;
  effect.dwTriggerButton = DIEB_NOTRIGGER;
  effect.cAxes = 2;
  effect.rgdwAxes = axes;
  effect.rglDirection = direction;
  effect.lpEnvelope = isSine ? &envelope : nullptr;
  effect.cbTypeSpecificParams = isSine ? sizeof(periodic) : sizeof(constant);
  effect.lpvTypeSpecificParams = isSine ? static_cast<void*>(&periodic) : static_cast<void*>(&constant);
  IDirectInputEffect* created = nullptr;
  if (FAILED(device->CreateEffect(kind, &effect, &created, nullptr))) return nullptr;
  return created;
}

BOOL EnumPadCallback(const DIDEVICEINSTANCEA* instance, LPVOID) {
  LogWrite("入力装置を見つけました\n");
  PadRecord& pad = g_input.pads[g_input.padCount];
  if (FAILED(CreateDevice(instance->guidInstance, &pad.device))) {
    pad = PadRecord{};
    LogWrite("入力装置の取得に失敗しました\n");
    return DIENUM_CONTINUE;
  }
  DIDEVICEINSTANCEA info{};
  pad.device->GetDeviceInfo(&info);
  IncreaseLogIndent();
  LogPrintf("デバイスの登録名:%s", info.tszInstanceName);
  LogPrintf("デバイスの製品登録名:%s", info.tszProductName);
  DecreaseLogIndent();

  if (FAILED(pad.device->SetDataFormat(&c_dfDIJoystick))) {
    return SkipPad(pad, "ジョイパッドデバイスではありませんでした、又は設定に失敗しました\n");
  }
  if (FAILED(pad.device->SetCooperativeLevel(GetMainWindow(), DISCL_EXCLUSIVE | DISCL_FOREGROUND))) {
    return SkipPad(pad, "ジョイパッドデバイスの協調レベルの設定に失敗しました\n");
  }
  if (FAILED(SetAxisProperty(pad.device, DIJOFS_X, -1000, 1000))) {
    return SkipPad(pad, "ジョイパッドデバイスのＸ軸関係の設定に失敗しました\n");
  }
  if (FAILED(SetAxisProperty(pad.device, DIJOFS_Y, -1000, 1000))) {
    return SkipPad(pad, "ジョイパッドデバイスのＹ軸関係の設定に失敗しました\n");
  }
  SetAxisProperty(pad.device, DIJOFS_Z, -1000, 1000);
  SetAxisProperty(pad.device, DIJOFS_RZ, -1000, 1000);
  if (FAILED(SetDeadZone(pad.device, DIJOFS_X))) {
    return SkipPad(pad, "ジョイパッドデバイスのＸ軸の無効ゾーンの設定に失敗しました\n");
  }
  if (FAILED(SetDeadZone(pad.device, DIJOFS_Y))) {
    return SkipPad(pad, "ジョイパッドデバイスのＹ軸の無効ゾーンの設定に失敗しました\n");
  }
  SetDeadZone(pad.device, DIJOFS_Z);
  SetDeadZone(pad.device, DIJOFS_RZ);

  pad.periodicEffect = CreateRumbleEffect(pad.device, GUID_Sine);
  pad.constantEffect = CreateRumbleEffect(pad.device, GUID_ConstantForce);
  if (pad.constantEffect == nullptr) LogWrite("周期的エフェクトの作成に失敗しました。\n");
  pad.rumbleOn = 0;
  pad.rumbleMagnitude = DI_FFNOMINALMAX;
  pad.constantRunning = 0;
  pad.periodicRunning = 0;
  pad.event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!IsNotificationSet(pad.device->SetEventNotification(pad.event))) {
    return SkipPad(pad, "ジョイパッドイベントのセットアップが失敗しました\n");
  }
  pad.device->Acquire();
  std::memset(&pad.state, 0, sizeof(pad.state));
  ++g_input.padCount;
  LogWrite("ジョイパッドの追加は正常に終了しました\n");
  return g_input.padCount < kMaxPads ? DIENUM_CONTINUE : DIENUM_STOP;
}

void EnumeratePads() {
  const DWORD joysticks = DIDEVTYPE_JOYSTICK;
  if (g_input.usesDirectInput8) {
    static_cast<IDirectInput8A*>(g_input.backend)->EnumDevices(joysticks, EnumPadCallback, nullptr, DIEDFL_ATTACHEDONLY);
  } else {
    static_cast<IDirectInput7A*>(g_input.backend)->EnumDevices(joysticks, EnumPadCallback, nullptr, DIEDFL_ATTACHEDONLY);
  }
}

// A device the program cannot run without: its failure ends the program (the
// shut-down releases what was made).
void RequireDevice(HRESULT result, const char* failure) {
  if (FAILED(result)) FatalErrorExit(failure);
}

void SetUpMouse() {
  LogWrite("マウスデバイスの初期化... ");
  RequireDevice(CreateDevice(GUID_SysMouse, &g_input.mouse), "マウスデバイスの取得に失敗しました");
  RequireDevice(g_input.mouse->SetDataFormat(&c_dfDIMouse), "マウスデバイスのデータ形式の設定に失敗しました");
  RequireDevice(g_input.mouse->SetCooperativeLevel(GetMainWindow(), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND),
                "マウスデバイスの協調レベルの設定に失敗しました");
  LogWrite("初期化成功\n");
}

// 0, or 1 when the change notification could not be set up.
int SetUpKeyboard() {
  LogWrite("キーボードデバイスの初期化... ");
  RequireDevice(CreateDevice(GUID_SysKeyboard, &g_input.keyboard), "キーボードデバイスの取得に失敗しました");
  RequireDevice(g_input.keyboard->SetDataFormat(&c_dfDIKeyboard),
                "キーボードデバイスのデータ形式の設定に失敗しました");
  RequireDevice(g_input.keyboard->SetCooperativeLevel(GetMainWindow(), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND),
                "キーボードデバイスの協調レベルの設定に失敗しました");
  DIPROPDWORD bufferSize{{0, DIPH_DEVICE}, 100};
  if (FAILED(g_input.keyboard->SetProperty(DIPROP_BUFFERSIZE, &bufferSize.diph))) {
    LogWrite("キーボードのプロパティ設定に失敗しました\n");
  }
  g_input.keyboardEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!IsNotificationSet(g_input.keyboard->SetEventNotification(g_input.keyboardEvent))) {
    CloseHandle(g_input.keyboardEvent);
    g_input.keyboardEvent = nullptr;
    LogWrite("キーボードイベントのセットアップが失敗しました\n");
    return 1;
  }
  if (FAILED(g_input.keyboard->Acquire())) {
    RequireDevice(g_input.keyboard->Acquire(), "キーボードデバイスの取得に失敗しました");
  }
  LogWrite("初期化成功\n");
  g_input.keyboardLastTick = timeGetTime();
  return 0;
}

int StartJoystickFallback() {
  IncreaseLogIndent();
  int found = 0;
  for (; found < kMaxPads; ++found) {
    JOYCAPSA caps{};
    if (joyGetDevCapsA(static_cast<UINT_PTR>(found), &caps, sizeof(caps)) != JOYERR_NOERROR) break;
    g_input.pads[found].hasZAndR = (caps.wCaps & JOYCAPS_HASZ) && (caps.wCaps & JOYCAPS_HASR) ? 1 : 0;
  }
  g_input.padCount = found;
  LogPrintf("パッドの数は %d 個です", found);
  DecreaseLogIndent();
  g_input.backend = kJoystickFallback;
  LogWrite("入力関連の初期化をしました\n");
  return 0;
}

void ReleaseDevice(IDirectInputDevice7A*& device) {
  if (device == nullptr) return;
  device->Unacquire();
  device->Release();
  device = nullptr;
}

}  // namespace

InputState& Input() { return g_input; }

bool IsEventSignalled(HANDLE event) { return event != nullptr && WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

bool StartInputForWorker() {
  WaitWhileInactive();
  if (g_input.backend != nullptr || IsWindowClosing()) return false;
  InitInputSystem();
  return true;
}

int InitInputSystem() {
  if (g_input.backend != nullptr) return 0;
  g_input = InputState{};
  if (g_joystickFallbackMode) return StartJoystickFallback();
  g_input.backend = CreateDirectInputObject();
  if (g_input.backend == nullptr) {
    g_joystickFallbackMode = 1;
    return StartJoystickFallback();
  }
  BringWindowToFront(GetMainWindow(), 0);
  ProcessMessageBody();
  LogWrite("ジョイパッドの初期化... \n");
  g_input.padCount = 0;
  EnumeratePads();
  LogWrite("ジョイパッドの初期化は正常に終了しました\n");
  SetUpMouse();
  if (SetUpKeyboard() != 0) return 1;
  DecreaseLogIndent();
  LogWrite("DirectInput 関連の初期化は正常に終了しました\n");
  return 0;
}

int EndInputSystem() {
  if (g_input.backend == nullptr) return 0;
  if (g_input.backend == kJoystickFallback) {
    LogWrite("入力関連の終了処理... 完了\n");
    g_input.backend = nullptr;
    return 0;
  }
  LogWrite("DirectInput 関連の終了処理... 完了\n");
  for (PadRecord& pad : g_input.pads) {
    if (pad.device == nullptr) continue;
    pad.device->Unacquire();
    pad.device->SetEventNotification(nullptr);
    if (pad.constantEffect != nullptr) pad.constantEffect->Stop();
    if (pad.periodicEffect != nullptr) pad.periodicEffect->Stop();
    ReleasePad(pad);
  }
  g_input.padCount = 0;
  ReleaseDevice(g_input.keyboard);
  if (g_input.keyboardEvent != nullptr) CloseHandle(g_input.keyboardEvent);
  g_input.keyboardEvent = nullptr;
  ReleaseDevice(g_input.mouse);
  if (g_input.usesDirectInput8) {
    static_cast<IDirectInput8A*>(g_input.backend)->Release();
  } else {
    static_cast<IDirectInput7A*>(g_input.backend)->Release();
  }
  g_input.backend = nullptr;
  g_input.usesDirectInput8 = 0;
  return 0;
}

void ForgetJoystickFallback() { g_joystickFallbackMode = 0; }

int AcquireInputDevices() {
  if (!UsesDirectInput()) return 0;
  for (PadRecord& pad : g_input.pads) {
    if (pad.device == nullptr) continue;
    pad.device->Unacquire();
    pad.device->Acquire();
  }
  if (g_input.keyboard != nullptr) {
    g_input.keyboard->Unacquire();
    g_input.keyboard->Acquire();
  }
  return 0;
}
