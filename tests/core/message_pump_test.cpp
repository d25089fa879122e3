// The main window and its message pump in a running library: closing, inactive
// parking, the character ring, the caption and the window's geometry messages.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/character_input.h"
#include "core/library_lock.h"
#include "core/main_window.h"
#include "core/system_info_log.h"
#include "library_fixture.h"
#include "window/window.h"

namespace {

class MessagePumpTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    ASSERT_EQ(InitLibrary(), 0);
  }
  void TearDown() override {
    EXPECT_EQ(EndLibrary(), 0);
    LibraryTest::TearDown();
  }

  // Runs the window procedure of the main window under the library lock, as the pump
  // would.
  static LRESULT SendToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    AcquireLibraryLock();
    const LRESULT result = MainWindowProc(GetMainWindow(), message, wParam, lParam);
    ReleaseLibraryLock();
    return result;
  }
};

TEST_F(MessagePumpTest, ClosingTheWindowMakesEveryLaterPumpReturnMinusOne) {
  EXPECT_EQ(ProcessMessage(), 0);
  TestRequestWindowClose();
  EXPECT_EQ(ProcessMessage(), -1);
  EXPECT_EQ(ProcessMessage(), -1);
  EXPECT_EQ(ProcessMessage(), -1);
  EXPECT_TRUE(LogContains("ウインドウを閉じようとしています\r\n"));
  EXPECT_TRUE(LogContains("ソフトを終了する準備が整いました\r\n"));
}

TEST_F(MessagePumpTest, AnInactiveWindowParksTheGameUntilItIsActiveAgain) {
  std::atomic<bool> reactivated{false};
  TestSetWindowFocus(0);
  std::thread waker([&reactivated] {
    const timespec pause = {0, 50000000};
    nanosleep(&pause, nullptr);
    reactivated = true;
    TestSetWindowFocus(1);
  });
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_TRUE(reactivated.load()) << "the pump returned while the window was inactive";
  waker.join();
  EXPECT_EQ(ProcessMessage(), 0);
}

TEST_F(MessagePumpTest, RunWhileInactiveKeepsTheGameGoing) {
  SetRunWhileInactive(1);
  TestSetWindowFocus(0);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(ProcessMessage(), 0);
  AcquireLibraryLock();
  EXPECT_EQ(IsAppActive(), 0);
  ReleaseLibraryLock();
}

TEST_F(MessagePumpTest, AClosedWindowEndsTheInactiveWait) {
  TestSetWindowFocus(0);
  std::thread closer([] {
    const timespec pause = {0, 20000000};
    nanosleep(&pause, nullptr);
    TestRequestWindowClose();
  });
  EXPECT_EQ(ProcessMessage(), -1);
  closer.join();
}

TEST_F(MessagePumpTest, KeysAndTextFillTheCharacterRing) {
  while (TakeInputChar() != -1) {
  }
  for (int scancode : {SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_DELETE}) {
    TestSetKey(scancode, 1);
    TestSetKey(scancode, 0);
  }
  TestTypeText(reinterpret_cast<const char*>(u8"Aあ"));
  TestSetKey(SDL_SCANCODE_RETURN, 1);
  TestSetKey(SDL_SCANCODE_RETURN, 0);
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_EQ(ProcessMessage(), 0);
  AcquireLibraryLock();
  const int expected[] = {0x1D, 0x1C, 0x1E, 0x1F, 0x10, 'A', 0x82, 0xA0, 0x0D};
  for (int c : expected) EXPECT_EQ(TakeInputChar(), c);
  EXPECT_EQ(TakeInputChar(), -1);
  ReleaseLibraryLock();
}

TEST(CharacterRingTest, HoldsAtMost1024Bytes) {
  while (TakeInputChar() != -1) {
  }
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(PushInputChar(static_cast<unsigned char>(i)), 0);
  EXPECT_TRUE(IsInputCharRingFull());
  EXPECT_EQ(PushInputChar(0xFF), -1);
  // Reading frees slots; the indices wrap past the last slot.
  for (int i = 0; i < 10; ++i) EXPECT_EQ(TakeInputChar(), i);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(PushInputChar(0xEE), 0);
  EXPECT_EQ(PushInputChar(0xEE), -1);
  for (int i = 10; i < 1024; ++i) EXPECT_EQ(TakeInputChar(), i & 0xFF);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(TakeInputChar(), 0xEE);
  EXPECT_EQ(TakeInputChar(), -1);
}

TEST_F(MessagePumpTest, TheCaptionIsShownAsUtf8) {
  EXPECT_STREQ(SDL_GetWindowTitle(GetMainWindow()->sdlWindow), "Murto");
  EXPECT_EQ(SetWindowTitle("Vantorel - FPS:0 ゲーム"), 0);
  EXPECT_STREQ(SDL_GetWindowTitle(GetMainWindow()->sdlWindow),
               reinterpret_cast<const char*>(u8"Vantorel - FPS:0 ゲーム"));
}

TEST_F(MessagePumpTest, DraggingAnEdgeKeepsTheScreenModesAspectRatio) {
  RECT rect{100, 100, 100 + 1280, 100 + 700};
  SendToMainWindow(WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&rect));
  EXPECT_EQ(rect.bottom - rect.top, 960);
  AcquireLibraryLock();
  EXPECT_DOUBLE_EQ(GetWindowScale(), 1.25);
  ReleaseLibraryLock();
  rect = RECT{0, 0, 100, 384};
  SendToMainWindow(WM_SIZING, WMSZ_BOTTOM, reinterpret_cast<LPARAM>(&rect));
  EXPECT_EQ(rect.right, 512);
}

TEST_F(MessagePumpTest, ADisplayChangeToTwentyFourBitsClosesTheWindow) {
  SendToMainWindow(WM_DISPLAYCHANGE, 24, MAKELPARAM(1280, 1024));
  EXPECT_EQ(ProcessMessage(), -1);
  EXPECT_TRUE(LogContains("復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します\r\n"));
  EXPECT_TRUE(LogContains("またはスクリーンが小さすぎるためか色ビット数の違いが大きいためか終了します\r\n"));
}

TEST_F(MessagePumpTest, ALargerDisplayOfTheSameDepthIsFollowed) {
  SendToMainWindow(WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
  EXPECT_EQ(ProcessMessage(), 0);
  EXPECT_FALSE(LogContains("終了します"));
}

TEST_F(MessagePumpTest, SwitchingToFullScreenAfterTheStartAppliesTheStyle) {
  EXPECT_EQ(ChangeWindowMode(0), 0);
  EXPECT_TRUE(LogContains("ウインドウスタイルをフルスクリーンモード用に変更します... 完了\r\n"));
  EXPECT_EQ(ProcessMessage(), 0);
}

TEST(MicrosecondsTest, LargeCountsDoNotOverflow) {
  const std::int64_t count = std::int64_t{1} << 50;
  const std::int64_t frequency = 1000000000;
  const auto exact = static_cast<std::int64_t>(static_cast<__int128>(count) * 1000000 / frequency);
  EXPECT_EQ(ScaleToMicroseconds(count, frequency), exact);
  EXPECT_EQ(ScaleToMicroseconds(2999999, 3000000), 999999);
}

}  // namespace
