#include "template_fixture.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
// libstdc++ 12's regex compiler trips -Wmaybe-uninitialized inside its own headers
// when built with the sanitizers; the warning is about library internals.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#pragma GCC diagnostic pop
#include <sstream>

#include "objects/object_fields.h"

namespace {

const std::string kValue = R"((\d*\*?pi/\d+|-?\d+(?:\.\d+)?))";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// One spelling for the tables' typography: ASCII signs, no backticks, work words by name.
std::string Normalize(std::string text) {
  for (auto [from, to] : {std::pair{"\xe2\x88\x92", "-"},
                          {"\xc3\x97", "x"},
                          {"\xcf\x80", "pi"},
                          {"`", ""},
                          {"\xe2\x80\x93", "-"},
                          {"work[0]", "work0"},
                          {"work[1]", "work1"},
                          {"3pi", "3*pi"}}) {
    text = Replace(text, from, to);
  }
  return text;
}

std::string StripParentheses(std::string text) {
  static const std::regex kInner(R"(\s*\([^()]*\))");
  for (std::string next; (next = std::regex_replace(text, kInner, "")) != text;) text = next;
  return text;
}

std::string FieldNames() {
  std::string names;
  for (const ObjectField& field : kObjectFields) names += std::string(names.empty() ? "" : "|") + field.name;
  return names;
}

double ParseNumber(const std::string& text) {
  const size_t pi = text.find("pi/");
  if (pi == std::string::npos) return std::stod(text);
  const double factor = pi == 0 ? 1.0 : std::stod(text.substr(0, text.find('*')));
  return static_cast<float>(factor * std::numbers::pi / std::stod(text.substr(pi + 3)));
}

FieldExpectation Constant(double a) { return {Expect::kConstant, a}; }

void Set(FieldExpectations& fields, const std::string& name, const FieldExpectation& value) { fields[name] = value; }

// "field value", "f, g and h value", "field = value", "field a / b", "size AxB" and the
// other shapes of a sentence; a field named without a value is a formula.
void ReadSentence(const std::string& raw, FieldExpectations& fields) {
  static const std::string kNames = FieldNames();
  static const std::regex kList("((?:\\b(?:" + kNames + ")\\b(?:, and |, | and ))*\\b(?:" + kNames +
                                ")\\b) (?:= )?(?:all )?" + kValue +
                                R"((?: / (-?\d+(?:\.\d+)?))?(?![\d*]|\.\d|\s*\+| x \w|/| when))");
  static const std::regex kMention("\\b(" + kNames + ")\\b");
  static const std::regex kFormula("\\b(" + kNames + R"()\b (?:= )?(?:[^,;.]|\.\d)*?(?:R\(|RandomInRange))");
  static const std::regex kSize(R"((size |hit box |\b)(\d+) ?x ?(\d+)\b)");
  static const std::regex kBySign("\\b(" + kNames + ") by facing sign " + kValue + " / " + kValue);
  static const std::regex kRule(R"(facing rule )" + kValue);
  static const std::regex kByArgument("\\b(" + kNames + ") = " + kValue + " when the facing argument is 0, else " +
                                      kValue);
  static const std::regex kUpgradeLong(
      R"(hitPoints = (\d+) \+ (\d+) x ShotLevel \+ (\d+) x OptionLevel \+ (\d+) x TurboLevel)");
  static const std::regex kUpgradeShort(R"(hitPoints (?:= )?(\d+) \+ (\d+)/(\d+)/(\d+)(?: but at most (\d+))?)");
  static const std::regex kPosition(
      R"(\bx and y from the arguments|\bx = float\(x\)|\bx = x\b|at the argument position)");
  static const std::regex kArgument(R"(\bfacing (?:= the (?:facing )?argument|from the argument))");
  static const std::regex kParentGroup(R"(\bgroup (?:from the parent|from pool\[parentSlot\]))");
  static const std::regex kMotion(R"(aimed at the player|toward a random point|random drift|toward the player)");
  const std::string text = Normalize(raw);
  std::string bare = StripParentheses(text);
  std::smatch m;
  for (std::sregex_iterator it(bare.begin(), bare.end(), kSize), end; it != end; ++it) {
    const bool hit = (*it)[1] == "hit box ";
    Set(fields, hit ? "hitWidth" : "width", Constant(std::stod((*it)[2])));
    Set(fields, hit ? "hitHeight" : "height", Constant(std::stod((*it)[3])));
  }
  bare = std::regex_replace(bare, kSize, "$1$2 by $3");
  bare = std::regex_replace(bare, std::regex(R"(([)\w=]) x (\d))"), "$1 times $2");
  for (std::sregex_iterator it(bare.begin(), bare.end(), kMention), end; it != end; ++it) {
    fields.try_emplace((*it)[1], FieldExpectation{});
  }
  if (std::regex_search(text, kPosition)) Set(fields, "x", {Expect::kPosition}), Set(fields, "y", {Expect::kPosition});
  bare = std::regex_replace(bare, std::regex(R"(\bx = x, y = y\b)"), "the position");
  if (std::regex_search(text, kArgument)) Set(fields, "facing", {Expect::kArgument});
  if (std::regex_search(text, kParentGroup)) Set(fields, "group", {Expect::kParentGroup});
  for (std::sregex_iterator it(bare.begin(), bare.end(), kList), end; it != end; ++it) {
    const std::smatch& list = *it;
    const FieldExpectation value = list[3].matched
                                       ? FieldExpectation{Expect::kByFacing, ParseNumber(list[2]), std::stod(list[3])}
                                       : Constant(ParseNumber(list[2]));
    const std::string names = list[1];
    for (std::sregex_iterator name(names.begin(), names.end(), kMention); name != end; ++name) {
      Set(fields, (*name)[1], value);
    }
  }
  for (std::sregex_iterator it(text.begin(), text.end(), kFormula), end; it != end; ++it) Set(fields, (*it)[1], {});
  // "collidable and the hit box are not written", "none writes expValue": reset values.
  static const std::regex kUnwritten("((?:\\b(?:" + kNames + R"(|the hit box)\b(?:,| and)? ?)+) (?:is|are) not written)");
  static const std::regex kNoneWrites("(?:none writes|have no|; no) (" + kNames + ")\\b");
  for (std::sregex_iterator it(bare.begin(), bare.end(), kUnwritten), end; it != end; ++it) {
    const std::string names = std::regex_replace((*it)[1].str(), std::regex("the hit box"), "hitWidth hitHeight");
    for (std::sregex_iterator name(names.begin(), names.end(), kMention); name != end; ++name) fields.erase((*name)[1]);
  }
  for (std::sregex_iterator it(bare.begin(), bare.end(), kNoneWrites), end; it != end; ++it) fields.erase((*it)[1]);
  if (std::regex_search(text, kMotion)) {
    for (const char* moved : {"vx", "vy", "phase", "facing"}) Set(fields, moved, {});
  }
  for (std::sregex_iterator it(bare.begin(), bare.end(), kBySign), end; it != end; ++it) {
    Set(fields, (*it)[1], {Expect::kByFacing, ParseNumber((*it)[2]), ParseNumber((*it)[3])});
  }
  if (std::regex_search(bare, m, kRule)) Set(fields, "vx", {Expect::kByFacing, ParseNumber(m[1]), -ParseNumber(m[1])});
  if (std::regex_search(bare, m, kByArgument))
    Set(fields, m[1], {Expect::kByFacing, ParseNumber(m[2]), ParseNumber(m[3])});
  FieldExpectation upgrade{Expect::kUpgrade};
  if (std::regex_search(text, m, kUpgradeLong) || std::regex_search(text, m, kUpgradeShort)) {
    for (int i = 0; i < 4; ++i) upgrade.upgrade[i] = std::stoll(m[i + 1]);
    upgrade.upgrade[4] = m.size() > 5 && m[5].matched ? std::stoll(m[5]) : 1LL << 40;
    Set(fields, "hitPoints", upgrade);
  }
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);) {
    part.erase(0, part.find_first_not_of(' '));
    part.erase(part.find_last_not_of(' ') + 1);
    parts.push_back(part);
  }
  return parts;
}

