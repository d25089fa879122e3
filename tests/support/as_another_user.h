// Code run in a child process as another user of the machine, the way a second user
// runs the game in a shared folder. The tests run as root, which alone may become
// another user and give files to one.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

// `act`'s result (as an exit status) when run in a child process by `user`: the test's
// own user, or, by root, an ordinary one in its own group only. -1 when the child did not
// exit: an alarm ends one that waits for ever, which fails the test instead of holding
// the suite.
inline int ExitStatusAs(uid_t user, const std::function<int()>& act) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(20);
    const bool becameUser =
        user == ::geteuid() || (::setgroups(0, nullptr) == 0 && ::setgid(user) == 0 && ::setuid(user) == 0);
    ::_exit(becameUser ? act() : 99);
  }
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
