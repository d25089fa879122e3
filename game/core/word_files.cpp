#include "core/word_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <optional>

#include "core/own_links.h"
#include "game_library.h"

namespace {

constexpr int kWordBytes = 4;
// Names tried for a temporary file before giving up (each is new unless another
// program happened to draw the same).
constexpr int kTemporaryNameTries = 100;

int DecodeWord(const unsigned char* bytes) {
  const std::uint32_t value = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                              (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
  return static_cast<int>(value);
}

void EncodeWord(int word, unsigned char* bytes) {
  const std::uint32_t value = static_cast<std::uint32_t>(word);
  for (int i = 0; i < kWordBytes; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

// Whether the file's mode lets this user read (R_OK) or write (W_OK) it. Root passes
// the system's check whatever the mode, so for root the owner's bits decide: a save its
// owner made unreadable or read-only is treated so whoever runs the game.
bool ModeAllows(const char* name, const struct stat& status, int access) {
  if (::geteuid() == 0) return (status.st_mode & (access == R_OK ? S_IRUSR : S_IWUSR)) != 0;
  return ::faccessat(AT_FDCWD, name, access, AT_EACCESS) == 0;
}

// The owner of what stands at `name` (a link itself, not followed) when that is another
// user than the one running the game.
std::optional<uid_t> AnotherUsersFile(const std::string& name) {
  struct stat status {};
  if (::lstat(name.c_str(), &status) != 0 || status.st_uid == ::geteuid()) return std::nullopt;
  return status.st_uid;
}

// 0 when `status` is that of a regular file of this user's own that its mode lets this
// user read, else why not.
int ReadableFileError(const char* name, const struct stat& status) {
  if (status.st_uid != ::geteuid()) return kForeignFile;
  if (S_ISDIR(status.st_mode)) return EISDIR;
  if (!S_ISREG(status.st_mode)) return kNotARegularFile;
  return ModeAllows(name, status, R_OK) ? 0 : EACCES;
}

// Six letters or digits, new at every call.
std::string RandomLetters() {
  static std::uint64_t counter = 0;
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    bits = (std::uint64_t{static_cast<std::uint32_t>(::getpid())} << 32) ^
           static_cast<std::uint64_t>(now.tv_nsec) ^ static_cast<std::uint64_t>(now.tv_sec);
  }
  bits += 0x9E3779B97F4A7C15ull * ++counter;
  constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string letters;
  for (int i = 0; i < 6; ++i, bits /= 36) letters += kLetters[bits % 36];
  return letters;
}

// The permission bits of a file that cannot keep the group of the file it replaces:
// members of that group become others and members of the new one stop being others,
// so the group and others both get only what the group and others both had before.
mode_t ModeUnderAnotherGroup(mode_t mode) {
  const mode_t sharedBits = (mode >> 3) & mode & 07;
  return (mode & 0700) | (sharedBits << 3) | sharedBits;
}

// Whether a file made beside `target` surely gets the group `group`: new files take the
// folder's group in a set-group-ID folder (or on a file system mounted so), else the
// process's.
bool NewFilesGetGroup(const std::string& target, gid_t group) {
  const std::filesystem::path folder = std::filesystem::path(target).parent_path();
  struct stat status {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &status) != 0 || status.st_gid != group) return false;
  return (status.st_mode & S_ISGID) != 0 || ::getegid() == group;
}

// Gives the temporary file, still empty, its permissions. One that replaces a file gets
// that file's group and then its mode, which the umask or a doubt about the group made
// narrower; where the group cannot be given (the user is not in it), the file keeps its
// own group under the mode that is no wider for anyone, and `groupError` says why. One
// made where none stood (`replaced` nullptr) keeps the umask's bits for the group and
// others but always gets its owner's read and write: under 0277 no later start could
// replace it, under 0477 none could read it. False when a call failed.
bool GivePermissions(int descriptor, const struct stat* replaced, int& groupError) {
  struct stat made {};
  if (::fstat(descriptor, &made) != 0) return false;
  mode_t mode = (made.st_mode & 0777) | S_IRUSR | S_IWUSR;
  if (replaced != nullptr) {
    if (made.st_gid != replaced->st_gid && ::fchown(descriptor, static_cast<uid_t>(-1), replaced->st_gid) != 0) {
      groupError = errno;
    }
    const mode_t replacedMode = replaced->st_mode & 0777;
    mode = groupError == 0 ? replacedMode : ModeUnderAnotherGroup(replacedMode);
  }
  return (made.st_mode & 0777) == mode || ::fchmod(descriptor, mode) == 0;
}

// A new file beside `target` under a name that nothing held (the target's name, six
// random letters and ".tmp"), so nothing that stands there is touched and two programs
// writing one target each write their own. It gets the permissions of the file it
// replaces, `replaced` (nullptr: none, a new file's), and is made with no more than
// those under whatever group it is made with, so the new contents are never open to
// more users than the target's were, not even for a moment (a descriptor opened while
// the file was wider would stay open). Sets `name`, or `error` when it cannot be
// made, and `groupError` when it could not keep the replaced file's group.
std::FILE* CreateTemporaryFile(const std::string& target, const struct stat* replaced, std::string& name, int& error,
                               int& groupError) {
  mode_t creationMode = 0666;
  if (replaced != nullptr) {
    creationMode = replaced->st_mode & 0777;
    if (!NewFilesGetGroup(target, replaced->st_gid)) creationMode = ModeUnderAnotherGroup(creationMode);
  }
  for (int tries = 0; tries < kTemporaryNameTries; ++tries) {
    name = target + "." + RandomLetters() + ".tmp";
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, creationMode);
    if (descriptor < 0 && errno == EEXIST) continue;
    if (descriptor < 0) break;
    std::FILE* file = GivePermissions(descriptor, replaced, groupError) ? ::fdopen(descriptor, "wb") : nullptr;
    if (file != nullptr) return file;
    error = errno;
    ::close(descriptor);
    ::unlink(name.c_str());
    return nullptr;
  }
  error = errno;
  return nullptr;
}

// Says that a link (`link`) or other file of another user is left as it is and
// `notDone`, naming it and its owner: -1.
int ReportAnotherUsers(bool link, const std::string& name, uid_t owner, const std::string& notDone) {
  const passwd* user = ::getpwuid(owner);
  const std::string text = std::string(link ? "右記のリンク" : "右記のファイル") + "は別のユーザー（" +
                           (user != nullptr ? "%s、" : "%s") + "uid " + std::to_string(owner) + "）のものなので、" +
                           (link ? "たどらずに" : "") + "そのまま残し、" + notDone + "：";
  return ReportProblem(FileLogLine(text, "%s", 0).c_str(), user != nullptr ? user->pw_name : "", name.c_str());
}

// Leaves another user's link or file as it is, saying so: false (nothing was moved aside).
bool LeaveAnotherUsers(bool link, const std::string& name, uid_t owner, const std::string& notDone) {
  ReportAnotherUsers(link, name, owner, notDone);
  return false;
}

// Where a file is kept aside: its own folder and name, with `tag` before the extension.
std::string AsideName(const std::string& file, const std::string& tag) {
  std::filesystem::path path = file;
  return path.replace_filename(path.stem().string() + tag + path.extension().string()).string();
}

// Gives `file` the name `keptName` too, unless something stands there: 0, or the
// system's error. The write that follows then replaces the file as it would any, keeping
// its permissions and group, while the kept name holds what it was. Where the file system
// has no hard links, the file is renamed instead.
int KeepUnderName(const char* file, const char* keptName) {
  if (::link(file, keptName) == 0) return 0;
  const int error = errno;
  return error == EPERM || error == EOPNOTSUPP || error == EMLINK ? RenameWithoutReplacing(file, keptName) : error;
}

// Moves `file` (`what` says which kind) to `asideName` by `move` unless that name is
// taken, and logs it; when it cannot, the file stays and that is said with `notDone`.
bool PutAside(const std::string& file, const std::string& asideName, const std::string& what,
              const std::string& notDone, int (*move)(const char*, const char*)) {
  if (const int moveError = move(file.c_str(), asideName.c_str()); moveError != 0) {
    const std::optional<uid_t> owner = moveError == EEXIST ? AnotherUsersFile(asideName) : std::nullopt;
    if (owner) return LeaveAnotherUsers(false, asideName, *owner, notDone);
    ReportFileLine(what + "を右記の名前へ移せないため、" + notDone + "：", asideName, moveError);
    return false;
  }
  WriteLog(FileLogLine(what + "を右記の名前で残しました：", asideName, 0).c_str());
  return true;
}

}  // namespace

