// The DirectDraw side of the screen below the screen surfaces: the DirectDraw object
// with the video-card facts, the window clipper, the cooperative level and display
// mode with its undo, the 8-bit palette, the restore of lost screen surfaces, and
// the graphics start-up and end.
#include <cstring>
#include <initializer_list>

#include "core/log.h"
#include "core/main_window.h"
#include "gdi/gdi.h"
#include "graphics/blend_tables.h"
#include "graphics/graph_system.h"
#include "graphics/graphics_fatal.h"
#include "graphics/device_services.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"

namespace {

struct DirectDrawGlobals {
  IDirectDraw7* object = nullptr;
  IDirectDrawClipper* clipper = nullptr;
  IDirectDrawPalette* palette = nullptr;
  PALETTEENTRY paletteEntries[256] = {};
  int overlayIndex = -1;
  char driverName[512] = {};
  char driverDescription[512] = {};
  DWORD freeVideoMemory = 0;
  DWORD totalVideoMemory = 0;
};
DirectDrawGlobals g_dd;

constexpr DWORD kDefaultVideoMemoryTotal = 16777216;

struct OverlayFormat {
  const char* name;
  DDPIXELFORMAT format;
};

constexpr DWORD FourCC(char a, char b, char c, char d) {
  return static_cast<DWORD>(a) | (static_cast<DWORD>(b) << 8) | (static_cast<DWORD>(c) << 16) |
         (static_cast<DWORD>(d) << 24);
}

const OverlayFormat kOverlayFormats[4] = {
    {" UYVY", {sizeof(DDPIXELFORMAT), DDPF_FOURCC, FourCC('U', 'Y', 'V', 'Y'), {0}, 0, {0}, 0, 0}},
    {" YUY2", {sizeof(DDPIXELFORMAT), DDPF_FOURCC, FourCC('Y', 'U', 'Y', '2'), {0}, 0, {0}, 0, 0}},
    {" 16-bit RGB 5:5:5 ", {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {16}, 0x7C00, {0x3E0}, 0x1F, 0}},
    {" 16-bit RGB 5:6:5 ", {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {16}, 0xF800, {0x7E0}, 0x1F, 0}},
};

// The built-in palette: a dark-to-light ramp through the fixed entries.
void FillDefaultPalette(PALETTEENTRY entries[256]) {
  for (int i = 0; i < 256; ++i) {
    const BYTE level = static_cast<BYTE>(i * 255 / 255);
    entries[i] = PALETTEENTRY{level, level, level, 0};
  }
  entries[1] = PALETTEENTRY{14, 0, 0, 0};
  entries[2] = PALETTEENTRY{0, 7, 28, 0};
  entries[160] = PALETTEENTRY{128, 128, 128, 0};
  entries[254] = PALETTEENTRY{253, 254, 239, 0};
}

void ProbeOverlay() {
  IDirectDraw* first = nullptr;
  if (g_dd.object->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)) != S_OK) return;
  DDCAPS caps{};
  caps.dwSize = sizeof(caps);
  first->GetCaps(&caps, nullptr);
  g_dd.overlayIndex = -1;
  if (!(caps.dwMinOverlayStretch >= 1000 && caps.dwMaxOverlayStretch >= 2000)) {
    for (int i = 0; i < 4 && g_dd.overlayIndex < 0; ++i) {
      DDSURFACEDESC description{};
      description.dwSize = sizeof(description);
      description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
      description.dwWidth = 16;
      description.dwHeight = 16;
      description.ddsCaps.dwCaps = DDSCAPS_OVERLAY | DDSCAPS_VIDEOMEMORY;
      description.ddpfPixelFormat = kOverlayFormats[i].format;
      IDirectDrawSurface* surface = nullptr;
      if (first->CreateSurface(&description, &surface, nullptr) != DD_OK) continue;
      DDSCAPS surfaceCaps{};
      surface->GetCaps(&surfaceCaps);
      if (!(surfaceCaps.dwCaps & DDSCAPS_SYSTEMMEMORY)) {
        g_dd.overlayIndex = i;
        LogPrintf("オーバーレイサーフェスを使用します　　　%s", kOverlayFormats[i].name);
      }
      surface->Release();
    }
  }
  if (g_dd.overlayIndex < 0) LogWrite("オーバーレイサーフェスは使用しません\n");
  first->Release();
}

}  // namespace

