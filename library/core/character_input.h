// The character ring that the window's key and character messages feed, and the
// text-input state that start-up resets and shut-down frees. Nothing in this system
// reads the ring or opens a text entry, and the input method stays off.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"
#include "window/hwnd.h"

constexpr int kInputCharRingSlots = 1025;

// 0, or -1 when the ring is full (the byte is dropped).
int PushInputChar(unsigned char c);
bool IsInputCharRingFull();
// The ring's oldest byte, or -1 when it is empty. Tests read the ring through this.
int TakeInputChar();
// The control character a key types into the ring (Delete and the cursor keys), or 0.
int ControlCharacterOfKey(int virtualKey);

// 1, or 2 for the Korean code page: which lead-byte test text entry uses.
void SetCharacterSetMode(int mode);
int GetCharacterSetMode();

int InitKeyInputSystem();
int FreeAllKeyInputs();

bool IsImeMessage(UINT message);
// With the input method off, every one of its messages is answered with 0.
LRESULT HandleImeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
