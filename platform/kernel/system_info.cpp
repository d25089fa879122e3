#include "kernel/system_info.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <cstdio>

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  if (status == nullptr) return;
  struct sysinfo info {};
  if (sysinfo(&info) != 0) {
    *status = MEMORYSTATUS{0, 0};
    return;
  }
  status->dwTotalPhys = static_cast<SIZE_T>(info.totalram) * info.mem_unit;
  status->dwAvailPhys = static_cast<SIZE_T>(info.freeram) * info.mem_unit;
}

const char* GetOsVersionText() {
  static char text[3 * 65 + 8];
  struct utsname name {};
  if (uname(&name) != 0) return "";
  std::snprintf(text, sizeof(text), "%s %s %s", name.sysname, name.release, name.version);
  return text;
}
