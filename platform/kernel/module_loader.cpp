#include "kernel/module_loader.h"

#include <strings.h>

#include <atomic>
#include <cstring>

#include "dsound/dsound.h"

struct HMODULE__ {
  const char* name;
  const char* const* exportNames;
  const FARPROC* exports;
  int exportCount;
};

namespace {

const char* const kDsoundExportNames[] = {"DirectSoundEnumerateA"};
// Exports are stored untyped; the caller casts back to the function's own type.
template <typename Function>
FARPROC Export(Function* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

const FARPROC kDsoundExports[] = {Export(&DirectSoundEnumerateA)};

HMODULE__ kModules[] = {
    {"DSOUND.DLL", kDsoundExportNames, kDsoundExports, 1},
};

std::atomic<bool> g_failLoad{false};
std::atomic<bool> g_failProc{false};

}  // namespace

HMODULE LoadLibraryA(LPCSTR name) {
  if (name == nullptr || g_failLoad.exchange(false)) return nullptr;
  for (HMODULE__& module : kModules) {
    if (strcasecmp(module.name, name) == 0) return &module;
  }
  return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  if (module == nullptr || name == nullptr || g_failProc.exchange(false)) return nullptr;
  for (int i = 0; i < module->exportCount; ++i) {
    if (std::strcmp(module->exportNames[i], name) == 0) return module->exports[i];
  }
  return nullptr;
}

BOOL FreeLibrary(HMODULE module) { return module != nullptr ? TRUE : FALSE; }

void FailNextModuleCall(int load, int proc) {
  g_failLoad = load != 0;
  g_failProc = proc != 0;
}