IDirectDraw7* GetDirectDrawObject() { return g_dd.object; }
IDirectDrawClipper* GetWindowClipper() { return g_dd.clipper; }
IDirectDrawPalette* GetScreenPalette() { return g_dd.palette; }
DWORD GetVideoMemoryTotalBytes() { return g_dd.totalVideoMemory; }

int CreateDirectDrawWithInfo(IDirectDraw7** out) {
  LogWrite("DirectDraw オブジェクトの取得を行います....  ");
  IDirectDraw7* dd = nullptr;
  if (CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&dd)) != S_OK) {
    return LogWrite("オブジェクトの取得に失敗しました\n");
  }
  LogWrite("成功\n");
  LogWrite("引き続き初期化処理... ");
  if (dd->Initialize(nullptr) != DD_OK) {
    dd->Release();
    return LogWrite("DirectDrawオブジェクトの初期化に失敗しました\n");
  }
  LogWrite("初期化に成功しました\n");
  LogWrite("ビデオカードの情報\n");
  IncreaseLogIndent();
  // The card details are logged only while Shift is held at start-up, which a
  // headless start never does.
  g_dd.driverName[0] = '\0';
  g_dd.driverDescription[0] = '\0';
  g_dd.freeVideoMemory = 0;
  g_dd.totalVideoMemory = kDefaultVideoMemoryTotal;
  DecreaseLogIndent();
  g_dd.object = dd;
  *out = dd;
  return 0;
}

int CreateClipperForWindow(IDirectDrawClipper** out, HWND window) {
  if (g_dd.object->CreateClipper(0, out, nullptr) != DD_OK || (*out)->SetHWnd(0, window) != DD_OK) {
    if (*out != nullptr) (*out)->Release();
    *out = nullptr;
    return LogWrite("ＤｉｒｅｃｔＤｒａｗＣｌｉｐｐｅｒオブジェクトの作成に失敗しました\n");
  }
  return 0;
}

int CreateWindowClipper() {
  if (g_dd.object == nullptr) return 0;
  ReleaseWindowClipper();
  if (CreateClipperForWindow(&g_dd.clipper, GetMainWindow()) != 0) {
    return GraphicsFatalError("クリッパーオブジェクトの作成失敗しました");
  }
  return 0;
}

int ReleaseWindowClipper() {
  if (g_dd.clipper != nullptr) g_dd.clipper->Release();
  g_dd.clipper = nullptr;
  return 0;
}

