// The calling thread's last-error code, as the stand-ins that report failures through
// it (GDI's BitBlt) leave it.
#pragma once

#include "kernel/win_types.h"

#define ERROR_INVALID_HANDLE 6u
#define ERROR_INVALID_PARAMETER 87u

DWORD GetLastError();
void SetLastError(DWORD code);
