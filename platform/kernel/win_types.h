// Plain Win32 value types and constants shared by the stand-ins and the library.
#pragma once

#include <cstddef>
#include <cstdint>

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef std::int32_t BOOL;
typedef unsigned int UINT;
typedef std::int32_t HRESULT;
typedef char CHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef std::int64_t LONGLONG;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef std::size_t SIZE_T;
typedef DWORD* LPDWORD;
typedef LONG* PLONG;
// UTF-16 text, as the wide-character calls take it.
typedef char16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)))
#define INFINITE 0xFFFFFFFFu
#define MAX_PATH 260

// Security attributes and overlapped I/O are never used: callers pass NULL.
struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

#define S_OK static_cast<HRESULT>(0)
#define S_FALSE static_cast<HRESULT>(1)
#define E_FAIL static_cast<HRESULT>(0x80004005u)
#define E_OUTOFMEMORY static_cast<HRESULT>(0x8007000Eu)
#define E_INVALIDARG static_cast<HRESULT>(0x80070057u)
#define E_NOTIMPL static_cast<HRESULT>(0x80004001u)
#define E_NOINTERFACE static_cast<HRESULT>(0x80004002u)
#define E_UNEXPECTED static_cast<HRESULT>(0x8000FFFFu)
#define CO_E_NOTINITIALIZED static_cast<HRESULT>(0x800401F0u)
#define CLASS_E_NOAGGREGATION static_cast<HRESULT>(0x80040110u)
#define REGDB_E_CLASSNOTREG static_cast<HRESULT>(0x80040154u)
#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

// Interface and class identifiers of the COM-style stand-ins.
struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.Data4[i] != b.Data4[i]) return false;
  }
  return true;
}

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
typedef RECT* LPRECT;

struct POINT {
  LONG x;
  LONG y;
};

struct SIZE {
  LONG cx;
  LONG cy;
};

union LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
};

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

// Handles of the window, GDI and module stand-ins.
typedef std::uint16_t ATOM;
typedef std::uintptr_t UINT_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t DWORD_PTR;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
struct HICON__;
typedef HICON__* HICON;
struct HCURSOR__;
typedef HCURSOR__* HCURSOR;
// GDI objects (stock brushes, fonts) share one base, so that any of them is an HGDIOBJ.
struct HGDIOBJ__ {};
typedef HGDIOBJ__* HGDIOBJ;
typedef HGDIOBJ HBRUSH;
struct HDC__;
typedef HDC__* HDC;
struct IUnknown;
typedef IUnknown* LPUNKNOWN;