std::vector<int> Numbers(const std::string& text) {
  std::vector<int> numbers;
  static const std::regex kNumber(R"(\b\d+\b)");
  for (std::sregex_iterator it(text.begin(), text.end(), kNumber), end; it != end; ++it)
    numbers.push_back(std::stoi(it->str()));
  return numbers;
}

// One table cell under its column heading.
void ReadCell(const std::string& head, const std::string& raw, const std::vector<int>& headTemplates,
              FieldExpectations& fields, std::set<std::string>& unwritten, bool zeroMeansUnwritten) {
  static const std::regex kSizePair(R"((\d+) ?x ?(\d+) / (\d+) ?x ?(\d+))");
  static const std::regex kByStage(R"(^)" + kValue + R"(; )" + kValue + R"( in stage 8$)");
  static const std::regex kUpgrade(R"(^(\d+) \+ (\d+)/(\d+)/(\d+)$)");
  static const std::regex kNumberOnly("^" + kValue + "$");
  std::string column = Normalize(head);
  const std::string cell = Normalize(raw);
  const std::string bare = StripParentheses(cell);
  std::smatch m;
  std::string field;
  for (const ObjectField& known : kObjectFields) {
    if (column == known.name || column == std::string(known.name) + " (delay)") field = known.name;
  }
  std::transform(column.begin(), column.end(), column.begin(), [](unsigned char c) { return std::tolower(c); });
  if (column == "exp") field = "expValue";
  if (cell == "-" || cell == "not written" || cell.starts_with("not written (") ||
      (zeroMeansUnwritten && field == "expValue" && cell == "0")) {
    if (!field.empty()) unwritten.insert(field);
    return;
  }
  if (column == "x; y") {
    fields["x"] = fields["y"] = {};
  } else if (column == "size / hit box" && std::regex_search(cell, m, kSizePair)) {
    for (int i = 0; i < 4; ++i)
      fields[std::array{"width", "height", "hitWidth", "hitHeight"}[i]] = Constant(std::stod(m[i + 1]));
  } else if (column == "offset (phase, phase2)") {
    const auto values = Split(cell.substr(1, cell.size() - 2), ',');
    fields["phase"] = Constant(std::stod(values[0]));
    fields["phase2"] = Constant(std::stod(values[1]));
  } else if (column.find("behaviour in") == 0) {
    FieldExpectation byTemplate{Expect::kByTemplate};
    byTemplate.templates = headTemplates;
    for (int value : Numbers(cell)) byTemplate.values.push_back(value);
    fields["behaviour"] = byTemplate;
  } else if (column == "hit box" || column == "hitwidth x hitheight" || column == "size" ||
             column == "width x height") {
    ReadSentence((column.find("hit") == 0 ? "hit box " : "size ") + cell, fields);
  } else if (column == "facing" && cell == "the argument") {
    fields["facing"] = {Expect::kArgument};
  } else if (!field.empty() && std::regex_search(bare, m, kByStage)) {
    fields[field] = {Expect::kByStage8, ParseNumber(m[1]), ParseNumber(m[2])};
  } else if (!field.empty() && std::regex_search(bare, m, kUpgrade)) {
    FieldExpectation upgrade{Expect::kUpgrade};
    for (int i = 0; i < 4; ++i) upgrade.upgrade[i] = std::stoll(m[i + 1]);
    upgrade.upgrade[4] = 1LL << 40;
    fields[field] = upgrade;
  } else if (!field.empty() && std::regex_search(bare, m, kNumberOnly)) {
    fields[field] = Constant(ParseNumber(m[1]));
  } else if (!field.empty()) {
    fields[field] = {};
    ReadSentence(field + " = " + cell, fields);
  } else if (column == "facing" || column.find("other") != std::string::npos || column == "velocity" ||
             column == "phase field" || column == "also" || column == "further fields") {
    ReadSentence(cell, fields);
  }
}

