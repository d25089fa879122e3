// A frame as the library draws one: the target and its Z surface cleared, parts of both
// cleared again between the draws, and the frame copied to the primary while draws are
// still recorded. In tiles each clear and the copy keep their place among the draws.
#include <gtest/gtest.h>

#include "../support/draw_threads.h"
#include "d3d_fixture.h"

class D3DFrameBlits : public D3DTest {};

TEST_F(D3DFrameBlits, ClearsBetweenDrawsAndThePresentKeepCallOrderInEveryBand) {
  IDirectDrawSurface7* primary = Keep(MakePrimary());
  IDirectDrawSurface7* target = MakeTarget(640, 480);
  IDirectDrawSurface7* z = Keep(MakeSurface(640, 480, ZBuffer16(), DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY));
  ASSERT_EQ(target->AddAttachedSurface(z), D3D_OK);
  StartDevice(target);
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE), D3D_OK);
  // Clears (colour, then depth) after the given draw, over rows starting and ending inside bands.
  struct Clear { int afterDraw; RECT area; DWORD colour, depth; };
  Clear clears[] = {{-1, {0, 0, 640, 480}, 0, 0xFFFF}, {12, {30, 7, 610, 203}, 0x203040, 0x8000},
                    {25, {0, 150, 640, 151}, 0xFFFFFF, 0xFFFF}, {38, {100, 90, 400, 470}, 0x00FF00, 0}};
  const auto frame = [&] {
    for (int draw = -1; draw < 50; ++draw) {
      const float x = static_cast<float>(draw * 97 % 560), y = static_cast<float>(draw * 61 % 420);
      const float depth = static_cast<float>(draw % 7) / 7;
      const DWORD colour = 0xFF000000u | draw * 0x050301;
      const ColouredVertex tl{x, y, depth, 1, colour}, tr{x + 70.5f, y, depth, 1, colour};
      const ColouredVertex bl{x, y + 45.25f, depth, 1, colour}, br{x + 70.5f, y + 45.25f, depth, 1, colour};
      const std::vector<ColouredVertex> pair{tl, tr, bl, br, bl, tr};
      const HRESULT drawn = draw < 0 ? D3D_OK : Draw(D3DPT_TRIANGLELIST, pair);
      EXPECT_EQ(drawn, D3D_OK);
      for (Clear& clear : clears) {
        if (clear.afterDraw != draw) continue;
        DDBLTFX depth{};
        depth.dwSize = sizeof(depth);
        depth.dwFillDepth = clear.depth;
        EXPECT_EQ(Fill(target, clear.colour, &clear.area), DD_OK);
        EXPECT_EQ(z->Blt(&clear.area, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &depth), DD_OK);
      }
    }
    RECT client{0, 0, 640, 480};
    EXPECT_EQ(primary->Blt(&client, target, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    std::vector<DWORD> pixels = Read(primary).pixels;
    const std::vector<DWORD> drawn = Read(target).pixels;
    pixels.insert(pixels.end(), drawn.begin(), drawn.end());
    return pixels;
  };
  EXPECT_EQ(ExpectTilesMatchTheSerialDrawing(frame, "the frame").back(), 0xFF000000u) << "the corner no draw meets";
}
