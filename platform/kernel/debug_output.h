// The debugger output of the kernel stand-in: standard error, and only when the
// environment variable VANTOREL_DEBUG_OUTPUT is set to a non-empty value other than
// "0". Texts are Shift-JIS (code page 932) and are written as UTF-8.
#pragma once

#include "kernel/win_types.h"

void OutputDebugStringA(LPCSTR text);

// Why the program cannot go on, for the user who started it: one line on standard error
// after the program's name, unless the debugger output already carries it. The line is
// written as it is given (UTF-8 words, and names with their own bytes).
void ReportToStandardError(LPCSTR line);
