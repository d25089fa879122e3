// What each covered pixel becomes: texel sampling and addressing, 16-bit texel and
// target formats, colour key, alpha test, the stage operations, untextured draws, every
// blend factor pair of the library's blend modes, the exact inversion its subtraction
// relies on, Z, and drawing into a texture.
#include <algorithm>

#include "d3d_fixture.h"

namespace {

DWORD Channel(DWORD argb, int shift) { return (argb >> shift) & 0xFF; }

// round(x / 255)
DWORD Round255(DWORD x) { return (2 * x + 255) / 510; }

// Each case runs through the specialised span routines where they apply (of the widest
// instruction set the processor has, and of SSE2), and through the general path only.
enum class PixelPath { Specialised, Sse2, GeneralOnly };

class D3DPixel : public D3DTest, public ::testing::WithParamInterface<PixelPath> {
 protected:
  void SetUp() override {
    D3DTest::SetUp();
    D3DTestUseGeneralPathOnly(GetParam() == PixelPath::GeneralOnly);
    D3DTestUseSse2Only(GetParam() == PixelPath::Sse2);
    target_ = MakeTarget(32, 32);
  }

  IDirectDrawSurface7* TextureWith(int width, int height, const std::vector<DWORD>& raw,
                                   const DDPIXELFORMAT& format = Argb8888(), DWORD extraCaps = 0) {
    IDirectDrawSurface7* texture = MakeTexture(width, height, format, extraCaps);
    PutPixels(texture, raw, width, height);
    return texture;
  }

  // The texture drawn as the library draws a graph at (x, y), unscaled.
  void DrawAt(float x, float y, int width, int height, DWORD diffuse = 0xFFFFFFFFu) {
    ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(x - 0.5f, y - 0.5f, x - 0.5f + width, y - 0.5f + height, 0, 0, 1, 1,
                                            diffuse)),
              D3D_OK);
  }

  Picture Finish(IDirectDrawSurface7* target) {
    EXPECT_EQ(device_->EndScene(), D3D_OK);
    return Read(target);
  }

  IDirectDrawSurface7* target_ = nullptr;
};

std::vector<DWORD> Ramp(int count, DWORD base = 0xFF000000u) {
  std::vector<DWORD> texels;
  for (int i = 0; i < count; ++i) texels.push_back(base | static_cast<DWORD>(i * 0x010305));
  return texels;
}

}  // namespace

// ---- Sampling ----

TEST_P(D3DPixel, UnscaledGraphReproducesItsTexels) {
  StartDevice(target_);
  std::vector<DWORD> texels = Ramp(64);
  UseTexture(TextureWith(8, 8, texels));
  TexelsOnly();
  DrawAt(3, 4, 8, 8);
  Picture picture = Finish(target_);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) ASSERT_EQ(picture.at(3 + x, 4 + y), texels[y * 8 + x]) << x << ", " << y;
  }
  EXPECT_EQ(picture.at(2, 4), 0xFF000000u);
  EXPECT_EQ(picture.at(11, 4), 0xFF000000u);
}

// Point sampling takes texel floor(u x width): a pixel centre exactly on a texel edge
// takes the texel to the right of it.
TEST_P(D3DPixel, PointSamplingAtTexelEdges) {
  StartDevice(target_);
  std::vector<DWORD> texels = Ramp(8);
  UseTexture(TextureWith(8, 1, texels));
  TexelsOnly();
  // Halved: centres at u x 8 = 0, 2, 4, 6 (edges).
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(0, 0, 4, 1)), D3D_OK);
  // Doubled with the half-pixel offset: texel x / 2.
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(-0.5f, 1.5f, 15.5f, 2.5f)), D3D_OK);
  // Mirrored: u runs from 1 to 0.
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(-0.5f, 3.5f, 7.5f, 4.5f, 1, 0, 0, 1)), D3D_OK);
  Picture picture = Finish(target_);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(picture.at(x, 0), texels[2 * x]) << x;
  for (int x = 0; x < 16; ++x) EXPECT_EQ(picture.at(x, 2), texels[x / 2]) << x;
  for (int x = 0; x < 8; ++x) EXPECT_EQ(picture.at(x, 4), texels[7 - x]) << x;
}

