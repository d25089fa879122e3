// Graphics services that start-up, shut-down and the window call. Until the
// graphics subsystem exists, pending_services.cpp holds thin versions that
// succeed and keep only what their callers read back; that subsystem replaces them.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"

struct IDirectDraw7;

// ---- Screen mode and render switches ----
int GetSystemMemorySurfaceFlag();
int SetHardwareRenderFlag(int useHardware);
int IsSoftwareRenderMode();
int GetRequestedColorBitDepth();  // 16 while unset
int QueryScreenMode(int* width, int* height, int* bits);
int ChangeScreenMode(int width, int height, int bits, int force, int refresh);
int GetFlipToGdiMode();
int SetFlipToGdiMode(int flag);
int GetSyncToVBlank();
int SetupScreenPixelFormat();
int IsDisplayModeChanged();

// ---- DirectDraw object ----
int InitDirectDraw();
int TerminateDirectDraw();
IDirectDraw7* GetDirectDrawObject();

// ---- Draw state ----
int GetDrawTarget();
int GetClipRect(RECT* out);
int SetDefaultDrawArea(const RECT* area);

// ---- Restore after loss ----
int SetGraphRestoreHook(void (*hook)());
int IsGraphRestoreHookSet();
int RestoreAllGraphs();
int RecreateGraphicsObjects();
int RestoreAllSurface2D();
int RestoreAllSurface3DData();

// ---- Movies ----
int ResumeAllGraphMovies();
int PauseAllGraphMovies();
int ReleaseAllMovieObjects();

// ---- Start-up extras: the on-screen log and the first-frame warm-up ----
int InitScreenLog();
// Readies the drawing paths before the game's first frame, leaving both screens black.
int WarmUpDrawingPaths();
