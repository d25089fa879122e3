#include "graphics/screen_mode.h"

#include <algorithm>

#include "core/library_startup.h"
#include "core/log.h"
#include "core/main_window.h"
#include "core/screen_log.h"
#include "graphics/dd_pixel_format.h"
#include "graphics/draw_state.h"
#include "graphics/font_record.h"
#include "graphics/fonts.h"
#include "graphics/graph_records.h"
#include "graphics/graph_system.h"
#include "graphics/graphics_fatal.h"
#include "graphics/device_services.h"
#include "graphics/surface_2d.h"
#include "kernel/threads.h"
#include "winmm/time.h"

ScreenModeRecord ScreenMode;
RenderModeFlagsRecord RenderModeFlags;
ScreenSurfacesRecord ScreenSurfaces;
VBlankTimingRecord VBlankTiming = kVBlankTimingUnmeasured;
int ScreenColorKind = SCREEN_OTHER;

namespace {

constexpr int kMaxScreenSide = 8192;
constexpr DWORD kModeChangeGap = 2060;

PixelFormat g_screenFormat;
DDPIXELFORMAT g_screenDDFormat;

bool SameMode(int width, int height, int bits, int refresh) {
  return width == ScreenMode.width && height == ScreenMode.height && bits == ScreenMode.bits &&
         refresh == ScreenMode.refresh;
}

// Mode changes keep at least 2060 ms between them (60 ms after a long pause).
void PaceModeChange() {
  const DWORD now = timeGetTime();
  const DWORD last = static_cast<DWORD>(VBlankTiming.lastModeChange);
  if (VBlankTiming.lastModeChange == 0 || now - last > 1999) {
    Sleep(60);
  } else if (last + kModeChangeGap > now) {
    Sleep(last + kModeChangeGap - now);
  }
  VBlankTiming.lastModeChange = static_cast<int>(timeGetTime());
  if (VBlankTiming.lastModeChange == 0) VBlankTiming.lastModeChange = 1;
}

int FirstDisplayModeChange(int oldWidth, int oldHeight, int oldBits, int oldRefresh) {
  if (!IsWindowed()) ApplyWindowStyle();
  int desktopWidth = 0;
  int desktopHeight = 0;
  GetDesktopMode(&desktopWidth, &desktopHeight, nullptr);
  if (ScreenMode.width == 0) ScreenMode.width = 640;
  if (ScreenMode.height == 0) ScreenMode.height = 480;
  if (ScreenMode.bits == 0) ScreenMode.bits = 16;
  const auto tryMode = [&]() {
    return ChangeDisplayMode(GetDirectDrawObject(), desktopWidth, desktopHeight, ScreenMode.width, ScreenMode.height,
                             ScreenMode.bits, &ScreenMode.bits, &RenderModeFlags.cooperativeFlags, IsWindowed(),
                             &RenderModeFlags.displayModeChanged, GetMainWindow());
  };
  if (tryMode() == 0) return 0;
  const bool oldIsRequest = oldWidth == ScreenMode.width && oldHeight == ScreenMode.height &&
                            oldBits == ScreenMode.bits && oldRefresh == 0;
  ScreenMode.width = oldWidth;
  ScreenMode.height = oldHeight;
  ScreenMode.bits = oldBits;
  ScreenMode.refresh = oldRefresh;
  if (!IsWindowed()) ApplyWindowStyle();
  if (!oldIsRequest && oldWidth > 0 && oldHeight > 0 && oldBits > 0 && tryMode() == 0) return 0;
  ScreenMode.width = 640;
  ScreenMode.height = 480;
  ScreenMode.bits = 16;
  ScreenMode.refresh = 0;
  if (IsWindowed()) ApplyWindowStyle();
  if (tryMode() != 0) return GraphicsFatalError("予期せぬ画面モード変更不能現象が起きました\n");
  return -2;
}

bool CooperativeLevelAccepted(HRESULT result) {
  return result == DD_OK || result == DDERR_EXCLUSIVEMODEALREADYSET || result == DDERR_HWNDALREADYSET ||
         result == DDERR_HWNDSUBCLASSED;
}

int LaterDisplayModeChange(int oldWidth, int oldHeight, int oldBits) {
  DeleteAllSurface2D();
  LogWrite("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放します\n");
  ReleaseWindowClipper();
  ReleaseDirectDrawObjectOnly();
  LogWrite("ＤｉｒｅｃｔＤｒａｗオブジェクトを解放しました\n");
  IDirectDraw7* dd = nullptr;
  if (CreateDirectDrawWithInfo(&dd) != 0) {
    return GraphicsFatalError("DirectDraw オブジェクトの作成処理時にエラーが発生しました");
  }
  HWND window = GetMainWindow();
  if (IsWindowed()) {
    if (dd->SetCooperativeLevel(window, DDSCL_NORMAL) != DD_OK) {
      return GraphicsFatalError("DirectDrawの協調レベルの設定に失敗しました、ソフトを終了します");
    }
    RenderModeFlags.cooperativeFlags = DDSCL_NORMAL;
  } else {
    if (!CooperativeLevelAccepted(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN))) {
      return GraphicsFatalError("DirectDrawの協調レベルの設定に失敗しました、ソフトを終了します");
    }
    RenderModeFlags.cooperativeFlags = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;
  }
  // The old clipper died with the old object.
  CreateWindowClipper();
  RenderModeFlags.displayModeChanged = 0;
  if (IsWindowed()) return 0;
  int result = 0;
  LogWrite("画面解像度を変更します... ");
  if (dd->SetDisplayMode(ScreenMode.width, ScreenMode.height, ScreenMode.bits, ScreenMode.refresh, 0) != DD_OK) {
    ScreenMode.refresh = 0;
    if (dd->SetDisplayMode(ScreenMode.width, ScreenMode.height, ScreenMode.bits, 0, 0) != DD_OK) {
      ScreenMode.width = oldWidth;
      ScreenMode.height = oldHeight;
      ScreenMode.bits = oldBits;
      if (dd->SetDisplayMode(oldWidth, oldHeight, oldBits, 0, 0) != DD_OK) {
        ScreenMode.width = 640;
        ScreenMode.height = 480;
        ScreenMode.bits = 16;
        result = -2;
        if (dd->SetDisplayMode(640, 480, 16, 0, 0) != DD_OK) {
          return GraphicsFatalError("予期せぬ画面モード変更不能現象が起きました2\n");
        }
      }
    }
  }
  RenderModeFlags.displayModeChanged = 1;
  LogWrite("成功しました\n");
  return result;
}

}  // namespace

