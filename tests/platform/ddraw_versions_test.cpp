// The older DirectDraw interfaces the movie streams use: surfaces made through the first
// version, the fourth version's description and lock, and shared reference counts.
#include <cstring>

#include "ddraw_fixture.h"

using DDrawVersions = DDrawTest;

TEST_F(DDrawVersions, FirstVersionMakesPlainSurfacesSharingOneCount) {
  IDirectDraw* first = nullptr;
  ASSERT_EQ(dd_->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)), DD_OK);
  DDSURFACEDESC description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.dwWidth = 20;
  description.dwHeight = 10;
  description.ddpfPixelFormat = Rgb565();
  description.ddsCaps.dwCaps = DDSCAPS_SYSTEMMEMORY | DDSCAPS_OFFSCREENPLAIN;
  IDirectDrawSurface* surface = nullptr;
  ASSERT_EQ(first->CreateSurface(&description, &surface, nullptr), DD_OK);
  DDSCAPS caps{};
  ASSERT_EQ(surface->GetCaps(&caps), DD_OK);
  EXPECT_EQ(caps.dwCaps, DDSCAPS_SYSTEMMEMORY | DDSCAPS_OFFSCREENPLAIN);
  EXPECT_EQ(surface->IsLost(), DD_OK);

  IDirectDrawSurface4* fourth = nullptr;
  ASSERT_EQ(surface->QueryInterface(IID_IDirectDrawSurface4, reinterpret_cast<void**>(&fourth)), DD_OK);
  IDirectDrawSurface7* seventh = nullptr;
  ASSERT_EQ(fourth->QueryInterface(IID_IDirectDrawSurface7, reinterpret_cast<void**>(&seventh)), DD_OK);
  DDSURFACEDESC2 whole{};
  whole.dwSize = sizeof(whole);
  ASSERT_EQ(fourth->GetSurfaceDesc(&whole), DD_OK);
  EXPECT_EQ(whole.dwWidth, 20u);
  EXPECT_EQ(whole.dwHeight, 10u);
  EXPECT_EQ(whole.ddpfPixelFormat.dwRBitMask, 0xF800u);
  DDSURFACEDESC2 unsized{};
  EXPECT_EQ(fourth->GetSurfaceDesc(&unsized), DDERR_INVALIDPARAMS);

  // Pixels written through the seventh version read back through the fourth.
  RECT one{3, 4, 4, 5};
  ASSERT_EQ(Fill(seventh, 0xABCD, &one), DD_OK);
  DDSURFACEDESC2 locked{};
  locked.dwSize = sizeof(locked);
  ASSERT_EQ(fourth->Lock(&one, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
  std::uint16_t value = 0;
  std::memcpy(&value, locked.lpSurface, 2);
  EXPECT_EQ(value, 0xABCD);
  EXPECT_EQ(seventh->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  ASSERT_EQ(fourth->Unlock(&one), DD_OK);

  DDrawTestLoseSurface(seventh);
  EXPECT_EQ(surface->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(fourth->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(fourth->Restore(), DD_OK);
  EXPECT_EQ(surface->IsLost(), DD_OK);

  EXPECT_EQ(seventh->Release(), 2u);
  EXPECT_EQ(fourth->Release(), 1u);
  EXPECT_EQ(surface->Release(), 0u);

  // The first version refuses what its description cannot say.
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH;
  EXPECT_NE(first->CreateSurface(&description, &surface, nullptr), DD_OK);
  EXPECT_EQ(surface, nullptr);
  first->Release();
}

TEST_F(DDrawVersions, FourthVersionObjectIsTheSameObject) {
  IDirectDraw4* fourth = nullptr;
  ASSERT_EQ(dd_->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&fourth)), DD_OK);
  IDirectDraw* first = nullptr;
  ASSERT_EQ(fourth->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)), DD_OK);
  IDirectDraw7* seventh = nullptr;
  ASSERT_EQ(first->QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(&seventh)), DD_OK);
  EXPECT_EQ(seventh, dd_);
  EXPECT_EQ(seventh->Release(), 3u);
  EXPECT_EQ(first->Release(), 2u);
  EXPECT_EQ(fourth->Release(), 1u);
}
