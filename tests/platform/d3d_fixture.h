// A Direct3D device on a DirectDraw test object, with vertex builders and helpers that
// read a surface back as 0xAARRGGBB pixels (channels widened by bit replication).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "d3d/d3d.h"
#include "ddraw_fixture.h"

struct ColouredVertex {  // FVF 0x44
  float x, y, z, rhw;
  DWORD diffuse;
};

struct TexturedVertex {  // FVF 0x144
  float x, y, z, rhw;
  DWORD diffuse;
  float u, v;
};

constexpr DWORD kColouredFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
constexpr DWORD kTexturedFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

inline ColouredVertex At(float x, float y, DWORD diffuse = 0xFFFFFFFFu) { return {x, y, 0.0f, 1.0f, diffuse}; }
inline TexturedVertex At(float x, float y, float u, float v, DWORD diffuse = 0xFFFFFFFFu) {
  return {x, y, 0.0f, 1.0f, diffuse, u, v};
}

// Six vertices of an upright rectangle as the library sends it: (top-left, top-right,
// bottom-left) and (bottom-right, bottom-left, top-right), texture corners (u0, v0) to
// (u1, v1).
inline std::vector<TexturedVertex> Quad(float left, float top, float right, float bottom, float u0 = 0, float v0 = 0,
                                        float u1 = 1, float v1 = 1, DWORD diffuse = 0xFFFFFFFFu) {
  TexturedVertex tl = At(left, top, u0, v0, diffuse), tr = At(right, top, u1, v0, diffuse);
  TexturedVertex bl = At(left, bottom, u0, v1, diffuse), br = At(right, bottom, u1, v1, diffuse);
  return {tl, tr, bl, br, bl, tr};
}

inline DDPIXELFORMAT Argb8888() { return FormatOf(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u); }
inline DDPIXELFORMAT Xrgb8888Format() { return FormatOf(32, 0xFF0000, 0xFF00, 0xFF); }
inline DDPIXELFORMAT Rgb565Format() { return FormatOf(16, 0xF800, 0x7E0, 0x1F); }
inline DDPIXELFORMAT Xrgb1555() { return FormatOf(16, 0x7C00, 0x3E0, 0x1F); }
inline DDPIXELFORMAT Argb1555() { return FormatOf(16, 0x7C00, 0x3E0, 0x1F, 0x8000); }
inline DDPIXELFORMAT Argb4444() { return FormatOf(16, 0xF00, 0xF0, 0xF, 0xF000); }

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<DWORD> pixels;  // 0xAARRGGBB, rows top to bottom
  DWORD at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