int SetScreenModeBody(int width, int height, int bits, int refresh) {
  FreeAllGraphs(0);
  if (width == -1) width = ScreenMode.width;
  if (height == -1) height = ScreenMode.height;
  if (bits == -1) bits = ScreenMode.bits;
  if (refresh == -1) refresh = ScreenMode.refresh;
  // 24 bits passes here: the display-mode step refuses it and falls back.
  if (width < 1 || height < 1 || width > kMaxScreenSide || height > kMaxScreenSide || refresh < 0 ||
      (bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
    return -1;
  }
  const int oldWidth = ScreenMode.width;
  const int oldHeight = ScreenMode.height;
  const int oldBits = ScreenMode.bits;
  const int oldRefresh = ScreenMode.refresh;
  ScreenMode.requestedBits = bits;
  if (ChangeScreenMode(width, height, bits, 0, refresh) == -1) return -1;
  if (SameMode(width, height, bits, refresh)) return 0;
  if (ScreenMode.width == oldWidth && ScreenMode.height == oldHeight && ScreenMode.bits == oldBits &&
      ScreenMode.refresh == oldRefresh) {
    return -1;
  }
  if (SameMode(640, 480, 16, 0)) return -2;
  return -1;
}

int ChangeScreenMode(int width, int height, int bits, int force, int refresh) {
  const bool layerUp = RenderModeFlags.directDrawInitialised != 0;
  const std::uint32_t keptTransparent = DrawState.transparentColor;
  if (width == -1) width = ScreenMode.width;
  if (height == -1) height = ScreenMode.height;
  if (bits == -1) bits = ScreenMode.bits;
  if (refresh == -1) refresh = ScreenMode.refresh;
  if (SameMode(width, height, bits, refresh) && force == 0) return 0;

  const int oldWidth = ScreenMode.width;
  const int oldHeight = ScreenMode.height;
  const int oldBits = ScreenMode.bits;
  const int oldRefresh = ScreenMode.refresh;
  ScreenMode.width = width;
  ScreenMode.height = height;
  ScreenMode.bits = bits;
  if ((!IsLibraryInitialised() && !IsLibraryInitialising()) || GetDirectDrawObject() == nullptr) {
    ScreenMode.refresh = refresh;
    return 0;
  }
  LogWrite("画面モード変更処理を開始します\n");
  IncreaseLogIndent();
  // The built-in font is made again at the new mode with the same size and thickness.
  char fontFace[kFontFaceSize] = "";
  int fontSize = -1;
  int fontThickness = -1;
  const bool hadBuiltinFont = QueryFontInfo(fontFace, &fontSize, &fontThickness, GetBuiltinFontHandle()) == 0;
  RenderModeFlags.effectiveFlipToGdi = -1;
  ScreenMode.refresh = refresh;
  PaceModeChange();

  FreeAllGraphs(0);
  EndGraphSystem();
  EndDirect3D();
  ReleaseScreenPalette();
  ReleaseScreenSurfaces();

  const int result =
      layerUp ? LaterDisplayModeChange(oldWidth, oldHeight, oldBits) : FirstDisplayModeChange(oldWidth, oldHeight, oldBits, oldRefresh);
  if (result == -1) {
    DecreaseLogIndent();
    return -1;
  }

  SetupScreenPixelFormat();
  if (IsWindowed()) ApplyWindowStyle();
  if (CreateScreenSurfaces() != 0) {
    DecreaseLogIndent();
    return LogWrite("DirectDrawSurface の初期化に失敗しました\n");
  }
  if (!RenderModeFlags.systemMemorySurfaces && !RenderModeFlags.softwareRender) InitDirect3D();
  StartGraphSystem();
  if (hadBuiltinFont) RebuildDefaultFont(fontFace, fontSize, fontThickness);
  InitScreenLog();
  CreateScreenPalette();

  if (!IsMemImgScreenMode()) ChooseBlitMethod();
  MeasureFrameTime();

  if (layerUp) DrawState.transparentColor = keptTransparent;
  DecreaseLogIndent();
  LogWrite("画面モード変更処理は正常に終了しました\n");
  ProcessMessageBody();
  ResetPresentCount();
  return result;
}

int SetHardwareRenderFlag(int useHardware) {
  RenderModeFlags.softwareRender = useHardware ? 0 : 1;
  if (GetDirectDrawObject() == nullptr) return 0;
  const int target = DrawState.target;
  FreeAllGraphs(0);
  ChangeScreenMode(-1, -1, -1, 1, -1);
  if (target == kDrawTargetFront || target == kDrawTargetBack) SetDrawTargetBody(target);
  return 0;
}

int SetSystemMemorySurfaceFlag(int flag) {
  RenderModeFlags.systemMemorySurfaces = flag;
  return 0;
}

int SetSyncToVBlankBody(int flag) {
  RenderModeFlags.syncToVBlank = flag;
  return 0;
}

int SetFlipToGdiMode(int flag) {
  // There is no window menu, so only the flag turns the mode on.
  const int effective = flag == 1 ? 1 : 0;
  if (effective == RenderModeFlags.effectiveFlipToGdi) return 0;
  RenderModeFlags.flipToGdi = flag;
  if (GetDirectDrawObject() == nullptr) return 0;
  if (effective == 1) GetDirectDrawObject()->FlipToGDISurface();
  const RECT clip = DrawState.clip;
  const int target = DrawState.target;
  SetDrawTargetBody(kDrawTargetBack);
  SetDrawTargetBody(kDrawTargetFront);
  SetDrawTargetBody(target);
  SetClipRectBody(clip.left, clip.top, clip.right, clip.bottom);
  RenderModeFlags.effectiveFlipToGdi = effective;
  return 0;
}

int ReapplyScreenDisplayMode() {
  int desktopWidth = 0;
  int desktopHeight = 0;
  GetDesktopMode(&desktopWidth, &desktopHeight, nullptr);
  return ChangeDisplayMode(GetDirectDrawObject(), desktopWidth, desktopHeight, ScreenMode.width, ScreenMode.height,
                           ScreenMode.bits, &ScreenMode.bits, &RenderModeFlags.cooperativeFlags, IsWindowed(),
                           &RenderModeFlags.displayModeChanged, GetMainWindow());
}

int SetupScreenPixelFormat() {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  GetDirectDrawObject()->GetDisplayMode(&description);
  g_screenDDFormat = description.ddpfPixelFormat;
  g_screenFormat = PixelFormat{};
  PixelFormatFromDDPixelFormat(&g_screenDDFormat, &g_screenFormat);
  LogWrite("カラー情報\n");
  IncreaseLogIndent();
  LogPrintf("A:%08x  B:%08x  G:%08x  B:%08x", g_screenFormat.maskA, g_screenFormat.maskR, g_screenFormat.maskG,
            g_screenFormat.maskB);
  DecreaseLogIndent();
  ScreenMode.bits = static_cast<int>(g_screenDDFormat.dwRGBBitCount);
  const std::uint32_t r = g_screenFormat.maskR;
  const std::uint32_t g = g_screenFormat.maskG;
  const std::uint32_t b = g_screenFormat.maskB;
  if (r == 0xF800 && g == 0x7E0 && b == 0x1F) {
    ScreenColorKind = SCREEN_RGB565;
  } else if (r == 0x7C00 && g == 0x3E0 && b == 0x1F) {
    ScreenColorKind = SCREEN_RGB555;
  } else if (r == 0xFF0000 && g == 0xFF00 && b == 0xFF) {
    ScreenColorKind = SCREEN_XRGB8888;
  } else {
    ScreenColorKind = SCREEN_OTHER;
  }
  return 0;
}

const PixelFormat* QueryScreenPixelFormat() { return &g_screenFormat; }
DDPIXELFORMAT* GetScreenDDPixelFormatBody() { return &g_screenDDFormat; }

const PixelFormat* QueryMemImgScreenPixelFormat() {
  return GetStandardPixelFormat(MemImgKindForDepth(GetRequestedColorBitDepth()), 0, 0);
}

std::uint32_t MakeScreenColorBody(int r, int g, int b) {
  r = std::clamp(r, 0, 255);
  g = std::clamp(g, 0, 255);
  b = std::clamp(b, 0, 255);
  if (ScreenMode.bits == 8) {
    std::uint32_t best = 0;
    int bestDistance = 0xFFFFFF;
    PALETTEENTRY entries[256] = {};
    if (GetScreenPalette() != nullptr) GetScreenPalette()->GetEntries(0, 0, 256, entries);
    for (std::uint32_t i = 0; i < 256; ++i) {
      const int dr = r - entries[i].peRed;
      const int dg = g - entries[i].peGreen;
      const int db = b - entries[i].peBlue;
      const int distance = dr * dr + dg * dg + db * db;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = i;
      }
    }
    return best;
  }
  const PixelFormat* format = IsSoftwareRenderMode() ? QueryMemImgScreenPixelFormat() : &g_screenFormat;
  const auto channel = [](int value, int width, int shift) -> std::uint32_t {
    return width == 0 ? 0 : (static_cast<std::uint32_t>(value) >> (8 - width)) << shift;
  };
  return channel(r, format->widthR, format->shiftR) + channel(g, format->widthG, format->shiftG) +
         channel(b, format->widthB, format->shiftB) + format->noUseMask;
}

