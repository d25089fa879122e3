#include "core/log.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "core/sjis.h"
#include "core/text_format.h"
#include "core/tracked_alloc.h"
#include "kernel/clock.h"
#include "kernel/code_page.h"
#include "kernel/debug_output.h"
#include "kernel/files.h"
#include "kernel/handles.h"
#include "winmm/time.h"

namespace {

// Texts up to this length are converted on the stack; longer ones in a block of
// 2n + 1 bytes (every line feed may grow to two bytes).
constexpr std::size_t kShortText = 255;
constexpr std::size_t kPathCapacity = 4096;

struct LogState {
  int off;
  int datedFileName;
  int timeStampOff;
  int indent;
  int continuingLine;
  DWORD startTime;
  // The folder the log was opened in, held so that its lines follow the folder however it
  // is renamed or moved; null while there is no log file.
  HANDLE folder;
  char name[64];
  int writeError;            // of the last write to the file that failed in this LogWrite, 0 for none
};

LogState logState;

// Walks a text while turning each line feed into CR LF; once a line feed that
// already follows a carriage return is met, the rest is copied unchanged.
struct LineEndConversion {
  const char* next;
  bool previousWasCarriageReturn;
  bool copyRestUnchanged;
};

// Converts whole characters from the conversion into out (capacity >= 3) and
// terminates it. Returns the bytes written.
std::size_t ConvertLineEnds(LineEndConversion& conversion, char* out, std::size_t capacity) {
  std::size_t written = 0;
  while (*conversion.next != '\0' && written + 3 <= capacity) {
    const char c = *conversion.next;
    if (!conversion.copyRestUnchanged && IsSjisLeadByte(static_cast<unsigned char>(c)) &&
        conversion.next[1] != '\0') {
      out[written++] = c;
      out[written++] = conversion.next[1];
      conversion.next += 2;
      conversion.previousWasCarriageReturn = false;
      continue;
    }
    if (c == '\n' && !conversion.copyRestUnchanged) {
      if (conversion.previousWasCarriageReturn) {
        conversion.copyRestUnchanged = true;
      } else {
        out[written++] = '\r';
      }
    }
    out[written++] = c;
    conversion.previousWasCarriageReturn = (c == '\r');
    ++conversion.next;
  }
  out[written] = '\0';
  return written;
}

// A reported line as the log keeps it (the program's Shift-JIS words, names as given)
// and as standard error shows it (the words in UTF-8, names with their own bytes: the
// file system spells a path in whatever bytes it was made with).
struct ReportedLine {
  std::string logged;
  std::string shown;
};

// Each "%s" of `format` takes the next of `names`. No Shift-JIS character holds a '%'
// byte, so the words between are whole characters.
ReportedLine ComposeReport(const char* format, va_list names) {
  ReportedLine line;
  for (const char* words = format;;) {
    const char* mark = std::strstr(words, "%s");
    const std::string run(words, mark != nullptr ? mark : words + std::strlen(words));
    line.logged += run;
    line.shown += Cp932ToUtf8(run.c_str());
    if (mark == nullptr) return line;
    const char* name = va_arg(names, const char*);
    line.logged += name;
    line.shown += name;
    words = mark + 2;
  }
}

// Writes the line on standard error the first time it is reported.
void ReportOnce(const ReportedLine& line) {
  static std::mutex reportedMutex;
  static std::set<std::string> reported;
  std::lock_guard<std::mutex> lock(reportedMutex);
  if (reported.insert(line.logged).second) ReportToStandardError(line.shown.c_str());
}

void ReportOnceOf(const char* format, ...) {
  va_list names;
  va_start(names, format);
  ReportOnce(ComposeReport(format, names));
  va_end(names);
}

void DropLogFolder() {
  if (logState.folder != nullptr) CloseHandle(logState.folder);
  logState.folder = nullptr;
}

// The log's path as its folder now stands, for what is said of it.
std::string LogPath() {
  char folder[kPathCapacity];
  const DWORD length = logState.folder != nullptr ? GetFinalPathNameByHandleA(logState.folder, folder, sizeof folder, 0) : 0;
  return length > 0 && length < sizeof folder ? std::string(folder) + "/" + logState.name : logState.name;
}

// Another user's file at the log's name (in a folder shared with the sticky bit, say)
// is theirs to keep: no log is written in this run, and standard error names its owner.
bool LeaveAnotherUsersLog() {
  DWORD owner = 0;
  std::string ownerName;
  if (!FindAnotherUsersFileInFolder(logState.folder, logState.name, &owner, &ownerName)) return false;
  const std::string format = std::string("右記のファイルは別のユーザー（") + (ownerName.empty() ? "%s" : "%s、") + "uid " +
                             std::to_string(owner) + "）のものなので、そのまま残し、この実行中はログを書きません：%s\n";
  ReportOnceOf(format.c_str(), ownerName.c_str(), LogPath().c_str());
  DropLogFolder();
  return true;
}

// Where the log itself cannot be made or written (a read-only folder, a full disk), no
// one would read of it there: standard error says so, once per reason.
void ReportLogFailure(int error) {
  if (logState.folder != nullptr && LeaveAnotherUsersLog()) return;
  ReportOnceOf("ログファイルに書き込めません：%s（%s）\n", LogPath().c_str(), std::strerror(error != 0 ? error : EIO));
}

void WriteToFile(HANDLE file, const char* bytes, std::size_t length) {
  if (file == INVALID_HANDLE_VALUE || length == 0) return;
  DWORD written = 0;
  errno = 0;
  if (!WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr)) {
    logState.writeError = errno != 0 ? errno : EIO;
  }
}

