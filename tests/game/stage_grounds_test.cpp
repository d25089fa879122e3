// Every view of every stage has a ground behind it: the first layer a stage draws is
// a picture loaded in every mode, drawn at full strength, whose tiles cover the screen
// wherever the camera (x 0 to 5376, y 0 to 1152) and the words moving the layer are.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/new_game.h"
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

// The largest value of the scroll word moving each scrolled ground, as the stages step
// it: stage 3's near scroll by 4 up to 1200, stage 4's by 3 up to 1024, stage 7's far
// scroll by its script's step up to 2048 (each back to 0 above it).
constexpr int kMostScroll[9] = {0, 0, 0, 1200, 1024, 0, 0, 2048, 0};

TEST(StageGrounds, EachStagesGroundCoversEveryViewFromTheLayerTableAndThePictureSizes) {
  for (int stage = 1; stage <= 8; ++stage) {
    const auto layers = StageLayers();
    const auto first =
        std::find_if(layers.begin(), layers.end(), [stage](const StageLayer& l) { return l.stage == stage; });
    ASSERT_TRUE(stage == 8 || first != layers.end()) << stage;
    const StageLayer& ground = stage == 8 ? Stage8Backdrop() : *first;
    EXPECT_EQ(ground.blend, 1) << stage;
    EXPECT_EQ(ground.alphaBase, 255) << stage;
    EXPECT_EQ(ground.alphaFactor, 0.0) << stage;
    EXPECT_EQ(ground.scroll.row < 0, kMostScroll[stage] == 0) << stage;
    const double mostX = (ground.divisor == 0.0f ? 0.0 : 5376.0 / ground.divisor) + kMostScroll[stage];
    const double mostY = ground.yDivisor == 0.0f ? 0.0 : 1152.0 / ground.yDivisor;
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
}

// The stage flow itself, at the camera's corners and the words' ends and turns: the
// frame's first draws, all at its first blend, are one ground picture at full strength,
// tiles in a row that cover the screen.
TEST(StageGrounds, EveryStageDrawsAGroundFirstOverTheWholeScreen) {
  struct Words {
    int stage;
    StageWord word, second;
    std::vector<int> values, secondValues;
  };
  // Stage 6's progress (its far picture gone from 5100 on), stage 7's far scroll, stage
  // 8's phase (0 before the first is set) and phase 4's fade-in timer (full from 459 on).
  const Words sweeps[] = {
      {1, kNearScroll, {}, {0, 2000}, {0}},
      {2, kNearScroll, {}, {0, 2000}, {0}},
      {3, kNearScroll, {1, 1}, {0, 1200}, {0, 2500}},
      {4, kNearScroll, {1, 1}, {0, 1023}, {0, 2000}},
      {5, {1, 1}, {4, 1}, {0, 1025}, {0, 12200, 31000}},
      {6, {4, 3}, {1, 4}, {0, 5100, 10200, 40000}, {0, 1001}},
      {7, {5, 1}, {5, 4}, {0, 1024, 2048}, {0, 2001}},
      {8, {2, 9}, {3, 9}, {0, 1, 2, 3, 4}, {0, 140, 458, 459, 5000}},
  };
  const float cameras[][2] = {{0.0f, 0.0f}, {0.01f, 0.01f}, {5375.99f, 1151.9f}, {5376.0f, 1152.0f},
                              {0.0f, 1152.0f}, {5376.0f, 0.0f}, {2687.5f, 575.5f}, {1234.7f, 1000.3f}};
  constexpr int kFirstHandle = 700;
  for (const Words& sweep : sweeps) {
    for (int value : sweep.values) {
      for (int second : sweep.secondValues) {
        for (const auto& camera : cameras) {
          SCOPED_TRACE(testing::Message() << "stage " << sweep.stage << ", words " << value << " and " << second
                                          << ", camera " << camera[0] << ", " << camera[1]);
          NewGameInit();
          std::tie(Scene, Paused, Stage) = std::tuple(kScenePlay, 1, sweep.stage);  // paused: the words stay
          for (int entry = 0; entry < kStageImageCount; ++entry) StageImages[entry] = kFirstHandle + entry;
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
