#include "kernel/code_page.h"

#include <iconv.h>

#include <cerrno>

#include <cstring>

namespace {

std::string Convert(const char* text, const char* to, const char* from) {
  std::string out;
  if (text == nullptr) return out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  char* in = const_cast<char*>(text);
  size_t inLeft = std::strlen(text);
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof(buffer);
    size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr);
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      // An invalid or truncated sequence: drop one byte and go on.
      ++in;
      --inLeft;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

UINT GetOEMCP() { return 932; }
UINT GetACP() { return 932; }

std::string Cp932ToUtf8(const char* text) { return Convert(text, "UTF-8", "CP932"); }
std::string Utf8ToCp932(const char* text) { return Convert(text, "CP932", "UTF-8"); }
