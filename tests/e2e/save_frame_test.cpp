// SaveFrame writes the back screen of the pass just run as a PNG picture.
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/save_frame.h"
#include "game_session.h"

namespace {

TEST(SaveFrame, WritesTheFrameJustDrawn) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  std::string saved;
  PlayScript(game, {{30, kPadRight | kPadFire}}, [&](int frame) {
    if (frame == 29) saved = SaveFrame("flying-right");
  });
  ASSERT_FALSE(saved.empty());
  // A 1024 x 768 picture of the stage's background is far more than its header.
  EXPECT_GT(std::filesystem::file_size(saved), 10'000u);
}

}  // namespace
