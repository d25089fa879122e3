// The keyboard as the window system sees it: keys by SDL scancode (what the device
// reports, plus keys that tests inject) and the Win32 keyboard state by virtual key.
#pragma once

#include "kernel/win_types.h"

// 256 bytes by virtual key, bit 7 set while the key is down. Read on the game thread.
BOOL GetKeyboardState(BYTE* keyState);

// For the input stand-ins: whether the key at an SDL scancode is down.
bool IsScancodeDown(int scancode);
// The virtual key of an SDL scancode (positions of a US keyboard, plus the Japanese
// keys), or 0 for none.
int VirtualKeyFromScancode(int scancode);
// Holds a key down (or lets it go) as if pressed on the keyboard; tests only.
void SetInjectedKey(int scancode, bool down);
