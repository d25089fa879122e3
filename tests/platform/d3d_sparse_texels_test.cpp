// A large, sparse texture (a few marks on transparent texels) drawn upright: the rows
// whose texels are all transparent, and the ends of the others, are left out, and the
// target must match visiting every pixel in every bit; the texels change between two
// draws, so nothing known of the old ones may stay.
#include <random>

#include "../support/same_values.h"
#include "d3d_fixture.h"

namespace {

constexpr int kTargetWidth = 352, kTargetHeight = 96;
constexpr int kTextureWidth = 320, kTextureHeight = 64;

struct SparseCase {
  const char* name;
  DDPIXELFORMAT target;
  DDPIXELFORMAT texture;
  bool keyed;      // else alpha 0 hides a texel
  bool blend;      // source alpha over the target; else the alpha test drops alpha 0
  float left, top, scale;
  bool mirror;
};

// Transparent texels (the key colour, green, or alpha 0) with a few 3 x 3 marks per
// band of 8 rows, placed by `seed`.
std::vector<DWORD> SparseTexels(const DDPIXELFORMAT& format, bool keyed, unsigned seed) {
  const DWORD alphaMask = format.dwRGBAlphaBitMask;
  const DWORD colourBits = format.dwRBitMask | format.dwGBitMask | format.dwBBitMask;
  std::mt19937 random(seed);
  std::vector<DWORD> texels(kTextureWidth * kTextureHeight);
  for (DWORD& texel : texels) texel = keyed ? format.dwGBitMask | alphaMask : random() & colourBits;
  for (int band = 0; band < kTextureHeight; band += 8) {
    for (int mark = 0; mark < 3; ++mark) {
      const int left = static_cast<int>(random() % (kTextureWidth - 3)), top = band + static_cast<int>(random() % 5);
      for (int y = top; y < top + 3; ++y) {
        for (int x = left; x < left + 3; ++x) texels[y * kTextureWidth + x] = alphaMask | (random() & format.dwBBitMask);
      }
    }
  }
  return texels;
}

class D3DSparseTexels : public D3DTest, public ::testing::WithParamInterface<SparseCase> {
 protected:
  // The target after drawing the marks of seed 1, then those of seed 2.
  std::vector<DWORD> Render() {
    const SparseCase& c = GetParam();
    if (target_ == nullptr) {
      target_ = MakeTarget(kTargetWidth, kTargetHeight, c.target);
      texture_ = MakeTexture(kTextureWidth, kTextureHeight, c.texture);
      DDCOLORKEY key{c.texture.dwGBitMask, c.texture.dwGBitMask};
      EXPECT_EQ(texture_->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
      StartDevice(target_);
    }
    std::mt19937 random(3);
    std::vector<DWORD> background(kTargetWidth * kTargetHeight);
    for (DWORD& pixel : background) pixel = random();
    PutPixels(target_, background, kTargetWidth, kTargetHeight);
    SetStage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    SetBlend(c.blend, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, c.keyed), D3D_OK);
    EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, !c.blend), D3D_OK);
    EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_GREATER), D3D_OK);
    EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHAREF, 0), D3D_OK);
    UseTexture(texture_);
    const float right = c.left + kTextureWidth * c.scale, bottom = c.top + kTextureHeight * c.scale;
    for (unsigned seed : {1u, 2u}) {
      PutPixels(texture_, SparseTexels(c.texture, c.keyed, seed), kTextureWidth, kTextureHeight);
      EXPECT_EQ(Draw(D3DPT_TRIANGLELIST,
                     Quad(c.left - 0.5f, c.top - 0.5f, right - 0.5f, bottom - 0.5f, c.mirror ? 1.0f : 0.0f, 0.0f,
                          c.mirror ? 0.0f : 1.0f, 1.0f)),
                D3D_OK);
      EXPECT_EQ(device_->EndScene(), D3D_OK);
      EXPECT_EQ(device_->BeginScene(), D3D_OK);
    }
    return Read(target_).pixels;
  }

  IDirectDrawSurface7* target_ = nullptr;
  IDirectDrawSurface7* texture_ = nullptr;
};

}  // namespace

TEST_P(D3DSparseTexels, LeavingOutTransparentRowsChangesNoBit) {
  const std::vector<DWORD> skipping = Render();
  D3DTestVisitTransparentTexels(true);
  ASSERT_TRUE(SameValues(skipping, Render(), kTargetWidth));
}

INSTANTIATE_TEST_SUITE_P(
    Placements, D3DSparseTexels,
    ::testing::Values(SparseCase{"KeyedUnscaled", Xrgb8888Format(), Xrgb8888Format(), true, false, 10, 12, 1.0f, false},
                      SparseCase{"KeyedCutAtTheEdges", Xrgb8888Format(), Rgb565Format(), true, false, -30, -20, 1.0f, false},
                      SparseCase{"AlphaBlendedMagnified", Xrgb8888Format(), Argb8888(), false, true, 4, 2, 1.5f, false},
                      SparseCase{"AlphaTestedMirrored", Rgb565Format(), Argb4444(), false, false, 20, 8, 1.0f, true},
                      SparseCase{"KeyedShrunk", Rgb565Format(), Xrgb1555(), true, false, 0, 0, 0.9f, false}),
    [](const ::testing::TestParamInfo<SparseCase>& info) { return std::string(info.param.name); });
