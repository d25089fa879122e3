// DirectDraw stand-in demo: scrolling colour bars, a stretched gradient and a colour-keyed
// sprite drawn into a back surface and shown at 60 Hz in a 1024 x 768 window.
//
//   ddraw_demo                  window mode until Escape or 600 frames
//   ddraw_demo --fullscreen     full screen with a flipping chain
//   ddraw_demo --headless       SDL's dummy video, 60 frames, no waiting
//   options: --frames N, --bmp FILE (write what the window shows as a 24-bit BMP)
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ddraw/ddraw.h"
#include "window/hwnd.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Options {
  bool fullScreen = false;
  bool headless = false;
  int frames = 600;
  const char* bmp = nullptr;
};

struct Scene {
  IDirectDraw7* dd = nullptr;
  IDirectDrawSurface7* primary = nullptr;
  IDirectDrawSurface7* back = nullptr;
  IDirectDrawSurface7* gradient = nullptr;
  IDirectDrawSurface7* sprite = nullptr;
  IDirectDrawClipper* clipper = nullptr;
  DDPIXELFORMAT format{};
};

bool Check(HRESULT result, const char* what) {
  if (result == DD_OK) return true;
  std::fprintf(stderr, "ddraw_demo: %s failed (0x%08x)\n", what, static_cast<unsigned>(result));
  return false;
}

// Packs 8-bit channels into the surface format.
DWORD Pack(const DDPIXELFORMAT& format, int r, int g, int b) {
  auto channel = [](DWORD mask, int value) {
    if (mask == 0) return DWORD{0};
    int shift = 0, width = 0;
    while (!((mask >> shift) & 1u)) ++shift;
    while ((mask >> (shift + width)) & 1u) ++width;
    return (static_cast<DWORD>(value) >> (8 - width)) << shift;
  };
  return channel(format.dwRBitMask, r) | channel(format.dwGBitMask, g) | channel(format.dwBBitMask, b);
}

int Unpack(DWORD pixel, DWORD mask) {
  int shift = 0, width = 0;
  while (!((mask >> shift) & 1u)) ++shift;
  while ((mask >> (shift + width)) & 1u) ++width;
  DWORD value = (pixel & mask) >> shift;
  return static_cast<int>((value * 255 + ((1u << width) - 1) / 2) / ((1u << width) - 1));
}

IDirectDrawSurface7* MakeOffscreen(IDirectDraw7* dd, int width, int height) {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  description.dwWidth = static_cast<DWORD>(width);
  description.dwHeight = static_cast<DWORD>(height);
  description.ddsCaps = {DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, 0};
  IDirectDrawSurface7* surface = nullptr;
  return Check(dd->CreateSurface(&description, &surface, nullptr), "CreateSurface") ? surface : nullptr;
}

