#include "core/text_format.h"

#include <cstdio>

#include "core/sjis.h"

std::size_t SjisWholeCharacterLength(const char* text, std::size_t length) {
  std::size_t position = 0;
  while (position < length) {
    const std::size_t step = IsSjisLeadByte(static_cast<unsigned char>(text[position])) ? 2 : 1;
    if (position + step > length) break;
    position += step;
  }
  return position;
}

int FormatStringV(char* buffer, std::size_t size, const char* format, va_list arguments) {
  if (buffer == nullptr || size == 0) return 0;
  const int wanted = std::vsnprintf(buffer, size, format, arguments);
  if (wanted < 0) {
    buffer[0] = '\0';
    return 0;
  }
  if (static_cast<std::size_t>(wanted) < size) return wanted;
  const std::size_t kept = SjisWholeCharacterLength(buffer, size - 1);
  buffer[kept] = '\0';
  return static_cast<int>(kept);
}

int FormatString(char* buffer, std::size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  FormatStringV(buffer, size, format, arguments);
  va_end(arguments);
  return 0;
}
