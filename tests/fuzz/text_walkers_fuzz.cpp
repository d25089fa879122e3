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

  char small[17];
  FormatString(small, sizeof small, "%s", text.data());
  if (SjisWholeCharacterLength(small, std::strlen(small)) != std::strlen(small)) __builtin_trap();
  return 0;
}
