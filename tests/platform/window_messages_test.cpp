// The window stand-in's message queue, window procedure calls and SDL event
// translation.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "testing.h"
#include "window/desktop.h"
#include "window/keyboard.h"
#include "window/window.h"

namespace {

// Private messages for the queue tests.
constexpr UINT kMessageA = 0x0401;
constexpr UINT kMessageB = 0x0402;
constexpr UINT kMessageC = 0x0403;

std::vector<MSG> g_received;

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_received.push_back(MSG{window, message, wParam, lParam});
  return DefWindowProcA(window, message, wParam, lParam);
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestSetSingleInstanceCheck(0);
    g_received.clear();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "TestWindowClass";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    window_ = CreateWindowExA(0, "TestWindowClass", "test", WS_POPUP | WS_CAPTION, 10, 20, 320, 240, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    DrainMessages();
  }

  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    UnregisterClassA("TestWindowClass", nullptr);
    TestSetSingleInstanceCheck(1);  // a fresh process has the check on
  }

  // Takes every message now available, dispatching none.
  std::vector<MSG> DrainMessages() {
    std::vector<MSG> taken;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_PAINT) {
        DispatchMessageA(&message);
        continue;
      }
      taken.push_back(message);
    }
    return taken;
  }

  HWND window_ = nullptr;
};

TEST_F(WindowTest, PostedMessagesComeInOrderThroughTheFilters) {
  PostMessageA(window_, kMessageA, 1, 0);
  PostMessageA(nullptr, kMessageB, 2, 0);
  PostMessageA(window_, kMessageC, 3, 0);
  MSG message;
  // Thread messages only.
  ASSERT_TRUE(PeekMessageA(&message, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, kMessageB);
  EXPECT_EQ(message.hwnd, nullptr);
  EXPECT_FALSE(PeekMessageA(&message, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  // A range that only the third message falls in; looking does not remove.
  ASSERT_TRUE(PeekMessageA(&message, window_, kMessageC, kMessageC, PM_NOREMOVE));
  EXPECT_EQ(message.wParam, 3u);
  ASSERT_TRUE(PeekMessageA(&message, window_, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, kMessageA);
  ASSERT_TRUE(PeekMessageA(&message, window_, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, kMessageC);
  EXPECT_FALSE(PeekMessageA(&message, window_, 0, 0, PM_REMOVE));
}

TEST_F(WindowTest, QuitComesAfterPostedMessagesAndBeforePaint) {
  PostQuitMessage(7);
  PostMessageA(window_, kMessageA, 0, 0);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, kMessageA);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowTest, PaintRepeatsUntilTheProcedureValidates) {
  MoveWindow(window_, 10, 20, 320, 240, TRUE);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, window_, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_PAINT));
  ASSERT_TRUE(PeekMessageA(&message, window_, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_PAINT));
  DispatchMessageA(&message);  // DefWindowProcA validates
  EXPECT_FALSE(PeekMessageA(&message, window_, 0, 0, PM_REMOVE));
}

TEST_F(WindowTest, DestroyingSendsDestroyAndDropsQueuedMessages) {
  PostMessageA(window_, kMessageA, 0, 0);
  ASSERT_TRUE(DestroyWindow(window_));
  ASSERT_FALSE(g_received.empty());
  EXPECT_EQ(g_received.back().message, static_cast<UINT>(WM_DESTROY));
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_FALSE(PostMessageA(window_, WM_CLOSE, 0, 0));
  MSG message;
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowTest, CloseThroughTheDefaultProcedureDestroysTheWindow) {
  TestRequestWindowClose();
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, window_, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_CLOSE));
  DispatchMessageA(&message);
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(WindowTest, OtherThreadsSeeOnlyTheirOwnQueue) {
  TestSetWindowFocus(0);
  std::atomic<bool> sawWindowMessage{false};
  std::atomic<UINT> ownMessage{0};
  std::thread other([&] {
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) sawWindowMessage = true;
    PostMessageA(nullptr, kMessageB, 0, 0);
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ownMessage = message.message;
  });
  other.join();
  EXPECT_FALSE(sawWindowMessage);
  EXPECT_EQ(ownMessage, kMessageB);
  // The focus change waited for this thread.
  const std::vector<MSG> taken = DrainMessages();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_ACTIVATEAPP));
  EXPECT_EQ(taken[0].wParam, 0u);
  EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_ACTIVATE));
  EXPECT_EQ(LOWORD(taken[1].wParam), WA_INACTIVE);
}

TEST_F(WindowTest, GetMessageWaitsForAMessageFromAnotherThread) {
  std::thread poster([this] { PostMessageA(window_, kMessageA, 5, 0); });
  MSG message;
  ASSERT_TRUE(GetMessageA(&message, window_, kMessageA, kMessageA));
  EXPECT_EQ(message.wParam, 5u);
  poster.join();
  PostQuitMessage(0);
  EXPECT_FALSE(GetMessageA(&message, nullptr, 0, 0));
}

