// The installed file-function table, its wrappers, the archive settings and the
// temporary-file function.
#include "core/file_layer.h"

#include <cstring>

#include "core/archive_format.h"
#include "core/archive_reader.h"
#include "core/file_paths.h"
#include "core/plain_file.h"
#include "core/string_functions.h"
#include "kernel/files.h"
#include "kernel/handles.h"
#include "kernel/path_resolver.h"

namespace {

constexpr std::size_t kExtensionMax = 63;
constexpr const char* kDefaultExtension = "MUA";

PlainFileStream* AsPlainFile(StreamHandle handle) { return reinterpret_cast<PlainFileStream*>(handle); }

const FileFunctionTable kArchiveSet = {
    ArchiveStreamOpen, ArchiveStreamClose, ArchiveStreamTell, ArchiveStreamSeek, ArchiveStreamRead,
    ArchiveStreamEof,  ArchiveStreamIdleCheck, PlainFileSetDir, PlainFileGetDir,
};

const FileFunctionTable kPlainSet = {
    [](const char* path, int async, int) { return reinterpret_cast<StreamHandle>(PlainFileOpen(path, async)); },
    [](StreamHandle h) { return PlainFileClose(AsPlainFile(h)); },
    [](StreamHandle h) { return PlainFileTell(AsPlainFile(h)); },
    [](StreamHandle h, std::int64_t offset, int origin) { return PlainFileSeek(AsPlainFile(h), offset, origin); },
    [](void* buffer, std::size_t size, std::size_t count, StreamHandle h) {
      return PlainFileRead(buffer, size, count, AsPlainFile(h));
    },
    [](StreamHandle h) { return PlainFileEof(AsPlainFile(h)); },
    [](StreamHandle h) { return PlainFileIdleCheck(AsPlainFile(h)); },
    PlainFileSetDir,
    PlainFileGetDir,
};

const StreamOps kFileStreamOps = {FileTell, FileSeek, FileReadBlock, FileEof, FileIdleCheck, FileClose};

struct ArchiveSettings {
  int archivesOff;
  char extension[kExtensionMax + 1];
  int keySet;
  char key[kArchiveKeyStringMax + 1];
};

ArchiveSettings settings;
FileFunctionTable installed = kArchiveSet;

}  // namespace

int InitFileSystem() {
  const int archivesOff = settings.archivesOff;
  settings = ArchiveSettings{};
  settings.archivesOff = archivesOff;
  ResetArchiveStreams();
  ResetArchiveTable();
  return 0;
}

int InstallFileFunctionTable(const FileFunctionTable* table) {
  if (table != nullptr) {
    installed = *table;
  } else {
    installed = settings.archivesOff ? kPlainSet : kArchiveSet;
  }
  return 0;
}

StreamHandle FileOpen(const char* path, int async) { return installed.open(path, async, 0); }
int FileClose(StreamHandle handle) { return installed.close(handle); }
std::int64_t FileTell(StreamHandle handle) { return installed.tell(handle); }
int FileSeek(StreamHandle handle, std::int64_t offset, int origin) { return installed.seek(handle, offset, origin); }
std::size_t FileReadBlock(void* buffer, std::size_t size, std::size_t count, StreamHandle handle) {
  return installed.read(buffer, size, count, handle);
}
int FileEof(StreamHandle handle) { return installed.eof(handle); }
int FileIdleCheck(StreamHandle handle) { return installed.idleCheck(handle); }
int FileSetCurrentDir(const char* path) { return installed.setCurrentDir(path); }
int FileGetCurrentDir(char* buffer, std::size_t size) { return installed.getCurrentDir(buffer, size); }

const StreamOps* GetFileStreamOps() { return &kFileStreamOps; }

int SetArchiveAccessBody(int flag) {
  settings.archivesOff = !flag;
  return 0;
}

int SetArchiveFileExtensionBody(const char* extension) {
  const bool usable = extension != nullptr && extension[0] != '\0' && std::strlen(extension) <= kExtensionMax;
  CopyString(settings.extension, usable ? extension : "");
  return 0;
}

int SetArchiveKeyBody(const char* key) {
  settings.keySet = key != nullptr;
  settings.key[0] = '\0';
  if (key != nullptr) std::strncat(settings.key, key, kArchiveKeyStringMax);
  return 0;
}

const char* GetArchiveFileExtension() { return settings.extension[0] != '\0' ? settings.extension : kDefaultExtension; }

const char* GetArchiveKeyString() { return settings.keySet ? settings.key : nullptr; }

HANDLE WriteTempFile(char* path, std::size_t pathSize) {
  char folder[kFilePathMax];
  const DWORD length = GetTempPathA(sizeof folder - 1, folder);
  if (length == 0 || length >= sizeof folder - 1) return nullptr;
  const bool systemForm = IsSystemFormPath(folder);
  if (!IsPathSeparator(folder[length - 1], systemForm)) AppendString(folder, systemForm ? "/" : "\\");
  char name[kFilePathMax];
  char fullPath[kFilePathMax];
  if (GetTempFileNameA(folder, "tmp", 0, name) == 0 || MakeFullPath(name, fullPath, sizeof fullPath, nullptr) < 0) {
    return nullptr;
  }
  DeleteFileA(fullPath);
  if (path != nullptr && std::strlen(fullPath) >= pathSize) return nullptr;
  HANDLE file = CreateFileA(fullPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  if (path != nullptr) CopyString(path, fullPath);
  return file;
}
