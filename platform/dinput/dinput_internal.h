// Shared inside the DirectInput stand-in.
#pragma once

#include "dinput/dinput.h"

// COM class factories.
HRESULT CreateDirectInput7Object(REFIID interfaceId, LPVOID* object);
HRESULT CreateDirectInput8Object(REFIID interfaceId, LPVOID* object);

// Devices. The pad's instance GUID carries its SDL instance id.
IDirectInputDevice7A* CreateKeyboardDevice();
IDirectInputDevice7A* CreateMouseDevice();
IDirectInputDevice7A* CreatePadDevice(REFGUID instanceGuid);
GUID PadInstanceGuid(int sdlInstanceId);

// The DirectInput key number of an SDL scancode, or 0 for none.
int DikFromScancode(int scancode);

// Failure switches of the test controls.
bool IsDirectInputFailing(int version);
bool IsKeyboardNotificationFailing();
