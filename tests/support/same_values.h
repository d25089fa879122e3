// Whether two pictures (pixels or bytes, in any indexable container) hold the same
// values: a difference says how many differ, where the first is and what it holds.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <ios>
#include <iterator>
#include <type_traits>

// A pixel or byte as the unsigned number it stores.
template <typename Value>
std::uint64_t StoredNumber(Value value) {
  return static_cast<std::make_unsigned_t<Value>>(value);
}

template <typename Got, typename Want>
::testing::AssertionResult SameValues(const Got& got, const Want& want, std::size_t rowLength = 0) {
  if (std::size(got) != std::size(want)) {
    return ::testing::AssertionFailure() << "sizes " << std::size(got) << " and " << std::size(want);
  }
  std::size_t differing = 0, first = 0;
  for (std::size_t i = 0; i < std::size(got); ++i) {
    if (got[i] != want[i] && differing++ == 0) first = i;
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  ::testing::Message where;
  where << differing << " of " << std::size(got) << " differ, the first at " << first;
  if (rowLength != 0) where << " (" << first % rowLength << ", " << first / rowLength << ")";
  return ::testing::AssertionFailure() << (where << std::hex << ": 0x" << StoredNumber(got[first]) << " for 0x"
                                               << StoredNumber(want[first]));
}