TEST_F(WindowTest, KeysBecomeKeyAndCharacterMessages) {
  TestSetKey(SDL_SCANCODE_LEFT, 1);
  TestSetKey(SDL_SCANCODE_RETURN, 1);
  TestSetKey(SDL_SCANCODE_RETURN, 0);
  std::vector<MSG> taken = DrainMessages();
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(taken[0].wParam, static_cast<WPARAM>(VK_LEFT));
  EXPECT_EQ(taken[1].wParam, static_cast<WPARAM>(VK_RETURN));
  EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_KEYUP));
  // Translating the Return key types a carriage return.
  EXPECT_TRUE(TranslateMessage(&taken[1]));
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, window_, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(message.wParam, 0x0Du);
  TestSetKey(SDL_SCANCODE_LEFT, 0);
}

TEST_F(WindowTest, TypedTextArrivesAsShiftJisBytes) {
  WINNLSEnableIME(window_, FALSE);
  TestTypeText(reinterpret_cast<const char*>(u8"aあ"));
  const std::vector<MSG> taken = DrainMessages();
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[0].wParam, static_cast<WPARAM>('a'));
  EXPECT_EQ(taken[1].wParam, 0x82u);
  EXPECT_EQ(taken[2].wParam, 0xA0u);
  for (const MSG& message : taken) EXPECT_EQ(message.message, static_cast<UINT>(WM_CHAR));
}

TEST_F(WindowTest, CaptionIsShownAsUtf8) {
  ASSERT_TRUE(SetWindowTextA(window_, "Vantorel - 起動"));
  EXPECT_STREQ(SDL_GetWindowTitle(window_->sdlWindow), reinterpret_cast<const char*>(u8"Vantorel - 起動"));
}

TEST_F(WindowTest, KeyboardStateFollowsInjectedKeys) {
  TestSetKey(SDL_SCANCODE_Z, 1);
  TestSetKey(SDL_SCANCODE_RSHIFT, 1);
  BYTE state[256];
  ASSERT_TRUE(GetKeyboardState(state));
  EXPECT_EQ(state['Z'], 0x80);
  EXPECT_EQ(state[0xA1], 0x80);
  EXPECT_EQ(state[0x10], 0x80);  // either Shift
  EXPECT_EQ(state['X'], 0);
  TestSetKey(SDL_SCANCODE_Z, 0);
  TestSetKey(SDL_SCANCODE_RSHIFT, 0);
  ASSERT_TRUE(GetKeyboardState(state));
  EXPECT_EQ(state['Z'], 0);
  EXPECT_EQ(state[0x10], 0);
}

TEST_F(WindowTest, MouseWheelAndButtons) {
  SDL_Event event{};
  event.type = SDL_MOUSEWHEEL;
  event.wheel.windowID = SDL_GetWindowID(window_->sdlWindow);
  event.wheel.y = -1;
  SDL_PushEvent(&event);
  event = SDL_Event{};
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button.windowID = SDL_GetWindowID(window_->sdlWindow);
  event.button.button = SDL_BUTTON_RIGHT;
  event.button.x = 3;
  event.button.y = 4;
  SDL_PushEvent(&event);
  const std::vector<MSG> taken = DrainMessages();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_MOUSEWHEEL));
  EXPECT_EQ(static_cast<short>(HIWORD(taken[0].wParam)), -WHEEL_DELTA);
  EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_RBUTTONDOWN));
  EXPECT_EQ(taken[1].lParam, MAKELPARAM(3, 4));
}

TEST_F(WindowTest, StylesAndGeometry) {
  RECT client;
  ASSERT_TRUE(GetClientRect(window_, &client));
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 240);
  RECT adjusted = client;
  ASSERT_TRUE(AdjustWindowRectEx(&adjusted, WS_POPUP | WS_CAPTION, FALSE, WS_EX_WINDOWEDGE));
  EXPECT_EQ(std::memcmp(&adjusted, &client, sizeof(RECT)), 0);
  // A window with a caption has the window manager's frame; a plain popup has none.
  EXPECT_EQ(SDL_GetWindowFlags(window_->sdlWindow) & SDL_WINDOW_BORDERLESS, 0u);
  HWND popup = CreateWindowExA(WS_EX_TOPMOST, "TestWindowClass", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_NE(SDL_GetWindowFlags(popup->sdlWindow) & SDL_WINDOW_BORDERLESS, 0u);
  EXPECT_NE(SDL_GetWindowFlags(popup->sdlWindow) & SDL_WINDOW_ALWAYS_ON_TOP, 0u);
  DestroyWindow(popup);
  EXPECT_EQ(SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(WS_POPUP)), static_cast<LONG>(WS_POPUP | WS_CAPTION));
  ASSERT_TRUE(SetWindowPos(window_, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER));
  ASSERT_TRUE(GetClientRect(window_, &client));
  EXPECT_EQ(client.right, 640);
}

TEST(CursorTest, ShowCountDecidesVisibility) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  SetCursor(nullptr);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

}  // namespace
