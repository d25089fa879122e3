// Stage scenery and shop objects: sky sprites, drifting particles, the stage 3 to 5
// background pieces, the flashes of the shop and the stage-clear tally. Every record
// is an effect; nearly all ignore their arguments.
#include "core/game_state.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/drawn_terms.h"
#include "objects/effect_rows.h"

namespace {

enum class LayerRule {
  kConstant,
  kThreeOrSix,  // R(1): 0 gives 3, 1 gives 6
  kSixIfTen,    // R(10): exactly 10 gives 6, else 3
};

// Fields are drawn in the order they are declared here.
struct SceneryRow {
  int templateId;
  int behaviour;
  int blendMode;
  LayerRule layerRule = LayerRule::kConstant;
  int layer = 3;
  Term x{}, y{}, imageSet{}, animation{}, scaleDelta{}, fade{}, angle{}, facing{}, vx{}, vy{};
  Term vxOutsideStage4{};  // written: vx when Stage is not 4
};

constexpr Term kSkyRow = WholeDraw(177, 2);
constexpr Term kSkyScale = WholeDraw(1, 500, 1, 100);
constexpr Term kCoin = WholeDraw(0, 1);
constexpr Term kSparkRow = WholeDraw(180, 1);
constexpr Term kParticleScale = ScaledDraw(0.01, 250, 1, 1.0, 100);
constexpr Term kEndingScale = ScaledDraw(-1.0, 200, 1, 0.01);
constexpr Term kRise = ScaledDraw(-0.7, 7, 1, 0.1);

// clang-format off
const SceneryRow kRows[] = {
  // Sky sprites.
  {.templateId = 2105, .behaviour = 4058, .blendMode = 2, .layerRule = LayerRule::kThreeOrSix, .x = Constant(7500.0), .y = WholeDraw(0, 1900), .imageSet = Constant(20), .animation = kSkyRow, .scaleDelta = kSkyScale, .fade = WholeDraw(170, 40), .facing = kCoin, .vx = WholeDraw(-10, 5, -1)},
  {.templateId = 2115, .behaviour = 4058, .blendMode = 2, .layerRule = LayerRule::kThreeOrSix, .x = Constant(7500.0), .y = WholeDraw(0, 1900), .imageSet = Constant(20), .animation = kSkyRow, .scaleDelta = kSkyScale, .fade = WholeDraw(200, 40), .facing = kCoin, .vx = WholeDraw(-30, 10, -1)},
  {.templateId = 2131, .behaviour = 4058, .blendMode = 1, .layerRule = LayerRule::kThreeOrSix, .x = Constant(7500.0), .y = WholeDraw(0, 1900), .imageSet = Constant(21), .animation = kSkyRow, .scaleDelta = kSkyScale, .fade = WholeDraw(130, 50), .facing = kCoin, .vx = WholeDraw(-20, 10, -1)},
  {.templateId = 2162, .behaviour = 4087, .blendMode = 2, .layerRule = LayerRule::kThreeOrSix, .x = WholeDraw(0, 9500), .y = Constant(2400.0), .imageSet = Constant(20), .animation = kSkyRow, .scaleDelta = kSkyScale, .fade = WholeDraw(200, 40), .facing = kCoin, .vx = WholeDraw(-12, 10, -1), .vy = WholeDraw(-5, 5, -1)},
  {.templateId = 2170, .behaviour = 4058, .blendMode = 1, .layerRule = LayerRule::kSixIfTen, .x = Constant(7500.0), .y = WholeDraw(0, 1900), .imageSet = Constant(20), .animation = kSkyRow, .scaleDelta = kSkyScale, .fade = WholeDraw(100, 220), .facing = kCoin, .vx = WholeDraw(-28, 20, -1)},
  {.templateId = 2176, .behaviour = 4058, .blendMode = 1, .layerRule = LayerRule::kSixIfTen, .x = Constant(7500.0), .y = WholeDraw(0, 1900), .imageSet = Constant(20), .animation = kSkyRow, .scaleDelta = kSkyScale, .fade = WholeDraw(100, 220), .facing = kCoin, .vx = WholeDraw(-18, 10, -1)},
  {.templateId = 2233, .behaviour = 4156, .blendMode = 1, .x = WholeDraw(0, 8000), .y = Constant(-400.0), .imageSet = Constant(20), .animation = kSkyRow, .scaleDelta = kSkyScale, .fade = Constant(210.0), .facing = kCoin, .vx = WholeDraw(-38, 10, -1), .vy = WholeDraw(30, 10)},
  {.templateId = 2236, .behaviour = 4058, .blendMode = 2, .layerRule = LayerRule::kThreeOrSix, .x = Constant(2000.0), .y = WholeDraw(-500, 1000), .imageSet = Constant(20), .animation = kSkyRow, .scaleDelta = kSkyScale, .fade = WholeDraw(200, 10), .facing = kCoin, .vx = WholeDraw(-10, 5, -1)},
  {.templateId = 2239, .behaviour = 4160, .blendMode = 2, .layerRule = LayerRule::kThreeOrSix, .x = WholeDraw(-500, 2000), .y = Constant(1500.0), .imageSet = Constant(20), .animation = kSkyRow, .scaleDelta = kSkyScale, .fade = WholeDraw(180, 40), .facing = kCoin, .vy = WholeDraw(-30, 20, -1)},
  // Particles.
  {.templateId = 2106, .behaviour = 4059, .blendMode = 2, .x = WholeDraw(0, 6900), .y = WholeDraw(0, 1900), .imageSet = Constant(0), .animation = kSparkRow, .scaleDelta = kParticleScale, .fade = Constant(254.0), .vx = ScaledDraw(-0.1, 2, 1, 0.1), .vy = ScaledDraw(-0.1, 2, 1, 0.1)},
  {.templateId = 2107, .behaviour = 4060, .blendMode = 2, .x = WholeDraw(0, 6900), .y = WholeDraw(1000, 1000), .imageSet = Constant(0), .animation = kSparkRow, .scaleDelta = kParticleScale, .fade = Constant(254.0), .vx = ScaledDraw(-1.0, 1, 1, 0.1), .vy = ScaledDraw(-1.0, 1, 1, 0.1)},
  {.templateId = 2203, .behaviour = 4119, .blendMode = 2, .x = WholeDraw(0, 6900), .y = WholeDraw(1000, 1000), .imageSet = Constant(0), .animation = kSparkRow, .scaleDelta = kParticleScale, .fade = Constant(254.0), .vx = kRise, .vy = ScaledDraw(-5.0, 80, -1, 0.1)},
  {.templateId = 2204, .behaviour = 4120, .blendMode = 2, .x = WholeDraw(0, 6900), .y = WholeDraw(1000, 1000), .imageSet = Constant(40), .animation = WholeDraw(357, 1), .scaleDelta = kParticleScale, .fade = Constant(254.0), .vx = kRise, .vy = ScaledDraw(-5.0, 80, -1, 0.1)},
  {.templateId = 2224, .behaviour = 4119, .blendMode = 2, .x = WholeDraw(0, 6900), .y = WholeDraw(1000, 1000), .imageSet = Constant(0), .animation = kSparkRow, .scaleDelta = kParticleScale, .fade = Constant(254.0), .vx = kRise, .vy = ScaledDraw(-10.0, 80, -1, 0.2)},
  {.templateId = 2234, .behaviour = 4119, .blendMode = 2, .layerRule = LayerRule::kThreeOrSix, .x = WholeDraw(-200, 1500), .y = WholeDraw(1000, 1000), .imageSet = Constant(0), .animation = kSparkRow, .scaleDelta = kEndingScale, .fade = Constant(254.0), .vx = kRise, .vy = ScaledDraw(-2.0, 30, -1, 0.2)},
  {.templateId = 2240, .behaviour = 4119, .blendMode = 2, .layerRule = LayerRule::kThreeOrSix, .x = WholeDraw(-200, 1500), .y = WholeDraw(1000, 1000), .imageSet = Constant(0), .animation = kSparkRow, .scaleDelta = kEndingScale, .fade = Constant(254.0), .vx = kRise, .vy = ScaledDraw(-30.0, 40, -1, 0.2)},
  // Stage 3 to 5 background pieces.
  {.templateId = 2132, .behaviour = 4029, .blendMode = 2, .layer = 2, .x = WholeDraw(0, 5500), .y = WholeDraw(900, 400, -1, 1, 400), .imageSet = Constant(21), .animation = WholeDraw(255, 4), .scaleDelta = ScaledDraw(1.0, 10, -1, 0.1), .fade = WholeDraw(-300, 200), .facing = kCoin},
  {.templateId = 2163, .behaviour = 4087, .blendMode = 1, .layer = 2, .x = WholeDraw(0, 200), .y = WholeDraw(2400, 100), .imageSet = Constant(21), .animation = WholeDraw(297, 8), .scaleDelta = ScaledDraw(0.0, 10, 1, -0.1), .facing = Constant(0)},
  {.templateId = 2164, .behaviour = 4087, .blendMode = 1, .layer = 2, .x = WholeDraw(2000, 8000), .y = Constant(2400.0), .imageSet = Constant(22), .animation = WholeDraw(307, 2), .angle = WholeDraw(0, 360), .facing = kCoin, .vx = Constant(-4.0), .vy = Constant(-3.0)},
  {.templateId = 2165, .behaviour = 4087, .blendMode = 1, .layer = 2, .x = Constant(6700.0), .y = Constant(2000.0), .imageSet = Constant(22), .animation = WholeDraw(307, 2), .angle = WholeDraw(80, 10), .facing = kCoin, .vx = WholeDraw(-6, 3, -1), .vxOutsideStage4 = WholeDraw(-12, 3, -1)},
  {.templateId = 2166, .behaviour = 4087, .blendMode = 1, .layer = 2, .x = Constant(6700.0), .y = WholeDraw(800, 1000), .imageSet = Constant(21), .animation = WholeDraw(297, 8), .scaleDelta = ScaledDraw(0.0, 10, 1, -0.1), .facing = kCoin, .vx = WholeDraw(-4, 2, -1), .vxOutsideStage4 = WholeDraw(-8, 8, -1)},
  {.templateId = 2169, .behaviour = 4087, .blendMode = 1, .layer = 1, .x = Constant(6700.0), .y = Constant(1500.0), .imageSet = Constant(23), .animation = WholeDraw(307, 2), .facing = Constant(0), .vx = Constant(-6.0), .vxOutsideStage4 = Constant(-16.0)},
  {.templateId = 2171, .behaviour = 4087, .blendMode = 1, .layer = 1, .x = Constant(7000.0), .y = Constant(1700.0), .imageSet = WholeDraw(24, 1), .animation = Constant(297), .facing = kCoin, .vx = Constant(-12.0)},
  {.templateId = 2172, .behaviour = 4087, .blendMode = 1, .layer = 1, .x = Constant(6700.0), .y = Constant(1700.0), .imageSet = Constant(26), .animation = Constant(297), .facing = kCoin, .vx = Constant(-12.0)},
};
// clang-format on

const SceneryRow& SceneryRowOf(int templateId) { return RowOf<SceneryRow>(kRows, templateId); }

int DrawnLayer(const SceneryRow& row) {
  switch (row.layerRule) {
    case LayerRule::kConstant: return row.layer;
    case LayerRule::kThreeOrSix: {
      const int pick = RandomInRange(1);
      return pick == 0 ? 3 : 6;
    }
    case LayerRule::kSixIfTen: {
      const int pick = RandomInRange(10);
      return pick == 10 ? 6 : 3;
    }
  }
  return row.layer;
}

void Write(float& field, const Term& term) {
  if (term.written) field = Evaluate(term);
}

void Write(int& field, const Term& term) {
  if (term.written) field = FloatToInt(Evaluate(term));
}

// The row's record, its fields drawn in column order.
GameObject& CreateRowRecord(const SceneryRow& row) {
  GameObject& object =
      NewRecord({.state = 1, .category = kCategoryEffect, .blendMode = row.blendMode, .behaviour = row.behaviour});
  object.layer = DrawnLayer(row);
  Write(object.x, row.x);
  Write(object.y, row.y);
  Write(object.imageSet, row.imageSet);
  Write(object.animation, row.animation);
  Write(object.scaleDelta, row.scaleDelta);
  Write(object.fade, row.fade);
  Write(object.angle, row.angle);
  Write(object.facing, row.facing);
  Write(object.vx, Stage != 4 && row.vxOutsideStage4.written ? row.vxOutsideStage4 : row.vx);
  Write(object.vy, row.vy);
  return object;
}

void CreateRow(const TemplateCall& call) { CreateRowRecord(SceneryRowOf(call.templateId)); }

// 2163: its first draw picks one of three velocities; x is the argument plus a draw.
void CreateRockPiece2163(const TemplateCall& call) {
  constexpr float kVelocities[3][2] = {{-4.0f, -3.0f}, {-8.0f, -6.0f}, {-2.0f, -1.5f}};
  const int pick = RandomInRange(2);
  GameObject& piece = CreateRowRecord(SceneryRowOf(2163));
  piece.x = static_cast<float>(call.x + FloatToInt(piece.x));
  piece.vx = kVelocities[pick][0];
  piece.vy = kVelocities[pick][1];
}

// 2169 in stage 5 adds a glow beside a piece of row 307.
void CreateFarPiece2169(const TemplateCall& call) {
  const GameObject& piece = CreateRowRecord(SceneryRowOf(call.templateId));
  if (Stage != 5 || piece.animation != 307) return;
  GameObject& glow = NewRecord({.state = 1, .layer = 1, .category = kCategoryEffect, .vx = -16.0f, .imageSet = 6,
                                .blendMode = 2, .animation = 319, .facing = 0, .behaviour = 4091});
  glow.x = 6700.0f;
  glow.y = 940.0f;
}

// 2161: stage 4 rain around the player.
void CreateRain2161(const TemplateCall&) {
  GameObject& drop = NewRecord({.state = 1, .layer = 6, .category = kCategoryEffect, .collidable = 0, .width = 32,
                                .height = 32, .imageSet = 6, .blendMode = 2, .behaviour = 4086});
  const int dx = RandomInRange(4000);
  drop.x = static_cast<float>((ObjectPool[kPlayerSlot].x - 2000.0) + dx);
  drop.y = -200.0f;
  const int row = RandomInRange(2);
  drop.animation = 294 + row;
  const int fade = RandomInRange(100);
  drop.fade = static_cast<float>(50 + fade);
  const int vx = RandomInRange(10);
  drop.vx = static_cast<float>(-vx);
  const int vy = RandomInRange(50);
  drop.vy = static_cast<float>(50 + vy);
  const int scale = RandomInRange(10);
  drop.scaleDelta = static_cast<float>(scale * 0.1);
}

// 2201: stage 7 particles, faster as the background scrolls faster.
void CreateStage7Particle2201(const TemplateCall&) {
  GameObject& particle = NewRecord(
      {.state = 1, .layer = 3, .category = kCategoryEffect, .imageSet = 40, .blendMode = 2, .behaviour = 4117});
  const int x = RandomInRange(7200);
  particle.x = static_cast<float>(x);
  particle.y = -200.0f;
  const int row = RandomInRange(4);
  particle.animation = 351 + row;
  const int fade = RandomInRange(200);
  particle.fade = static_cast<float>(fade + BackgroundBlendCounter / 7);
  const int drift = RandomInRange(2);
  particle.vx = static_cast<float>(-1.0 - drift * 0.1 - Stage7ScrollBoost);
  const int fall = RandomInRange(2);
  particle.vy = static_cast<float>(1.0 + fall * 0.1);
}

// ---------------------------------------------------------------------------------
// Flashes on the player and the options
// ---------------------------------------------------------------------------------

TemplateRow FlashRow(int imageSet, int animation, int behaviour, RowField<float> scaleDelta, float fade) {
  return {.state = 1, .layer = 6, .category = kCategoryEffect, .imageSet = imageSet, .blendMode = 2, .fade = fade,
          .animation = animation, .scaleDelta = scaleDelta, .behaviour = behaviour};
}

void FlashesOnPlayer(const TemplateRow& row, int count, const TemplateCall& call) {
  for (int i = 0; i < count; ++i) PlaceRecord(NewRecord(row), Place::kPlayer, FacingFrom::kNotWritten, call);
}

// 2137 and 2139: two rings, then three of the bought item's row.
void CreateShopFlash(const TemplateCall& call) {
  const int itemRow = call.templateId == 2137 ? 264 : 265;
  FlashesOnPlayer(FlashRow(6, 168, 4077, 10.0f, 270.0f), 2, call);
  FlashesOnPlayer(FlashRow(6, itemRow, 4077, 10.0f, 270.0f), 3, call);
}

void CreateSsFlash2138(const TemplateCall& call) { FlashesOnPlayer(FlashRow(6, 168, 4077, 10.0f, 270.0f), 1, call); }

void CreateGuardHealFlash2140(const TemplateCall& call) {
  FlashesOnPlayer(FlashRow(6, 266, 4077, 15.0f, 270.0f), 3, call);
}

void CreateBonusFlash2195(const TemplateCall& call) {
  PlaySe(50, 255);
  FlashesOnPlayer(FlashRow(6, 339, 4056, 10.0f, 340.0f), 3, call);
}

void CreateWhiteFlash2202(const TemplateCall& call) {
  FlashesOnPlayer(FlashRow(6, 356, 4118, std::nullopt, 255.0f), 1, call);
}

void CreateOptionMarker2160(const TemplateCall& call) {
  for (int i = 0; i < 3; ++i) {
    GameObject& marker = NewRecord(FlashRow(6, 168, 4085, 0.0f, 300.0f));
    PlaceRecord(marker, Place::kParent, FacingFrom::kNotWritten, call);
    const int turn = RandomInRange(360);
    marker.angle = static_cast<float>(turn);
    marker.work[0] = static_cast<float>(call.parentSlot);
  }
}

void CreateStageClearFlash2175(const TemplateCall&) {
  TemplateRow row = FlashRow(1, 325, 4095, std::nullopt, 255.0f);
  row.collidable = 0;
  row.facing = 0;
  GameObject& flash = NewRecord(row);
  flash.x = static_cast<float>(ObjectPool[kPlayerSlot].x - 100.0);
  flash.y = static_cast<float>(ObjectPool[kPlayerSlot].y + 32.0);
}

const TemplateEntry kEntries[] = {
    {2105, CreateRow},          {2115, CreateRow},          {2131, CreateRow},
    {2162, CreateRow},          {2170, CreateRow},          {2176, CreateRow},
    {2233, CreateRow},          {2236, CreateRow},          {2239, CreateRow},
    {2106, CreateRow},          {2107, CreateRow},          {2203, CreateRow},
    {2204, CreateRow},          {2224, CreateRow},          {2234, CreateRow},
    {2240, CreateRow},          {2132, CreateRow},          {2163, CreateRockPiece2163},
    {2164, CreateRow},          {2165, CreateRow},          {2166, CreateRow},
    {2169, CreateFarPiece2169}, {2171, CreateRow},          {2172, CreateRow},
    {2161, CreateRain2161},     {2201, CreateStage7Particle2201},
    {2137, CreateShopFlash},    {2138, CreateSsFlash2138},  {2139, CreateShopFlash},
    {2140, CreateGuardHealFlash2140}, {2195, CreateBonusFlash2195}, {2202, CreateWhiteFlash2202},
    {2160, CreateOptionMarker2160},   {2175, CreateStageClearFlash2175},
};

}  // namespace

std::span<const TemplateEntry> StageSceneryTemplates() { return kEntries; }
