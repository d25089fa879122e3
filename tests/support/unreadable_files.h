// What can stand under a file's name that the game cannot read as it stands, root or
// not, and a file's identity, which a move keeps.
#pragma once

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
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

// Each kind under `name`, and the regular file among them (no read permission) also in
// a folder that `name` links to, with the name it is kept under (in the same folder) free
// and then taken: `write` (the game's write of `name`, with any set-up it needs) moves
// the same file to `kept` and writes `written` bytes in its place, through the link,
// which stays; or, the name taken, fails and touches neither.
inline void ExpectUnreadableKeptAside(const std::string& name, const std::string& kept, std::size_t written,
                                      const std::function<int()>& write) {
  for (int kind = 0; kind < static_cast<int>(std::size(kUnreadableKinds)); ++kind) {
    for (const std::string folder : {"", "synced/"}) {
      if (!folder.empty() && kind != 2) continue;
      for (bool keptNameTaken : {false, true}) {
        SCOPED_TRACE(std::string(kUnreadableKinds[kind]) + (folder.empty() ? "" : " behind a link") +
                     (keptNameTaken ? ", its new name taken" : ""));
        ScratchDirectory scratch;
        MakeUnreadable(scratch, kind, folder + name);
        if (!folder.empty()) std::filesystem::create_symlink(folder + name, scratch.path() / name);
        const ino_t original = Inode(scratch.path() / (folder + name));
        if (keptNameTaken) scratch.Write(folder + kept, "earlier");
        EXPECT_EQ(write(), keptNameTaken ? -1 : 0);
        EXPECT_EQ(Inode(scratch.path() / folder / (keptNameTaken ? name : kept)), original);
        EXPECT_EQ(scratch.Read(folder + (keptNameTaken ? kept : name)).size(), keptNameTaken ? 7u : written);
        if (!folder.empty()) {
          EXPECT_TRUE(std::filesystem::is_symlink(scratch.path() / name));
        }
      }
    }
  }
}
