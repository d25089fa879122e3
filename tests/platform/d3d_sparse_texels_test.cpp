// A large texture of a few marks on transparent texels, drawn upright, is shaded only
// near its marks: the target matches visiting every pixel, also after its texels change.
#include <cmath>
#include <random>

#include "../support/same_values.h"
#include "d3d_fixture.h"

namespace {

constexpr int kTargetWidth = 352, kTargetHeight = 96, kTextureWidth = 320, kTextureHeight = 64;

struct SparseCase {
  const char* name;
  DDPIXELFORMAT target, texture;
  bool keyed;  // else alpha 0 hides a texel, under the source-alpha blend
  float left, top, scale;  // a negative scale mirrors
};

}  // namespace

TEST_F(D3DTest, LeavingOutTransparentTexelsOfASparseTextureChangesNoBit) {
  const SparseCase cases[] = {{"keyed, cut at the edges", Xrgb8888Format(), Rgb565Format(), true, -30, -20, 1.0f},
                              {"blended, magnified", Xrgb8888Format(), Argb8888(), false, 4, 2, 1.5f},
                              {"blended, mirrored", Rgb565Format(), Argb4444(), false, 20, 8, -1.0f},
                              {"keyed, shrunk", Rgb565Format(), Xrgb1555(), true, 0, 0, 0.9f}};
  // The target after drawing the marks of seed 1, then those of seed 2.
  auto render = [this](const SparseCase& c) {
    IDirectDrawSurface7* target = MakeTarget(kTargetWidth, kTargetHeight, c.target);
    IDirectDrawSurface7* texture = MakeTexture(kTextureWidth, kTextureHeight, c.texture);
    DDCOLORKEY key{c.texture.dwGBitMask, c.texture.dwGBitMask};
    EXPECT_EQ(texture->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    StartDevice(target);
    TexelsOnly();
    SetBlend(!c.keyed, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, c.keyed), D3D_OK);
    UseTexture(texture);
    const float size = std::abs(c.scale), u0 = c.scale < 0 ? 1.0f : 0.0f;
    const float right = c.left + kTextureWidth * size - 0.5f, bottom = c.top + kTextureHeight * size - 0.5f;
    const DWORD alpha = c.texture.dwRGBAlphaBitMask;
    for (unsigned seed : {1u, 2u}) {
      std::mt19937 random(seed);
      std::vector<DWORD> texels(kTextureWidth * kTextureHeight, c.keyed ? c.texture.dwGBitMask : random() & ~alpha);
      for (int mark = 0; mark < 20; ++mark) {
        const int at = static_cast<int>(random() % (kTextureWidth * (kTextureHeight - 2) - 2));
        for (int i = 0; i < 9; ++i) texels[at + i / 3 * kTextureWidth + i % 3] = alpha | (random() & c.texture.dwBBitMask);
      }
      PutPixels(texture, texels, kTextureWidth, kTextureHeight);
      EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(c.left - 0.5f, c.top - 0.5f, right, bottom, u0, 0, 1 - u0, 1)), D3D_OK);
    }
    return EndDeviceAndRead(target);
  };
  for (const SparseCase& c : cases) {
    const std::vector<DWORD> skipping = render(c);
    D3DTestVisitTransparentTexels(true);
    EXPECT_TRUE(SameValues(skipping, render(c), kTargetWidth)) << c.name;
    D3DTestVisitTransparentTexels(false);
  }
}
