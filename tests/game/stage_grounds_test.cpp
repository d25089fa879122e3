// Every view of every stage has a ground behind it: the first layer a stage draws is
// a picture loaded in every mode, drawn at full strength, whose tiles cover the screen
// wherever the camera and the words moving the layer are, over the ranges the player
// control and the stage flow give them.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "core/player_control_steps.h"
#include "core/resource_table.h"
#include "core/stage_flow.h"
#include "core/stage_layers.h"

namespace {

constexpr int kScreenWidth = 1024, kScreenHeight = 768;

const PictureFile& PictureOf(int stage, int picture) {
  static const PictureFile kNone{"none", PictureArt::kBackdrop, 0, 0};
  for (const TablePicture& entry : StageResources(stage).backgrounds) {
    if (entry.index == picture) return entry.picture;
  }
  ADD_FAILURE() << "stage " << stage << " loads no StageImages[" << picture << "]";
  return kNone;
}

// Whether tiles of `size` at `offsets` cover [0, most + screen) of the layer: all that
// the screen shows while the layer's shift goes from 0 to `most`.
// Truncating a tile's place moves it by less than a pixel towards the screen's origin:
// a tile reaching past the origin still does, tiles that meet still meet, and a tile
// starting inside the screen is at least as wide as the screen.
bool Covers(std::vector<int> offsets, int size, double most, int screen) {
  std::sort(offsets.begin(), offsets.end());
  double reached = 0.0;
  for (int offset : offsets) {
    if (offset <= reached) reached = std::max(reached, static_cast<double>(offset) + size);
  }
  return size >= screen && reached >= most + screen;
}

// The camera's corner as the player control clamps it, pushed far past `towards`.
std::pair<float, float> CameraCorner(float towards) {
  std::tie(CameraX, CameraY) = std::tuple(towards, towards);
  ClampCamera();
  return {CameraX, CameraY};
}

constexpr int kFirstHandle = 700;

// A new game in `stage`, its pictures stand-in handles and its objects not made.
void StartStage(int stage, int paused) {
  NewGameInit();
  std::tie(Scene, Paused, Stage) = std::tuple(kScenePlay, paused, stage);
  for (int entry = 0; entry < kStageImageCount; ++entry) StageImages[entry] = kFirstHandle + entry;
  SetForwarding(Call::CreateObject, false);
}

// The largest value the stage flow gives a scroll word, frame by frame from the stage's
// start until it turns back (its script's own step, where it adds one, is 0).
int MostScroll(int stage, StageWord word) {
  constexpr int kLongestTurn = 100000;
  StartStage(stage, 0);
  int most = word.Value();
  for (int frame = 0; frame < kLongestTurn; ++frame) {
    UpdateStage();
    if (word.Value() < most) return most;
    most = word.Value();
  }
  ADD_FAILURE() << "stage " << stage << "'s word " << word.row << ", " << word.word << " never turns back";
  return most;
}

TEST(StageGrounds, EachStagesGroundCoversEveryViewFromTheLayerTableAndThePictureSizes) {
  const auto [cameraX, cameraY] = CameraCorner(1e9f);
  for (int stage = 1; stage <= 8; ++stage) {
    const auto layers = StageLayers();
    const auto first =
        std::find_if(layers.begin(), layers.end(), [stage](const StageLayer& l) { return l.stage == stage; });
    ASSERT_TRUE(stage == 8 || first != layers.end()) << stage;
    const StageLayer& ground = stage == 8 ? Stage8Backdrop() : *first;
    EXPECT_EQ(ground.blend, 1) << stage;
    EXPECT_EQ(ground.alphaBase, 255) << stage;
    EXPECT_EQ(ground.alphaFactor, 0.0) << stage;
    const int scroll = ground.scroll.row < 0 ? 0 : MostScroll(stage, ground.scroll);
    const double mostX = (ground.divisor == 0.0f ? 0.0 : cameraX / ground.divisor) + scroll;
    const double mostY = ground.yDivisor == 0.0f ? 0.0 : cameraY / ground.yDivisor;
    for (int picture = ground.picture; picture < (stage == 8 ? kStage8BackdropPhases : ground.picture + 1); ++picture) {
      const PictureFile& file = PictureOf(stage, picture);
      EXPECT_TRUE(IsStageGround(stage, picture)) << file.name;
      EXPECT_TRUE(Covers({ground.offsets.begin(), ground.offsets.end()}, file.width, mostX, kScreenWidth))
          << file.name << " (" << file.width << " wide) across shifts 0 to " << mostX;
      EXPECT_TRUE(Covers({0}, file.height, mostY, kScreenHeight))
          << file.name << " (" << file.height << " high) down shifts 0 to " << mostY;
      for (const TablePicture& entry : StageResources(stage).backgrounds) {
        EXPECT_FALSE(entry.index == picture && entry.optional) << file.name << ": light mode leaves it out";
      }
    }
  }
  ResetCallRecorder();
}

// The stage flow itself, at the camera's corners and the words' ends and turns: the
// frame's first draws, all at its first blend, are one ground picture at full strength,
// tiles in a row that cover the screen.
TEST(StageGrounds, EveryStageDrawsAGroundFirstOverTheWholeScreen) {
  struct Sweep {
    int stage;
    StageWord word;
    std::vector<int> values;  // none: a scroll word, at 0, halfway and the most it gets
    StageWord second;
    std::vector<int> secondValues;
  };
  // Stage 5's progress, stage 6's (its far picture gone from 5100 on), stage 8's phase (0
  // before the first is set) and phase 4's fade-in timer (full from 459 on).
  const Sweep sweeps[] = {
      {1, kNearScroll, {}, {}, {0}},
      {2, kNearScroll, {}, {}, {0}},
      {3, kNearScroll, {}, {1, 1}, {}},
      {4, kNearScroll, {}, {1, 1}, {}},
      {5, {1, 1}, {}, {4, 1}, {0, 12200, 31000}},
      {6, {4, 3}, {0, 5100, 10200, 40000}, {1, 4}, {}},
      {7, {5, 1}, {}, {5, 4}, {}},
      {8, {2, 9}, {0, 1, 2, 3, 4}, {3, 9}, {0, 140, 458, 459, 5000}},
  };
  const auto valuesOf = [](int stage, StageWord word, const std::vector<int>& values) {
    if (!values.empty()) return values;
    const int most = MostScroll(stage, word);
    return std::vector<int>{0, most / 2, most};
  };
  const auto [leastX, leastY] = CameraCorner(-1e9f);
  const auto [mostX, mostY] = CameraCorner(1e9f);
  const float cameras[][2] = {{leastX, leastY}, {mostX, mostY}, {leastX, mostY}, {mostX, leastY},
                              {(leastX + mostX) / 2, (leastY + mostY) / 2}, {1234.7f, 1000.3f}};
  for (const Sweep& sweep : sweeps) {
    const std::vector<int> seconds = valuesOf(sweep.stage, sweep.second, sweep.secondValues);
    for (int value : valuesOf(sweep.stage, sweep.word, sweep.values)) {
      for (int second : seconds) {
        for (const auto& camera : cameras) {
          SCOPED_TRACE(testing::Message() << "stage " << sweep.stage << ", words " << value << " and " << second
                                          << ", camera " << camera[0] << ", " << camera[1]);
          StartStage(sweep.stage, 1);  // paused: the words stay
          StageEventState[sweep.word.row][sweep.word.word] = value;
          if (sweep.second.row >= 0) StageEventState[sweep.second.row][sweep.second.word] = second;
          std::tie(CameraX, CameraY) = std::tuple(camera[0], camera[1]);
          ResetCallRecorder();
          SetForwarding(Call::CreateObject, false);
          RecordDrawing(true);
          UpdateStage();
          RecordDrawing(false);
          std::vector<RecordedCall> first;  // the draws at the first blend
          const std::vector<RecordedCall>& log = CallLog();
          ASSERT_FALSE(log.empty());
          ASSERT_EQ(log[0].call, Call::SetBlendMode);
          EXPECT_EQ(log[0].Int(0), 1);
          EXPECT_GE(log[0].Int(1), 255);  // the library takes more as 255
          for (std::size_t i = 1; i < log.size() && log[i].call != Call::SetBlendMode; ++i) first.push_back(log[i]);
          ASSERT_FALSE(first.empty());
          const int picture = first[0].Int(2) - kFirstHandle;
          EXPECT_TRUE(IsStageGround(sweep.stage, picture)) << "first drawn: StageImages[" << picture << "]";
          std::vector<int> xs;
          for (const RecordedCall& draw : first) {
            EXPECT_EQ(draw.Int(2), first[0].Int(2));
            EXPECT_EQ(draw.Int(1), first[0].Int(1));
            xs.push_back(draw.Int(0));
          }
          const PictureFile& file = PictureOf(sweep.stage, picture);
          EXPECT_TRUE(Covers(xs, file.width, 0.0, kScreenWidth)) << file.name;
          EXPECT_TRUE(Covers({first[0].Int(1)}, file.height, 0.0, kScreenHeight)) << file.name;
        }
      }
    }
  }
  ResetCallRecorder();
}

}  // namespace
