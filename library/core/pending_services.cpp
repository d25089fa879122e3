// Thin stand-ins for the graphics and sound services, until those subsystems exist.
// They succeed, draw nothing and play nothing; the screen mode, draw target, clip
// rectangle and switches are kept so that what is set can be read back.
#include "core/pending_services.h"

#include "graphics/graphics_workers.h"

namespace {

struct PendingScreen {
  int width = 0;
  int height = 0;
  int bits = 0;
  int refresh = 0;
  int requestedBits = 0;
  int softwareRender = 0;
  int syncToVBlank = 0;
  int flipToGdi = 0;
  int drawTarget = -2;
  RECT clip{0, 0, 0, 0};
  void (*restoreHook)() = nullptr;
};
PendingScreen g_screen;

void DefaultRestoreGraphs() {}

}  // namespace

int GetSystemMemorySurfaceFlag() { return 0; }
int SetHardwareRenderFlag(int useHardware) {
  g_screen.softwareRender = useHardware ? 0 : 1;
  return 0;
}
int IsSoftwareRenderMode() { return g_screen.softwareRender; }
int GetRequestedColorBitDepth() { return g_screen.requestedBits != 0 ? g_screen.requestedBits : 16; }

int QueryScreenMode(int* width, int* height, int* bits) {
  GetScreenModeSizeBody(width, height);
  *bits = GetRequestedColorBitDepth();
  return 0;
}

int ChangeScreenMode(int width, int height, int bits, int, int refresh) {
  if (width != -1) g_screen.width = width;
  if (height != -1) g_screen.height = height;
  if (bits != -1) g_screen.bits = bits;
  if (refresh != -1) g_screen.refresh = refresh;
  return 0;
}

int GetFlipToGdiMode() { return g_screen.flipToGdi; }
int SetFlipToGdiMode(int flag) {
  g_screen.flipToGdi = flag;
  return 0;
}
int GetSyncToVBlank() { return g_screen.syncToVBlank; }
int SetupScreenPixelFormat() { return 0; }
int IsDisplayModeChanged() { return 0; }

int InitDirectDraw() { return 0; }
int TerminateDirectDraw() { return 0; }
IDirectDraw7* GetDirectDrawObject() { return nullptr; }

int GetDrawTarget() { return g_screen.drawTarget; }
int GetClipRect(RECT* out) {
  *out = g_screen.clip;
  return 0;
}
int SetDefaultDrawArea(const RECT*) { return 0; }

int SetGraphRestoreHook(void (*hook)()) {
  g_screen.restoreHook = hook != nullptr ? hook : DefaultRestoreGraphs;
  return 0;
}
int IsGraphRestoreHookSet() { return g_screen.restoreHook != nullptr ? 1 : 0; }
int RestoreAllGraphs() { return 0; }
int RecreateGraphicsObjects() { return 0; }
int RestoreAllSurface2D() { return 0; }
int RestoreAllSurface3DData() { return 0; }

int ResumeAllGraphMovies() { return 0; }
int PauseAllGraphMovies() { return 0; }
int ReleaseAllMovieObjects() { return 0; }

int InitScreenLog() { return 0; }
int WarmUpDrawingPaths() { return 0; }

// ---- Workers of graphics entry points that start-up and the window call ----
int SetScreenModeBody(int width, int height, int bits, int refresh) {
  if (width == 0 || height == 0 || (bits != -1 && bits != 8 && bits != 16 && bits != 32)) return -1;
  if (bits != -1) g_screen.requestedBits = bits;
  return ChangeScreenMode(width, height, bits, 0, refresh);
}

int GetScreenModeSizeBody(int* width, int* height) {
  if (width != nullptr) *width = g_screen.width != 0 ? g_screen.width : 640;
  if (height != nullptr) *height = g_screen.height != 0 ? g_screen.height : 480;
  return 0;
}

int SetSyncToVBlankBody(int flag) {
  g_screen.syncToVBlank = flag;
  return 0;
}

int SetDrawTargetBody(int target) {
  g_screen.drawTarget = target;
  return 0;
}

int SetClipRectBody(int x1, int y1, int x2, int y2) {
  g_screen.clip = RECT{x1, y1, x2, y2};
  return 0;
}

std::uint32_t MakeScreenColorBody(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r & 0xFF) << 16) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
         static_cast<std::uint32_t>(b & 0xFF);
}

int PresentScreenBody() { return 0; }
