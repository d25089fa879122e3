// The main window: its start-up with the double-start check, its end, and the
// accessors of the window state.
#include "core/main_window.h"

#include <cstdlib>
#include <new>

#include "core/character_input.h"
#include "core/library_lock.h"
#include "core/library_startup.h"
#include "core/log.h"
#include "core/random.h"
#include "core/system_info_log.h"
#include "core/text_format.h"
#include "core/window_state.h"
#include "float_to_int.h"
#include "kernel/clock.h"
#include "kernel/code_page.h"
#include "kernel/handles.h"
#include "kernel/module.h"
#include "kernel/system_info.h"
#include "kernel/threads.h"
#include "window/desktop.h"
#include "window/single_instance.h"
#include "window/window.h"
#include "winmm/time.h"

namespace {

WindowStateBlock g_window;
bool g_claimUnplaced = false;  // the last check found no private place for the folder's claim

constexpr char kDefaultTitle[] = "Murto";
constexpr char kDoubleStart[] = "二重起動されています、ソフトを終了します\n";
constexpr char kDoubleStartNotRefused[] =
    "このフォルダでの二重起動を防げません：ロックファイルを置ける自分専用のフォルダがありません\n";

void LogMemoryStatus() {
  MEMORYSTATUS memory{};
  GlobalMemoryStatus(&memory);
  LogPrintf("メモリ総量:%.2fMB  空きメモリ領域:%.2fMB ", static_cast<double>(memory.dwTotalPhys) / 1048576.0,
            static_cast<double>(memory.dwAvailPhys) / 1048576.0);
}

void NoteDesktopMode() {
  g_window.desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  g_window.desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  g_window.desktopBits = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
}

// The timer's finest period, and the performance counter (always the one used: it is
// the monotonic clock).
void SetUpTimers() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  g_window.performanceFrequency = frequency.QuadPart;
  g_window.hasPerformanceCounter = frequency.QuadPart != 0 ? 1 : 0;
  TIMECAPS caps{};
  if (timeGetDevCaps(&caps, sizeof(caps)) == TIMERR_NOERROR) timeBeginPeriod(caps.wPeriodMin);
}

// A window that cannot be set up ends the start: the user hears why at once.
int Refuse(const char* message) {
  g_window.quit = 1;
  return LogReport(message);
}

int CreateMainWindow() {
  const DWORD style = g_window.windowed ? kWindowStyle : kFullScreenStyle;
  const DWORD exStyle = g_window.windowed ? kWindowExStyle : kFullScreenExStyle;
  if (g_window.windowed) {
    LogWrite("ウインドウモード起動用のウインドウを作成します\n");
  } else {
    LogWrite("フルスクリーンモード用のウインドウを作成します\n");
  }
  g_window.cursorRequested = g_window.windowed;
  const RECT rect = WindowRectForMode(g_window);
  g_window.mainWindow = CreateWindowExA(exStyle, kMainWindowClass, g_window.title, style, rect.left, rect.top,
                                        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                        g_window.instance, nullptr);
  if (g_window.mainWindow == nullptr) return Refuse("ウインドウの作成に失敗しました\n");
  return 0;
}

int QuitRequestedForPump() { return g_window.quit.load(); }

DWORD ProcessMessageThread(LPVOID) {
  while (g_window.quit.load() != 1) {
    if (!AcquireLibraryLockForPump(QuitRequestedForPump)) break;
    const int result = ProcessMessageBody();
    ReleaseLibraryLockForPump();
    if (result < 0) break;
    Sleep(17);
  }
  LeaveLibraryLockQueue();
  g_window.pumpThreadEnded = 1;
  return 0;
}

}  // namespace

WindowStateBlock& GetWindowStateBlock() { return g_window; }

