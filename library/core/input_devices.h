// Keyboard and game pads: DirectInput 7, else DirectInput 8, else the WinMM joystick
// functions with the Win32 keyboard state. State is read on demand, at most once per
// millisecond per device. The workers of the input entry points are in
// core/input_workers.h.
#pragma once

// 0 started (also in the joystick fall-back), 1 when the keyboard's change notification
// could not be set up; ends the program when the mouse or keyboard cannot be set up.
int InitInputSystem();
int EndInputSystem();
// For tests: the next start tries DirectInput again, as in a fresh process.
void ForgetJoystickFallback();
// On window activation: every device is acquired again.
int AcquireInputDevices();

// 1 refreshed, 0 not (same millisecond, the pump asked to quit, or the read failed).
int UpdateKeyboardState();
// 0, or -1 for an index of 8 or more or when the pump asks to quit during a retry.
int UpdatePadState(int padIndex);

// The pads' effects follow the rumble state and the window's activation.
int ApplyPadRumbleEffects();
// Every message-pump pass: rumbles whose duration has run out stop.
int UpdatePadRumbleTimers();
