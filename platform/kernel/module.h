// Module handles: the program has one module and no resources in it.
#pragma once

#include "kernel/win_types.h"

HINSTANCE GetModuleHandleA(LPCSTR moduleName);