void ResetWindowState() {
  const int windowed = g_window.windowed;
  const int runWhileInactive = g_window.runWhileInactive;
  const double windowScale = g_window.windowScale;
  char title[kWindowTitleSize];
  FormatString(title, sizeof(title), "%s", g_window.title);
  g_window.~WindowStateBlock();
  new (&g_window) WindowStateBlock();
  g_window.windowed = windowed;
  g_window.runWhileInactive = runWhileInactive;
  g_window.windowScale = windowScale;
  FormatString(g_window.title, sizeof(g_window.title), "%s", title);
}

// Two copies in one folder would share the save and the log, whatever their displays.
// Without a place for the claim the start goes on; the window system's start then says
// why a second copy would not be refused. A copy refused on its display gives up its
// folder's claim, leaving the lock folders as the running copy has them.
bool AnotherInstanceIsRunning() {
  const FolderClaim claim = ClaimWorkingFolder(kMainWindowClass);
  g_claimUnplaced = claim == FolderClaim::kNoPrivatePlace;
  if (claim == FolderClaim::kTakenByAnotherCopy) return true;
  if (FindWindowA(kMainWindowClass, nullptr) == nullptr) return false;
  ReleaseWorkingFolder();
  return true;
}

void EndIfAnotherInstanceRuns() {
  if (!AnotherInstanceIsRunning()) return;
  Refuse(kDoubleStart);
  std::_Exit(255);  // what the program's -1 for a refused start gives
}

void PostCloseOnce() {
  if (g_window.closePosted) return;
  g_window.closePosted = 1;
  PostMessageA(g_window.mainWindow, WM_CLOSE, 0, 0);
}

int InitWindowSystem() {
  ResetWindowState();
  g_window.instance = GetModuleHandleA(nullptr);
  g_window.mainThreadId = GetCurrentThreadId();
  LogMemoryStatus();
  NoteDesktopMode();
  SetUpTimers();
  SeedRandomBody(timeGetTime());
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, SPIF_SENDCHANGE);

  LogWrite("ソフトの二重起動検査... ");
  if (AnotherInstanceIsRunning()) return Refuse(kDoubleStart);
  LogWrite("二重起動はされていませんでした\n");
  if (g_claimUnplaced) LogReport(kDoubleStartNotRefused);

  LogWrite("ウインドウクラスを登録します... ");
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = g_window.instance;
  windowClass.hIcon = LoadIconA(g_window.instance, MAKEINTRESOURCEA(32512));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = kMainWindowClass;
  if (RegisterClassA(&windowClass) == 0) return Refuse("ウインドウクラスの登録に失敗しました\n");
  LogWrite("登録に成功しました\n");
  g_window.creating = 1;

  if (g_window.title[0] == '\0') FormatString(g_window.title, sizeof(g_window.title), "%s", kDefaultTitle);
  if (CreateMainWindow() != 0) {
    // The shut-down sees no window to end: the class goes now, or no later start could
    // register it again.
    UnregisterClassA(kMainWindowClass, g_window.instance);
    return -1;
  }
  ShowWindow(g_window.mainWindow, SW_SHOW);
  UpdateWindow(g_window.mainWindow);
  g_window.closePosted = 0;
  g_window.windowDestroyed = 0;
  g_window.active = 1;
  if (!g_window.windowed) {
    LogWrite("カーソルを不可視にしました\n");
    SetCursor(nullptr);
  }
  LogWrite("ＩＭＥを無効にしました\n");
  WINNLSEnableIME(g_window.mainWindow, FALSE);
  if (g_window.windowed) StoreClientRect(g_window);
  SetCharacterSetMode(GetOEMCP() == 949 ? 2 : 1);

  SetCursorVisible(g_window.cursorRequested);
  g_window.ending = 0;
  BringWindowToFront(g_window.mainWindow, 0);
  const DWORD pumpStart = timeGetTime();
  while (timeGetTime() - pumpStart < 200) ProcessMessageBody();
  FitWindowToScreenMode();
  g_window.creating = 0;

  g_window.pumpThreadEnded = 0;
  g_window.pumpThread = CreateThread(nullptr, 0, ProcessMessageThread, nullptr, 0, nullptr);
  if (g_window.pumpThread == nullptr) {
    LogWrite("ProcessMessage をひたすら呼びつづけるスレッドの立ち上げに失敗しました\n");
  }
  return 0;
}

