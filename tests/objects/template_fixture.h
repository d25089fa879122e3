// The expected records of the templates, read from the fixture files in data/: the
// templates' tables cut verbatim (a 'common' sentence per table, 'head' and
// 'row' cells) and their prose records ('record' lines). A small reader turns cells
// and sentences into field expectations; formula cells are left to formula tests.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

enum class Expect {
  kConstant,     // a
  kByFacing,     // a for facing 0, b otherwise
  kByStage8,     // a, or b in stage 8
  kByTemplate,   // templates[i] gets values[i]
  kUpgrade,      // upgrade[0] + upgrade[1..3] x the three levels, at most upgrade[4]
  kArgument,     // the facing argument
  kParentGroup,  // the group of the parent slot
  kPosition,     // the x or y argument
  kAny,          // a formula: checked by the formula tests
};

struct FieldExpectation {
  Expect kind = Expect::kAny;
  double a = 0, b = 0;
  std::vector<double> values{};
  std::vector<int> templates{};
  long long upgrade[5] = {0, 0, 0, 0, 0};
};

using FieldExpectations = std::map<std::string, FieldExpectation>;

struct ExpectedRecord {
  int templateId = 0;
  int slot = -1;  // a fixed slot, or -1
  int order = 0;  // else the index among the template's own allocated records
  FieldExpectations fields;
  std::set<std::string> unwritten;  // dash cells: the field keeps what the record held
};

struct TemplateFixture {
  std::vector<ExpectedRecord> records;
  std::map<int, std::vector<int>> fixedSlots;  // template -> slots it may write
  std::set<int> templateIds;                   // every template the fixture names
};

TemplateFixture LoadTemplateFixtures();

// The value a field expectation gives for one call.
// (kPosition and kAny name no single value: NaN.)
double ExpectedValue(const FieldExpectation& expectation, int templateId, int facing, int parentGroup, int stage,
                     int shotLevel, int optionLevel, int turboLevel);