TEST_P(D3DPixel, ClampAndWrapAddressing) {
  StartDevice(target_);
  std::vector<DWORD> texels = Ramp(4);
  UseTexture(TextureWith(4, 1, texels));
  TexelsOnly();
  // u from -1 to 2 over 12 pixels: one texture width per 4 pixels.
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(-0.5f, -0.5f, 11.5f, 0.5f, -1, 0, 2, 1)), D3D_OK);
  ASSERT_EQ(device_->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_WRAP), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(-0.5f, 0.5f, 11.5f, 1.5f, -1, 0, 2, 1)), D3D_OK);
  Picture picture = Finish(target_);
  for (int x = 0; x < 12; ++x) {
    EXPECT_EQ(picture.at(x, 0), texels[x < 4 ? 0 : (x < 8 ? x - 4 : 3)]) << x;
    EXPECT_EQ(picture.at(x, 1), texels[x % 4]) << x;
  }
}

// Bilinear samples around (u x width - 0.5): halfway between a black and a white texel
// gives 128.
TEST_P(D3DPixel, BilinearFilteringWhenAsked) {
  StartDevice(target_);
  UseTexture(TextureWith(2, 1, {0xFF000000u, 0xFFFFFFFFu}));
  TexelsOnly();
  ASSERT_EQ(device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR), D3D_OK);
  ASSERT_EQ(device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR), D3D_OK);
  // Pixel centres at u x 2 = 0.5, 1.0, 1.5: samples 0, 0.5, 1 between the texels.
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(-1, 0, 3, 1)), D3D_OK);
  Picture picture = Finish(target_);
  EXPECT_EQ(picture.at(0, 0), 0xFF000000u);
  EXPECT_EQ(picture.at(1, 0), 0xFF808080u);
  EXPECT_EQ(picture.at(2, 0), 0xFFFFFFFFu);
}

