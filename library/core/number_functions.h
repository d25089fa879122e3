// Number helpers. FloatToInt and DoubleToInt are the shared truncation of
// "float_to_int.h": toward zero, NaN or out of the int range gives INT_MIN.
#pragma once

#include "float_to_int.h"

void SinAndCos(float radians, float* sine, float* cosine);
int AbsInt(int value);
double AbsFloat(float value);
void DoubleToInt4(const double in[4], int out[4]);
float SqrtFloat(float value);
// Digits of value in radix 2..36 (lower-case letters above 9), "-" first for
// negatives, "0" for 0; an empty text for any other radix. The buffer needs 34 bytes
// for radix 2. Returns buffer.
char* IntToText(int value, char* buffer, int radix);
