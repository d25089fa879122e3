// Ending the program on a failure the library cannot recover from.
#pragma once

// Logs the text, shuts the library down and ends the process with exit code -1.
[[noreturn]] void FatalErrorExit(const char* text);
