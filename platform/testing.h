// Controls for tests: what each stand-in lets a test see and steer. Nothing in the
// shipped program calls these.
#pragma once

#include <cstdint>

// ---- Virtual clock (kernel and winmm time) ----
// While it runs, timeGetTime (milliseconds = microseconds / 1000) and the
// performance counter (microseconds) read the virtual time, and every read advances
// it by the step afterwards. With a step of 1000 a busy-wait on the millisecond timer
// ends after as many reads as it waits milliseconds.
void TestClockStart(std::uint64_t startMicroseconds, std::uint64_t stepMicroseconds);
void TestClockSet(std::uint64_t microseconds);
void TestClockSetStep(std::uint64_t stepMicroseconds);
void TestClockStop();
// Reads of the virtual clock so far (a wait that spins on the timer reads it often).
std::uint64_t TestClockReads();

// ---- Sound device: manual stepping of the mixer, capabilities, forced failures ----
#include "dsound/sound_testing.h"
// ---- Built-in modules: forced LoadLibraryA / GetProcAddress failures ----
#include "kernel/module_loader.h"
// ---- Window and input ----------------------------------------------------------------
// The double-start check (on by default). Tests that start the library, or make the
// settings its start reads, switch it off first so that they can run side by side; off
// also gives up this process's claim on its working folder and its windows' marks.
void TestSetSingleInstanceCheck(int on);
// Where the double-start check looks for the user's runtime folder (nullptr: /run/user)
// and makes the user's own lock folder (nullptr: /tmp).
void TestSetLockFolderRoots(const char* runtime, const char* temporary);
// Makes CreateWindowExA fail.
void TestFailWindowCreation(int fail);
// Reports the desktop with this many bits per pixel (0: the real desktop).
void TestFakeDesktopBits(int bits);
// Holds a key (an SDL scancode) down or lets it go, as the keyboard would: the key
// state changes at once and the window receives the key message.
void TestSetKey(int scancode, int down);
// Types text (UTF-8) into the window, as the keyboard's text input would.
void TestTypeText(const char* utf8);
// The window gains (1) or loses (0) the focus, as the window manager would report it.
// May be called from any thread.
void TestSetWindowFocus(int focused);
// The user asks to close the window. May be called from any thread.
void TestRequestWindowClose();
// A virtual game pad for the pad stand-ins: returns its pad number (0-based, in the
// order the pads are found), or -1. Attach pads before the input system starts.
int TestAttachVirtualPad(int axes, int buttons, int gameController);
// Detaches every virtual pad; the next one attached is pad 0 again.
void TestDetachVirtualPads();
// Axis values -32768..32767; buttons 0/1.
void TestSetVirtualPadAxis(int pad, int axis, int value);
void TestSetVirtualPadButton(int pad, int button, int down);
// The last rumble asked of the pad: low- and high-frequency motor, 0..65535.
void TestGetVirtualPadRumble(int pad, int* low, int* high);
// Makes creating the DirectInput objects fail (version 7, version 8).
void TestFailDirectInput(int version7, int version8);
// Makes the keyboard's change notification fail.
void TestFailKeyboardNotification(int fail);
// ---- DirectDraw stand-in ----
#include <cstdint>
#include <vector>

#include "kernel/win_types.h"

struct IDirectDrawSurface7;

// An image read back for comparison: rows top to bottom, pixels as 0x00RRGGBB with each
// channel widened to 8 bits by bit replication.
struct DDrawTestImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// The current primary surface's whole contents (the desktop in window mode, the mode in
// full screen). False when no primary exists.
bool DDrawTestReadPrimary(DDrawTestImage* image);

// Presents so far, and (once capturing is on) the last frame as the window showed it,
// read back from the renderer after scaling.
unsigned DDrawTestPresentCount();
void DDrawTestCapturePresents(bool on);
bool DDrawTestLastPresentedFrame(DDrawTestImage* image);

// A desktop of the given size and storage depth (16, 24 or 32) instead of SDL's; width 0
// goes back to SDL's. 16-bit desktops and modes are RGB565, or X1R5G5B5 with UseRgb555.
void DDrawTestFakeDesktop(int width, int height, int bits);
void DDrawTestUseRgb555(bool on);

// The video memory budget (64 MiB unless set); surfaces asked for in video memory fail
// with DDERR_OUTOFVIDEOMEMORY beyond it.
void DDrawTestSetVideoMemory(DWORD bytes);

// Calls whose failures tests can inject. After `skip` calls that pass, the next `count`
// calls fail with `result` (BitBlt returns FALSE). With `surfaceCaps` only calls on (or
// creating) surfaces whose caps contain all those bits count.
enum class DDrawTestCall {
  CreateObject,
  Initialize,
  SetCooperativeLevel,
  SetDisplayMode,
  CreateClipper,
  SetHWnd,
  CreatePalette,
  CreateSurface,
  GetAttachedSurface,
  AddAttachedSurface,
  Lock,
  Blt,
  BltFast,
  GetDC,
  BitBlt,
  SetColorKey,
  QueryInterface,
};
void DDrawTestFailCall(DDrawTestCall call, int skip, int count, HRESULT result, DWORD surfaceCaps = 0);

