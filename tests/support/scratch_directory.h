// A fresh temporary folder that a test works in: the current directory while the
// object lives, removed with everything in it afterwards.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class ScratchDirectory {
 public:
  ScratchDirectory() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    std::filesystem::current_path(path_);
  }
  ~ScratchDirectory() {
    for (int descriptor : fifoEnds_) ::close(descriptor);
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Creates a file (and its folders) below the scratch folder.
  void Write(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }

  // Makes a FIFO and holds it open at both ends with its buffer full, so that code that
  // opens and reads it by mistake gets bytes at once instead of waiting for ever.
  void MakeFifo(const std::string& relative) const {
    const std::filesystem::path name = path_ / relative;
    std::filesystem::create_directories(name.parent_path());
    ::mkfifo(name.c_str(), 0644);
    const int descriptor = ::open(name.c_str(), O_RDWR | O_NONBLOCK);
    const std::string bytes(4096, '\x10');
    while (::write(descriptor, bytes.data(), bytes.size()) > 0) {
    }
    fifoEnds_.push_back(descriptor);
  }

  // A regular file's bytes ("" when nothing is there). Anything else fails the test at
  // once: a FIFO left where a file should be would otherwise hold the read for ever.
  std::string Read(const std::string& relative) const {
    std::error_code missing;
    const std::filesystem::file_status status = std::filesystem::status(path_ / relative, missing);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
      ADD_FAILURE() << relative << " is no regular file";
    }
    if (!std::filesystem::is_regular_file(status)) return "";
    std::ifstream in(path_ / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
  mutable std::vector<int> fifoEnds_;
};
