// The archive directory: its check against the archive's size, the folder walk and the
// name lookup. Everything here works on the unscrambled directory block in memory.
#include <cstdint>

#include "core/archive_reader.h"
#include "core/tracked_alloc.h"

namespace {

bool InRange(std::uint64_t offset, std::uint64_t size, std::uint64_t limit) {
  return offset <= limit && size <= limit - offset;
}

const std::uint8_t* FolderEntry(const ArchiveState* state, std::uint32_t folder) {
  return state->folderTable + folder;
}

std::uint32_t FolderEntryCount(const ArchiveState* state, std::uint32_t folder) {
  return LoadLe32(FolderEntry(state, folder) + kFolderEntryCount);
}

const std::uint8_t* FolderFileEntry(const ArchiveState* state, std::uint32_t folder, std::uint32_t i) {
  const std::uint32_t first = LoadLe32(FolderEntry(state, folder) + kFolderEntryFirstFile);
  return state->fileTable + first + i * ArchiveFileEntrySize(state->header.version);
}

bool IsFolder(const std::uint8_t* entry) {
  return (LoadLe32(entry + kFileEntryAttributes) & kArchiveFolderAttribute) != 0;
}

bool EntryNameMatches(const ArchiveState* state, const std::uint8_t* entry, const ArchiveNameEntry& name) {
  return ArchiveNameEntryMatches(state->nameTable + LoadLe32(entry + kFileEntryNameOffset), name);
}

// The current folder's entry of the given kind and name, or null.
const std::uint8_t* FindInCurrentFolder(const ArchiveState* state, const ArchiveNameEntry& name, bool folder) {
  const std::uint32_t count = FolderEntryCount(state, state->currentFolder);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = FolderFileEntry(state, state->currentFolder, i);
    if (IsFolder(entry) == folder && EntryNameMatches(state, entry, name)) return entry;
  }
  return nullptr;
}

int MoveToParentFolder(ArchiveState* state) {
  const std::uint32_t parent = LoadLe32(FolderEntry(state, state->currentFolder) + kFolderEntryParent);
  if (parent == kArchiveNoParent) return -1;
  state->currentFolder = parent;
  return 0;
}

// Walks `path` folder by folder from the current folder: a leading "\" starts at the
// root, "." stays, ".." goes up; a final "\" ends the walk. 0 at the end of the path;
// -1 at the first element that is not a folder here, with *stop at that element and
// *last holding its name entry.
int WalkArchiveFolders(ArchiveState* state, const char* path, ArchiveNameEntry* last, const char** stop) {
  const char* p = path;
  if (*p == '\\') {
    state->currentFolder = 0;
    ++p;
  }
  while (*p != '\0') {
    std::uint32_t length = 0;
    int found = BuildArchiveNameEntry(p, last, &length);
    if (found == 0) {
      if (length == 0) {
        found = -1;
      } else if (length == 1 && p[0] == '.') {
        found = 0;
      } else if (length == 2 && p[0] == '.' && p[1] == '.') {
        found = MoveToParentFolder(state);
      } else {
        found = FindArchiveFolder(state, last);
      }
    }
    if (found < 0) {
      *stop = p;
      return -1;
    }
    p += length;
    if (*p == '\\') ++p;
  }
  return 0;
}

// Checks one folder's entry and its own entries; child folders go on the stack.
int CheckArchiveFolder(const ArchiveState* state, std::uint32_t folder, std::uint32_t parent,
                       std::uint32_t* stack, std::uint32_t* stackSize, std::uint64_t* budget) {
  const ArchiveHeader& h = state->header;
  if (!InRange(std::uint64_t{h.folderTableOffset} + folder, kArchiveFolderEntrySize, h.directorySize)) return -1;
  if (LoadLe32(FolderEntry(state, folder) + kFolderEntryParent) != parent) return -1;
  const std::uint32_t count = FolderEntryCount(state, folder);
  const std::uint32_t first = LoadLe32(FolderEntry(state, folder) + kFolderEntryFirstFile);
  const std::size_t entrySize = ArchiveFileEntrySize(h.version);
  // Every file entry belongs to one folder, so the walk never meets more entries
  // than the file table holds; a walk that does has shared or looping folders.
  if (count > *budget) return -1;
  *budget -= count;
  if (!InRange(std::uint64_t{h.fileTableOffset} + first, std::uint64_t{count} * entrySize, h.directorySize)) {
    return -1;
  }
  const std::uint64_t dataLimit = state->fileSize - h.dataOffset;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = FolderFileEntry(state, folder, i);
    const std::uint32_t nameOffset = LoadLe32(entry + kFileEntryNameOffset);
    if (!InRange(nameOffset, kArchiveNameEntryHeader, h.directorySize)) return -1;
    const std::uint16_t units = LoadLe16(state->nameTable + nameOffset);
    if (units == 0 || !InRange(nameOffset, kArchiveNameEntryHeader + units * std::uint64_t{4}, h.directorySize)) {
      return -1;
    }
    const std::uint32_t dataOffset = LoadLe32(entry + kFileEntryDataOffset);
    if (IsFolder(entry)) {
      stack[(*stackSize)++] = dataOffset;
      stack[(*stackSize)++] = folder;
    } else if (!InRange(dataOffset, ArchiveEntryStoredSize(state, entry), dataLimit)) {
      return -1;
    }
  }
  return 0;
}

}  // namespace