int ChangeDisplayMode(IDirectDraw7* dd, int desktopWidth, int desktopHeight, int width, int height, int bits,
                      int* outBits, DWORD* outCooperativeFlags, int windowMode, int* displayModeChanged,
                      HWND window) {
  LogPrintf("画面モードの変更処理を開始します %u x %u  %u bit ", width, height, bits);
  IncreaseLogIndent();
  if (windowMode) {
    LogWrite("ウインドウモードにします\n");
    if (desktopWidth < width || desktopHeight < height) {
      DecreaseLogIndent();
      return GraphicsFatalError("デスクトップ画面のサイズが足りません、ソフトを終了します");
    }
    if (*displayModeChanged == 1) {
      LogWrite("フルスクリーンモードから抜けます\n");
      dd->RestoreDisplayMode();
      *displayModeChanged = 0;
    }
    HDC screen = GetDC(nullptr);
    const int desktopBits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    if (desktopBits == 24) {
      DecreaseLogIndent();
      return -1;
    }
    *outBits = desktopBits;
    if (dd->SetCooperativeLevel(window, DDSCL_NORMAL) != DD_OK) {
      DecreaseLogIndent();
      return GraphicsFatalError("DirectDrawの協調レベルの設定に失敗しました、ソフトを終了します");
    }
    *outCooperativeFlags = DDSCL_NORMAL;
  } else {
    if (bits == 24) {
      DecreaseLogIndent();
      return -1;
    }
    LogWrite("画面解像度を変更します... ");
    const HRESULT level = dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    if (level != DD_OK && level != DDERR_EXCLUSIVEMODEALREADYSET && level != DDERR_HWNDALREADYSET &&
        level != DDERR_HWNDSUBCLASSED) {
      DecreaseLogIndent();
      return GraphicsFatalError("DirectDrawの協調レベルの設定に失敗しました、ソフトを終了します");
    }
    *outCooperativeFlags = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;
    if (dd->SetDisplayMode(width, height, bits, ScreenMode.refresh, 0) != DD_OK) {
      ScreenMode.refresh = 0;
      if (dd->SetDisplayMode(width, height, bits, 0, 0) != DD_OK) {
        LogWrite("画面モードの変更に失敗しました\n");
        DecreaseLogIndent();
        return -1;
      }
    }
    *outBits = bits;
    *displayModeChanged = 1;
    LogWrite("成功しました\n");
  }
  DecreaseLogIndent();
  LogWrite("画面モードの変更は正常に終了しました \n");
  return 0;
}

int RestoreDisplayMode() {
  if (g_dd.object == nullptr) return -1;
  if (RenderModeFlags.cooperativeFlags & DDSCL_EXCLUSIVE) {
    g_dd.object->SetCooperativeLevel(GetMainWindow(), DDSCL_NORMAL);
    g_dd.object->RestoreDisplayMode();
  }
  RenderModeFlags.displayModeChanged = 0;
  LogWrite("画面モードを元に戻す処理は正常に終了しました\n");
  return 0;
}

int LeaveFullScreenMode() {
  if (IsWindowed() || !RenderModeFlags.displayModeChanged || g_dd.object == nullptr) return 0;
  g_dd.object->SetCooperativeLevel(GetMainWindow(), DDSCL_NORMAL);
  g_dd.object->RestoreDisplayMode();
  RenderModeFlags.displayModeChanged = 0;
  return 0;
}

int RestoreLostScreenSurfaces() {
  if (g_dd.object == nullptr) return -1;
  for (IDirectDrawSurface7* surface : {ScreenSurfaces.primary, ScreenSurfaces.back, ScreenSurfaces.zBuffer}) {
    if (surface != nullptr && surface->IsLost() == DDERR_SURFACELOST) surface->Restore();
  }
  return 0;
}

int CreateScreenPalette() {
  if (g_dd.object == nullptr || g_dd.palette != nullptr || ScreenMode.bits != 8) return 0;
  FillDefaultPalette(g_dd.paletteEntries);
  if (g_dd.object->CreatePalette(DDPCAPS_8BIT, g_dd.paletteEntries, &g_dd.palette, nullptr) != DD_OK) {
    return GraphicsFatalError("パレットの作成に失敗しました");
  }
  if (ScreenSurfaces.primary != nullptr) ScreenSurfaces.primary->SetPalette(g_dd.palette);
  if (ScreenSurfaces.back != nullptr) ScreenSurfaces.back->SetPalette(g_dd.palette);
  return 0;
}

int RestoreScreenPalette() {
  if (ScreenMode.bits != 8) return 0;
  PALETTEENTRY kept[256];
  std::memcpy(kept, g_dd.paletteEntries, sizeof(kept));
  CreateScreenPalette();
  std::memcpy(g_dd.paletteEntries, kept, sizeof(kept));
  if (g_dd.palette != nullptr) {
    g_dd.palette->SetEntries(0, 0, 256, g_dd.paletteEntries);
    g_dd.palette->GetEntries(0, 0, 256, g_dd.paletteEntries);
  }
  return 0;
}