void FillRect(IDirectDrawSurface7* surface, RECT rect, DWORD colour) {
  DDBLTFX fx{};
  fx.dwSize = sizeof(fx);
  fx.dwFillColor = colour;
  surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

// A 256 x 1 grey ramp (stretched onto the screen) and a 64 x 64 disc on magenta (the key).
bool MakeArt(Scene& scene) {
  scene.gradient = MakeOffscreen(scene.dd, 256, 1);
  scene.sprite = MakeOffscreen(scene.dd, 64, 64);
  if (scene.gradient == nullptr || scene.sprite == nullptr) return false;
  for (int x = 0; x < 256; ++x) FillRect(scene.gradient, {x, 0, x + 1, 1}, Pack(scene.format, x, x, 255 - x));
  DWORD key = Pack(scene.format, 255, 0, 255);
  FillRect(scene.sprite, {0, 0, 64, 64}, key);
  for (int y = 0; y < 64; ++y) {
    int dy = y - 32;
    for (int x = 0; x < 64; ++x) {
      int dx = x - 32;
      if (dx * dx + dy * dy < 30 * 30) FillRect(scene.sprite, {x, y, x + 1, y + 1}, Pack(scene.format, 255, 160 + y, 40));
    }
  }
  DDCOLORKEY colourKey{key, key};
  return Check(scene.sprite->SetColorKey(DDCKEY_SRCBLT, &colourKey), "SetColorKey");
}

void DrawFrame(Scene& scene, int frame) {
  static const int kBars[8][3] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                                  {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {0, 0, 0}};
  constexpr int kBarWidth = kWidth / 8;
  int offset = (frame * 4) % kWidth;
  for (int i = 0; i < 16; ++i) {  // two screens of bars cover any offset
    int left = i * kBarWidth - offset;
    RECT bar{left < 0 ? 0 : left, 0, left + kBarWidth > kWidth ? kWidth : left + kBarWidth, 560};
    if (bar.left >= bar.right) continue;
    const int* rgb = kBars[i % 8];
    FillRect(scene.back, bar, Pack(scene.format, rgb[0], rgb[1], rgb[2]));
  }
  RECT strip{0, 560, kWidth, 680};
  scene.back->Blt(&strip, scene.gradient, nullptr, DDBLT_WAIT, nullptr);
  FillRect(scene.back, {0, 680, kWidth, kHeight}, Pack(scene.format, 24, 24, 40));
  // The frame number in binary: 16 lamps.
  for (int bit = 0; bit < 16; ++bit) {
    bool lit = (frame >> (15 - bit)) & 1;
    RECT lamp{32 + bit * 60, 700, 32 + bit * 60 + 44, 748};
    FillRect(scene.back, lamp, lit ? Pack(scene.format, 255, 220, 0) : Pack(scene.format, 70, 70, 90));
  }
  int x = (frame * 6) % (kWidth - 64);
  scene.back->BltFast(static_cast<DWORD>(x), 248, scene.sprite, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
}

// Window mode: the back surface goes to the window's client area on the primary.
void PresentWindowed(Scene& scene, SDL_Window* window) {
  int x = 0, y = 0;
  SDL_GetWindowPosition(window, &x, &y);
  RECT client{x, y, x + kWidth, y + kHeight};
  scene.dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
  scene.primary->Blt(&client, scene.back, nullptr, DDBLT_WAIT, nullptr);
}

void Write16(std::FILE* file, unsigned value) {
  unsigned char bytes[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
  std::fwrite(bytes, 1, 2, file);
}

void Write32(std::FILE* file, std::uint32_t value) {
  Write16(file, value & 0xFFFF);
  Write16(file, value >> 16);
}

// What the window shows, as a bottom-up 24-bit BMP.
bool WriteShownBmp(Scene& scene, RECT shown, const char* path) {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  if (!Check(scene.primary->Lock(&shown, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), "Lock")) return false;
  int width = shown.right - shown.left;
  int height = shown.bottom - shown.top;
  int rowBytes = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(rowBytes) * height, 0);
  const DDPIXELFORMAT& format = description.ddpfPixelFormat;
  int bytes = static_cast<int>(format.dwRGBBitCount / 8);
  for (int y = 0; y < height; ++y) {
    const auto* in = static_cast<const unsigned char*>(description.lpSurface) + static_cast<std::ptrdiff_t>(y) * description.lPitch;
    unsigned char* out = pixels.data() + static_cast<std::size_t>(height - 1 - y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      DWORD pixel = 0;
      std::memcpy(&pixel, in + x * bytes, static_cast<std::size_t>(bytes));
      out[x * 3 + 0] = static_cast<unsigned char>(Unpack(pixel, format.dwBBitMask));
      out[x * 3 + 1] = static_cast<unsigned char>(Unpack(pixel, format.dwGBitMask));
      out[x * 3 + 2] = static_cast<unsigned char>(Unpack(pixel, format.dwRBitMask));
    }
  }
  scene.primary->Unlock(&shown);

  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  std::fwrite("BM", 1, 2, file);
  Write32(file, static_cast<std::uint32_t>(54 + pixels.size()));
  Write32(file, 0);
  Write32(file, 54);
  Write32(file, 40);
  Write32(file, static_cast<std::uint32_t>(width));
  Write32(file, static_cast<std::uint32_t>(height));
  Write16(file, 1);
  Write16(file, 24);
  for (int i = 0; i < 6; ++i) Write32(file, 0);
  std::fwrite(pixels.data(), 1, pixels.size(), file);
  return std::fclose(file) == 0;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--fullscreen") == 0) {
      options->fullScreen = true;
    } else if (std::strcmp(argv[i], "--headless") == 0) {
      options->headless = true;
      options->frames = 60;
    } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      options->frames = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--bmp") == 0 && i + 1 < argc) {
      options->bmp = argv[++i];
    } else {
      std::fprintf(stderr, "usage: ddraw_demo [--fullscreen] [--headless] [--frames N] [--bmp FILE]\n");
      return false;
    }
  }
  if (options->headless && options->bmp == nullptr) options->bmp = "ddraw_demo.bmp";
  return true;
}

