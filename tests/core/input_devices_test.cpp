// Keyboard and pads through the input entry points, on injected keys and virtual pads:
// every pad bit, the keyboard merge, rumble and its duration, and the fall-backs.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "../support/wait_until.h"
#include "core/input_state.h"
#include "library_fixture.h"

namespace {

constexpr int kMerge = 0x1000;

class InputTest : public LibraryTest {
 protected:
  // Attaches pads (before the start, so that the input system finds them) and starts.
  void Start(int rawPads = 0) {
    for (int i = 0; i < rawPads; ++i) ASSERT_EQ(TestAttachVirtualPad(4, 32, 0), i);
    ASSERT_EQ(InitLibrary(), 0);
    started_ = true;
  }
  void TearDown() override {
    if (started_) {
      EXPECT_EQ(EndLibrary(), 0);
    }
    TestDetachVirtualPads();
    TestFailDirectInput(0, 0);
    TestFailKeyboardNotification(0);
    LibraryTest::TearDown();
  }

  static int Rumble(int pad, bool high) {
    int low = 0;
    int highMotor = 0;
    TestGetVirtualPadRumble(pad, &low, &highMotor);
    return high ? highMotor : low;
  }

  bool started_ = false;
};

struct KeyBit {
  SDL_Scancode scancode;
  int bit;
};

const KeyBit kKeyboardBits[] = {
    {SDL_SCANCODE_KP_2, 0x1}, {SDL_SCANCODE_DOWN, 0x1},  {SDL_SCANCODE_KP_4, 0x2},   {SDL_SCANCODE_LEFT, 0x2},
    {SDL_SCANCODE_KP_6, 0x4}, {SDL_SCANCODE_RIGHT, 0x4}, {SDL_SCANCODE_KP_8, 0x8},   {SDL_SCANCODE_UP, 0x8},
    {SDL_SCANCODE_Z, 0x10},   {SDL_SCANCODE_X, 0x20},    {SDL_SCANCODE_C, 0x40},     {SDL_SCANCODE_A, 0x80},
    {SDL_SCANCODE_S, 0x100},  {SDL_SCANCODE_D, 0x200},   {SDL_SCANCODE_Q, 0x400},    {SDL_SCANCODE_W, 0x800},
    {SDL_SCANCODE_ESCAPE, 0x1000}, {SDL_SCANCODE_SPACE, 0x2000},
};

TEST_F(InputTest, EveryKeyboardBitAndNoneWithoutTheMerge) {
  Start();
  EXPECT_EQ(ReadPadBits(kMerge), 0);
  for (const KeyBit& key : kKeyboardBits) {
    TestSetKey(key.scancode, 1);
    EXPECT_EQ(ReadPadBits(kMerge), key.bit) << SDL_GetScancodeName(key.scancode);
    EXPECT_EQ(ReadPadBits(kMerge | 1), key.bit) << "no pad: the keyboard alone";
    EXPECT_EQ(ReadPadBits(1), 0);
    TestSetKey(key.scancode, 0);
  }
  TestSetKey(SDL_SCANCODE_E, 1);
  EXPECT_EQ(ReadPadBits(kMerge), 0);
  TestSetKey(SDL_SCANCODE_E, 0);
}

TEST_F(InputTest, KeysByDirectInputNumber) {
  Start();
  TestSetKey(SDL_SCANCODE_BACKSPACE, 1);
  EXPECT_EQ(IsKeyDown(14), 1);
  EXPECT_EQ(IsKeyDown(1), 0);
  TestSetKey(SDL_SCANCODE_BACKSPACE, 0);
  TestSetKey(SDL_SCANCODE_ESCAPE, 1);
  EXPECT_EQ(IsKeyDown(14), 0);
  EXPECT_EQ(IsKeyDown(1), 1);
  EXPECT_EQ(IsKeyDown(-1), 0);
  EXPECT_EQ(IsKeyDown(256), 0);
  EXPECT_EQ(IsKeyDown(300), 0);
  TestSetKey(SDL_SCANCODE_ESCAPE, 0);
}

TEST_F(InputTest, EveryPadBitFromButtonsAndAxes) {
  Start(1);
  EXPECT_EQ(ReadPadBits(1), 0);
  for (int button = 0; button < 32; ++button) {
    TestSetVirtualPadButton(0, button, 1);
    EXPECT_EQ(ReadPadBits(1), button < 24 ? 1 << (4 + button) : 0) << "button " << button;
    TestSetVirtualPadButton(0, button, 0);
  }
  struct AxisCase {
    int axis;
    int value;
    int bits;
  };
  const AxisCase cases[] = {
      {0, -32768, 0x2}, {0, 32767, 0x4}, {1, -32768, 0x8}, {1, 32767, 0x1},
      {0, 8000, 0},     {1, -8000, 0},   {0, -8300, 0x2},  {2, 32767, 0}, {3, -32768, 0},
  };
  for (const AxisCase& c : cases) {
    TestSetVirtualPadAxis(0, c.axis, c.value);
    EXPECT_EQ(ReadPadBits(1), c.bits) << "axis " << c.axis << " at " << c.value;
    TestSetVirtualPadAxis(0, c.axis, 0);
  }
}

TEST_F(InputTest, TheKeyboardMergesWithAPad) {
  Start(1);
  TestSetKey(SDL_SCANCODE_LEFT, 1);
  TestSetVirtualPadAxis(0, 0, 32767);
  TestSetVirtualPadButton(0, 1, 1);
  EXPECT_EQ(ReadPadBits(1), 0x4 | 0x20);
  EXPECT_EQ(ReadPadBits(kMerge | 1), 0x2 | 0x4 | 0x20);
  // A pad number beyond the pads present: nothing, or the keyboard alone.
  EXPECT_EQ(ReadPadBits(2), 0);
  EXPECT_EQ(ReadPadBits(kMerge | 2), 0x2);
  TestSetKey(SDL_SCANCODE_LEFT, 0);
}

TEST_F(InputTest, RumbleRunsAtItsPowerForItsDuration) {
  Start(1);
  TestClockSetStep(0);
  TestClockSet(5000000);
  EXPECT_EQ(StartPadRumble(1, 500, 600), 0);
  EXPECT_EQ(Rumble(0, false), 32767);
  EXPECT_EQ(Rumble(0, true), 0) << "the sine runs only above half power";
  TestClockSet(5599000);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(Rumble(0, false), 32767);
  TestClockSet(5600000);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(Rumble(0, false), 0);

  EXPECT_EQ(StartPadRumble(kMerge | 1, 1000, -1), 0);
  EXPECT_EQ(Rumble(0, false), 65535);
  EXPECT_EQ(Rumble(0, true), 65535);
  TestClockSet(99000000);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(Rumble(0, true), 65535) << "a negative duration rumbles until stopped";
  EXPECT_EQ(StopPadRumble(1), 0);
  EXPECT_EQ(Rumble(0, false), 0);
  EXPECT_EQ(Rumble(0, true), 0);
  // Pads that are not there are ignored.
  EXPECT_EQ(StartPadRumble(2, 1000, 100), 0);
  EXPECT_EQ(StopPadRumble(0), 0);
}

TEST_F(InputTest, TheSamePowerAgainOnlyRestartsTheTimer) {
  Start(1);
  TestClockSetStep(0);
  TestClockSet(10000000);
  StartPadRumble(1, 800, 600);
  TestClockSet(10500000);
  StartPadRumble(1, 800, 600);
  TestClockSet(11000000);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(Rumble(0, false), 8000 * 65535 / 10000);
  TestClockSet(11100000);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(Rumble(0, false), 0);
}

TEST_F(InputTest, ThePumpThreadStopsATimedRumbleWhileTheGameIsBusy) {
  Start(1);
  TestClockStop();
  StartPadRumble(1, 1000, 50);
  EXPECT_EQ(Rumble(0, false), 65535);
  // No ProcessMessage from here: only the pump thread serves the timer.
  EXPECT_TRUE(WaitUntil([] { return Rumble(0, false) == 0; }));
}

TEST_F(InputTest, DeactivationStopsTheEffectsAndActivationRestartsThem) {
  Start(1);
  SetRunWhileInactive(1);
  StartPadRumble(1, 1000, -1);
  TestSetWindowFocus(0);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(Rumble(0, false), 0);
  EXPECT_EQ(Rumble(0, true), 0);
  TestSetWindowFocus(1);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(Rumble(0, false), 65535);
  EXPECT_EQ(Rumble(0, true), 65535);
}

TEST_F(InputTest, TheFirstCallBeforeTheStartStartsInputAndReportsNothing) {
  TestFailKeyboardNotification(1);
  TestSetKey(SDL_SCANCODE_ESCAPE, 1);
  EXPECT_EQ(IsKeyDown(1), 0) << "a lazy start never reads as Escape held";
  EXPECT_EQ(IsKeyDown(1), 1);
  EXPECT_EQ(EndLibrary(), 0);
  TestSetKey(SDL_SCANCODE_ESCAPE, 0);
}

TEST_F(InputTest, DirectInput8WhenVersion7IsMissing) {
  TestFailDirectInput(1, 0);
  Start(1);
  EXPECT_TRUE(LogContains("DirectInput8 の取得を試みます...成功\r\n"));
  TestSetVirtualPadButton(0, 2, 1);
  EXPECT_EQ(ReadPadBits(1), 0x40);
}

TEST_F(InputTest, JoystickFallBackWithoutDirectInput) {
  TestFailDirectInput(1, 1);
  Start(1);
  EXPECT_TRUE(LogContains("DirectInput を使用しません。\r\n"));
  EXPECT_TRUE(LogContains("パッドの数は 1 個です\r\n"));
  TestSetVirtualPadAxis(0, 0, 20000 - 32768);
  TestSetVirtualPadButton(0, 23, 1);
  EXPECT_EQ(ReadPadBits(1), 0x2 | (1 << 27));
  TestSetVirtualPadAxis(0, 0, 30000 - 32768);
  EXPECT_EQ(ReadPadBits(1), 1 << 27) << "the centre band reads as no direction";
  // Rumble needs DirectInput.
  EXPECT_EQ(StartPadRumble(1, 1000, -1), 0);
  EXPECT_EQ(Rumble(0, false), 0);
  // Without DirectInput the keyboard comes from the Win32 key state, both runs.
  TestSetKey(SDL_SCANCODE_RSHIFT, 1);
  EXPECT_EQ(IsKeyDown(0x36), 1);
  TestSetKey(SDL_SCANCODE_RSHIFT, 0);
  TestSetKey(SDL_SCANCODE_SPACE, 1);
  EXPECT_EQ(ReadPadBits(kMerge), 0x2000);
  TestSetKey(SDL_SCANCODE_SPACE, 0);
}

TEST(JoystickAxisTest, CentreBandAndScale) {
  EXPECT_EQ(MapJoystickAxis(0), -1000);
  EXPECT_EQ(MapJoystickAxis(20000), -186);
  EXPECT_EQ(MapJoystickAxis(24576), 0);
  EXPECT_EQ(MapJoystickAxis(30000), 0);
  EXPECT_EQ(MapJoystickAxis(32767), 0);
  EXPECT_EQ(MapJoystickAxis(40960), 0);
  EXPECT_EQ(MapJoystickAxis(50000), 367);
  EXPECT_EQ(MapJoystickAxis(65535), 999);
}

}  // namespace
