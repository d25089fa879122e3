// The Direct3D object and device as the library meets them: what the enumerations
// report, device creation, lifetimes, scenes, state checks, the states of a new device,
// presenting after EndScene, Load, and the test controls.
#include "d3d_fixture.h"

namespace {

HRESULT CollectDevices(LPSTR, LPSTR, D3DDEVICEDESC7* description, LPVOID context) {
  static_cast<std::vector<D3DDEVICEDESC7>*>(context)->push_back(*description);
  return D3DENUMRET_OK;
}

HRESULT CollectFormats(DDPIXELFORMAT* format, LPVOID context) {
  static_cast<std::vector<DDPIXELFORMAT>*>(context)->push_back(*format);
  return D3DENUMRET_OK;
}

HRESULT TakeFirstFormat(DDPIXELFORMAT* format, LPVOID context) {
  static_cast<std::vector<DDPIXELFORMAT>*>(context)->push_back(*format);
  return D3DENUMRET_CANCEL;
}

std::vector<ColouredVertex> Box(float left, float top, float right, float bottom, DWORD colour) {
  return {At(left, top, colour),     At(right, top, colour),    At(left, bottom, colour),
          At(right, bottom, colour), At(left, bottom, colour), At(right, top, colour)};
}

}  // namespace

// ---- Enumerations ----

TEST_F(D3DTest, OneHardwareDeviceWithItsTextureLimits) {
  std::vector<D3DDEVICEDESC7> devices;
  ASSERT_EQ(d3d_->EnumDevices(CollectDevices, &devices), D3D_OK);
  ASSERT_EQ(devices.size(), 1u);
  const D3DDEVICEDESC7& device = devices[0];
  EXPECT_TRUE(device.deviceGUID == IID_IDirect3DHALDevice);
  EXPECT_EQ(device.dwDeviceRenderBitDepth, DDBD_16 | DDBD_32);
  EXPECT_EQ(device.dwMinTextureWidth, 1u);
  EXPECT_EQ(device.dwMinTextureHeight, 1u);
  EXPECT_EQ(device.dwMaxTextureWidth, 2048u);
  EXPECT_EQ(device.dwMaxTextureHeight, 2048u);
  EXPECT_EQ(device.dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_POW2, D3DPTEXTURECAPS_POW2);
  EXPECT_EQ(device.dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_SQUAREONLY, 0u);
}

TEST_F(D3DTest, SixteenBitZBufferFormat) {
  std::vector<DDPIXELFORMAT> formats;
  ASSERT_EQ(d3d_->EnumZBufferFormats(IID_IDirect3DHALDevice, CollectFormats, &formats), D3D_OK);
  ASSERT_EQ(formats.size(), 1u);
  EXPECT_EQ(formats[0].dwFlags, DDPF_ZBUFFER);
  EXPECT_EQ(formats[0].dwZBufferBitDepth, 16u);
  EXPECT_EQ(formats[0].dwZBitMask, 0xFFFFu);
  EXPECT_NE(d3d_->EnumZBufferFormats(IID_IDirect3DTnLHalDevice, CollectFormats, &formats), D3D_OK);
}

