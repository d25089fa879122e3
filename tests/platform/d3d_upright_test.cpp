// Upright sprites drawn larger, smaller or mirrored fetch their texel rows by a plan of
// the columns on the specialised path: at every scale and edge they must show the texels
// the general path shows, pixel for pixel, on the widest lanes and on SSE2.
#include "d3d_fixture.h"

namespace {

constexpr int kTargetWidth = 64;
constexpr int kTargetHeight = 12;

struct UprightCase {
  const char* name;
  int textureWidth;
  float left, right;  // pixel columns the quad spans (the library's half-pixel offset added)
  float u0, u1;       // across the texture; beyond [0, 1] the texels are clamped
};

class D3DUpright : public D3DTest {
 protected:
  // The target after one opaque draw of the case's texture, of texels all different.
  Picture Render(const UprightCase& c) {
    IDirectDrawSurface7* target = MakeTarget(kTargetWidth, kTargetHeight);
    IDirectDrawSurface7* texture = MakeTexture(c.textureWidth, 4);
    std::vector<DWORD> texels(static_cast<std::size_t>(c.textureWidth) * 4);
    for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = 0xFF000000u | static_cast<DWORD>(i * 2654435761u >> 8);
    PutPixels(texture, texels, c.textureWidth, 4);
    PutPixels(target, std::vector<DWORD>(kTargetWidth * kTargetHeight, 0x00102030u), kTargetWidth, kTargetHeight);
    StartDevice(target);
    UseTexture(texture);
    SetStage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    SetBlend(false);
    EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(c.left - 0.5f, 1.5f, c.right - 0.5f, 11.5f, c.u0, 0.0f, c.u1, 1.0f)), D3D_OK);
    EXPECT_EQ(device_->EndScene(), D3D_OK);
    Picture picture = Read(target);
    device_->Release();
    device_ = nullptr;
    return picture;
  }
};

TEST_F(D3DUpright, ScaledRowsShowTheTexelsOfTheGeneralPath) {
  const UprightCase cases[] = {
      {"enlarged 1.5x", 26, 3, 42, 0, 1},
      {"enlarged 1.5x, cut by the target's right edge", 26, 40, 79, 0, 1},
      {"enlarged 1.5x, cut by the target's left edge", 26, -17, 22, 0, 1},
      {"enlarged 2x, mirrored", 26, 5, 57, 1, 0},
      {"enlarged 1.5x from a texture narrower than a register", 6, 10, 19, 0, 1},
      {"shrunk by 8/9: registers over eight or nine texels", 36, 2, 34, 0, 1},
      {"shrunk by half", 48, 9, 33, 0, 1},
      {"enlarged 1.5x from the middle of the texture", 32, 4, 28, 0.25f, 0.75f},
      {"enlarged 1.5x reaching past the texture's edges", 16, 1, 37, -0.25f, 1.25f},
  };
  for (const UprightCase& c : cases) {
    D3DTestUseGeneralPathOnly(true);
    const Picture general = Render(c);
    D3DTestUseGeneralPathOnly(false);
    for (bool sse2Only : {false, true}) {
      D3DTestUseSse2Only(sse2Only);
      const int before = D3DTestSpecialisedDraws();
      const Picture specialised = Render(c);
      ASSERT_GT(D3DTestSpecialisedDraws(), before) << c.name << ": the specialised routines did not draw";
      for (int i = 0; i < kTargetWidth * kTargetHeight; ++i) {
        ASSERT_EQ(specialised.pixels[i], general.pixels[i])
            << c.name << (sse2Only ? " (SSE2)" : "") << ", pixel " << i % kTargetWidth << ", " << i / kTargetWidth;
      }
    }
  }
}

}  // namespace
