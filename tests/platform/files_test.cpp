#include "kernel/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "../support/scratch_directory.h"
#include "kernel/handles.h"

namespace {

HANDLE Open(const char* path, DWORD access, DWORD disposition) {
  return CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string ReadAll(HANDLE file) {
  char buffer[256];
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &got, nullptr));
  return std::string(buffer, got);
}

}  // namespace

TEST(Files, DispositionsCreateOpenAndRefuseAsAsked) {
  ScratchDirectory scratch;
  EXPECT_EQ(Open("a.txt", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);

  HANDLE created = Open("a.txt", GENERIC_WRITE, CREATE_NEW);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(created, "hello", 5, &written, nullptr));
  EXPECT_EQ(written, 5u);
  CloseHandle(created);
  EXPECT_EQ(Open("a.txt", GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);

  HANDLE appended = Open("a.txt", GENERIC_WRITE, OPEN_ALWAYS);
  ASSERT_NE(appended, INVALID_HANDLE_VALUE);
  EXPECT_EQ(SetFilePointer(appended, 0, nullptr, FILE_END), 5u);
  WriteFile(appended, "!", 1, &written, nullptr);
  CloseHandle(appended);
  EXPECT_EQ(scratch.Read("a.txt"), "hello!");

  HANDLE truncated = Open("a.txt", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  ASSERT_NE(truncated, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(truncated, nullptr), 0u);
  CloseHandle(truncated);

  HANDLE fresh = Open("New.txt", GENERIC_WRITE, OPEN_ALWAYS);
  ASSERT_NE(fresh, INVALID_HANDLE_VALUE);
  CloseHandle(fresh);
  EXPECT_TRUE(std::filesystem::exists(scratch.path() / "New.txt"));
}

TEST(Files, CreatesInsideExistingFoldersFoundIgnoringCase) {
  ScratchDirectory scratch;
  scratch.Write("Shots/keep", "");
  HANDLE file = Open("SHOTS\\Grab01.BMP", GENERIC_WRITE, CREATE_NEW);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_TRUE(std::filesystem::exists(scratch.path() / "Shots" / "Grab01.BMP"));
  EXPECT_EQ(Open("nofolder\\x.bin", GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open("shots", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);  // a folder is no file
}

TEST(Files, ReadsSeeksAndReportsSizeAndFailures) {
  ScratchDirectory scratch;
  scratch.Write("data/Bin.dat", "0123456789");
  HANDLE file = Open("DATA\\bin.DAT", GENERIC_READ, OPEN_EXISTING);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(file, &high), 10u);
  EXPECT_EQ(high, 0u);
  EXPECT_EQ(SetFilePointer(file, 4, nullptr, FILE_BEGIN), 4u);
  EXPECT_EQ(SetFilePointer(file, 2, nullptr, FILE_CURRENT), 6u);
  EXPECT_EQ(ReadAll(file), "6789");
  EXPECT_EQ(ReadAll(file), "");  // at the end: success, nothing read
  EXPECT_EQ(SetFilePointer(file, -3, nullptr, FILE_END), 7u);
  EXPECT_EQ(SetFilePointer(file, -8, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(ReadAll(file), "789");  // a failed move leaves the position alone
  LONG moveHigh = 0;
  EXPECT_EQ(SetFilePointer(file, 1, &moveHigh, FILE_BEGIN), 1u);
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, 9), INVALID_SET_FILE_POINTER);
  CloseHandle(file);

  DWORD got = 1;
  char byte;
  EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, &byte, 1, &got, nullptr));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(GetFileSize(nullptr, nullptr), INVALID_FILE_SIZE);
  EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST(Files, DeletesAndChangesDirectoryThroughTheResolver) {
  ScratchDirectory scratch;
  scratch.Write("Dir/Sub/f.txt", "x");
  EXPECT_TRUE(DeleteFileA("dir\\sub\\f.txt"));
  EXPECT_FALSE(DeleteFileA("dir\\sub\\f.txt"));
  EXPECT_FALSE(DeleteFileA("dir\\sub"));

  char current[MAX_PATH];
  ASSERT_TRUE(SetCurrentDirectoryA("DIR\\SUB"));
  const DWORD length = GetCurrentDirectoryA(sizeof current, current);
  EXPECT_EQ(std::string(current, length), (scratch.path() / "Dir" / "Sub").string());
  EXPECT_EQ(GetCurrentDirectoryA(3, current), length + 1);  // too small: the size needed
  EXPECT_FALSE(SetCurrentDirectoryA("nowhere"));
  EXPECT_TRUE(SetCurrentDirectoryA(".."));
}

TEST(Files, TempFileNamesAreNewFilesInTheTempFolder) {
  ScratchDirectory scratch;
  char folder[MAX_PATH];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(folder[length - 1], '/');

  char first[MAX_PATH];
  char second[MAX_PATH];
  const std::string here = scratch.path().string();
  const UINT a = GetTempFileNameA(here.c_str(), "tmpxyz", 0, first);
  const UINT b = GetTempFileNameA(here.c_str(), "tmp", 0, second);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_STRNE(first, second);
  EXPECT_EQ(std::string(first).rfind(here + "/tmp", 0), 0u);
  EXPECT_EQ(std::string(first).substr(std::strlen(first) - 4), ".tmp");
  EXPECT_TRUE(std::filesystem::exists(first));
  EXPECT_EQ(std::filesystem::file_size(first), 0u);

  char named[MAX_PATH];
  EXPECT_EQ(GetTempFileNameA((here + "/").c_str(), "ab", 0x1A2B, named), 0x1A2Bu);
  EXPECT_EQ(std::string(named), here + "/ab1A2B.tmp");
  EXPECT_FALSE(std::filesystem::exists(named));  // a given number creates nothing
}

// Another user's file (0666, in a folder shared with the sticky bit) is read as any, but
// neither written, emptied nor deleted, also by root: the file calls are the last guard of
// a name that another user takes while the program runs.
TEST(Files, AnotherUsersFileIsNeitherWrittenNorDeleted) {
  if (geteuid() != 0) GTEST_SKIP() << "another user's file needs root";
  ScratchDirectory scratch;
  std::filesystem::permissions(scratch.path(), std::filesystem::perms(01777));
  scratch.Write("theirs.txt", "theirs");
  ASSERT_EQ(chmod("theirs.txt", 0666) | chown("theirs.txt", 1234, 1234), 0);
  for (const DWORD disposition : {OPEN_ALWAYS, OPEN_EXISTING, CREATE_ALWAYS}) {
    errno = 0;
    EXPECT_EQ(Open("theirs.txt", GENERIC_WRITE, disposition), INVALID_HANDLE_VALUE) << disposition;
    EXPECT_EQ(errno, EPERM);
  }
  errno = 0;
  EXPECT_FALSE(DeleteFileA("theirs.txt"));
  EXPECT_EQ(errno, EPERM);
  HANDLE read = Open("theirs.txt", GENERIC_READ, OPEN_EXISTING);
  ASSERT_NE(read, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadAll(read), "theirs");
  CloseHandle(read);
}
