// The library's one window, its message pump and the pump thread, and what the rest of
// the library reads of them. The accessors take no lock: their callers hold it.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"
#include "window/hwnd.h"

// Start-up and shut-down of the window (from InitLibraryBody and EndLibraryBody).
int InitWindowSystem();
// The double-start check: another process has a window of the library's class on this
// display, or has claimed this working folder (which this process claims when it is free).
bool AnotherInstanceIsRunning();
// Ends the process as a refused start when another copy runs: one line on standard
// error, exit status 255, nothing opened or written.
void EndIfAnotherInstanceRuns();
int DestroyMainWindow();

// One pump: 0 go on, -1 the quit flag is set. On the game thread it keeps the thread
// here while the window is inactive and run-while-inactive is off.
int ProcessMessageBody();
// Parks the game thread while the window is inactive (drawing and input call it).
void WaitWhileInactive();

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

int SetWindowModeFlag(int windowed);
int ApplyWindowStyle();
int FitWindowToScreenMode();
int WindowMoved(LPARAM lParam);
void BringWindowToFront(HWND window, int topmost);

// Accessors.
HWND GetMainWindow();
int IsWindowed();
int GetDesktopMode(int* width, int* height, int* bits);
int IsAppActive();
int IsWindowClosing();  // the library has posted WM_CLOSE
int IsQuitRequested();  // WM_QUIT or WM_DESTROY was seen, or the start failed
DWORD GetLibraryMainThreadId();
double GetWindowScale();
int GetClientAreaSize(int rect[4]);
int GetMousePosition(int* x, int* y);
int SetCursorVisible(int show);
// The ending flag: 0 running, 1 the library is ending, 4 the window was closed while
// the library was not ending.
int GetEndingFlag();
void SetEndingFlag(int value);
// Microseconds since an arbitrary start: the CPU's time-stamp counter when allowed and
// measured, else the performance counter, else the millisecond timer.
std::int64_t GetMicroseconds(int allowCpuCounter);
