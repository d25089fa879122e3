// A movie the multimedia stream cannot open by name (one inside an archive) is copied
// through the file layer into a temporary file, which the stream then opens.
#include "graphics/movie_temp_copy.h"

#include <cstdio>

#include "core/file_layer.h"
#include "core/tracked_alloc.h"
#include "kernel/files.h"
#include "kernel/handles.h"

namespace {

constexpr std::size_t kCopyPiece = 1048576;

// Copies every byte of the stream into the file; false on a short read or write.
bool CopyWhole(StreamHandle source, HANDLE target, void* buffer) {
  if (FileSeek(source, 0, SEEK_END) != 0) return false;
  const std::int64_t size = FileTell(source);
  if (size < 0 || FileSeek(source, 0, SEEK_SET) != 0) return false;
  std::int64_t copied = 0;
  while (copied < size) {
    const std::size_t want = size - copied < static_cast<std::int64_t>(kCopyPiece)
                                 ? static_cast<std::size_t>(size - copied)
                                 : kCopyPiece;
    const std::size_t got = FileReadBlock(buffer, 1, want, source);
    DWORD written = 0;
    if (got != want || !WriteFile(target, buffer, static_cast<DWORD>(got), &written, nullptr) || written != got) {
      return false;
    }
    copied += static_cast<std::int64_t>(got);
  }
  return true;
}

}  // namespace

int CopyMovieToTempFile(const char* file, char* path, std::size_t pathSize) {
  const StreamHandle source = FileOpen(file);
  if (source == 0) return -1;
  const HANDLE target = WriteTempFile(path, pathSize);
  if (target == nullptr) {
    FileClose(source);
    return -1;
  }
  void* buffer = TRACKED_ALLOC(kCopyPiece);
  const bool copied = buffer != nullptr && CopyWhole(source, target, buffer);
  TrackedFree(buffer);
  CloseHandle(target);
  FileClose(source);
  if (copied) return 0;
  DeleteFileA(path);
  return -1;
}
