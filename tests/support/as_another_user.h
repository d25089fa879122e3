// A child process run as another user (root alone may become one).
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

// `act`'s exit status in a child run by `user` (in its own group only); -1 when it did
// not exit, as when the alarm ends one that waits for ever.
inline int ExitStatusAs(uid_t user, const std::function<int()>& act) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(20);
    const bool asUser =
        user == ::geteuid() || (::setgroups(0, nullptr) == 0 && ::setgid(user) == 0 && ::setuid(user) == 0);
    ::_exit(asUser ? act() : 99);
  }
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
