// The table of open archives. An archive opens on the first member request that reaches
// it and stays open, unreferenced, after its last member closes, so the next request
// finds it ready; unreferenced archives close when the table is full and at shut-down.
#include <cstring>

#include "core/archive_reader.h"
#include "core/file_layer.h"
#include "core/file_paths.h"
#include "core/string_functions.h"
#include "core/tracked_alloc.h"

namespace {

struct ArchiveRecord {
  int references;
  ArchiveState state;
  char path[kFilePathMax];
};

ArchiveRecord* archives[kArchiveTableSize];
int archiveCount;

bool IsOpenAt(int index, const char* path) {
  return index >= 0 && index < kArchiveTableSize && archives[index] != nullptr &&
         IsSamePathIgnoringCase(archives[index]->path, path);
}

int FirstFreeSlot() {
  for (int i = 0; i < kArchiveTableSize; ++i) {
    if (archives[i] == nullptr) return i;
  }
  return -1;
}

}  // namespace

int OpenArchiveByPath(int lastIndex, const char* archivePath) {
  if (std::strlen(archivePath) >= kFilePathMax) return -1;
  if (IsOpenAt(lastIndex, archivePath)) {
    ++archives[lastIndex]->references;
    return lastIndex;
  }
  int freeSlot = -1;
  for (int i = 0; i < kArchiveTableSize; ++i) {
    if (archives[i] == nullptr) {
      freeSlot = i;
    } else if (IsOpenAt(i, archivePath)) {
      ++archives[i]->references;
      return i;
    }
  }
  if (archiveCount >= kArchiveTableSize) {
    CloseUnusedArchives();
    freeSlot = FirstFreeSlot();
  }
  if (freeSlot < 0) return -1;
  ArchiveState state{};
  if (OpenArchive(&state, archivePath, GetArchiveKeyString()) < 0) return -1;
  auto* record = static_cast<ArchiveRecord*>(TRACKED_ALLOC(sizeof(ArchiveRecord)));
  if (record == nullptr) {
    CloseArchive(&state);
    return -1;
  }
  record->references = 1;
  record->state = state;
  CopyString(record->path, archivePath);
  archives[freeSlot] = record;
  ++archiveCount;
  return freeSlot;
}

ArchiveState* GetArchiveState(int index) { return &archives[index]->state; }

void ReleaseArchive(int index) {
  if (archives[index]->references > 0) --archives[index]->references;
}

void CloseUnusedArchives() {
  for (int i = 0; i < kArchiveTableSize; ++i) {
    if (archives[i] != nullptr && archives[i]->references < 1) {
      CloseArchive(&archives[i]->state);
      TrackedFree(archives[i]);
      archives[i] = nullptr;
      --archiveCount;
    }
  }
}

int CloseAllArchives() {
  CloseUnusedArchives();
  return 0;
}

int GetOpenArchiveCount() { return archiveCount; }

void ResetArchiveTable() {
  std::memset(archives, 0, sizeof archives);
  archiveCount = 0;
}