int DestroyMainWindow() {
  if (g_window.mainWindow == nullptr) return 0;
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDCHANGE);
  WINNLSEnableIME(g_window.mainWindow, TRUE);
  SetCursorVisible(1);
  PostCloseOnce();
  while (ProcessMessageBody() == 0) {
  }
  UnregisterClassA(kMainWindowClass, g_window.instance);
  FreeAllKeyInputs();
  if (g_window.pumpThread != nullptr) {
    // The pump may be waiting out a slice for the lock this thread holds.
    WakeLibraryLockWaiters();
    while (g_window.pumpThreadEnded.load() == 0) Sleep(1);
    CloseHandle(g_window.pumpThread);
    g_window.pumpThread = nullptr;
  }
  g_window.mainWindow = nullptr;
  return 0;
}

void BringWindowToFront(HWND window, int topmost) {
  if (window == nullptr) return;
  const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(windowThread, foregroundThread, TRUE);
  DWORD lockTimeout = 0;
  SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockTimeout, 0);
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
  SetForegroundWindow(window);
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<void*>(static_cast<std::uintptr_t>(lockTimeout)), 0);
  AttachThreadInput(windowThread, foregroundThread, FALSE);
  if (topmost) SetWindowPos(g_window.mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

HWND GetMainWindow() { return g_window.mainWindow; }
int IsWindowed() { return g_window.windowed; }

int GetDesktopMode(int* width, int* height, int* bits) {
  if (width != nullptr) *width = g_window.desktopWidth;
  if (height != nullptr) *height = g_window.desktopHeight;
  if (bits != nullptr) *bits = g_window.desktopBits;
  return 0;
}

int IsAppActive() { return g_window.active; }
int IsWindowClosing() { return g_window.closePosted; }
int IsQuitRequested() { return g_window.quit.load(); }
DWORD GetLibraryMainThreadId() { return g_window.mainThreadId; }

double GetWindowScale() {
  if (!g_window.windowed || g_window.windowScale <= 0.0) return 1.0;
  return g_window.windowScale;
}

int GetClientAreaSize(int rect[4]) {
  rect[0] = g_window.clientRect.left;
  rect[1] = g_window.clientRect.top;
  rect[2] = g_window.clientRect.right;
  rect[3] = g_window.clientRect.bottom;
  return 0;
}

int GetMousePosition(int* x, int* y) {
  POINT point{0, 0};
  GetCursorPos(&point);
  if (g_window.windowed) {
    ScreenToClient(g_window.mainWindow, &point);
    const double scale = GetWindowScale();
    point.x = DoubleToInt(point.x / scale);
    point.y = DoubleToInt(point.y / scale);
  }
  if (x != nullptr) *x = point.x;
  if (y != nullptr) *y = point.y;
  return 0;
}

int SetCursorVisible(int show) {
  g_window.cursorRequested = show;
  if (show == 1) {
    while (ShowCursor(TRUE) < 0) {
    }
    g_window.cursorShown = 1;
  } else {
    while (ShowCursor(FALSE) >= 0) {
    }
    g_window.cursorShown = 0;
  }
  PostMessageA(g_window.mainWindow, WM_SETCURSOR, reinterpret_cast<WPARAM>(g_window.mainWindow),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return 0;
}

int GetEndingFlag() { return g_window.ending; }
void SetEndingFlag(int value) { g_window.ending = value; }

std::int64_t GetMicroseconds(int allowCpuCounter) {
  if (allowCpuCounter == 1 && HasTimeStampCounter() && IsLibraryInitialised()) {
    return ScaleToMicroseconds(ReadTimeStampCounter(), GetCpuClockHz());
  }
  if (g_window.hasPerformanceCounter) {
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return ScaleToMicroseconds(count.QuadPart, g_window.performanceFrequency);
  }
  return static_cast<std::int64_t>(timeGetTime()) * 1000;
}
