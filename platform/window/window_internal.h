// Shared inside the window stand-in: the table of live windows and the per-thread
// message queues. Not for the library.
#pragma once

#include <mutex>
#include <thread>
#include <vector>

#include "window/window.h"

namespace window_internal {

// Guards the window table and every message queue.
std::mutex& Mutex();

// The window table; callers hold Mutex().
bool IsLive(HWND window);
void AddWindow(HWND window);
void RemoveWindow(HWND window);
HWND FindBySdlWindowId(unsigned int sdlWindowId);
std::vector<HWND> WindowsOwnedBy(std::thread::id thread);
std::vector<HWND> AllWindows();

// Appends a message to the queue of a thread; callers hold Mutex().
void Enqueue(std::thread::id thread, const MSG& message);
// Drops every queued message of a window that is going away; callers hold Mutex().
void DropMessagesOf(HWND window);

// Takes the next SDL event, if any, and posts the window messages it stands for.
// Only on the thread that owns the windows; returns false when SDL had no event.
bool TranslateNextSdlEvent();

// The lock files that mark a window of a class in this process (see FindWindowA): taken
// for the window about to be made, kept when already held; false when another process
// holds them.
bool TakeInstanceLock(const char* className);
// Gives them up and removes their files (the class is gone).
void ReleaseInstanceLock(const char* className);

}  // namespace window_internal