class D3DTest : public DDrawTest {
 protected:
  void SetUp() override {
    DDrawTest::SetUp();
    ASSERT_EQ(dd_->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d_)), DD_OK);
  }

  void TearDown() override {
    if (device_ != nullptr) device_->Release();
    if (d3d_ != nullptr) d3d_->Release();
    for (IDirectDrawSurface7* surface : surfaces_) surface->Release();
    D3DTestUseGeneralPathOnly(false);
    D3DTestUseSse2Only(false);
    D3DTestVisitTransparentTexels(false);
    DDrawTest::TearDown();
  }

  // A surface released at tear-down.
  IDirectDrawSurface7* Keep(IDirectDrawSurface7* surface) {
    surfaces_.push_back(surface);
    return surface;
  }

  IDirectDrawSurface7* MakeTarget(DWORD width, DWORD height, const DDPIXELFORMAT& format = Xrgb8888Format()) {
    return Keep(MakeSurface(width, height, format, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY));
  }

  IDirectDrawSurface7* MakeTexture(DWORD width, DWORD height, const DDPIXELFORMAT& format = Argb8888(),
                                   DWORD extraCaps = 0) {
    return Keep(MakeSurface(width, height, format, DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY | extraCaps));
  }

  // Makes the device on `target` and opens a scene; the viewport is the whole target.
  void StartDevice(IDirectDrawSurface7* target) {
    ASSERT_EQ(d3d_->CreateDevice(IID_IDirect3DHALDevice, target, &device_), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
  }

  // The usual set-up of the library's textured draws: clamped, flat, point-sampled.
  void UseTexture(IDirectDrawSurface7* texture) {
    ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
    ASSERT_EQ(device_->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT), D3D_OK);
  }

  void SetStage(DWORD stage, DWORD colourOp, DWORD colourArg1, DWORD colourArg2, DWORD alphaOp, DWORD alphaArg1,
                DWORD alphaArg2) {
    ASSERT_EQ(device_->SetTextureStageState(stage, D3DTSS_COLOROP, colourOp), D3D_OK);
    ASSERT_EQ(device_->SetTextureStageState(stage, D3DTSS_COLORARG1, colourArg1), D3D_OK);
    ASSERT_EQ(device_->SetTextureStageState(stage, D3DTSS_COLORARG2, colourArg2), D3D_OK);
    ASSERT_EQ(device_->SetTextureStageState(stage, D3DTSS_ALPHAOP, alphaOp), D3D_OK);
    ASSERT_EQ(device_->SetTextureStageState(stage, D3DTSS_ALPHAARG1, alphaArg1), D3D_OK);
    ASSERT_EQ(device_->SetTextureStageState(stage, D3DTSS_ALPHAARG2, alphaArg2), D3D_OK);
  }

  // Colour and alpha straight from the texture.
  void TexelsOnly() { SetStage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE); }

  // Ends the scene and the device; the target's pixels.
  std::vector<DWORD> EndDeviceAndRead(IDirectDrawSurface7* target) {
    EXPECT_EQ(device_->EndScene(), D3D_OK);
    device_->Release();
    device_ = nullptr;
    return Read(target).pixels;
  }

  void SetBlend(bool on, DWORD source = D3DBLEND_ONE, DWORD destination = D3DBLEND_ZERO) {
    ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, on ? TRUE : FALSE), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, source), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, destination), D3D_OK);
  }

  template <typename V>
  HRESULT Draw(D3DPRIMITIVETYPE type, std::vector<V> vertices) {
    DWORD format = sizeof(V) == sizeof(ColouredVertex) ? kColouredFormat : kTexturedFormat;
    return device_->DrawPrimitive(type, format, vertices.data(), static_cast<DWORD>(vertices.size()), 0);
  }

  // Raw pixels written through Lock, rows top to bottom (2 or 4 bytes each).
  static void PutPixels(IDirectDrawSurface7* surface, const std::vector<DWORD>& raw, int width, int height) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    ASSERT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr), DD_OK);
    DWORD bytes = description.ddpfPixelFormat.dwRGBBitCount / 8;
    for (int y = 0; y < height; ++y) {
      auto* row = static_cast<BYTE*>(description.lpSurface) + static_cast<std::ptrdiff_t>(y) * description.lPitch;
      for (int x = 0; x < width; ++x) std::memcpy(row + x * bytes, &raw[static_cast<std::size_t>(y) * width + x], bytes);
    }
    ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
  }

  // The surface's pixels as 0xAARRGGBB (alpha 0xFF for kinds without alpha).
  static Picture Read(IDirectDrawSurface7* surface) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    Picture picture;
    EXPECT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
    const DDPIXELFORMAT& f = description.ddpfPixelFormat;
    picture.width = static_cast<int>(description.dwWidth);
    picture.height = static_cast<int>(description.dwHeight);
    for (int y = 0; y < picture.height; ++y) {
      auto* row = static_cast<const BYTE*>(description.lpSurface) + static_cast<std::ptrdiff_t>(y) * description.lPitch;
      for (int x = 0; x < picture.width; ++x) {
        DWORD raw = 0;
        std::memcpy(&raw, row + x * (f.dwRGBBitCount / 8), f.dwRGBBitCount / 8);
        DWORD alphaMask = (f.dwFlags & DDPF_ALPHAPIXELS) ? f.dwRGBAlphaBitMask : 0;
        picture.pixels.push_back(Widen8(raw, alphaMask, 0xFF) << 24 | Widen8(raw, f.dwRBitMask, 0) << 16 |
                                 Widen8(raw, f.dwGBitMask, 0) << 8 | Widen8(raw, f.dwBBitMask, 0));
      }
    }
    EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
    return picture;
  }

  // Saves a picture for looking at (binary PPM, colour only) when VANTOREL_TEST_IMAGES
  // names a folder.
  static void Save(const Picture& picture, const std::string& name) {
    const char* folder = std::getenv("VANTOREL_TEST_IMAGES");
    if (folder == nullptr) return;
    std::string path = std::string(folder) + "/" + name + ".ppm";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height);
    for (DWORD pixel : picture.pixels) {
      unsigned char rgb[3] = {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                              static_cast<unsigned char>(pixel)};
      std::fwrite(rgb, 1, 3, file);
    }
    std::fclose(file);
  }

  IDirect3D7* d3d_ = nullptr;
  IDirect3DDevice7* device_ = nullptr;

 private:
  static DWORD Widen8(DWORD raw, DWORD mask, DWORD absent) {
    if (mask == 0) return absent;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    DWORD field = (raw & mask) >> shift;
    int bits = 0;
    for (DWORD rest = mask >> shift; rest & 1; rest >>= 1) ++bits;
    DWORD widened = 0;
    int total = 0;
    for (; total < 8; total += bits) widened = (widened << bits) | field;
    return widened >> (total - 8);
  }

  std::vector<IDirectDrawSurface7*> surfaces_;
};
