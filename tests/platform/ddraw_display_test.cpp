// Display modes, the facts DirectDraw and GDI report, and surface creation rules.
#include "ddraw_fixture.h"

namespace {

DDSURFACEDESC2 CurrentMode(IDirectDraw7* dd) {
  DDSURFACEDESC2 mode{};
  mode.dwSize = sizeof(mode);
  EXPECT_EQ(dd->GetDisplayMode(&mode), DD_OK);
  return mode;
}

int ScreenBits() {
  HDC screen = GetDC(nullptr);
  int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits;
}

}  // namespace

using DDrawDisplay = DDrawTest;

TEST_F(DDrawDisplay, WindowModeReportsTheDesktopAsThirtyTwoBits) {
  // SDL's dummy desktop is 1024 x 768 with 24-bit colour in 32-bit pixels.
  DDSURFACEDESC2 mode = CurrentMode(dd_);
  EXPECT_EQ(mode.dwWidth, 1024u);
  EXPECT_EQ(mode.dwHeight, 768u);
  EXPECT_EQ(mode.dwRefreshRate, 60u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwFlags, DDPF_RGB);
  EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, 32u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwRBitMask, 0xFF0000u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwRGBAlphaBitMask, 0u);
  EXPECT_EQ(ScreenBits(), 32);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  HDC windowDc = GetDC(hwnd());
  EXPECT_EQ(GetDeviceCaps(windowDc, VREFRESH), 60);
  EXPECT_EQ(ReleaseDC(hwnd(), windowDc), 1);
}