TEST_F(D3DTest, TextureFormatsInTheDevicesOrder) {
  StartDevice(MakeTarget(8, 8));
  std::vector<DDPIXELFORMAT> formats;
  ASSERT_EQ(device_->EnumTextureFormats(CollectFormats, &formats), D3D_OK);
  const DDPIXELFORMAT expected[] = {Rgb565Format(), Xrgb1555(), Argb1555(), Argb4444(), Xrgb8888Format(), Argb8888()};
  ASSERT_EQ(formats.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(formats[i].dwFlags, expected[i].dwFlags) << i;
    EXPECT_EQ(formats[i].dwRGBBitCount, expected[i].dwRGBBitCount) << i;
    EXPECT_EQ(formats[i].dwRBitMask, expected[i].dwRBitMask) << i;
    EXPECT_EQ(formats[i].dwGBitMask, expected[i].dwGBitMask) << i;
    EXPECT_EQ(formats[i].dwBBitMask, expected[i].dwBBitMask) << i;
    EXPECT_EQ(formats[i].dwRGBAlphaBitMask, expected[i].dwRGBAlphaBitMask) << i;
  }
  formats.clear();
  ASSERT_EQ(device_->EnumTextureFormats(TakeFirstFormat, &formats), D3D_OK);
  EXPECT_EQ(formats.size(), 1u);

  D3DTestOfferTextureFormats({Argb4444()});
  formats.clear();
  ASSERT_EQ(device_->EnumTextureFormats(CollectFormats, &formats), D3D_OK);
  D3DTestOfferTextureFormats({});
  ASSERT_EQ(formats.size(), 1u);
  EXPECT_EQ(formats[0].dwRGBAlphaBitMask, 0xF000u);
}

// ---- Devices and lifetimes ----

TEST_F(D3DTest, DevicesNeedA3DDeviceSurfaceAndTheHardwareDevice) {
  IDirectDrawSurface7* plain = Keep(MakeSurface(8, 8, Xrgb8888Format()));
  IDirectDrawSurface7* target = MakeTarget(8, 8);
  IDirectDrawSurface7* zBuffer = Keep(MakeSurface(8, 8, ZBuffer16(), DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY));
  IDirect3DDevice7* device = nullptr;
  EXPECT_EQ(d3d_->CreateDevice(IID_IDirect3DHALDevice, plain, &device), DDERR_INVALIDCAPS);
  EXPECT_EQ(d3d_->CreateDevice(IID_IDirect3DHALDevice, zBuffer, &device), DDERR_INVALIDCAPS);
  EXPECT_NE(d3d_->CreateDevice(IID_IDirect3DTnLHalDevice, target, &device), D3D_OK);
  EXPECT_EQ(device, nullptr);
  IDirectDrawSurface7* primary = Keep(MakePrimary(DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE));
  ASSERT_EQ(d3d_->CreateDevice(IID_IDirect3DHALDevice, primary, &device), D3D_OK);
  EXPECT_EQ(device->SetRenderTarget(plain, 0), DDERR_INVALIDCAPS);
  EXPECT_EQ(device->SetRenderTarget(target, 0), D3D_OK);
  device->Release();
}

// The Direct3D object holds its DirectDraw object; a device holds its target and textures.
TEST_F(D3DTest, ObjectsKeepWhatTheyUse) {
  dd_->AddRef();
  EXPECT_GT(dd_->Release(), 1u);  // the Direct3D object's reference is still there

  IDirectDrawSurface7* target = MakeSurface(8, 8, Xrgb8888Format(), DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
  IDirectDrawSurface7* texture = MakeSurface(1, 1, Argb8888(), DDSCAPS_TEXTURE);
  PutPixels(texture, {0xFF00FF00u}, 1, 1);
  ASSERT_EQ(d3d_->CreateDevice(IID_IDirect3DHALDevice, target, &device_), D3D_OK);
  ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
  texture->Release();
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), D3D_OK);
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(0, 0, 8, 8)), D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  Picture picture = Read(target);
  EXPECT_EQ(picture.at(3, 3), 0xFF00FF00u);
  EXPECT_EQ(target->Release(), 1u);  // the device's
}

// ---- Scenes and call checks ----

