// Formatting into fixed buffers, bounded: a text that does not fit is cut so that
// it ends on a whole character (never between the two bytes of a Shift-JIS
// character) and is always terminated.
#pragma once

#include <cstdarg>
#include <cstddef>

// Returns the number of bytes placed in the buffer (without the terminator).
int FormatStringV(char* buffer, std::size_t size, const char* format, va_list arguments);
// Returns 0.
int FormatString(char* buffer, std::size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));

// The length of the longest prefix of text[0..length) that ends on a character
// boundary: a final lead byte without its second byte is left out.
std::size_t SjisWholeCharacterLength(const char* text, std::size_t length);
