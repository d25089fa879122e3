// Every test program works in a temporary folder of its own, made at its start under the
// one it was given (TMPDIR, else /tmp) and given to it, and to the programs it starts, as
// TMPDIR. It goes with all it holds when the program ends, also when a sanitizer ends it
// at an error or a signal kills it (no exit handlers run then): nothing a test makes is
// left in /tmp.
#pragma once

#include <filesystem>

const std::filesystem::path& ProcessTemporaryFolder();