TEST_F(D3DTest, ScenesDoNotNestAndDrawingNeedsOne) {
  IDirectDrawSurface7* target = MakeTarget(8, 8);
  ASSERT_EQ(d3d_->CreateDevice(IID_IDirect3DHALDevice, target, &device_), D3D_OK);
  std::vector<ColouredVertex> triangle{At(0, 0), At(8, 0), At(0, 8)};
  EXPECT_EQ(device_->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
  EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, triangle), D3DERR_SCENE_NOT_IN_SCENE);
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
  EXPECT_EQ(device_->BeginScene(), D3DERR_SCENE_IN_SCENE);
  EXPECT_EQ(device_->DrawPrimitive(1, kColouredFormat, triangle.data(), 3, 0), D3DERR_INVALIDPRIMITIVETYPE);
  EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0x002 | D3DFVF_DIFFUSE, triangle.data(), 3, 0),
            D3DERR_INVALIDVERTEXTYPE);
  WORD indices[] = {0, 1, 3};
  EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, kColouredFormat, triangle.data(), 3, indices, 3, 0),
            DDERR_INVALIDPARAMS);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  EXPECT_EQ(Read(target).at(1, 1), 0xFF000000u);  // nothing was drawn
}

TEST_F(D3DTest, ViewportMustLieInsideTheTarget) {
  StartDevice(MakeTarget(16, 8));
  D3DVIEWPORT7 outside{8, 0, 9, 8, 0.0f, 1.0f}, empty{0, 0, 0, 8, 0.0f, 1.0f}, depth{0, 0, 4, 4, 0.5f, 0.25f};
  EXPECT_EQ(device_->SetViewport(&outside), DDERR_INVALIDPARAMS);
  EXPECT_EQ(device_->SetViewport(&empty), DDERR_INVALIDPARAMS);
  EXPECT_EQ(device_->SetViewport(&depth), DDERR_INVALIDPARAMS);
  D3DVIEWPORT7 inside{8, 0, 8, 8, 0.0f, 1.0f};
  EXPECT_EQ(device_->SetViewport(&inside), D3D_OK);
}

TEST_F(D3DTest, StatesTheRasteriserDoesNotImplementAreRefused) {
  StartDevice(MakeTarget(8, 8));
  EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_DITHERENABLE, TRUE), DDERR_UNSUPPORTED);
  EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_DITHERENABLE, FALSE), D3D_OK);
  EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, 7), DDERR_UNSUPPORTED);  // DESTALPHA
  EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHAREF, 256), DDERR_UNSUPPORTED);
  EXPECT_EQ(device_->SetRenderState(8, 0), DDERR_INVALIDPARAMS);  // a state the device does not know
  EXPECT_EQ(device_->SetTextureStageState(4, D3DTSS_COLOROP, D3DTOP_DISABLE), DDERR_INVALIDPARAMS);
  EXPECT_EQ(device_->SetTextureStageState(0, D3DTSS_COLOROP, 8), DDERR_UNSUPPORTED);  // ADDSIGNED
  EXPECT_EQ(device_->SetTextureStageState(0, D3DTSS_ADDRESS, 2), DDERR_UNSUPPORTED);  // MIRROR
  EXPECT_EQ(device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE | 0x10), DDERR_UNSUPPORTED);
  D3DMATRIX identity{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  EXPECT_EQ(device_->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &identity), D3D_OK);
  EXPECT_EQ(device_->SetTransform(4, &identity), DDERR_INVALIDPARAMS);
}

// A new device modulates texture and diffuse, takes the texture's alpha, wraps, shades
// Gouraud, culls counter-clockwise triangles and does not blend.
TEST_F(D3DTest, NewDeviceStates) {
  IDirectDrawSurface7* target = MakeTarget(16, 8);
  IDirectDrawSurface7* texture = MakeTexture(2, 1);
  PutPixels(texture, {0x40FF8000u, 0x40008000u}, 2, 1);
  ASSERT_EQ(d3d_->CreateDevice(IID_IDirect3DHALDevice, target, &device_), D3D_OK);
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
  ASSERT_EQ(device_->SetTexture(0, texture), D3D_OK);
  // u from 0 to 2 over four pixels: wraps back to texel 0 at the third.
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(-0.5f, -0.5f, 3.5f, 0.5f, 0, 0, 2, 1, 0xFF808080u)), D3D_OK);
  std::vector<TexturedVertex> counterClockwise{At(8, 0, 0, 0), At(8, 8, 0, 0), At(16, 0, 0, 0)};
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, counterClockwise), D3D_OK);
  ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, std::vector<ColouredVertex>{At(0, 2, 0xFF000000u), At(8, 2, 0xFFFF0000u),
                                                                 At(0, 10, 0xFF000000u)}),
            D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  Picture picture = Read(target);
  EXPECT_EQ(picture.at(0, 0), 0xFF804000u);  // texel x 128 / 255, alpha 0x40 written nowhere, no blending
  EXPECT_EQ(picture.at(1, 0), 0xFF004000u);
  EXPECT_EQ(picture.at(2, 0), 0xFF804000u);
  EXPECT_EQ(picture.at(9, 1), 0xFF000000u);  // culled
  EXPECT_EQ(picture.at(4, 2), 0xFF800000u);  // Gouraud: halfway from black to red
}

