// The file layer: every file the library reads goes through the installed table of
// nine file operations. The standard archive-aware set looks for an archive named after
// each folder on the path ("...\data\se.pop" for "data\se\x.wav") and reads the member
// from the first one found; without one it reads the loose file. The plain set reads
// loose files only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/archive_settings_workers.h"
#include "core/streams.h"
#include "kernel/win_types.h"

// A file handle: an archive-aware handle (slot | 0xF0000000) or a plain-set stream
// pointer, pointer-sized either way; 0 is failure.
struct FileFunctionTable {
  StreamHandle (*open)(const char* path, int async, int unused);
  int (*close)(StreamHandle handle);
  std::int64_t (*tell)(StreamHandle handle);
  int (*seek)(StreamHandle handle, std::int64_t offset, int origin);
  std::size_t (*read)(void* buffer, std::size_t size, std::size_t count, StreamHandle handle);
  int (*eof)(StreamHandle handle);
  int (*idleCheck)(StreamHandle handle);
  int (*setCurrentDir)(const char* path);
  int (*getCurrentDir)(char* buffer, std::size_t size);
};

// Clears the layer: open files, archives, extension and key. The archive-access
// setting survives, so that a setting made before start-up takes effect.
int InitFileSystem();
// Copies the caller's table; null installs the archive-aware set, or the plain set
// when archive access is off.
int InstallFileFunctionTable(const FileFunctionTable* table);

StreamHandle FileOpen(const char* path, int async = 0);
int FileClose(StreamHandle handle);
std::int64_t FileTell(StreamHandle handle);
int FileSeek(StreamHandle handle, std::int64_t offset, int origin);
std::size_t FileReadBlock(void* buffer, std::size_t size, std::size_t count, StreamHandle handle);
int FileEof(StreamHandle handle);
int FileIdleCheck(StreamHandle handle);
int FileSetCurrentDir(const char* path);
int FileGetCurrentDir(char* buffer, std::size_t size);

// Archive settings: SetArchiveAccessBody, SetArchiveFileExtensionBody, SetArchiveKeyBody.
// The extension archives are looked for with ("MUA" when none is set).
const char* GetArchiveFileExtension();
// The key string, or null while none is set.
const char* GetArchiveKeyString();

// A new, empty file in the temporary folder, open for writing; its full path goes to
// `path` (pathSize bytes) when given. Null on failure.
HANDLE WriteTempFile(char* path, std::size_t pathSize);

// The archive-aware set.
StreamHandle ArchiveStreamOpen(const char* path, int async, int unused);
int ArchiveStreamClose(StreamHandle handle);
std::int64_t ArchiveStreamTell(StreamHandle handle);
int ArchiveStreamSeek(StreamHandle handle, std::int64_t offset, int origin);
std::size_t ArchiveStreamRead(void* buffer, std::size_t size, std::size_t count, StreamHandle handle);
int ArchiveStreamEof(StreamHandle handle);
int ArchiveStreamIdleCheck(StreamHandle handle);  // always 1
// Forgets open files and the last-archive cache (start-up, when nothing is open).
void ResetArchiveStreams();
int GetOpenFileCount();
