// Which pixels a draw touches: the top-left fill rule, far-off vertices, rectangles,
// culling, the viewport as scissor, flat and Gouraud shading, and lines by the
// diamond-exit rule. Coverage is counted with additive blending of 1 per draw.
#include <cmath>
#include <limits>
#include <random>

#include "d3d_fixture.h"

namespace {

constexpr DWORD kOne = 0x00010101u;  // adds 1 to every colour channel

class D3DRaster : public D3DTest {
 protected:
  void SetUp() override {
    D3DTest::SetUp();
    target_ = MakeTarget(48, 40);
    StartDevice(target_);
  }

  void CountCoverage() { SetBlend(true, D3DBLEND_ONE, D3DBLEND_ONE); }

  // How often each pixel was covered (the blue channel), as rows of digits.
  std::vector<std::string> Counts() {
    EXPECT_EQ(device_->EndScene(), D3D_OK);
    Picture picture = Read(target_);
    std::vector<std::string> rows;
    for (int y = 0; y < picture.height; ++y) {
      std::string row;
      for (int x = 0; x < picture.width; ++x) row += static_cast<char>('0' + std::min<DWORD>(picture.at(x, y) & 0xFF, 9));
      rows.push_back(row);
    }
    EXPECT_EQ(device_->BeginScene(), D3D_OK);
    return rows;
  }

  // Pixels with count `value` inside [left, right) x [top, bottom), and no other counts.
  void ExpectRectangleCount(int left, int top, int right, int bottom, char value = '1') {
    std::vector<std::string> rows = Counts();
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
      for (int x = 0; x < static_cast<int>(rows[y].size()); ++x) {
        bool inside = x >= left && x < right && y >= top && y < bottom;
        ASSERT_EQ(rows[y][x], inside ? value : '0') << "at " << x << ", " << y;
      }
    }
  }

  IDirectDrawSurface7* target_ = nullptr;
};

}  // namespace

// A mesh of jittered vertices (many on pixel centres and half-pixels), both windings,
// inside an outline whose left and top edges lie on pixel centres: every pixel of
// [2, 30) x [3, 27) is covered exactly once.
TEST_F(D3DRaster, AdjacentTrianglesCoverEveryPixelExactlyOnce) {
  CountCoverage();
  std::mt19937 random(7);
  std::uniform_int_distribution<int> jitter(-6, 6);
  constexpr int kColumns = 7, kRows = 6;
  float x[kColumns + 1][kRows + 1], y[kColumns + 1][kRows + 1];
  for (int i = 0; i <= kColumns; ++i) {
    for (int j = 0; j <= kRows; ++j) {
      bool border = i == 0 || j == 0 || i == kColumns || j == kRows;
      x[i][j] = 2 + i * 4.0f + (border && (i == 0 || i == kColumns) ? 0 : jitter(random) * 0.25f);
      y[i][j] = 3 + j * 4.0f + (border && (j == 0 || j == kRows) ? 0 : jitter(random) * 0.25f);
    }
  }
  std::vector<ColouredVertex> triangles;
  for (int i = 0; i < kColumns; ++i) {
    for (int j = 0; j < kRows; ++j) {
      ColouredVertex a = At(x[i][j], y[i][j], kOne), b = At(x[i + 1][j], y[i + 1][j], kOne);
      ColouredVertex c = At(x[i][j + 1], y[i][j + 1], kOne), d = At(x[i + 1][j + 1], y[i + 1][j + 1], kOne);
      bool flip = random() & 1;
      triangles.insert(triangles.end(), flip ? std::initializer_list<ColouredVertex>{a, c, b, b, c, d}
                                             : std::initializer_list<ColouredVertex>{a, b, c, d, b, c});
    }
  }
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, triangles), D3D_OK);
  ExpectRectangleCount(2, 3, 30, 27);
}

