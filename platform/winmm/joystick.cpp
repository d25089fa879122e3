#include "winmm/joystick.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <map>

namespace {

// Joysticks opened by id, kept open while they stay attached (ids are SDL device indexes).
std::map<UINT, SDL_Joystick*>& OpenJoysticks() {
  static std::map<UINT, SDL_Joystick*> open;
  return open;
}

SDL_Joystick* JoystickById(UINT id) {
  static bool started = false;
  if (!started) {
    // Joysticks are read whatever window has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    started = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (!started) return nullptr;
    SDL_JoystickEventState(SDL_IGNORE);
  }
  auto found = OpenJoysticks().find(id);
  if (found != OpenJoysticks().end()) {
    if (SDL_JoystickGetAttached(found->second)) return found->second;
    // Unplugged: its index now belongs to whatever device comes next, if any.
    SDL_JoystickClose(found->second);
    OpenJoysticks().erase(found);
  }
  if (static_cast<int>(id) >= SDL_NumJoysticks()) return nullptr;
  SDL_Joystick* joystick = SDL_JoystickOpen(static_cast<int>(id));
  if (joystick != nullptr) OpenJoysticks()[id] = joystick;
  return joystick;
}

DWORD RawAxis(SDL_Joystick* joystick, int axis) {
  if (axis >= SDL_JoystickNumAxes(joystick)) return 32767;
  return static_cast<DWORD>(SDL_JoystickGetAxis(joystick, axis) + 32768);
}

}  // namespace

UINT joyGetDevCapsA(UINT_PTR joystickId, JOYCAPSA* caps, UINT capsSize) {
  if (caps == nullptr || capsSize < sizeof(JOYCAPSA) || joystickId > 15) return JOYERR_PARMS;
  SDL_Joystick* joystick = JoystickById(static_cast<UINT>(joystickId));
  if (joystick == nullptr) return JOYERR_UNPLUGGED;
  const int axes = SDL_JoystickNumAxes(joystick);
  caps->wCaps = (axes >= 3 ? JOYCAPS_HASZ : 0u) | (axes >= 4 ? JOYCAPS_HASR : 0u);
  return JOYERR_NOERROR;
}

UINT joyGetPosEx(UINT joystickId, JOYINFOEX* info) {
  if (info == nullptr || info->dwSize != sizeof(JOYINFOEX) || joystickId > 15) return JOYERR_PARMS;
  SDL_Joystick* joystick = JoystickById(joystickId);
  if (joystick == nullptr) return JOYERR_UNPLUGGED;
  SDL_JoystickUpdate();
  if (!SDL_JoystickGetAttached(joystick)) return JOYERR_UNPLUGGED;
  info->dwXpos = RawAxis(joystick, 0);
  info->dwYpos = RawAxis(joystick, 1);
  info->dwZpos = RawAxis(joystick, 2);
  info->dwRpos = RawAxis(joystick, 3);
  info->dwButtons = 0;
  const int buttons = std::min(32, SDL_JoystickNumButtons(joystick));
  for (int button = 0; button < buttons; ++button) {
    if (SDL_JoystickGetButton(joystick, button)) info->dwButtons |= 1u << button;
  }
  return JOYERR_NOERROR;
}