// Every Lock hands out a freshly allocated copy of the pixels and frees the old block, so
// a pointer kept past Unlock reads freed memory (caught by the address sanitizer).
void DDrawTestSetMovingLocks(bool on);

// Surface loss: one surface, or every video-memory surface as a display change would.
// Restore then gives back cleared pixels.
void DDrawTestLoseSurface(IDirectDrawSurface7* surface);
void DDrawTestLoseVideoMemorySurfaces();

// Calls made on objects that died with their DirectDraw object (a released clipper kept
// and used again, for instance).
int DDrawTestDeadObjectUses();

// Vertical blank: Auto is headless under SDL's dummy or offscreen video, real time
// otherwise. The manual raster clock starts at 0, moves only when advanced or waited on
// (a wait jumps it to the awaited moment), and makes real-time waits instant.
enum class DDrawVBlankMode { Auto, RealTime, NoWait };
void DDrawTestSetVBlankMode(DDrawVBlankMode mode);
void DDrawTestUseManualRasterClock(bool on);
void DDrawTestAdvanceRasterClock(std::int64_t microseconds);
std::int64_t DDrawTestRasterClock();

// Every DirectDraw hook above back to how a process starts: SDL's desktop in RGB565, the
// default video memory, no failures waiting, plain locks, no capture, the vertical blank
// chosen by the video driver on the real clock. Tests that set hooks call it when done.
void DDrawTestResetHooks();

// ---- GDI font stand-in ----
#include <string>

struct HFONT__;

// Font calls whose failures tests can inject: after `skip` calls that pass, the next
// `count` calls fail (NULL, or GDI_ERROR for GetGlyphOutlineA).
enum class GdiTestCall { CreateFontA, CreateCompatibleDC, GetGlyphOutlineA };
void GdiTestFailCall(GdiTestCall call, int skip, int count);

// Fonts and memory contexts alive now (to check that nothing leaks).
int GdiTestLiveFontObjects();

// The font file a font was made from ("" for anything else).
std::string GdiTestFontFile(HFONT__* font);
#include <cstdint>

// ---- Virtual clock (kernel and winmm time) ----
// While it runs, timeGetTime (milliseconds = microseconds / 1000) and the
// performance counter (microseconds) read the virtual time, and every read advances
// it by the step afterwards. With a step of 1000 a busy-wait on the millisecond timer
// ends after as many reads as it waits milliseconds.
void TestClockStart(std::uint64_t startMicroseconds, std::uint64_t stepMicroseconds);
void TestClockSet(std::uint64_t microseconds);
void TestClockSetStep(std::uint64_t stepMicroseconds);
void TestClockStop();

// ---- Direct3D stand-in ----
#include "ddraw/ddraw_types.h"

// The device and Direct3D calls the log records and failure injection can target.
enum class D3DTestCall {
  EnumDevices,
  CreateDevice,
  BeginScene,
  EndScene,
  SetRenderTarget,
  SetViewport,
  SetTransform,
  SetRenderState,
  SetTextureStageState,
  SetTexture,
  DrawPrimitive,
  DrawIndexedPrimitive,
  Load,
};

// One call as made (also when it then failed). Arguments: SetRenderState (state, value);
// SetTextureStageState (stage, state, value); SetTexture (stage, surface address);
// SetRenderTarget (surface address); SetViewport (x, y, width, height packed as
// x | y << 32, width | height << 32); SetTransform (state); DrawPrimitive (type, vertex
// format, vertex count); DrawIndexedPrimitive (type, vertex format, index count).
struct D3DTestCallRecord {
  D3DTestCall call;
  std::uint64_t arguments[3];
};

// Starts a fresh log (on) or stops logging (off); the log keeps what was recorded.
void D3DTestRecordCalls(bool on);
std::vector<D3DTestCallRecord> D3DTestCallLog();

// After `skip` calls that pass, the next `count` calls fail with `result`.
void D3DTestFailCall(D3DTestCall call, int skip, int count, HRESULT result);

// The texture formats EnumTextureFormats offers, in order (empty: the stand-in's own six).
void D3DTestOfferTextureFormats(const std::vector<DDPIXELFORMAT>& formats);

// Every draw takes the general pixel path instead of a specialised one (for comparing
// the two); and how many draw calls took a specialised one so far.
void D3DTestUseGeneralPathOnly(bool on);
int D3DTestSpecialisedDraws();

// The specialised routines use SSE2 even where the processor has AVX2.
void D3DTestUseSse2Only(bool on);

// Draws visit the pixels over transparent texels too, as they did before those were
// skipped (for comparing the two).
void D3DTestVisitTransparentTexels(bool on);