// 16-bit texels widen by bit replication: 5 bits v -> v << 3 | v >> 2, 6 bits
// v << 2 | v >> 4, 4 bits v x 17, 1 bit v x 255.
TEST_P(D3DPixel, SixteenBitTexelsWidenByBitReplication) {
  IDirectDrawSurface7* target = MakeTarget(8, 4, Argb8888());
  StartDevice(target);
  TexelsOnly();
  UseTexture(TextureWith(2, 1, {(17u << 11) | (45u << 5) | 3u, 0xFFFFu}, Rgb565Format()));
  DrawAt(0, 0, 2, 1);
  UseTexture(TextureWith(2, 1, {0x8C3Fu, 0x0F00u}, Argb4444()));
  DrawAt(0, 1, 2, 1);
  UseTexture(TextureWith(2, 1, {0x8000u | (17u << 10) | (5u << 5) | 30u, 0x7FFFu}, Argb1555()));
  DrawAt(0, 2, 2, 1);
  UseTexture(TextureWith(1, 1, {0x8000u | (31u << 10)}, Xrgb1555()));
  DrawAt(0, 3, 1, 1);
  Picture picture = Finish(target);
  EXPECT_EQ(picture.at(0, 0), 0xFF8CB618u);  // 17 -> 140, 45 -> 182, 3 -> 24
  EXPECT_EQ(picture.at(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(picture.at(0, 1), 0x88CC33FFu);
  EXPECT_EQ(picture.at(1, 1), 0x00FF0000u);
  EXPECT_EQ(picture.at(0, 2), 0xFF8C29F7u);  // 17 -> 140, 5 -> 41, 30 -> 247
  EXPECT_EQ(picture.at(1, 2), 0x00FFFFFFu);
  EXPECT_EQ(picture.at(0, 3), 0xFFFF0000u);  // no alpha: 255, the unused bit ignored
}

// ---- Colour key and alpha test ----

TEST_P(D3DPixel, ColourKeyDropsTexelsOfTheKeyColour) {
  StartDevice(target_);
  ASSERT_EQ(Fill(target_, 0x123456), DD_OK);
  IDirectDrawSurface7* texture = TextureWith(4, 1, {0x0000FF00u, 0xFFFF0000u, 0xFF00FF00u, 0x8000FF01u});
  DDCOLORKEY key{0x00FF00, 0x00FF00};
  ASSERT_EQ(texture->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  UseTexture(texture);
  TexelsOnly();
  DrawAt(0, 0, 4, 1);
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, TRUE), D3D_OK);
  DrawAt(0, 1, 4, 1);
  // A 16-bit texture compares its own colour bits.
  IDirectDrawSurface7* small = TextureWith(2, 1, {0x07E0u, 0x07E1u}, Rgb565Format());
  DDCOLORKEY smallKey{0x07E0, 0x07E0};
  ASSERT_EQ(small->SetColorKey(DDCKEY_SRCBLT, &smallKey), D3D_OK);
  UseTexture(small);
  DrawAt(0, 2, 2, 1);
  Picture picture = Finish(target_);
  EXPECT_EQ(picture.at(0, 0), 0xFF00FF00u);  // key off: drawn
  EXPECT_EQ(picture.at(0, 1), 0xFF123456u);  // key on: alpha byte aside, the colour bits match
  EXPECT_EQ(picture.at(1, 1), 0xFFFF0000u);
  EXPECT_EQ(picture.at(2, 1), 0xFF123456u);
  EXPECT_EQ(picture.at(3, 1), 0xFF00FF01u);
  EXPECT_EQ(picture.at(0, 2), 0xFF123456u);
  EXPECT_EQ(picture.at(1, 2), 0xFF00FF08u);
}

TEST_P(D3DPixel, AlphaTestFunctions) {
  StartDevice(target_);
  std::vector<DWORD> texels;
  for (DWORD alpha = 0; alpha < 256; ++alpha) texels.push_back(alpha << 24 | 0xFFFFFF);
  UseTexture(TextureWith(16, 16, texels));
  TexelsOnly();
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHATESTENABLE, TRUE), D3D_OK);
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHAREF, 128), D3D_OK);
  struct Case {
    DWORD function;
    bool (*passes)(DWORD alpha);
  } cases[] = {
      {D3DCMP_NEVER, [](DWORD) { return false; }},         {D3DCMP_LESS, [](DWORD a) { return a < 128; }},
      {D3DCMP_EQUAL, [](DWORD a) { return a == 128; }},    {D3DCMP_LESSEQUAL, [](DWORD a) { return a <= 128; }},
      {D3DCMP_GREATER, [](DWORD a) { return a > 128; }},   {D3DCMP_NOTEQUAL, [](DWORD a) { return a != 128; }},
      {D3DCMP_GREATEREQUAL, [](DWORD a) { return a >= 128; }}, {D3DCMP_ALWAYS, [](DWORD) { return true; }},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Fill(target_, 0), DD_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_ALPHAFUNC, c.function), D3D_OK);
    DrawAt(0, 0, 16, 16);
    Picture picture = Finish(target_);
    for (DWORD alpha = 0; alpha < 256; ++alpha) {
      ASSERT_EQ(picture.at(alpha % 16, alpha / 16), c.passes(alpha) ? 0xFFFFFFFFu : 0xFF000000u)
          << "function " << c.function << " alpha " << alpha;
    }
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
  }
}

// ---- Stage operations ----

TEST_P(D3DPixel, StageOperationsAndArguments) {
  IDirectDrawSurface7* target = MakeTarget(8, 8, Argb8888());
  StartDevice(target);
  UseTexture(TextureWith(1, 1, {0x80C06020u}));
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_TEXTUREFACTOR, 0x40102030u), D3D_OK);
  const DWORD diffuse = 0xFF808080u;
  struct Case {
    DWORD op, arg1, arg2;
    DWORD expected;
  } cases[] = {
      {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, 0x80603010u},     // x 128 / 255, rounded
      {D3DTOP_MODULATE2X, D3DTA_TEXTURE, D3DTA_DIFFUSE, 0xFFC16020u},   // 192.75 -> 193; alpha 256 saturates
      {D3DTOP_MODULATE4X, D3DTA_TEXTURE, D3DTA_TFACTOR, 0x81303018u},   // alpha 4 x 128 x 64 / 255 = 128.5
      {D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_TFACTOR, 0xC0D08050u},
      {D3DTOP_SUBTRACT, D3DTA_TEXTURE, D3DTA_TFACTOR, 0x40B04000u},
      {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR, 0x40102030u},
      {D3DTOP_SELECTARG1, D3DTA_CURRENT, D3DTA_TEXTURE, diffuse},  // CURRENT on stage 0 is the diffuse
  };
  int row = 0;
  for (const Case& c : cases) {
    SetStage(0, c.op, c.arg1, c.arg2, c.op, c.arg1, c.arg2);
    DrawAt(0, static_cast<float>(row++), 1, 1, diffuse);
  }
  Picture picture = Finish(target);
  for (int i = 0; i < row; ++i) EXPECT_EQ(picture.at(0, i), cases[i].expected) << "case " << i;
}

