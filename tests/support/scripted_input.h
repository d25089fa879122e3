// The input the game reads, scripted by a test: once a test sets it, the game's
// ReadPadBits and IsKeyDown calls (sent here by the linker, --wrap) read the script
// instead of the pad and the keyboard.
#pragma once

// The pad-and-keyboard word of ReadPadBits and the Escape and Backspace keys of
// IsKeyDown, from now on.
void SetScriptedInput(int padWord, bool escape = false, bool backspace = false);
