// The specialised span routines (of the widest instruction set the processor has, and
// of SSE2) against the general path: random sequences of draws in the states the
// specialised routines take (and some they leave to the general path) must give
// byte-identical targets either way, on 32-bit and 16-bit targets with textures of
// every kind. Sequences of opaque draws only (whose unscaled, untinted draws of texels
// laid out as the target's are copied) must match in every bit, unused ones included.
#include <random>

#include "../support/same_values.h"
#include "d3d_fixture.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

struct PathCase {
  const char* name;
  bool sse2Only;
  DDPIXELFORMAT target;
  DDPIXELFORMAT textures[3];
  bool targetTaken = true;  // whether the specialised routines draw on this target at all
  bool opaqueOnly = false;  // no blending, colour key or alpha test
};

DWORD BitsOf(const DDPIXELFORMAT& format) {
  return format.dwRBitMask | format.dwGBitMask | format.dwBBitMask | format.dwRGBAlphaBitMask;
}

// Texels of `format`, some of the key colour (green): with `sprite`, a disc of opaque
// texels off the centre by `shift` on transparent ones (alpha 0, or the key where the
// format has no alpha); else long runs of alpha 0 and full alpha as sprites have, and
// stretches of any alpha.
std::vector<DWORD> MakeTexels(const DDPIXELFORMAT& format, bool sprite, int shift, std::mt19937& random) {
  DWORD alphaMask = format.dwRGBAlphaBitMask, colourBits = BitsOf(format) & ~alphaMask;
  std::vector<DWORD> texels(16 * 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      DWORD alpha = sprite ? alphaMask : ((x + y) % 7 < 2 ? 0 : (y % 5 == 0 ? random() & alphaMask : alphaMask));
      DWORD colour = random() % (sprite ? 13 : 9) == 0 ? format.dwGBitMask : random() & colourBits;
      bool outside = sprite && (x - 8 - shift) * (x - 8 - shift) + (y - 7) * (y - 7) >= 30;
      texels[y * 16 + x] = outside ? (alphaMask != 0 ? colour : format.dwGBitMask) : (alpha | colour);
    }
  }
  return texels;
}

// The target's pixels as stored, without their unused bits unless `allBits` (no picture
// shows them and the two paths may set them differently where a draw leaves a pixel as
// it was; opaque draws leave none).
std::vector<DWORD> StoredColours(IDirectDrawSurface7* surface, bool allBits) {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  std::vector<DWORD> pixels;
  EXPECT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
  DWORD bytes = description.ddpfPixelFormat.dwRGBBitCount / 8;
  DWORD used = allBits ? 0xFFFFFFFFu : BitsOf(description.ddpfPixelFormat);
  for (int y = 0; y < kHeight; ++y) {
    auto* row = static_cast<const BYTE*>(description.lpSurface) + static_cast<std::ptrdiff_t>(y) * description.lPitch;
    for (int x = 0; x < kWidth; ++x) {
      DWORD raw = 0;
      std::memcpy(&raw, row + x * bytes, bytes);
      pixels.push_back(raw & used);
    }
  }
  EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
  return pixels;
}

