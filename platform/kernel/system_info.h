// Facts about the machine for the library's system log.
#pragma once

#include "kernel/win_types.h"

struct MEMORYSTATUS {
  SIZE_T dwTotalPhys;
  SIZE_T dwAvailPhys;
};
void GlobalMemoryStatus(MEMORYSTATUS* status);

// The operating system's name, release and version, as one line of text.
const char* GetOsVersionText();
