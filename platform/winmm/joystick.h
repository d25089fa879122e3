// The WinMM joystick functions on SDL's joystick list: raw axes 0..65535 (X, Y, Z and
// R from the pad's first four axes) and up to 32 buttons.
#pragma once

#include "kernel/win_types.h"

#define JOYERR_NOERROR 0u
#define JOYERR_PARMS 165u
#define JOYERR_UNPLUGGED 167u
#define MMSYSERR_NODRIVER 6u

#define JOYCAPS_HASZ 0x0001u
#define JOYCAPS_HASR 0x0002u

#define JOY_RETURNX 0x01u
#define JOY_RETURNY 0x02u
#define JOY_RETURNZ 0x04u
#define JOY_RETURNR 0x08u
#define JOY_RETURNBUTTONS 0x80u
#define JOY_RETURNALL 0xFFu

struct JOYCAPSA {
  UINT wCaps;
};

struct JOYINFOEX {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwXpos;
  DWORD dwYpos;
  DWORD dwZpos;
  DWORD dwRpos;
  DWORD dwButtons;
};

UINT joyGetDevCapsA(UINT_PTR joystickId, JOYCAPSA* caps, UINT capsSize);
UINT joyGetPosEx(UINT joystickId, JOYINFOEX* info);