struct Table {
  std::vector<std::string> head;
  std::string common;
  std::string title;
  std::map<std::string, std::vector<std::string>> rows{};  // by key, for "as 1059"
};

// The part of a common sentence that holds only for some rows ("Those of the full
// form also write ...", "Those with state 2 ... have ...").
struct CommonParts {
  std::string always, conditional;
};
CommonParts SplitCommon(const std::string& common) {
  for (const char* marker : {"Those of the full form", "Two shapes:", "Those with `state` 2"}) {
    const size_t at = common.find(marker);
    if (at != std::string::npos) return {common.substr(0, at), common.substr(at)};
  }
  return {common, ""};
}

bool ConditionHolds(const std::string& conditional, const std::map<std::string, std::string>& row) {
  if (conditional.find("state") != std::string::npos && conditional.find("Those with") == 0) {
    return row.count("`state`") && row.at("`state`") == "2";
  }
  for (const char* column : {"Form", "shape"}) {
    if (row.count(column)) return row.at(column) == "full" || row.at(column) == "explicit";
  }
  return false;
}

std::string ConditionalWrites(const std::string& conditional) {
  const size_t also = conditional.find("also write");
  if (also == std::string::npos) return conditional.substr(conditional.find(" have ") + 6);
  const size_t start = conditional.find(' ', also + 10);
  return conditional.substr(start, conditional.find_first_of(";.", start) - start);
}

