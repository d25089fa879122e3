// What can stand under a file's name that the game cannot read as it stands, root or
// not, and a file's identity, which a move keeps.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "scratch_directory.h"

constexpr const char* kUnreadableKinds[] = {"a link in a loop", "a FIFO", "no read permission",
                                            "a link through a file", "a name too long"};

inline void MakeUnreadable(const ScratchDirectory& scratch, int kind, const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path file = scratch.path() / name;
  if (kind == 0) fs::create_symlink(name, file);
  if (kind == 1) scratch.MakeFifo(name);
  if (kind == 2) scratch.Write(name, "old"), fs::permissions(file, fs::perms::owner_write);
  if (kind == 3) scratch.Write("plain", "x"), fs::create_symlink("plain/" + name, file);
  if (kind == 4) fs::create_symlink(std::string(300, 'n'), file);
}

inline ino_t Inode(const std::filesystem::path& name) {
  struct stat status {};
  return ::lstat(name.c_str(), &status) == 0 ? status.st_ino : 0;
}
