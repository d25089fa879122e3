// Creation, reference counts and what dies with the DirectDraw object.
#include "ddraw_fixture.h"

TEST(DDrawCreation, NeedsComAndInitialize) {
  IDirectDraw7* dd = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&dd)),
            CO_E_NOTINITIALIZED);
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  ASSERT_EQ(CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&dd)), S_OK);
  DDSURFACEDESC2 mode{};
  mode.dwSize = sizeof(mode);
  EXPECT_EQ(dd->GetDisplayMode(&mode), DDERR_NOTINITIALIZED);
  EXPECT_EQ(dd->Initialize(nullptr), DD_OK);
  EXPECT_EQ(dd->Initialize(nullptr), DDERR_ALREADYINITIALIZED);
  EXPECT_EQ(dd->Release(), 0u);

  const CLSID unknown = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  void* object = &dd;
  EXPECT_EQ(CoCreateInstance(unknown, nullptr, 7, IID_IDirectDraw7, &object), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  CoUninitialize();
  CoUninitialize();
}

TEST(DDrawCreation, InjectedFailuresOfCreationAndInitialize) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  DDrawTestFailCall(DDrawTestCall::CreateObject, 0, 1, E_FAIL);
  DDrawTestFailCall(DDrawTestCall::Initialize, 0, 1, DDERR_GENERIC);
  IDirectDraw7* dd = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&dd)), E_FAIL);
  ASSERT_EQ(CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&dd)), S_OK);
  EXPECT_EQ(dd->Initialize(nullptr), DDERR_GENERIC);
  EXPECT_EQ(dd->Initialize(nullptr), DD_OK);
  dd->Release();
  CoUninitialize();
}

using DDrawLifetime = DDrawTest;

TEST_F(DDrawLifetime, SurfacesCountReferences) {
  IDirectDrawSurface7* surface = MakeSurface(8, 8, Rgb565());
  EXPECT_EQ(surface->AddRef(), 2u);
  EXPECT_EQ(surface->Release(), 1u);
  IDirectDrawSurface7* same = nullptr;
  ASSERT_EQ(surface->QueryInterface(IID_IDirectDrawSurface7, reinterpret_cast<void**>(&same)), DD_OK);
  EXPECT_EQ(same, surface);
  EXPECT_EQ(same->Release(), 1u);
  EXPECT_EQ(surface->Release(), 0u);
}

TEST_F(DDrawLifetime, ChildrenDieWithTheirObjectAndDeadUseIsCounted) {
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(dd_->CreateClipper(0, &clipper, nullptr), DD_OK);
  ASSERT_EQ(clipper->SetHWnd(0, hwnd()), DD_OK);
  IDirectDrawSurface7* surface = MakeSurface(16, 16, Xrgb8888());
  ASSERT_EQ(surface->SetClipper(clipper), DD_OK);

  // The library's pattern: the object is released and made again, the old clipper kept.
  EXPECT_EQ(dd_->Release(), 0u);
  ASSERT_EQ(CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&dd_)), S_OK);
  ASSERT_EQ(dd_->Initialize(nullptr), DD_OK);
  ASSERT_EQ(dd_->SetCooperativeLevel(hwnd(), DDSCL_NORMAL), DD_OK);
  IDirectDrawSurface7* fresh = MakePrimary();

  const int deadUsesBefore = DDrawTestDeadObjectUses();  // counted for the whole process
  EXPECT_EQ(fresh->SetClipper(clipper), DDERR_INVALIDOBJECT);
  EXPECT_EQ(clipper->SetHWnd(0, hwnd()), DDERR_INVALIDOBJECT);
  EXPECT_EQ(Fill(surface, 0), DDERR_INVALIDOBJECT);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  EXPECT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DDERR_INVALIDOBJECT);
  EXPECT_EQ(DDrawTestDeadObjectUses(), deadUsesBefore + 4);

  // The dead shells still take their releases.
  EXPECT_EQ(surface->Release(), 0u);
  EXPECT_EQ(clipper->Release(), 0u);
  fresh->Release();
}

TEST_F(DDrawLifetime, SetClipperCountsTheClipperAndReleasingTheSurfaceReturnsIt) {
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(dd_->CreateClipper(0, &clipper, nullptr), DD_OK);
  IDirectDrawSurface7* surface = MakePrimary();
  ASSERT_EQ(surface->SetClipper(clipper), DD_OK);
  EXPECT_EQ(clipper->AddRef(), 3u);  // ours, the surface's, this one
  clipper->Release();
  EXPECT_EQ(surface->Release(), 0u);
  EXPECT_EQ(clipper->Release(), 0u);
}

