// Enemy bullets against the worked values and stated geometry of their description.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "objects/objects.h"
#include "records_made.h"

namespace {

class EnemyBullets : public RecordsMade {
 protected:
  std::vector<GameObject*> Fire(int templateId, int x, int y, int facing, int p) {
    return Create(templateId, x, y, facing, p);
  }
  void PlayerAt(float x, float y) {
    ObjectPool[kPlayerSlot].x = x;
    ObjectPool[kPlayerSlot].y = y;
  }
};

// The direction of a velocity in whole degrees from `from`, 0 to 359.
int DegreesFrom(const GameObject& record, double from) {
  const double degrees = std::atan2(record.vy, record.vx) * 180.0 / M_PI - from;
  return (static_cast<int>(std::lround(degrees)) % 360 + 360) % 360;
}

// A 10-degree ring of 30 pairs: 36 directions, B's own and those 70 to 290 degrees
// from it (counted in the positive sense) carrying two records, the others one.
void ExpectTenDegreeRing(const std::vector<GameObject*>& records, double aim) {
  ASSERT_EQ(records.size(), 60u);
  std::map<int, int> perDirection;
  for (const GameObject* record : records) ++perDirection[DegreesFrom(*record, aim)];
  ASSERT_EQ(perDirection.size(), 36u);
  for (const auto& [direction, count] : perDirection) {
    const bool doubled = direction == 0 || (direction >= 70 && direction <= 290);
    EXPECT_EQ(count, doubled ? 2 : 1) << direction << " degrees";
  }
}

TEST_F(EnemyBullets, AimedSinglesMatchTheWorkedValues) {
  PlayerAt(400.0f, 500.0f);
  const GameObject& slow = *Fire(2003, 100, 100, 0, 0).at(0);
  EXPECT_EQ(slow.phase, 500.0f);
  EXPECT_EQ(slow.vx, 1.2f);
  EXPECT_EQ(slow.vy, 1.6f);
  EXPECT_EQ(slow.timer, 0);
  EXPECT_EQ(slow.angle, 0.0f);

  PlayerAt(100.0f, 400.0f);
  const GameObject& aimed = *Fire(5014, 100, 100, 0, 60).at(0);
  EXPECT_EQ(aimed.vx, 0.0f);
  EXPECT_EQ(aimed.vy, 6.0f);
  EXPECT_EQ(aimed.angle, 1.5707964f);

  BulletTargetX = 1000.0f;
  BulletTargetY = 500.0f;
  for (float playerX : {0.0f, 1000.0f, 3000.0f}) {
    PlayerAt(playerX, 800.0f);
    const GameObject& marked = *Fire(5031, 1000, 200, 0, 60).at(0);
    EXPECT_EQ(marked.vx, 0.0f);
    EXPECT_EQ(marked.vy, 6.0f);
    EXPECT_EQ(marked.phase, 300.0f);
    EXPECT_EQ(marked.angle, 1.5707964f);
  }
}

TEST_F(EnemyBullets, AimedFansStartFromTheOffsetBase) {
  PlayerAt(400.0f, 100.0f);
  const std::vector<GameObject*> fan = Fire(5011, 100, 100, 0, 3);
  ASSERT_EQ(fan.size(), 11u);
  EXPECT_EQ(fan[0]->vx, 6.02f);
  EXPECT_EQ(fan[0]->vy, 0.02f);
  for (const GameObject* record : fan) {
    EXPECT_EQ(record->hitPoints, 1);
    EXPECT_EQ(record->deathEffect, 99);
  }
  ExpectTenDegreeRing(Fire(5013, 100, 100, 0, 30), 0.0);
}

TEST_F(EnemyBullets, FixedDirectionsDoNotLookAtThePlayer) {
  const std::vector<GameObject*> ring = Fire(5012, 100, 100, 0, 30);
  for (int i : {0, 1}) {
    EXPECT_EQ(ring[i]->vx, 3.01f);
    EXPECT_EQ(ring[i]->vy, 3.01f);
    EXPECT_EQ(ring[i]->angle, static_cast<float>(M_PI / 4));
  }
  ExpectTenDegreeRing(ring, 45.0);

  for (int facing : {0, 1, 2}) {
    const float sign = facing == 0 ? 1.0f : -1.0f;
    const std::vector<GameObject*> fan = Fire(5016, 100, 100, facing, 50);
    ASSERT_EQ(fan.size(), 6u);
    const int expected[] = {0, 0, 15, -15, 30, -30};
    for (int i = 0; i < 6; ++i) {
      const double radians = expected[i] * M_PI / 180.0;
      EXPECT_NEAR(fan[i]->vx, sign * 5.0 * std::cos(radians), 1e-5) << facing << " record " << i;
      EXPECT_NEAR(fan[i]->vy, sign * 5.0 * std::sin(radians), 1e-5) << facing << " record " << i;
    }
    EXPECT_EQ(fan[0]->vx, sign * 5.0f);
    EXPECT_EQ(fan[0]->vy, 0.0f);
  }

  const GameObject& row = *Fire(5024, 100, 100, 2, 40).at(0);
  EXPECT_EQ(row.vx, -4.0f);
  EXPECT_EQ(row.vy, 0.0f);
  EXPECT_EQ(row.angle, static_cast<float>(M_PI));

  const std::vector<GameObject*> chevron = Fire(5025, 1000, 500, 1, 40);
  const float points[5][2] = {{1060, 440}, {1030, 470}, {1000, 500}, {1030, 530}, {1060, 560}};
  ASSERT_EQ(chevron.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(chevron[i]->x, points[i][0]);
    EXPECT_EQ(chevron[i]->y, points[i][1]);
    EXPECT_EQ(chevron[i]->vx, -4.0f);
  }
}

TEST_F(EnemyBullets, TheTurnedSumHalvesTheFan) {
  PlayerAt(100.0f, 900.0f);
  const std::vector<GameObject*> fan = Fire(2109, 100, 100, 0, 5);
  ASSERT_EQ(fan.size(), 200u);
  const double base = 5.0;  // |B|: straight down at p
  int nearlyStill = 0;
  for (std::size_t i = 0; i < fan.size(); ++i) {
    const double theta = (i % 2 == 0 ? 2.0 : -2.0) * static_cast<double>(i / 2) * M_PI / 180.0;
    const double length = std::hypot(fan[i]->vx, fan[i]->vy);
    EXPECT_NEAR(length, 2.0 * base * std::fabs(std::cos(theta / 2.0)), 1e-4) << "record " << i;
    if (length < 1e-4) ++nearlyStill;
  }
  EXPECT_EQ(nearlyStill, 2);
}

TEST_F(EnemyBullets, ASpeedOfZeroStillMovesWhatAddsTheHundredth) {
  for (int templateId : {5011, 5012, 5013, 5017, 5022, 5027, 5037, 5038, 2108}) {
    for (const GameObject* record : Fire(templateId, 100, 100, 0, 0)) {
      EXPECT_GT(std::hypot(record->vx, record->vy), 0.005) << templateId;
    }
  }
}

// The aim point on the firing point: no direction, every field finite, every draw made.
TEST_F(EnemyBullets, AnAimOnTheFiringPointGivesNoDirection) {
  ScriptRandom(RandomScript::Listed, std::vector<int>(16, 200));  // near points land on (1000, 500)
  BulletTargetX = 1000.0f;
  BulletTargetY = 500.0f;
  ObjectPool[40].phase = 1000.0f;
  ObjectPool[40].phase2 = 500.0f;
  ObjectPool[40].work[0] = 4.0f;
  const std::map<int, float> kFirstSpeed = {{5011, 0.02f}, {5013, 0.01f}, {5022, 0.01f}, {5027, 0.01f},
                                            {5038, 0.01f}};
  for (int templateId : {2003, 2006, 2007, 2008, 2032, 2033, 2109, 2112, 5010, 5011, 5013, 5014, 5015, 5018, 5019,
                         5020, 5021, 5022, 5026, 5027, 5028, 5029, 5030, 5031, 5032, 5033, 5034, 5035, 5036, 5038}) {
    const std::vector<GameObject*> records = Fire(templateId, 1000, 500, 0, templateId == 2112 ? 40 : 7);
    const bool nearPoint = templateId == 5030 || templateId == 5032 || templateId == 5033 ||
                           templateId == 5035 || templateId == 5036;
    EXPECT_EQ(CallsOf(Call::RandomInRange).size(), nearPoint ? 2u : 0u) << templateId;
    for (const GameObject* record : records) {
      for (float field : {record->vx, record->vy, record->angle, record->phase, record->phase2}) {
        EXPECT_TRUE(std::isfinite(field)) << templateId;
      }
      EXPECT_EQ(record->phase, 0.0f) << templateId;
      EXPECT_EQ(record->phase2, 0.0f) << templateId;
    }
    const auto first = kFirstSpeed.find(templateId);
    const float speed = first == kFirstSpeed.end() ? 0.0f : first->second;
    EXPECT_EQ(records[0]->vx, speed) << templateId;
    EXPECT_EQ(records[0]->vy, speed) << templateId;
    if (records.size() == 1) {
      EXPECT_FALSE(std::signbit(records[0]->angle)) << templateId;
    }
  }
}

}  // namespace