// A 3 x 2 grid of vertices sent as one indexed strip, the rows joined by repeated
// indices, as the library's quad grid is: each pixel once.
TEST_F(D3DTest, IndexedStripsJoinedByRepeatedIndices) {
  IDirectDrawSurface7* target = MakeTarget(16, 16);
  StartDevice(target);
  SetBlend(true, D3DBLEND_ONE, D3DBLEND_ONE);
  std::vector<ColouredVertex> grid;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) grid.push_back(At(2.0f + 5 * column, 1.0f + 6 * row, 0x010101u));
  }
  WORD indices[] = {0, 3, 1, 4, 2, 5, 5, 3, 3, 6, 4, 7, 5, 8};
  ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, kColouredFormat, grid.data(), 9, indices, 14, 0),
            D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  Picture picture = Read(target);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      bool inside = x >= 2 && x < 12 && y >= 1 && y < 13;
      ASSERT_EQ(picture.at(x, y) & 0xFF, inside ? 1u : 0u) << x << ", " << y;
    }
  }
}

// ---- Surfaces in use ----

TEST_F(D3DTest, DrawingIntoALockedOrLostTargetFails) {
  IDirectDrawSurface7* target = MakeTarget(8, 8);
  StartDevice(target);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(target->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, Box(0, 0, 8, 8, 0xFFFFFFFFu)), DDERR_SURFACEBUSY);
  ASSERT_EQ(target->Unlock(nullptr), DD_OK);
  DDrawTestLoseSurface(target);
  EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, Box(0, 0, 8, 8, 0xFFFFFFFFu)), DDERR_SURFACELOST);
  ASSERT_EQ(target->Restore(), DD_OK);
  EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, Box(0, 0, 8, 8, 0xFFFFFFFFu)), D3D_OK);
}

TEST_F(D3DTest, LoadCopiesBetweenTexturesOfOneFormat) {
  StartDevice(MakeTarget(8, 8));
  IDirectDrawSurface7* source = MakeTexture(4, 4);
  IDirectDrawSurface7* destination = MakeTexture(8, 8);
  std::vector<DWORD> texels;
  for (DWORD i = 0; i < 16; ++i) texels.push_back(0xFF000000u | i);
  PutPixels(source, texels, 4, 4);
  RECT part{1, 1, 3, 4};
  POINT at{5, 2};
  ASSERT_EQ(device_->Load(destination, &at, source, &part, 0), D3D_OK);
  Picture picture = Read(destination);
  EXPECT_EQ(picture.at(5, 2), 0xFF000005u);
  EXPECT_EQ(picture.at(6, 4), 0xFF00000Eu);
  EXPECT_EQ(picture.at(4, 2), 0u);
  EXPECT_EQ(picture.at(7, 2), 0u);
  ASSERT_EQ(device_->Load(destination, nullptr, source, nullptr, 0), D3D_OK);
  EXPECT_EQ(Read(destination).at(3, 3), 0xFF00000Fu);

  POINT outside{6, 6};
  EXPECT_EQ(device_->Load(destination, &outside, source, nullptr, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(device_->Load(MakeTexture(4, 4, Rgb565Format()), nullptr, source, nullptr, 0), DDERR_INVALIDPIXELFORMAT);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(source->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(device_->Load(destination, nullptr, source, nullptr, 0), DDERR_SURFACEBUSY);
  ASSERT_EQ(source->Unlock(nullptr), DD_OK);
}

// ---- Presenting ----

// Drawing into the primary shows in the window after EndScene, as any write to it does.
TEST_F(D3DTest, EndSceneOnThePrimaryShowsInTheWindow) {
  DDrawTestCapturePresents(true);
  IDirectDrawSurface7* primary = Keep(MakePrimary(DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE));
  StartDevice(primary);
  unsigned before = DDrawTestPresentCount();
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Box(10, 10, 20, 20, 0xFFFF0000u)), D3D_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before + 1);
  DDrawTestImage frame;
  ASSERT_TRUE(DDrawTestLastPresentedFrame(&frame));
  EXPECT_EQ(frame.pixels[15 * frame.width + 15], 0xFF0000u);
  EXPECT_EQ(frame.pixels[5 * frame.width + 5], 0u);

  // A scene that draws nothing, and one that draws off the primary, show nothing.
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  IDirectDrawSurface7* back = MakeTarget(64, 64);
  ASSERT_EQ(device_->SetRenderTarget(back, 0), D3D_OK);
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Box(0, 0, 8, 8, 0xFFFFFFFFu)), D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before + 1);
}

