#include "kernel/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "kernel/kernel_object.h"
#include "kernel/path_resolver.h"

namespace {

// An open file, or a folder held open to name files in.
template <KernelObject::Kind kObjectKind>
struct DescriptorObject : KernelObject {
  static constexpr Kind kKind = kObjectKind;
  explicit DescriptorObject(int openDescriptor) : KernelObject(kKind), descriptor(openDescriptor) {}
  ~DescriptorObject() override { ::close(descriptor); }
  const int descriptor;
};
using FileObject = DescriptorObject<KernelObject::Kind::kFile>;
using FolderObject = DescriptorObject<KernelObject::Kind::kFolder>;

// Where relative names are resolved: in the held folder, or, for none, in the current
// directory. -1 (every use fails) for a handle that holds no folder.
int BaseOf(HANDLE folder) {
  if (folder == nullptr) return AT_FDCWD;
  const FolderObject* object = HandleAs<FolderObject>(folder);
  return object != nullptr ? object->descriptor : -1;
}

int OpenFlags(DWORD access, DWORD disposition) {
  int flags = O_CLOEXEC;
  const bool read = (access & GENERIC_READ) != 0;
  const bool write = (access & GENERIC_WRITE) != 0;
  flags |= (read && write) ? O_RDWR : (write ? O_WRONLY : O_RDONLY);
  switch (disposition) {
    case CREATE_NEW: return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS: return flags | O_CREAT;  // emptied once the file is known to be the user's own
    case OPEN_EXISTING: return flags;
    case OPEN_ALWAYS: return flags | O_CREAT;
    default: return -1;
  }
}

// Opens `path` with `flags`; `made` says whether this open made the file. An open that
// may either make the file or find it first tries to make it, so that it knows which.
int OpenOrMake(int base, const std::string& path, int flags, bool& made) {
  if ((flags & (O_CREAT | O_EXCL)) == O_CREAT) {
    const int descriptor = ::openat(base, path.c_str(), flags | O_EXCL, 0644);
    made = descriptor >= 0;
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  const int descriptor = ::openat(base, path.c_str(), flags, 0644);
  made = descriptor >= 0 && (flags & O_EXCL) != 0;
  return descriptor;
}

// A file made here is its maker's to open again, as on the system these calls stand in
// for: a umask that takes the owner's bits (0277) would leave a log that takes no line
// after its first. The group's and others' bits stay as the umask left them.
void GiveOwnersUse(int descriptor) {
  constexpr mode_t kOwnersUse = S_IRUSR | S_IWUSR;
  struct stat made {};
  if (::fstat(descriptor, &made) == 0 && (made.st_mode & kOwnersUse) != kOwnersUse) {
    ::fchmod(descriptor, (made.st_mode & 07777) | kOwnersUse);
  }
}

// A file only read may be found whatever its letter case; one that is written or may
// be created is the file of the exact name.
LastElement NameMatchFor(DWORD access, DWORD disposition) {
  const bool onlyReads = (access & GENERIC_WRITE) == 0 && disposition == OPEN_EXISTING;
  return onlyReads ? LastElement::kAnyCase : LastElement::kExactName;
}

// Whether the user running the program did not make what `info` describes. Root too
// keeps to its own: in a folder shared with the sticky bit another user's file may
// stand at any of the program's names.
bool OfAnotherUser(const struct stat& info) { return info.st_uid != ::geteuid(); }

// Keeps a descriptor opened without blocking when it is a regular file, which then
// blocks as usual, and when opened to write one of the user's own; anything else fails
// with errno set. The file is judged by the descriptor, so nothing put in its place
// between a look at the name and the open is written.
bool KeepRegularFile(int descriptor, bool writes) {
  struct stat info;
  if (::fstat(descriptor, &info) != 0) return false;
  if (!S_ISREG(info.st_mode)) {
    errno = S_ISDIR(info.st_mode) ? EISDIR : ENXIO;
    return false;
  }
  if (writes && OfAnotherUser(info)) {
    errno = EPERM;
    return false;
  }
  const int status = ::fcntl(descriptor, F_GETFL);
  return status >= 0 && ::fcntl(descriptor, F_SETFL, status & ~O_NONBLOCK) == 0;
}

// Copies text into a caller's buffer the way the directory queries report it.
DWORD CopyOut(const std::string& text, DWORD bufferLength, LPSTR buffer) {
  if (text.size() + 1 > bufferLength) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

}  // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE) {
  return CreateFileInFolderA(nullptr, fileName, desiredAccess, shareMode, security, creationDisposition,
                             flagsAndAttributes);
}

HANDLE CreateFileInFolderA(HANDLE folder, LPCSTR fileName, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                           DWORD creationDisposition, DWORD flagsAndAttributes) {
  int flags = OpenFlags(desiredAccess, creationDisposition);
  if ((flagsAndAttributes & FILE_FLAG_OPEN_REPARSE_POINT) != 0) flags |= O_NOFOLLOW;
  if (fileName == nullptr || flags < 0) return INVALID_HANDLE_VALUE;
  const int base = BaseOf(folder);
  const std::string path = ResolvePath(fileName, NameMatchFor(desiredAccess, creationDisposition), base);
  bool made = false;
  const int descriptor = OpenOrMake(base, path, flags | O_NONBLOCK | O_NOCTTY, made);
  if (descriptor < 0) return INVALID_HANDLE_VALUE;
  const bool writes = (desiredAccess & GENERIC_WRITE) != 0;
  if (made) GiveOwnersUse(descriptor);
  if (!KeepRegularFile(descriptor, writes) ||
      (creationDisposition == CREATE_ALWAYS && ::ftruncate(descriptor, 0) != 0)) {
    const int error = errno;
    ::close(descriptor);
    errno = error;
    return INVALID_HANDLE_VALUE;
  }
  return new FileObject(descriptor);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED) {
  FileObject* object = HandleAs<FileObject>(file);
  if (bytesRead != nullptr) *bytesRead = 0;
  if (object == nullptr || (buffer == nullptr && bytesToRead > 0)) return FALSE;
  DWORD done = 0;
  while (done < bytesToRead) {
    const ssize_t got = ::read(object->descriptor, static_cast<char*>(buffer) + done, bytesToRead - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FALSE;
    if (got == 0) break;
    done += static_cast<DWORD>(got);
  }
  if (bytesRead != nullptr) *bytesRead = done;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED) {
  FileObject* object = HandleAs<FileObject>(file);
  if (bytesWritten != nullptr) *bytesWritten = 0;
  if (object == nullptr || (buffer == nullptr && bytesToWrite > 0)) return FALSE;
  DWORD done = 0;
  while (done < bytesToWrite) {
    const ssize_t put =
        ::write(object->descriptor, static_cast<const char*>(buffer) + done, bytesToWrite - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return FALSE;
    done += static_cast<DWORD>(put);
    if (bytesWritten != nullptr) *bytesWritten = done;
  }
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distanceToMove, PLONG distanceToMoveHigh, DWORD moveMethod) {
  FileObject* object = HandleAs<FileObject>(file);
  if (object == nullptr || moveMethod > FILE_END) return INVALID_SET_FILE_POINTER;
  std::int64_t distance = distanceToMove;
  if (distanceToMoveHigh != nullptr) {
    distance = static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(*distanceToMoveHigh))
                                          << 32) |
                                         static_cast<std::uint32_t>(distanceToMove));
  }
  std::int64_t base = 0;
  if (moveMethod == FILE_CURRENT) base = ::lseek(object->descriptor, 0, SEEK_CUR);
  if (moveMethod == FILE_END) {
    struct stat info;
    base = ::fstat(object->descriptor, &info) == 0 ? info.st_size : -1;
  }
  if (base < 0) return INVALID_SET_FILE_POINTER;
  const std::int64_t target = base + distance;
  if (target < 0 || (distanceToMoveHigh == nullptr && target >= INVALID_SET_FILE_POINTER)) {
    return INVALID_SET_FILE_POINTER;
  }
  if (::lseek(object->descriptor, target, SEEK_SET) < 0) return INVALID_SET_FILE_POINTER;
  if (distanceToMoveHigh != nullptr) *distanceToMoveHigh = static_cast<LONG>(target >> 32);
  return static_cast<DWORD>(target & 0xFFFFFFFF);
}

DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh) {
  FileObject* object = HandleAs<FileObject>(file);
  struct stat info;
  if (object == nullptr || ::fstat(object->descriptor, &info) != 0) return INVALID_FILE_SIZE;
  const std::uint64_t size = static_cast<std::uint64_t>(info.st_size);
  if (fileSizeHigh != nullptr) *fileSizeHigh = static_cast<DWORD>(size >> 32);
  return static_cast<DWORD>(size & 0xFFFFFFFF);
}

BOOL DeleteFileA(LPCSTR fileName) { return DeleteFileInFolderA(nullptr, fileName); }

BOOL DeleteFileInFolderA(HANDLE folder, LPCSTR fileName) {
  if (fileName == nullptr) return FALSE;
  const int base = BaseOf(folder);
  const std::string path = ResolvePath(fileName, LastElement::kExactName, base);
  struct stat info;
  if (::fstatat(base, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && OfAnotherUser(info)) {
    errno = EPERM;
    return FALSE;
  }
  return ::unlinkat(base, path.c_str(), 0) == 0 ? TRUE : FALSE;
}

BOOL FindAnotherUsersFile(LPCSTR fileName, DWORD* owner, std::string* ownerName) {
  return FindAnotherUsersFileInFolder(nullptr, fileName, owner, ownerName);
}

BOOL FindAnotherUsersFileInFolder(HANDLE folder, LPCSTR fileName, DWORD* owner, std::string* ownerName) {
  if (fileName == nullptr) return FALSE;
  struct stat info;
  const int base = BaseOf(folder);
  const std::string path = ResolvePath(fileName, LastElement::kExactName, base);
  if (::fstatat(base, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !OfAnotherUser(info)) return FALSE;
  if (owner != nullptr) *owner = info.st_uid;
  if (ownerName != nullptr) {
    const passwd* user = ::getpwuid(info.st_uid);
    *ownerName = user != nullptr ? user->pw_name : "";
  }
  return TRUE;
}

HANDLE OpenFolderA(LPCSTR pathName) {
  if (pathName == nullptr) return INVALID_HANDLE_VALUE;
  const int descriptor = ::open(ResolvePath(pathName).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  return descriptor >= 0 ? new FolderObject(descriptor) : INVALID_HANDLE_VALUE;
}

DWORD GetFinalPathNameByHandleA(HANDLE file, LPSTR filePath, DWORD filePathLength, DWORD) {
  const FileObject* opened = HandleAs<FileObject>(file);
  const FolderObject* held = HandleAs<FolderObject>(file);
  if (opened == nullptr && held == nullptr) return 0;
  const std::string link = "/proc/self/fd/" + std::to_string(opened != nullptr ? opened->descriptor : held->descriptor);
  char path[PATH_MAX];
  const ssize_t length = ::readlink(link.c_str(), path, sizeof path);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return 0;
  return CopyOut(std::string(path, static_cast<std::size_t>(length)), filePathLength, filePath);
}

BOOL SetCurrentDirectoryA(LPCSTR pathName) {
  if (pathName == nullptr) return FALSE;
  return ::chdir(ResolvePath(pathName).c_str()) == 0 ? TRUE : FALSE;
}

DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
  char* current = ::getcwd(nullptr, 0);
  if (current == nullptr) return 0;
  const std::string text(current);
  std::free(current);
  return CopyOut(text, bufferLength, buffer);
}

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
  const char* environment = std::getenv("TMPDIR");
  std::string text = (environment != nullptr && environment[0] != '\0') ? environment : "/tmp";
  if (text.back() != '/') text += '/';
  return CopyOut(text, bufferLength, buffer);
}

UINT GetTempFileNameA(LPCSTR pathName, LPCSTR prefixString, UINT unique, LPSTR tempFileName) {
  if (pathName == nullptr || tempFileName == nullptr) return 0;
  std::string stem(pathName);
  if (!stem.empty() && !IsPathSeparator(stem.back(), IsSystemFormPath(pathName))) stem += '/';
  if (prefixString != nullptr) stem.append(prefixString, ::strnlen(prefixString, 3));

  auto nameFor = [&stem](UINT number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%X.tmp", number & 0xFFFF);
    return stem + digits;
  };
  auto copyName = [tempFileName](const std::string& name) {
    if (name.size() + 1 > MAX_PATH) return false;
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return true;
  };

  if (unique != 0) return copyName(nameFor(unique)) ? (unique & 0xFFFF) : 0;

  static std::atomic<UINT> counter{static_cast<UINT>(::getpid())};
  for (int attempt = 0; attempt < 0x10000; ++attempt) {
    UINT number = counter.fetch_add(1) & 0xFFFF;
    if (number == 0) continue;
    const std::string name = nameFor(number);
    const std::string path = ResolvePath(name.c_str(), LastElement::kExactName);
    const int descriptor = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (descriptor < 0) {
      if (errno == EEXIST) continue;
      return 0;
    }
    ::close(descriptor);
    if (!copyName(name)) {
      ::unlink(path.c_str());
      return 0;
    }
    return number;
  }
  return 0;
}
