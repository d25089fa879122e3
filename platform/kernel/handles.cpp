#include "kernel/handles.h"

#include "kernel/kernel_object.h"

BOOL CloseHandle(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return FALSE;
  static_cast<KernelObject*>(handle)->Release();
  return TRUE;
}
