// Handles of the kernel stand-in: events, threads and files are all closed here.
#pragma once

#include "kernel/win_types.h"

BOOL CloseHandle(HANDLE handle);
