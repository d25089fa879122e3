// The library's log file: every start-up step and every failure, one line each.
// Each line starts with the milliseconds since OpenLogFile ("%d:") and one tab per
// indent level; line ends are written as CR LF. The file is opened, appended to and
// closed on every write, so it is complete up to the last line. The texts also go to
// the debugger output ("kernel/debug_output.h"). A log file that cannot be made or
// written is said on standard error, once per file and reason.
#pragma once

#include <cstdarg>

// Empties (or creates) the log file in the current directory, remembers its absolute
// path and starts its clock. Another user's file at that name is left as it is: the run
// then writes no log, and standard error says whose file it is. Returns 1.
int OpenLogFile();
// Ends writing to the file (the last step of the shut-down): later texts, as texts
// before OpenLogFile, reach only the debugger output.
void CloseLogFile();

// Appends text to the log. Always returns -1, so a worker can log a failure and
// return -1 in one statement: `return LogWrite("...\n");`.
int LogWrite(const char* text);

// Appends a line to the log and, the first time the program reports this line, writes
// it on standard error: a failure the user must hear of even where the log cannot be
// written (or is not read). Each "%s" of `format` (the only conversion) takes the next
// name, which standard error shows with its own bytes (a path is no Shift-JIS text),
// the rest in UTF-8. Returns -1.
int LogReport(const char* format, ...) __attribute__((format(printf, 1, 2)));
int LogReportV(const char* format, va_list names);

// Formats like printf (bounded: at most 1022 bytes, cut on a whole character),
// appends "\n" and writes the result. Returns -1.
int LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Both return 0; the indent never goes below 0.
int IncreaseLogIndent();
int DecreaseLogIndent();

// Settings, all off by default; nothing in the system turns them on. They are read
// by OpenLogFile (dated name, off) and by every write (off, time stamps).
// Dated name: "Log" year_month_day_hour_minute_second ".txt" of the local time.
void SetLogDatedFileName(int flag);
void SetLogOff(int flag);
void SetLogTimeStampOff(int flag);