// Sends bytes [0, length) of a terminated buffer to the debugger output.
void SendToDebugger(char* bytes, std::size_t length) {
  const char kept = bytes[length];
  bytes[length] = '\0';
  OutputDebugStringA(bytes);
  bytes[length] = kept;
}

void WriteLinePrefix(HANDLE file) {
  if (!logState.timeStampOff) {
    char stamp[16];
    const DWORD elapsed = timeGetTime() - logState.startTime;
    FormatString(stamp, sizeof stamp, "%d:", static_cast<int>(elapsed));
    WriteToFile(file, stamp, std::strlen(stamp));
  }
  char tabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
  for (int left = logState.indent; left > 0;) {
    const std::size_t count = left < 16 ? static_cast<std::size_t>(left) : 16;
    WriteToFile(file, tabs, count);
    SendToDebugger(tabs, count);
    left -= static_cast<int>(count);
  }
}

// Writes converted text, giving every line that starts here its prefix.
void WriteLines(HANDLE file, char* text, std::size_t length) {
  std::size_t start = 0;
  while (start < length) {
    std::size_t end = start;
    while (end < length && text[end] != '\n') {
      end += (IsSjisLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < length) ? 2 : 1;
    }
    if (end < length) ++end;  // the line feed belongs to its line
    if (!logState.continuingLine) WriteLinePrefix(file);
    WriteToFile(file, text + start, end - start);
    SendToDebugger(text + start, end - start);
    logState.continuingLine = text[end - 1] != '\n';
    start = end;
  }
}

HANDLE OpenForAppending() {
  if (logState.folder == nullptr) return INVALID_HANDLE_VALUE;
  errno = 0;
  // Never through a link: one put in the log's place (by another user of a shared
  // folder, say) would have the lines appended to whatever file it names. Only a regular
  // file is opened, without waiting: a FIFO there is a log that cannot be written.
  HANDLE file = CreateFileInFolderA(logState.folder, logState.name, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
  if (file == INVALID_HANDLE_VALUE) {
    ReportLogFailure(errno);
  } else {
    SetFilePointer(file, 0, nullptr, FILE_END);
  }
  return file;
}

void ChooseFileName(char* name, std::size_t size) {
  if (!logState.datedFileName) {
    FormatString(name, size, "Log.txt");
    return;
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  FormatString(name, size, "Log%d_%d_%d_%d_%d_%d.txt", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
               now.wSecond);
}

}  // namespace

int OpenLogFile() {
  if (logState.off) return 1;
  ChooseFileName(logState.name, sizeof logState.name);
  DropLogFolder();
  errno = 0;
  HANDLE folder = OpenFolderA(".");
  logState.indent = 0;
  logState.continuingLine = 0;
  logState.startTime = timeGetTime();
  if (folder == INVALID_HANDLE_VALUE) {
    ReportLogFailure(errno);
    return 1;
  }
  logState.folder = folder;
  if (LeaveAnotherUsersLog()) return 1;
  DeleteFileInFolderA(logState.folder, logState.name);
  errno = 0;
  HANDLE file = CreateFileInFolderA(logState.folder, logState.name, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL);
  const bool made = file != INVALID_HANDLE_VALUE;
  const int error = errno;
  // The name is still taken (by a folder of the user's, say, or another user's file put
  // there since): the writes go to what stands there, so when it cannot be written
  // either, its own reason is the one line said.
  if (!made && error == EEXIST) file = OpenForAppending();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!made && (error != EEXIST || file != INVALID_HANDLE_VALUE)) ReportLogFailure(error);
  return 1;
}

void CloseLogFile() {
  DropLogFolder();
  logState.indent = 0;
  logState.continuingLine = 0;
}

int LogWrite(const char* text) {
  if (logState.off || text == nullptr) return -1;
  const std::size_t length = std::strlen(text);
  char stackBuffer[2 * kShortText + 1];
  char* buffer = stackBuffer;
  std::size_t capacity = sizeof stackBuffer;
  char* block = nullptr;
  if (length > kShortText) {
    block = static_cast<char*>(TRACKED_ALLOC(2 * length + 1));
    if (block != nullptr) {
      buffer = block;
      capacity = 2 * length + 1;
    }
  }

  HANDLE file = OpenForAppending();
  logState.writeError = 0;
  LineEndConversion conversion = {text, false, false};
  while (*conversion.next != '\0') {
    const std::size_t converted = ConvertLineEnds(conversion, buffer, capacity);
    WriteLines(file, buffer, converted);
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (logState.writeError != 0) ReportLogFailure(logState.writeError);
  TrackedFree(block);
  return -1;
}

int LogReportV(const char* format, va_list names) {
  if (format == nullptr) return -1;
  const ReportedLine line = ComposeReport(format, names);
  LogWrite(line.logged.c_str());
  ReportOnce(line);
  return -1;
}

int LogReport(const char* format, ...) {
  va_list names;
  va_start(names, format);
  LogReportV(format, names);
  va_end(names);
  return -1;
}

int LogPrintf(const char* format, ...) {
  char buffer[1024];
  va_list arguments;
  va_start(arguments, format);
  const int length = FormatStringV(buffer, sizeof buffer - 1, format, arguments);
  va_end(arguments);
  buffer[length] = '\n';
  buffer[length + 1] = '\0';
  return LogWrite(buffer);
}

int IncreaseLogIndent() {
  ++logState.indent;
  return 0;
}

int DecreaseLogIndent() {
  if (logState.indent > 0) --logState.indent;
  return 0;
}

void SetLogDatedFileName(int flag) { logState.datedFileName = flag; }
void SetLogOff(int flag) { logState.off = flag; }
void SetLogTimeStampOff(int flag) { logState.timeStampOff = flag; }
