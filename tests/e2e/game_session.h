// The real program, started in-process: in a scratch folder that holds the generated
// data, headless, on the virtual clock. A test steps the frame loop one pass at a
// time with the input it chooses.
#pragma once

#include "../support/scratch_directory.h"

// Pad bits of the default key configuration.
constexpr int kPadUp = 8;
constexpr int kPadDown = 1;
constexpr int kPadLeft = 2;
constexpr int kPadRight = 4;
constexpr int kPadFire = 32;     // action 1: decide, shot
constexpr int kPadSecond = 16;   // action 2: cancel, second shot
constexpr int kPadSpecial = 64;  // action 3
constexpr int kPadFacing = 128;  // action 4
constexpr int kPadPause = 256;   // action 5

class GameSession {
 public:
  GameSession();
  ~GameSession();
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // The program's start-up: 0, or -1 when the library did not start.
  int Start();
  // One pass of the frame loop with `padWord` held: false once the loop has ended.
  bool Pass(int padWord = 0, bool escape = false, bool backspace = false);
  // `frames` passes with the same input; false when the loop ended on the way.
  bool Hold(int padWord, int frames);
  // A fresh press: one pass with the word held, then one with nothing.
  bool Press(int padWord);
  // Shuts the program down (the destructor does it otherwise).
  void End();

  const ScratchDirectory& folder() const { return scratch_; }

 private:
  ScratchDirectory scratch_;
  bool started_ = false;
};
