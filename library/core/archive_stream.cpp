// The archive-aware file set: a table of 512 open files, each a member of an archive
// found on its path or a loose file.
#include <cstring>

#include "core/archive_reader.h"
#include "core/file_layer.h"
#include "core/file_paths.h"
#include "core/log.h"
#include "core/plain_file.h"
#include "core/string_functions.h"
#include "core/tracked_alloc.h"
#include "kernel/path_resolver.h"

namespace {

constexpr int kOpenFileMax = 512;
constexpr StreamHandle kFileHandleTag = 0xF0000000u;
constexpr StreamHandle kFileSlotMask = 0x0FFFFFFFu;

struct OpenFileRecord {
  int inArchive;
  PlainFileStream* file;  // loose file
  int archiveIndex;
  ArchiveMemberStream member;
};

// The archive found last: its path, and the folder prefix (of the upper-cased full
// path) that it stands for.
struct LastArchiveCache {
  char archivePath[kFilePathMax];
  char prefix[kFilePathMax];
  std::size_t prefixLength;
  int index;
};

OpenFileRecord* openFiles[kOpenFileMax];
int openFileCount;
LastArchiveCache lastArchive;

OpenFileRecord* RecordOf(StreamHandle handle) {
  if ((handle & ~kFileSlotMask) != kFileHandleTag || (handle & kFileSlotMask) >= kOpenFileMax) return nullptr;
  return openFiles[handle & kFileSlotMask];
}

// 1 with the member open, -1 when the archive lacks the member. Members are named with
// "\" between folders, whichever form the full path has.
int OpenMember(OpenFileRecord* record, int index, const char* memberPath) {
  char member[kFilePathMax];
  CopyString(member, memberPath);
  for (char* c = member; *c != '\0'; ++c) {
    if (*c == '/') *c = '\\';
  }
  if (OpenArchiveMember(&record->member, GetArchiveState(index), member) < 0) {
    ReleaseArchive(index);
    return -1;
  }
  record->archiveIndex = index;
  return 1;
}

// Tries "<path up to end>.<extension>" as an archive; on success it becomes the last archive.
int TryArchiveAt(const char* keptPath, const char* upperPath, std::size_t end) {
  const char* extension = GetArchiveFileExtension();
  char candidate[kFilePathMax];
  if (end + 1 + std::strlen(extension) >= sizeof candidate) return -1;
  std::memcpy(candidate, keptPath, end);
  candidate[end] = '.';
  CopyString(candidate + end + 1, extension);
  const int index = OpenArchiveByPath(-1, candidate);
  if (index >= 0) {
    CopyString(lastArchive.archivePath, candidate);
    std::memcpy(lastArchive.prefix, upperPath, end);
    lastArchive.prefix[end] = '\0';
    lastArchive.prefixLength = end;
    lastArchive.index = index;
  }
  return index;
}

// Opens the file from the first archive on its path: 1 opened, 0 no archive on the
// path, -1 the archive lacks the member (the open fails, no loose file is tried).
// Both paths are full paths of the same length; candidates are cut from the kept one.
int OpenFromArchive(OpenFileRecord* record, const char* keptPath, const char* upperPath) {
  const bool systemForm = IsSystemFormPath(upperPath);
  const std::size_t cached = lastArchive.prefixLength;
  if (cached > 0 && CompareStringsN(upperPath, lastArchive.prefix, static_cast<int>(cached)) == 0 &&
      IsPathSeparator(upperPath[cached], systemForm)) {
    const int index = OpenArchiveByPath(lastArchive.index, lastArchive.archivePath);
    return index < 0 ? 0 : OpenMember(record, index, upperPath + cached + 1);
  }
  // Each element followed by a separator may be an archive; a leading root separator
  // is the drive element, for which none is tried.
  std::size_t at = IsPathSeparator(upperPath[0], systemForm) ? 1 : 0;
  for (;;) {
    const std::size_t length = PathElementLength(upperPath + at, systemForm);
    at += length;
    if (length == 0 || upperPath[at] == '\0') return 0;
    const int index = TryArchiveAt(keptPath, upperPath, at);
    if (index >= 0) return OpenMember(record, index, upperPath + at + 1);
    ++at;
  }
}

}  // namespace

