// Every bullet and effect template against the records cut from its description's
// tables (data/bullet_and_effect_templates.txt): record count and order, each field
// the tables fix, every other field at its reset value, the draws in order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "objects/object_fields.h"
#include "objects/objects.h"
#include "records_made.h"

namespace {

struct Fixture {
  std::map<std::string, std::vector<std::string>> setup;            // "setup <key> <words...>"
  std::map<std::string, std::vector<std::vector<std::string>>> records;  // per "<id>[@stage]", one per record
  std::map<std::string, std::vector<int>> draws;
};

Fixture ReadFixture() {
  Fixture fixture;
  std::ifstream file(OBJECT_TEST_DATA "/bullet_and_effect_templates.txt");
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream words(line);
    std::string kind, key;
    words >> kind >> key;
    std::vector<std::string> rest;
    for (std::string word; words >> word;) rest.push_back(word);
    if (kind == "setup") fixture.setup[key] = rest;
    if (kind == "record") {
      const int count = std::stoi(rest.at(0));
      for (int i = 0; i < count; ++i) fixture.records[key].emplace_back(rest.begin() + 1, rest.end());
    }
    if (kind == "draws") {
      for (const std::string& word : rest) fixture.draws[key].push_back(std::stoi(word));
    }
  }
  return fixture;
}

// The value of `name=value` words, as `record` would print it.
std::string Expected(const std::string& value, const ObjectField& field, int facing) {
  if (value == "arg") return std::to_string(facing);
  GameObject probe{};
  if (field.isFloat) {
    const float number = std::stof(value);
    std::memcpy(reinterpret_cast<char*>(&probe) + field.offset, &number, sizeof number);
  } else {
    const int number = std::stoi(value);
    std::memcpy(reinterpret_cast<char*>(&probe) + field.offset, &number, sizeof number);
  }
  return FieldText(probe, field);
}

const ObjectField& FieldNamed(const std::string& name) {
  for (const ObjectField& field : kObjectFields) {
    if (name == field.name) return field;
  }
  ADD_FAILURE() << "no field " << name;
  return kObjectFields[0];
}

class BulletAndEffectSweep : public RecordsMade {
 protected:
  void Prepare(const Fixture& fixture, int stage) {
    const auto& player = fixture.setup.at("player");
    ObjectPool[kPlayerSlot].x = std::stof(player[0]);
    ObjectPool[kPlayerSlot].y = std::stof(player[1]);
    ObjectPool[kPlayerSlot].facing = 0;
    BulletTargetX = std::stof(fixture.setup.at("target")[0]);
    BulletTargetY = std::stof(fixture.setup.at("target")[1]);
    const auto& parent = fixture.setup.at("parent");
    GameObject& record = ObjectPool[std::stoi(parent[0])] = ResetValues();
    for (std::size_t i = 1; i < parent.size(); ++i) {
      const std::string name = parent[i].substr(0, parent[i].find('='));
      const ObjectField& field = FieldNamed(name);
      const std::string value = parent[i].substr(parent[i].find('=') + 1);
      char* word = reinterpret_cast<char*>(&record) + field.offset;
      if (field.isFloat) {
        *reinterpret_cast<float*>(word) = std::stof(value);
      } else {
        *reinterpret_cast<int*>(word) = std::stoi(value);
      }
    }
    ShotLevel = 2;
    SpeedLevel = 5;
    TurboLevel = 2;
    BurstBonusFlag = 1;
    PlayerHitTally = 0.0f;
    Stage = stage;
    ScriptRandom(RandomScript::Zero);
  }
};

TEST_F(BulletAndEffectSweep, EveryTemplateWritesWhatItsTablesSay) {
  const Fixture fixture = ReadFixture();
  ASSERT_EQ(fixture.setup.at("levels").size(), 5u) << "the levels are set in Prepare";
  const auto& call = fixture.setup.at("call");
  const std::vector<GameObject> start = Snapshot();
  std::map<int, bool> seen;
  for (const std::string& stageWord : fixture.setup.at("stages")) {
    const int stage = std::stoi(stageWord);
    for (const std::string& facingWord : fixture.setup.at("facings")) {
      const int facing = std::stoi(facingWord);
      for (const auto& [key, expected] : fixture.records) {
        const int templateId = std::stoi(key);
        const std::string staged = std::to_string(templateId) + "@" + stageWord;
        if (key.find('@') != std::string::npos && key != staged) continue;
        if (key.find('@') == std::string::npos && fixture.records.count(staged)) continue;
        seen[templateId] = true;
        std::memcpy(ObjectPool, start.data(), sizeof ObjectPool);
        Prepare(fixture, stage);
        const std::vector<GameObject> before = Snapshot();
        const std::vector<GameObject*> made =
            Create(templateId, std::stoi(call[0]), std::stoi(call[1]), facing, std::stoi(call[2]));
        SCOPED_TRACE(key + " facing " + facingWord + " stage " + stageWord);
        ASSERT_EQ(made.size(), expected.size());
        for (std::size_t r = 0; r < made.size(); ++r) {
          std::map<std::string, std::string> want;
          for (const std::string& word : expected[r]) {
            want[word.substr(0, word.find('='))] = word.substr(word.find('=') + 1);
          }
          if (want.count("slot")) {
            EXPECT_EQ(made[r], &ObjectPool[std::stoi(want["slot"])]) << "record " << r;
          }
          for (const ObjectField& field : kObjectFields) {
            const std::string actual = FieldText(*made[r], field);
            const auto found = want.find(field.name);
            if (found == want.end()) {
              EXPECT_EQ(actual, FieldText(ResetValues(), field)) << "record " << r << " " << field.name;
            } else if (found->second == "*") {
              EXPECT_TRUE(std::isfinite(std::stod(actual))) << "record " << r << " " << field.name;
            } else {
              EXPECT_EQ(actual, Expected(found->second, field, facing)) << "record " << r << " " << field.name;
            }
          }
        }
        const std::set<GameObject*> taken(made.begin(), made.end());
        int changed = 0;
        for (int slot = 0; slot < kPoolSize; ++slot) {
          changed += std::memcmp(&before[slot], &ObjectPool[slot], sizeof(GameObject)) != 0;
        }
        EXPECT_EQ(changed, static_cast<int>(taken.size())) << "only the records made change";
        std::vector<int> maxima;
        for (const RecordedCall& draw : CallsOf(Call::RandomInRange)) maxima.push_back(draw.Int(0));
        const auto draws = fixture.draws.find(fixture.draws.count(staged) ? staged : std::to_string(templateId));
        EXPECT_EQ(maxima, draws == fixture.draws.end() ? std::vector<int>{} : draws->second);
      }
    }
  }
  EXPECT_EQ(seen.size(), 147u);
}

}  // namespace
