// Every player shot, burst, action and option template against the records cut from
// their tables (data/player_templates.txt): with the player facing 0 and 1, every
// draw 0 or at its maximum, and the globals a template reads at several values, the
// records in creation order, each field the tables fix, every other field at its reset
// value, the draws' maxima in order, no other slot touched; the shots and effects
// again called at (500, 500), which they ignore.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "objects/object_fields.h"
#include "objects/objects.h"
#include "pool_fixture.h"

namespace {

using Words = std::map<std::string, std::string>;  // name=value words of a line

struct Case {
  int templateId;
  Words call;                // player, arg, parent, draws, maxima and the globals that differ
  std::vector<Words> records;
};

std::vector<Case> ReadCases() {
  std::vector<Case> cases;
  std::ifstream file(TEMPLATE_FIXTURE_DIR "/player_templates.txt");
  for (std::string text; std::getline(file, text);) {
    std::istringstream line(text);
    std::string kind;
    int templateId = 0;
    line >> kind;
    if (kind == "case") line >> templateId;
    Words words;
    for (std::string word; line >> word;) words[word.substr(0, word.find('='))] = word.substr(word.find('=') + 1);
    if (kind == "case") cases.push_back({templateId, words, {}});
    if (kind == "record") cases.back().records.push_back(words);
  }
  return cases;
}

// A field value as the record prints it.
std::string AsPrinted(const ObjectField& field, const std::string& value) {
  GameObject probe{};
  char* bytes = reinterpret_cast<char*>(&probe) + field.offset;
  const float number = std::stof(value);
  const int whole = static_cast<int>(number);
  field.isFloat ? std::memcpy(bytes, &number, 4) : std::memcpy(bytes, &whole, 4);
  return FieldText(probe, field);
}

const std::set<int> kOptions = {2152, 2153, 2154, 2155, 2197, 2198};
const std::set<int> kOptionShots = {2156, 2157, 2159, 2173, 2219, 2220, 2221, 2222};

class PlayerTemplateSweep : public PoolFixture {
 protected:
  // The fixture's set-up: the player, the option in slot 33, the globals by default or
  // as the case line gives them.
  void Prepare(const Case& c) {
    SetUp();
    ResetCallRecorder();
    GameObject& player = ObjectPool[kPlayerSlot];
    player.facing = std::stoi(c.call.at("player"));
    player.animation = 7, player.animTimer = 3, player.animStep = 2;
    ObjectPool[33].x = 700.25f, ObjectPool[33].y = 300.75f;
    OptionShot = 1;
    const struct {
      const char* name;
      int* global;
      int byDefault;
    } kWholeGlobals[] = {{"ShotLevel", &ShotLevel, 3},       {"TurboLevel", &TurboLevel, 5},
                         {"BoostFactor", &BoostFactor, 2},   {"PowerModeA", &PowerModeA, 0},
                         {"LevelUpCount", &LevelUpCount, 3}, {"BitHold0", &BitHold[0], 0},
                         {"BitHold1", &BitHold[1], 0}};
    for (const auto& [name, global, byDefault] : kWholeGlobals) {
      *global = c.call.count(name) ? std::stoi(c.call.at(name)) : byDefault;
    }
    Coins = c.call.count("Coins") ? std::stof(c.call.at("Coins")) : 500.0f;
    PlayerHitTally = c.call.count("PlayerHitTally") ? std::stof(c.call.at("PlayerHitTally")) : 0.0f;
    ScriptRandom(c.call.at("draws") == "max" ? RandomScript::Max : RandomScript::Zero);
  }

  void Check(const Case& c, int x, int y) {
    Prepare(c);
    const std::vector<GameObject> before = Snapshot();
    CreateObject(c.templateId, x, y, std::stoi(c.call.at("arg")), std::stoi(c.call.at("parent")));
    const std::vector<int> slots = TakeSlotLog();
    ASSERT_EQ(slots.size(), c.records.size());
    for (std::size_t r = 0; r < slots.size(); ++r) {
      const Words& want = c.records[r];
      if (want.count("slot")) {
        EXPECT_EQ(slots[r], std::stoi(want.at("slot")));
      }
      for (const ObjectField& field : kObjectFields) {
        const auto found = want.find(field.name);
        const std::string expected =
            found == want.end() ? FieldText(ResetValues(), field) : AsPrinted(field, found->second);
        EXPECT_EQ(FieldText(ObjectPool[slots[r]], field), expected) << "record " << r + 1 << " " << field.name;
      }
    }
    std::string maxima;
    for (const RecordedCall& draw : CallsOf(Call::RandomInRange)) {
      maxima += (maxima.empty() ? "" : ",") + std::to_string(draw.Int(0));
    }
    EXPECT_EQ(maxima.empty() ? "-" : maxima, c.call.at("maxima"));
    int changed = 0;
    for (int slot = 0; slot < kPoolSize; ++slot) {
      changed += std::memcmp(&before[slot], &ObjectPool[slot], sizeof(GameObject)) != 0;
    }
    EXPECT_EQ(changed, static_cast<int>(std::set<int>(slots.begin(), slots.end()).size()));
  }
};

TEST_F(PlayerTemplateSweep, EveryTemplateWritesWhatItsTablesSay) {
  std::set<int> seen;
  for (const Case& c : ReadCases()) {
    SCOPED_TRACE(testing::Message() << c.templateId << " player facing " << c.call.at("player") << " draws "
                                    << c.call.at("draws"));
    seen.insert(c.templateId);
    Check(c, 0, 0);
    if (!kOptions.count(c.templateId) && !kOptionShots.count(c.templateId)) Check(c, 500, 500);
  }
  EXPECT_EQ(seen.size(), 102u);
}

}  // namespace
