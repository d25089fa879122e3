// Keys by SDL scancode and by Windows virtual key.
#include "window/keyboard.h"

#include <SDL2/SDL.h>

#include <array>
#include <atomic>

namespace {

struct ScancodeKey {
  SDL_Scancode scancode;
  BYTE virtualKey;
};

// Positions of a US keyboard, and the keys a Japanese keyboard adds.
constexpr ScancodeKey kVirtualKeys[] = {
    {SDL_SCANCODE_BACKSPACE, 0x08}, {SDL_SCANCODE_TAB, 0x09}, {SDL_SCANCODE_RETURN, 0x0D},
    {SDL_SCANCODE_KP_ENTER, 0x0D}, {SDL_SCANCODE_PAUSE, 0x13}, {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_ESCAPE, 0x1B}, {SDL_SCANCODE_SPACE, 0x20}, {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_PAGEDOWN, 0x22}, {SDL_SCANCODE_END, 0x23}, {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_LEFT, 0x25}, {SDL_SCANCODE_UP, 0x26}, {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_DOWN, 0x28}, {SDL_SCANCODE_PRINTSCREEN, 0x2C}, {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_DELETE, 0x2E}, {SDL_SCANCODE_0, 0x30}, {SDL_SCANCODE_1, 0x31},
    {SDL_SCANCODE_2, 0x32}, {SDL_SCANCODE_3, 0x33}, {SDL_SCANCODE_4, 0x34},
    {SDL_SCANCODE_5, 0x35}, {SDL_SCANCODE_6, 0x36}, {SDL_SCANCODE_7, 0x37},
    {SDL_SCANCODE_8, 0x38}, {SDL_SCANCODE_9, 0x39}, {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RGUI, 0x5C}, {SDL_SCANCODE_APPLICATION, 0x5D}, {SDL_SCANCODE_KP_0, 0x60},
    {SDL_SCANCODE_KP_1, 0x61}, {SDL_SCANCODE_KP_2, 0x62}, {SDL_SCANCODE_KP_3, 0x63},
    {SDL_SCANCODE_KP_4, 0x64}, {SDL_SCANCODE_KP_5, 0x65}, {SDL_SCANCODE_KP_6, 0x66},
    {SDL_SCANCODE_KP_7, 0x67}, {SDL_SCANCODE_KP_8, 0x68}, {SDL_SCANCODE_KP_9, 0x69},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A}, {SDL_SCANCODE_KP_PLUS, 0x6B}, {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PERIOD, 0x6E}, {SDL_SCANCODE_KP_DIVIDE, 0x6F}, {SDL_SCANCODE_F1, 0x70},
    {SDL_SCANCODE_F2, 0x71}, {SDL_SCANCODE_F3, 0x72}, {SDL_SCANCODE_F4, 0x73},
    {SDL_SCANCODE_F5, 0x74}, {SDL_SCANCODE_F6, 0x75}, {SDL_SCANCODE_F7, 0x76},
    {SDL_SCANCODE_F8, 0x77}, {SDL_SCANCODE_F9, 0x78}, {SDL_SCANCODE_F10, 0x79},
    {SDL_SCANCODE_F11, 0x7A}, {SDL_SCANCODE_F12, 0x7B}, {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_SCROLLLOCK, 0x91}, {SDL_SCANCODE_LSHIFT, 0xA0}, {SDL_SCANCODE_RSHIFT, 0xA1},
    {SDL_SCANCODE_LCTRL, 0xA2}, {SDL_SCANCODE_RCTRL, 0xA3}, {SDL_SCANCODE_LALT, 0xA4},
    {SDL_SCANCODE_RALT, 0xA5}, {SDL_SCANCODE_SEMICOLON, 0xBA}, {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_COMMA, 0xBC}, {SDL_SCANCODE_MINUS, 0xBD}, {SDL_SCANCODE_PERIOD, 0xBE},
    {SDL_SCANCODE_SLASH, 0xBF}, {SDL_SCANCODE_GRAVE, 0xC0}, {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_BACKSLASH, 0xDC}, {SDL_SCANCODE_RIGHTBRACKET, 0xDD}, {SDL_SCANCODE_APOSTROPHE, 0xDE},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
    // Japanese keys: the yen key, the ro key, kana, convert and no-convert.
    {SDL_SCANCODE_INTERNATIONAL3, 0xDC}, {SDL_SCANCODE_INTERNATIONAL1, 0xE2},
    {SDL_SCANCODE_INTERNATIONAL2, 0x15}, {SDL_SCANCODE_INTERNATIONAL4, 0x1C},
    {SDL_SCANCODE_INTERNATIONAL5, 0x1D},
};

constexpr std::array<BYTE, SDL_NUM_SCANCODES> BuildVirtualKeyTable() {
  std::array<BYTE, SDL_NUM_SCANCODES> table{};
  for (int letter = 0; letter < 26; ++letter) table[SDL_SCANCODE_A + letter] = static_cast<BYTE>('A' + letter);
  for (const ScancodeKey& key : kVirtualKeys) table[key.scancode] = key.virtualKey;
  return table;
}

constexpr std::array<BYTE, SDL_NUM_SCANCODES> kVirtualKeyTable = BuildVirtualKeyTable();

std::array<std::atomic<bool>, SDL_NUM_SCANCODES> g_injected{};

bool IsValidScancode(int scancode) { return scancode > 0 && scancode < SDL_NUM_SCANCODES; }

}  // namespace

bool IsScancodeDown(int scancode) {
  if (!IsValidScancode(scancode)) return false;
  if (g_injected[scancode].load()) return true;
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  return scancode < count && state[scancode] != 0;
}

int VirtualKeyFromScancode(int scancode) { return IsValidScancode(scancode) ? kVirtualKeyTable[scancode] : 0; }

void SetInjectedKey(int scancode, bool down) {
  if (IsValidScancode(scancode)) g_injected[scancode].store(down);
}

BOOL GetKeyboardState(BYTE* keyState) {
  if (keyState == nullptr) return FALSE;
  for (int i = 0; i < 256; ++i) keyState[i] = 0;
  for (int scancode = 1; scancode < SDL_NUM_SCANCODES; ++scancode) {
    const int virtualKey = kVirtualKeyTable[scancode];
    if (virtualKey == 0 || !IsScancodeDown(scancode)) continue;
    keyState[virtualKey] = 0x80;
  }
  // The side-neutral Shift, Control and Alt keys.
  constexpr BYTE kNeutral[][3] = {{0x10, 0xA0, 0xA1}, {0x11, 0xA2, 0xA3}, {0x12, 0xA4, 0xA5}};
  for (const auto& keys : kNeutral) keyState[keys[0]] = keyState[keys[1]] | keyState[keys[2]];
  return TRUE;
}
