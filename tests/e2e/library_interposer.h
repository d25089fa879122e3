// What the whole-game tests put between the game and the library, at link time: the
// three input calls of the frame loop read the test's script instead of the pad and
// the keyboard, and the random generator's draws are counted.
#pragma once

// The input the program reads from now on: the pad-and-keyboard word of
// ReadPadBits and the Escape and Backspace keys of IsKeyDown.
void SetScriptedInput(int padWord, bool escape = false, bool backspace = false);

// Draws of the random generator since it was last seeded.
int RandomDrawsSinceSeed();