// The back buffer of a flipping chain reaches the window when it is flipped.
TEST_F(D3DTest, BackBufferShowsAfterTheFlip) {
  DDrawTestCapturePresents(true);
  IDirectDrawSurface7* back = nullptr;
  IDirectDrawSurface7* front = Keep(MakeFlippingChain(640, 480, 32, &back));
  Keep(back);
  StartDevice(back);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Box(0, 0, 640, 480, 0xFF0000FFu)), D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  unsigned before = DDrawTestPresentCount();
  ASSERT_EQ(front->Flip(nullptr, DDFLIP_NOVSYNC), DD_OK);
  EXPECT_EQ(DDrawTestPresentCount(), before + 1);
  DDrawTestImage frame;
  ASSERT_TRUE(DDrawTestLastPresentedFrame(&frame));
  EXPECT_EQ(frame.pixels[frame.width * (frame.height / 2) + frame.width / 2], 0x0000FFu);
}

// ---- Test controls ----

TEST_F(D3DTest, CallLogAndInjectedFailures) {
  IDirectDrawSurface7* target = MakeTarget(8, 8);
  D3DTestRecordCalls(true);
  D3DTestFailCall(D3DTestCall::CreateDevice, 0, 1, DDERR_OUTOFMEMORY);
  EXPECT_EQ(d3d_->CreateDevice(IID_IDirect3DHALDevice, target, &device_), DDERR_OUTOFMEMORY);
  StartDevice(target);
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Box(0, 0, 8, 8, 0xFFFFFFFFu)), D3D_OK);
  D3DTestRecordCalls(false);
  std::vector<D3DTestCallRecord> log = D3DTestCallLog();
  std::vector<D3DTestCall> calls;
  for (const D3DTestCallRecord& record : log) calls.push_back(record.call);
  std::vector<D3DTestCall> expected{D3DTestCall::CreateDevice,   D3DTestCall::CreateDevice,
                                    D3DTestCall::SetRenderState, D3DTestCall::BeginScene,
                                    D3DTestCall::SetRenderState, D3DTestCall::DrawPrimitive};
  ASSERT_EQ(calls, expected);
  EXPECT_EQ(log[4].arguments[0], D3DRENDERSTATE_SRCBLEND);
  EXPECT_EQ(log[4].arguments[1], D3DBLEND_SRCALPHA);
  EXPECT_EQ(log[5].arguments[0], D3DPT_TRIANGLELIST);
  EXPECT_EQ(log[5].arguments[1], kColouredFormat);
  EXPECT_EQ(log[5].arguments[2], 6u);
}
