// SDL events turned into the window messages they stand for.
#include <SDL2/SDL.h>

#include <string>

#include "kernel/code_page.h"
#include "window/keyboard.h"
#include "window/window_internal.h"

using window_internal::Mutex;

namespace {

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  window_internal::Enqueue(window->ownerThread, MSG{window, message, wParam, lParam});
}

void TranslateWindowEvent(HWND window, const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      Post(window, WM_ACTIVATEAPP, TRUE, 0);
      Post(window, WM_ACTIVATE, WA_ACTIVE, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      Post(window, WM_ACTIVATEAPP, FALSE, 0);
      Post(window, WM_ACTIVATE, WA_INACTIVE, 0);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      Post(window, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      window->needsPaint = true;
      break;
    case SDL_WINDOWEVENT_MOVED:
      Post(window, WM_MOVE, 0, MAKELPARAM(event.data1, event.data2));
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED: {
      int width = 0;
      int height = 0;
      SDL_GetWindowSize(window->sdlWindow, &width, &height);
      const WPARAM kind = event.event == SDL_WINDOWEVENT_MAXIMIZED ? SIZE_MAXIMIZED : SIZE_RESTORED;
      Post(window, WM_SIZE, kind, MAKELPARAM(width, height));
      break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
      Post(window, WM_SIZE, SIZE_MINIMIZED, 0);
      break;
    default:
      break;
  }
}

void TranslateKey(HWND window, const SDL_KeyboardEvent& event) {
  const int virtualKey = VirtualKeyFromScancode(event.keysym.scancode);
  if (virtualKey == 0) return;
  if (event.type == SDL_KEYDOWN) {
    // Repeat count 1; bit 30 says the key was already down.
    Post(window, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), event.repeat ? (1 | (1 << 30)) : 1);
  } else {
    Post(window, WM_KEYUP, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(1 | (3u << 30)));
  }
}

// A window that takes ANSI text gets a double-byte character as two WM_CHAR messages.
void TranslateText(HWND window, const char* utf8) {
  for (unsigned char byte : Utf8ToCp932(utf8)) Post(window, WM_CHAR, byte, 1);
}

UINT ButtonMessage(Uint8 button, bool down) {
  switch (button) {
    case SDL_BUTTON_LEFT: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case SDL_BUTTON_RIGHT: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: return 0;
  }
}

Uint32 EventWindowId(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT: return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return event.key.windowID;
    case SDL_TEXTINPUT: return event.text.windowID;
    case SDL_TEXTEDITING: return event.edit.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event.button.windowID;
    case SDL_MOUSEWHEEL: return event.wheel.windowID;
    default: return 0;
  }
}

// Events without a window (keys typed before a window had focus, injected ones) go to
// the caller's first window.
HWND TargetWindow(const SDL_Event& event) {
  HWND window = window_internal::FindBySdlWindowId(EventWindowId(event));
  if (window != nullptr) return window;
  const auto owned = window_internal::WindowsOwnedBy(std::this_thread::get_id());
  return owned.empty() ? nullptr : owned.front();
}

}  // namespace

namespace window_internal {

bool TranslateNextSdlEvent() {
  SDL_Event event;
  if (SDL_PollEvent(&event) == 0) return false;
  std::lock_guard<std::mutex> lock(Mutex());
  if (event.type == SDL_QUIT) {
    // The process was asked to end (last window closed, or a signal): close its windows.
    for (HWND window : WindowsOwnedBy(std::this_thread::get_id())) Post(window, WM_CLOSE, 0, 0);
    return true;
  }
  HWND window = TargetWindow(event);
  if (window == nullptr) return true;
  switch (event.type) {
    case SDL_WINDOWEVENT:
      TranslateWindowEvent(window, event.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      TranslateKey(window, event.key);
      break;
    case SDL_TEXTINPUT:
      TranslateText(window, event.text.text);
      break;
    case SDL_TEXTEDITING:
      if (window->imeEnabled) Post(window, WM_IME_COMPOSITION, 0, 0);
      break;
    case SDL_MOUSEMOTION:
      Post(window, WM_MOUSEMOVE, 0, MAKELPARAM(event.motion.x, event.motion.y));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const UINT message = ButtonMessage(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
      if (message != 0) Post(window, message, 0, MAKELPARAM(event.button.x, event.button.y));
      break;
    }
    case SDL_MOUSEWHEEL: {
      const int delta = event.wheel.y * WHEEL_DELTA;
      Post(window, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(delta)) << 16, 0);
      break;
    }
    default:
      break;
  }
  return true;
}

}  // namespace window_internal
