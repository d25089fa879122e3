// Reading MUA archives: the table of open archives, the checked directory with its
// folder walk and name lookup, and member streams that unscramble and decompress.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/archive_format.h"

struct PlainFileStream;

// One open archive. The directory block has been checked against the archive's size
// when the archive opened, so every offset reached from the root folder is in range.
struct ArchiveState {
  ArchiveHeader header;
  PlainFileStream* file;
  std::uint32_t fileSize;
  std::uint8_t* directory;  // directorySize bytes, unscrambled
  const std::uint8_t* nameTable;
  const std::uint8_t* fileTable;
  const std::uint8_t* folderTable;
  std::uint32_t currentFolder;  // offset of the current folder's entry in the folder table
  std::uint8_t key[kArchiveKeySize];
};

// A member being read: its archive, its file entry, its data when it was compressed.
struct ArchiveMemberStream {
  ArchiveState* archive;
  const std::uint8_t* entry;
  std::uint8_t* data;  // null for a stored member, which is read from the archive file
  int eof;
  std::uint32_t position;
};

constexpr int kArchiveTableSize = 512;

// Archive table: an archive is found by its path (letter case ignored) and counted once
// more, else opened into a free slot. Returns the slot or -1.
int OpenArchiveByPath(int lastIndex, const char* archivePath);
ArchiveState* GetArchiveState(int index);
// Drops one reference (never below 0); the archive stays open for the next request.
void ReleaseArchive(int index);
void CloseUnusedArchives();
int CloseAllArchives();
int GetOpenArchiveCount();
// Forgets the table (start-up of the file layer, when nothing is open).
void ResetArchiveTable();

int OpenArchive(ArchiveState* state, const char* path, const char* keyString);
void CloseArchive(ArchiveState* state);
// 0 when the header's directory and data area lie inside an archive of fileSize bytes
// and its table offsets inside the directory block.
int CheckArchiveHeader(const ArchiveHeader& header, std::uint32_t fileSize);
// Points the table pointers into the state's directory block (header, file size and
// block already set), makes the root current and checks the directory: 0 / -1.
int AttachArchiveDirectory(ArchiveState* state);
// 0 when every offset and count reachable from the root lies inside the directory block
// and every member's data inside the archive; -1 otherwise.
int CheckArchiveDirectory(const ArchiveState* state);

int ChangeArchiveFolder(ArchiveState* state, const char* path, int restore, ArchiveNameEntry* out);
int FindArchiveFolder(ArchiveState* state, const ArchiveNameEntry* entry);
const std::uint8_t* FindArchiveEntry(const char* memberPath, ArchiveState* state);

std::uint32_t ArchiveEntrySize(const std::uint8_t* entry);
// Bytes the member occupies in the archive: its compressed size, or its size when stored.
std::uint32_t ArchiveEntryStoredSize(const ArchiveState* state, const std::uint8_t* entry);
bool ArchiveEntryIsCompressed(const ArchiveState* state, const std::uint8_t* entry);

int OpenArchiveMember(ArchiveMemberStream* stream, ArchiveState* state, const char* memberPath);
void CloseArchiveMember(ArchiveMemberStream* stream);
std::uint32_t ReadArchiveMember(ArchiveMemberStream* stream, void* buffer, std::uint32_t bytes);
int SeekArchiveMember(ArchiveMemberStream* stream, std::int64_t offset, int origin);
std::int64_t TellArchiveMember(const ArchiveMemberStream* stream);
int ArchiveMemberEof(const ArchiveMemberStream* stream);
