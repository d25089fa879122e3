// COM object creation. The stand-in keeps no apartment state: a class is created
// from its class identifier through the table in co_create_instance.cpp.
#pragma once

#include "kernel/win_types.h"

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
typedef GUID CLSID;
typedef GUID IID;
typedef GUID* LPGUID;
typedef const GUID& REFCLSID;
typedef const GUID& REFIID;

bool IsEqualGUID(const GUID& a, const GUID& b);

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4

#define E_NOINTERFACE static_cast<HRESULT>(0x80004002u)
#define E_POINTER static_cast<HRESULT>(0x80004003u)
#define CLASS_E_NOAGGREGATION static_cast<HRESULT>(0x80040110u)
#define REGDB_E_CLASSNOTREG static_cast<HRESULT>(0x80040154u)

// Creates the object of class `clsid` and gives its `iid` interface in *object.
HRESULT CoCreateInstance(REFCLSID clsid, void* outer, DWORD context, REFIID iid, void** object);
