#include "graphics/graphics_fatal.h"

#include "core/library_startup.h"

namespace {
void (*g_fatalHook)(const char*) = nullptr;
}

int GraphicsFatalError(const char* text) {
  if (g_fatalHook == nullptr) FatalErrorExit(text);
  g_fatalHook(text);
  return -1;
}

void SetGraphicsFatalHookForTest(void (*hook)(const char*)) { g_fatalHook = hook; }
