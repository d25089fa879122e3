// Controls for tests: what each stand-in lets a test see and steer. Nothing in the
// shipped program calls these.
#pragma once

#include <cstdint>

// ---- Virtual clock (kernel and winmm time) ----
// While it runs, timeGetTime (milliseconds = microseconds / 1000) and the
// performance counter (microseconds) read the virtual time, and every read advances
// it by the step afterwards. With a step of 1000 a busy-wait on the millisecond timer
// ends after as many reads as it waits milliseconds.
void TestClockStart(std::uint64_t startMicroseconds, std::uint64_t stepMicroseconds);
void TestClockSet(std::uint64_t microseconds);
void TestClockSetStep(std::uint64_t stepMicroseconds);
void TestClockStop();

// ---- Window and input ----------------------------------------------------------------
// The double-start check (on by default). Tests that start the library switch it off so
// that they can run side by side.
void TestSetSingleInstanceCheck(int on);
// Reports the desktop with this many bits per pixel (0: the real desktop).
void TestFakeDesktopBits(int bits);
// Holds a key (an SDL scancode) down or lets it go, as the keyboard would: the key
// state changes at once and the window receives the key message.
void TestSetKey(int scancode, int down);
// Types text (UTF-8) into the window, as the keyboard's text input would.
void TestTypeText(const char* utf8);
// The window gains (1) or loses (0) the focus, as the window manager would report it.
// May be called from any thread.
void TestSetWindowFocus(int focused);
// The user asks to close the window. May be called from any thread.
void TestRequestWindowClose();
// A virtual game pad for the pad stand-ins: returns its pad number (0-based, in the
// order the pads are found), or -1. Attach pads before the input system starts.
int TestAttachVirtualPad(int axes, int buttons, int gameController);
// Axis values -32768..32767; buttons 0/1.
void TestSetVirtualPadAxis(int pad, int axis, int value);
void TestSetVirtualPadButton(int pad, int button, int down);
// The last rumble asked of the pad: low- and high-frequency motor, 0..65535.
void TestGetVirtualPadRumble(int pad, int* low, int* high);
// Makes creating the DirectInput objects fail (version 7, version 8).
void TestFailDirectInput(int version7, int version8);
// Makes the keyboard's change notification fail.
void TestFailKeyboardNotification(int fail);
