// Library start-up and shut-down in their fixed order, the fatal-error exit and COM.
// The workers InitLibraryBody and EndLibraryBody are declared in core/window_workers.h.
#pragma once

int IsLibraryInitialised();
int IsLibraryInitialising();

// Logs the text, shuts the library down and ends the process with status 255. On a
// thread other than the one that started the library it only logs and ends.
[[noreturn]] void FatalErrorExit(const char* text);
[[noreturn]] void FatalErrorExitFmt(const char* format, ...) __attribute__((format(printf, 1, 2)));

// 0, or -1 when the library already started COM or COM fails.
int StartCom();

// Graphics start with the main window: DirectDraw, or on its failure software
// rendering; a second failure is fatal. -1 when graphics are already started.
int StartGraphicsSystem();
int EndGraphicsSystem();