int ReleaseScreenPalette() {
  if (g_dd.palette != nullptr) g_dd.palette->Release();
  g_dd.palette = nullptr;
  return 0;
}

int ReleaseDirectDrawObjectOnly() {
  if (g_dd.object != nullptr) g_dd.object->Release();
  g_dd.object = nullptr;
  return 0;
}

int CreateDirectDrawObject() {
  if (g_dd.object != nullptr) return 0;
  IDirectDraw7* dd = nullptr;
  if (CreateDirectDrawWithInfo(&dd) != 0) {
    return GraphicsFatalError("DirectDraw オブジェクトの作成処理時にエラーが発生しました");
  }
  ReapplyScreenDisplayMode();
  RecreateAllSurface2DSurfaces();
  CreateWindowClipper();
  return 0;
}

int ReleaseDirectDrawObject() {
  LogWrite("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
  if (g_dd.object == nullptr) {
    LogWrite("既に解放されています\n");
    return 0;
  }
  ReleaseAllSurface2DStores();
  LeaveFullScreenMode();
  ReleaseScreenPalette();
  ReleaseWindowClipper();
  ReleaseDirectDrawObjectOnly();
  LogWrite("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
  return 0;
}

int InitDirectDraw() {
  if (g_dd.object != nullptr) return -1;
  LogWrite("DirectDraw 関連の初期化を行います\n");
  IncreaseLogIndent();
  IDirectDraw7* dd = nullptr;
  if (CreateDirectDrawWithInfo(&dd) != 0) {
    DecreaseLogIndent();
    return GraphicsFatalError("DirectDrawオブジェクトの作成に失敗しました");
  }
  if (CreateClipperForWindow(&g_dd.clipper, GetMainWindow()) != 0) {
    DecreaseLogIndent();
    ReleaseDirectDrawObjectOnly();
    return GraphicsFatalError("DirectDrawClipperオブジェクトの作成時にエラーが発生しました");
  }
  if (ScreenMode.width == 0) ScreenMode.width = 640;
  if (ScreenMode.height == 0) ScreenMode.height = 480;
  if (ScreenMode.bits == 0) ScreenMode.bits = 16;
  ScreenMode.requestedBits = ScreenMode.bits;
  // The game cannot run in the 640 x 480 x 16 fall-back: it fails the start too.
  if (ChangeScreenMode(-1, -1, -1, 1, -1) < 0) {
    DecreaseLogIndent();
    TerminateDirectDraw();
    return -1;
  }
  RenderModeFlags.screenReady = 1;
  RenderModeFlags.mmxUsable = 1;
  ProbeOverlay();
  DecreaseLogIndent();
  LogWrite("DirectDraw 関連の初期化は正常に終了しました\n");
  FillBlendLookupTables();
  RenderModeFlags.directDrawInitialised = 1;
  return 0;
}

int TerminateDirectDraw() {
  if (g_dd.object == nullptr) return 0;
  LogWrite("DirectDraw 関連の終了処理をおこないます\n");
  IncreaseLogIndent();
  ReleaseScreenPalette();
  EndGraphSystem();
  DeleteAllSurface2D();
  EndDirect3D();
  ReleaseScreenSurfaces();
  ReleaseWindowClipper();
  LogWrite("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
  ReleaseDirectDrawObjectOnly();
  LogWrite("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
  RestoreDisplayMode();
  // The released object took its full-screen mode with it: the next start begins at the
  // desktop's mode.
  RenderModeFlags.displayModeChanged = 0;
  DecreaseLogIndent();
  LogWrite("DirectDraw 関連の終了処理は正常に終了しました\n");
  RenderModeFlags.directDrawInitialised = 0;
  RenderModeFlags.screenReady = 0;
  VBlankTiming = kVBlankTimingUnmeasured;
  return 0;
}