std::string FileErrorText(int error) {
  if (error == kNotARegularFile) return "Not a regular file";
  if (error == kForeignFile) return "A file of another user";
  return error == kForeignLink ? "A link of another user" : std::strerror(error);
}

std::string FileLogLine(const std::string& text, const std::string& name, int error) {
  std::string line = text + name;
  if (error != 0) line += "（" + FileErrorText(error) + "）";
  return line + "\n";
}

int ReportFileLine(const std::string& text, const std::string& name, int error) {
  return ReportProblem(FileLogLine(text, "%s", error).c_str(), name.c_str());
}

bool ErrorMayPass(int error) {
  constexpr int kPassingErrors[] = {EMFILE, ENFILE, ENOMEM, ENOBUFS, EINTR, EAGAIN, EBUSY, ETIMEDOUT};
  return std::find(std::begin(kPassingErrors), std::end(kPassingErrors), error) != std::end(kPassingErrors);
}

WordFileReader::WordFileReader(const char* name) {
  // Only a regular file is opened (a device may act on an open), and without waiting:
  // a FIFO put there in between would hold the open until something wrote to it. The
  // file is opened by the name the links of this user lead to, never through a link:
  // one put there in between fails the open.
  const LinkWalk walk = FollowOwnLinks(name);
  const char* file = walk.file.c_str();
  struct stat status {};
  int descriptor = -1;
  if (walk.foreign) {
    error_ = kForeignLink;
  } else if (::lstat(file, &status) != 0) {
    error_ = errno;
  } else if (S_ISLNK(status.st_mode)) {
    error_ = ELOOP;  // links in a loop, or more than the system follows
  } else if ((error_ = ReadableFileError(file, status)) == 0) {
    descriptor = ::open(file, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0) {
      error_ = errno;
    } else if ((error_ = ReadableFileError(file, status)) == 0 &&
               (::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0 ||
                (file_ = ::fdopen(descriptor, "rb")) == nullptr)) {
      error_ = errno;
    }
  }
  if (error_ == ENOENT) error_ = 0;  // no file: nothing to read, nothing lost
  if (file_ == nullptr) {
    if (descriptor >= 0) ::close(descriptor);
    return;
  }
  size_ = static_cast<long>(status.st_size);
}

