// Enemy bullets against the worked values and stated geometry of their description.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "records_made.h"

namespace {

using EnemyBullets = RecordsMade;

void PlayerAt(float x, float y) { ObjectPool[kPlayerSlot].x = x, ObjectPool[kPlayerSlot].y = y; }

// A 10-degree ring of 30 pairs around `aim` (degrees): 36 directions, the aim's own and
// those 70 to 290 degrees from it (in the positive sense) carrying two records.
void ExpectTenDegreeRing(const std::vector<GameObject*>& ring, double aim) {
  ASSERT_EQ(ring.size(), 60u);
  std::map<int, int> perDirection;
  for (const GameObject* record : ring) {
    const long degrees = std::lround(std::atan2(record->vy, record->vx) * 180.0 / M_PI - aim);
    ++perDirection[static_cast<int>((degrees % 360 + 360) % 360)];
  }
  ASSERT_EQ(perDirection.size(), 36u);
  for (const auto& [direction, count] : perDirection) {
    EXPECT_EQ(count, direction == 0 || (direction >= 70 && direction <= 290) ? 2 : 1) << direction;
  }
}

TEST_F(EnemyBullets, SinglesMatchTheWorkedValues) {
  BulletTargetX = 1000.0f, BulletTargetY = 500.0f;
  struct Case {
    int templateId, x, y, facing, p;
    float playerX, playerY, vx, vy, phase, angle;
  };
  const Case cases[] = {
      {2003, 100, 100, 0, 0, 400, 500, 1.2f, 1.6f, 500.0f, 0.0f},
      {5014, 100, 100, 0, 60, 100, 400, 0.0f, 6.0f, 300.0f, 1.5707964f},
      {5031, 1000, 200, 0, 60, 0, 800, 0.0f, 6.0f, 300.0f, 1.5707964f},
      {5031, 1000, 200, 0, 60, 3000, 100, 0.0f, 6.0f, 300.0f, 1.5707964f},
      {5024, 100, 100, 2, 40, 900, 900, -4.0f, 0.0f, 0.0f, static_cast<float>(M_PI)},
  };
  for (const Case& c : cases) {
    PlayerAt(c.playerX, c.playerY);
    const GameObject& bullet = *Create(c.templateId, c.x, c.y, c.facing, c.p).at(0);
    EXPECT_EQ(bullet.vx, c.vx) << c.templateId;
    EXPECT_EQ(bullet.vy, c.vy) << c.templateId;
    EXPECT_EQ(bullet.phase, c.phase) << c.templateId;
    EXPECT_EQ(bullet.angle, c.angle) << c.templateId;
  }
}

TEST_F(EnemyBullets, FansAndRingsMatchTheWorkedValues) {
  PlayerAt(400.0f, 100.0f);
  const std::vector<GameObject*> fan = Create(5011, 100, 100, 0, 3);
  ASSERT_EQ(fan.size(), 11u);
  EXPECT_EQ(fan[0]->vx, 6.02f);
  EXPECT_EQ(fan[0]->vy, 0.02f);
  for (const GameObject* record : fan) EXPECT_TRUE(record->hitPoints == 1 && record->deathEffect == 99);
  ExpectTenDegreeRing(Create(5013, 100, 100, 0, 30), 0.0);

  const std::vector<GameObject*> ring = Create(5012, 100, 100, 0, 30);
  for (int i : {0, 1}) {
    EXPECT_TRUE(ring[i]->vx == 3.01f && ring[i]->vy == 3.01f && ring[i]->angle == static_cast<float>(M_PI / 4));
  }
  ExpectTenDegreeRing(ring, 45.0);

  for (int facing : {0, 1, 2}) {
    const float sign = facing == 0 ? 1.0f : -1.0f;
    const std::vector<GameObject*> forward = Create(5016, 100, 100, facing, 50);
    ASSERT_EQ(forward.size(), 6u);
    const int degrees[] = {0, 0, 15, -15, 30, -30};
    for (int i = 0; i < 6; ++i) {
      EXPECT_NEAR(forward[i]->vx, sign * 5.0 * std::cos(degrees[i] * M_PI / 180.0), 1e-5) << facing << " " << i;
      EXPECT_NEAR(forward[i]->vy, sign * 5.0 * std::sin(degrees[i] * M_PI / 180.0), 1e-5) << facing << " " << i;
    }
    EXPECT_TRUE(forward[1]->vx == sign * 5.0f && forward[1]->vy == 0.0f);
  }

  const std::vector<GameObject*> chevron = Create(5025, 1000, 500, 1, 40);
  const float points[5][2] = {{1060, 440}, {1030, 470}, {1000, 500}, {1030, 530}, {1060, 560}};
  ASSERT_EQ(chevron.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(chevron[i]->x == points[i][0] && chevron[i]->y == points[i][1] && chevron[i]->vx == -4.0f) << i;
  }
}

// |rot(B, theta) + B| = 2|B|cos(theta / 2): the two records at +-180 degrees stay nearly still.
TEST_F(EnemyBullets, TheTurnedSumHalvesTheFan) {
  PlayerAt(100.0f, 900.0f);
  const std::vector<GameObject*> fan = Create(2109, 100, 100, 0, 5);
  ASSERT_EQ(fan.size(), 200u);
  int nearlyStill = 0;
  for (std::size_t i = 0; i < fan.size(); ++i) {
    const double theta = (i % 2 == 0 ? 2.0 : -2.0) * static_cast<double>(i / 2) * M_PI / 180.0;
    const double length = std::hypot(fan[i]->vx, fan[i]->vy);
    EXPECT_NEAR(length, 2.0 * 5.0 * std::fabs(std::cos(theta / 2.0)), 1e-4) << i;
    nearlyStill += length < 1e-4;
  }
  EXPECT_EQ(nearlyStill, 2);

  for (int templateId : {5011, 5012, 5013, 5017, 5022, 5027, 5037, 5038, 2108}) {  // p 0 moves by the 0.01
    for (const GameObject* record : Create(templateId, 100, 100, 0, 0)) {
      EXPECT_GT(std::hypot(record->vx, record->vy), 0.005) << templateId;
    }
  }
}

// The aim point on the firing point: no direction, every field finite, every draw made.
TEST_F(EnemyBullets, AnAimOnTheFiringPointGivesNoDirection) {
  ScriptRandom(RandomScript::Listed, std::vector<int>(16, 200));  // near points land on (1000, 500)
  BulletTargetX = 1000.0f, BulletTargetY = 500.0f;
  ObjectPool[40].phase = 1000.0f, ObjectPool[40].phase2 = 500.0f, ObjectPool[40].work[0] = 4.0f;
  const std::map<int, float> kFirstSpeed = {{5011, 0.02f}, {5013, 0.01f}, {5022, 0.01f}, {5027, 0.01f},
                                            {5038, 0.01f}};
  for (int templateId : {2003, 2006, 2007, 2008, 2032, 2033, 2109, 2112, 5010, 5011, 5013, 5014, 5015, 5018, 5019,
                         5020, 5021, 5022, 5026, 5027, 5028, 5029, 5030, 5031, 5032, 5033, 5034, 5035, 5036, 5038}) {
    const std::vector<GameObject*> records = Create(templateId, 1000, 500, 0, templateId == 2112 ? 40 : 7);
    const bool nearPoint = templateId == 5030 || (templateId >= 5032 && templateId <= 5036 && templateId != 5034);
    EXPECT_EQ(CallsOf(Call::RandomInRange).size(), nearPoint ? 2u : 0u) << templateId;
    for (const GameObject* record : records) {
      EXPECT_TRUE(std::isfinite(record->vx) && std::isfinite(record->vy) && std::isfinite(record->angle)) << templateId;
      EXPECT_TRUE(record->phase == 0.0f && record->phase2 == 0.0f) << templateId;
    }
    const float speed = kFirstSpeed.count(templateId) ? kFirstSpeed.at(templateId) : 0.0f;
    EXPECT_TRUE(records[0]->vx == speed && records[0]->vy == speed) << templateId;
    EXPECT_TRUE(records.size() > 1 || !std::signbit(records[0]->angle)) << templateId;
  }
}

}  // namespace
