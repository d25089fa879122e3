// The ending, scene 4: its timeline on StageTimeline, the veils over the ending's
// objects, the staff-picture fader, and the skip by holding pause.
#include <iterator>
#include <span>

#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/sound_control.h"
#include "core/veils.h"
#include "game_library.h"
#include "screens/ending_steps.h"
#include "screens/screens.h"

namespace {

constexpr int kResultsSetUpPhase = 5;
constexpr int kSkipHold = 2;      // frames the pause action is held to skip
constexpr int kSkipFadeEnd = 300;
constexpr int kStaffPictureSet = 24;

constexpr Veil kEndingVeils[] = {Veil::kEndingFadeIn, Veil::kEndFadeTimer, Veil::kDeathFrames, Veil::kFlashFade,
                                 Veil::kEndFadeFlag};

// Tiles of image set 24, drawn at x 260.
struct StaffTile {
  int tile;
  int y;
};
constexpr int kStaffTileX = 260;
constexpr StaffTile kPictureA[] = {{0, 330}};
constexpr StaffTile kPictureB[] = {{1, 330}};
constexpr StaffTile kFinalPair[] = {{25, 270}, {26, 330}};

// One state of the staff-picture fader: the counter steps, and past its bound the
// fader moves on (a fade-out ends at 0 again); then the state's tiles are drawn.
struct FaderState {
  int step;
  int bound;  // passed when above it while rising, below it while falling
  int next;
  std::span<const StaffTile> tiles;
};

// By state 1 to 6: picture A in and out, picture B in and out, the final pair in and out.
constexpr FaderState kFaderStates[] = {
    {2, 400, 2, kPictureA}, {-2, -10, 3, kPictureA}, {2, 400, 4, kPictureB},
    {-2, -10, 0, kPictureB}, {1, 500, 6, kFinalPair}, {-1, -10, 0, kFinalPair},
};

void RunFaderState(const FaderState& state) {
  int& alpha = CreditPictureAlpha;
  alpha += state.step;
  const bool rising = state.step > 0;
  if (rising ? alpha > state.bound : alpha < state.bound) {
    CreditPictureState = state.next;
    if (!rising) alpha = 0;
  }
  for (const StaffTile& staff : state.tiles) {
    SetBlendMode(kBlendAlpha, alpha);
    DrawGraphAt(kStaffTileX, staff.y, SpriteHandles[kStaffPictureSet * kCellsPerSet + staff.tile], 1);
  }
}

// The states are tested in turn, so a state entered in one block runs its own block in
// the same call.
void RunStaffPictureFader() {
  for (int state = 1; state <= static_cast<int>(std::size(kFaderStates)); ++state) {
    if (CreditPictureState == state) RunFaderState(kFaderStates[state - 1]);
  }
}

void RunSkip() {
  if (EndingSkip == 0 && ActionHold[kActionPause] >= kSkipHold) {
    EndingSkip = 1;
    SetBgmFade(kEndingMusicChannel, kFadeOutStop);
  }
  if (EndingSkip != 1) return;
  ++EndingSkipFade;
  SetBlendMode(kBlendAlpha, EndingSkipFade);
  FillScreen(0, 0, 0);
  if (EndingSkipFade > kSkipFadeEnd) HandEndingOverToResults();
}

}  // namespace

void HandEndingOverToResults() {
  ScenePhase = kResultsSetUpPhase;
  Scene = kSceneResults;
  EndingReached = 1;
}

void RunEnding() {
  ++StageTimeline;
  PerformEndingRows(StageTimeline);
  DrawVeils(kEndingVeils);
  RunStaffPictureFader();
  RunSkip();
}