WordFileReader::~WordFileReader() {
  if (file_ != nullptr) std::fclose(file_);
}

bool WordFileReader::Read(int& word) {
  unsigned char bytes[kWordBytes];
  if (file_ == nullptr) return false;
  if (std::fread(bytes, 1, kWordBytes, file_) != kWordBytes) {
    if (std::ferror(file_)) error_ = errno != 0 ? errno : EIO;
    return false;
  }
  word = DecodeWord(bytes);
  return true;
}

int WordFileReader::Read(int* words, int count) {
  int read = 0;
  while (read < count && Read(words[read])) ++read;
  return read;
}

int RenameWithoutReplacing(const char* name, const char* newName) {
  return ::renameat2(AT_FDCWD, name, AT_FDCWD, newName, RENAME_NOREPLACE) == 0 ? 0 : errno;
}

bool SetAsideUnreadFile(const char* name, int readError, const char* notDone) {
  const LinkWalk walk = FollowOwnLinks(name, /*standingOnly=*/true);
  if (walk.foreign) return LeaveAnotherUsers(true, walk.file, walk.owner, notDone);
  if (const auto owner = AnotherUsersFile(walk.file)) return LeaveAnotherUsers(false, walk.file, *owner, notDone);
  WriteLog(FileLogLine("右記のファイルの読み込みに失敗しました：", walk.file, readError).c_str());
  // A link or file of another user met in the reading may have gone since: the file
  // stays until read again.
  if (ErrorMayPass(readError) || readError == kForeignLink || readError == kForeignFile) {
    ReportFileLine(std::string("一時的な失敗かもしれないためファイルをそのまま残し、") + notDone + "：", walk.file,
                   readError);
    return false;
  }
  // A link may lead to a device, a folder or a FIFO of anyone's that is no save gone bad
  // (a link to the null device keeps no save): only a regular file is moved from there.
  struct stat status {};
  if (walk.throughLink && ::lstat(walk.file.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    ReportFileLine(std::string("リンクの先は通常のファイルではないため、そのまま残し、") + notDone + "：", walk.file,
                   readError);
    return false;
  }
  return PutAside(walk.file, AsideName(walk.file, ".unreadable"), "読み込めなかったファイル", notDone,
                  RenameWithoutReplacing);
}

bool SetAsideOtherSizeFile(const char* name, long size, const char* notDone) {
  const LinkWalk walk = FollowOwnLinks(name, /*standingOnly=*/true);
  if (walk.foreign) return LeaveAnotherUsers(true, walk.file, walk.owner, notDone);
  return PutAside(walk.file, AsideName(walk.file, "." + std::to_string(size) + "-bytes"), "大きさの違うファイル",
                  notDone, KeepUnderName);
}

WordFileWriter::WordFileWriter(const char* name) {
  const LinkWalk walk = FollowOwnLinks(name);
  name_ = walk.file;
  owner_ = walk.owner;
  // What stands at the name, which the rename replaces: a regular file gives the new one
  // its permissions.
  struct stat target {};
  replacing_ = !walk.foreign && ::lstat(name_.c_str(), &target) == 0;
  if (walk.foreign) {
    error_ = kForeignLink;
  } else if (!replacing_) {
    if (errno != ENOENT) error_ = errno;
  } else if (target.st_uid != ::geteuid()) {
    error_ = kForeignFile;
    owner_ = target.st_uid;
  } else if (S_ISDIR(target.st_mode)) {
    error_ = EISDIR;
  } else if (S_ISREG(target.st_mode)) {
    // A rename would replace a read-only file that opening it for writing could not.
    if (!ModeAllows(name_.c_str(), target, W_OK)) error_ = EACCES;
  } else if (!S_ISLNK(target.st_mode)) {  // a link here is a loop, replaced as a plain file would be
    error_ = kNotARegularFile;
  }
  if (error_ == 0) {
    const struct stat* replaced = S_ISREG(target.st_mode) ? &target : nullptr;
    file_ = CreateTemporaryFile(name_, replaced, temporaryName_, error_, groupError_);
    noTemporaryFile_ = file_ == nullptr;
  }
}

WordFileWriter::~WordFileWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
    std::remove(temporaryName_.c_str());
  }
}

