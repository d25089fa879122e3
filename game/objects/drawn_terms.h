// A field value of a template table: a constant, or a constant plus or minus one
// random draw (optionally divided as whole numbers, then scaled), plus an optional
// second draw. Whole-number terms are computed as integers, scaled ones in double.
#pragma once

struct Term {
  bool written = false;
  bool whole = true;
  double base = 0.0;
  int bound = -1;  // R(bound) is drawn when bound >= 0
  int sign = 1;
  int divisor = 1;
  double factor = 1.0;
  int bound2 = -1;  // a second draw, added
};

constexpr Term Constant(double value) { return {true, false, value}; }
// base + sign x R(bound) / divisor (+ R(bound2)), all whole numbers.
constexpr Term WholeDraw(int base, int bound, int sign = 1, int divisor = 1, int bound2 = -1) {
  return {true, true, static_cast<double>(base), bound, sign, divisor, 1.0, bound2};
}
// base + sign x (R(bound) / divisor) x factor, in double; a base of 0.0 adds nothing.
constexpr Term ScaledDraw(double base, int bound, int sign, double factor, int divisor = 1) {
  return {true, false, base, bound, sign, divisor, factor};
}

// Makes the term's draws and returns its value as the field stores it.
float Evaluate(const Term& term);
