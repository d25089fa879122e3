#include "core/character_input.h"

#include "core/log.h"
#include "core/tracked_alloc.h"
#include "graphics/graphics_workers.h"
#include "window/window.h"

namespace {

struct CharacterRing {
  unsigned char bytes[kInputCharRingSlots];
  int read;
  int write;
};
CharacterRing g_ring;

struct ControlKey {
  int virtualKey;
  unsigned char character;
};
constexpr ControlKey kControlKeys[] = {
    {VK_DELETE, 0x10}, {VK_LEFT, 0x1D}, {VK_RIGHT, 0x1C}, {VK_UP, 0x1E}, {VK_DOWN, 0x1F},
};

constexpr int kKeyInputSlots = 20;
constexpr int kKeyInputColours = 9;

struct KeyInputRecord {
  int used;
  char* text;
};

struct KeyInputState {
  KeyInputRecord records[kKeyInputSlots];
  int activeHandle;
  int previousActiveHandle;
  std::uint32_t colours[kKeyInputColours];
  std::uint32_t blinkLastTime;
  int blinkPeriod;
  int cursorVisible;
};
KeyInputState g_keyInput;
int g_characterSetMode = 1;

int Advance(int index) { return index + 1 == kInputCharRingSlots ? 0 : index + 1; }

}  // namespace

bool IsInputCharRingFull() { return Advance(g_ring.write) == g_ring.read; }

int PushInputChar(unsigned char c) {
  if (IsInputCharRingFull()) return -1;
  g_ring.bytes[g_ring.write] = c;
  g_ring.write = Advance(g_ring.write);
  return 0;
}

int TakeInputChar() {
  if (g_ring.read == g_ring.write) return -1;
  const int c = g_ring.bytes[g_ring.read];
  g_ring.read = Advance(g_ring.read);
  return c;
}

int ControlCharacterOfKey(int virtualKey) {
  for (const ControlKey& key : kControlKeys) {
    if (key.virtualKey == virtualKey) return key.character;
  }
  return 0;
}

void SetCharacterSetMode(int mode) { g_characterSetMode = mode; }
int GetCharacterSetMode() { return g_characterSetMode; }

int InitKeyInputSystem() {
  LogWrite("文字コードバッファの初期化を行います... ");
  g_keyInput = KeyInputState{};
  g_ring = CharacterRing{};
  constexpr int kColours[kKeyInputColours][3] = {
      {255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {0, 255, 255}, {255, 255, 255},
      {255, 0, 0},     {255, 255, 20}, {0, 0, 0},      {0, 0, 0},
  };
  for (int i = 0; i < kKeyInputColours; ++i) {
    g_keyInput.colours[i] = MakeScreenColorBody(kColours[i][0], kColours[i][1], kColours[i][2]);
  }
  g_keyInput.activeHandle = -1;
  g_keyInput.previousActiveHandle = -1;
  g_keyInput.blinkLastTime = 0;
  g_keyInput.blinkPeriod = 500;
  g_keyInput.cursorVisible = 1;
  LogWrite("完了しました\n");
  return 0;
}

int FreeAllKeyInputs() {
  for (KeyInputRecord& record : g_keyInput.records) {
    if (!record.used) continue;
    TrackedFree(record.text);
    record = KeyInputRecord{};
  }
  g_keyInput.activeHandle = -1;
  return 0;
}

bool IsImeMessage(UINT message) {
  return message == WM_IME_STARTCOMPOSITION || message == WM_IME_ENDCOMPOSITION || message == WM_IME_COMPOSITION ||
         (message >= WM_IME_SETCONTEXT && message <= WM_IME_KEYUP);
}

LRESULT HandleImeMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }
