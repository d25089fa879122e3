// The message pump: run by the game once per frame through ProcessMessage, and every
// 17 ms by the pump thread, which finds no window messages (the window belongs to the
// game thread) and serves only the upkeep.
#include "core/input_devices.h"
#include "core/main_window.h"
#include "core/sound_system.h"
#include "core/window_state.h"
#include "graphics/graph_system.h"
#include "graphics/screen_mode.h"
#include "kernel/threads.h"
#include "window/window.h"
#include "winmm/time.h"

namespace {

constexpr int kMessagesPerPass = 5;
const HWND kThreadMessages = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));

// A pending screen-saver request first, then a message posted to the thread, then one
// for the main window.
bool TakeNextMessage(HWND window, MSG* message) {
  if (PeekMessageA(message, window, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE) &&
      (message->wParam & 0xFFF0) == SC_SCREENSAVE) {
    return PeekMessageA(message, window, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE) != FALSE;
  }
  if (PeekMessageA(message, kThreadMessages, 0, 0, PM_REMOVE)) return true;
  return PeekMessageA(message, window, 0, 0, PM_REMOVE) != FALSE;
}

bool IsParkedWhenInactive(const WindowStateBlock& state) { return !state.active && !state.runWhileInactive; }

bool IsCloseUnderWay(const WindowStateBlock& state) {
  return state.closePosted || state.ending != 0 || state.quit.load() != 0;
}

// In full screen the flip-to-GDI mode and the cursor request are applied again.
void AutoShowFullScreenMenu(const WindowStateBlock& state) {
  if (state.windowed) return;
  SetFlipToGdiMode(GetFlipToGdiMode());
  SetCursorVisible(state.cursorRequested);
}

}  // namespace

int ProcessMessageBody() {
  WindowStateBlock& state = GetWindowStateBlock();
  if (state.mainWindow == nullptr) return state.quit.load() ? -1 : 0;
  const bool onMainThread = GetCurrentThreadId() == state.mainThreadId;
  bool inactiveWaitBegun = false;
  for (;;) {
    if (IsParkedWhenInactive(state)) {
      if (!inactiveWaitBegun) {
        state.inactiveSince = timeGetTime();
        state.inactiveSeen = 1;
        inactiveWaitBegun = true;
      }
      Sleep(1);
    }
    int taken = 0;
    bool leave = false;
    MSG message;
    while (taken < kMessagesPerPass && TakeNextMessage(state.mainWindow, &message)) {
      ++taken;
      if (message.message == WM_ACTIVATEAPP) state.active = LOWORD(message.wParam) != 0 ? 1 : 0;
      if (state.quit.load()) {
        leave = true;
        break;
      }
      if (message.message == WM_QUIT) state.quit = 1;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (leave) break;
    if (!state.active) {
      RefillAllStreamSounds();
      Sleep(1);
    }
    if (state.quit.load() || !onMainThread) break;
    // The game thread stays here while the window is inactive, unless it may run
    // inactive or the window is closing.
    if (taken == 0 && !(IsParkedWhenInactive(state) && !IsCloseUnderWay(state))) break;
  }
  if (onMainThread) AutoShowFullScreenMenu(state);
  RefillAllStreamSounds();
  PollMusicPlaying();
  UpdatePadRumbleTimers();
  return state.quit.load() ? -1 : 0;
}

void WaitWhileInactive() {
  WindowStateBlock& state = GetWindowStateBlock();
  // There is nothing to wait for without a window.
  if (state.mainWindow == nullptr || state.inPaint || state.active) return;
  const bool fullScreenWithoutGdi = !state.windowed && !GetFlipToGdiMode();
  if (state.runWhileInactive && !fullScreenWithoutGdi) return;
  state.inactiveSince = timeGetTime();
  state.inactiveSeen = 1;
  while (ProcessMessageBody() == 0 && !state.active) {
  }
  RestoreAllGraphs();
}
