#include "objects/drawn_terms.h"

#include "game_library.h"

float Evaluate(const Term& term) {
  if (term.bound < 0) return static_cast<float>(term.base);
  const int draw = RandomInRange(term.bound);
  const int second = term.bound2 >= 0 ? RandomInRange(term.bound2) : 0;
  if (term.whole) {
    const int value = DoubleToInt(term.base) + term.sign * (draw / term.divisor) + second;
    return static_cast<float>(value);
  }
  const double scaled = term.sign * ((draw / term.divisor) * term.factor);
  return static_cast<float>(term.base == 0.0 ? scaled : term.base + scaled);
}
