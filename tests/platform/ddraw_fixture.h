// A DirectDraw object on an SDL window (SDL's dummy video in tests), with helpers to make
// surfaces and read their pixels.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "ddraw/ddraw.h"
#include "testing.h"
#include "window/hwnd.h"

// An RGB pixel format with the given bit count and masks (alpha pixels when a != 0).
inline DDPIXELFORMAT FormatOf(DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a = 0) {
  DDPIXELFORMAT format{};
  format.dwSize = sizeof(format);
  format.dwFlags = DDPF_RGB | (a != 0 ? DDPF_ALPHAPIXELS : 0);
  format.dwRGBBitCount = bits;
  format.dwRBitMask = r;
  format.dwGBitMask = g;
  format.dwBBitMask = b;
  format.dwRGBAlphaBitMask = a;
  return format;
}

class DDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window_.sdlWindow = SDL_CreateWindow("ddraw test", 0, 0, 640, 480, 0);
    ASSERT_NE(window_.sdlWindow, nullptr);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_DirectDraw7, nullptr, 7, IID_IDirectDraw7, reinterpret_cast<void**>(&dd_)), S_OK);
    ASSERT_EQ(dd_->Initialize(nullptr), DD_OK);
    ASSERT_EQ(dd_->SetCooperativeLevel(hwnd(), DDSCL_NORMAL), DD_OK);
  }

  void TearDown() override {
    if (dd_ != nullptr) dd_->Release();
    CoUninitialize();
    if (window_.sdlWindow != nullptr) SDL_DestroyWindow(window_.sdlWindow);
    SDL_Quit();
    DDrawTestResetHooks();
  }

  HWND hwnd() { return &window_; }

  static DDPIXELFORMAT Format(DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a = 0) { return FormatOf(bits, r, g, b, a); }
  static DDPIXELFORMAT Rgb565() { return Format(16, 0xF800, 0x7E0, 0x1F); }
  static DDPIXELFORMAT Xrgb8888() { return Format(32, 0xFF0000, 0xFF00, 0xFF); }
  static DDPIXELFORMAT ZBuffer16() {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(format);
    format.dwFlags = DDPF_ZBUFFER;
    format.dwZBufferBitDepth = 16;
    format.dwZBitMask = 0xFFFF;
    return format;
  }

  IDirectDrawSurface7* MakeSurface(DWORD width, DWORD height, const DDPIXELFORMAT& format,
                                   DWORD caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, DWORD caps2 = 0) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.dwWidth = width;
    description.dwHeight = height;
    description.ddpfPixelFormat = format;
    description.ddsCaps = {caps, caps2};
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DD_OK);
    return surface;
  }

  IDirectDrawSurface7* MakePrimary(DWORD caps = DDSCAPS_PRIMARYSURFACE) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps = {caps, 0};
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_EQ(dd_->CreateSurface(&description, &surface, nullptr), DD_OK);
    return surface;
  }

  // Full screen at width x height x bits with a flipping chain of one back buffer, for
  // the fixture's window unless another is given.
  IDirectDrawSurface7* MakeFlippingChain(DWORD width, DWORD height, DWORD bits, IDirectDrawSurface7** back,
                                         HWND window = nullptr) {
    EXPECT_EQ(dd_->SetCooperativeLevel(window != nullptr ? window : hwnd(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    EXPECT_EQ(dd_->SetDisplayMode(width, height, bits, 0, 0), DD_OK);
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.dwBackBufferCount = 1;
    description.ddsCaps = {DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE, 0};
    IDirectDrawSurface7* front = nullptr;
    EXPECT_EQ(dd_->CreateSurface(&description, &front, nullptr), DD_OK);
    DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0};
    EXPECT_EQ(front->GetAttachedSurface(&caps, back), DD_OK);
    return front;
  }

  static HRESULT Fill(IDirectDrawSurface7* surface, DWORD colour, RECT* rect = nullptr) {
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = colour;
    return surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
  }

  // One raw pixel (2 or 4 bytes) read through Lock.
  static DWORD PixelAt(IDirectDrawSurface7* surface, LONG x, LONG y) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    RECT one{x, y, x + 1, y + 1};
    EXPECT_EQ(surface->Lock(&one, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    DWORD value = 0;
    std::memcpy(&value, description.lpSurface, description.ddpfPixelFormat.dwRGBBitCount / 8);
    EXPECT_EQ(surface->Unlock(&one), DD_OK);
    return value;
  }

  static void PutPixel(IDirectDrawSurface7* surface, LONG x, LONG y, DWORD value) {
    RECT one{x, y, x + 1, y + 1};
    ASSERT_EQ(Fill(surface, value, &one), DD_OK);
  }

  HWND__ window_{};
  IDirectDraw7* dd_ = nullptr;
};
