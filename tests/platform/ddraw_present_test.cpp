// Writes to the primary reach the window: the client area in window mode, the whole mode
// scaled to the window in full screen, only on the thread that set the cooperative level.
#include <thread>

#include "ddraw_fixture.h"
#include "window/window.h"

namespace {

std::uint32_t At(const DDrawTestImage& image, int x, int y) {
  return image.pixels[static_cast<std::size_t>(y) * image.width + x];
}

}  // namespace

class DDrawPresent : public DDrawTest {
 protected:
  void SetUp() override {
    DDrawTest::SetUp();
    DDrawTestCapturePresents(true);
  }
};

TEST_F(DDrawPresent, WindowShowsItsClientAreaOfThePrimary) {
  SDL_SetWindowPosition(window_.sdlWindow, 100, 50);
  IDirectDrawSurface7* primary = MakePrimary();
  unsigned before = DDrawTestPresentCount();
  RECT elsewhere{900, 600, 1000, 700};
  ASSERT_EQ(Fill(primary, 0xFFFFFF, &elsewhere), DD_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before);  // not in the window: nothing to show

  RECT client{100, 50, 740, 530};
  ASSERT_EQ(Fill(primary, 0x203040, &client), DD_OK);
  RECT corner{100, 50, 110, 60};
  ASSERT_EQ(Fill(primary, 0xFF0000, &corner), DD_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before + 2);
  DDrawTestImage frame;
  ASSERT_TRUE(DDrawTestLastPresentedFrame(&frame));
  ASSERT_EQ(frame.width, 640);
  ASSERT_EQ(frame.height, 480);
  EXPECT_EQ(At(frame, 0, 0), 0xFF0000u);
  EXPECT_EQ(At(frame, 9, 9), 0xFF0000u);
  EXPECT_EQ(At(frame, 10, 10), 0x203040u);
  EXPECT_EQ(At(frame, 639, 479), 0x203040u);
  primary->Release();
}

TEST_F(DDrawPresent, OnlyPrimaryWritesPresentAndReadOnlyLocksDoNot) {
  IDirectDrawSurface7* primary = MakePrimary();
  IDirectDrawSurface7* back = MakeSurface(640, 480, Xrgb8888(), DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
  unsigned before = DDrawTestPresentCount();
  ASSERT_EQ(Fill(back, 0x00FF00), DD_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before);
  RECT client{0, 0, 640, 480};
  ASSERT_EQ(primary->Blt(&client, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before + 1);

  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(primary->Lock(&client, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
  ASSERT_EQ(primary->Unlock(&client), DD_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before + 1);
  ASSERT_EQ(primary->Lock(&client, &description, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr), DD_OK);
  static_cast<std::uint32_t*>(description.lpSurface)[0] = 0x0000FF;
  ASSERT_EQ(primary->Unlock(&client), DD_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before + 2);
  DDrawTestImage frame;
  ASSERT_TRUE(DDrawTestLastPresentedFrame(&frame));
  EXPECT_EQ(At(frame, 0, 0), 0x0000FFu);
  EXPECT_EQ(At(frame, 1, 0), 0x00FF00u);
  back->Release();
  primary->Release();
}

TEST_F(DDrawPresent, FullScreenModeIsScaledToTheWindow) {
  IDirectDrawSurface7* back = nullptr;
  IDirectDrawSurface7* front = MakeFlippingChain(640, 480, 16, &back);
  // Left half red, right half blue, one green pixel at (320, 240).
  RECT left{0, 0, 320, 480};
  RECT right{320, 0, 640, 480};
  ASSERT_EQ(Fill(back, 0xF800, &left), DD_OK);
  ASSERT_EQ(Fill(back, 0x001F, &right), DD_OK);
  PutPixel(back, 320, 240, 0x07E0);
  unsigned before = DDrawTestPresentCount();
  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before + 1);

  // The dummy display's window is 1024 x 768 in full screen: a scale of 1.6.
  DDrawTestImage frame;
  ASSERT_TRUE(DDrawTestLastPresentedFrame(&frame));
  ASSERT_EQ(frame.width, 1024);
  ASSERT_EQ(frame.height, 768);
  EXPECT_EQ(At(frame, 0, 0), 0xFF0000u);
  EXPECT_EQ(At(frame, 510, 300), 0xFF0000u);
  EXPECT_EQ(At(frame, 1023, 767), 0x0000FFu);
  EXPECT_EQ(At(frame, 513, 385), 0x00FF00u);  // inside 512..513.6 x 384..385.6
  back->Release();
  front->Release();
}

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// The chain outlives its window: flips then show nothing and report the primary lost.
TEST_F(DDrawPresent, AWindowThatIsGoneIsNotPresentedTo) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = PlainProc;
  windowClass.lpszClassName = "DDrawPresentGone";
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND window = CreateWindowExA(0, "DDrawPresentGone", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  IDirectDrawSurface7* back = nullptr;
  IDirectDrawSurface7* front = MakeFlippingChain(640, 480, 32, &back, window);
  ASSERT_NE(front, nullptr);
  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  const unsigned shown = DDrawTestPresentCount();
  ASSERT_TRUE(DestroyWindow(window));
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);  // the flip that finds the window gone
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
  EXPECT_EQ(Fill(front, 0xFFFFFF), DDERR_SURFACELOST);
  EXPECT_EQ(DDrawTestPresentCount(), shown);
  back->Release();
  front->Release();
  EXPECT_TRUE(UnregisterClassA("DDrawPresentGone", nullptr));
}

TEST_F(DDrawPresent, WritesFromAnotherThreadWaitForTheGameThread) {
  IDirectDrawSurface7* primary = MakePrimary();
  unsigned before = DDrawTestPresentCount();
  RECT client{0, 0, 640, 480};
  std::thread other([&] { EXPECT_EQ(Fill(primary, 0x808080, &client), DD_OK); });
  other.join();
  EXPECT_EQ(DDrawTestPresentCount(), before);

  RECT dot{5, 5, 6, 6};
  ASSERT_EQ(Fill(primary, 0xFFFFFF, &dot), DD_OK);  // shows the whole window again
  EXPECT_EQ(DDrawTestPresentCount(), before + 1);
  DDrawTestImage frame;
  ASSERT_TRUE(DDrawTestLastPresentedFrame(&frame));
  EXPECT_EQ(At(frame, 5, 5), 0xFFFFFFu);
  EXPECT_EQ(At(frame, 600, 400), 0x808080u);
  primary->Release();
}

TEST_F(DDrawPresent, ReadPrimaryWidensSixteenBitPixels) {
  DDrawTestFakeDesktop(640, 480, 16);
  IDirectDrawSurface7* primary = MakePrimary();
  PutPixel(primary, 1, 0, 0xFFFF);
  PutPixel(primary, 2, 0, 0x8410);
  DDrawTestImage image;
  ASSERT_TRUE(DDrawTestReadPrimary(&image));
  EXPECT_EQ(image.width, 640);
  EXPECT_EQ(At(image, 0, 0), 0u);
  EXPECT_EQ(At(image, 1, 0), 0xFFFFFFu);
  EXPECT_EQ(At(image, 2, 0), 0x848284u);
  primary->Release();
}