class D3DPaths : public D3DTest, public ::testing::WithParamInterface<PathCase> {
 protected:
  void SetUp() override {
    D3DTest::SetUp();
    const PathCase& c = GetParam();
    target_ = MakeTarget(kWidth, kHeight, c.target);
    std::mt19937 random(5);
    for (DWORD& pixel : background_) pixel = random() & BitsOf(c.target);
    for (int t = 0; t < 3; ++t) {
      textures_[t] = MakeTexture(16, 16, c.textures[t]);
      texels_[t] = MakeTexels(c.textures[t], t == 1, 0, random);
      DDCOLORKEY key{c.textures[t].dwGBitMask, c.textures[t].dwGBitMask};
      ASSERT_EQ(textures_[t]->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    }
  }

  // The same random sequence of draws (seeded) on the same starting picture, and the
  // target's pixels (with their unused bits where `allBits`, or the draws are opaque).
  // Halfway the sprite texture's texels change: nothing known of the old ones may stay.
  std::vector<DWORD> Render(unsigned seed, bool allBits = false) {
    PutPixels(target_, std::vector<DWORD>(std::begin(background_), std::end(background_)), kWidth, kHeight);
    for (int t = 0; t < 3; ++t) PutPixels(textures_[t], texels_[t], 16, 16);
    if (device_ == nullptr) StartDevice(target_);
    std::mt19937 random(seed);
    auto pick = [&random](int count) { return static_cast<int>(random() % count); };
    for (int draw = 0; draw < 150; ++draw) {
      if (draw == 75) PutPixels(textures_[1], MakeTexels(GetParam().textures[1], true, -5, random), 16, 16);
      static const DWORD colourOps[][3] = {{D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                                           {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                                           {D3DTOP_MODULATE, D3DTA_CURRENT, D3DTA_TEXTURE},
                                           {D3DTOP_SELECTARG2, D3DTA_DIFFUSE, D3DTA_TEXTURE},
                                           {D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_DIFFUSE}};
      static const DWORD alphaOps[][3] = {{D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                                          {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                                          {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE},
                                          {D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_DIFFUSE}};
      static const DWORD blends[][3] = {{FALSE, D3DBLEND_ONE, D3DBLEND_ZERO},
                                        {TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
                                        {TRUE, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                                        {TRUE, D3DBLEND_ONE, D3DBLEND_ZERO},
                                        {TRUE, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR}};
      const DWORD* colour = colourOps[pick(5)];
      const DWORD* alpha = alphaOps[pick(4)];
      SetStage(0, colour[0], colour[1], colour[2], alpha[0], alpha[1], alpha[2]);
      const DWORD* blend = blends[pick(5)];
      SetBlend(blend[0] != FALSE, blend[1], blend[2]);
      EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, pick(2)), D3D_OK);
      EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, pick(2)), D3D_OK);
      EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, 1 + pick(8)), D3D_OK);
      EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHAREF, pick(256)), D3D_OK);
      if (GetParam().opaqueOnly) {
        SetBlend(false);
        EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, FALSE), D3D_OK);
        EXPECT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, FALSE), D3D_OK);
      }
      int texture = pick(4);
      UseTexture(texture == 3 ? nullptr : textures_[texture]);

      static const DWORD diffuses[] = {0xFFFFFFFFu, 0x80FFFFFFu, 0xFF8040C0u, 0x00FFFFFFu};
      DWORD diffuse = pick(3) == 0 ? static_cast<DWORD>(random()) : diffuses[pick(4)];
      float x = static_cast<float>(pick(kWidth + 16) - 16) - 0.5f, y = static_cast<float>(pick(kHeight + 16) - 16) - 0.5f;
      int shape = pick(4);
      if (shape == 3) {  // turned: general triangles
        float a = 0.1f + pick(60) * 0.1f, c = std::cos(a) * 12, s = std::sin(a) * 12;
        std::vector<TexturedVertex> quad{At(x, y, 0, 0, diffuse),         At(x + c, y + s, 1, 0),
                                         At(x - s, y + c, 0, 1),          At(x + c - s, y + s + c, 1, 1, diffuse),
                                         At(x - s, y + c, 0, 1),          At(x + c, y + s, 1, 0)};
        EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, quad), D3D_OK);
      } else {
        // Unscaled, stretched or mirrored, partly outside at times; the whole texture or
        // one of its four cells.
        float width = shape == 0 ? 16.0f : static_cast<float>(4 + pick(40)), height = shape == 0 ? 16.0f : 3.0f + pick(30);
        bool mirror = shape == 2;
        int cell = pick(6);
        float u0 = cell < 4 ? 0.5f * (cell % 2) : 0.0f, v0 = cell < 4 ? 0.5f * (cell / 2) : 0.0f;
        float u1 = cell < 4 ? u0 + 0.5f : 1.0f, v1 = cell < 4 ? v0 + 0.5f : 1.0f;
        if (cell < 4 && shape == 0) width = height = 8.0f;
        EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(x, y, x + width, y + height, mirror ? u1 : u0, v0, mirror ? u0 : u1, v1,
                                                diffuse)),
                  D3D_OK);
      }
    }
    EXPECT_EQ(device_->EndScene(), D3D_OK);
    std::vector<DWORD> pixels = StoredColours(target_, allBits || GetParam().opaqueOnly);
    EXPECT_EQ(device_->BeginScene(), D3D_OK);
    return pixels;
  }

  IDirectDrawSurface7* target_ = nullptr;
  IDirectDrawSurface7* textures_[3] = {};
  std::vector<DWORD> texels_[3];
  DWORD background_[kWidth * kHeight] = {};
};

}  // namespace