bool SetUpScreen(Scene& scene, HWND window, const Options& options) {
  if (options.fullScreen) {
    if (!Check(scene.dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), "SetCooperativeLevel") ||
        !Check(scene.dd->SetDisplayMode(kWidth, kHeight, 32, 0, 0), "SetDisplayMode")) {
      return false;
    }
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.dwBackBufferCount = 1;
    description.ddsCaps = {DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 0};
    if (!Check(scene.dd->CreateSurface(&description, &scene.primary, nullptr), "CreateSurface (chain)")) return false;
    DDSCAPS2 backCaps{DDSCAPS_BACKBUFFER, 0};
    if (!Check(scene.primary->GetAttachedSurface(&backCaps, &scene.back), "GetAttachedSurface")) return false;
  } else {
    if (!Check(scene.dd->SetCooperativeLevel(window, DDSCL_NORMAL), "SetCooperativeLevel")) return false;
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps = {DDSCAPS_PRIMARYSURFACE, 0};
    if (!Check(scene.dd->CreateSurface(&description, &scene.primary, nullptr), "CreateSurface (primary)")) return false;
    if (!Check(scene.dd->CreateClipper(0, &scene.clipper, nullptr), "CreateClipper") ||
        !Check(scene.clipper->SetHWnd(0, window), "SetHWnd") ||
        !Check(scene.primary->SetClipper(scene.clipper), "SetClipper")) {
      return false;
    }
    scene.back = MakeOffscreen(scene.dd, kWidth, kHeight);
    if (scene.back == nullptr) return false;
  }
  DDSURFACEDESC2 mode{};
  mode.dwSize = sizeof(mode);
  if (!Check(scene.dd->GetDisplayMode(&mode), "GetDisplayMode")) return false;
  scene.format = mode.ddpfPixelFormat;
  return true;
}

void ReleaseScene(Scene& scene) {
  for (IDirectDrawSurface7* surface : {scene.sprite, scene.gradient, scene.back, scene.primary}) {
    if (surface != nullptr) surface->Release();
  }
  if (scene.clipper != nullptr) scene.clipper->Release();
  if (scene.dd != nullptr) scene.dd->Release();
}

bool QuitRequested() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) return true;
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 2;
  if (options.headless) SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "ddraw_demo: %s\n", SDL_GetError());
    return 1;
  }
  HWND__ window{SDL_CreateWindow("DirectDraw stand-in demo", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 kWidth, kHeight, 0)};
  CoInitialize(nullptr);
  Scene scene;
  bool ok = window.sdlWindow != nullptr &&
            Check(CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&scene.dd)),
                  "CoCreateInstance") &&
            Check(scene.dd->Initialize(nullptr), "Initialize") && SetUpScreen(scene, &window, options) &&
            MakeArt(scene);
  for (int frame = 0; ok && frame < options.frames && !QuitRequested(); ++frame) {
    DrawFrame(scene, frame);
    if (options.fullScreen) {
      scene.primary->Flip(nullptr, DDFLIP_WAIT);
    } else {
      PresentWindowed(scene, window.sdlWindow);
    }
  }
  if (ok && options.bmp != nullptr) {
    int x = 0, y = 0;
    SDL_GetWindowPosition(window.sdlWindow, &x, &y);
    RECT shown = options.fullScreen ? RECT{0, 0, kWidth, kHeight} : RECT{x, y, x + kWidth, y + kHeight};
    ok = WriteShownBmp(scene, shown, options.bmp);
    if (ok) std::printf("ddraw_demo: wrote %s\n", options.bmp);
  }
  ReleaseScene(scene);
  CoUninitialize();
  if (window.sdlWindow != nullptr) SDL_DestroyWindow(window.sdlWindow);
  SDL_Quit();
  return ok ? 0 : 1;
}
