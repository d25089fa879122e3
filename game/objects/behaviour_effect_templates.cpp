// Effects that behaviours create: the trails of player shots, pickup sparkles, the
// auras and sparks of the player's actions and bursts, boss and wreck effects, the
// trails of small debris, and a few effects no caller creates.
#include "core/game_state.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/effect_rows.h"

namespace {

// A row that writes no size.
constexpr TemplateRow Unsized(int layer, int imageSet, RowField<int> animation, int behaviour) {
  return EffectRow(layer, {}, imageSet, animation, behaviour);
}

constexpr TemplateRow kStill = {.collidable = 0};
constexpr TemplateRow kNarrowHitBox = {.collidable = 0, .hitWidth = 5, .hitHeight = 16};
constexpr TemplateRow kWreckCloud = {.vx = 0.1f, .vy = 0.3f, .fade = -30.0f, .scaleDelta = 2.0f};

// clang-format off
const PlacedRow kRows[] = {
  // Player shot trails.
  {2027, Place::kArguments, FacingFrom::kArgument, Overlay(EffectRow(6, 64, 1, 107, 4019), kStill)},
  {2058, Place::kArguments, FacingFrom::kArgument, Overlay(EffectRow(6, 64, 1, 134, 4019), kStill)},
  {2048, Place::kParent, FacingFrom::kArgument, Overlay(EffectRow(3, 64, 1, 125, 4027), kNarrowHitBox)},
  {2050, Place::kParent, FacingFrom::kArgument, Overlay(EffectRow(3, 96, 2, 124, 4029), kNarrowHitBox)},
  {2079, Place::kParent, FacingFrom::kArgument, Overlay(EffectRow(6, 64, 3, 145, 4029), kNarrowHitBox)},
  {2080, Place::kParent, FacingFrom::kArgument, Overlay(EffectRow(3, 96, 2, 147, 4029), kNarrowHitBox)},
  // Boss, enemy and wreck effects.
  {2225, Place::kFixedPoint, FacingFrom::kNotWritten, Overlay(Unsized(3, 0, 180, 4137), {.fade = 255.0f}), 0.0f, 0.0f},
  {2227, Place::kArguments, FacingFrom::kNotWritten, EffectRow(3, 128, 0, 14, 4152)},
  {2004, Place::kArguments, FacingFrom::kNotWritten, Overlay(EffectRow(6, 128, 3, 5, 4005), {.collidable = 0, .scaleDelta = 0.1f, .phase = 0.2f})},
  {2187, Place::kArguments, FacingFrom::kNotWritten, Overlay(Unsized(6, 6, 337, 4105), kWreckCloud)},
  {2212, Place::kArguments, FacingFrom::kNotWritten, Overlay(Unsized(6, 6, 373, 4132), kWreckCloud)},
  // Created by no caller.
  {2174, Place::kPlayer, FacingFrom::kNotWritten, Overlay(Unsized(6, 1, 324, 4094), {.collidable = 0, .facing = 0})},
  {2191, Place::kPlayer, FacingFrom::kNotWritten, Overlay(Unsized(6, 3, 338, 4110), {.collidable = 0, .fade = 210.0f, .facing = 0})},
  {2209, Place::kPlayer, FacingFrom::kPlayer, Unsized(3, 13, 367, 4125)},
  {2237, Place::kFixedPoint, FacingFrom::kNotWritten, Overlay(Unsized(6, 1, 405, 4158), {.vx = 0.2f, .vy = -1.5f, .fade = 254.0f}), 500.0f, 1000.0f},
};
// clang-format on

void CreateRow(const TemplateCall& call) { CreatePlaced(kRows, call); }

// ---------------------------------------------------------------------------------
// Player shot effects that copy the shot's phase2
// ---------------------------------------------------------------------------------

void CreatePhaseTrail(const TemplateCall& call) {
  const bool at2028 = call.templateId == 2028;
  const TemplateRow row = at2028 ? Overlay(EffectRow(6, 32, 3, 290, 4020), {.collidable = 0, .fade = 150.0f})
                                 : Overlay(EffectRow(6, 64, 1, 142, 4027), kStill);
  GameObject& trail = NewPlacedRecord(row, at2028 ? Place::kArguments : Place::kParent, FacingFrom::kArgument, call);
  trail.phase2 = ParentRecord(call.parentSlot).phase2;
}

// ---------------------------------------------------------------------------------
// Pickup, player action and option effects
// ---------------------------------------------------------------------------------

void CreateCoinSparkle2014(const TemplateCall& call) {
  PlaySe(58, 255);
  NewPlacedRecord(Overlay(EffectRow(6, 64, 1, 35, 4012), kStill), Place::kPlayer, FacingFrom::kNotWritten, call);
}

void CreateLifeRings2205(const TemplateCall& call) {
  PlaySe(105, 255);
  for (int i = 0; i < 3; ++i) {
    GameObject& ring = NewPlacedRecord(Overlay(Unsized(6, 6, 360, 4077), {.fade = 380.0f, .scaleDelta = 10.0f}), Place::kPlayer,
                                  FacingFrom::kNotWritten, call);
    ring.angle = DrawnAngle();
  }
}

TemplateRow Aura(int behaviour, float scaleDelta) {
  return Overlay(EffectRow(3, 256, 6, 327, behaviour), {.scaleDelta = scaleDelta});
}

void CreateActionAura2178(const TemplateCall& call) {
  GameObject& first = NewPlacedRecord(Aura(4096, 1.03f), Place::kPlayer, FacingFrom::kNotWritten, call);
  first.angle = DrawnAngle();
  PlaySe(31, 255);
  GameObject& second = NewPlacedRecord(Aura(4098, 0.93f), Place::kPlayer, FacingFrom::kNotWritten, call);
  second.angle = DrawnAngle();
}

// parentSlot is the EXP gauge, 0 to 100: a fuller gauge gives a shorter countdown.
void CreateGaugeAura2194(const TemplateCall& call) {
  GameObject& aura = NewPlacedRecord(Aura(4113, 1.03f), Place::kPlayer, FacingFrom::kNotWritten, call);
  aura.angle = DrawnAngle();
  aura.timer = static_cast<int>(1100u - 11u * static_cast<unsigned>(call.parentSlot));
  PlaySe(31, 255);
}

void CreateAuraSpark2179(const TemplateCall& call) {
  const TemplateRow row = Overlay(EffectRow(6, 32, 0, 175, 4097), {.collidable = 0, .hitWidth = 0, .hitHeight = 0});
  GameObject& spark = NewPlacedRecord(row, Place::kPlayer, FacingFrom::kNotWritten, call);
  const GameObject& player = ObjectPool[kPlayerSlot];
  const int scale = RandomInRange(10);
  spark.scaleDelta = static_cast<float>(scale * 0.1);
  const int offsetX = RandomInRange(600);
  const int qx = DoubleToInt(player.x - 300.0 + offsetX);
  const int offsetY = RandomInRange(600);
  const int qy = DoubleToInt(player.y - 300.0 + offsetY);
  const int speedX = RandomInRange(10);
  spark.vx = static_cast<float>(static_cast<float>(10 * speedX) * (player.x - static_cast<float>(qx)) / 400.0);
  const int speedY = RandomInRange(10);
  spark.vy = static_cast<float>(static_cast<float>(10 * speedY) * (player.y - static_cast<float>(qy)) / 400.0);
  spark.angle = DrawnAngle();
}

void CreateOptionRing2192(const TemplateCall& call) {
  PlaySeIfIdle(98, 80);
  GameObject& ring = NewPlacedRecord(Overlay(Unsized(6, 6, 168, 4111), {.scaleDelta = -0.5f}), Place::kParent,
                                FacingFrom::kNotWritten, call);
  ring.work[0] = static_cast<float>(call.parentSlot);
}

// 2196: up to six sparks within the burst's hit box, more at higher speed and turbo.
void CreateBurstSparks2196(const TemplateCall& call) {
  const int levels = SpeedLevel + TurboLevel;
  const bool made[6] = {BurstBonusFlag == 1, true, true, levels >= 9, levels >= 12, levels >= 15};
  const GameObject& burst = ParentRecord(call.parentSlot);
  for (int record = 0; record < 6; ++record) {
    if (!made[record]) continue;
    GameObject& spark = NewRecord(Unsized(6, 40, {}, 4115));
    spark.x = CentredSpread(burst.x, burst.hitWidth);
    spark.y = CentredSpread(burst.y, burst.hitHeight);
    const int row = RandomInRange(9);
    spark.animation = 340 + row;
    const bool dim = record == 3;
    const int fade = RandomInRange(dim ? 200 : 100);
    spark.fade = static_cast<float>((dim ? 50 : 150) + fade);
    spark.facing = call.facing;
    const int half = RandomInRange(1);
    spark.scaleDelta = static_cast<float>(-0.5 * half);
    const int speedX = RandomInRange(150);
    spark.vx = static_cast<float>(call.facing == 0 ? -0.1 * speedX : 0.1 * speedX);
    const int sign = RandomInRange(1);
    const int speedY = RandomInRange(100);
    spark.vy = static_cast<float>(sign == 0 ? -0.1 * speedY : 0.1 * speedY);
  }
}

// ---------------------------------------------------------------------------------
// Boss and enemy effects
// ---------------------------------------------------------------------------------

// 2130, 2206, 2147, 2148, 2149: a large sprite at a random fade.
void CreateBossGlow(const TemplateCall& call) {
  struct Glow {
    int templateId, size, imageSet, animation, behaviour, fadeBase;
    RowField<float> scaleDelta;
  };
  static constexpr Glow kGlows[] = {
      {2130, 512, 17, 246, 4029, 0, std::nullopt}, {2206, 512, 22, 363, 4029, 0, std::nullopt},
      {2147, 768, 19, 281, 4029, 150, std::nullopt}, {2148, 768, 19, 281, 4019, 0, std::nullopt},
      {2149, 256, 6, 286, 4029, 0, 2.0f},
  };
  const Glow& glow = RowOf<Glow>(kGlows, call.templateId);
  const TemplateRow row = Overlay(EffectRow(6, glow.size, glow.imageSet, glow.animation, glow.behaviour),
                                  {.collidable = 0, .scaleDelta = glow.scaleDelta});
  GameObject& sprite = NewPlacedRecord(row, Place::kArguments, FacingFrom::kArgument, call);
  const int fade = RandomInRange(100);
  sprite.fade = static_cast<float>(glow.fadeBase + fade);
}

void CreateBossFlare2151(const TemplateCall& call) {
  GameObject& flare = NewPlacedRecord(Overlay(EffectRow(6, 256, 6, 287, 4029), kStill), Place::kArguments, FacingFrom::kArgument, call);
  const int scale = RandomInRange(25);
  flare.scaleDelta = static_cast<float>(scale * 0.1 - 0.5);
  const int fade = RandomInRange(100);
  flare.fade = static_cast<float>(fade);
}

void CreateEnemyShard2210(const TemplateCall& call) {
  GameObject& shard = NewPlacedRecord(Unsized(3, 40, {}, 4001), Place::kParent, FacingFrom::kArgument, call);
  const int row = RandomInRange(2);
  shard.animation = 340 + row;
  const int speedX = RandomInRange(60);
  shard.vx = static_cast<float>(call.facing == 0 ? -speedX * 0.1 : speedX * 0.1);
  const int speedY = RandomInRange(40);
  shard.vy = static_cast<float>(-speedY * 0.1);
}

// 2211 and 2231: rising embers; they differ in row base, behaviour and scale sign.
void CreateEmber(const TemplateCall& call) {
  const bool boss = call.templateId == 2211;
  GameObject& ember = NewPlacedRecord(Unsized(6, 40, {}, boss ? 4134 : 4154), Place::kArguments,
                                 FacingFrom::kArgument, call);
  const int dx = RandomInRange(20);
  ember.x = static_cast<float>(call.x + dx - 10);
  const int row = RandomInRange(9);
  ember.animation = (boss ? 375 : 340) + row;
  const int fade = RandomInRange(100);
  ember.fade = static_cast<float>(fade);
  const int half = RandomInRange(1);
  ember.scaleDelta = static_cast<float>((boss ? -0.5 : 0.5) * half);
  const int rise = RandomInRange(4000);
  ember.vy = static_cast<float>(-2.0 - 0.01 * rise);
}

void CreateWreckSpark2232(const TemplateCall& call) {
  GameObject& spark = NewPlacedRecord(Unsized(6, 40, {}, 4155), Place::kArguments, FacingFrom::kArgument, call);
  const int dx = RandomInRange(200);
  spark.x = static_cast<float>(call.x + dx - 100);
  const int dy = RandomInRange(200);
  spark.y = static_cast<float>(call.y + dy - 100);
  const int row = RandomInRange(1);
  spark.animation = 403 + row;
  const int fade = RandomInRange(100);
  spark.fade = static_cast<float>(fade);
  const int scale = RandomInRange(30);
  spark.scaleDelta = static_cast<float>(scale * 0.1);
  const int fall = RandomInRange(230);
  spark.vy = static_cast<float>(fall * 0.1 - 10.0);
  const int drift = RandomInRange(60);
  spark.vx = static_cast<float>(drift * 0.1 - 3.0);
}

// 2228: five passes of two core sparks each.
void CreateCoreSparks2228(const TemplateCall& call) {
  const bool finalStage = Stage == 8;
  const TemplateRow row = Overlay(EffectRow(6, 128, finalStage ? 42 : 3, {}, 4003),
                                  {.collidable = 0, .blendMode = finalStage ? 2 : 1, .fade = 250.0f});
  for (int pass = 0; pass < 5; ++pass) {
    for (int record = 0; record < 2; ++record) {
      GameObject& spark = NewPlacedRecord(row, Place::kArguments, FacingFrom::kNotWritten, call);
      if (record == 0) {
        spark.animation = 2;
        const int scale = RandomInRange(4);
        spark.scaleDelta = static_cast<float>(2 + scale);
      } else {
        const int row = RandomInRange(2);
        spark.animation = 2 + row;
        const int scale = RandomInRange(4);
        spark.scaleDelta = static_cast<float>(scale);
      }
      spark.angle = DrawnAngle();
      const int spin = RandomInRange(20);
      spark.phase = static_cast<float>(spin * 0.001);
      const int way = RandomInRange(1);
      spark.phase2 = way == 0 ? 1.0f : -1.0f;
    }
  }
}

void CreateCurtain2238(const TemplateCall& call) {
  const TemplateRow row = Overlay(Unsized(5, 4, 412, 4159), {.vx = -1.0f, .blendMode = 0, .fade = 20.0f});
  PlaceRecord(FixedRecord(11, row), Place::kArguments, FacingFrom::kNotWritten, call);
}

// ---------------------------------------------------------------------------------
// Debris trails
// ---------------------------------------------------------------------------------

// 2142 and 2144 take their animation row from parentSlot.
void CreateDebrisTrail(const TemplateCall& call) {
  GameObject& trail = NewPlacedRecord(EffectRow(3, 32, 7, {}, 4029), Place::kArguments, FacingFrom::kNotWritten, call);
  trail.animation = call.parentSlot;  // stored as given; rows outside the table draw as row 0
  if (call.templateId == 2144) {
    const int scale = RandomInRange(20);
    trail.scaleDelta = static_cast<float>(scale * 0.1 - 1.0);
  }
}

void CreateAfterimage2110(const TemplateCall& call) {
  const GameObject& parent = ParentRecord(call.parentSlot);
  GameObject& image = NewPlacedRecord(Unsized(3, 0, {}, 4061), Place::kArguments, FacingFrom::kNotWritten, call);
  image.animation = parent.animation;
  image.scaleDelta = parent.scaleDelta;
  image.fade = static_cast<float>(parent.fade * 2.3);
}

void CreateDust2199(const TemplateCall& call) {
  GameObject& dust = NewPlacedRecord(Unsized(6, 42, 350, 4116), Place::kParent, FacingFrom::kNotWritten, call);
  const int scale = RandomInRange(10);
  dust.scaleDelta = static_cast<float>(scale * 0.1);
  const int fade = RandomInRange(150);
  dust.fade = static_cast<float>(fade);
}

const TemplateEntry kEntries[] = {
    {2027, CreateRow},          {2058, CreateRow},          {2048, CreateRow},
    {2050, CreateRow},          {2079, CreateRow},          {2080, CreateRow},
    {2225, CreateRow},          {2227, CreateRow},          {2004, CreateRow},
    {2187, CreateRow},          {2212, CreateRow},          {2174, CreateRow},
    {2191, CreateRow},          {2209, CreateRow},          {2237, CreateRow},
    {2028, CreatePhaseTrail},   {2078, CreatePhaseTrail},   {2014, CreateCoinSparkle2014},
    {2205, CreateLifeRings2205}, {2178, CreateActionAura2178}, {2194, CreateGaugeAura2194},
    {2179, CreateAuraSpark2179}, {2192, CreateOptionRing2192}, {2196, CreateBurstSparks2196},
    {2130, CreateBossGlow},     {2206, CreateBossGlow},     {2147, CreateBossGlow},
    {2148, CreateBossGlow},     {2149, CreateBossGlow},     {2151, CreateBossFlare2151},
    {2210, CreateEnemyShard2210}, {2211, CreateEmber},      {2231, CreateEmber},
    {2232, CreateWreckSpark2232}, {2228, CreateCoreSparks2228}, {2238, CreateCurtain2238},
    {2142, CreateDebrisTrail},  {2144, CreateDebrisTrail},  {2110, CreateAfterimage2110},
    {2199, CreateDust2199},
};

}  // namespace

std::span<const TemplateEntry> BehaviourEffectTemplates() { return kEntries; }
