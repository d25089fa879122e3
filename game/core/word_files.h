// Files of little-endian 32-bit words, as the save and replay files are: a reader
// over a file in the working folder, and a writer that writes a temporary file of a
// name of its own beside the target and renames it over the target only when every
// word was written, so a failed write never loses the previous file. A name that is a
// link of this user is written through: the target is the file the link finally names
// (created when missing), and the link stays; through a link, only a regular file is
// read, written or moved. A link of another user (the name's own or any on the way) is
// neither read nor written, nor replaced. A file that could not be read, or that a write
// must not replace unseen, can be moved aside. Failures to write are logged and said on
// standard error (once per line). Only files of the running user's own (root's too) are
// read, written, moved or replaced: another user's file at any name met (the file's own,
// the names it is kept aside under) is left as it is, and said with its owner.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>

// The reader's and writer's error for a name that holds something other than a regular
// file or a folder (a FIFO, a socket, a device): it is not opened for reading or written.
constexpr int kNotARegularFile = -1;
// The reader's and writer's error for a name that leads through a link of another user:
// whoever made it, not this user, chose where it leads.
constexpr int kForeignLink = -2;
// The reader's and writer's error for a name where another user's file stands (of any
// kind): theirs to keep, in a folder shared with the sticky bit, say.
constexpr int kForeignFile = -3;

// The text of an error number, or of kNotARegularFile, kForeignLink or kForeignFile, for the log.
std::string FileErrorText(int error);
// A log line: `text`, the file's name and, unless `error` is 0, why in brackets.
std::string FileLogLine(const std::string& text, const std::string& name, int error);
// The same line in the log and, the first time, on standard error, where the name shows
// with its own bytes: -1.
int ReportFileLine(const std::string& text, const std::string& name, int error);
// Errors after which the same open may well succeed later (descriptors or memory ran
// out, a call was interrupted); any other says the file cannot be read as it stands.
bool ErrorMayPass(int error);

class WordFileReader {
 public:
  // Opens without waiting (a FIFO would otherwise wait for a writer). Anything but a
  // regular file of this user's own that the file's mode lets this user read is not
  // opened; the owner is judged again by the open file itself.
  explicit WordFileReader(const char* name);
  ~WordFileReader();
  WordFileReader(const WordFileReader&) = delete;
  WordFileReader& operator=(const WordFileReader&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // The system's error number (or kNotARegularFile, kForeignLink, kForeignFile) when the file is there
  // but could not be opened or a read failed (rather than ending); 0 otherwise, and for a
  // missing file.
  int Error() const { return error_; }
  // The file's size in bytes (0 when it is not open).
  long Size() const { return size_; }
  // Reads the next word into `word`; false at the end (`word` is then untouched).
  bool Read(int& word);
  // Reads up to `count` words; returns how many were read.
  int Read(int* words, int count);

 private:
  std::FILE* file_ = nullptr;
  long size_ = 0;
  int error_ = 0;
};

// Renames `name` to `newName` unless something already stands under `newName`: 0, or
// the system's error number (nothing is then renamed).
int RenameWithoutReplacing(const char* name, const char* newName);

// Settles a file that is there but could not be read (`readError`): after an error that
// lasts it is moved aside in its own folder, ".unreadable" put before its extension,
// unless that name is taken; after one that may pass, behind a link of another user, or
// when the file or what holds that name is another user's, it stays. For a link of this
// user the file is the one it names (the link stays), as far as links lead to something
// that stands; when that is no regular file (a device, a folder, a FIFO), it stays too.
// Logs what became of it, naming that file; when it stays, with `notDone` saying what is
// not done (as in "この実行中は保存しません"), also on standard error. True when it was
// moved aside.
bool SetAsideUnreadFile(const char* name, int readError, const char* notDone);
// The same for a file that was read but that is not of the size a write gives it, so
// that a write would lose what else it held: kept under ".<size>-bytes" before its
// extension as well, so that the write replaces it as any other, permissions and all.
bool SetAsideOtherSizeFile(const char* name, long size, const char* notDone);

class WordFileWriter {
 public:
  // A target that the user may not write by its mode (a read-only save), that is no
  // regular file, that is another user's or that a link of another user leads to is not
  // written: Commit then fails. Where no file stood, nothing put there since is replaced.
  explicit WordFileWriter(const char* name);
  ~WordFileWriter();  // a writer never committed removes its temporary file
  WordFileWriter(const WordFileWriter&) = delete;
  WordFileWriter& operator=(const WordFileWriter&) = delete;

  void Write(int word);
  void Write(const int* words, int count);
  void WriteZeros(int count);
  // Flushes, closes and renames the temporary file over the target: 0, or -1 when
  // anything failed (the target is then unchanged). The new file keeps the permissions
  // of the file it replaces, and its group where the user may give it that group (is in
  // it, or is root); where not, it is still written, in the group a new file gets there,
  // and the group and others keep only what both had. Either case is logged in a line:
  // the target (the file a link finally names) and why (the system's error,
  // kNotARegularFile; another user's link or file is named with its owner), for a failed
  // write also whether it was the temporary file beside the target that could not be
  // made (in a folder the user may not write, say). A failed write's line also goes to
  // standard error.
  int Commit();

 private:
  void Fail(int error);
  // Renames the temporary file over the target: 0, or the error. Where no file stood,
  // only while none does: another user's file put there since stays (kForeignFile).
  int MoveIntoPlace();
  int ReportFailure() const;  // -1

  std::string name_;
  uid_t owner_ = 0;  // the owner of the link or file of another user that name_ is
  bool replacing_ = false;  // something of the user's own stood at name_, which the rename replaces
  std::string temporaryName_;
  std::FILE* file_ = nullptr;
  int error_ = 0;
  int groupError_ = 0;  // why the file replaced could not keep its group
  bool noTemporaryFile_ = false;
};
