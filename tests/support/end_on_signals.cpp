// Test programs end on SIGINT and SIGTERM as any program does. SDL turns those signals
// into a quit event while their action is the default one, and a test's frame loop
// does not take that as an end of the program; a handler of our own keeps SDL away
// and ends the program the default way.
#include <csignal>
#include <initializer_list>

namespace {

void EndByDefault(int signal) {
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

const bool installed = [] {
  for (int signal : {SIGINT, SIGTERM}) std::signal(signal, EndByDefault);
  return true;
}();

}  // namespace