TEST_P(D3DPaths, SpecialisedRoutinesMatchTheGeneralPath) {
  D3DTestUseSse2Only(GetParam().sse2Only);
  for (unsigned seed = 1; seed <= 8; ++seed) {
    int before = D3DTestSpecialisedDraws();
    std::vector<DWORD> specialised = Render(seed);
    if (GetParam().targetTaken) {
      EXPECT_GT(D3DTestSpecialisedDraws() - before, 40) << "the specialised routines were hardly used";
    } else {
      EXPECT_EQ(D3DTestSpecialisedDraws(), before) << "a target with alpha must take the general path";
    }
    D3DTestUseGeneralPathOnly(true);
    std::vector<DWORD> general = Render(seed);
    D3DTestUseGeneralPathOnly(false);
    ASSERT_TRUE(SameValues(specialised, general, kWidth)) << "seed " << seed;
    if (seed == 1 && GetParam().target.dwRGBBitCount == 32) Save(Read(target_), "d3d_random_draws");
  }
}

// Pixels over transparent texels are left out only where they would change nothing:
// the targets match in every bit, unused ones included.
TEST_P(D3DPaths, SkippingTransparentTexelsChangesNoBit) {
  D3DTestUseSse2Only(GetParam().sse2Only);
  for (bool generalOnly : {false, true}) {
    D3DTestUseGeneralPathOnly(generalOnly);
    for (unsigned seed = 11; seed <= 20; ++seed) {
      const std::vector<DWORD> skipping = Render(seed, true);
      D3DTestVisitTransparentTexels(true);
      const std::vector<DWORD> visiting = Render(seed, true);
      D3DTestVisitTransparentTexels(false);
      ASSERT_TRUE(SameValues(skipping, visiting, kWidth)) << "general path only " << generalOnly << ", seed " << seed;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, D3DPaths,
    ::testing::Values(PathCase{"Widest", false, Xrgb8888Format(), {Argb8888(), Argb8888(), Xrgb8888Format()}},
                      PathCase{"Sse2", true, Xrgb8888Format(), {Argb8888(), Argb8888(), Xrgb8888Format()}},
                      PathCase{"Widest16BitTextures", false, Xrgb8888Format(), {Argb4444(), Argb1555(), Rgb565Format()}},
                      PathCase{"WidestRgb565", false, Rgb565Format(), {Argb4444(), Argb1555(), Rgb565Format()}},
                      PathCase{"Sse2Rgb565", true, Rgb565Format(), {Argb4444(), Xrgb1555(), Argb8888()}},
                      PathCase{"WidestXrgb1555", false, Xrgb1555(), {Argb8888(), Argb4444(), Xrgb1555()}},
                      PathCase{"GeneralOnlyArgb4444", false, Argb4444(), {Argb4444(), Argb1555(), Rgb565Format()}, false},
                      PathCase{"OpaqueWidest", false, Xrgb8888Format(), {Xrgb8888Format(), Argb8888(), Argb4444()}, true, true},
                      PathCase{"OpaqueSse2", true, Xrgb8888Format(), {Xrgb8888Format(), Argb8888(), Argb4444()}, true, true},
                      PathCase{"OpaqueWidestRgb565", false, Rgb565Format(), {Rgb565Format(), Argb4444(), Rgb565Format()}, true, true},
                      PathCase{"OpaqueSse2Rgb565", true, Rgb565Format(), {Rgb565Format(), Argb4444(), Rgb565Format()}, true, true},
                      PathCase{"OpaqueWidestXrgb1555", false, Xrgb1555(), {Xrgb1555(), Argb1555(), Rgb565Format()}, true, true},
                      PathCase{"OpaqueSse2Xrgb1555", true, Xrgb1555(), {Xrgb1555(), Argb1555(), Rgb565Format()}, true, true}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });
