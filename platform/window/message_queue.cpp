// One message queue per thread. Messages for a window go to the queue of the thread
// that created it; PostMessageA(NULL, ...) and PostQuitMessage go to the caller's own
// queue. A thread that owns windows turns SDL events into messages as it asks for them.
// Retrieval order: posted messages first, then WM_QUIT, then WM_PAINT for a window
// that needs painting.
#include <SDL2/SDL.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>

#include "window/window_internal.h"

using window_internal::Mutex;

namespace {

struct ThreadQueue {
  std::deque<MSG> posted;
  bool quitPosted = false;
  int quitCode = 0;
};

std::map<std::thread::id, ThreadQueue>& Queues() {
  static std::map<std::thread::id, ThreadQueue> queues;
  return queues;
}

std::condition_variable& QueueChanged() {
  static std::condition_variable changed;
  return changed;
}

const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));

bool MatchesFilter(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
  if (window == kThreadMessagesOnly) {
    if (message.hwnd != nullptr) return false;
  } else if (window != nullptr && message.hwnd != window) {
    return false;
  }
  if (filterMin == 0 && filterMax == 0) return true;
  return message.message >= filterMin && message.message <= filterMax;
}

// Looks for a message in the caller's queue; callers hold Mutex().
bool FindMessage(ThreadQueue& queue, MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove) {
  for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
    if (!MatchesFilter(*it, window, filterMin, filterMax)) continue;
    *out = *it;
    if (remove) queue.posted.erase(it);
    return true;
  }
  // WM_QUIT is a thread message that every filter accepts.
  if (queue.quitPosted) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0};
    if (remove) queue.quitPosted = false;
    return true;
  }
  if (window == kThreadMessagesOnly) return false;
  // WM_PAINT is not queued: it stands for a window that needs painting until the
  // window procedure validates it (BeginPaint or DefWindowProcA).
  for (HWND owned : window_internal::WindowsOwnedBy(std::this_thread::get_id())) {
    if (!owned->needsPaint) continue;
    MSG paint{owned, WM_PAINT, 0, 0};
    if (!MatchesFilter(paint, window, filterMin, filterMax)) continue;
    *out = paint;
    return true;
  }
  return false;
}

bool OwnsWindows() {
  std::lock_guard<std::mutex> lock(Mutex());
  return !window_internal::WindowsOwnedBy(std::this_thread::get_id()).empty();
}

}  // namespace

namespace window_internal {

void Enqueue(std::thread::id thread, const MSG& message) {
  Queues()[thread].posted.push_back(message);
  QueueChanged().notify_all();
}

void DropMessagesOf(HWND window) {
  for (auto& entry : Queues()) {
    auto& posted = entry.second.posted;
    for (auto it = posted.begin(); it != posted.end();) {
      it = it->hwnd == window ? posted.erase(it) : it + 1;
    }
  }
}

}  // namespace window_internal

BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (message == nullptr) return FALSE;
  const bool remove = (removeFlags & PM_REMOVE) != 0;
  const bool ownsWindows = OwnsWindows();
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(Mutex());
      ThreadQueue& queue = Queues()[std::this_thread::get_id()];
      if (FindMessage(queue, message, window, filterMin, filterMax, remove)) return TRUE;
    }
    // SDL is asked only on the thread that owns the windows, and only while the
    // queue holds nothing the caller wants.
    if (!ownsWindows || !window_internal::TranslateNextSdlEvent()) return FALSE;
  }
}

BOOL GetMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax) {
  const bool ownsWindows = OwnsWindows();
  while (!PeekMessageA(message, window, filterMin, filterMax, PM_REMOVE)) {
    if (ownsWindows) {
      SDL_WaitEventTimeout(nullptr, 10);
    } else {
      std::unique_lock<std::mutex> lock(Mutex());
      QueueChanged().wait_for(lock, std::chrono::milliseconds(10));
    }
  }
  return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::mutex> lock(Mutex());
  if (window == nullptr) {
    window_internal::Enqueue(std::this_thread::get_id(), MSG{nullptr, message, wParam, lParam});
    return TRUE;
  }
  if (!window_internal::IsLive(window)) return FALSE;
  window_internal::Enqueue(window->ownerThread, MSG{window, message, wParam, lParam});
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  std::lock_guard<std::mutex> lock(Mutex());
  ThreadQueue& queue = Queues()[std::this_thread::get_id()];
  queue.quitPosted = true;
  queue.quitCode = exitCode;
  QueueChanged().notify_all();
}

BOOL TranslateMessage(const MSG* message) {
  if (message == nullptr || message->message != WM_KEYDOWN) return FALSE;
  // Printable characters arrive as SDL text events; the keys below type control
  // characters, which SDL does not report as text.
  int character = 0;
  switch (message->wParam) {
    case VK_BACK: character = 0x08; break;
    case VK_TAB: character = 0x09; break;
    case VK_RETURN: character = 0x0D; break;
    case VK_ESCAPE: character = 0x1B; break;
    default: return TRUE;
  }
  PostMessageA(message->hwnd, WM_CHAR, static_cast<WPARAM>(character), message->lParam);
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* message) {
  if (message == nullptr || message->hwnd == nullptr) return 0;
  WNDPROC procedure = nullptr;
  {
    std::lock_guard<std::mutex> lock(Mutex());
    if (!window_internal::IsLive(message->hwnd)) return 0;
    procedure = message->hwnd->windowProc;
  }
  return procedure(message->hwnd, message->message, message->wParam, message->lParam);
}
