#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "core/animation.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/resource_table.h"

namespace {

// ---- Which rows are drawn from which image sets, as the object code uses them ----

struct RowUse {
  int first, last;  // rows
  int imageSet;
  std::initializer_list<int> stages;  // where the set is loaded for these rows; empty = everywhere
};

const RowUse kRowUses[] = {
    // Common sheets.
    {0, 0, 0, {}}, {9, 12, 0, {}}, {14, 16, 0, {}}, {34, 34, 0, {}}, {51, 68, 0, {}}, {104, 104, 0, {}},
    {109, 109, 0, {}}, {116, 119, 0, {}}, {121, 122, 0, {}}, {135, 139, 0, {}}, {160, 167, 0, {}},
    {175, 175, 0, {}}, {180, 181, 0, {}}, {322, 322, 0, {}}, {328, 329, 0, {}}, {395, 395, 0, {}},
    {1, 1, 1, {}}, {7, 8, 1, {}}, {35, 50, 1, {}}, {81, 91, 1, {}}, {100, 107, 1, {}}, {123, 123, 1, {}},
    {125, 125, 1, {}}, {134, 134, 1, {}}, {140, 142, 1, {}}, {206, 206, 1, {}}, {260, 261, 1, {}},
    {324, 325, 1, {}}, {405, 405, 1, {}},
    {69, 80, 2, {}}, {124, 124, 2, {}}, {126, 126, 2, {}}, {128, 130, 2, {}}, {144, 144, 2, {}},
    {146, 158, 2, {}}, {172, 174, 2, {}}, {209, 210, 2, {}}, {224, 227, 2, {}}, {463, 463, 2, {}},
    {2, 6, 3, {}}, {13, 13, 3, {}}, {131, 133, 3, {}}, {145, 145, 3, {}}, {159, 159, 3, {}},
    {183, 192, 3, {}}, {222, 223, 3, {}}, {228, 231, 3, {}}, {237, 237, 3, {}}, {254, 254, 3, {}},
    {290, 290, 3, {}}, {326, 326, 3, {}}, {338, 338, 3, {}},
    {17, 33, 4, {}}, {205, 205, 4, {}}, {407, 412, 4, {}},
    {168, 169, 6, {}}, {171, 171, 6, {}}, {176, 176, 6, {}}, {232, 233, 6, {}}, {262, 266, 6, {}},
    {285, 287, 6, {}}, {294, 296, 6, {}}, {310, 311, 6, {}}, {319, 319, 6, {}}, {327, 327, 6, {}},
    {330, 332, 6, {}}, {337, 337, 6, {}}, {339, 339, 6, {}}, {356, 356, 6, {}}, {360, 360, 6, {}},
    {373, 373, 6, {}},
    {193, 201, 7, {}}, {203, 204, 7, {}}, {213, 221, 7, {}}, {266, 272, 7, {}}, {279, 279, 7, {}},
    // The wing light and shadow copy the player's rows (the hit turn's second cell is
    // beyond their sheets: the wings draw nothing for it).
    {17, 25, 12, {}}, {27, 33, 12, {}}, {17, 25, 14, {}}, {27, 33, 14, {}},
    {1, 1, 13, {}}, {207, 208, 13, {}}, {211, 212, 13, {}}, {282, 282, 13, {}}, {320, 320, 13, {}},
    {366, 367, 13, {}}, {371, 371, 13, {}},
    {234, 235, 15, {}}, {238, 240, 15, {}}, {243, 243, 15, {}}, {248, 250, 15, {}}, {273, 273, 15, {}},
    {275, 278, 15, {}}, {312, 314, 15, {}}, {361, 361, 15, {}}, {370, 370, 15, {}}, {464, 464, 15, {}},
    {242, 242, 16, {}}, {244, 244, 16, {}}, {274, 274, 16, {}}, {364, 364, 16, {}}, {368, 368, 16, {}},
    {398, 398, 16, {}},
    {0, 0, 40, {}}, {34, 34, 40, {}}, {288, 289, 40, {}}, {291, 292, 40, {}}, {321, 321, 40, {}},
    {333, 333, 40, {}}, {340, 349, 40, {}}, {351, 355, 40, {}}, {357, 359, 40, {}}, {375, 383, 40, {}},
    {386, 386, 40, {}}, {401, 401, 40, {}}, {403, 404, 40, {}}, {462, 462, 40, {}},
    {2, 4, 42, {}}, {350, 350, 42, {}}, {387, 387, 42, {}}, {400, 400, 42, {}}, {461, 461, 42, {}},
    // Stage and boss sheets.
    {245, 246, 17, {}}, {334, 334, 17, {}}, {362, 362, 17, {}}, {365, 365, 17, {}}, {372, 372, 17, {}},
    {385, 385, 17, {}},
    {251, 253, 18, {3, 7, 8}}, {335, 335, 18, {}},
    {280, 281, 19, {5}}, {336, 336, 19, {}}, {388, 388, 19, {8}},
    {177, 179, 20, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, {177, 179, 21, {7, 8}},
    {255, 259, 21, {3}}, {297, 305, 21, {4, 5}}, {388, 388, 21, {8}},
    {307, 309, 22, {4, 5}}, {363, 363, 22, {7}}, {388, 388, 22, {8}},
    {307, 309, 23, {4, 5}}, {388, 388, 23, {8}},
    {297, 297, 24, {5}}, {388, 388, 24, {8}},
    {297, 297, 25, {5}}, {297, 297, 26, {5}}, {388, 388, 25, {8}}, {388, 388, 26, {8}},
    {388, 388, 27, {8}}, {388, 388, 50, {8}}, {388, 388, 51, {8}}, {388, 388, 54, {8}},
    {388, 388, 57, {8}}, {245, 245, 55, {8}},
    {388, 388, 56, {8}}, {390, 392, 56, {8}}, {301, 302, 56, {8}},
    // The ending.
    {413, 414, 21, {9}}, {451, 458, 21, {9}}, {415, 434, 22, {9}}, {415, 434, 23, {9}},
    {417, 440, 24, {9}},
};

// Cells of an image set in a stage: -1 when the stage does not load it.
int CellsOf(int imageSet, int stage) {
  for (const SpriteSheet& sheet : kCommonSheets) {
    if (sheet.imageSet == imageSet) return sheet.picture.count;
  }
  int cells = -1;
  for (const SpriteSheet& sheet : StageResources(stage).sheets) {
    if (sheet.imageSet == imageSet) cells = cells < 0 ? sheet.picture.count : std::min(cells, sheet.picture.count);
  }
  return cells;
}

bool HasData(int row) {
  for (const AnimationPair& pair : AnimationTable[row]) {
    if (pair.frame != 0 || pair.duration != 0) return true;
  }
  return false;
}

int MarkerStep(int row) {
  for (int step = 0; step < kPairsPerRow; ++step) {
    if (AnimationTable[row][step].frame == kEndFrame) return step;
  }
  return -1;
}

TEST(AnimationTable, EveryUsedRowEndsWithAMarker) {
  for (int row = 0; row < kAnimationRows; ++row) {
    if (!HasData(row)) continue;
    const int marker = MarkerStep(row);
    ASSERT_GE(marker, 1) << "row " << row;
    const int ending = AnimationTable[row][marker].duration;
    EXPECT_TRUE(ending == kEndLoops || ending == kEndFrees) << "row " << row;
  }
  for (const RowUse& use : kRowUses) {
    for (int row = use.first; row <= use.last; ++row) EXPECT_TRUE(HasData(row)) << "row " << row;
  }
}

TEST(AnimationTable, NoRowReadsPastItsSheet) {
  for (const RowUse& use : kRowUses) {
    const std::vector<int> stages =
        use.stages.size() ? std::vector<int>(use.stages) : std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int stage : stages) {
      const int cells = CellsOf(use.imageSet, stage);
      if (use.stages.size()) {
        ASSERT_GT(cells, 0) << "set " << use.imageSet << " is not loaded in stage " << stage;
      }
      if (cells < 0) continue;
      for (int row = use.first; row <= use.last; ++row) {
        for (int step = 0; step < MarkerStep(row); ++step) {
          EXPECT_LT(AnimationTable[row][step].frame, cells)
              << "row " << row << " step " << step << " in set " << use.imageSet << ", stage " << stage;
        }
      }
    }
  }
}

void ExpectRow(int row, std::initializer_list<AnimationPair> pairs) {
  int step = 0;
  for (const AnimationPair& pair : pairs) {
    EXPECT_EQ(AnimationTable[row][step].frame, pair.frame) << "row " << row << " step " << step;
    EXPECT_EQ(AnimationTable[row][step].duration, pair.duration) << "row " << row << " step " << step;
    ++step;
  }
}

TEST(AnimationTable, TheRowsTheGameGivesAreAsGiven) {
  ExpectRow(17, {{3, 2}, {4, 2}, {5, 2}, {6, 2}, {2, 1}, {0, 2}, {1, 2}, {2, 2}, {99, 0}});
  ExpectRow(26, {{30, 2}, {98, 2}, {99, 0}});
  ExpectRow(117, {{70, 6}, {71, 6}, {72, 5}, {73, 5}, {74, 4}, {75, 4}, {76, 3}, {77, 3}, {99, 1}});
  ExpectRow(395, {{70, 2}, {71, 1}, {70, 1}, {40, 1}, {52, 999}, {99, 1}});
  ExpectRow(0, {{0, 0}, {99, 0}});
}

TEST(AnimationTable, TheEndingsRowsAreLongEnoughForTheStepsItWaitsFor) {
  EXPECT_GT(MarkerStep(457), 6);  // a figure waits for step 6
  EXPECT_GT(MarkerStep(409), 4);  // the dragon waits for step 4
  for (int row = 415; row <= 440; ++row) EXPECT_TRUE(HasData(row)) << row;  // the caption pages
}

// Steps a fresh object on `row` until it is freed: the frames it was drawn, or -1
// when it was still alive after `limit` frames.
int Lifetime(int row, int limit = 5000) {
  ResetObject(200);
  ObjectPool[200].state = kStateActive;
  ObjectPool[200].animation = row;
  for (int frame = 1; frame <= limit; ++frame) {
    StepAnimation(200);
    if (ObjectPool[200].state == kStateFree) return frame;
  }
  return -1;
}

TEST(AnimationTable, RowsThatEndTheirObjectsLastAsLongAsTheGameNeeds) {
  const struct {
    int first, last, frames;
  } lifetimes[] = {
      {117, 117, 44},  {395, 395, 1009}, {149, 158, 2}, {173, 173, 4},  {320, 320, 4},
      {175, 175, 9},   {310, 311, 11},   {338, 338, 11}, {330, 330, 201}, {172, 172, 300},
      {174, 174, 300},
  };
  for (const auto& expected : lifetimes) {
    for (int row = expected.first; row <= expected.last; ++row) EXPECT_EQ(Lifetime(row), expected.frames) << "row " << row;
  }
}

TEST(AnimationTable, EffectsWithoutAnEndOfTheirOwnAreFreedByTheirRows) {
  // Debris, sparks, flashes, bursts, appearance swirls and pick-up flashes.
  for (int row : {1, 2, 3, 4, 5, 12, 16, 34, 35, 36, 50, 51, 68, 69, 76, 130, 131, 132, 206, 207, 212, 222,
                  233, 322, 329, 340, 349, 371}) {
    EXPECT_GT(Lifetime(row), 0) << "row " << row;
  }
  // Enemies, bullets, shots, options and the player loop.
  for (int row : {0, 6, 14, 17, 26, 109, 118, 234, 321, 328, 359, 366, 398}) {
    EXPECT_EQ(Lifetime(row, 2000), -1) << "row " << row;
  }
}

TEST(AnimationTable, APairShowsForItsDurationPlusOneFrames) {
  ResetObject(300);
  ObjectPool[300].state = kStateActive;
  ObjectPool[300].animation = 117;  // (70, 6): seven frames
  for (int frame = 1; frame <= 6; ++frame) {
    StepAnimation(300);
    EXPECT_EQ(ObjectPool[300].animStep, 0) << frame;
  }
  StepAnimation(300);
  EXPECT_EQ(ObjectPool[300].animStep, 1);
  EXPECT_EQ(ObjectPool[300].animTimer, 0);
}

TEST(AnimationTable, ALoopingRowStartsAgainAtItsFirstPair) {
  ResetObject(300);
  ObjectPool[300].state = kStateActive;
  ObjectPool[300].animation = 26;  // two pairs of three frames
  for (int frame = 0; frame < 6; ++frame) StepAnimation(300);
  EXPECT_EQ(ObjectPool[300].animStep, 0);
  EXPECT_EQ(CurrentAnimationPair(ObjectPool[300]).frame, 30);
}

TEST(AnimationTable, StrayRowsAndStepsNeverReadPastTheTable) {
  ResetObject(300);
  ObjectPool[300].state = kStateActive;
  ObjectPool[300].animation = 9999;  // counts as row 0
  EXPECT_EQ(CurrentAnimationPair(ObjectPool[300]).frame, 0);
  StepAnimation(300);
  EXPECT_EQ(ObjectPool[300].state, kStateActive);
  ObjectPool[300].animation = 17;
  ObjectPool[300].animStep = 40;  // left over from another row
  EXPECT_EQ(CurrentAnimationPair(ObjectPool[300]).frame, 3);
  StepAnimation(300);
  EXPECT_EQ(ObjectPool[300].animStep, 0);
  ObjectPool[300].animation = 450;  // a row without data
  ObjectPool[300].animStep = 29;
  ObjectPool[300].animTimer = 5;
  StepAnimation(300);
  EXPECT_EQ(ObjectPool[300].animStep, 0);
}

}  // namespace