TEST_F(DDrawDisplay, FakedSixteenBitDesktopGivesItsFormatToNewSurfaces) {
  DDrawTestFakeDesktop(800, 600, 16);
  DDSURFACEDESC2 mode = CurrentMode(dd_);
  EXPECT_EQ(mode.dwWidth, 800u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, 16u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwGBitMask, 0x7E0u);
  EXPECT_EQ(ScreenBits(), 16);
  DDrawTestUseRgb555(true);
  EXPECT_EQ(CurrentMode(dd_).ddpfPixelFormat.dwRBitMask, 0x7C00u);

  IDirectDrawSurface7* primary = MakePrimary(DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  description.dwWidth = 64;
  description.dwHeight = 48;
  description.ddsCaps = {DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 0};
  IDirectDrawSurface7* back = nullptr;
  ASSERT_EQ(dd_->CreateSurface(&description, &back, nullptr), DD_OK);
  for (IDirectDrawSurface7* surface : {primary, back}) {
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof(locked);
    ASSERT_EQ(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(locked.ddpfPixelFormat.dwRBitMask, 0x7C00u);
    surface->Unlock(nullptr);
  }
  DDSCAPS2 caps{};
  ASSERT_EQ(back->GetCaps(&caps), DD_OK);
  EXPECT_TRUE(caps.dwCaps & DDSCAPS_VIDEOMEMORY);
  back->Release();
  primary->Release();
}

TEST_F(DDrawDisplay, TwentyFourBitDesktopIsReportedButGetsNoPrimary) {
  DDrawTestFakeDesktop(1024, 768, 24);
  EXPECT_EQ(ScreenBits(), 24);
  EXPECT_EQ(CurrentMode(dd_).ddpfPixelFormat.dwRGBBitCount, 24u);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps = {DDSCAPS_PRIMARYSURFACE, 0};
  IDirectDrawSurface7* primary = nullptr;
  EXPECT_EQ(dd_->CreateSurface(&description, &primary, nullptr), DDERR_INVALIDPIXELFORMAT);
}

TEST_F(DDrawDisplay, FullScreenModesSwitchTheWindowAndComeBack) {
  EXPECT_EQ(dd_->SetDisplayMode(800, 600, 32, 0, 0), DDERR_NOEXCLUSIVEMODE);
  EXPECT_EQ(dd_->SetCooperativeLevel(hwnd(), DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dd_->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
  ASSERT_EQ(dd_->SetCooperativeLevel(hwnd(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
  EXPECT_EQ(dd_->SetDisplayMode(640, 480, 8, 0, 0), DDERR_INVALIDMODE);
  EXPECT_EQ(dd_->SetDisplayMode(640, 480, 24, 0, 0), DDERR_INVALIDMODE);
  EXPECT_EQ(dd_->SetDisplayMode(1000, 700, 32, 0, 0), DDERR_INVALIDMODE);
  EXPECT_EQ(dd_->SetDisplayMode(640, 480, 32, 75, 0), DDERR_INVALIDMODE);
  EXPECT_FALSE(SDL_GetWindowFlags(window_.sdlWindow) & SDL_WINDOW_FULLSCREEN);

  ASSERT_EQ(dd_->SetDisplayMode(800, 600, 16, 60, 0), DD_OK);
  int width = 0, height = 0;
  SDL_GetWindowSize(window_.sdlWindow, &width, &height);
  EXPECT_EQ(width, 1024);  // covers the whole (dummy) display
  EXPECT_EQ(height, 768);
  DDSURFACEDESC2 mode = CurrentMode(dd_);
  EXPECT_EQ(mode.dwWidth, 800u);
  EXPECT_EQ(mode.dwHeight, 600u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwRBitMask, 0xF800u);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  EXPECT_EQ(ScreenBits(), 16);
  EXPECT_TRUE(SDL_GetWindowFlags(window_.sdlWindow) & SDL_WINDOW_FULLSCREEN);

  ASSERT_EQ(dd_->SetDisplayMode(640, 480, 32, 0, 0), DD_OK);  // a second mode, same window
  EXPECT_EQ(CurrentMode(dd_).ddpfPixelFormat.dwRGBBitCount, 32u);

  // The library leaves exclusive mode first, then restores: the mode is still ours.
  ASSERT_EQ(dd_->SetCooperativeLevel(hwnd(), DDSCL_NORMAL), DD_OK);
  EXPECT_EQ(CurrentMode(dd_).dwWidth, 640u);
  ASSERT_EQ(dd_->RestoreDisplayMode(), DD_OK);
  EXPECT_EQ(CurrentMode(dd_).dwWidth, 1024u);
  EXPECT_FALSE(SDL_GetWindowFlags(window_.sdlWindow) & SDL_WINDOW_FULLSCREEN);
  width = height = 0;
  SDL_GetWindowSize(window_.sdlWindow, &width, &height);
  EXPECT_EQ(width, 640);  // the window's own size is back
  EXPECT_EQ(height, 480);
}

TEST_F(DDrawDisplay, ExclusiveModeBelongsToOneObjectAndItsModeEndsWithIt) {
  ASSERT_EQ(dd_->SetCooperativeLevel(hwnd(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
  EXPECT_EQ(dd_->SetCooperativeLevel(hwnd(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
  ASSERT_EQ(dd_->SetDisplayMode(640, 480, 32, 0, 0), DD_OK);

  IDirectDraw7* second = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&second)), S_OK);
  ASSERT_EQ(second->Initialize(nullptr), DD_OK);
  EXPECT_EQ(second->SetCooperativeLevel(hwnd(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DDERR_EXCLUSIVEMODEALREADYSET);
  EXPECT_EQ(second->SetDisplayMode(800, 600, 32, 0, 0), DDERR_NOEXCLUSIVEMODE);

  dd_->Release();
  dd_ = nullptr;
  EXPECT_EQ(CurrentMode(second).dwWidth, 1024u);
  EXPECT_FALSE(SDL_GetWindowFlags(window_.sdlWindow) & SDL_WINDOW_FULLSCREEN);
  EXPECT_EQ(second->SetCooperativeLevel(hwnd(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
  second->Release();
}

TEST_F(DDrawDisplay, InjectedCooperativeAndModeFailures) {
  DDrawTestFailCall(DDrawTestCall::SetCooperativeLevel, 0, 1, DDERR_HWNDALREADYSET);
  DDrawTestFailCall(DDrawTestCall::SetDisplayMode, 0, 2, DDERR_GENERIC);
  EXPECT_EQ(dd_->SetCooperativeLevel(hwnd(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DDERR_HWNDALREADYSET);
  ASSERT_EQ(dd_->SetCooperativeLevel(hwnd(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
  EXPECT_EQ(dd_->SetDisplayMode(1024, 768, 32, 60, 0), DDERR_GENERIC);
  EXPECT_EQ(dd_->SetDisplayMode(1024, 768, 32, 0, 0), DDERR_GENERIC);
  EXPECT_EQ(dd_->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
}

TEST_F(DDrawDisplay, VideoMemoryBudgetAndTheFallBackToSystemMemory) {
  DWORD total = 0, free = 0;
  ASSERT_EQ(dd_->GetAvailableVidMem(nullptr, &total, &free), DD_OK);
  EXPECT_EQ(total, 64u << 20);
  EXPECT_EQ(free, total);

  DDrawTestSetVideoMemory(40000);
  IDirectDrawSurface7* fits = MakeSurface(100, 100, Xrgb8888(), DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY);
  ASSERT_EQ(dd_->GetAvailableVidMem(nullptr, &total, &free), DD_OK);
  EXPECT_EQ(free, 0u);  // 100 rows of 400 bytes take it all

  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  description.dwWidth = description.dwHeight = 16;
  description.ddsCaps = {DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, 0};
  IDirectDrawSurface7* refused = nullptr;
  EXPECT_EQ(dd_->CreateSurface(&description, &refused, nullptr), DDERR_OUTOFVIDEOMEMORY);
  description.ddsCaps = {DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 0};
  IDirectDrawSurface7* moved = nullptr;
  ASSERT_EQ(dd_->CreateSurface(&description, &moved, nullptr), DD_OK);
  DDSCAPS2 caps{};
  ASSERT_EQ(moved->GetCaps(&caps), DD_OK);
  EXPECT_TRUE(caps.dwCaps & DDSCAPS_SYSTEMMEMORY);
  EXPECT_FALSE(caps.dwCaps & DDSCAPS_VIDEOMEMORY);

  fits->Release();
  ASSERT_EQ(dd_->GetAvailableVidMem(nullptr, &total, &free), DD_OK);
  EXPECT_EQ(free, 40000u);
  moved->Release();
}

TEST_F(DDrawDisplay, DeviceIdentifierNamesTheStandIn) {
  DDDEVICEIDENTIFIER2 identifier{};
  ASSERT_EQ(dd_->GetDeviceIdentifier(&identifier, 0), DD_OK);
  EXPECT_GT(std::strlen(identifier.szDriver), 0u);
  EXPECT_GT(std::strlen(identifier.szDescription), 0u);
  EXPECT_EQ(identifier.liDriverVersion.u.HighPart >> 16, 1);
}

TEST_F(DDrawDisplay, EveryLibraryFormatMakesASurfaceAndOthersAreRefused) {
  const DDPIXELFORMAT formats[] = {
      Rgb565(),
      Format(16, 0x7C00, 0x3E0, 0x1F),
      Format(16, 0x7C00, 0x3E0, 0x1F, 0x8000),
      Format(16, 0xF00, 0xF0, 0xF, 0xF000),
      Xrgb8888(),
      Format(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u),
  };
  for (const DDPIXELFORMAT& format : formats) {
    IDirectDrawSurface7* texture = MakeSurface(256, 128, format, DDSCAPS_TEXTURE, DDSCAPS2_TEXTUREMANAGE);
    ASSERT_NE(texture, nullptr);
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof(locked);
    ASSERT_EQ(texture->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(locked.ddpfPixelFormat.dwRGBAlphaBitMask, format.dwRGBAlphaBitMask);
    EXPECT_EQ(locked.ddpfPixelFormat.dwRBitMask, format.dwRBitMask);
    EXPECT_GE(locked.lPitch, static_cast<LONG>(256 * format.dwRGBBitCount / 8));
    texture->Unlock(nullptr);
    texture->Release();
  }

  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.dwWidth = description.dwHeight = 64;
  description.ddsCaps = {DDSCAPS_TEXTURE, 0};
  IDirectDrawSurface7* surface = nullptr;
  description.ddpfPixelFormat = Format(8, 0, 0, 0);
  description.ddpfPixelFormat.dwFlags = DDPF_LUMINANCE;
  EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPIXELFORMAT);
  description.ddpfPixelFormat = Format(24, 0xFF0000, 0xFF00, 0xFF);
  EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPIXELFORMAT);
  description.ddpfPixelFormat = ZBuffer16();  // a Z format needs Z caps
  EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPIXELFORMAT);
  description.ddpfPixelFormat = Rgb565();
  description.dwWidth = 4096;
  EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPARAMS);
  description.ddsCaps = {DDSCAPS_OFFSCREENPLAIN, 0};
  description.dwWidth = 0;
  EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPARAMS);
  description.dwWidth = 8193;
  EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPARAMS);
  description.dwWidth = 64;
  description.ddsCaps = {DDSCAPS_OVERLAY | DDSCAPS_VIDEOMEMORY, 0};
  EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DDERR_NOOVERLAYHW);
  description.ddsCaps = {DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY, DDSCAPS2_TEXTUREMANAGE};
  EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDCAPS);
  description.dwSize = 0;
  EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DDrawDisplay, CreationNeedsACooperativeLevelAndHonoursInjectedFailures) {
  IDirectDraw7* fresh = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&fresh)), S_OK);
  ASSERT_EQ(fresh->Initialize(nullptr), DD_OK);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps = {DDSCAPS_PRIMARYSURFACE, 0};
  IDirectDrawSurface7* surface = nullptr;
  EXPECT_EQ(fresh->CreateSurface(&description, &surface, nullptr), DDERR_NOCOOPERATIVELEVELSET);
  fresh->Release();

  DDrawTestFailCall(DDrawTestCall::CreateSurface, 0, 1, DDERR_OUTOFMEMORY, DDSCAPS_ZBUFFER);
  DDrawTestFailCall(DDrawTestCall::CreateClipper, 0, 1, DDERR_GENERIC);
  DDrawTestFailCall(DDrawTestCall::SetHWnd, 0, 1, DDERR_GENERIC);
  ASSERT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DD_OK);  // not a Z buffer
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.dwWidth = description.dwHeight = 8;
  description.ddpfPixelFormat = ZBuffer16();
  description.ddsCaps = {DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY, 0};
  IDirectDrawSurface7* z = nullptr;
  EXPECT_EQ(dd_->CreateSurface(&description, &z, nullptr), DDERR_OUTOFMEMORY);
  ASSERT_EQ(dd_->CreateSurface(&description, &z, nullptr), DD_OK);
  IDirectDrawClipper* clipper = nullptr;
  EXPECT_EQ(dd_->CreateClipper(0, &clipper, nullptr), DDERR_GENERIC);
  ASSERT_EQ(dd_->CreateClipper(0, &clipper, nullptr), DD_OK);
  EXPECT_EQ(clipper->SetHWnd(0, hwnd()), DDERR_GENERIC);
  EXPECT_EQ(clipper->SetHWnd(0, hwnd()), DD_OK);
  clipper->Release();
  z->Release();
  surface->Release();
}
