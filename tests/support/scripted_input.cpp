#include "scripted_input.h"

namespace {

bool Scripted = false;
int ScriptedPadWord = 0;
bool ScriptedEscape = false;
bool ScriptedBackspace = false;

constexpr int kEscapeKey = 1;
constexpr int kBackspaceKey = 14;

}  // namespace

extern "C" {
int __real__Z11ReadPadBitsi(int input);
int __real__Z9IsKeyDowni(int key);

int __wrap__Z11ReadPadBitsi(int input) { return Scripted ? ScriptedPadWord : __real__Z11ReadPadBitsi(input); }

int __wrap__Z9IsKeyDowni(int key) {
  if (!Scripted) return __real__Z9IsKeyDowni(key);
  if (key == kEscapeKey) return ScriptedEscape ? 1 : 0;
  if (key == kBackspaceKey) return ScriptedBackspace ? 1 : 0;
  return 0;
}
}

void SetScriptedInput(int padWord, bool escape, bool backspace) {
  Scripted = true;
  ScriptedPadWord = padWord;
  ScriptedEscape = escape;
  ScriptedBackspace = backspace;
}
