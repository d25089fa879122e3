// Test controls of the input stand-ins: failure switches and virtual pads.
#include <SDL2/SDL.h>

#include <atomic>
#include <vector>

#include "dinput/dinput_internal.h"
#include "testing.h"

namespace {

std::atomic<bool> g_failVersion7{false};
std::atomic<bool> g_failVersion8{false};
std::atomic<bool> g_failKeyboardNotification{false};

struct VirtualPad {
  SDL_Joystick* joystick = nullptr;
  int low = 0;
  int high = 0;
};

// Pads live until a test detaches them.
std::vector<VirtualPad*>& Pads() {
  static std::vector<VirtualPad*> pads;
  return pads;
}

int SDLCALL RecordRumble(void* userdata, Uint16 low, Uint16 high) {
  auto* pad = static_cast<VirtualPad*>(userdata);
  pad->low = low;
  pad->high = high;
  return 0;
}

VirtualPad* FindPad(int pad) {
  return pad >= 0 && pad < static_cast<int>(Pads().size()) ? Pads()[pad] : nullptr;
}

}  // namespace

bool IsDirectInputFailing(int version) { return version == 7 ? g_failVersion7.load() : g_failVersion8.load(); }
bool IsKeyboardNotificationFailing() { return g_failKeyboardNotification.load(); }

void TestFailDirectInput(int version7, int version8) {
  g_failVersion7.store(version7 != 0);
  g_failVersion8.store(version8 != 0);
}

void TestFailKeyboardNotification(int fail) { g_failKeyboardNotification.store(fail != 0); }

int TestAttachVirtualPad(int axes, int buttons, int gameController) {
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return -1;
  auto* pad = new VirtualPad;
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = gameController ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
  desc.naxes = static_cast<Uint16>(axes);
  desc.nbuttons = static_cast<Uint16>(buttons);
  desc.name = gameController ? "Virtual controller" : "Virtual pad";
  desc.userdata = pad;
  desc.Rumble = RecordRumble;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  pad->joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
  if (pad->joystick == nullptr) {
    delete pad;
    return -1;
  }
  Pads().push_back(pad);
  return static_cast<int>(Pads().size()) - 1;
}

void TestDetachVirtualPads() {
  for (VirtualPad* pad : Pads()) {
    SDL_JoystickClose(pad->joystick);
    delete pad;
  }
  Pads().clear();
  for (int index = SDL_NumJoysticks() - 1; index >= 0; --index) {
    if (SDL_JoystickIsVirtual(index)) SDL_JoystickDetachVirtual(index);
  }
}

void TestSetVirtualPadAxis(int pad, int axis, int value) {
  if (VirtualPad* found = FindPad(pad)) SDL_JoystickSetVirtualAxis(found->joystick, axis, static_cast<Sint16>(value));
}

void TestSetVirtualPadButton(int pad, int button, int down) {
  if (VirtualPad* found = FindPad(pad)) SDL_JoystickSetVirtualButton(found->joystick, button, down ? 1 : 0);
}

void TestGetVirtualPadRumble(int pad, int* low, int* high) {
  const VirtualPad* found = FindPad(pad);
  if (low != nullptr) *low = found != nullptr ? found->low : 0;
  if (high != nullptr) *high = found != nullptr ? found->high : 0;
}
