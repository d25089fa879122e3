// Files of little-endian 32-bit words, as the save and replay files are: a reader
// over a file in the working folder, and a writer that writes a temporary file
// beside the target and renames it over the target only when every word was
// written, so a failed write never loses the previous file. A name that is a link
// is written through: the target is the file the link finally names (created when
// missing), and the link stays. A file that could not be read can be moved aside, so
// that no write replaces it.
#pragma once

#include <cstdio>
#include <string>

class WordFileReader {
 public:
  explicit WordFileReader(const char* name);
  ~WordFileReader();
  WordFileReader(const WordFileReader&) = delete;
  WordFileReader& operator=(const WordFileReader&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // The system's error number when the file is there but could not be opened or a read
  // failed (rather than ending); 0 otherwise, and for a missing file.
  int Error() const { return error_; }
  // The file's size in bytes (0 when it is not open).
  long Size() const { return size_; }
  // Reads the next word into `word`; false at the end (`word` is then untouched).
  bool Read(int& word);
  // Reads up to `count` words; returns how many were read.
  int Read(int* words, int count);

 private:
  std::FILE* file_;
  long size_ = 0;
  int error_ = 0;
};

// Renames `name` to `newName` unless something already stands under `newName`: 0, or
// the system's error number (nothing is then renamed).
int RenameWithoutReplacing(const char* name, const char* newName);

class WordFileWriter {
 public:
  explicit WordFileWriter(const char* name);
  ~WordFileWriter();  // a writer never committed removes its temporary file
  WordFileWriter(const WordFileWriter&) = delete;
  WordFileWriter& operator=(const WordFileWriter&) = delete;

  void Write(int word);
  void Write(const int* words, int count);
  void WriteZeros(int count);
  // Flushes, closes and renames the temporary file over the target: 0, or -1 when
  // anything failed (the target is then unchanged).
  int Commit();

 private:
  std::string name_;
  std::string temporaryName_;
  std::FILE* file_;
  bool failed_;
};