// Two stages with their own textures and coordinate sets, as the blend-graph draws use:
// stage 0 mixes the first texture's alpha with the factor, stage 1 takes the second
// texture's colour and multiplies the alpha on; the specular carries 1.0.
TEST_P(D3DPixel, TwoStagesWithTheirOwnCoordinates) {
  IDirectDrawSurface7* target = MakeTarget(4, 1, Argb8888());
  StartDevice(target);
  IDirectDrawSurface7* mask = TextureWith(2, 1, {0x20000000u, 0x60000000u});
  IDirectDrawSurface7* picture = TextureWith(2, 1, {0xFF112233u, 0xFF445566u});
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT), D3D_OK);
  ASSERT_EQ(device_->SetTexture(0, mask), D3D_OK);
  ASSERT_EQ(device_->SetTexture(1, picture), D3D_OK);
  for (DWORD stage = 0; stage < 2; ++stage) {
    ASSERT_EQ(device_->SetTextureStageState(stage, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP), D3D_OK);
  }
  ASSERT_EQ(device_->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1), D3D_OK);
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_TEXTUREFACTOR, 0x10FFFFFFu), D3D_OK);
  SetStage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_TFACTOR);
  SetStage(1, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT, D3DTOP_MODULATE, D3DTA_SPECULAR, D3DTA_CURRENT);
  struct Vertex2 {
    float x, y, z, rhw;
    DWORD diffuse, specular;
    float u1, v1, u2, v2;
  };
  // The first set runs over the mask as the pixels go, the second is mirrored.
  auto at = [](float x, float y, float u) { return Vertex2{x, y, 0, 1, 0xFFFFFFFFu, 0xFFFFFFFFu, u, 0, 1 - u, 0}; };
  std::vector<Vertex2> quad{at(-0.5f, -0.5f, 0), at(1.5f, -0.5f, 1), at(-0.5f, 0.5f, 0),
                            at(1.5f, 0.5f, 1),   at(-0.5f, 0.5f, 0), at(1.5f, -0.5f, 1)};
  ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0x2C4, quad.data(), 6, 0), D3D_OK);
  Picture result = Finish(target);
  EXPECT_EQ(result.at(0, 0), 0x30445566u);  // alpha 0x20 + 0x10, colour of picture texel 1
  EXPECT_EQ(result.at(1, 0), 0x70112233u);
}

// ---- Blending ----

