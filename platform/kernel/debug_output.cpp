#include "kernel/debug_output.h"

#include <iconv.h>

#include <cerrno>
#include <errno.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool DebugOutputWanted() {
  static const bool wanted = [] {
    const char* value = std::getenv("VANTOREL_DEBUG_OUTPUT");
    return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
  }();
  return wanted;
}

// Converts as much as iconv accepts; an invalid byte is passed through as "?".
std::string ToUtf8(const char* text) {
  std::string out;
  iconv_t converter = ::iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return text;
  char* in = const_cast<char*>(text);
  std::size_t inLeft = std::strlen(text);
  char chunk[256];
  while (inLeft > 0) {
    char* outPosition = chunk;
    std::size_t outLeft = sizeof chunk;
    const std::size_t result = ::iconv(converter, &in, &inLeft, &outPosition, &outLeft);
    out.append(chunk, sizeof chunk - outLeft);
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out += '?';
      ++in;
      --inLeft;
    }
  }
  ::iconv_close(converter);
  return out;
}

}  // namespace

void ReportToStandardError(LPCSTR line) {
  if (line == nullptr || DebugOutputWanted()) return;
  std::size_t length = std::strlen(line);
  while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) --length;
  std::fprintf(stderr, "%s: %.*s\n", program_invocation_short_name, static_cast<int>(length), line);
}

void OutputDebugStringA(LPCSTR text) {
  if (text == nullptr || !DebugOutputWanted()) return;
  const std::string converted = ToUtf8(text);
  std::fwrite(converted.data(), 1, converted.size(), stderr);
}