int SplitScreenColor(std::uint32_t colour, int* r, int* g, int* b) {
  if (ScreenMode.bits == 8) {
    if (colour > 255) return -1;
    PALETTEENTRY entries[256] = {};
    if (GetScreenPalette() != nullptr) GetScreenPalette()->GetEntries(0, 0, 256, entries);
    *r = entries[colour].peRed;
    *g = entries[colour].peGreen;
    *b = entries[colour].peBlue;
    return 0;
  }
  // Colours of software rendering are made in the in-memory format.
  const PixelFormat* format = IsSoftwareRenderMode() ? QueryMemImgScreenPixelFormat() : &g_screenFormat;
  const auto channel = [colour](std::uint32_t mask, int shift, int width) {
    if (width == 0) return 0;
    return static_cast<int>(((colour & mask) >> shift) * 255 / ((1u << width) - 1));
  };
  *r = channel(format->maskR, format->shiftR, format->widthR);
  *g = channel(format->maskG, format->shiftG, format->widthG);
  *b = channel(format->maskB, format->shiftB, format->widthB);
  return 0;
}

int GetScreenModeSizeBody(int* width, int* height) {
  if (width != nullptr) *width = ScreenMode.width != 0 ? ScreenMode.width : 640;
  if (height != nullptr) *height = ScreenMode.height != 0 ? ScreenMode.height : 480;
  return 0;
}

