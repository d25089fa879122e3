// The on-screen log's state word: whether the log is shown on screen. The library
// never shows it, so the word stays 0 and presenting never draws the log.
#pragma once

#include <cstdint>

std::uint32_t GetScreenLogState();
