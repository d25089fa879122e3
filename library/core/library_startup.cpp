#include "core/library_startup.h"

#include <climits>
#include <cstdarg>
#include <cstdlib>

#include "com/com.h"
#include "core/archive_reader.h"
#include "core/character_input.h"
#include "core/file_layer.h"
#include "core/input_devices.h"
#include "core/library_lock.h"
#include "core/log.h"
#include "core/main_window.h"
#include "core/screen_log.h"
#include "core/sound_system.h"
#include "core/system_info_log.h"
#include "core/text_format.h"
#include "core/tracked_alloc.h"
#include "core/window_workers.h"
#include "graphics/graph_system.h"
#include "graphics/graphics_warm_up.h"
#include "graphics/graphics_workers.h"
#include "graphics/screen_mode.h"
#include "kernel/threads.h"
#include "window/desktop.h"
#include "window/single_instance.h"

namespace {

struct LibraryState {
  int initialising = 0;
  int initialised = 0;
  int comStarted = 0;
  int graphicsStarted = 0;
  // The thread that started the library: the only one that may shut it down.
  DWORD gameThreadId = 0;
  char startupDirectory[PATH_MAX] = {};
};
LibraryState g_library;

constexpr int kBackScreen = -2;
constexpr int kFrontScreen = -4;

int DesktopBitsPerPixel() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

// A failed start shuts down what was started and leaves the library not started.
int FailStart() {
  EndLibraryBody();
  g_library.initialising = 0;
  return -1;
}

}  // namespace

int IsLibraryInitialised() { return g_library.initialised; }
int IsLibraryInitialising() { return g_library.initialising; }

int StartCom() {
  if (g_library.comStarted) return -1;
  LogWrite("ＣＯＭの初期化... ");
  if (FAILED(CoInitialize(nullptr))) return LogWrite("ＣＯＭの初期化に失敗しました\n");
  LogWrite("成功しました\n");
  g_library.comStarted = 1;
  return 0;
}

int StartGraphicsSystem() {
  if (g_library.graphicsStarted) return -1;
  if (InitDirectDraw() != 0) {
    if (IsSoftwareRenderMode()) FatalErrorExit("DirectDraw の初期化に失敗しました");
    LogWrite("ソフトウエアレンダリングモードに変更します\n");
    SetHardwareRenderFlag(0);
    if (InitDirectDraw() != 0) FatalErrorExit("DirectDraw の初期化に失敗しました");
  }
  g_library.graphicsStarted = 1;
  return 0;
}

int EndGraphicsSystem() {
  if (!g_library.graphicsStarted) return 0;
  TerminateDirectDraw();
  g_library.graphicsStarted = 0;
  return 0;
}

int InitLibraryBody() {
  if (g_library.initialised) return -1;
  g_library.gameThreadId = GetCurrentThreadId();
  g_library.initialising = 1;
  if (GetSystemMemorySurfaceFlag()) SetHardwareRenderFlag(0);
  InitFileSystem();
  InstallFileFunctionTable(nullptr);
  FileGetCurrentDir(g_library.startupDirectory, sizeof(g_library.startupDirectory));
  // A start that the double-start check will refuse leaves the running copy's log as it
  // is: its lines then reach only the debugger output.
  if (!AnotherInstanceIsRunning()) OpenLogFile();
  if ((DesktopBitsPerPixel() == 24 && IsWindowed()) || GetRequestedColorBitDepth() == 24) {
    LogWrite("ＭＵライブラリは２４ビットカラーモードに対応していません\n");
    return FailStart();
  }
  LogSystemInfo();
  SetGraphRestoreHook(nullptr);
  if (StartCom() == -1 || InitWindowSystem() == -1) return FailStart();
  if (InitInputSystem() == -1) return FailStart();
  // Without a sound device the library runs silent; the log says so once.
  if (InitSoundSystem() != 0) LogWrite("サウンドデバイスが使えないため、音を出さずに動作します\n");
  if (StartGraphicsSystem() < 0) return FailStart();
  InitKeyInputSystem();
  g_library.initialised = 1;
  SetSyncToVBlankBody(1);
  if (!IsWindowed()) BringWindowToFront(GetMainWindow(), 1);
  InitScreenLog();
  SetDrawTargetBody(kBackScreen);
  SetDrawTargetBody(kFrontScreen);
  WarmUpDrawingPaths();
  g_library.initialising = 0;
  return 0;
}

int EndLibraryBody() {
  SetEndingFlag(1);
  StopBackgroundMusic();
  EndGraphicsSystem();
  EndInputSystem();
  EndSoundSystem();
  DestroyMainWindow();
  if (g_library.comStarted) {
    CoUninitialize();
    LogWrite("ＣＯＭを終了... 完了\n");
    g_library.comStarted = 0;
  }
  g_library.initialised = 0;
  // Without a window the pump has nothing to finish.
  while (GetMainWindow() != nullptr && !IsQuitRequested() && ProcessMessageBody() == 0) {
  }
  if (g_library.startupDirectory[0] != '\0') FileSetCurrentDir(g_library.startupDirectory);
  CloseAllArchives();
  DumpTrackedBlocks();
  CloseLogFile();
  // The next copy may start here once this one has written its last line.
  ReleaseWorkingFolder();
  return 0;
}

void FatalErrorExit(const char* text) {
  LogWrite(text);
  LogWrite("\n");
  // Only the game thread may shut down: the shut-down waits for the pump thread.
  const bool onGameThread = g_library.gameThreadId == 0 || GetCurrentThreadId() == g_library.gameThreadId;
  if (onGameThread) {
    EndLibraryBody();
    DestroyLibraryLock();
  }
  std::_Exit(255);
}

void FatalErrorExitFmt(const char* format, ...) {
  char text[1024];
  va_list arguments;
  va_start(arguments, format);
  FormatStringV(text, sizeof(text), format, arguments);
  va_end(arguments);
  FatalErrorExit(text);
}
