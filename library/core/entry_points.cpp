// The entry points: each takes the library lock around its worker.
#include "game_library.h"

#include <atomic>
#include <cstdarg>

#include "core/archive_settings_workers.h"
#include "core/input_workers.h"
#include "core/library_lock.h"
#include "core/log.h"
#include "core/main_window.h"
#include "core/random.h"
#include "core/sound_workers.h"
#include "core/text_format.h"
#include "core/window_workers.h"
#include "graphics/graphics_workers.h"
#include "kernel/clock.h"
#include "winmm/time.h"

namespace {

constexpr std::size_t kFormattedTextSize = 1024;

// A run of the library begins with the first of the settings that its start reads, or
// with the start itself, and ends with EndLibrary. A second copy of the program ends
// there: the game reads its save between those settings and the start.
std::atomic<bool> g_runBegun{false};

template <auto Worker, bool BeginsRun = false, typename... Arguments>
auto CallLocked(Arguments... arguments) {
  AcquireLibraryLock();
  if (BeginsRun && !g_runBegun.exchange(true)) EndIfAnotherInstanceRuns();
  const auto result = Worker(arguments...);
  ReleaseLibraryLock();
  return result;
}

std::uint32_t ReadTimer() { return timeGetTime(); }

}  // namespace

int InitLibrary() { return CallLocked<InitLibraryBody, true>(); }

int EndLibrary() {
  const int result = CallLocked<EndLibraryBody>();
  DestroyLibraryLock();
  g_runBegun.store(false);
  return result;
}

int ProcessMessage() { return CallLocked<ProcessMessageBody>(); }
int ChangeWindowMode(int windowed) { return CallLocked<ChangeWindowModeBody, true>(windowed); }
int SetWindowTitle(const char* text) { return CallLocked<SetWindowTitleBody>(text); }
int SetRunWhileInactive(int flag) { return CallLocked<SetRunWhileInactiveBody, true>(flag); }
std::uint32_t GetMilliseconds() { return CallLocked<ReadTimer>(); }
int GetLocalDateTime(int out[6]) { return CallLocked<GetLocalDateTimeBody>(out); }
int WriteLog(const char* text) { return CallLocked<LogWrite>(text); }
int ReportProblem(const char* format, ...) {
  va_list names;
  va_start(names, format);
  const int result = CallLocked<LogReportV>(format, names);
  va_end(names);
  return result;
}

int SleepMilliseconds(int milliseconds) {
  if (milliseconds > 0) SleepOnClock(static_cast<DWORD>(milliseconds));
  return 0;
}

int SetArchiveAccess(int flag) { return CallLocked<SetArchiveAccessBody, true>(flag); }
int SetArchiveFileExtension(const char* extension) { return CallLocked<SetArchiveFileExtensionBody>(extension); }
int SetArchiveKey(const char* key) { return CallLocked<SetArchiveKeyBody>(key); }

int RandomInRange(int max) { return CallLocked<RandomInRangeBody>(max); }
int SeedRandom(std::uint32_t seed) { return CallLocked<SeedRandomBody>(seed); }

int IsKeyDown(int key) { return CallLocked<IsKeyDownBody>(key); }
int ReadPadBits(int input) { return CallLocked<ReadPadBitsBody>(input); }
int StartPadRumble(int pad, int power, int durationMs) {
  return CallLocked<StartPadRumbleBody>(pad, power, durationMs);
}
int StopPadRumble(int pad) { return CallLocked<StopPadRumbleBody>(pad); }

int SetSyncToVBlank(int flag) { return CallLocked<SetSyncToVBlankBody>(flag); }
int GetScreenModeSize(int* width, int* height) { return CallLocked<GetScreenModeSizeBody>(width, height); }
DDPIXELFORMAT* GetScreenDDPixelFormat() { return CallLocked<GetScreenDDPixelFormatBody>(); }
std::uint32_t MakeScreenColor(int r, int g, int b) { return CallLocked<MakeScreenColorBody>(r, g, b); }

int BuildPixelFormat(PixelFormat* out, int bits, std::uint32_t maskR, std::uint32_t maskG, std::uint32_t maskB,
                     std::uint32_t maskA) {
  return BuildPixelFormatBody(out, bits, maskR, maskG, maskB, maskA);
}

