#include "core/string_functions.h"

#include <cstring>

#include "core/sjis.h"

namespace {

// Bytes taken by the character at text: 2 for a lead byte with its second byte,
// else 1 (a lead byte before the terminator stands alone).
int CharacterLength(const char* text) {
  return IsSjisLeadByte(static_cast<unsigned char>(text[0])) && text[1] != '\0' ? 2 : 1;
}

}  // namespace

void CopyString(char* destination, const char* source) { std::strcpy(destination, source); }

void AppendString(char* destination, const char* source) { std::strcat(destination, source); }

char* FindCharSjis(const char* text, char c) {
  for (const char* position = text; *position != '\0'; position += CharacterLength(position)) {
    if (*position == c) return const_cast<char*>(position);
  }
  return nullptr;
}

int CompareStrings(const char* a, const char* b) { return std::strcmp(a, b) == 0 ? 0 : 1; }

int CompareStringsN(const char* a, const char* b, int n) {
  if (n < 0) return 1;
  return std::strncmp(a, b, static_cast<std::size_t>(n)) == 0 ? 0 : 1;
}

void UpperCaseSjis(char* text) {
  for (char* position = text; *position != '\0';) {
    const int length = CharacterLength(position);
    if (length == 1 && *position >= 'a' && *position <= 'z') *position = static_cast<char>(*position - 'a' + 'A');
    position += length;
  }
}
