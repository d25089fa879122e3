// A run started with options of each option shot, from the loadout page of a veteran's
// save: the options fly with the dragon, the shot held, and show the kind of shot they
// fire (rows 288, 291, 292, 321 for option shots 0 to 3).
#include <gtest/gtest.h>

#include <tuple>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "game_session.h"

namespace {

constexpr int kOptionRows[] = {288, 291, 292, 321};
constexpr int kStartOptions = 2;

TEST(OptionShotsRun, OptionsShowTheShotTheyFire) {
  for (int shot = 0; shot < 4; ++shot) {
    SCOPED_TRACE(shot);
    GameSession game;
    StartWithAFreshSave(game, 999);
    KeepCallLog(false);
    ToMainMenu(game);
    StartOptionLevel = kStartOptions;
    StartRun(game, 0, Loadout{.optionShot = shot, .optionType = shot});
    ASSERT_EQ(std::tuple(Scene, OptionShot, OptionLevel), std::tuple(kScenePlay, shot, kStartOptions));
    ASSERT_TRUE(game.Hold(kPadFire | kPadUp, 60));
    ASSERT_TRUE(game.Hold(kPadFire | kPadRight, 60));
    for (int slot = kFirstOptionSlot; slot < kFirstOptionSlot + kStartOptions; ++slot) {
      EXPECT_EQ(std::tuple(ObjectPool[slot].state, ObjectPool[slot].animation),
                std::tuple(kStateActive, kOptionRows[shot]))
          << "slot " << slot;
    }
  }
}

}  // namespace
