// Checks that read what other tests of this program recorded beside their frames (the
// word tour's cells, the rows whole games showed). ctest runs such a check after the
// tests it reads; run as one process, in any order, a check that comes before some of
// them waits for the program's end instead.
#pragma once

#include <functional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

// This program's tests whose "<suite>.<test>" name (a parameterised suite with its
// prefix) matches `names`.
std::vector<std::pair<std::string, const testing::TestInfo*>> TestsNamed(const std::regex& names);

// Runs `check` now, or, when tests of `recorders` that this process is to run have not
// started yet, once every test has run (its failures then fail the program): true when
// it waits, and the calling test should skip, saying so.
bool CheckNowOrAtTheEnd(const std::string& name, const std::regex& recorders, std::function<void()> check);
