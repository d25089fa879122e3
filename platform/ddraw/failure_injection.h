// Failures injected by tests (DDrawTestFailCall in testing.h).
#pragma once

#include "kernel/win_types.h"
#include "testing.h"

// DD_OK when the call may go ahead, else the injected result.
HRESULT InjectedFailure(DDrawTestCall call, DWORD surfaceCaps = 0);

// Forgets every failure still waiting to happen.
void ClearInjectedFailures();