int CheckArchiveHeader(const ArchiveHeader& h, std::uint32_t fileSize) {
  const bool inside = InRange(h.directoryOffset, h.directorySize, fileSize) && h.dataOffset <= fileSize &&
                      InRange(h.folderTableOffset, kArchiveFolderEntrySize, h.directorySize) &&
                      h.fileTableOffset <= h.directorySize;
  return inside ? 0 : -1;
}

int CheckArchiveDirectory(const ArchiveState* state) {
  const ArchiveHeader& h = state->header;
  if (CheckArchiveHeader(h, state->fileSize) < 0) return -1;
  std::uint64_t budget = (h.directorySize - h.fileTableOffset) / ArchiveFileEntrySize(h.version);
  // Pairs of (folder, expected parent); each pushed pair spends one entry of the budget.
  auto* stack = static_cast<std::uint32_t*>(TRACKED_ALLOC((budget + 1) * 2 * sizeof(std::uint32_t)));
  if (stack == nullptr) return -1;
  std::uint32_t stackSize = 0;
  stack[stackSize++] = 0;
  stack[stackSize++] = kArchiveNoParent;
  int result = 0;
  while (stackSize > 0 && result == 0) {
    const std::uint32_t parent = stack[--stackSize];
    const std::uint32_t folder = stack[--stackSize];
    result = CheckArchiveFolder(state, folder, parent, stack, &stackSize, &budget);
  }
  TrackedFree(stack);
  return result;
}

int AttachArchiveDirectory(ArchiveState* state) {
  const ArchiveHeader& h = state->header;
  if (CheckArchiveHeader(h, state->fileSize) < 0) return -1;
  state->nameTable = state->directory;
  state->fileTable = state->directory + h.fileTableOffset;
  state->folderTable = state->directory + h.folderTableOffset;
  state->currentFolder = 0;
  return CheckArchiveDirectory(state);
}

std::uint32_t ArchiveEntrySize(const std::uint8_t* entry) { return LoadLe32(entry + kFileEntrySize); }

bool ArchiveEntryIsCompressed(const ArchiveState* state, const std::uint8_t* entry) {
  return state->header.version >= kArchiveFirstCompressingVersion &&
         LoadLe32(entry + kFileEntryCompressedSize) != kArchiveStoredMarker;
}

std::uint32_t ArchiveEntryStoredSize(const ArchiveState* state, const std::uint8_t* entry) {
  return ArchiveEntryIsCompressed(state, entry) ? LoadLe32(entry + kFileEntryCompressedSize)
                                                : ArchiveEntrySize(entry);
}

int FindArchiveFolder(ArchiveState* state, const ArchiveNameEntry* entry) {
  const std::uint8_t* found = FindInCurrentFolder(state, *entry, true);
  if (found == nullptr) return -1;
  state->currentFolder = LoadLe32(found + kFileEntryDataOffset);
  return 0;
}

int ChangeArchiveFolder(ArchiveState* state, const char* path, int restore, ArchiveNameEntry* out) {
  const std::uint32_t start = state->currentFolder;
  ArchiveNameEntry last{};
  const char* stop = nullptr;
  const int result = WalkArchiveFolders(state, path, &last, &stop);
  if (result < 0 && restore == 1) state->currentFolder = start;
  if (out != nullptr) *out = last;
  return result;
}

const std::uint8_t* FindArchiveEntry(const char* memberPath, ArchiveState* state) {
  const std::uint32_t start = state->currentFolder;
  ArchiveNameEntry name;
  std::uint32_t length = 0;
  bool lookUp = BuildArchiveNameEntry(memberPath, &name, &length) == 0;
  if (lookUp && memberPath[length] != '\0') {
    // A path with folders: only its last element can name the file; a walk that
    // ends without stopping named a folder, and a missing folder is never a file.
    const char* stop = nullptr;
    lookUp = WalkArchiveFolders(state, memberPath, &name, &stop) < 0 &&
             BuildArchiveNameEntry(stop, &name, &length) == 0 && stop[length] == '\0';
  }
  const std::uint8_t* found = lookUp ? FindInCurrentFolder(state, name, false) : nullptr;
  state->currentFolder = start;
  return found;
}