TEST_F(DDrawLifetime, FlippingChainBackBufferLivesAndDiesWithTheFront) {
  IDirectDrawSurface7* back = nullptr;
  IDirectDrawSurface7* front = MakeFlippingChain(640, 480, 32, &back);
  ASSERT_NE(back, nullptr);
  DDSCAPS2 caps{};
  ASSERT_EQ(back->GetCaps(&caps), DD_OK);
  EXPECT_TRUE(caps.dwCaps & DDSCAPS_BACKBUFFER);
  EXPECT_FALSE(caps.dwCaps & DDSCAPS_PRIMARYSURFACE);

  // Releasing the reference GetAttachedSurface gave leaves the buffer to the chain.
  EXPECT_EQ(back->Release(), 0u);
  DDSCAPS2 backCaps{DDSCAPS_BACKBUFFER, 0};
  IDirectDrawSurface7* again = nullptr;
  ASSERT_EQ(front->GetAttachedSurface(&backCaps, &again), DD_OK);
  EXPECT_EQ(again, back);
  EXPECT_EQ(Fill(again, 0x123456), DD_OK);

  // Releasing the front frees the whole chain, even a back buffer still held.
  const int deadUsesBefore = DDrawTestDeadObjectUses();
  EXPECT_EQ(front->Release(), 0u);
  EXPECT_EQ(Fill(again, 0), DDERR_INVALIDOBJECT);
  EXPECT_EQ(again->Release(), 0u);
  EXPECT_EQ(DDrawTestDeadObjectUses(), deadUsesBefore + 1);
  IDirectDrawSurface7* next = MakePrimary();  // the object has no primary any more
  ASSERT_NE(next, nullptr);
  next->Release();
}

