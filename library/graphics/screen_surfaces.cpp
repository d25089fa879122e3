// The set of DirectDraw screen surfaces with their MEMIMG twins.
#include <cstring>
#include <initializer_list>

#include "core/log.h"
#include "core/main_window.h"
#include "graphics/graphics_fatal.h"
#include "graphics/screen_mode.h"

namespace {

HRESULT CreateSurface(DWORD flags, DWORD caps, int width, int height, IDirectDrawSurface7** out,
                      DWORD backBufferCount = 0) {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = flags;
  description.dwWidth = static_cast<DWORD>(width);
  description.dwHeight = static_cast<DWORD>(height);
  description.dwBackBufferCount = backBufferCount;
  description.ddsCaps.dwCaps = caps;
  return GetDirectDrawObject()->CreateSurface(&description, out, nullptr);
}

HRESULT ColourFillBlack(IDirectDrawSurface7* surface, DWORD flags) {
  DDBLTFX effects{};
  effects.dwSize = sizeof(effects);
  effects.dwFillColor = 0;
  return surface->Blt(nullptr, nullptr, nullptr, flags, &effects);
}

// The screen format is the in-memory format of the same depth.
bool ScreenFormatIsMemImgFormat() {
  return (ScreenMode.bits == 32 && ScreenColorKind == SCREEN_XRGB8888) ||
         (ScreenMode.bits == 16 && ScreenColorKind == SCREEN_RGB565);
}

int LockBackTwin(int width, int height) {
  ScreenSurfacesRecord& screens = ScreenSurfaces;
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  if (screens.back->Lock(nullptr, &description, DDLOCK_WAIT, nullptr) != DD_OK) {
    return GraphicsFatalError("バックサーフェスのロックに失敗しました");
  }
  std::memset(&screens.backTwin, 0, sizeof(screens.backTwin));
  screens.backTwin.pixels = description.lpSurface;
  screens.backTwinOnLocked = 1;
  return InitMemImg(&screens.backTwin, width, height, description.lPitch, 0,
                    MemImgKindForDepth(GetRequestedColorBitDepth()), 0, 0, 0);
}

int CreateMemImgScreens(int width, int height) {
  ScreenSurfacesRecord& screens = ScreenSurfaces;
  screens.memImgScreens = 1;
  if (CreateSurface(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE | DDSCAPS_SYSTEMMEMORY, 0, 0, &screens.primary) != DD_OK) {
    return GraphicsFatalError("プライマリサーフェスの作成に失敗しました");
  }
  if (CreateSurface(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, width, height,
                    &screens.back) != DD_OK) {
    return GraphicsFatalError("バックサーフェスの作成に失敗しました");
  }
  ColourFillBlack(screens.back, DDBLT_COLORFILL | DDBLT_WAIT);
  screens.primary->PageLock(0);
  screens.back->PageLock(0);
  const int kind = MemImgKindForDepth(GetRequestedColorBitDepth());
  if (CreateMemImgForScreen(&screens.primaryTwin, width, height, kind) != 0) {
    return GraphicsFatalError("プライマリサーフェス用の MEMIMG の作成に失敗しました\n");
  }
  if (GetRequestedColorBitDepth() == ScreenMode.bits && ScreenFormatIsMemImgFormat()) {
    if (LockBackTwin(width, height) != 0) return -1;
  } else if (CreateMemImgForScreen(&screens.backTwin, width, height, kind) != 0) {
    return GraphicsFatalError("バックサーフェス用の MEMIMG の作成に失敗しました\n");
  }
  if (CreateZBufferMemImg(&screens.zTwin, width, height) != 0) {
    return GraphicsFatalError("Ｚバッファサーフェス用の MEMIMG の作成に失敗しました\n");
  }
  return 0;
}

int CreateDirectDrawScreens(int width, int height) {
  ScreenSurfacesRecord& screens = ScreenSurfaces;
  screens.memImgScreens = 0;
  ScreenMode.requestedBits = ScreenMode.bits;
  if (IsWindowed()) {
    if (CreateSurface(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE, 0, 0, &screens.primary) != DD_OK) {
      return GraphicsFatalError("プライマリサーフェスの作成に失敗しました");
    }
    if (CreateSurface(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, width, height,
                      &screens.back) != DD_OK) {
      return GraphicsFatalError("バックサーフェスの作成に失敗しました");
    }
    ColourFillBlack(screens.back, DDBLT_COLORFILL | DDBLT_WAIT);
  } else {
    if (CreateSurface(DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                      DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE, 0, 0,
                      &screens.primary, 1) != DD_OK) {
      return GraphicsFatalError("プライマリサーフェスの作成に失敗しました");
    }
    DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0};
    if (screens.primary->GetAttachedSurface(&caps, &screens.back) != DD_OK) {
      return GraphicsFatalError("バックバッファのポインタ取得に失敗しました");
    }
    for (int round = 0; round < 3; ++round) {
      ColourFillBlack(screens.back, DDBLT_COLORFILL | DDBLT_WAIT);
      screens.primary->Flip(nullptr, DDFLIP_NOVSYNC);
    }
  }
  IDirectDrawSurface7** works[2] = {&screens.work, &screens.work2};
  const char* failures[2] = {"作業用サーフェスの作成に失敗しました", "作業用サーフェス２の作成に失敗しました"};
  for (int i = 0; i < 2; ++i) {
    if (CreateSurface(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_CKSRCBLT,
                      DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, width, height, works[i]) != DD_OK) {
      return GraphicsFatalError(failures[i]);
    }
  }
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.dwWidth = static_cast<DWORD>(width);
  description.dwHeight = static_cast<DWORD>(height);
  description.ddsCaps.dwCaps = DDSCAPS_ZBUFFER;
  description.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
  description.ddpfPixelFormat.dwFlags = DDPF_ZBUFFER;
  description.ddpfPixelFormat.dwZBufferBitDepth = 16;
  description.ddpfPixelFormat.dwZBitMask = 0xFFFF;
  if (GetDirectDrawObject()->CreateSurface(&description, &screens.zBuffer, nullptr) != DD_OK) {
    screens.zBuffer = nullptr;
    LogWrite("Ｚバッファの作成に失敗しました\n");
    return -1;
  }
  screens.back->AddAttachedSurface(screens.zBuffer);
  return 0;
}

