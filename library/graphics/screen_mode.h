// The screen: the requested and current mode, the switches that choose how it is
// drawn (DirectDraw, or software drawing into in-memory images), the DirectDraw
// screen surfaces with their MEMIMG twins, the screen's pixel format, and the mode
// change that tears all of it down and builds it again.
#pragma once

#include <cstdint>

#include "ddraw/ddraw.h"
#include "graphics/memimg.h"
#include "graphics/pixel_format.h"

struct ScreenModeRecord {
  int width;   // 0 while unset (read as 640)
  int height;  // 0 while unset (read as 480)
  int bits;    // screen colour depth: 8, 16 or 32 (0 while unset)
  int refresh;
  int requestedBits;  // what the caller asked for; 0 while unset (read as 16)
};

struct RenderModeFlagsRecord {
  int softwareRender;
  int systemMemorySurfaces;
  int flipToGdi;
  int syncToVBlank;
  int mmxUsable;
  int directDrawInitialised;
  int screenReady;
  int blitMethod;  // 0 BltFast, 1 GDI BitBlt
  int effectiveFlipToGdi;  // -1 unknown
  int displayModeChanged;
  DWORD cooperativeFlags;
};

struct ScreenSurfacesRecord {
  IDirectDrawSurface7* primary;
  IDirectDrawSurface7* back;
  IDirectDrawSurface7* work;
  IDirectDrawSurface7* work2;
  IDirectDrawSurface7* zBuffer;
  MEMIMG primaryTwin;
  MEMIMG backTwin;
  MEMIMG zTwin;
  int memImgScreens;     // the twins are the screens (software render on a non-8-bit screen)
  int backTwinOnLocked;  // the back twin lives on the back surface's locked memory
  // The draw target selected for the 2-D path.
  IDirectDrawSurface7* targetSurface;
  int targetOffsetX;
  int targetOffsetY;
  MEMIMG* targetMemImg;
  MEMIMG* targetZTwin;
  MEMIMG targetView;  // the draw target when it is a piece inside a larger image
};

enum ScreenColorKindValue { SCREEN_RGB565 = 0, SCREEN_RGB555 = 1, SCREEN_XRGB8888 = 2, SCREEN_OTHER = 3 };

struct VBlankTimingRecord {
  int lastWaitTime;  // timeGetTime of the last vertical-blank wait
  int frameTime;     // milliseconds, -1 unknown
  int refreshRate;   // Hz, -1 unknown
  int scanLines;
  int sleepThreshold;  // (2 x frame time - 4) / 3, -1 unknown
  int lastModeChange;  // milliseconds of the last mode change, 0 none yet
};

extern ScreenModeRecord ScreenMode;
extern RenderModeFlagsRecord RenderModeFlags;
extern ScreenSurfacesRecord ScreenSurfaces;
// Nothing measured or waited yet: at load, and again once DirectDraw has ended (the
// clock may start afresh before the next start).
inline constexpr VBlankTimingRecord kVBlankTimingUnmeasured{-1, -1, -1, -1, -1, 0};
extern VBlankTimingRecord VBlankTiming;
extern int ScreenColorKind;

// ---- Mode change ----
int SetScreenModeBody(int width, int height, int bits, int refresh);
int ChangeScreenMode(int width, int height, int bits, int force, int refresh);
int SetHardwareRenderFlag(int useHardware);
int SetSystemMemorySurfaceFlag(int flag);
int SetSyncToVBlankBody(int flag);
int SetFlipToGdiMode(int flag);
int ReapplyScreenDisplayMode();

// ---- Screen surfaces and format ----
int CreateScreenSurfaces();
int ReleaseScreenSurfaces();
int SetupScreenPixelFormat();
const PixelFormat* QueryScreenPixelFormat();
DDPIXELFORMAT* GetScreenDDPixelFormatBody();
// The in-memory screen format (standard format of the requested depth).
const PixelFormat* QueryMemImgScreenPixelFormat();
std::uint32_t MakeScreenColorBody(int r, int g, int b);
int SplitScreenColor(std::uint32_t colour, int* r, int* g, int* b);

// ---- Accessors ----
int GetScreenModeSizeBody(int* width, int* height);
int GetSyncToVBlank();
int GetFlipToGdiMode();
int GetSystemMemorySurfaceFlag();
int IsSoftwareRenderMode();
int IsDisplayModeChanged();
int GetRequestedColorBitDepth();
// Software render on a screen that is not 8-bit: the screens are MEMIMGs.
int IsMemImgScreenMode();
int IsDirectDrawInUse();
IDirectDrawSurface7* GetDrawTargetSurface();
IDirectDrawSurface7* GetPrimarySurface();
IDirectDrawSurface7* GetBackSurface();
IDirectDrawSurface7* GetWorkSurface();
int IsDrawTargetPrimaryInWindow();

// ---- Timing tests of every mode change ----
int ChooseBlitMethod();
int MeasureFrameTime();

// ---- DirectDraw object and display modes ----
int InitDirectDraw();
int TerminateDirectDraw();
int CreateDirectDrawWithInfo(IDirectDraw7** out);
int CreateClipperForWindow(IDirectDrawClipper** out, HWND window);
int CreateWindowClipper();
int ReleaseWindowClipper();
int ChangeDisplayMode(IDirectDraw7* dd, int desktopWidth, int desktopHeight, int width, int height, int bits,
                      int* outBits, DWORD* outCooperativeFlags, int windowMode, int* displayModeChanged,
                      HWND window);
int RestoreDisplayMode();
int LeaveFullScreenMode();
int RestoreLostScreenSurfaces();
int CreateScreenPalette();
int RestoreScreenPalette();
int ReleaseScreenPalette();
int CreateDirectDrawObject();
int ReleaseDirectDrawObject();
int ReleaseDirectDrawObjectOnly();
IDirectDraw7* GetDirectDrawObject();
IDirectDrawClipper* GetWindowClipper();
IDirectDrawPalette* GetScreenPalette();
// The video-card facts read at the object's creation.
DWORD GetVideoMemoryTotalBytes();

// ---- Present and vertical blank ----
int PresentScreenBody();
int PresentBackSurface();
void WaitForVBlank();
int WaitVBlankCount(int count);
std::uint64_t GetPresentCount();
void ResetPresentCount();
int PresentRectToWindow(const RECT* rect);
int ClearScreenAll();
// Set after every software-render present: the primary twin must be reloaded before
// software drawing into the front screen.
extern int PrimaryTwinStale;
