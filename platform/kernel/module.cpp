#include "kernel/module.h"

struct HINSTANCE__ {};

HINSTANCE GetModuleHandleA(LPCSTR moduleName) {
  static HINSTANCE__ program;
  return moduleName == nullptr ? &program : nullptr;
}
