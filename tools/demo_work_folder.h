// Where a demo works: a temporary folder of its own, made the current folder, so that
// the library's Log.txt and the inputs the demo generates never land in the folder it
// was started from; its picture goes only where --out says. The folder is removed at
// the end unless the demo failed and pointed the user at its log.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

class DemoWorkFolder {
 public:
  DemoWorkFolder() : start_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-demo-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    std::filesystem::current_path(folder_);
  }
  ~DemoWorkFolder() {
    std::error_code ignored;
    std::filesystem::current_path(start_, ignored);
    if (!keep_ && !folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  DemoWorkFolder(const DemoWorkFolder&) = delete;
  DemoWorkFolder& operator=(const DemoWorkFolder&) = delete;

  // A file named on the command line, as seen from the folder the demo started in
  // (empty for none).
  std::string Outside(const char* name) const { return name == nullptr ? "" : (start_ / name).string(); }
  // The log's path; the folder then stays for the user to read it.
  std::string KeepLog() {
    keep_ = true;
    return (folder_ / "Log.txt").string();
  }

 private:
  std::filesystem::path start_;
  std::filesystem::path folder_;
  bool keep_ = false;
};
