// Loose files: read synchronously, or by a file-access thread of their own that
// reads ahead into a 128 KiB cache while the stream is idle.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "core/file_paths.h"
#include "kernel/win_types.h"

constexpr std::uint32_t kFileCacheSize = 128 * 1024;

// Requests to the file-access thread.
enum FileRequest : int {
  kFileRequestOpen = 0,
  kFileRequestClose = 1,
  kFileRequestRead = 2,
  kFileRequestSeek = 3,
  kFileRequestQuit = 4,
};

struct PlainFileStream {
  HANDLE file;  // synchronous mode
  int async;
  int eof;
  std::uint32_t position;
  std::uint32_t size;
  DWORD threadId;
  HANDLE thread;
  HANDLE threadFile;
  HANDLE requestEvent;  // manual reset, starts clear
  HANDLE doneEvent;     // manual reset, starts set
  int requestCode;
  int threadEnded;
  int openFailed;
  char path[kFilePathMax];
  std::uint8_t* readDestination;
  std::uint32_t readPosition;
  std::uint32_t readLength;
  std::uint32_t readDone;  // bytes the thread actually read for the last read request
  std::uint32_t seekTarget;
  std::uint8_t* cache;  // kFileCacheSize bytes, threaded streams only
  std::uint32_t cacheOffset;              // file offset of the cache's first byte
  std::atomic<std::uint32_t> cacheFill;  // bytes in the cache; written by the thread only
};

// Null when the file cannot be opened (no message) or its thread cannot start (logged).
PlainFileStream* PlainFileOpen(const char* path, int async);
int PlainFileClose(PlainFileStream* stream);
std::int64_t PlainFileTell(const PlainFileStream* stream);
// -1 (position kept) when the target lies before the start or the file refuses it.
int PlainFileSeek(PlainFileStream* stream, std::int64_t offset, int origin);
// Whole elements read; position at or past the end, size or count 0 read nothing.
std::size_t PlainFileRead(void* buffer, std::size_t size, std::size_t count, PlainFileStream* stream);
int PlainFileEof(const PlainFileStream* stream);
int PlainFileIdleCheck(const PlainFileStream* stream);
std::uint32_t PlainFileSize(const PlainFileStream* stream);
// Bytes the file-access thread holds ahead; tests wait on it to reach the cache path.
std::uint32_t PlainFileCacheFill(const PlainFileStream* stream);

// Directories never enter archives: both file-function sets use these.
int PlainFileSetDir(const char* path);
// -1 when the current directory does not fit in `size` bytes.
int PlainFileGetDir(char* buffer, std::size_t size);

// The body of every file-access thread.
DWORD FileAccessThreadProc(LPVOID stream);
// Waits until the thread is idle, then hands it a request; read and close wait for it.
void SendFileRequest(PlainFileStream* stream, int code);