const char* MemoryPlace(IDirectDrawSurface7* surface) {
  DDSCAPS2 caps{};
  surface->GetCaps(&caps);
  return (caps.dwCaps & DDSCAPS_VIDEOMEMORY) ? "VIDEOMEMORY" : "SYSTEMMEMORY";
}

}  // namespace

int CreateScreenSurfaces() {
  if (GetDirectDrawObject() == nullptr || ScreenSurfaces.primary != nullptr) return -1;
  LogWrite("出力画面用の DirectDrawSurface を作成します\n");
  IncreaseLogIndent();
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  const int made = IsMemImgScreenMode() ? CreateMemImgScreens(width, height) : CreateDirectDrawScreens(width, height);
  if (made != 0) {
    DecreaseLogIndent();
    return -1;
  }
  LogWrite("各スクリーンメモリの配置位置\n");
  IncreaseLogIndent();
  if (ScreenSurfaces.memImgScreens) {
    LogWrite("PrimaryBuffer : SYSTEMMEMORY( MEMIMG ) \n");
    LogWrite("BaskBuffer : SYSTEMMEMORY( MEMIMG ) \n");
  } else {
    LogPrintf("PrimaryBuffer : %s  ", MemoryPlace(ScreenSurfaces.primary));
    LogPrintf("BaskBuffer : %s  ", MemoryPlace(ScreenSurfaces.back));
  }
  DecreaseLogIndent();
  DecreaseLogIndent();
  LogWrite("出力画面用の DirectDrawSurface の作成は正常に終了しました\n");
  return 0;
}

int ReleaseScreenSurfaces() {
  if (GetDirectDrawObject() == nullptr) return -1;
  ScreenSurfacesRecord& screens = ScreenSurfaces;
  if (screens.backTwinOnLocked && screens.back != nullptr) screens.back->Unlock(nullptr);
  screens.backTwinOnLocked = 0;
  if (screens.zBuffer != nullptr) {
    if (screens.back != nullptr) screens.back->DeleteAttachedSurface(0, screens.zBuffer);
    screens.zBuffer->Release();
  }
  if (screens.primary != nullptr) {
    LogWrite("メインサーフェスを破棄をします... 完了しました\n");
    screens.primary->SetClipper(nullptr);
    if (screens.back != nullptr) screens.back->Release();
    screens.primary->Release();
  }
  for (IDirectDrawSurface7* work : {screens.work, screens.work2}) {
    if (work != nullptr) work->Release();
  }
  screens.primary = screens.back = screens.work = screens.work2 = screens.zBuffer = nullptr;
  screens.targetSurface = nullptr;
  screens.targetMemImg = nullptr;
  screens.targetZTwin = nullptr;
  if (screens.memImgScreens) {
    for (MEMIMG* twin : {&screens.primaryTwin, &screens.backTwin, &screens.zTwin}) {
      TerminateMemImg(twin);
      std::memset(twin, 0, sizeof(*twin));
    }
    screens.memImgScreens = 0;
  }
  return 0;
}
