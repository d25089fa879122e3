// A frame as the library draws one: the target and its Z surface cleared, sprites drawn,
// parts of both cleared again between the draws, and the frame copied to the window's
// part of the primary while draws are still recorded. In tiles, every clear must land
// after the draws before it and under those after it, and the copy must take the
// finished frame, in every band and at every thread count.
#include <gtest/gtest.h>

#include "../support/draw_threads.h"
#include "d3d_fixture.h"

namespace {

HRESULT DepthFill(IDirectDrawSurface7* surface, DWORD depth, RECT* rect) {
  DDBLTFX fx{};
  fx.dwSize = sizeof(fx);
  fx.dwFillDepth = depth;
  return surface->Blt(rect, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &fx);
}

// An upright rectangle as two triangles at depth z.
std::vector<ColouredVertex> Rectangle(float left, float top, float right, float bottom, float z, DWORD colour) {
  const ColouredVertex tl{left, top, z, 1, colour}, tr{right, top, z, 1, colour};
  const ColouredVertex bl{left, bottom, z, 1, colour}, br{right, bottom, z, 1, colour};
  return {tl, tr, bl, br, bl, tr};
}

}  // namespace

class D3DFrameBlits : public D3DTest {};

TEST_F(D3DFrameBlits, ClearsBetweenDrawsAndThePresentKeepCallOrderInEveryBand) {
  constexpr int kWidth = 640, kHeight = 480;
  IDirectDrawSurface7* primary = Keep(MakePrimary());
  IDirectDrawSurface7* target = MakeTarget(kWidth, kHeight);
  IDirectDrawSurface7* z = Keep(MakeSurface(kWidth, kHeight, ZBuffer16(), DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY));
  ASSERT_EQ(target->AddAttachedSurface(z), DD_OK);
  StartDevice(target);
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE), D3D_OK);
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL), D3D_OK);

  // Clears between draws, over rows that start and end inside bands.
  struct Clear {
    int afterDraw;
    RECT area;
    DWORD colour;
    DWORD depth;
  };
  const Clear clears[] = {
      {-1, {0, 0, kWidth, kHeight}, 0x000000, 0xFFFF},
      {12, {30, 7, 610, 203}, 0x203040, 0x8000},
      {25, {0, 150, kWidth, 151}, 0xFFFFFF, 0xFFFF},
      {38, {100, 90, 400, 470}, 0x00FF00, 0x0000},
  };
  const auto frame = [&] {
    for (int draw = -1; draw < 50; ++draw) {
      if (draw >= 0) {
        const float x = static_cast<float>((draw * 97) % 560), y = static_cast<float>((draw * 61) % 420);
        const float z = static_cast<float>(draw % 7) / 7.0f;
        EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, Rectangle(x, y, x + 70.5f, y + 45.25f, z, 0xFF000000u | draw * 0x050301)),
                  D3D_OK);
      }
      for (Clear clear : clears) {
        if (clear.afterDraw != draw) continue;
        EXPECT_EQ(Fill(target, clear.colour, &clear.area), DD_OK);
        EXPECT_EQ(DepthFill(z, clear.depth, &clear.area), DD_OK);
      }
    }
    RECT client{0, 0, kWidth, kHeight};
    EXPECT_EQ(primary->Blt(&client, target, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    std::vector<DWORD> pixels = Read(primary).pixels;
    const std::vector<DWORD> drawn = Read(target).pixels;
    pixels.insert(pixels.end(), drawn.begin(), drawn.end());
    return pixels;
  };
  const std::vector<DWORD> serial = ExpectTilesMatchTheSerialDrawing(frame, "the frame");
  EXPECT_EQ(serial.back(), 0xFF000000u) << "the cleared corner";
}
