// Arbitrary bytes through the Shift-JIS text walkers: line-end conversion of the
// log, bounded formatting, character search and upper-casing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/log.h"
#include "core/string_functions.h"
#include "core/text_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<char> text(data, data + size);
  text.push_back('\0');  // exact size: reading past the terminator is caught

  LogWrite(text.data());  // no log file is open: conversion and line splitting only
  FindCharSjis(text.data(), '\\');
  UpperCaseSjis(text.data());

  // A cut text never ends in the first half of a two-byte character.
  char small[17];
  FormatString(small, sizeof small, "%s", text.data());
  const std::size_t kept = std::strlen(small);
  if (std::strlen(text.data()) > kept && SjisWholeCharacterLength(small, kept) != kept) __builtin_trap();
  return 0;
}
