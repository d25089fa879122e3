// The hardware path's device, texture graphs and render states, checked against the
// Direct3D stand-in's call log.
#include <algorithm>
#include <vector>

#include "graphics/blend_stage_table.h"
#include "graphics/d3d_device.h"
#include "graphics/dd_pixel_format.h"
#include "graphics/draw_state.h"
#include "graphics/render_states.h"
#include "graphics/surface_3d_data.h"
#include "graphics/surface_data.h"
#include "graphics/texture_formats.h"
#include "graphics_fixture.h"

namespace {

class HardwareTest : public GraphicsTest {
 protected:
  void TearDown() override {
    D3DTestRecordCalls(false);
    D3DTestOfferTextureFormats({});
    GraphicsTest::TearDown();
  }

  // Full screen, so that the screen has the asked depth; nothing of the start-up is
  // left in the batch when a test begins to record.
  void StartHardware(int bits = 32) {
    Start(bits, 0, demo_scene::kHardwarePath);
    ASSERT_EQ(EndDeviceScene(), 0);
  }

  static const Surface3DData* Piece(int graph, int index = 0) {
    return GetSurface3DData(GetGraphRecord(graph)->pieces[index]);
  }
  static const SurfaceData* Store(int graph, int index = 0) { return GetSurfaceDataRecord(Piece(graph, index)->surfaceData); }

  static int Count(D3DTestCall call) {
    const std::vector<D3DTestCallRecord> log = D3DTestCallLog();
    return static_cast<int>(std::count_if(log.begin(), log.end(), [call](const D3DTestCallRecord& r) { return r.call == call; }));
  }
  // The vertex counts of the DrawPrimitive calls so far.
  static std::vector<std::uint64_t> DrawnBatches() {
    std::vector<std::uint64_t> counts;
    for (const D3DTestCallRecord& r : D3DTestCallLog()) {
      if (r.call == D3DTestCall::DrawPrimitive) counts.push_back(r.arguments[2]);
    }
    return counts;
  }
  // Draws one rectangle of a piece through the batch, as the drawing code does.
  static void AppendRectangle(const Surface3DData* piece) {
    ASSERT_EQ(PrepareDrawD3D(piece, kPrepareTransparent), 0);
    auto* vertices = static_cast<TextureVertex*>(ReserveBatchVertices(D3DPT_TRIANGLELIST, 6));
    ASSERT_NE(vertices, nullptr);
    const int order[6] = {0, 1, 2, 3, 2, 1};
    for (int i = 0; i < 6; ++i) vertices[i] = piece->vertices[order[i]];
  }
};

DDPIXELFORMAT DDFormat(DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a) {
  DDPIXELFORMAT format{};
  BuildDDPixelFormatBody(&format, bits, r, g, b, a);
  return format;
}

}  // namespace

TEST_F(HardwareTest, BatchesReachTheDeviceOnlyOnAChangeWhenFullOrAtSceneEnd) {
  StartHardware();
  const int graph = CreateBlankGraph(64, 64, 1, 0, 0);
  ASSERT_GE(graph, 0);
  D3DTestRecordCalls(true);
  ASSERT_EQ(BeginDeviceScene(), 0);
  SetBlendMode(1, 64);
  AppendRectangle(Piece(graph));
  AppendRectangle(Piece(graph));
  // The blend parameter travels in the diffuse colour: no state changes, no draw.
  SetBlendMode(1, 128);
  AppendRectangle(Piece(graph));
  EXPECT_TRUE(DrawnBatches().empty());
  // Another primitive type sends what is pending first.
  ASSERT_NE(ReserveBatchVertices(D3DPT_LINELIST, 2), nullptr);
  EXPECT_EQ(DrawnBatches(), std::vector<std::uint64_t>({18}));
  // A full batch is sent before the vertices that would not fit.
  AppendRectangle(Piece(graph));
  for (int i = 0; i < kVertexCapacities[kVertexKindTexture] / 6; ++i) {
    ASSERT_NE(ReserveBatchVertices(D3DPT_TRIANGLELIST, 6), nullptr);
  }
  const std::vector<std::uint64_t> full = DrawnBatches();
  ASSERT_EQ(full.size(), 3u);
  EXPECT_EQ(full[1], 2u);
  EXPECT_EQ(full[2], static_cast<std::uint64_t>(kVertexCapacities[kVertexKindTexture] / 6 * 6));
  // The scene's end sends the rest, once.
  ASSERT_EQ(EndDeviceScene(), 0);
  EXPECT_EQ(DrawnBatches().size(), 4u);
  EXPECT_EQ(Count(D3DTestCall::EndScene), 1);
  ASSERT_EQ(EndDeviceScene(), 0);
  EXPECT_EQ(Count(D3DTestCall::EndScene), 1);
}

