// The game library's entry points: the game's only way in. Every entry point takes
// the library lock, runs its worker and returns the worker's result unchanged; only
// BuildPixelFormat, BuildDDPixelFormat and ClipRectangle run without the lock (they
// serve library code that already holds it). Results: 0 success, -1 failure;
// handles are non-negative, -1 is failure.
#pragma once

#include <cstdint>

#include "float_to_int.h"

// Records the game passes through by pointer only; the library defines them.
struct PixelFormat;
struct DDPIXELFORMAT;
struct RECT;

// Draw targets for SetDrawTarget besides graph handles.
constexpr int kDrawTargetBackScreen = -2;
constexpr int kDrawTargetFrontScreen = -4;

// Blend modes for SetBlendMode.
enum BlendMode : int {
  kBlendNone = 0,
  kBlendAlpha = 1,
  kBlendAdd = 2,
  kBlendSubtract = 3,
  kBlendMultiply = 4,
};

// ---- Library, window and time ----
int InitLibrary();
int EndLibrary();         // also destroys the lock afterwards
int ProcessMessage();     // 0 go on, -1 quit
int ChangeWindowMode(int windowed);  // 1 window, 0 full screen
int SetWindowTitle(const char* text);
int SetRunWhileInactive(int flag);
std::uint32_t GetMilliseconds();     // the multimedia timer
int GetLocalDateTime(int out[6]);    // year, month, day, hour, minute, second
int WriteLog(const char* text);      // appends to the library's log; always -1, as its failure lines
// Appends a line to the log and, the first time the program reports that line, writes
// it on standard error: for what the user must hear of though no log be written. Each
// "%s" of `format` (the only conversion) takes the next argument, a name the file system
// spells (a path, a user): standard error shows it with its own bytes and the words
// around it in UTF-8, the log the whole line as the program spells it. -1.
int ReportProblem(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Sleeps the calling thread for that many milliseconds of the multimedia timer, without
// the library lock (the pump thread runs meanwhile). 0.
int SleepMilliseconds(int milliseconds);

// ---- Archives ----
int SetArchiveAccess(int flag);  // 1 = look into archives
int SetArchiveFileExtension(const char* extension);  // without the dot
int SetArchiveKey(const char* key);                  // null clears it

// ---- Random generator ----
int RandomInRange(int max);  // 0..max inclusive
int SeedRandom(std::uint32_t seed);

// ---- Input ----
int IsKeyDown(int key);        // scan code 0..255: 1 down, 0 up
int ReadPadBits(int input);    // pad 1..8, plus 0x1000 to merge the keyboard
int StartPadRumble(int pad, int power, int durationMs);  // power -1 keeps it; duration < 0: until stopped
int StopPadRumble(int pad);

// ---- Screen ----
int SetSyncToVBlank(int flag);
int GetScreenModeSize(int* width, int* height);  // either may be null
DDPIXELFORMAT* GetScreenDDPixelFormat();
std::uint32_t MakeScreenColor(int r, int g, int b);
int BuildPixelFormat(PixelFormat* out, int bits, std::uint32_t maskR, std::uint32_t maskG, std::uint32_t maskB,
                     std::uint32_t maskA);
int BuildDDPixelFormat(DDPIXELFORMAT* out, std::uint32_t bits, std::uint32_t maskR, std::uint32_t maskG,
                       std::uint32_t maskB, std::uint32_t maskA);
int PresentScreen();
int SetScreenMode(int width, int height, int colourBits, int refreshHz);
int SaveScreenToBmp(int x1, int y1, int x2, int y2, const char* file);

// ---- Graphs and drawing ----
int FreeGraph(int graph, int logFlag);
int LoadGraphFile(const char* file);
int LoadDivGraphFile(const char* file, int count, int xCount, int yCount, int tileWidth, int tileHeight,
                     int* handles);
int ClearDrawTarget();
int DrawGraphFileAt(int x, int y, const char* file, int transparent);
int DrawGraphAt(int x, int y, int graph, int transparent);
int DrawGraphRotated(int x, int y, double scale, double angle, int graph, int transparent, int mirror);
int DrawGraphMirrored(int x, int y, int graph, int transparent);
int DrawLineSegment(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawRect(int x1, int y1, int x2, int y2, std::uint32_t colour, int fill);
int DrawTextAt(int x, int y, const char* text, std::uint32_t colour, std::uint32_t edgeColour);
// Formats first (at most 1023 bytes, cut on a whole character), then draws with
// edge colour 0.
int DrawFormattedText(int x, int y, std::uint32_t colour, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
int SetBlendMode(int mode, int parameter);  // parameter 0..255
int SetDrawTarget(int target);
int SetClipRect(int x1, int y1, int x2, int y2);
int SetTransparentColor(int r, int g, int b);
int SetDitherMode(int mode);  // 0 none, 1 ordered, 2 error diffusion
int ClipRectangle(RECT* r, const RECT* clip);

// ---- Sound ----
int LoadSoundFile(const char* file, int bufferCount, int shareHandle);
int FreeSound(int sound, int unused);
int StartSound(int sound, int playType, int fromStart);  // 0 wait until finished, 1 background, 3 loop
int StopSound(int sound);
int IsSoundPlaying(int sound);  // 1 playing, 0 not, -1 bad handle
int SetSoundVolume(int volume, int sound);  // volume first, 0..255
