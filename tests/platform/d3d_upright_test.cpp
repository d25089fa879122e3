// Upright sprites at another size, fetched by a plan of the columns on the specialised
// path, show the general path's texels at every scale and edge, on both lane widths.
#include "d3d_fixture.h"

namespace {

struct UprightCase {
  const char* name;
  int textureWidth;
  float left, right, u0, u1;  // the quad's pixel columns and texture coordinates (clamped)
};

TEST_F(D3DTest, UprightScaledRowsShowTheTexelsOfTheGeneralPath) {
  const UprightCase cases[] = {
      {"enlarged 1.5x", 26, 3, 42, 0, 1},
      {"enlarged 1.5x, cut by the target's right edge", 26, 40, 79, 0, 1},
      {"enlarged 2x, mirrored", 26, 5, 57, 1, 0},
      {"enlarged 1.5x from a texture narrower than a register", 6, 10, 19, 0, 1},
      {"shrunk by 8/9: registers over eight or nine texels", 36, 2, 34, 0, 1},
      {"enlarged 1.5x reaching past the texture's edges", 16, 1, 37, -0.25f, 1.25f},
  };
  auto render = [this](const UprightCase& c) {  // one opaque draw of texels all different
    IDirectDrawSurface7 *target = MakeTarget(64, 12), *texture = MakeTexture(c.textureWidth, 4);
    std::vector<DWORD> texels(static_cast<std::size_t>(c.textureWidth) * 4);
    for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = 0xFF000000u | static_cast<DWORD>(i * 2654435761u >> 8);
    PutPixels(texture, texels, c.textureWidth, 4);
    StartDevice(target);
    UseTexture(texture);
    TexelsOnly();
    EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(c.left - 0.5f, 1.5f, c.right - 0.5f, 11.5f, c.u0, 0.0f, c.u1, 1.0f)), D3D_OK);
    return EndDeviceAndRead(target);
  };
  for (const UprightCase& c : cases) {
    D3DTestUseGeneralPathOnly(true);
    const std::vector<DWORD> general = render(c);
    D3DTestUseGeneralPathOnly(false);
    for (bool sse2Only : {false, true}) {
      D3DTestUseSse2Only(sse2Only);
      const int before = D3DTestSpecialisedDraws();
      const std::vector<DWORD> specialised = render(c);
      ASSERT_GT(D3DTestSpecialisedDraws(), before) << c.name << ": the specialised routines did not draw";
      for (std::size_t i = 0; i < general.size(); ++i) {
        ASSERT_EQ(specialised[i], general[i]) << c.name << (sse2Only ? " (SSE2)" : "") << ", pixel " << i;
      }
    }
  }
}

}  // namespace