TEST_F(HardwareTest, AStateChangeSendsThePendingBatchAndTheCacheDropsRepeats) {
  StartHardware();
  const int graph = CreateBlankGraph(64, 64, 1, 0, 0);
  ASSERT_GE(graph, 0);
  AppendRectangle(Piece(graph));
  D3DTestRecordCalls(true);
  AppendRectangle(Piece(graph));
  EXPECT_EQ(Count(D3DTestCall::SetRenderState), 0);
  EXPECT_EQ(Count(D3DTestCall::SetTextureStageState), 0);
  EXPECT_EQ(Count(D3DTestCall::SetTexture), 0);
  EXPECT_TRUE(DrawnBatches().empty());
  // Additive blending changes the factors: the 12 pending vertices go first.
  SetBlendMode(2, 255);
  AppendRectangle(Piece(graph));
  const std::vector<D3DTestCallRecord> log = D3DTestCallLog();
  const auto draw = std::find_if(log.begin(), log.end(), [](const D3DTestCallRecord& r) { return r.call == D3DTestCall::DrawPrimitive; });
  const auto blend = std::find_if(log.begin(), log.end(), [](const D3DTestCallRecord& r) {
    return r.call == D3DTestCall::SetRenderState && r.arguments[0] == D3DRENDERSTATE_DESTBLEND;
  });
  ASSERT_NE(draw, log.end());
  ASSERT_NE(blend, log.end());
  EXPECT_LT(draw - log.begin(), blend - log.begin());
  EXPECT_EQ(draw->arguments[2], 12u);
  EXPECT_EQ(blend->arguments[1], D3DBLEND_ONE);
  // Force sends everything again although nothing changed.
  D3DTestRecordCalls(true);
  ASSERT_EQ(ReapplyAllDeviceStates(GetCurrentD3DDeviceId()), 0);
  EXPECT_GE(Count(D3DTestCall::SetRenderState), 10);
  EXPECT_GE(Count(D3DTestCall::SetTextureStageState), 6);
}

TEST_F(HardwareTest, ABlendModeOutsideTheDeviceTableIsRefused) {
  StartHardware();
  const int graph = CreateBlankGraph(32, 32, 1, 0, 0);
  ASSERT_GE(graph, 0);
  DrawState.blendMode = 99;  // the setter stores the mode unchecked
  D3DTestRecordCalls(true);
  EXPECT_EQ(PrepareDrawD3D(Piece(graph), kPrepareTransparent), -1);
  EXPECT_EQ(Count(D3DTestCall::SetRenderState), 0);
  EXPECT_EQ(GetDeviceBlendFactors(9), nullptr);
  EXPECT_EQ(GetDeviceBlendFactors(-1), nullptr);
}

TEST_F(HardwareTest, TheTransparentFlagKeysOpaqueTexturesOnly) {
  StartHardware();
  DrawState.newGraphAlphaTest = 0;  // no alpha test: the colour key makes such graphs transparent
  const int plain = CreateBlankGraph(32, 32, 1, 0, 0);
  ASSERT_GE(plain, 0);
  ASSERT_EQ(PrepareDrawD3D(Piece(plain), kPrepareTransparent), 0);
  EXPECT_EQ(GetCurrentD3DDeviceRecord()->colorKeyEnable, 1u);
  ASSERT_EQ(PrepareDrawD3D(Piece(plain), 0), 0);
  EXPECT_EQ(GetCurrentD3DDeviceRecord()->colorKeyEnable, 0u);
}

