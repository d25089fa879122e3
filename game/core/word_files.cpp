#include "core/word_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>

namespace {

constexpr int kWordBytes = 4;
// As many links as the system itself follows in one name.
constexpr int kLinkHops = 40;

int DecodeWord(const unsigned char* bytes) {
  const std::uint32_t value = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                              (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
  return static_cast<int>(value);
}

void EncodeWord(int word, unsigned char* bytes) {
  const std::uint32_t value = static_cast<std::uint32_t>(word);
  for (int i = 0; i < kWordBytes; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

// A fresh temporary file. One left by a process killed while saving (or anything else
// but a folder standing under that name) is removed first, so the new file is never
// written through a link or into a file that refuses writing.
std::FILE* CreateTemporaryFile(const std::string& name) {
  struct stat status {};
  if (::lstat(name.c_str(), &status) == 0 && !S_ISDIR(status.st_mode)) ::unlink(name.c_str());
  const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) return nullptr;
  std::FILE* file = ::fdopen(descriptor, "wb");
  if (file == nullptr) ::close(descriptor);
  return file;
}

// The file that `name` finally names: links are followed (a relative target from the
// link's folder) to a name that is no link, whether a file stands there or not, so a
// file kept in another folder through a link is written there and the link stays. A
// loop leaves `name` itself, which then replaces the loop as a plain file would.
std::string FinalTarget(const std::string& name) {
  std::filesystem::path path = name;
  for (int hop = 0; hop < kLinkHops; ++hop) {
    std::error_code notALink;
    const std::filesystem::path target = std::filesystem::read_symlink(path, notALink);
    if (notALink) return path.string();
    path = path.parent_path() / target;  // an absolute target replaces the folder
  }
  return name;
}

}  // namespace

WordFileReader::WordFileReader(const char* name) : file_(std::fopen(name, "rb")) {
  if (file_ == nullptr) {
    if (errno != ENOENT) error_ = errno;
    return;
  }
  if (std::fseek(file_, 0, SEEK_END) == 0) size_ = std::ftell(file_);
  std::rewind(file_);
}

WordFileReader::~WordFileReader() {
  if (file_ != nullptr) std::fclose(file_);
}

bool WordFileReader::Read(int& word) {
  unsigned char bytes[kWordBytes];
  if (file_ == nullptr) return false;
  if (std::fread(bytes, 1, kWordBytes, file_) != kWordBytes) {
    // A folder of the file's name opens, and fails here.
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

WordFileWriter::WordFileWriter(const char* name)
    : name_(FinalTarget(name)), temporaryName_(name_ + ".tmp"),
      file_(CreateTemporaryFile(temporaryName_)), failed_(file_ == nullptr) {}

WordFileWriter::~WordFileWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
    std::remove(temporaryName_.c_str());
  }
}

void WordFileWriter::Write(int word) {
  unsigned char bytes[kWordBytes];
  EncodeWord(word, bytes);
  if (!failed_ && std::fwrite(bytes, 1, kWordBytes, file_) != kWordBytes) failed_ = true;
}

void WordFileWriter::Write(const int* words, int count) {
  for (int i = 0; i < count; ++i) Write(words[i]);
}

void WordFileWriter::WriteZeros(int count) {
  for (int i = 0; i < count; ++i) Write(0);
}

int WordFileWriter::Commit() {
  if (file_ == nullptr) return -1;
  bool ok = !failed_ && std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (ok && std::rename(temporaryName_.c_str(), name_.c_str()) == 0) return 0;
  std::remove(temporaryName_.c_str());
  return -1;
}
