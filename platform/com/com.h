// COM as the stand-ins use it: the base interface with its reference count, per-thread
// initialisation and class creation by class identifier.
#pragma once

#include "kernel/win_types.h"

#define CLSCTX_INPROC_SERVER 0x1u
#define CLSCTX_INPROC_HANDLER 0x2u
#define CLSCTX_LOCAL_SERVER 0x4u

extern const IID IID_IUnknown;

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

// S_OK for the thread's first call, S_FALSE for each further one.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();

// Creates an object of a class the stand-ins provide (see com_classes.cpp).
// CO_E_NOTINITIALIZED before CoInitialize on this thread, CLASS_E_NOAGGREGATION with an
// outer object, REGDB_E_CLASSNOTREG for a class no stand-in provides.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* object);
