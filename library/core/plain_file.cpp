// Loose-file streams of the file layer.
#include "core/plain_file.h"

#include <climits>
#include <cstring>
#include <new>

#include "core/log.h"
#include "core/string_functions.h"
#include "core/tracked_alloc.h"
#include "kernel/files.h"
#include "kernel/handles.h"
#include "kernel/sync.h"
#include "kernel/threads.h"

namespace {

HANDLE OpenForReading(const char* path, DWORD share) {
  return CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

PlainFileStream* NewStream() {
  void* block = TRACKED_CALLOC(sizeof(PlainFileStream));
  return block != nullptr ? new (block) PlainFileStream() : nullptr;
}

void FreeStream(PlainFileStream* stream) {
  TrackedFree(stream->cache);
  stream->~PlainFileStream();
  TrackedFree(stream);
}

// Ends the thread's life: waits until its procedure has returned, then closes what
// the stream owns. The record must outlive the thread's last write to it.
void ReleaseThread(PlainFileStream* stream) {
  if (stream->thread != nullptr) {
    WaitForSingleObject(stream->thread, INFINITE);
    CloseHandle(stream->thread);
  }
  if (stream->requestEvent != nullptr) CloseHandle(stream->requestEvent);
  if (stream->doneEvent != nullptr) CloseHandle(stream->doneEvent);
}

PlainFileStream* OpenThreaded(PlainFileStream* stream, const char* path) {
  HANDLE probe = OpenForReading(path, FILE_SHARE_READ);
  if (probe == INVALID_HANDLE_VALUE) return nullptr;
  stream->size = GetFileSize(probe, nullptr);
  CloseHandle(probe);
  if (std::strlen(path) >= sizeof stream->path) return nullptr;
  CopyString(stream->path, path);
  // Only the file-access thread reads ahead: a synchronous stream has no cache.
  stream->cache = static_cast<std::uint8_t*>(TRACKED_ALLOC(kFileCacheSize));
  if (stream->cache == nullptr) return nullptr;
  stream->requestEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  stream->doneEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  if (stream->requestEvent != nullptr && stream->doneEvent != nullptr) {
    stream->thread = CreateThread(nullptr, 0, FileAccessThreadProc, stream, 0, &stream->threadId);
  }
  if (stream->thread == nullptr) {
    ReleaseThread(stream);
    LogWrite("ファイルアクセス専用スレッドの作成に失敗しました\n");
    return nullptr;
  }
  SendFileRequest(stream, kFileRequestOpen);
  WaitForSingleObject(stream->doneEvent, INFINITE);
  if (stream->openFailed) {
    ReleaseThread(stream);
    LogWrite("ファイルのオープンに失敗しました\n");
    return nullptr;
  }
  return stream;
}

}  // namespace

PlainFileStream* PlainFileOpen(const char* path, int async) {
  PlainFileStream* stream = NewStream();
  if (stream == nullptr) return nullptr;
  stream->async = async != 0;
  PlainFileStream* opened = nullptr;
  if (stream->async) {
    opened = OpenThreaded(stream, path);
  } else {
    stream->file = OpenForReading(path, FILE_SHARE_READ);
    if (stream->file != INVALID_HANDLE_VALUE) {
      stream->size = GetFileSize(stream->file, nullptr);
      opened = stream;
    }
  }
  if (opened == nullptr) FreeStream(stream);
  return opened;
}

int PlainFileClose(PlainFileStream* stream) {
  if (stream->async) {
    SendFileRequest(stream, kFileRequestQuit);
    ReleaseThread(stream);
  } else {
    CloseHandle(stream->file);
  }
  FreeStream(stream);
  return 0;
}

std::int64_t PlainFileTell(const PlainFileStream* stream) { return stream->position; }

int PlainFileSeek(PlainFileStream* stream, std::int64_t offset, int origin) {
  std::int64_t target = offset;
  if (origin == 1) target += stream->position;
  if (origin == 2) target += stream->size;
  // Positions are 32-bit and the file pointer takes a signed distance.
  if (target < 0 || target > INT32_MAX) return -1;
  if (stream->async) {
    stream->seekTarget = static_cast<std::uint32_t>(target);
    SendFileRequest(stream, kFileRequestSeek);
  } else if (SetFilePointer(stream->file, static_cast<LONG>(target), nullptr, FILE_BEGIN) ==
             INVALID_SET_FILE_POINTER) {
    return -1;
  }
  stream->position = static_cast<std::uint32_t>(target);
  stream->eof = 0;
  return 0;
}

std::size_t PlainFileRead(void* buffer, std::size_t size, std::size_t count, PlainFileStream* stream) {
  if (size == 0 || count == 0) return 0;
  if (stream->position >= stream->size) {
    stream->eof = 1;
    return 0;
  }
  const std::size_t whole = (stream->size - stream->position) / size;
  if (count > whole) count = whole;
  if (count == 0) {
    stream->eof = 1;
    return 0;
  }
  const auto length = static_cast<std::uint32_t>(size * count);  // at most the bytes left
  std::uint32_t read = 0;
  if (stream->async) {
    stream->readDestination = static_cast<std::uint8_t*>(buffer);
    stream->readPosition = stream->position;
    stream->readLength = length;
    SendFileRequest(stream, kFileRequestRead);
    read = stream->readDone;
  } else {
    DWORD got = 0;
    if (ReadFile(stream->file, buffer, length, &got, nullptr)) read = got;
  }
  stream->position += read;
  return read / size;
}

int PlainFileEof(const PlainFileStream* stream) { return stream->eof ? -1 : 0; }

int PlainFileIdleCheck(const PlainFileStream* stream) {
  if (!stream->async) return 1;
  return WaitForSingleObject(stream->doneEvent, 0) == WAIT_OBJECT_0 ? 1 : 0;
}

std::uint32_t PlainFileSize(const PlainFileStream* stream) { return stream->size; }

std::uint32_t PlainFileCacheFill(const PlainFileStream* stream) { return stream->cacheFill.load(); }

int PlainFileSetDir(const char* path) { return SetCurrentDirectoryA(path) ? 0 : -1; }

int PlainFileGetDir(char* buffer, std::size_t size) {
  const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(size), buffer);
  return length == 0 || length >= size ? -1 : 0;
}
