// CP932 (Shift-JIS) to Unicode for the font stand-in, through iconv.
#pragma once

#include "kernel/win_types.h"

// A character code as GDI takes it (a single byte, or lead byte x 256 + trail byte) as
// a Unicode code point; 0 when CP932 has no such character.
char32_t Cp932CodeToUnicode(UINT code);