TEST_F(D3DRaster, TopLeftEdgesOwnTheCentresOnThem) {
  CountCoverage();
  // Right triangle with its legs on pixel centres: the top and left legs are owned, the
  // hypotenuse x + y = 12 is not.
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, std::vector<ColouredVertex>{At(2, 2, kOne), At(10, 2, kOne), At(2, 10, kOne)}),
            D3D_OK);
  std::vector<std::string> rows = Counts();
  EXPECT_EQ(rows[1].substr(0, 12), "000000000000");
  EXPECT_EQ(rows[2].substr(0, 12), "001111111100");
  EXPECT_EQ(rows[9].substr(0, 12), "001000000000");
  EXPECT_EQ(rows[10].substr(0, 12), "000000000000");
}

// Fans of triangles around a point on the target whose outer corners lie millions of
// pixels away: the edges they share are clipped far out, yet each pixel is covered
// exactly once, whichever way a shared edge runs in each triangle.
TEST_F(D3DRaster, FarOffVerticesStayWatertight) {
  CountCoverage();
  std::mt19937 random(11);
  std::uniform_real_distribution<double> radius(2e6, 9e7), turn(0.3, 0.7), place(0, 40);
  for (int round = 0; round < 20; ++round) {
    ColouredVertex centre = At(static_cast<float>(place(random)), static_cast<float>(place(random)), kOne);
    std::vector<ColouredVertex> ring;
    for (double angle = 0; angle < 6.2; angle += turn(random)) {
      double r = radius(random);
      ring.push_back(At(static_cast<float>(centre.x + r * std::cos(angle)),
                        static_cast<float>(centre.y + r * std::sin(angle)), kOne));
    }
    std::vector<ColouredVertex> fan;
    for (std::size_t i = 0; i < ring.size(); ++i) {
      const ColouredVertex& next = ring[(i + 1) % ring.size()];
      fan.insert(fan.end(), i % 2 ? std::initializer_list<ColouredVertex>{centre, ring[i], next}
                                  : std::initializer_list<ColouredVertex>{next, ring[i], centre});
    }
    ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, fan), D3D_OK);
    ExpectRectangleCount(0, 0, 48, 40);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ASSERT_EQ(Fill(target_, 0), DD_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
  }
}

TEST_F(D3DRaster, NonFiniteVerticesDrawNothing) {
  CountCoverage();
  float nan = std::numeric_limits<float>::quiet_NaN(), infinity = std::numeric_limits<float>::infinity();
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, std::vector<ColouredVertex>{At(nan, 0, kOne), At(40, 0, kOne), At(0, 30, kOne),
                                                                 At(0, 0, kOne), At(infinity, 0, kOne),
                                                                 At(0, 30, kOne)}),
            D3D_OK);
  ASSERT_EQ(Draw(D3DPT_LINELIST, std::vector<ColouredVertex>{At(0, nan, kOne), At(40, 30, kOne)}), D3D_OK);
  ExpectRectangleCount(0, 0, 0, 0);
}

// The library's rectangles (six vertices, drawn as one block) cover exactly what the
// two triangles drawn one by one cover, at any fractional position.
TEST_F(D3DRaster, RectanglePairCoversWhatItsTrianglesCover) {
  CountCoverage();
  std::mt19937 random(3);
  std::uniform_real_distribution<float> place(-4, 44);
  for (int round = 0; round < 40; ++round) {
    float left = place(random), top = place(random), right = place(random), bottom = place(random);
    std::vector<TexturedVertex> quad = Quad(left, top, right, bottom);
    for (TexturedVertex& v : quad) v.diffuse = kOne;
    ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, quad), D3D_OK);
    std::vector<std::string> together = Counts();
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ASSERT_EQ(Fill(target_, 0), DD_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, std::vector<TexturedVertex>(quad.begin(), quad.begin() + 3)), D3D_OK);
    ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, std::vector<TexturedVertex>(quad.begin() + 3, quad.end())), D3D_OK);
    ASSERT_EQ(Counts(), together) << left << ", " << top << " - " << right << ", " << bottom;
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ASSERT_EQ(Fill(target_, 0), DD_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
  }
}

// The library draws a w x h graph at (x, y) from x - 0.5 to x - 0.5 + w: exactly the
// pixels x .. x + w - 1.
TEST_F(D3DRaster, HalfPixelOffsetRectangleCoversItsPixels) {
  CountCoverage();
  std::vector<TexturedVertex> quad = Quad(5 - 0.5f, 7 - 0.5f, 5 - 0.5f + 16, 7 - 0.5f + 9);
  for (TexturedVertex& v : quad) v.diffuse = kOne;
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, quad), D3D_OK);
  ExpectRectangleCount(5, 7, 21, 16);
}

