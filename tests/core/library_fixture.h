// What the tests of the running library share: a scratch working folder, the virtual
// clock, no double-start check (tests run side by side), window mode at 1024 x 768 that
// parks while inactive, a fresh process's window and input state, and the log read back
// line by line.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/scratch_directory.h"
#include "core/input_devices.h"
#include "core/window_state.h"
#include "game_library.h"
#include "testing.h"

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestSetSingleInstanceCheck(0);
    TestClockStart(1000000, 1000);
    ChangeWindowMode(1);
    SetRunWhileInactive(0);  // kept from start to start, as the window mode is
    ResetWindowState();        // no close or quit left by an earlier test's end
    ForgetJoystickFallback();  // DirectInput tried again, as by a fresh process
    SetScreenMode(1024, 768, 32, 60);
  }
  void TearDown() override { TestClockStop(); }

  // The log's lines without their CR LF.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    const std::string log = scratch_.Read("Log.txt");
    std::size_t start = 0;
    while (start < log.size()) {
      std::size_t end = log.find("\r\n", start);
      if (end == std::string::npos) end = log.size();
      lines.push_back(log.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }

  bool LogContains(const std::string& text) const { return scratch_.Read("Log.txt").find(text) != std::string::npos; }

  ScratchDirectory scratch_;
};

// '*' in a pattern matches any run of bytes.
inline bool MatchesPattern(const std::string& text, const std::string& pattern) {
  std::size_t t = 0;
  std::size_t p = 0;
  std::size_t starP = std::string::npos;
  std::size_t starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}
