// A process limit that makes file calls fail for root as for anyone, while it lives:
// RLIMIT_NOFILE 0 fails every open (EMFILE), RLIMIT_FSIZE n every write past n bytes
// (EFBIG, without the signal that would end the process).
#pragma once

#include <sys/resource.h>

#include <csignal>

class FileLimit {
 public:
  FileLimit(decltype(RLIMIT_NOFILE) resource, rlim_t limit) : resource_(resource) {
    getrlimit(resource_, &previous_);
    const rlimit lowered = {limit, previous_.rlim_max};
    setrlimit(resource_, &lowered);
    std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileLimit() { setrlimit(resource_, &previous_); }

 private:
  decltype(RLIMIT_NOFILE) resource_;
  rlimit previous_{};
};
