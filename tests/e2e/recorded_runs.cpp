#include "recorded_runs.h"

namespace {

// The checks left to the program's end, with the names of the tests that left them.
std::vector<std::pair<std::string, std::function<void()>>>& Waiting() {
  static std::vector<std::pair<std::string, std::function<void()>>> waiting;
  return waiting;
}

class ChecksAtTheEnd : public testing::Environment {
 public:
  void TearDown() override {
    for (const auto& [name, check] : Waiting()) {
      SCOPED_TRACE(name + ", checked at the program's end");
      check();
    }
  }
};

[[maybe_unused]] testing::Environment* const endChecksInstalled = testing::AddGlobalTestEnvironment(new ChecksAtTheEnd);

}  // namespace

std::vector<std::pair<std::string, const testing::TestInfo*>> TestsNamed(const std::regex& names) {
  std::vector<std::pair<std::string, const testing::TestInfo*>> tests;
  const testing::UnitTest& program = *testing::UnitTest::GetInstance();
  for (int suite = 0; suite < program.total_test_suite_count(); ++suite) {
    const testing::TestSuite& tests_of = *program.GetTestSuite(suite);
    for (int test = 0; test < tests_of.total_test_count(); ++test) {
      const testing::TestInfo* info = tests_of.GetTestInfo(test);
      std::string name = std::string(tests_of.name()) + "." + info->name();
      if (std::regex_match(name, names)) tests.emplace_back(std::move(name), info);
    }
  }
  return tests;
}

bool CheckNowOrAtTheEnd(const std::string& name, const std::regex& recorders, std::function<void()> check) {
  for (const auto& [test, info] : TestsNamed(recorders)) {
    if (info->should_run() && info->result()->start_timestamp() == 0) {
      Waiting().emplace_back(name, std::move(check));
      return true;
    }
  }
  check();
  return false;
}
