#include "gdi/cp932_code.h"

#include <iconv.h>

#include <cstdint>

char32_t Cp932CodeToUnicode(UINT code) {
  if (code == 0 || code > 0xFFFF) return 0;
  char bytes[2];
  std::size_t length = 0;
  if (code > 0xFF) bytes[length++] = static_cast<char>(code >> 8);
  bytes[length++] = static_cast<char>(code & 0xFF);
  iconv_t converter = ::iconv_open("UTF-32LE", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return 0;
  unsigned char utf32[8];
  char* in = bytes;
  char* out = reinterpret_cast<char*>(utf32);
  std::size_t outLeft = sizeof utf32;
  // The whole code must be one character: a lone lead byte or a bad trail byte is none.
  const std::size_t result = ::iconv(converter, &in, &length, &out, &outLeft);
  ::iconv_close(converter);
  if (result == static_cast<std::size_t>(-1) || length != 0 || outLeft != sizeof utf32 - 4) return 0;
  return static_cast<char32_t>(utf32[0] | utf32[1] << 8 | utf32[2] << 16 | static_cast<std::uint32_t>(utf32[3]) << 24);
}

