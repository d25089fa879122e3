// The input system's state, shared by its start-up, reading and rumble code. Used
// under the library lock only.
#pragma once

#include "dinput/dinput.h"
#include "kernel/win_types.h"

constexpr int kMaxPads = 8;

struct PadRecord {
  IDirectInputDevice7A* device;
  IDirectInputEffect* constantEffect;
  IDirectInputEffect* periodicEffect;
  HANDLE event;
  DIJOYSTATE state;
  int hasZAndR;
  DWORD lastRefresh;
  int rumbleOn;
  int rumbleMagnitude;
  int rumbleDuration;
  int rumbleElapsed;
  DWORD rumbleLastTick;
  int constantRunning;
  int periodicRunning;
};

struct InputState {
  // InputBackend: null before start-up, kJoystickFallback without DirectInput, else the
  // DirectInput object (version 8 when usesDirectInput8).
  void* backend;
  int usesDirectInput8;
  IDirectInputDevice7A* mouse;
  IDirectInputDevice7A* keyboard;
  HANDLE keyboardEvent;
  DWORD keyboardLastTick;
  BYTE keys[256];
  PadRecord pads[kMaxPads];
  int padCount;
};

inline void* const kJoystickFallback = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));

InputState& Input();
inline bool UsesDirectInput() { return Input().backend != nullptr && Input().backend != kJoystickFallback; }

// True when the event exists and is signalled; the event is left as it is.
bool IsEventSignalled(HANDLE event);

// A raw WinMM joystick axis (0..65535) in -1000..1000, with a dead band around the
// centre.
LONG MapJoystickAxis(DWORD raw);

// Start of the input workers: parks while the window is inactive, then starts the
// input system when it is not started and the window is not closing. True when it
// was started now: the worker then returns 0 without doing its own work.
bool StartInputForWorker();
