// The ending's records, run in scene 0's update: caption timing, the caption
// sequence's last picture, the main figure's switch and the flying figure's timeline.
#include <gtest/gtest.h>

#include "behaviour_fixture.h"

namespace {

using EndingObjects = BehaviourTest;

TEST_F(EndingObjects, CaptionsTurnBelowTheirBoundAndTheSequenceEndsAt440Only) {
  GameObject& page = Put(60, kCategoryDecoration, 4164);
  page.fade = 260.0f;
  // 260 - 1.5 x 203 = -44.5, the first value below -44; the turning frame takes no
  // step back, and +1.7 a frame passes 260 on the 180th after it.
  for (int frame = 1; frame <= 203; ++frame) {
    Frames(1);
    ASSERT_EQ(page.phase, frame == 203 ? 1.0f : 0.0f) << frame;
  }
  EXPECT_EQ(page.fade, -44.5f);
  EXPECT_EQ(FramesUntilFreed(page), 180);

  // The sequence likewise: its first picture turns on frame 148 (260 - 2.2 x 148 =
  // -65.6) and gives way 149 frames later (262.2); each of the other 22 takes 149 + 149
  // frames from 262.2, and the record is freed as the last gives way (animation 440).
  GameObject& sequence = Put(61, kCategoryDecoration, 4165);
  sequence.animation = 417;
  sequence.fade = 260.0f;
  EXPECT_EQ(FramesUntilFreed(sequence, 8000), 148 + 149 + 22 * (149 + 149));
  Put(62, kCategoryDecoration, 4165).animation = 440;
  EXPECT_EQ(FramesUntilFreed(ObjectPool[62], 3000), 0);
}

TEST_F(EndingObjects, MainFigureSwitches457To458AtStep6AndTheFlyingFigureLetsGoAt1400) {
  GameObject& figure = Put(12, kCategoryDecoration, 4163, 600.0f, 300.0f);
  figure.animation = 457;
  figure.animStep = 5;
  Frames(1);
  EXPECT_EQ(std::pair(figure.animation, figure.x), std::pair(457, 599.9f));
  figure.animStep = 6;
  Frames(1);
  EXPECT_EQ(std::pair(figure.animation, figure.animStep), std::pair(458, 0));

  GameObject& flying = Put(10, kCategoryDecoration, 4157, 300.0f, 300.0f);
  flying.vx = 0.2f;
  flying.phase = 0.25f;
  for (int frame = 1; frame <= 1400; ++frame) {
    Frames(1);
    if (frame == 600) {
      EXPECT_EQ(flying.animation, 411);
    }
    if (frame == 900) {
      EXPECT_EQ(flying.animation, 409);
    }
    if (frame == 901) flying.animStep = 4;  // as the drawing pass would step it
    if (frame == 902) {
      EXPECT_EQ(flying.animation, 410);
    }
  }
  const std::vector<RecordedCall> made = CallsOf(Call::CreateObject);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(std::tuple(flying.animation, made[0].Int(0), made[0].Int(1)),
            std::tuple(407, 2238, static_cast<int>(flying.x)));
}

}  // namespace
