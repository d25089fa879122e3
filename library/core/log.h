// The library's log file: every start-up step and every failure, one line each.
#pragma once

// Empties (or creates) the log file and starts its clock. Returns 1.
int OpenLogFile();

// Appends text to the log. Always returns -1, so a worker can log a failure and
// return -1 in one statement: `return LogWrite("...\n");`.
int LogWrite(const char* text);

// Formats like printf (bounded), appends "\n" and writes the result. Returns -1.
int LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

int IncreaseLogIndent();
int DecreaseLogIndent();