TEST_F(D3DRaster, ViewportClipsLikeAScissor) {
  CountCoverage();
  D3DVIEWPORT7 viewport{5, 6, 10, 7, 0.0f, 1.0f};
  ASSERT_EQ(device_->SetViewport(&viewport), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, std::vector<ColouredVertex>{At(-100, -100, kOne), At(300, -100, kOne),
                                                                 At(-100, 300, kOne)}),
            D3D_OK);
  ASSERT_EQ(Draw(D3DPT_LINELIST, std::vector<ColouredVertex>{At(0, 8, kOne), At(48, 8, kOne)}), D3D_OK);
  std::vector<std::string> rows = Counts();
  EXPECT_EQ(rows[5], std::string(48, '0'));
  EXPECT_EQ(rows[6], std::string(5, '0') + std::string(10, '1') + std::string(33, '0'));
  EXPECT_EQ(rows[8], std::string(5, '0') + std::string(10, '2') + std::string(33, '0'));
  EXPECT_EQ(rows[12], std::string(5, '0') + std::string(10, '1') + std::string(33, '0'));
  EXPECT_EQ(rows[13], std::string(48, '0'));
}

TEST_F(D3DRaster, CullModesDropOneWinding) {
  CountCoverage();
  std::vector<ColouredVertex> clockwise{At(0, 0, kOne), At(8, 0, kOne), At(0, 8, kOne)};  // on screen, y down
  std::vector<ColouredVertex> counter{At(0, 0, kOne), At(0, 8, kOne), At(8, 0, kOne)};
  struct Case {
    DWORD mode;
    char clockwiseCount, counterCount;
  } cases[] = {{D3DCULL_NONE, '1', '1'}, {D3DCULL_CW, '0', '1'}, {D3DCULL_CCW, '1', '0'}};
  for (const Case& c : cases) {
    ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_CULLMODE, c.mode), D3D_OK);
    ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, clockwise), D3D_OK);
    EXPECT_EQ(Counts()[1][1], c.clockwiseCount) << c.mode;
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ASSERT_EQ(Fill(target_, 0), DD_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, counter), D3D_OK);
    EXPECT_EQ(Counts()[1][1], c.counterCount) << c.mode;
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    ASSERT_EQ(Fill(target_, 0), DD_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
  }
}

// ---- Shading ----

TEST_F(D3DRaster, FlatShadingTakesEachTrianglesFirstVertex) {
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT), D3D_OK);
  // Only vertices 0 and 3 carry the colour, as the library writes its rectangles.
  std::vector<TexturedVertex> quad = Quad(0, 0, 16, 16, 0, 0, 1, 1, 0);
  quad[0].diffuse = 0xFF102030u;
  quad[3].diffuse = 0xFF405060u;
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, quad), D3D_OK);
  // A strip: triangle i takes vertex i.
  std::vector<ColouredVertex> strip{At(20, 0, 0xFF0000FFu), At(40, 0, 0xFF00FF00u), At(20, 16, 0xFFFF0000u),
                                    At(40, 16, 0xFFFFFFFFu)};
  ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, kColouredFormat, strip.data(), 4, 0), D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  Picture picture = Read(target_);
  EXPECT_EQ(picture.at(1, 1), 0xFF102030u);
  EXPECT_EQ(picture.at(14, 14), 0xFF405060u);
  EXPECT_EQ(picture.at(21, 1), 0xFF0000FFu);
  EXPECT_EQ(picture.at(38, 14), 0xFF00FF00u);
  Save(picture, "d3d_flat_shading");
}

TEST_F(D3DRaster, GouraudInterpolatesBetweenVertices) {
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD), D3D_OK);
  // Red runs 0 -> 200 over x 0 -> 40, green 0 -> 200 over y 0 -> 40.
  ASSERT_EQ(Draw(D3DPT_TRIANGLELIST, std::vector<ColouredVertex>{At(0, 0, 0xFF000000u), At(40, 0, 0xFFC80000u),
                                                                 At(0, 40, 0xFF00C800u)}),
            D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  Picture picture = Read(target_);
  EXPECT_EQ(picture.at(10, 5), 0xFF321900u);  // x 10 -> 50, y 5 -> 25
  EXPECT_EQ(picture.at(20, 12), 0xFF643C00u);
}

