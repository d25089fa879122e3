// Blt, BltFast, Flip and GDI's BitBlt on CPU surfaces.
#include "ddraw_fixture.h"

using DDrawBlit = DDrawTest;

TEST_F(DDrawBlit, FillsMaskTheValueAndKeepToTheRectangle) {
  IDirectDrawSurface7* surface = MakeSurface(6, 4, Rgb565());
  ASSERT_EQ(Fill(surface, 0x12345678), DD_OK);
  EXPECT_EQ(PixelAt(surface, 5, 3), 0x5678u);
  RECT part{1, 1, 3, 2};
  ASSERT_EQ(Fill(surface, 0xFFFF, &part), DD_OK);
  EXPECT_EQ(PixelAt(surface, 1, 1), 0xFFFFu);
  EXPECT_EQ(PixelAt(surface, 2, 1), 0xFFFFu);
  EXPECT_EQ(PixelAt(surface, 3, 1), 0x5678u);
  EXPECT_EQ(PixelAt(surface, 1, 2), 0x5678u);

  RECT outside{4, 0, 7, 1};
  EXPECT_EQ(Fill(surface, 0, &outside), DDERR_INVALIDRECT);
  RECT inverted{3, 0, 1, 1};
  EXPECT_EQ(Fill(surface, 0, &inverted), DDERR_INVALIDRECT);
  DDBLTFX fx{};
  fx.dwSize = sizeof(fx);
  EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_DEPTHFILL, &fx), DDERR_INVALIDPARAMS);
  EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
  surface->Release();
}

// Rows after the first are copied from it, and values of one repeated byte are set
// bytewise: every row of the rectangle gets the value, nothing beside it changes.
TEST_F(DDrawBlit, FillsEveryRowOfARectangleInBothPixelWidths) {
  const std::pair<DDPIXELFORMAT, DWORD> cases[] = {
      {Rgb565(), 0xABCD}, {Rgb565(), 0x4242}, {Xrgb8888(), 0xA1B2C3}, {Xrgb8888(), 0}};
  for (const auto& [format, value] : cases) {
    IDirectDrawSurface7* surface = MakeSurface(7, 5, format);
    ASSERT_EQ(Fill(surface, 0x1234), DD_OK);
    RECT part{2, 1, 6, 4};
    ASSERT_EQ(Fill(surface, value, &part), DD_OK);
    for (LONG y = 0; y < 5; ++y) {
      for (LONG x = 0; x < 7; ++x) {
        const bool inside = x >= part.left && x < part.right && y >= part.top && y < part.bottom;
        EXPECT_EQ(PixelAt(surface, x, y), inside ? value : 0x1234u) << x << "," << y << " of " << value;
      }
    }
    surface->Release();
  }
}

TEST_F(DDrawBlit, DepthFillWritesSixteenBitDepth) {
  IDirectDrawSurface7* z = MakeSurface(4, 4, ZBuffer16(), DDSCAPS_ZBUFFER);
  DDBLTFX fx{};
  fx.dwSize = sizeof(fx);
  fx.dwFillDepth = 0x1FFFF;
  ASSERT_EQ(z->Blt(nullptr, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &fx), DD_OK);
  EXPECT_EQ(PixelAt(z, 3, 3), 0xFFFFu);
  EXPECT_EQ(Fill(z, 0), DDERR_INVALIDPARAMS);
  z->Release();
}