void AddRecord(TemplateFixture& fixture, ExpectedRecord record, const std::vector<int>& templates) {
  for (int id : templates) {
    record.templateId = id;
    fixture.templateIds.insert(id);
    fixture.records.push_back(record);
  }
}

void ReadRow(TemplateFixture& fixture, Table& table, std::vector<std::string> cells) {
  // "as the 1st" (a whole row) and "as 1059" (one cell) repeat the cells they name.
  for (size_t i = 1; i < cells.size(); ++i) {
    if (!cells[i].starts_with("as ")) continue;
    const std::string other =
        cells[i].find("the 1st") != std::string::npos ? "1st" : std::to_string(Numbers(cells[i])[0]);
    const std::vector<std::string>& source = table.rows.at(other);
    const bool wholeRow = i + 1 < cells.size() && cells[i + 1].empty();
    for (size_t j = i; j < cells.size(); ++j) {
      if (j == i || (wholeRow && cells[j].empty())) cells[j] = source[j];
    }
  }
  table.rows[cells[0]] = cells;
  std::map<std::string, std::string> row;
  for (size_t i = 0; i < cells.size() && i < table.head.size(); ++i) row[table.head[i]] = cells[i];
  const std::string key = cells[0];
  if (table.head[0] == "Template" && table.head[1] == "Fixed slots") {
    for (int id : Numbers(key)) {
      for (int slot : Numbers(StripParentheses(cells[1]))) fixture.fixedSlots[id].push_back(slot);
    }
    const std::vector<int> slots = Numbers(cells[1]);
    if (cells[1].find(" to ") != std::string::npos) {
      for (int slot = slots[slots.size() - 2]; slot <= slots.back(); ++slot)
        fixture.fixedSlots[Numbers(key)[0]].push_back(slot);
    }
    return;
  }
  for (const std::string& cell : cells) {
    if (cell.find(", below") != std::string::npos) return;  // described in prose: its formula test
  }
  if (table.head[0] == "Group") return;  // 1029's formula table
  ExpectedRecord record;
  const CommonParts common = SplitCommon(table.common);
  ReadSentence(common.always, record.fields);
  if (!common.conditional.empty() && ConditionHolds(common.conditional, row)) {
    ReadSentence(ConditionalWrites(common.conditional), record.fields);
  }
  const std::vector<int> titleTemplates = Numbers(table.title);
  std::vector<int> headTemplates;
  for (const std::string& head : table.head) {
    if (head.find(" in ") != std::string::npos) headTemplates = Numbers(head);
  }
  const bool zeroUnwritten = table.common.find("0 = not written") != std::string::npos;
  for (size_t i = 1; i < cells.size(); ++i) {
    if (table.head[i] == "Slot") record.slot = std::stoi(cells[i]);
    ReadCell(table.head[i], cells[i], headTemplates, record.fields, record.unwritten, zeroUnwritten);
  }
  for (const auto& name : record.unwritten) record.fields.erase(name);
  std::vector<int> templates = Numbers(key.substr(0, key.find(',')));
  const bool keyIsTemplate = !templates.empty() && templates[0] >= 1000;
  if (!keyIsTemplate) {
    // Keyed by slot, record number or "1st": the table's templates are in its title or head.
    templates = !headTemplates.empty() ? headTemplates : std::vector<int>{titleTemplates.front()};
    if (table.head[0] == "Slot")
      record.slot = std::stoi(key);
    else
      record.order = key.starts_with("1") ? 0 : key.starts_with("2") ? 1 : 2;
  } else if (key.find("record 2") != std::string::npos) {
    record.order = 1;
  }
  if (key.find("kind") != std::string::npos) {  // 2018's count is drawn: its formula test
    fixture.templateIds.insert(templates.begin(), templates.end());
    return;
  }
  AddRecord(fixture, record, templates);
}

