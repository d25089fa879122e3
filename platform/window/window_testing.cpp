// Test controls of the window stand-in.
#include <SDL2/SDL.h>

#include <cstring>

#include "testing.h"
#include "window/keyboard.h"
#include "window/window_internal.h"

namespace {

void PushWindowEvent(Uint8 event) {
  std::lock_guard<std::mutex> lock(window_internal::Mutex());
  for (HWND window : window_internal::AllWindows()) {
    SDL_Event sdlEvent{};
    sdlEvent.type = SDL_WINDOWEVENT;
    sdlEvent.window.windowID = SDL_GetWindowID(window->sdlWindow);
    sdlEvent.window.event = event;
    SDL_PushEvent(&sdlEvent);
  }
}

}  // namespace

void TestSetKey(int scancode, int down) {
  SetInjectedKey(scancode, down != 0);
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
  event.key.keysym.sym = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
  SDL_PushEvent(&event);
}

void TestTypeText(const char* utf8) {
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0 || utf8 == nullptr) return;
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  std::strncpy(event.text.text, utf8, sizeof(event.text.text) - 1);
  SDL_PushEvent(&event);
}

void TestSetWindowFocus(int focused) {
  PushWindowEvent(focused ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

void TestRequestWindowClose() { PushWindowEvent(SDL_WINDOWEVENT_CLOSE); }
