// The debugger output of the kernel stand-in: standard error, and only when the
// environment variable VANTOREL_DEBUG_OUTPUT is set to a non-empty value other than
// "0". Texts are Shift-JIS (code page 932) and are written as UTF-8.
#pragma once

#include "kernel/win_types.h"

void OutputDebugStringA(LPCSTR text);

// Why the program cannot go on, for the user who started it: one line on standard error
// (UTF-8, after the program's name), unless the debugger output already carries it.
void ReportToStandardError(LPCSTR text);
