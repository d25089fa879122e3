// Shift-JIS: a lead byte 0x81-0x9F or 0xE0-0xFC starts a two-byte character, whose
// second byte is never a character of its own. Every text walker in the library
// uses this test, and stops at the terminator even right after a lead byte.
#pragma once

inline bool IsSjisLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
