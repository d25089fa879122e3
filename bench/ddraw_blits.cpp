// The DirectDraw stand-in's per-frame work at 1024 x 768: fills, copies, stretches, keyed
// sprite copies and the window-mode present (back surface onto the primary, shown in an
// SDL window; SDL's dummy video unless SDL_VIDEODRIVER says otherwise).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "ddraw/ddraw.h"
#include "window/hwnd.h"

namespace {

class Screen {
 public:
  Screen() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    SDL_Init(SDL_INIT_VIDEO);
    window_.sdlWindow = SDL_CreateWindow("bench", 0, 0, 1024, 768, 0);
    CoInitialize(nullptr);
    CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&dd_));
    dd_->Initialize(nullptr);
    dd_->SetCooperativeLevel(&window_, DDSCL_NORMAL);
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps = {DDSCAPS_PRIMARYSURFACE, 0};
    dd_->CreateSurface(&description, &primary_, nullptr);
    back_ = Make(1024, 768);
    sprite_ = Make(64, 64);
    DDCOLORKEY key{0, 0};
    sprite_->SetColorKey(DDCKEY_SRCBLT, &key);
  }
  ~Screen() {
    for (IDirectDrawSurface7* surface : {sprite_, back_, primary_}) surface->Release();
    dd_->Release();
    SDL_DestroyWindow(window_.sdlWindow);
    SDL_Quit();
  }

  IDirectDrawSurface7* Make(DWORD width, DWORD height) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    description.dwWidth = width;
    description.dwHeight = height;
    description.ddsCaps = {DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 0};
    IDirectDrawSurface7* surface = nullptr;
    dd_->CreateSurface(&description, &surface, nullptr);
    return surface;
  }

  HWND__ window_{};
  IDirectDraw7* dd_ = nullptr;
  IDirectDrawSurface7* primary_ = nullptr;
  IDirectDrawSurface7* back_ = nullptr;
  IDirectDrawSurface7* sprite_ = nullptr;
};

Screen& TheScreen() {
  static Screen screen;
  return screen;
}

void SetPixels(benchmark::State& state, int perIteration) {
  state.SetItemsProcessed(state.iterations() * perIteration);
}

void FillBackSurface(benchmark::State& state) {
  Screen& screen = TheScreen();
  DDBLTFX fx{};
  fx.dwSize = sizeof(fx);
  for (auto _ : state) {
    fx.dwFillColor += 1;
    screen.back_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
  }
  SetPixels(state, 1024 * 768);
}
BENCHMARK(FillBackSurface);

void StretchSpriteToScreen(benchmark::State& state) {
  Screen& screen = TheScreen();
  for (auto _ : state) screen.back_->Blt(nullptr, screen.sprite_, nullptr, DDBLT_WAIT, nullptr);
  SetPixels(state, 1024 * 768);
}
BENCHMARK(StretchSpriteToScreen);

void KeyedSprites(benchmark::State& state) {
  Screen& screen = TheScreen();
  for (auto _ : state) {
    for (DWORD i = 0; i < 100; ++i) {
      screen.back_->BltFast(i * 9, i * 7, screen.sprite_, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
    }
  }
  SetPixels(state, 100 * 64 * 64);
}
BENCHMARK(KeyedSprites);

// One window-mode present: the back surface onto the client area, uploaded and shown.
void PresentBackSurface(benchmark::State& state) {
  Screen& screen = TheScreen();
  RECT client{0, 0, 1024, 768};
  for (auto _ : state) screen.primary_->Blt(&client, screen.back_, nullptr, DDBLT_WAIT, nullptr);
  SetPixels(state, 1024 * 768);
}
BENCHMARK(PresentBackSurface);

}  // namespace

BENCHMARK_MAIN();
