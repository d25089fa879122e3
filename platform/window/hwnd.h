// A window handle of the window stand-in: the SDL window behind it and the stand-in's
// own state. Code that only presents into a window (DirectDraw, Direct3D) needs no more
// than `sdlWindow`.
#pragma once

struct SDL_Window;

struct HWND__ {
  SDL_Window* sdlWindow;
};
typedef HWND__* HWND;