TEST_F(HardwareTest, EachGraphKindGetsItsTextureFormatAtBothDepths) {
  for (const int bits : {16, 32}) {
    SCOPED_TRACE(bits);
    StartHardware(bits);
    const int d = bits == 16 ? 0 : 1;
    // New graphs test alpha by default; alpha pictures are 32-bit textures; render
    // targets have neither alpha nor alpha test.
    const int keyed = CreateBlankGraph(32, 32, 1, 0, 0);
    const int alpha = CreateBlankGraph(32, 32, 1, 1, 0);
    SetDrawValidGraphCreateFlag(1);
    const int target = CreateBlankGraph(32, 32, 1, 0, 0);
    SetDrawValidGraphCreateFlag(0);
    DrawState.newGraphAlphaTest = 0;
    const int plain = CreateBlankGraph(32, 32, 1, 0, 0);
    for (int graph : {keyed, alpha, target, plain}) ASSERT_GE(graph, 0);
    EXPECT_EQ(Store(keyed)->formatKind, kTextureAlphaTest16 + d);
    EXPECT_EQ(Store(alpha)->formatKind, kTextureAlpha32);
    EXPECT_EQ(Store(target)->formatKind, kTextureTarget16 + d);
    EXPECT_EQ(Store(plain)->formatKind, kTexturePlain16 + d);
    EXPECT_EQ(GetTextureFormatPixelFormatByFlags(1, 0, 0, 1), GetTextureFormatPixelFormat(kTextureTargetAlpha));
    // The formats the device offered: 565, 4444 and 1555 at 16 bits, 8888 at 32.
    EXPECT_EQ(GetTextureFormatPixelFormat(kTexturePlain16)->maskG, 0x7E0u);
    EXPECT_EQ(GetTextureFormatPixelFormat(kTexturePlain32)->bitsPerPixel, 32);
    EXPECT_EQ(GetTextureFormatPixelFormat(kTextureAlpha16)->maskA, 0xF000u);
    EXPECT_EQ(GetTextureFormatPixelFormat(kTextureAlphaTest16)->maskA, 0x8000u);
    EXPECT_EQ(GetTextureFormatPixelFormat(kTextureTargetAlpha)->maskA, 0xFF000000u);
    demo_scene::EndGraphics();
    started_ = false;
  }
}

TEST_F(HardwareTest, ADeviceWithoutA32BitPlainFormatUsesThe16BitOne) {
  D3DTestOfferTextureFormats({DDFormat(16, 0xF800, 0x7E0, 0x1F, 0), DDFormat(16, 0xF00, 0xF0, 0xF, 0xF000),
                              DDFormat(16, 0x7C00, 0x3E0, 0x1F, 0x8000)});
  StartHardware();
  for (int kind : {kTexturePlain32, kTextureTarget16, kTextureTarget32}) {
    EXPECT_TRUE(SamePixelFormat(GetTextureFormatPixelFormat(kind), GetTextureFormatPixelFormat(kTexturePlain16)));
  }
  // No 32-bit alpha format either: kinds 3, 5 and 8 come from the 16-bit alpha one.
  EXPECT_EQ(GetTextureFormatPixelFormat(kTextureAlpha32)->maskA, 0xF000u);
  EXPECT_EQ(GetTextureFormatPixelFormat(kTextureTargetAlpha)->maskA, 0xF000u);
}

TEST_F(HardwareTest, WidePicturesAreCutIntoPowerOfTwoPiecesAndSmallOnesFitOne) {
  StartHardware();
  const int wide = CreateBlankGraph(1500, 40, 1, 0, 0);
  ASSERT_GE(wide, 0);
  ASSERT_EQ(GetGraphRecord(wide)->pieceCount, 2);
  EXPECT_EQ(Store(wide, 0)->width, 1024);
  EXPECT_EQ(Store(wide, 1)->width, 512);
  EXPECT_EQ(Piece(wide, 1)->x, 1024);
  EXPECT_EQ(Piece(wide, 1)->width, 476);
  EXPECT_FLOAT_EQ(Piece(wide, 1)->vertices[3].u, 476.0f / 512.0f);
  const int small = CreateBlankGraph(100, 100, 1, 0, 0);
  ASSERT_GE(small, 0);
  ASSERT_EQ(GetGraphRecord(small)->pieceCount, 1);
  EXPECT_EQ(Store(small)->width, 128);
  EXPECT_EQ(Store(small)->height, 128);
  // Nine by eight pieces would pass the 64 a graph holds: refused, nothing left.
  const int live = Surface3DDataTable.liveCount;
  EXPECT_EQ(CreateBlankGraph(9 * 1024, 8 * 1024, 1, 0, 0), -1);
  EXPECT_TRUE(LogHas("エラー：画像の分割数が最大数の 64 を超えました"));
  EXPECT_EQ(Surface3DDataTable.liveCount, live);
}

