// The file-access thread of a threaded loose-file stream. Requests are handed over
// through two events: the requester waits for "done", fills in the request, clears
// "done" and sets "request"; the thread serves it and sets "done" again. While no
// request comes, the thread reads ahead behind what its cache holds.
#include <cstring>

#include "core/plain_file.h"
#include "kernel/files.h"
#include "kernel/handles.h"
#include "kernel/sync.h"

namespace {

constexpr DWORD kIdleWaitMs = 100;

DWORD ReadAt(HANDLE file, std::uint32_t position, std::uint8_t* destination, std::uint32_t length) {
  DWORD got = 0;
  if (SetFilePointer(file, static_cast<LONG>(position), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return 0;
  if (!ReadFile(file, destination, length, &got, nullptr)) return 0;
  return got;
}

void FillCache(PlainFileStream* s) {
  const std::uint32_t fill = s->cacheFill.load();
  const DWORD got = ReadAt(s->threadFile, s->cacheOffset + fill, s->cache + fill, kFileCacheSize - fill);
  s->cacheFill.store(fill + got);
}

// A read that starts where the cache starts takes what the cache holds; the rest is
// read directly, and the cache starts again, empty, behind it.
void ServeRead(PlainFileStream* s) {
  std::uint8_t* destination = s->readDestination;
  std::uint32_t position = s->readPosition;
  std::uint32_t length = s->readLength;
  std::uint32_t done = 0;
  const std::uint32_t fill = s->cacheFill.load();
  if (position == s->cacheOffset && fill > 0) {
    const std::uint32_t n = length < fill ? length : fill;
    std::memcpy(destination, s->cache, n);
    destination += n;
    position += n;
    length -= n;
    done += n;
    s->cacheOffset += n;
    std::memmove(s->cache, s->cache + n, fill - n);
    s->cacheFill.store(fill - n);
  }
  if (length > 0) {
    const DWORD got = ReadAt(s->threadFile, position, destination, length);
    done += got;
    s->cacheOffset = position + got;
    s->cacheFill.store(0);
  }
  s->readDone = done;
}

}  // namespace

DWORD FileAccessThreadProc(LPVOID parameter) {
  auto* s = static_cast<PlainFileStream*>(parameter);
  for (;;) {
    if (WaitForSingleObject(s->requestEvent, kIdleWaitMs) == WAIT_TIMEOUT) {
      if (s->threadFile != nullptr && s->cacheFill.load() < kFileCacheSize) FillCache(s);
      continue;
    }
    ResetEvent(s->requestEvent);
    ResetEvent(s->doneEvent);
    switch (s->requestCode) {
      case kFileRequestOpen: {
        HANDLE file = CreateFileA(s->path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
          s->openFailed = 1;
          s->threadEnded = 1;
          SetEvent(s->doneEvent);
          return 0;
        }
        s->threadFile = file;
        break;
      }
      case kFileRequestClose:
        if (s->threadFile != nullptr) CloseHandle(s->threadFile);
        s->threadFile = nullptr;
        break;
      case kFileRequestRead:
        ServeRead(s);
        break;
      case kFileRequestSeek:
        SetFilePointer(s->threadFile, static_cast<LONG>(s->seekTarget), nullptr, FILE_BEGIN);
        s->cacheOffset = s->seekTarget;
        s->cacheFill.store(0);
        break;
      case kFileRequestQuit:
        if (s->threadFile != nullptr) CloseHandle(s->threadFile);
        s->threadFile = nullptr;
        s->threadEnded = 1;
        SetEvent(s->doneEvent);
        return 0;
      default:
        break;
    }
    SetEvent(s->doneEvent);
  }
}

void SendFileRequest(PlainFileStream* stream, int code) {
  WaitForSingleObject(stream->doneEvent, INFINITE);
  stream->requestCode = code;
  ResetEvent(stream->doneEvent);
  SetEvent(stream->requestEvent);
  if (code == kFileRequestRead || code == kFileRequestClose) WaitForSingleObject(stream->doneEvent, INFINITE);
}
