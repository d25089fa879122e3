// The main window's procedure: activation, painting, closing, display changes, keys
// and characters, the cursor and the window's geometry.
#include "core/character_input.h"
#include "core/input_devices.h"
#include "core/library_startup.h"
#include "core/log.h"
#include "core/main_window.h"
#include "core/sound_system.h"
#include "core/window_state.h"
#include "graphics/draw_state.h"
#include "graphics/graph_system.h"
#include "graphics/graphics_workers.h"
#include "graphics/movies.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_3d_data.h"
#include "window/desktop.h"
#include "window/window.h"

namespace {

constexpr int kFrontScreen = -4;
constexpr int kBackScreen = -2;

void OnActivate(WindowStateBlock& state) {
  if (state.active) {
    RestoreAllSurface2D();
    RestoreAllSurface3DData();
    if (!state.windowed && state.surfacesLostWhileInactive && IsLibraryInitialised()) {
      RecreateGraphicsObjects();
      state.surfacesLostWhileInactive = 0;
    } else {
      ResumeAllGraphMovies();
    }
    AcquireInputDevices();
  } else if (state.windowed || !IsDisplayModeChanged() || GetDirectDrawObject() == nullptr) {
    PauseAllGraphMovies();
  } else if (!IsGraphRestoreHookSet()) {
    LogWrite("復元関数が登録されていないため終了します\n");
    PostCloseOnce();
    return;
  } else {
    state.surfacesLostWhileInactive = 1;
  }
  ApplyPadRumbleEffects();
}

void OnPaint(HWND window) {
  WindowStateBlock& state = GetWindowStateBlock();
  state.inPaint = 1;
  if (!IsLibraryInitialised()) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(window, &paint);
  } else if (GetDrawTarget() == kBackScreen) {
    const int sync = GetSyncToVBlank();
    SetSyncToVBlankBody(0);
    PresentScreenBody();
    SetSyncToVBlankBody(sync);
  }
  state.inPaint = 0;
}

// A display mode the graphics can follow is taken over; any other closes the window.
void OnDisplayChange(WindowStateBlock& state, WPARAM wParam, LPARAM lParam) {
  if (!state.windowed || state.modeChangeInProgress) {
    state.displayChangeSeen = 1;
    return;
  }
  const int newBits = static_cast<int>(wParam);
  const int newWidth = LOWORD(lParam);
  const int newHeight = HIWORD(lParam);
  int width = 0;
  int height = 0;
  int bits = 0;
  QueryScreenMode(&width, &height, &bits);
  if (newBits == bits && newWidth == width && newHeight == height) {
    state.displayChangeSeen = 1;
    return;
  }
  if (IsGraphRestoreHookSet() && newBits != 24 && (newBits == bits || newBits != 8) && newWidth >= width &&
      newHeight >= height) {
    ReleaseAllMovieObjects();
    SetupScreenPixelFormat();
    RecreateGraphicsObjects();
    ResumeAllGraphMovies();
    state.displayChangeSeen = 1;
    return;
  }
  LogWrite("復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します\n");
  LogWrite("またはスクリーンが小さすぎるためか色ビット数の違いが大きいためか終了します\n");
  PostCloseOnce();
}

void OnKeyDown(WPARAM virtualKey) {
  if (IsInputCharRingFull()) return;
  const int character = ControlCharacterOfKey(static_cast<int>(virtualKey));
  if (character != 0) PushInputChar(static_cast<unsigned char>(character));
}

// While the cursor is not shown, mouse messages take it away again.
void KeepCursorHidden(const WindowStateBlock& state) {
  if (state.cursorShown) return;
  SetCursor(nullptr);
  while (ShowCursor(FALSE) >= 0) {
  }
}

// Window mode: the client area keeps the screen mode's aspect ratio while its edges
// are dragged; the window scale follows the width.
void OnSizing(WindowStateBlock& state, WPARAM edge, RECT* rect) {
  if (!state.windowed || rect == nullptr) return;
  int screenWidth = 0;
  int screenHeight = 0;
  GetScreenModeSizeBody(&screenWidth, &screenHeight);
  int width = rect->right - rect->left;
  int height = rect->bottom - rect->top;
  const bool heightLeads = edge == WMSZ_TOP || edge == WMSZ_BOTTOM;
  if (heightLeads) {
    width = height * screenWidth / screenHeight;
    rect->right = rect->left + width;
  } else {
    height = width * screenHeight / screenWidth;
    if (edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) {
      rect->top = rect->bottom - height;
    } else {
      rect->bottom = rect->top + height;
    }
  }
  state.windowScale = static_cast<double>(width) / screenWidth;
}

}  // namespace

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowStateBlock& state = GetWindowStateBlock();
  switch (message) {
    case WM_DESTROY:
      LogWrite("ウインドウが破棄されようとしています\n");
      state.windowDestroyed = 1;
      LogWrite("ソフトを終了する準備が整いました\n");
      PostQuitMessage(0);
      state.quit = 1;
      break;
    case WM_MOVE:
      if (state.windowed && !state.modeChangeInProgress) WindowMoved(lParam);
      break;
    case WM_SIZE:
      if (wParam != SIZE_MAXIMIZED) FitWindowToScreenMode();
      break;
    case WM_ACTIVATE:
      state.active = LOWORD(wParam) != 0 ? 1 : 0;
      if (!state.creating) OnActivate(state);
      break;
    case WM_PAINT:
      OnPaint(window);
      break;
    case WM_CLOSE:
      LogWrite("ウインドウを閉じようとしています\n");
      DestroyWindow(window);
      if (state.ending == 0) state.ending = 4;
      return 0;
    case WM_DISPLAYCHANGE:
      OnDisplayChange(state, wParam, lParam);
      break;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      break;
    case WM_CHAR:
      PushInputChar(static_cast<unsigned char>(wParam));
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_SCREENSAVE) return 1;
      break;
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      KeepCursorHidden(state);
      break;
    case WM_MOUSEWHEEL:
      state.wheelCounter += static_cast<short>(HIWORD(wParam)) > 0 ? 1 : -1;
      break;
    case WM_SIZING:
      OnSizing(state, wParam, reinterpret_cast<RECT*>(lParam));
      break;
    case WM_MOVING:
      if (!state.windowed && lParam != 0) GetWindowRect(window, reinterpret_cast<RECT*>(lParam));
      break;
    case MM_MCINOTIFY:
      OnMciMusicNotify();
      break;
    default:
      if (IsImeMessage(message)) return HandleImeMessage(window, message, wParam, lParam);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int WindowMoved(LPARAM lParam) {
  WindowStateBlock& state = GetWindowStateBlock();
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  const int width = state.clientRect.right - state.clientRect.left;
  const int height = state.clientRect.bottom - state.clientRect.top;
  state.clientRect = RECT{x, y, x + width, y + height};
  if (GetDrawTarget() == kFrontScreen) SetDefaultDrawArea(&state.clientRect);
  RECT clip{};
  GetClipRect(&clip);
  SetClipRectBody(clip.left, clip.top, clip.right, clip.bottom);
  return 0;
}
