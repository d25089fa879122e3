// A window handle of the window stand-in: the SDL window behind it and the stand-in's
// own state. Code that only presents into a window (DirectDraw, Direct3D) needs no more
// than `sdlWindow`.
#pragma once

#include <string>
#include <thread>

#include "kernel/win_types.h"

struct SDL_Window;

typedef LRESULT (*WNDPROC)(struct HWND__* window, UINT message, WPARAM wParam, LPARAM lParam);

struct HWND__ {
  SDL_Window* sdlWindow = nullptr;
  WNDPROC windowProc = nullptr;
  std::string className{};
  DWORD style = 0;
  DWORD exStyle = 0;
  // Messages for the window go to the queue of the thread that created it.
  std::thread::id ownerThread{};
  DWORD ownerThreadId = 0;
  bool needsPaint = false;
  bool imeEnabled = true;
};
typedef HWND__* HWND;
