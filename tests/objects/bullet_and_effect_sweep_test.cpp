// Every bullet and effect template against the records cut from its description's
// tables (data/bullet_and_effect_templates.txt): record count and order, each field
// the tables fix, every other field at its reset value, the draws in order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "objects/object_fields.h"
#include "bullet_and_effect_fixture.h"
#include "records_made.h"

namespace {

// Writes "name=value" into the record's field, or returns the value as the record
// would print it when `record` is null.
std::string Field(GameObject* record, const std::string& word, int facing = 0) {
  const std::string name = word.substr(0, word.find('=')), value = word.substr(word.find('=') + 1);
  GameObject probe{};
  for (const ObjectField& field : kObjectFields) {
    if (name != field.name) continue;
    char* bytes = reinterpret_cast<char*>(record ? record : &probe) + field.offset;
    const float number = value == "arg" ? static_cast<float>(facing) : std::stof(value);
    const int whole = static_cast<int>(number);
    field.isFloat ? std::memcpy(bytes, &number, 4) : std::memcpy(bytes, &whole, 4);
    return FieldText(probe, field);
  }
  ADD_FAILURE() << "no field " << name;
  return "";
}

class BulletAndEffectSweep : public RecordsMade {
 protected:
  void Prepare(const BulletAndEffectFixture& fixture, int stage) {
    const Words& player = fixture.setup.at("player");
    const Words& target = fixture.setup.at("target");
    const Words& parent = fixture.setup.at("parent");
    ObjectPool[kPlayerSlot].x = std::stof(player[0]), ObjectPool[kPlayerSlot].y = std::stof(player[1]);
    ObjectPool[kPlayerSlot].facing = 0;
    BulletTargetX = std::stof(target[0]), BulletTargetY = std::stof(target[1]);
    GameObject& record = ObjectPool[std::stoi(parent[0])] = ResetValues();
    for (std::size_t i = 1; i < parent.size(); ++i) Field(&record, parent[i]);
    ShotLevel = 2, SpeedLevel = 5, TurboLevel = 2, BurstBonusFlag = 1, PlayerHitTally = 0.0f;  // setup levels
    Stage = stage;
    ScriptRandom(RandomScript::Zero);
  }
};

TEST_F(BulletAndEffectSweep, EveryTemplateWritesWhatItsTablesSay) {
  const BulletAndEffectFixture fixture = ReadBulletAndEffectFixture();
  const Words& call = fixture.setup.at("call");
  const std::vector<GameObject> start = Snapshot();
  std::set<int> seen;
  for (const std::string& stageWord : fixture.setup.at("stages")) {
    for (const std::string& facingWord : fixture.setup.at("facings")) {
      for (const auto& [key, expected] : fixture.records) {
        const int templateId = std::stoi(key), facing = std::stoi(facingWord);
        const std::string staged = std::to_string(templateId) + "@" + stageWord;
        if (key != staged && (key.find('@') != std::string::npos || fixture.records.count(staged))) continue;
        seen.insert(templateId);
        std::memcpy(ObjectPool, start.data(), sizeof ObjectPool);
        ForgetFreeSlotHint();
        Prepare(fixture, std::stoi(stageWord));
        const std::vector<GameObject> before = Snapshot();
        const std::vector<GameObject*> made =
            Create(templateId, std::stoi(call[0]), std::stoi(call[1]), facing, std::stoi(call[2]));
        SCOPED_TRACE(key + " facing " + facingWord + " stage " + stageWord);
        ASSERT_EQ(made.size(), expected.size());
        for (std::size_t r = 0; r < made.size(); ++r) {
          std::map<std::string, std::string> want;
          for (const std::string& word : expected[r]) want[word.substr(0, word.find('='))] = word;
          if (want.count("slot")) {
            EXPECT_EQ(made[r], &ObjectPool[std::stoi(want["slot"].substr(5))]);
          }
          for (const ObjectField& field : kObjectFields) {
            const std::string actual = FieldText(*made[r], field);
            const auto found = want.find(field.name);
            if (found == want.end()) {
              EXPECT_EQ(actual, FieldText(ResetValues(), field)) << "record " << r << " " << field.name;
            } else if (found->second.ends_with("=*")) {
              EXPECT_TRUE(std::isfinite(std::stod(actual))) << "record " << r << " " << field.name;
            } else {
              EXPECT_EQ(actual, Field(nullptr, found->second, facing)) << "record " << r << " " << field.name;
            }
          }
        }
        int changed = 0;
        for (int slot = 0; slot < kPoolSize; ++slot) changed += std::memcmp(&before[slot], &ObjectPool[slot], sizeof(GameObject)) != 0;
        EXPECT_EQ(changed, static_cast<int>(std::set<GameObject*>(made.begin(), made.end()).size()));
        std::vector<int> maxima;
        for (const RecordedCall& draw : CallsOf(Call::RandomInRange)) maxima.push_back(draw.Int(0));
        const auto draws = fixture.draws.find(fixture.draws.count(staged) ? staged : std::to_string(templateId));
        EXPECT_EQ(maxima, draws == fixture.draws.end() ? std::vector<int>{} : draws->second);
      }
    }
  }
  EXPECT_EQ(seen, fixture.TemplateIds());
  EXPECT_EQ(seen.size(), 147u);
}

}  // namespace
