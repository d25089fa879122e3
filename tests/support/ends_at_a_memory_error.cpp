// A test program's start and a memory error, as in a test that a sanitizer ends: prints
// its temporary folder, with its lock folders and a scratch folder made in it, then reads
// a block it has freed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "process_temporary_folder.h"

int main(int argc, char**) {
  std::string scratch = (ProcessTemporaryFolder() / "vantorel-test-XXXXXX").string();
  if (mkdtemp(scratch.data()) == nullptr) return 2;
  std::printf("%s\n", ProcessTemporaryFolder().c_str());
  std::fflush(stdout);
  const char* block = new char[4]();
  delete[] block;
  return block[argc];
}
