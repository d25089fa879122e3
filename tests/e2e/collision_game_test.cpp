// A recorded game with a bullet and an enemy put on the dragon's path: the guarded
// hit and the kill come again alike in the playback.
#include <gtest/gtest.h>

#include "../support/save_frame.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "game_session.h"

namespace {

constexpr int kGuardFrame = 20;
constexpr int kKillFrame = 500;
constexpr int kFrames = 520;

GameObject& PutNearPlayer(int category, float dx, int imageSet, int hitSize) {
  GameObject& object = ObjectPool[AllocateObject()];
  object.state = kStateActive;
  object.layer = 4;
  object.category = category;
  object.x = ObjectPool[kPlayerSlot].x + dx;
  object.y = ObjectPool[kPlayerSlot].y;
  object.imageSet = imageSet;
  object.width = object.height = 64;
  object.hitWidth = object.hitHeight = hitSize;
  return object;
}

// After the passes named, in the recording and in its playback alike.
void PlaceOnPath(int frame) {
  static GameObject* bullet = nullptr;
  if (frame == kGuardFrame) bullet = &PutNearPlayer(kCategoryEnemyBullet, 0.0f, 0, 24);
  if (frame == kGuardFrame + 5) ResetObject(static_cast<int>(bullet - ObjectPool));
  if (frame == kKillFrame) {
    GameObject& enemy = PutNearPlayer(kCategoryEnemy, 300.0f, 15, 48);
    enemy.hitPoints = 1;
    enemy.scoreValue = 1000;
    enemy.coinDrop = 3;
    enemy.expValue = 2;
    PutNearPlayer(kCategoryPlayerShot, 300.0f, 40, 16).attackPower = 5;
  }
}

TEST(CollisionGame, AHitAndAKillOnTheDragonsPathReplay) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  const std::vector<FrameDigest> recorded = PlayScript(game, {{kFrames, 0}}, [](int frame) {
    PlaceOnPath(frame);
    if (frame == kGuardFrame + 1) {
      EXPECT_EQ(GuardUses, 1.0f);
    }
    if (frame == kKillFrame + 1) {
      EXPECT_EQ(KillScore, 1000);
    }
    if (frame == kGuardFrame + 4) SaveFrame("guarded-hit");
    if (frame == kKillFrame + 6) SaveFrame("kill");
  });
  ASSERT_EQ(recorded.size(), static_cast<size_t>(kFrames));
  SaveTheRecording(1);
  const std::vector<FrameDigest> played = PlayBack(game, 1, PlaceOnPath);
  ASSERT_EQ(played.size(), recorded.size() - 1);
  EXPECT_EQ(FirstDivergingFrame(recorded, played), -1) << DescribeDivergence(recorded, played);
  EXPECT_EQ(GuardUses, 1.0f);
  EXPECT_EQ(KillScore, 1000);
}

}  // namespace
