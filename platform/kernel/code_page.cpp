#include "kernel/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

// Opening a conversion loads its tables and costs more than converting a name. Each
// thread keeps the few it used open (a conversion holds a state of its own, so it
// is not shared), and a kept one starts every text from its initial state.
class OpenConversions {
 public:
  OpenConversions() = default;
  OpenConversions(const OpenConversions&) = delete;
  OpenConversions& operator=(const OpenConversions&) = delete;
  ~OpenConversions() {
    for (const Conversion& conversion : conversions_) iconv_close(conversion.cd);
  }

  iconv_t Get(const char* to, const char* from) {
    for (const Conversion& conversion : conversions_) {
      if (std::strcmp(conversion.to, to) == 0 && std::strcmp(conversion.from, from) == 0) {
        iconv(conversion.cd, nullptr, nullptr, nullptr, nullptr);
        return conversion.cd;
      }
    }
    const iconv_t cd = iconv_open(to, from);
    if (cd != kNoConversion) conversions_.push_back({to, from, cd});
    return cd;
  }

 private:
  struct Conversion {
    const char* to;  // the names are literals
    const char* from;
    iconv_t cd;
  };
  std::vector<Conversion> conversions_;
};

std::string Convert(const char* bytes, size_t length, const char* to, const char* from) {
  std::string out;
  if (bytes == nullptr) return out;
  thread_local OpenConversions conversions;
  const iconv_t cd = conversions.Get(to, from);
  if (cd == kNoConversion) return out;
  char* in = const_cast<char*>(bytes);
  size_t inLeft = length;
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
  return out;
}

std::string Convert(const char* text, const char* to, const char* from) {
  return text != nullptr ? Convert(text, std::strlen(text), to, from) : std::string();
}

}  // namespace

UINT GetOEMCP() { return 932; }
UINT GetACP() { return 932; }

std::string Cp932ToUtf8(const char* text) { return Convert(text, "UTF-8", "CP932"); }
std::string Utf8ToCp932(const char* text) { return Convert(text, "CP932", "UTF-8"); }

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int length, LPWSTR wide, int wideLength) {
  if ((codePage != CP_ACP && codePage != 932) || text == nullptr || length < -1 || wideLength < 0) return 0;
  const size_t bytes = length == -1 ? std::strlen(text) + 1 : static_cast<size_t>(length);
  const std::string utf16 = Convert(text, bytes, "UTF-16LE", "CP932");
  const size_t units = utf16.size() / sizeof(WCHAR);
  if (wideLength == 0) return static_cast<int>(units);
  if (wide == nullptr || units > static_cast<size_t>(wideLength)) return 0;
  for (size_t i = 0; i < units; ++i) {
    wide[i] = static_cast<WCHAR>(static_cast<unsigned char>(utf16[2 * i]) |
                                 (static_cast<unsigned char>(utf16[2 * i + 1]) << 8));
  }
  return static_cast<int>(units);
}

std::string WideToCp932(LPCWSTR wide) {
  if (wide == nullptr) return std::string();
  std::string utf16;
  for (const WCHAR* unit = wide; *unit != 0; ++unit) {
    utf16.push_back(static_cast<char>(*unit & 0xFF));
    utf16.push_back(static_cast<char>(*unit >> 8));
  }
  return Convert(utf16.data(), utf16.size(), "CP932", "UTF-16LE");
}