int GetSyncToVBlank() { return RenderModeFlags.syncToVBlank; }
int GetFlipToGdiMode() { return RenderModeFlags.flipToGdi; }
int GetSystemMemorySurfaceFlag() { return RenderModeFlags.systemMemorySurfaces; }
int IsSoftwareRenderMode() { return RenderModeFlags.softwareRender; }
int IsDisplayModeChanged() { return RenderModeFlags.displayModeChanged; }
int GetRequestedColorBitDepth() { return ScreenMode.requestedBits != 0 ? ScreenMode.requestedBits : 16; }
int IsMemImgScreenMode() { return RenderModeFlags.softwareRender && ScreenMode.bits != 8; }
int IsDirectDrawInUse() { return 1; }
IDirectDrawSurface7* GetDrawTargetSurface() { return ScreenSurfaces.targetSurface; }
IDirectDrawSurface7* GetPrimarySurface() { return ScreenSurfaces.primary; }
IDirectDrawSurface7* GetBackSurface() { return ScreenSurfaces.back; }
IDirectDrawSurface7* GetWorkSurface() { return ScreenSurfaces.work; }
int IsDrawTargetPrimaryInWindow() {
  return IsWindowed() && ScreenSurfaces.targetSurface != nullptr && ScreenSurfaces.targetSurface == ScreenSurfaces.primary;
}
