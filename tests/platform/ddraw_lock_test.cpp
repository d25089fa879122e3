// Lock, Unlock, the device context, surface loss and restore.
#include <vector>

#include "ddraw/surface_access.h"
#include "ddraw_fixture.h"

using DDrawLock = DDrawTest;

TEST_F(DDrawLock, LockGivesTheRectanglesPixelsAndPitch) {
  IDirectDrawSurface7* surface = MakeSurface(10, 6, Rgb565());
  DDSURFACEDESC2 whole{};
  whole.dwSize = sizeof(whole);
  ASSERT_EQ(surface->Lock(nullptr, &whole, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_GE(whole.lPitch, 20);
  EXPECT_EQ(whole.dwWidth, 10u);
  EXPECT_EQ(whole.dwHeight, 6u);
  EXPECT_EQ(whole.ddpfPixelFormat.dwRBitMask, 0xF800u);
  auto* base = static_cast<BYTE*>(whole.lpSurface);
  ASSERT_EQ(surface->Unlock(nullptr), DD_OK);

  RECT part{3, 2, 7, 5};
  DDSURFACEDESC2 inner{};
  inner.dwSize = sizeof(inner);
  ASSERT_EQ(surface->Lock(&part, &inner, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr), DD_OK);
  EXPECT_EQ(static_cast<BYTE*>(inner.lpSurface), base + 2 * whole.lPitch + 3 * 2);
  static_cast<std::uint16_t*>(inner.lpSurface)[0] = 0xBEEF;
  RECT other{0, 0, 1, 1};
  EXPECT_EQ(surface->Unlock(&other), DDERR_INVALIDRECT);
  ASSERT_EQ(surface->Unlock(&part), DD_OK);
  EXPECT_EQ(PixelAt(surface, 3, 2), 0xBEEFu);

  RECT outside{8, 0, 11, 2};
  EXPECT_EQ(surface->Lock(&outside, &inner, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
  DDSURFACEDESC2 unsized{};
  EXPECT_EQ(surface->Lock(nullptr, &unsized, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
  surface->Release();
}

TEST_F(DDrawLock, LockedSurfaceIsBusyAndLocksDoNotNest) {
  IDirectDrawSurface7* surface = MakeSurface(8, 8, Xrgb8888());
  IDirectDrawSurface7* other = MakeSurface(8, 8, Xrgb8888());
  DDSURFACEDESC2 first{};
  first.dwSize = sizeof(first);
  ASSERT_EQ(surface->Lock(nullptr, &first, DDLOCK_WAIT, nullptr), DD_OK);
  DDSURFACEDESC2 second{};
  second.dwSize = sizeof(second);
  EXPECT_EQ(surface->Lock(nullptr, &second, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(Fill(surface, 1), DDERR_SURFACEBUSY);
  EXPECT_EQ(other->BltFast(0, 0, surface, nullptr, DDBLTFAST_WAIT), DDERR_SURFACEBUSY);
  EXPECT_EQ(other->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
  HDC dc = nullptr;
  EXPECT_EQ(surface->GetDC(&dc), DDERR_SURFACEBUSY);
  DDrawSurfaceMemory memory{};
  EXPECT_EQ(DDrawGetSurfaceMemory(surface, &memory), DDERR_SURFACEBUSY);

  // The first lock's pointer still works while the second was refused.
  static_cast<std::uint32_t*>(first.lpSurface)[0] = 0x00ABCDEF;
  ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
  EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
  EXPECT_EQ(PixelAt(surface, 0, 0), 0x00ABCDEFu);
  EXPECT_EQ(Fill(surface, 1), DD_OK);
  surface->Release();
  other->Release();
}

TEST_F(DDrawLock, MovingLocksHandOutAFreshBlockWithTheSameContents) {
  DDrawTestSetMovingLocks(true);
  IDirectDrawSurface7* surface = MakeSurface(4, 4, Xrgb8888());
  ASSERT_EQ(Fill(surface, 0x112233), DD_OK);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DD_OK);
  void* first = description.lpSurface;
  ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
  ASSERT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_NE(description.lpSurface, first);
  EXPECT_EQ(static_cast<std::uint32_t*>(description.lpSurface)[5], 0x112233u);
  ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
  surface->Release();
}

TEST_F(DDrawLock, DeviceContextKeepsTheSurfaceBusyUntilReleased) {
  IDirectDrawSurface7* surface = MakeSurface(8, 8, Rgb565());
  HDC dc = nullptr;
  ASSERT_EQ(surface->GetDC(&dc), DD_OK);
  ASSERT_NE(dc, nullptr);
  HDC second = nullptr;
  EXPECT_EQ(surface->GetDC(&second), DDERR_DCALREADYCREATED);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  EXPECT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(surface->ReleaseDC(nullptr), DDERR_INVALIDPARAMS);
  ASSERT_EQ(surface->ReleaseDC(dc), DD_OK);
  EXPECT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DD_OK);
  surface->Unlock(nullptr);
  surface->Release();
}

TEST_F(DDrawLock, InjectedLockFailureHitsOnlyTheChosenSurfaces) {
  IDirectDrawSurface7* system = MakeSurface(4, 4, Rgb565());
  IDirectDrawSurface7* video = MakeSurface(4, 4, Rgb565(), DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY);
  DDrawTestFailCall(DDrawTestCall::Lock, 1, 1, DDERR_GENERIC, DDSCAPS_VIDEOMEMORY);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(system->Lock(nullptr, &description, 0, nullptr), DD_OK);
    system->Unlock(nullptr);
  }
  ASSERT_EQ(video->Lock(nullptr, &description, 0, nullptr), DD_OK);  // skipped
  video->Unlock(nullptr);
  EXPECT_EQ(video->Lock(nullptr, &description, 0, nullptr), DDERR_GENERIC);
  ASSERT_EQ(video->Lock(nullptr, &description, 0, nullptr), DD_OK);
  video->Unlock(nullptr);
  system->Release();
  video->Release();
}

TEST_F(DDrawLock, LostSurfaceRefusesWorkUntilRestoredCleared) {
  IDirectDrawSurface7* surface = MakeSurface(8, 8, Xrgb8888(), DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY);
  ASSERT_EQ(Fill(surface, 0xFFFFFF), DD_OK);
  EXPECT_EQ(surface->IsLost(), DD_OK);
  DDrawTestLoseSurface(surface);
  EXPECT_EQ(surface->IsLost(), DDERR_SURFACELOST);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  EXPECT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
  EXPECT_EQ(Fill(surface, 0), DDERR_SURFACELOST);
  HDC dc = nullptr;
  EXPECT_EQ(surface->GetDC(&dc), DDERR_SURFACELOST);
  ASSERT_EQ(surface->Restore(), DD_OK);
  EXPECT_EQ(surface->IsLost(), DD_OK);
  EXPECT_EQ(PixelAt(surface, 5, 5), 0u);
  surface->Release();
}

TEST_F(DDrawLock, DisplayLossTakesVideoMemoryButSparesSystemMemoryAndManagedTextures) {
  IDirectDrawSurface7* primary = MakePrimary();
  IDirectDrawSurface7* video = MakeSurface(8, 8, Xrgb8888(), DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY);
  IDirectDrawSurface7* system = MakeSurface(8, 8, Xrgb8888());
  IDirectDrawSurface7* managed = MakeSurface(8, 8, Rgb565(), DDSCAPS_TEXTURE, DDSCAPS2_TEXTUREMANAGE);
  DDrawTestLoseVideoMemorySurfaces();
  EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(video->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(system->IsLost(), DD_OK);
  EXPECT_EQ(managed->IsLost(), DD_OK);
  DDrawTestImage image;
  EXPECT_FALSE(DDrawTestReadPrimary(&image));
  EXPECT_EQ(primary->Restore(), DD_OK);
  EXPECT_TRUE(DDrawTestReadPrimary(&image));
  for (IDirectDrawSurface7* surface : {primary, video, system, managed}) surface->Release();
}

TEST_F(DDrawLock, RestoringTheFrontRestoresTheWholeChainAtTheNewMode) {
  IDirectDrawSurface7* back = nullptr;
  IDirectDrawSurface7* front = MakeFlippingChain(640, 480, 32, &back);
  ASSERT_EQ(Fill(back, 0x445566), DD_OK);
  ASSERT_EQ(dd_->SetDisplayMode(800, 600, 16, 0, 0), DD_OK);  // a real change: everything is lost
  EXPECT_EQ(front->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(back->IsLost(), DDERR_SURFACELOST);
  ASSERT_EQ(back->Restore(), DD_OK);
  EXPECT_EQ(front->IsLost(), DD_OK);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(back->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(description.dwWidth, 800u);
  EXPECT_EQ(description.ddpfPixelFormat.dwRGBBitCount, 16u);
  EXPECT_EQ(static_cast<std::uint16_t*>(description.lpSurface)[0], 0u);
  back->Unlock(nullptr);
  back->Release();
  front->Release();
}
