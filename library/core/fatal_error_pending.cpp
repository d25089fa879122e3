// Until start-up and shut-down land: log the text and end the process.
#include <cstdlib>

#include "core/fatal_error.h"
#include "core/log.h"

void FatalErrorExit(const char* text) {
  LogWrite(text);
  LogWrite("\n");
  std::exit(-1);
}
