#include "kernel/last_error.h"

namespace {

thread_local DWORD g_lastError = 0;

}  // namespace

DWORD GetLastError() { return g_lastError; }

void SetLastError(DWORD code) { g_lastError = code; }
