// Turned sprites as the library sends them (corners turned about the graph's centre,
// which for even sizes lies on whole pixels with the half-pixel offset): quarter turns
// move every texel to its place exactly (odd quarters as general triangles, the others
// as upright rectangles).
#include <cmath>
#include <random>

#include "../support/draw_threads.h"
#include "d3d_fixture.h"

namespace {

constexpr int kSize = 16;

// A sprite with a distinct texel everywhere and a transparent notch in one corner.
std::vector<DWORD> Sprite() {
  std::vector<DWORD> texels;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      DWORD alpha = (x < 4 && y < 4) ? 0 : 255;
      texels.push_back(alpha << 24 | static_cast<DWORD>(x * 16) << 16 | static_cast<DWORD>(y * 16) << 8 | 0x60);
    }
  }
  return texels;
}

// The six vertices of a sprite of kSize turned by `angle` about (cx - 0.5, cy - 0.5).
std::vector<TexturedVertex> Turned(float cx, float cy, double angle) {
  auto corner = [&](float gx, float gy) {
    float dx = gx - kSize / 2.0f, dy = gy - kSize / 2.0f;
    float c = static_cast<float>(std::cos(angle)), s = static_cast<float>(std::sin(angle));
    return At(cx - 0.5f + dx * c - dy * s, cy - 0.5f + dx * s + dy * c, gx / kSize, gy / kSize);
  };
  TexturedVertex tl = corner(0, 0), tr = corner(kSize, 0), bl = corner(0, kSize), br = corner(kSize, kSize);
  return {tl, tr, bl, br, bl, tr};
}

}  // namespace

TEST_F(D3DTest, QuarterTurnsMoveEveryTexelExactly) {
  IDirectDrawSurface7* target = MakeTarget(64, 64);
  StartDevice(target);
  ASSERT_EQ(Fill(target, 0x202020), DD_OK);
  IDirectDrawSurface7* texture = MakeTexture(kSize, kSize);
  std::vector<DWORD> texels = Sprite();
  PutPixels(texture, texels, kSize, kSize);
  UseTexture(texture);
  TexelsOnly();
  SetBlend(true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
  const float centres[4][2] = {{16, 16}, {48, 16}, {16, 48}, {48, 48}};
  for (int turn = 0; turn < 4; ++turn) {
    ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Turned(centres[turn][0], centres[turn][1], turn * M_PI / 2)), D3D_OK);
  }
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  Picture picture = Read(target);
  Save(picture, "d3d_quarter_turns");
  for (int turn = 0; turn < 4; ++turn) {
    int left = static_cast<int>(centres[turn][0]) - kSize / 2, top = static_cast<int>(centres[turn][1]) - kSize / 2;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        // The texel a clockwise turn by `turn` quarters brings to (x, y).
        int tx = x, ty = y;
        for (int k = 0; k < turn; ++k) {
          int previous = tx;
          tx = ty;
          ty = kSize - 1 - previous;
        }
        DWORD texel = texels[ty * kSize + tx];
        DWORD expected = (texel >> 24) == 0 ? 0xFF202020u : (texel | 0xFF000000u);
        ASSERT_EQ(picture.at(left + x, top + y), expected) << "turn " << turn << " at " << x << ", " << y;
      }
    }
    EXPECT_EQ(picture.at(left - 1, top + 5), 0xFF202020u);
    EXPECT_EQ(picture.at(left + kSize, top + 5), 0xFF202020u);
  }
}

// Screen-sized turned and upright layers, added up as the large glows are, on both
// pixel paths: drawn in tiles by the workers, they leave the serial draw's every byte.
TEST_F(D3DTest, LargeDrawsInTilesMatchTheSerialDraw) {
  constexpr int kTexture = 64;
  IDirectDrawSurface7* target = MakeTarget(640, 480);
  StartDevice(target);
  IDirectDrawSurface7* texture = MakeTexture(kTexture, kTexture);
  std::mt19937 rng(7);
  std::vector<DWORD> texels(kTexture * kTexture);
  for (DWORD& texel : texels) texel = rng();
  PutPixels(texture, texels, kTexture, kTexture);
  UseTexture(texture);
  SetStage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  SetBlend(true, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
  // `repeats`: texture coordinates run to this (beyond what one block of rows holds, an
  // upright layer is drawn row by row).
  auto layer = [](float cx, float cy, float scale, double angle, float repeats = 1.0f) {
    auto corner = [&](float gx, float gy) {
      float dx = (gx - 0.5f) * kTexture * scale, dy = (gy - 0.5f) * kTexture * scale;
      float c = static_cast<float>(std::cos(angle)), s = static_cast<float>(std::sin(angle));
      return At(cx + dx * c - dy * s, cy + dx * s + dy * c, gx * repeats, gy * repeats, 0xC0A0FFE0u);
    };
    TexturedVertex tl = corner(0, 0), tr = corner(1, 0), bl = corner(0, 1), br = corner(1, 1);
    return std::vector<TexturedVertex>{tl, tr, bl, br, bl, tr};
  };
  for (bool generalPath : {false, true}) {
    D3DTestUseGeneralPathOnly(generalPath);
    const auto drawLayers = [&] {
      EXPECT_EQ(Fill(target, 0x102030), DD_OK);
      for (double angle : {0.3, 2.0, 4.4}) EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, layer(330, 250, 7.5f, angle)), D3D_OK);
      EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, layer(300.25f, 230.5f, 9.0f, 0.0)), D3D_OK);
      EXPECT_EQ(Draw(D3DPT_TRIANGLELIST, layer(320.5f, 240.25f, 3.0f, 0.0, 3e7f)), D3D_OK);
      return Read(target).pixels;
    };
    const char* name = generalPath ? "d3d_large_layers_general" : "d3d_large_layers_fast";
    const std::vector<DWORD> serial = ExpectTilesMatchTheSerialDrawing(drawLayers, name, {8});
    Save(Picture{640, 480, serial}, name);
    EXPECT_NE(serial[240 * 640 + 320], 0xFF102030u);
  }
}
