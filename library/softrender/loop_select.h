// Turning the per-draw choices (pixel kind, source form, blend operation, flags)
// into compile-time template arguments once per draw: each helper calls f with the
// matching std::integral_constant, so a kernel names its whole family of loops in
// one expression and every branch yields the same loop-pointer type.
#pragma once

#include <type_traits>

template <class F>
decltype(auto) ChooseBool(bool value, F&& f) {
  if (value) return f(std::true_type{});
  return f(std::false_type{});
}

// Calls f with integral_constant<int, v> for the v among Values that equals value;
// the last of Values when none does (callers list only values they have checked).
template <int First, int... Rest, class F>
decltype(auto) ChooseInt(int value, F&& f) {
  if constexpr (sizeof...(Rest) == 0) {
    return f(std::integral_constant<int, First>{});
  } else {
    if (value == First) return f(std::integral_constant<int, First>{});
    return ChooseInt<Rest...>(value, f);
  }
}