int BuildDDPixelFormat(DDPIXELFORMAT* out, std::uint32_t bits, std::uint32_t maskR, std::uint32_t maskG,
                       std::uint32_t maskB, std::uint32_t maskA) {
  return BuildDDPixelFormatBody(out, bits, maskR, maskG, maskB, maskA);
}

int PresentScreen() { return CallLocked<PresentScreenBody>(); }
int SetScreenMode(int width, int height, int colourBits, int refreshHz) {
  return CallLocked<SetScreenModeBody, true>(width, height, colourBits, refreshHz);
}
int SaveScreenToBmp(int x1, int y1, int x2, int y2, const char* file) {
  return CallLocked<SaveScreenToBmpBody>(x1, y1, x2, y2, file);
}

int FreeGraph(int graph, int logFlag) { return CallLocked<FreeGraphBody>(graph, logFlag); }
int LoadGraphFile(const char* file) { return CallLocked<LoadGraphFileBody>(file); }
int LoadDivGraphFile(const char* file, int count, int xCount, int yCount, int tileWidth, int tileHeight,
                     int* handles) {
  return CallLocked<LoadDivGraphFileBody>(file, count, xCount, yCount, tileWidth, tileHeight, handles);
}
int ClearDrawTarget() { return CallLocked<ClearDrawTargetBody>(); }
int DrawGraphFileAt(int x, int y, const char* file, int transparent) {
  return CallLocked<DrawGraphFileAtBody>(x, y, file, transparent);
}
int DrawGraphAt(int x, int y, int graph, int transparent) {
  return CallLocked<DrawGraphAtBody>(x, y, graph, transparent);
}
int DrawGraphRotated(int x, int y, double scale, double angle, int graph, int transparent, int mirror) {
  return CallLocked<DrawGraphRotatedBody>(x, y, scale, angle, graph, transparent, mirror);
}
int DrawGraphMirrored(int x, int y, int graph, int transparent) {
  return CallLocked<DrawGraphMirroredBody>(x, y, graph, transparent);
}
int DrawLineSegment(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  return CallLocked<DrawLineSegmentBody>(x1, y1, x2, y2, colour);
}
int DrawRect(int x1, int y1, int x2, int y2, std::uint32_t colour, int fill) {
  return CallLocked<DrawRectBody>(x1, y1, x2, y2, colour, fill);
}
int DrawTextAt(int x, int y, const char* text, std::uint32_t colour, std::uint32_t edgeColour) {
  return CallLocked<DrawTextAtBody>(x, y, text, colour, edgeColour);
}

int DrawFormattedText(int x, int y, std::uint32_t colour, const char* format, ...) {
  char text[kFormattedTextSize];
  va_list arguments;
  va_start(arguments, format);
  FormatStringV(text, sizeof text, format, arguments);
  va_end(arguments);
  return CallLocked<DrawTextAtBody>(x, y, static_cast<const char*>(text), colour, std::uint32_t{0});
}

int SetBlendMode(int mode, int parameter) { return CallLocked<SetBlendModeBody>(mode, parameter); }
int SetDrawTarget(int target) { return CallLocked<SetDrawTargetBody>(target); }
int SetClipRect(int x1, int y1, int x2, int y2) { return CallLocked<SetClipRectBody>(x1, y1, x2, y2); }
int SetTransparentColor(int r, int g, int b) { return CallLocked<SetTransparentColorBody>(r, g, b); }
int SetDitherMode(int mode) { return CallLocked<SetDitherModeBody, true>(mode); }
int ClipRectangle(RECT* r, const RECT* clip) { return ClipRectangleBody(r, clip); }

int LoadSoundFile(const char* file, int bufferCount, int shareHandle) {
  return CallLocked<LoadSoundFileBody>(file, bufferCount, shareHandle);
}
int FreeSound(int sound, int unused) { return CallLocked<FreeSoundBody>(sound, unused); }
int StartSound(int sound, int playType, int fromStart) {
  return CallLocked<StartSoundBody>(sound, playType, fromStart);
}
int StopSound(int sound) { return CallLocked<StopSoundBody>(sound); }
int IsSoundPlaying(int sound) { return CallLocked<IsSoundPlayingBody>(sound); }
int SetSoundVolume(int volume, int sound) { return CallLocked<SetSoundVolumeBody>(volume, sound); }