StreamHandle ArchiveStreamOpen(const char* path, int async, int) {
  if (openFileCount >= kOpenFileMax) {
    LogWrite("同時に開けるファイルの数が限界を超えました\n");
    return 0;
  }
  int slot = 0;
  while (openFiles[slot] != nullptr) ++slot;
  auto* record = static_cast<OpenFileRecord*>(TRACKED_CALLOC(sizeof(OpenFileRecord)));
  if (record == nullptr) {
    LogWrite("ファイルの情報を格納するメモリの確保に失敗しました\n");
    return 0;
  }
  record->inArchive = 1;
  char upperPath[kFilePathMax];
  char keptPath[kFilePathMax];
  int found = -1;
  if (MakeUpperFullPath(path, upperPath, sizeof upperPath) == 0 &&
      MakeFullPath(path, keptPath, sizeof keptPath, nullptr) == 0) {
    found = OpenFromArchive(record, keptPath, upperPath);
  }
  if (found == 0) {
    record->inArchive = 0;
    record->file = PlainFileOpen(path, async);
    if (record->file == nullptr) found = -1;
  }
  if (found < 0) {
    TrackedFree(record);
    return 0;
  }
  openFiles[slot] = record;
  ++openFileCount;
  return static_cast<StreamHandle>(slot) | kFileHandleTag;
}

int ArchiveStreamClose(StreamHandle handle) {
  OpenFileRecord* record = RecordOf(handle);
  if (record == nullptr) return -1;
  if (record->inArchive) {
    ReleaseArchive(record->archiveIndex);
    CloseArchiveMember(&record->member);
  } else {
    PlainFileClose(record->file);
  }
  TrackedFree(record);
  openFiles[handle & kFileSlotMask] = nullptr;
  --openFileCount;
  return 0;
}

std::int64_t ArchiveStreamTell(StreamHandle handle) {
  const OpenFileRecord* record = RecordOf(handle);
  if (record == nullptr) return -1;
  return record->inArchive ? TellArchiveMember(&record->member) : PlainFileTell(record->file);
}

int ArchiveStreamSeek(StreamHandle handle, std::int64_t offset, int origin) {
  OpenFileRecord* record = RecordOf(handle);
  if (record == nullptr) return -1;
  return record->inArchive ? SeekArchiveMember(&record->member, offset, origin)
                           : PlainFileSeek(record->file, offset, origin);
}

// Whole elements for members as for loose files; nothing for a stray handle.
std::size_t ArchiveStreamRead(void* buffer, std::size_t size, std::size_t count, StreamHandle handle) {
  OpenFileRecord* record = RecordOf(handle);
  if (record == nullptr || size == 0 || count == 0) return 0;
  if (!record->inArchive) return PlainFileRead(buffer, size, count, record->file);
  ArchiveMemberStream* member = &record->member;
  const std::uint32_t left = ArchiveEntrySize(member->entry) - member->position;
  if (count > left / size) count = left / size;
  if (count == 0) {
    if (left == 0) member->eof = 1;
    return 0;
  }
  return ReadArchiveMember(member, buffer, static_cast<std::uint32_t>(size * count)) / size;
}

int ArchiveStreamEof(StreamHandle handle) {
  const OpenFileRecord* record = RecordOf(handle);
  if (record == nullptr) return -1;
  return record->inArchive ? ArchiveMemberEof(&record->member) : PlainFileEof(record->file);
}

int ArchiveStreamIdleCheck(StreamHandle) { return 1; }

void ResetArchiveStreams() {
  std::memset(openFiles, 0, sizeof openFiles);
  openFileCount = 0;
  lastArchive = LastArchiveCache{};
}

int GetOpenFileCount() { return openFileCount; }