// Every factor pair of the library's blend modes, on a grid of sources, alphas and
// destinations: min(255, round((s x sf + d x df) / 255)) per channel.
TEST_P(D3DPixel, EveryBlendFactorPairOfTheBlendModes) {
  struct Pair {
    DWORD source, destination;
    DWORD (*factor)(DWORD s, DWORD a, DWORD d, bool sourceSide);
  };
  auto factor = [](DWORD which, DWORD s, DWORD a, DWORD d) -> DWORD {
    switch (which) {
      case D3DBLEND_ZERO: return 0;
      case D3DBLEND_ONE: return 255;
      case D3DBLEND_SRCCOLOR: return s;
      case D3DBLEND_SRCALPHA: return a;
      case D3DBLEND_INVSRCALPHA: return 255 - a;
      default: return 255 - d;  // INVDESTCOLOR
    }
  };
  // (source, destination) of modes 1, 2 and 5, 3, 4, 8, and the device default.
  const DWORD pairs[][2] = {{D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}, {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
                            {D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO},    {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR},
                            {D3DBLEND_ZERO, D3DBLEND_ONE},             {D3DBLEND_ONE, D3DBLEND_ZERO}};
  const DWORD sources[] = {0x00000000u, 0x40FF8001u, 0x80C0C0C0u, 0xFF2060A0u, 0xC7FFFFFFu, 0x01010203u};
  const DWORD destinations[] = {0x000000u, 0xFFFFFFu, 0x7F3A91u, 0x010280u};
  IDirectDrawSurface7* target = MakeTarget(6, 4);
  StartDevice(target);
  TexelsOnly();
  UseTexture(TextureWith(6, 1, std::vector<DWORD>(std::begin(sources), std::end(sources))));
  for (const auto& pair : pairs) {
    for (int row = 0; row < 4; ++row) {
      RECT line{0, row, 6, row + 1};
      ASSERT_EQ(Fill(target, destinations[row], &line), DD_OK);
    }
    SetBlend(true, pair[0], pair[1]);
    for (int row = 0; row < 4; ++row) DrawAt(0, static_cast<float>(row), 6, 1);
    Picture picture = Finish(target);
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 6; ++column) {
        DWORD s = sources[column], d = destinations[row], expected = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
          DWORD sc = Channel(s, shift), dc = Channel(d, shift), a = s >> 24;
          DWORD sum = sc * factor(pair[0], sc, a, dc) + dc * factor(pair[1], sc, a, dc);
          expected |= std::min<DWORD>(255, Round255(sum)) << shift;
        }
        ASSERT_EQ(picture.at(column, row), expected)
            << "factors " << pair[0] << ", " << pair[1] << " source " << std::hex << s << " destination " << d;
      }
    }
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
  }
}

// One draw over one pixel: worked examples of the blend modes' factors.
TEST_P(D3DPixel, OneDrawOverOnePixel) {
  const struct {
    const char* name;
    DDPIXELFORMAT target;
    DWORD background, texel, diffuse, source, destination, want;
  } spots[] = {
      // (200 x 128 + 100 x 127) / 255 = 150.2; (100 x 128 + 150 x 127) / 255 = 124.9;
      // (50 x 128 + 200 x 127) / 255 = 124.7
      {"translucent", Xrgb8888Format(), 0x6496C8, 0x80C86432u, ~0u, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
       0xFF967D7Du},
      // 100 + 100.4, 150 + 50.2 = 200, 200 + 25.1 = 225
      {"added", Xrgb8888Format(), 0x6496C8, 0x80C86432u, ~0u, D3DBLEND_SRCALPHA, D3DBLEND_ONE, 0xFFC8C8E1u},
      // 100 x 200 / 255 = 78.4, 150 x 100 / 255 = 58.8, 200 x 50 / 255 = 39.2
      {"multiplied", Xrgb8888Format(), 0x6496C8, 0x80C86432u, ~0u, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 0xFF4E3B27u},
      // A target with alpha blends it by the same factors (SRCCOLOR's alpha part is the source
      // alpha). Alpha (64 x 64 + 128 x 191) / 255 = 112.0; colour (255 x 64 + 64 x 191) / 255 = 111.9
      {"translucent onto alpha", Argb8888(), 0x80404040u, 0x40FFFFFFu, ~0u, D3DBLEND_SRCALPHA,
       D3DBLEND_INVSRCALPHA, 0x70707070u},
      // Alpha 128 x 64 / 255 = 32.1; colour 64 x 255 / 255
      {"multiplied onto alpha", Argb8888(), 0x80404040u, 0x40FFFFFFu, ~0u, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR,
       0x20404040u},
      // No texture on stage 0: colour and alpha from the diffuse, whatever the stage set-up says.
      // 255 x 128 / 255 red, 255 x 127 / 255 blue
      {"untextured", Xrgb8888Format(), 0x0000FF, 0, 0x80FF0000u, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
       0xFF80007Fu},
  };
  for (const auto& spot : spots) {
    SCOPED_TRACE(spot.name);
    IDirectDrawSurface7* target = MakeTarget(1, 1, spot.target);
    ASSERT_EQ(Fill(target, spot.background), DD_OK);
    if (device_ != nullptr) device_->Release();
    StartDevice(target);
    UseTexture(spot.texel != 0 ? TextureWith(1, 1, {spot.texel}) : nullptr);
    TexelsOnly();
    SetBlend(true, spot.source, spot.destination);
    DrawAt(0, 0, 1, 1, spot.diffuse);
    EXPECT_EQ(Finish(target).at(0, 0), spot.want);
  }
}

