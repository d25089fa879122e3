// Synchronisation of the kernel stand-in: critical sections, events and waits.
#pragma once

#include "kernel/win_types.h"

// A short, non-recursive mutual exclusion. The record only holds the stand-in's
// own lock object; it must be initialised before use and deleted after.
struct CRITICAL_SECTION {
  void* lock;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);

// Unnamed events only (the name must be NULL). Closed with CloseHandle.
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu

// Waits for an event (an auto-reset event is reset by the wait that it ends) or for a
// thread to end. `milliseconds` may be INFINITE or 0 (a test of the state).
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
