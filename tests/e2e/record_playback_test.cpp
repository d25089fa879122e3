// A game recorded into a replay slot and played back must pass through the same
// states frame by frame, whatever was played before the playback.
#include <gtest/gtest.h>

#include <vector>

#include "core/game_state.h"
#include "core/new_game.h"
#include "core/replay_files.h"
#include "core/resource_loaders.h"
#include "core/sound_control.h"
#include "frame_digest.h"
#include "game_library.h"
#include "game_session.h"

namespace {

constexpr int kRecordedFrames = 600;

// Plays `frames` frames of seeded random play and returns their digests.
std::vector<FrameDigest> Play(GameSession& game, int frames, unsigned seed) {
  return PlayScript(game, RandomPlay(frames, seed));
}

TEST(RecordPlayback, APlaybackRepeatsItsRecordingFrameByFrame) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  const std::vector<FrameDigest> recorded = Play(game, kRecordedFrames, 1);
  SaveTheRecording(1);
  const std::vector<FrameDigest> played = PlayBack(game, 1);
  ASSERT_EQ(played.size(), recorded.size());
  EXPECT_EQ(FirstDivergingFrame(recorded, played), -1) << DescribeDivergence(recorded, played);
}

TEST(RecordPlayback, AnAlteredReplayNamesItsFirstDivergingFrame) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  const std::vector<FrameDigest> recorded = Play(game, kRecordedFrames, 2);
  SaveTheRecording(2);
  // Frame 250's input word gets one more button (the file's frames follow 19 words).
  const std::string name = ReplayFileName(2);
  std::string bytes = game.folder().Read(name);
  bytes[4 * (19 + 250) + 1] ^= 0x20;  // 8192
  game.folder().Write(name, bytes);
  const std::vector<FrameDigest> played = PlayBack(game, 2);
  EXPECT_EQ(FirstDivergingFrame(recorded, played), 250) << DescribeDivergence(recorded, played);
}

// The recording is the first game after start-up; before it is played back, a game
// ends in death with the facing lock on. Nothing of that game may reach the playback.
TEST(RecordPlayback, APlaybackAfterAnotherGameRepeatsTheFirstGameAfterStartUp) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  const std::vector<FrameDigest> recorded = Play(game, kRecordedFrames, 3);
  SaveTheRecording(3);

  StartAGame(game);
  Play(game, 200, 4);
  FacingLock = 1;
  // A hit that takes the last life: the player's death and its run-out follow.
  Lives = 0.0f;
  ObjectPool[kPlayerSlot].animation = 26;
  PlayerIdleTimer = 5;
  ASSERT_TRUE(game.Pass(kPadFacing));
  ASSERT_EQ(ScenePhase, 1);
  while (Scene == kScenePlay) ASSERT_TRUE(game.Pass(kPadFacing | kPadFire));
  ASSERT_EQ(Scene, kSceneResults);
  AnswerContinue(/*yes=*/false);
  AwaitResultsNavigation(/*shortened=*/true);
  LeaveResults(/*shortened=*/true);  // without saving

  const std::vector<FrameDigest> played = PlayBack(game, 3);
  EXPECT_EQ(FirstDivergingFrame(recorded, played), -1) << DescribeDivergence(recorded, played);
}

// A run quit through the pause fades its stage piece out over 255 frames. A run started
// from the menu soon after, its stage loaded while that fade still runs, plays its own
// piece from its first frame, and its playback plays it alike.
TEST(RecordPlayback, ARunStartedAsTheLastOneQuitsPlaysItsMusicInTheRecordingAndThePlayback) {
  constexpr int kStageMusic = 2;
  constexpr int kQuitFadeFrames = 255;
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  ASSERT_GT(PassUntil(game, [] { return TitleCardActive == 0; }, 800, kPadFire), 0);  // it refuses the pause
  PlayScript(game, QuitThroughThePause());
  ASSERT_EQ(Scene, kSceneTitle);
  const int quitAt = game.passes();
  ToMainMenu(game);
  EXPECT_LE(game.passes() - quitAt, 60);  // where the next run is started
  StartAGame(game);
  // The loadout's white fade-in to play takes its own time; the stage still loads
  // before the quit's fade-out is over.
  EXPECT_LT(game.passes() - quitAt, kQuitFadeFrames);

  const FrameHook musicPlays = [](int frame) {
    if (frame == 0) {
      EXPECT_EQ(IsSoundPlaying(BgmHandles[kStageMusic]), 1) << "the stage piece is silent";
    }
  };
  const std::vector<FrameDigest> recorded = PlayScript(game, RandomPlay(300, 5), musicPlays);
  SaveTheRecording(4);
  const std::vector<FrameDigest> played = PlayBack(game, 4, musicPlays);
  ASSERT_EQ(played.size(), recorded.size());
  EXPECT_EQ(FirstDivergingFrame(recorded, played), -1) << DescribeDivergence(recorded, played);
}

}  // namespace