// The library subtracts on the device by inverting the destination (a white box with
// INVDESTCOLOR, ZERO), adding, and inverting again. On 5-bit channels the inversion is
// exact: v -> 31 - v for every v, and twice gives v back.
TEST_P(D3DPixel, InversionIsExactOnFiveBitChannels) {
  IDirectDrawSurface7* target = MakeTarget(32, 2, Xrgb1555());
  StartDevice(target);
  std::vector<DWORD> raw;
  for (DWORD v = 0; v < 32; ++v) raw.push_back(v << 10 | (31 - v) << 5 | v);
  raw.insert(raw.end(), raw.begin(), raw.end());
  PutPixels(target, raw, 32, 2);
  SetBlend(true, D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO);
  std::vector<ColouredVertex> box{At(0, 0), At(32, 0), At(0, 2), At(32, 2), At(0, 2), At(32, 0)};
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, box), D3D_OK);
  Picture once = Finish(target);
  for (DWORD v = 0; v < 32; ++v) {
    DWORD inverted = 31 - v, widened = inverted << 3 | inverted >> 2, other = v << 3 | v >> 2;
    ASSERT_EQ(once.at(static_cast<int>(v), 0), 0xFF000000u | widened << 16 | other << 8 | widened) << v;
  }
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, box), D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(target->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
  for (int i = 0; i < 32; ++i) {
    auto value = static_cast<const std::uint16_t*>(description.lpSurface)[i];
    ASSERT_EQ(value, 0x8000u | raw[i]) << i;  // and the unused bit written as 1
  }
  ASSERT_EQ(target->Unlock(nullptr), DD_OK);
}

// The whole bracket on a 32-bit target: d - s x a, floored at 0.
TEST_P(D3DPixel, SubtractBracketGivesDestinationMinusSource) {
  StartDevice(target_);
  ASSERT_EQ(Fill(target_, 0x80C020), DD_OK);
  std::vector<ColouredVertex> box{At(0, 0), At(4, 0), At(0, 4), At(4, 4), At(0, 4), At(4, 0)};
  auto invert = [&] {
    SetBlend(true, D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO);
    ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, box), D3D_OK);
  };
  invert();
  SetBlend(true, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
  std::vector<ColouredVertex> source = box;
  for (ColouredVertex& v : source) v.diffuse = 0x80406060u;  // a 128: subtracts 32, 48, 48
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, source), D3D_OK);
  invert();
  Picture picture = Finish(target_);
  EXPECT_EQ(picture.at(2, 2), 0xFF609000u);  // 128 - 32, 192 - 48, 32 - 48 -> 0
}

// ---- Targets ----

TEST_P(D3DPixel, SixteenBitTargetsTruncateAndSetUnusedBits) {
  IDirectDrawSurface7* rgb565 = MakeTarget(2, 1, Rgb565Format());
  IDirectDrawSurface7* x555 = MakeTarget(2, 1, Xrgb1555());
  for (IDirectDrawSurface7* target : {rgb565, x555}) {
    ASSERT_EQ(d3d_->CreateDevice(IID_IDirect3DHALDevice, target, &device_), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(-0.5f, -0.5f, 0.5f, 0.5f, 0, 0, 1, 1, 0xFF8C4A21u)), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    device_->Release();
    device_ = nullptr;
  }
  EXPECT_EQ(PixelAt(rgb565, 0, 0), (0x8Cu >> 3) << 11 | (0x4Au >> 2) << 5 | 0x21u >> 3);
  EXPECT_EQ(PixelAt(x555, 0, 0), 0x8000u | (0x8Cu >> 3) << 10 | (0x4Au >> 3) << 5 | 0x21u >> 3);
  EXPECT_EQ(PixelAt(rgb565, 1, 0), 0u);
}

