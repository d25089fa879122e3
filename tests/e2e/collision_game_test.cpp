// A recorded game with bullets and an enemy put on the dragon's path: guarded hits,
// the lost life and the kill come again alike in the playback.
#include <gtest/gtest.h>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "game_session.h"

namespace {

// The protection after a hit lasts 401 frames. The guard recharges more slowly with
// every use: ready again after the first two, not yet after the third, so the fourth
// hit costs a life.
constexpr int kHitFrames[] = {20, 425, 830, 1235};
constexpr int kKillFrame = 1245;
constexpr int kFrames = 1255;

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

// After the passes named, in the recording and in its playback alike: a bullet on the
// dragon for five frames; an enemy with a shot on it. The stage's own enemies stay away.
void PlaceOnPath(int frame) {
  static int bullet = 0;
  TimelineStopped = 1;  // no stage enemies in the way
  for (int hit : kHitFrames) {
    if (frame == hit) bullet = static_cast<int>(&PutNearPlayer(kCategoryEnemyBullet, 0.0f, 0, 24) - ObjectPool);
    if (frame == hit + 5) ResetObject(bullet);
  }
  if (frame == kKillFrame) {
    GameObject& enemy = PutNearPlayer(kCategoryEnemy, 300.0f, 15, 48);
    enemy.hitPoints = 1;
    enemy.scoreValue = 1000;
    enemy.coinDrop = 3;
    enemy.expValue = 2;
    PutNearPlayer(kCategoryPlayerShot, 300.0f, 40, 16).attackPower = 5;
  }
}

TEST(CollisionGame, HitsAndAKillOnTheDragonsPathReplay) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  // Whether a sound still plays follows the audio device's clock, not the game: the
  // sounds played only when idle would differ between the two runs.
  SetForwarding(Call::IsSoundPlaying, false);
  StartAGame(game);
  std::vector<int> after;  // guard uses and lives after each hit, the kill's score
  const std::vector<FrameDigest> recorded = PlayScript(game, {{kFrames, 0}}, [&](int frame) {
    PlaceOnPath(frame);
    for (int hit : kHitFrames) {
      if (frame == hit + 1) after.insert(after.end(), {static_cast<int>(GuardUses), static_cast<int>(Lives)});
    }
    if (frame == kKillFrame + 1) after.push_back(KillScore);
    if (frame == kHitFrames[0] + 6) SaveFrame("guarded-hit");
    if (frame == kHitFrames[3] + 6) SaveFrame("lost-life");
    if (frame == kKillFrame + 6) SaveFrame("kill");
  });
  ASSERT_EQ(recorded.size(), static_cast<size_t>(kFrames));
  EXPECT_EQ(after, std::vector<int>({1, 3, 2, 3, 3, 3, 3, 2, 1000}));
  SaveTheRecording(1);
  const std::vector<FrameDigest> played = PlayBack(game, 1, PlaceOnPath);
  ASSERT_EQ(played.size(), recorded.size());
  EXPECT_EQ(FirstDivergingFrame(recorded, played), -1) << DescribeDivergence(recorded, played);
  EXPECT_EQ(std::vector<int>({static_cast<int>(GuardUses), static_cast<int>(Lives), KillScore}),
            std::vector<int>({3, 2, 1000}));
}

}  // namespace
