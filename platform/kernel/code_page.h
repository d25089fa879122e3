// Code pages: the system's narrow text is Shift-JIS (code page 932); SDL speaks UTF-8.
#pragma once

#include <string>

#include "kernel/win_types.h"

// The OEM and ANSI code pages of this system: always 932.
UINT GetOEMCP();
UINT GetACP();

// Conversions between CP932 and UTF-8. Bytes that do not convert are dropped.
std::string Cp932ToUtf8(const char* text);
std::string Utf8ToCp932(const char* text);
