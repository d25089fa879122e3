// A large texture of a few marks on transparent texels, drawn upright, is shaded only
// near its marks: the target matches visiting every pixel, also after its texels change.
#include <random>

#include "../support/same_values.h"
#include "d3d_fixture.h"

namespace {

constexpr int kTargetWidth = 352, kTargetHeight = 96, kTextureWidth = 320, kTextureHeight = 64;

struct SparseCase {
  const char* name;
  DDPIXELFORMAT target, texture;
  bool keyed;  // else alpha 0 hides a texel, under the source-alpha blend
  float left, top, scale;
  bool mirror;
};

class D3DSparseTexels : public D3DTest, public ::testing::WithParamInterface<SparseCase> {
 protected:
  // The target after drawing the marks of seed 1, then those of seed 2.
  std::vector<DWORD> Render() {
    const SparseCase& c = GetParam();
    IDirectDrawSurface7* target = MakeTarget(kTargetWidth, kTargetHeight, c.target);
    IDirectDrawSurface7* texture = MakeTexture(kTextureWidth, kTextureHeight, c.texture);
    DDCOLORKEY key{c.texture.dwGBitMask, c.texture.dwGBitMask};
    EXPECT_EQ(texture->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    StartDevice(target);
    SetStage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    SetBlend(!c.keyed, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, c.keyed), D3D_OK);
    UseTexture(texture);
    const float right = c.left + kTextureWidth * c.scale, bottom = c.top + kTextureHeight * c.scale;
    for (unsigned seed : {1u, 2u}) {
      std::mt19937 random(seed);
      const DWORD alpha = c.texture.dwRGBAlphaBitMask;
      std::vector<DWORD> texels(kTextureWidth * kTextureHeight, c.keyed ? c.texture.dwGBitMask : random() & ~alpha);
      for (int mark = 0; mark < 20; ++mark) {
        const int at = static_cast<int>(random() % (kTextureWidth * (kTextureHeight - 2) - 2));
        for (int i = 0; i < 9; ++i) texels[at + i / 3 * kTextureWidth + i % 3] = alpha | (random() & c.texture.dwBBitMask);
      }
      PutPixels(texture, texels, kTextureWidth, kTextureHeight);
      EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(c.left - 0.5f, c.top - 0.5f, right - 0.5f, bottom - 0.5f,
                                              c.mirror ? 1.0f : 0.0f, 0.0f, c.mirror ? 0.0f : 1.0f, 1.0f)),
                D3D_OK);
    }
    EXPECT_EQ(device_->EndScene(), D3D_OK);
    return Read(target).pixels;
  }
};

}  // namespace

TEST_P(D3DSparseTexels, LeavingOutTransparentTexelsChangesNoBit) {
  const std::vector<DWORD> skipping = Render();
  D3DTestVisitTransparentTexels(true);
  device_->Release();
  device_ = nullptr;
  ASSERT_TRUE(SameValues(skipping, Render(), kTargetWidth));
}

INSTANTIATE_TEST_SUITE_P(
    Placements, D3DSparseTexels,
    ::testing::Values(SparseCase{"KeyedCutAtTheEdges", Xrgb8888Format(), Rgb565Format(), true, -30, -20, 1.0f, false},
                      SparseCase{"BlendedMagnified", Xrgb8888Format(), Argb8888(), false, 4, 2, 1.5f, false},
                      SparseCase{"BlendedMirrored", Rgb565Format(), Argb4444(), false, 20, 8, 1.0f, true},
                      SparseCase{"KeyedShrunk", Rgb565Format(), Xrgb1555(), true, 0, 0, 0.9f, false}),
    [](const ::testing::TestParamInfo<SparseCase>& info) { return std::string(info.param.name); });