TEST_F(DDrawLifetime, OnePrimaryAtATime) {
  IDirectDrawSurface7* primary = MakePrimary();
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps = {DDSCAPS_PRIMARYSURFACE, 0};
  IDirectDrawSurface7* second = nullptr;
  EXPECT_EQ(dd_->CreateSurface(&description, &second, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
  primary->Release();
  ASSERT_EQ(dd_->CreateSurface(&description, &second, nullptr), DD_OK);
  second->Release();
}

TEST_F(DDrawLifetime, AttachedZBufferIsHeldUntilDetached) {
  IDirectDrawSurface7* target = MakeSurface(32, 32, Xrgb8888(), DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
  IDirectDrawSurface7* z = MakeSurface(32, 32, ZBuffer16(), DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY);
  IDirectDrawSurface7* otherZ = MakeSurface(32, 32, ZBuffer16(), DDSCAPS_ZBUFFER);
  IDirectDrawSurface7* smallZ = MakeSurface(16, 16, ZBuffer16(), DDSCAPS_ZBUFFER);
  IDirectDrawSurface7* plain = MakeSurface(32, 32, Xrgb8888());

  EXPECT_EQ(target->AddAttachedSurface(smallZ), DDERR_CANNOTATTACHSURFACE);
  EXPECT_EQ(target->AddAttachedSurface(plain), DDERR_CANNOTATTACHSURFACE);
  ASSERT_EQ(target->AddAttachedSurface(z), DD_OK);
  EXPECT_EQ(target->AddAttachedSurface(otherZ), DDERR_SURFACEALREADYATTACHED);

  DDSCAPS2 zCaps{DDSCAPS_ZBUFFER, 0};
  IDirectDrawSurface7* found = nullptr;
  ASSERT_EQ(target->GetAttachedSurface(&zCaps, &found), DD_OK);
  EXPECT_EQ(found, z);
  EXPECT_EQ(found->Release(), 2u);

  EXPECT_EQ(z->Release(), 1u);  // the attachment keeps it
  EXPECT_EQ(z->AddRef(), 2u);
  EXPECT_EQ(target->DeleteAttachedSurface(0, z), DD_OK);
  EXPECT_EQ(target->DeleteAttachedSurface(0, z), DDERR_SURFACENOTATTACHED);
  EXPECT_EQ(z->Release(), 0u);

  ASSERT_EQ(target->AddAttachedSurface(otherZ), DD_OK);
  EXPECT_EQ(target->Release(), 0u);  // gives back its hold on the Z buffer
  EXPECT_EQ(otherZ->Release(), 0u);
  smallZ->Release();
  plain->Release();
}

TEST_F(DDrawLifetime, ObjectReleaseFreesAttachedChainsWithoutLeaks) {
  // Everything left alive here dies with the object; the sanitizer build checks that no
  // shell is leaked and that a shell released afterwards is freed.
  IDirectDrawSurface7* back = nullptr;
  IDirectDrawSurface7* front = MakeFlippingChain(800, 600, 16, &back);
  IDirectDrawSurface7* z = MakeSurface(800, 600, ZBuffer16(), DDSCAPS_ZBUFFER);
  ASSERT_EQ(back->AddAttachedSurface(z), DD_OK);
  z->Release();
  back->Release();
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(dd_->CreateClipper(0, &clipper, nullptr), DD_OK);
  ASSERT_EQ(front->SetClipper(clipper), DD_OK);
  clipper->Release();
  PALETTEENTRY entries[256] = {};
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(dd_->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
  ASSERT_EQ(front->SetPalette(palette), DD_OK);
  palette->Release();
  IDirectDrawSurface7* kept = MakeSurface(4, 4, Rgb565());
  EXPECT_EQ(dd_->Release(), 0u);
  dd_ = nullptr;
  EXPECT_EQ(front->Release(), 0u);
  EXPECT_EQ(kept->Release(), 0u);
}

TEST_F(DDrawLifetime, EnumAttachedSurfacesHandsOutCountedReferences) {
  IDirectDrawSurface7* back = nullptr;
  IDirectDrawSurface7* front = MakeFlippingChain(640, 480, 32, &back);
  struct Seen {
    int count = 0;
    IDirectDrawSurface7* first = nullptr;
  } seen;
  auto callback = [](IDirectDrawSurface7* surface, DDSURFACEDESC2* description, void* context) -> HRESULT {
    auto* record = static_cast<Seen*>(context);
    if (record->count++ == 0) record->first = surface;
    EXPECT_EQ(description->dwWidth, 640u);
    surface->Release();
    return DDENUMRET_OK;
  };
  ASSERT_EQ(front->EnumAttachedSurfaces(&seen, callback), DD_OK);
  EXPECT_EQ(seen.count, 1);
  EXPECT_EQ(seen.first, back);
  back->Release();
  front->Release();
}

TEST_F(DDrawLifetime, PaletteKeepsItsEntries) {
  PALETTEENTRY entries[256];
  for (int i = 0; i < 256; ++i) entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 7, 0};
  IDirectDrawPalette* palette = nullptr;
  EXPECT_EQ(dd_->CreatePalette(0, entries, &palette, nullptr), DDERR_UNSUPPORTED);
  ASSERT_EQ(dd_->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
  PALETTEENTRY changed[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  ASSERT_EQ(palette->SetEntries(0, 254, 2, changed), DD_OK);
  EXPECT_EQ(palette->SetEntries(0, 255, 2, changed), DDERR_INVALIDPARAMS);
  PALETTEENTRY read[256];
  ASSERT_EQ(palette->GetEntries(0, 0, 256, read), DD_OK);
  EXPECT_EQ(read[10].peRed, 10);
  EXPECT_EQ(read[10].peGreen, 245);
  EXPECT_EQ(read[255].peBlue, 6);
  palette->Release();
}

TEST_F(DDrawLifetime, FirstVersionInterfaceOffersNoOverlay) {
  IDirectDraw* first = nullptr;
  ASSERT_EQ(dd_->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)), DD_OK);
  DDCAPS caps{};
  caps.dwSize = sizeof(caps);
  ASSERT_EQ(first->GetCaps(&caps, nullptr), DD_OK);
  EXPECT_GE(caps.dwMinOverlayStretch, 1000u);
  EXPECT_GE(caps.dwMaxOverlayStretch, 2000u);
  DDSURFACEDESC description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.dwWidth = description.dwHeight = 16;
  description.ddsCaps.dwCaps = DDSCAPS_OVERLAY | DDSCAPS_VIDEOMEMORY;
  IDirectDrawSurface* overlay = nullptr;
  EXPECT_EQ(first->CreateSurface(&description, &overlay, nullptr), DDERR_NOOVERLAYHW);
  EXPECT_EQ(first->Release(), 1u);

  DDrawTestFailCall(DDrawTestCall::QueryInterface, 0, 1, E_NOINTERFACE);
  EXPECT_EQ(dd_->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&first)), E_NOINTERFACE);
}