TEST_F(DDrawBlit, CopyNeedsTheSameFormatAndASourceInside) {
  IDirectDrawSurface7* from = MakeSurface(4, 4, Xrgb8888());
  IDirectDrawSurface7* to = MakeSurface(8, 8, Xrgb8888());
  IDirectDrawSurface7* other = MakeSurface(4, 4, Rgb565());
  PutPixel(from, 1, 2, 0xAA00BB);
  RECT source{1, 2, 3, 4};
  RECT destination{5, 5, 7, 7};
  ASSERT_EQ(to->Blt(&destination, from, &source, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(to, 5, 5), 0xAA00BBu);
  EXPECT_EQ(PixelAt(to, 6, 5), 0u);
  EXPECT_EQ(to->Blt(nullptr, other, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPIXELFORMAT);
  RECT tooFar{2, 2, 5, 4};
  EXPECT_EQ(to->Blt(&destination, from, &tooFar, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
  EXPECT_EQ(to->Blt(&destination, from, &source, 0x8000 /* a key flag the stand-in lacks */, nullptr),
            DDERR_UNSUPPORTED);
  for (IDirectDrawSurface7* surface : {from, to, other}) surface->Release();
}

TEST_F(DDrawBlit, StretchSamplesTheNearestSourcePixel) {
  IDirectDrawSurface7* from = MakeSurface(4, 1, Rgb565());
  for (LONG x = 0; x < 4; ++x) PutPixel(from, x, 0, 10 + static_cast<DWORD>(x));
  IDirectDrawSurface7* to = MakeSurface(8, 2, Rgb565());

  RECT wide{0, 0, 8, 2};  // 4 -> 8: each pixel twice, each row twice
  ASSERT_EQ(to->Blt(&wide, from, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  const DWORD doubled[8] = {10, 10, 11, 11, 12, 12, 13, 13};
  for (LONG x = 0; x < 8; ++x) {
    EXPECT_EQ(PixelAt(to, x, 0), doubled[x]) << x;
    EXPECT_EQ(PixelAt(to, x, 1), doubled[x]) << x;
  }
  RECT narrow{0, 0, 3, 1};  // 4 -> 3 samples at 0.67, 2.0, 3.33
  ASSERT_EQ(to->Blt(&narrow, from, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(to, 0, 0), 10u);
  EXPECT_EQ(PixelAt(to, 1, 0), 12u);
  EXPECT_EQ(PixelAt(to, 2, 0), 13u);
  from->Release();
  to->Release();
}

TEST_F(DDrawBlit, ClipperClipsTheWindowedPrimaryToTheClientAreaAndKeepsTheScale) {
  SDL_SetWindowPosition(window_.sdlWindow, 100, 50);
  IDirectDrawSurface7* primary = MakePrimary();
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(dd_->CreateClipper(0, &clipper, nullptr), DD_OK);
  ASSERT_EQ(clipper->SetHWnd(0, hwnd()), DD_OK);

  RECT outsideClient{90, 40, 110, 60};
  EXPECT_EQ(Fill(primary, 0xFFFFFF, &outsideClient), DD_OK);  // no clipper: the whole primary
  EXPECT_EQ(PixelAt(primary, 95, 45), 0xFFFFFFu);
  ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
  ASSERT_EQ(Fill(primary, 0, &outsideClient), DD_OK);
  EXPECT_EQ(PixelAt(primary, 95, 45), 0xFFFFFFu);  // outside the window: kept
  EXPECT_EQ(PixelAt(primary, 100, 50), 0u);

  // A 2 x 2 source doubled onto (96..104, 46..54): only the window's part is written, at
  // the doubled scale.
  IDirectDrawSurface7* source = MakeSurface(4, 4, Xrgb8888());
  PutPixel(source, 2, 2, 0x0000FF);
  PutPixel(source, 3, 3, 0x00FF00);
  RECT stretched{96, 46, 104, 54};
  ASSERT_EQ(primary->Blt(&stretched, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(primary, 100, 50), 0x0000FFu);
  EXPECT_EQ(PixelAt(primary, 101, 51), 0x0000FFu);
  EXPECT_EQ(PixelAt(primary, 102, 52), 0x00FF00u);
  EXPECT_EQ(PixelAt(primary, 103, 53), 0x00FF00u);
  EXPECT_EQ(PixelAt(primary, 98, 48), 0xFFFFFFu);  // not in the client area: kept
  EXPECT_EQ(primary->BltFast(100, 50, source, nullptr, DDBLTFAST_WAIT), DDERR_BLTFASTCANTCLIP);

  RECT offDesktop{-20, -20, 5, 5};
  EXPECT_EQ(primary->Blt(&offDesktop, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);  // nothing to write
  source->Release();
  primary->Release();
  clipper->Release();
}

TEST_F(DDrawBlit, BltFastSourceKeySkipsTheKeyColourBits) {
  DDPIXELFORMAT a1r5g5b5 = Format(16, 0x7C00, 0x3E0, 0x1F, 0x8000);
  IDirectDrawSurface7* sprite = MakeSurface(3, 1, a1r5g5b5, DDSCAPS_TEXTURE, DDSCAPS2_TEXTUREMANAGE);
  IDirectDrawSurface7* target = MakeSurface(3, 1, a1r5g5b5, DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY);
  PutPixel(sprite, 0, 0, 0x83E0);  // the key colour with its alpha bit set
  PutPixel(sprite, 1, 0, 0x001F);
  PutPixel(sprite, 2, 0, 0x03E0);  // the key colour
  ASSERT_EQ(Fill(target, 0x7C00), DD_OK);
  EXPECT_EQ(target->BltFast(0, 0, sprite, nullptr, DDBLTFAST_SRCCOLORKEY), DDERR_NOCOLORKEY);
  DDCOLORKEY key{0x83E0, 0x83E0};
  ASSERT_EQ(sprite->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  ASSERT_EQ(target->BltFast(0, 0, sprite, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(PixelAt(target, 0, 0), 0x7C00u);
  EXPECT_EQ(PixelAt(target, 1, 0), 0x001Fu);
  EXPECT_EQ(PixelAt(target, 2, 0), 0x7C00u);
  ASSERT_EQ(target->BltFast(0, 0, sprite, nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
  EXPECT_EQ(PixelAt(target, 2, 0), 0x03E0u);

  RECT two{0, 0, 2, 1};
  EXPECT_EQ(target->BltFast(2, 0, sprite, &two, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(target->BltFast(1, 0, sprite, &two, 0), DD_OK);
  sprite->Release();
  target->Release();
}

TEST_F(DDrawBlit, CopiesWithinOneSurfaceReadTheOriginalPixels) {
  IDirectDrawSurface7* surface = MakeSurface(5, 5, Rgb565());
  for (LONG x = 0; x < 5; ++x) PutPixel(surface, x, 0, 1 + static_cast<DWORD>(x));
  RECT row{0, 0, 4, 1};
  ASSERT_EQ(surface->BltFast(1, 0, surface, &row, 0), DD_OK);  // shift right by one
  const DWORD shifted[5] = {1, 1, 2, 3, 4};
  for (LONG x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(surface, x, 0), shifted[x]);

  RECT top{0, 0, 5, 2};
  RECT lower{0, 1, 5, 5};  // stretched down over itself
  ASSERT_EQ(surface->Blt(&lower, surface, &top, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(surface, 3, 1), 3u);
  EXPECT_EQ(PixelAt(surface, 3, 2), 3u);
  EXPECT_EQ(PixelAt(surface, 3, 3), 0u);
  surface->Release();
}

TEST_F(DDrawBlit, FlipSwapsTheChainsPixelsWhileTheZBufferStaysWithTheBack) {
  IDirectDrawSurface7* back = nullptr;
  IDirectDrawSurface7* front = MakeFlippingChain(640, 480, 32, &back);
  IDirectDrawSurface7* z = MakeSurface(640, 480, ZBuffer16(), DDSCAPS_ZBUFFER);
  ASSERT_EQ(back->AddAttachedSurface(z), DD_OK);
  ASSERT_EQ(Fill(front, 0x0000FF), DD_OK);
  ASSERT_EQ(Fill(back, 0xFF0000), DD_OK);

  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT | DDFLIP_NOVSYNC), DD_OK);
  EXPECT_EQ(PixelAt(front, 10, 10), 0xFF0000u);
  EXPECT_EQ(PixelAt(back, 10, 10), 0x0000FFu);
  DDSCAPS2 zCaps{DDSCAPS_ZBUFFER, 0};
  IDirectDrawSurface7* attached = nullptr;
  ASSERT_EQ(back->GetAttachedSurface(&zCaps, &attached), DD_OK);
  EXPECT_EQ(attached, z);
  attached->Release();

  DDrawTestImage shown;
  ASSERT_TRUE(DDrawTestReadPrimary(&shown));
  EXPECT_EQ(shown.width, 640);
  EXPECT_EQ(shown.pixels[0], 0xFF0000u);

  // The GDI surface is the block the front started with.
  ASSERT_EQ(dd_->FlipToGDISurface(), DD_OK);
  EXPECT_EQ(PixelAt(front, 10, 10), 0x0000FFu);
  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(PixelAt(front, 10, 10), 0xFF0000u);
  EXPECT_EQ(back->Flip(nullptr, 0), DDERR_NOTFLIPPABLE);

  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(back->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  back->Unlock(nullptr);
  z->Release();
  back->Release();
  front->Release();
}

TEST_F(DDrawBlit, FlippingChainNeedsExclusiveMode) {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  description.dwBackBufferCount = 1;
  description.ddsCaps = {DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 0};
  IDirectDrawSurface7* front = nullptr;
  EXPECT_EQ(dd_->CreateSurface(&description, &front, nullptr), DDERR_NOEXCLUSIVEMODE);
  IDirectDrawSurface7* plain = MakePrimary();
  EXPECT_EQ(plain->Flip(nullptr, 0), DDERR_NOTFLIPPABLE);
  plain->Release();
}

TEST_F(DDrawBlit, GdiBitBltCopiesAndConvertsBetweenSurfaceContexts) {
  IDirectDrawSurface7* from = MakeSurface(4, 4, Rgb565());
  IDirectDrawSurface7* same = MakeSurface(4, 4, Rgb565());
  IDirectDrawSurface7* wide = MakeSurface(4, 4, Format(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u), DDSCAPS_TEXTURE);
  PutPixel(from, 0, 0, 0xFFFF);
  PutPixel(from, 1, 0, 0xF800);
  PutPixel(from, 2, 0, 0x0410);  // green 32 of 63, blue 16 of 31
  HDC source = nullptr, copy = nullptr, converted = nullptr;
  ASSERT_EQ(from->GetDC(&source), DD_OK);
  ASSERT_EQ(same->GetDC(&copy), DD_OK);
  ASSERT_EQ(wide->GetDC(&converted), DD_OK);
  EXPECT_TRUE(BitBlt(copy, 1, 1, 4, 4, source, 0, 0, SRCCOPY));  // clipped to 3 x 3
  EXPECT_TRUE(BitBlt(converted, 0, 0, 4, 4, source, 0, 0, SRCCOPY));
  EXPECT_TRUE(GdiFlush());
  EXPECT_FALSE(BitBlt(copy, 0, 0, 4, 4, source, 0, 0, 0x00EE0086 /* not SRCCOPY */));
  DDrawTestFailCall(DDrawTestCall::BitBlt, 0, 1, DDERR_GENERIC);
  EXPECT_FALSE(BitBlt(copy, 0, 0, 4, 4, source, 0, 0, SRCCOPY));
  ASSERT_EQ(from->ReleaseDC(source), DD_OK);
  ASSERT_EQ(same->ReleaseDC(copy), DD_OK);
  ASSERT_EQ(wide->ReleaseDC(converted), DD_OK);

  EXPECT_EQ(PixelAt(same, 1, 1), 0xFFFFu);
  EXPECT_EQ(PixelAt(same, 2, 1), 0xF800u);
  EXPECT_EQ(PixelAt(same, 0, 0), 0u);
  EXPECT_EQ(PixelAt(wide, 0, 0), 0x00FFFFFFu);  // widened by bit replication, alpha 0
  EXPECT_EQ(PixelAt(wide, 1, 0), 0x00FF0000u);
  EXPECT_EQ(PixelAt(wide, 2, 0), 0x00008284u);
  for (IDirectDrawSurface7* surface : {from, same, wide}) surface->Release();
}
