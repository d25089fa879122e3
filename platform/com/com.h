// COM: start and end per thread, and objects of the stand-ins' classes by class id.
#pragma once

#include "kernel/win_types.h"

#define CLSCTX_INPROC_SERVER 0x1u
#define CO_E_NOTINITIALIZED static_cast<HRESULT>(0x800401F0u)
#define REGDB_E_CLASSNOTREG static_cast<HRESULT>(0x80040154u)
#define CLASS_E_NOAGGREGATION static_cast<HRESULT>(0x80040110u)

// S_OK the first time on a thread, S_FALSE when COM was already started on it.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
// Fails with CO_E_NOTINITIALIZED on a thread that has not started COM.
HRESULT CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID interfaceId, LPVOID* object);