// A texture made as a render target is drawn into, then drawn with.
TEST_P(D3DPixel, RenderToTexture) {
  IDirectDrawSurface7* texture = MakeTexture(8, 8, Argb8888(), DDSCAPS_3DDEVICE);
  StartDevice(target_);
  ASSERT_EQ(device_->SetRenderTarget(texture, 0), D3D_OK);
  D3DVIEWPORT7 viewport{0, 0, 8, 8, 0.0f, 1.0f};
  ASSERT_EQ(device_->SetViewport(&viewport), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(0, 0, 4, 8, 0, 0, 1, 1, 0x80FF0000u)), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(4, 0, 8, 8, 0, 0, 1, 1, 0xFF0000FFu)), D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  ASSERT_EQ(device_->SetRenderTarget(target_, 0), D3D_OK);
  viewport = {0, 0, 32, 32, 0.0f, 1.0f};
  ASSERT_EQ(device_->SetViewport(&viewport), D3D_OK);
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
  UseTexture(texture);
  TexelsOnly();
  SetBlend(true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, Quad(-0.5f, -0.5f, 15.5f, 15.5f)), D3D_OK);
  Picture picture = Finish(target_);
  EXPECT_EQ(picture.at(0, 0), 0xFF800000u);  // half-transparent red over black
  EXPECT_EQ(picture.at(15, 15), 0xFF0000FFu);
  EXPECT_EQ(picture.at(16, 16), 0xFF000000u);
  Save(picture, "d3d_render_to_texture");
}

TEST_P(D3DPixel, DepthTestAndWrite) {
  IDirectDrawSurface7* z = Keep(MakeSurface(32, 32, ZBuffer16(), DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY));
  ASSERT_EQ(target_->AddAttachedSurface(z), DD_OK);
  StartDevice(target_);  // Z is on by default with a Z buffer attached
  DDBLTFX fx{};
  fx.dwSize = sizeof(fx);
  fx.dwFillDepth = 0xFFFF;
  ASSERT_EQ(z->Blt(nullptr, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &fx), DD_OK);
  auto box = [](float left, float z, DWORD colour) {
    std::vector<ColouredVertex> v{At(left, 0, colour), At(left + 8, 0, colour), At(left, 4, colour),
                                  At(left + 8, 4, colour), At(left, 4, colour), At(left + 8, 0, colour)};
    for (ColouredVertex& vertex : v) vertex.z = z;
    return v;
  };
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, box(0, 0.25f, 0xFFFF0000u)), D3D_OK);  // near
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, box(4, 0.75f, 0xFF00FF00u)), D3D_OK);  // far: hidden where they overlap
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, box(10, 0.1f, 0xFF0000FFu)), D3D_OK);  // nearest, not written to Z
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, box(10, 0.5f, 0xFFFFFF00u)), D3D_OK);  // so this one still passes
  Picture picture = Finish(target_);
  EXPECT_EQ(picture.at(2, 1), 0xFFFF0000u);
  EXPECT_EQ(picture.at(6, 1), 0xFFFF0000u);
  EXPECT_EQ(picture.at(9, 1), 0xFF00FF00u);
  EXPECT_EQ(picture.at(12, 1), 0xFFFFFF00u);
  EXPECT_EQ(PixelAt(z, 2, 1), static_cast<DWORD>(0.25 * 65535 + 0.5));
  EXPECT_EQ(PixelAt(z, 9, 1), static_cast<DWORD>(0.75 * 65535 + 0.5));
  EXPECT_EQ(PixelAt(z, 12, 1), 0xFFFFu);  // written with Z writes off
}

std::string PathName(const ::testing::TestParamInfo<PixelPath>& info) {
  switch (info.param) {
    case PixelPath::Specialised: return "Specialised";
    case PixelPath::Sse2: return "Sse2";
    default: return "GeneralOnly";
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, D3DPixel,
                         ::testing::Values(PixelPath::Specialised, PixelPath::Sse2, PixelPath::GeneralOnly), PathName);