void WordFileWriter::Fail(int error) {
  if (error_ == 0) error_ = error != 0 ? error : EIO;
}

void WordFileWriter::Write(int word) {
  unsigned char bytes[kWordBytes];
  EncodeWord(word, bytes);
  if (error_ != 0) return;
  errno = 0;
  if (std::fwrite(bytes, 1, kWordBytes, file_) != kWordBytes) Fail(errno);
}

void WordFileWriter::Write(const int* words, int count) {
  for (int i = 0; i < count; ++i) Write(words[i]);
}

void WordFileWriter::WriteZeros(int count) {
  for (int i = 0; i < count; ++i) Write(0);
}

int WordFileWriter::Commit() {
  if (file_ == nullptr) return ReportFailure();
  if (error_ == 0 && (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0)) Fail(errno);
  if (std::fclose(file_) != 0) Fail(errno);
  file_ = nullptr;
  if (error_ == 0) error_ = MoveIntoPlace();
  if (error_ == 0) {
    if (groupError_ != 0) {
      WriteLog(FileLogLine("右記のファイルは元のグループを保てないため、グループと他のユーザーには元の両方に"
                           "許されていた権限だけを残して書き込みました：",
                           name_, groupError_)
                   .c_str());
    }
    return 0;
  }
  std::remove(temporaryName_.c_str());
  return ReportFailure();
}

int WordFileWriter::MoveIntoPlace() {
  int error = 0;
  if (!replacing_) {
    error = RenameWithoutReplacing(temporaryName_.c_str(), name_.c_str());
  } else if (std::rename(temporaryName_.c_str(), name_.c_str()) != 0) {
    error = errno;
  }
  const std::optional<uid_t> owner = error == EEXIST ? AnotherUsersFile(name_) : std::nullopt;
  if (!owner) return error;
  owner_ = *owner;
  return kForeignFile;
}

int WordFileWriter::ReportFailure() const {
  if (error_ == kForeignLink || error_ == kForeignFile) {
    return ReportAnotherUsers(error_ == kForeignLink, name_, owner_, "書き込みません");
  }
  return ReportFileLine(noTemporaryFile_ ? "同じフォルダに一時ファイルを作れないため、右記のファイルの書き込みに失敗しました："
                                         : "右記のファイルの書き込みに失敗しました：",
                        name_, error_);
}