// ---- Lines ----

TEST_F(D3DRaster, LinesLeaveOutTheirEndPixel) {
  CountCoverage();
  // As the library sends them: ends pulled back by 0.1.
  ASSERT_EQ(Draw(D3DPT_LINELIST, std::vector<ColouredVertex>{At(10, 10, kOne), At(10, 19.9f, kOne)}), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_LINELIST, std::vector<ColouredVertex>{At(20, 5, kOne), At(29.9f, 5, kOne)}), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_LINELIST, std::vector<ColouredVertex>{At(30, 30, kOne), At(30, 30, kOne)}), D3D_OK);
  std::vector<std::string> rows = Counts();
  for (int y = 0; y < 40; ++y) EXPECT_EQ(rows[y][10], y >= 10 && y <= 19 ? '1' : '0') << y;
  EXPECT_EQ(rows[5].substr(18, 14), "00111111111100");
  EXPECT_EQ(rows[30][30], '0');
}

TEST_F(D3DRaster, DiagonalAndBackwardLines) {
  CountCoverage();
  // x-major: y at each column centre, ties to the upper row.
  ASSERT_EQ(Draw(D3DPT_LINELIST, std::vector<ColouredVertex>{At(0, 0, kOne), At(8, 4, kOne)}), D3D_OK);
  // Backwards: from the start pixel down to, not including, the end pixel.
  ASSERT_EQ(Draw(D3DPT_LINELIST, std::vector<ColouredVertex>{At(29.9f, 20, kOne), At(20, 20, kOne)}), D3D_OK);
  std::vector<std::string> rows = Counts();
  EXPECT_EQ(rows[0].substr(0, 10), "1100000000");
  EXPECT_EQ(rows[1].substr(0, 10), "0011000000");
  EXPECT_EQ(rows[2].substr(0, 10), "0000110000");
  EXPECT_EQ(rows[3].substr(0, 10), "0000001100");
  EXPECT_EQ(rows[4].substr(0, 10), "0000000000");
  EXPECT_EQ(rows[20].substr(19, 12), "001111111111");
}

// The library's outline of (L, T) - (R, B) with its 0.1 and 0.9 end adjustments lights
// each border pixel once and nothing inside.
TEST_F(D3DRaster, OutlineLightsEachBorderPixelOnce) {
  CountCoverage();
  const float l = 4, t = 5, r = 20 - 1, b = 15 - 1;
  std::vector<ColouredVertex> lines{At(l, t, kOne),     At(r - 0.1f, t, kOne),     At(r, t, kOne),
                                    At(r, b - 0.1f, kOne), At(l, b, kOne),       At(r + 0.9f, b, kOne),
                                    At(l, t + 1, kOne), At(l, b - 0.1f, kOne)};
  ASSERT_EQ(Draw(D3DPT_LINELIST, lines), D3D_OK);
  std::vector<std::string> rows = Counts();
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 48; ++x) {
      bool border = x >= 4 && x <= 19 && y >= 5 && y <= 14 && (x == 4 || x == 19 || y == 5 || y == 14);
      ASSERT_EQ(rows[y][x], border ? '1' : '0') << x << ", " << y;
    }
  }
}

TEST_F(D3DRaster, LinesTakeTheFirstVertexColour) {
  ASSERT_EQ(device_->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT), D3D_OK);
  ASSERT_EQ(Draw(D3DPT_LINELIST, std::vector<ColouredVertex>{At(2, 2, 0xFF123456u), At(12, 2, 0xFF654321u)}), D3D_OK);
  ASSERT_EQ(device_->EndScene(), D3D_OK);
  Picture picture = Read(target_);
  EXPECT_EQ(picture.at(2, 2), 0xFF123456u);
  EXPECT_EQ(picture.at(11, 2), 0xFF123456u);
}