TEST_F(HardwareTest, APieceCarriesItsScreenVerticesAndAntiDiagonalMarks) {
  StartHardware();
  const int graph = CreateBlankGraph(384, 64, 1, 0, 0);
  ASSERT_GE(graph, 0);
  GraphRecord* record = GetGraphRecord(graph);
  const int handle = AddSurface3DData(128, 64, 256, 0, 128, 64, 256, 0, graph, nullptr, 0, 0, record->flags);
  ASSERT_GE(handle, 0);
  const Surface3DData* piece = GetSurface3DData(handle);
  EXPECT_EQ(handle >> 27, 6);
  EXPECT_FLOAT_EQ(piece->vertices[0].x, 256.0f);
  EXPECT_FLOAT_EQ(piece->vertices[1].x, 384.0f);
  EXPECT_FLOAT_EQ(piece->vertices[3].y, 64.0f);
  EXPECT_FLOAT_EQ(piece->vertices[3].u, 1.0f);
  EXPECT_FLOAT_EQ(piece->vertices[0].rhw, 1.0f);
  // The anti-diagonal runs from (0, 64) to (384, 0): only the top-right corner is on it.
  EXPECT_EQ(piece->aboveAntiDiagonal[0], 1);
  EXPECT_EQ(piece->aboveAntiDiagonal[1], 1);
  EXPECT_EQ(piece->aboveAntiDiagonal[3], 0);
  EXPECT_EQ(DeleteSurface3DData(handle), 0);
  EXPECT_EQ(GetSurface3DData(handle), nullptr);
}

TEST_F(HardwareTest, PicturesWithoutAlphaKeyTheirTransparentColourToAlpha) {
  StartHardware();
  WriteFile("keyed.bmp", MakeBmp(4, 1, [](int x, int) { return x == 1 ? 0x00FF00u : 0x804020u; }));
  const int graph = LoadGraphFile("keyed.bmp");
  ASSERT_GE(graph, 0);
  const SurfaceData* data = Store(graph);
  ASSERT_EQ(data->formatKind, kTextureAlphaTest32);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(data->surface->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
  const auto* row = static_cast<const std::uint32_t*>(description.lpSurface);
  EXPECT_EQ(row[0], 0xFF804020u);
  EXPECT_EQ(row[1] >> 24, 0u);
  EXPECT_EQ(row[2], 0xFF804020u);
  data->surface->Unlock(nullptr);
}

TEST_F(HardwareTest, AGraphTheDeviceCannotDrawIntoTurnsTheTargetOff) {
  StartHardware();
  SetDrawValidGraphCreateFlag(1);
  const int oneTexture = CreateBlankGraph(64, 64, 1, 0, 0);
  const int twoTextures = CreateBlankGraph(3000, 64, 1, 0, 0);
  SetDrawValidGraphCreateFlag(0);
  ASSERT_GE(oneTexture, 0);
  ASSERT_GE(twoTextures, 0);
  ASSERT_EQ(GetGraphRecord(twoTextures)->pieceCount, 2);
  EXPECT_EQ(SetDrawTargetD3DGraph(twoTextures), -1);
  EXPECT_EQ(IsTargetOffD3D(), 1);
  EXPECT_EQ(SetD3DDrawArea(&DrawState.clip), 0);  // nothing to set while off
  EXPECT_EQ(SetDrawTargetD3DGraph(oneTexture), 0);
  EXPECT_EQ(IsTargetOffD3D(), 0);
  EXPECT_EQ(GetCurrentD3DDeviceRecord()->renderTarget, Store(oneTexture)->surface);
  EXPECT_EQ(SetDrawTargetD3DGraph(kDrawTargetFront), 0);
  EXPECT_EQ(IsFrontTargetD3D(), 1);
}

TEST_F(HardwareTest, ADisplayChangeRebuildsTheDeviceAndReloadsTheTextures) {
  StartHardware();
  WriteFile("badge.bmp", MakeBmp(4, 1, [](int, int) { return 0x123456u; }));
  const int graph = LoadGraphFile("badge.bmp");
  ASSERT_GE(graph, 0);
  ASSERT_EQ(PrepareDrawD3D(Piece(graph), kPrepareTransparent), 0);
  DDrawTestLoseVideoMemorySurfaces();
  D3DTestRecordCalls(true);
  ASSERT_EQ(RecreateObjectsAsTheWindowDoes(), 0);
  EXPECT_TRUE(LogHas("Ｄｉｒｅｃｔ３Ｄオブジェクトは正常に取得されました"));
  EXPECT_EQ(HasDirect3DDevice(), 1);
  EXPECT_EQ(Count(D3DTestCall::CreateDevice), 1);
  const SurfaceData* data = Store(graph);
  ASSERT_NE(data->surface, nullptr);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(data->surface->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr), DD_OK);
  EXPECT_EQ(*static_cast<const std::uint32_t*>(description.lpSurface), 0xFF123456u);
  data->surface->Unlock(nullptr);
  // The new device gets every stage operation of the next draw, not only the changes.
  D3DTestRecordCalls(true);
  ASSERT_EQ(PrepareDrawD3D(Piece(graph), kPrepareTransparent), 0);
  EXPECT_GE(Count(D3DTestCall::SetTextureStageState), 4);
}
