// Modules and their exported functions. The stand-in loads no files: LoadLibraryA
// finds a module among the ones built into the platform layer, by name in any case.
#pragma once

#include "kernel/win_types.h"

struct HMODULE__;  // a module built into the platform layer
typedef HMODULE__* HMODULE;
typedef std::intptr_t (*FARPROC)();

HMODULE LoadLibraryA(LPCSTR name);  // null when no such module
FARPROC GetProcAddress(HMODULE module, LPCSTR name);  // null when it has no such export
BOOL FreeLibrary(HMODULE module);

// Test control: the next LoadLibraryA (with `load`) or GetProcAddress (with `proc`)
// fails once.
void FailNextModuleCall(int load, int proc);
