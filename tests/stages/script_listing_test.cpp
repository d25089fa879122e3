// The tables against an independent reading of the timetables (the fixture), and
// against the counts the timetables state themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "stages/script_event_listing.h"
#include "stages/script_rows.h"

namespace {

std::vector<std::string> FixtureLines(int mode, int stage) {
  std::ifstream file(STAGE_EVENTS_FIXTURE);
  const std::string prefix = "M" + std::to_string(mode) + " S" + std::to_string(stage) + " ";
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (line.rfind(prefix, 0) == 0) lines.push_back(line);
  }
  return lines;
}

long CountMatching(const std::vector<std::string>& lines, const std::string& part) {
  return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

// The rows of a table as the timetable writes them: the script's own advance of
// timeline 3 is a row there.
int TableRows(int mode, int stage) {
  const StageScript& script = *StageScriptOf(stage);
  return static_cast<int>(script.modes[mode].size()) + (script.timeline3 == Timeline3Rule::kOthers ? 0 : 1);
}

struct ScriptCounts {
  int mode, stage, rows, spawns;
};

// Every row once and every spawn it makes, as the timetables count them.
constexpr ScriptCounts kCounts[] = {
    {0, 1, 45, 38},   {1, 1, 36, 30},   {0, 2, 85, 82},   {1, 2, 82, 84},   {0, 3, 106, 179}, {1, 3, 56, 129},
    {0, 4, 58, 131},  {1, 4, 55, 120},  {0, 5, 50, 188},  {1, 5, 47, 181},  {0, 6, 70, 174},  {1, 6, 63, 159},
    {0, 7, 43, 304},  {1, 7, 42, 303},  {0, 8, 35, 404},  {1, 8, 35, 404},
};

void PrintTo(const ScriptCounts& counts, std::ostream* out) {
  *out << "mode " << counts.mode << " stage " << counts.stage;
}

class ScriptListing : public testing::TestWithParam<ScriptCounts> {};

TEST_P(ScriptListing, EqualsTheFixtureAndTheStatedCounts) {
  const ScriptCounts& expected = GetParam();
  const std::vector<std::string> listed = ListStageEvents(expected.mode, expected.stage);
  const std::vector<std::string> fixture = FixtureLines(expected.mode, expected.stage);
  ASSERT_FALSE(fixture.empty()) << STAGE_EVENTS_FIXTURE;
  const auto [ours, theirs] = std::mismatch(listed.begin(), listed.end(), fixture.begin(), fixture.end());
  if (ours != listed.end() || theirs != fixture.end()) {
    ADD_FAILURE() << "first difference at event " << (ours - listed.begin()) << ":\n  listed:  "
                  << (ours != listed.end() ? *ours : "(end)") << "\n  fixture: "
                  << (theirs != fixture.end() ? *theirs : "(end)");
  }
  EXPECT_EQ(TableRows(expected.mode, expected.stage), expected.rows);
  EXPECT_EQ(CountMatching(listed, " Spawn "), expected.spawns);
}

INSTANTIATE_TEST_SUITE_P(AllScripts, ScriptListing, testing::ValuesIn(kCounts),
                         [](const testing::TestParamInfo<ScriptCounts>& info) {
                           return "Mode" + std::to_string(info.param.mode) + "Stage" + std::to_string(info.param.stage);
                         });

TEST(ScriptListing, StageEightSpawnLinesEndWhereTheTimetableSays) {
  const std::vector<std::string> events = ListStageEvents(0, 8);
  long timeline1 = 0, timeline2 = 0;
  for (const std::string& line : events) {
    if (line.find(" Spawn ") == std::string::npos) continue;
    (line.find(" T1 ") != std::string::npos ? timeline1 : timeline2)++;
  }
  EXPECT_EQ(timeline1, 124);
  EXPECT_EQ(timeline2, 280);
  // The 13- and 57-spawn lines of timeline 2, one spawn every 5 frames: each line's
  // spawn count back from its last, stated, spawn.
  const std::pair<const char*, int> lines[] = {
      {"M0 S8 T2 F1560 Spawn t=1092 x=1000 y=400 f=0 g=1", 13}, {"M0 S8 T2 F2180 Spawn t=1093 x=6100 y=500 f=0 g=1", 57},
      {"M0 S8 T2 F2360 Spawn t=1092 x=5600 y=1600 f=1 g=1", 13}, {"M0 S8 T2 F2880 Spawn t=1093 x=500 y=1600 f=1 g=1", 57},
      {"M0 S8 T2 F3160 Spawn t=1091 x=1000 y=400 f=0 g=1", 13}, {"M0 S8 T2 F3260 Spawn t=1091 x=5600 y=1600 f=1 g=1", 13},
      {"M0 S8 T2 F3980 Spawn t=1093 x=6100 y=500 f=0 g=1", 57}, {"M0 S8 T2 F4280 Spawn t=1093 x=500 y=1600 f=1 g=1", 57},
  };
  const auto spawnsAt = [&](int frame) {
    return CountMatching(events, "M0 S8 T2 F" + std::to_string(frame) + " Spawn ");
  };
  for (const auto& [lastEvent, spawns] : lines) {
    EXPECT_EQ(CountMatching(events, lastEvent), 1) << lastEvent;
    const int lastFrame = std::atoi(lastEvent + std::strlen("M0 S8 T2 F"));
    for (int k = -1; k <= spawns; ++k) {
      EXPECT_EQ(spawnsAt(lastFrame - 5 * k), k >= 0 && k < spawns ? 1 : 0) << lastEvent << " k " << k;
    }
  }
}

TEST(ScriptListing, StatedCountsOfStagesFourAndSeven) {
  for (int mode = 0; mode <= 1; ++mode) {
    const std::vector<std::string> stage7 = ListStageEvents(mode, 7);
    EXPECT_EQ(CountMatching(stage7, "Add var=Stage7ScrollStep value=1"), 15) << mode;
    const std::vector<std::string> stage4 = ListStageEvents(mode, 4);
    long groupSpawns = 0;
    for (const char* group : {" Spawn t=1060 ", " Spawn t=1062 ", " Spawn t=1064 "}) {
      groupSpawns += std::count_if(stage4.begin(), stage4.end(), [&](const std::string& line) {
        return line.find(" T1 ") != std::string::npos && line.find(group) != std::string::npos;
      });
    }
    EXPECT_EQ(groupSpawns, 60) << mode;
  }
}

}  // namespace