void ReadProse(TemplateFixture& fixture, const std::vector<std::string>& parts) {
  const std::vector<int> templates = Numbers(parts[0]);
  for (int id : templates) fixture.templateIds.insert(id);
  const std::string& label = parts[1];
  if (label == "members" || label == "burst" || label == "records") return;  // formula tests
  ExpectedRecord record;
  ReadSentence(parts[2], record.fields);
  if (label.starts_with("slot ")) record.slot = std::stoi(label.substr(5));
  const std::vector<int> orders = Numbers(label);
  if (label.starts_with("record") && !orders.empty()) {
    for (int order = orders.front(); order <= orders.back(); ++order) {
      record.order = order - 1;
      AddRecord(fixture, record, templates);
    }
    return;
  }
  AddRecord(fixture, record, templates);
}

void ReadFixture(TemplateFixture& fixture, const std::filesystem::path& path) {
  std::ifstream file(path);
  Table table;
  for (std::string line; std::getline(file, line);) {
    const size_t space = line.find(' ');
    const std::string kind = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (kind == "title") table = {{}, "", rest};
    if (kind == "common") table.common = rest;
    if (kind == "head") table.head = Split(rest, '|');
    if (kind == "row") ReadRow(fixture, table, Split(rest, '|'));
    if (kind == "record") ReadProse(fixture, Split(rest, '|'));
  }
}

}  // namespace

TemplateFixture LoadTemplateFixtures() {
  TemplateFixture fixture;
  for (const auto& entry : std::filesystem::directory_iterator(TEMPLATE_FIXTURE_DIR)) {
    if (entry.path().extension() == ".fixture") ReadFixture(fixture, entry.path());
  }
  return fixture;
}

double ExpectedValue(const FieldExpectation& e, int templateId, int facing, int parentGroup, int stage, int shotLevel,
                     int optionLevel, int turboLevel) {
  switch (e.kind) {
    case Expect::kConstant:
      return e.a;
    case Expect::kByFacing:
      return facing == 0 ? e.a : e.b;
    case Expect::kByStage8:
      return stage == 8 ? e.b : e.a;
    case Expect::kByTemplate: {
      const auto at = std::find(e.templates.begin(), e.templates.end(), templateId);
      return e.values.at(at - e.templates.begin());
    }
    case Expect::kUpgrade:
      return static_cast<double>(
          std::min(e.upgrade[0] + e.upgrade[1] * shotLevel + e.upgrade[2] * optionLevel + e.upgrade[3] * turboLevel,
                   e.upgrade[4]));
    case Expect::kArgument:
      return facing;
    case Expect::kParentGroup:
      return parentGroup;
    case Expect::kPosition:
      return std::nan("");  // the caller knows which axis
    case Expect::kAny:
      return std::nan("");
  }
  return std::nan("");
}
