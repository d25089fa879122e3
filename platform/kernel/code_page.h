// Code pages: the system's narrow text is Shift-JIS (code page 932); SDL speaks UTF-8.
#pragma once

#include <string>

#include "kernel/win_types.h"

#define CP_ACP 0u

// The OEM and ANSI code pages of this system: always 932.
UINT GetOEMCP();
UINT GetACP();

// Conversions between CP932 and UTF-8. Bytes that do not convert are dropped.
std::string Cp932ToUtf8(const char* text);
std::string Utf8ToCp932(const char* text);

// Narrow text of the ANSI code page (CP_ACP or 932) to UTF-16. `length` -1 takes the
// text up to and including its terminator. With `wideLength` 0 returns the WCHARs
// needed; else the WCHARs written, or 0 when they do not fit or the code page is
// another. Flags are ignored; bytes that do not convert are dropped.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide, int wideLength);

// UTF-16 text (up to its terminator) back to this system's narrow Shift-JIS text,
// which is also how file names are spelt on disk.
std::string WideToCp932(LPCWSTR wide);
