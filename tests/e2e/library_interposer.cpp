// The linker sends the game's calls of these entry points here (--wrap), and the
// __real_ names reach the library.
#include "library_interposer.h"

#include <cstdint>

namespace {

int ScriptedPadWord = 0;
bool ScriptedEscape = false;
bool ScriptedBackspace = false;
int DrawsSinceSeed = 0;

constexpr int kEscapeKey = 1;
constexpr int kBackspaceKey = 14;

}  // namespace

extern "C" {
int __real__Z13RandomInRangei(int max);
int __real__Z10SeedRandomj(std::uint32_t seed);

int __wrap__Z11ReadPadBitsi(int) { return ScriptedPadWord; }

int __wrap__Z9IsKeyDowni(int key) {
  if (key == kEscapeKey) return ScriptedEscape ? 1 : 0;
  if (key == kBackspaceKey) return ScriptedBackspace ? 1 : 0;
  return 0;
}

int __wrap__Z13RandomInRangei(int max) {
  ++DrawsSinceSeed;
  return __real__Z13RandomInRangei(max);
}

int __wrap__Z10SeedRandomj(std::uint32_t seed) {
  DrawsSinceSeed = 0;
  return __real__Z10SeedRandomj(seed);
}
}

void SetScriptedInput(int padWord, bool escape, bool backspace) {
  ScriptedPadWord = padWord;
  ScriptedEscape = escape;
  ScriptedBackspace = backspace;
}

int RandomDrawsSinceSeed() { return DrawsSinceSeed; }
