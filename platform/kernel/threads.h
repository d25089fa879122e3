// Threads of the kernel stand-in. A thread handle is signalled when its procedure
// returns; closing the handle does not stop the thread.
#pragma once

#include "kernel/win_types.h"

typedef DWORD (*LPTHREAD_START_ROUTINE)(LPVOID parameter);

// Creation flags are not supported (pass 0). Returns NULL on failure.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize, LPTHREAD_START_ROUTINE startAddress,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
// Never 0 and never 0xFFFFFFFF: the library uses both as "no thread".
DWORD GetCurrentThreadId();
// Sleep(0) gives up the rest of the time slice.
void Sleep(DWORD milliseconds);
