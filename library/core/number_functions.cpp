#include "core/number_functions.h"

#include <cmath>

void SinAndCos(float radians, float* sine, float* cosine) { ::sincosf(radians, sine, cosine); }

// INT_MIN stays INT_MIN, as the processor gives it.
int AbsInt(int value) { return value < 0 ? static_cast<int>(0u - static_cast<unsigned>(value)) : value; }

double AbsFloat(float value) { return std::fabs(static_cast<double>(value)); }

void DoubleToInt4(const double in[4], int out[4]) {
  for (int i = 0; i < 4; ++i) out[i] = DoubleToInt(in[i]);
}

float SqrtFloat(float value) { return std::sqrt(value); }

char* IntToText(int value, char* buffer, int radix) {
  buffer[0] = '\0';
  if (radix < 2 || radix > 36) return buffer;
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  char digits[32];
  int count = 0;
  do {
    const unsigned digit = magnitude % static_cast<unsigned>(radix);
    digits[count++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
    magnitude /= static_cast<unsigned>(radix);
  } while (magnitude != 0);
  char* out = buffer;
  if (value < 0) *out++ = '-';
  while (count > 0) *out++ = digits[--count];
  *out = '\0';
  return buffer;
}
