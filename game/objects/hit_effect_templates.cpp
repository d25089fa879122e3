// Hit and kill effects: what the collision pass shows where a shot strikes, a blast
// goes off, a burst kills, the player is touched under guard or a bullet grazes.
#include <cmath>

#include "core/game_state.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/effect_rows.h"

namespace {

constexpr TemplateRow kStill = {.collidable = 0};
constexpr TemplateRow kNoHitBox = {.collidable = 0, .hitWidth = 0, .hitHeight = 0};

// The blasts that replace exploding shots: player shots that hit what they touch.
TemplateRow Blast(int hitBox, int imageSet, int attackPower, int animation, int behaviour) {
  return Overlay(EffectRow(3, 96, imageSet, animation, behaviour),
                 {.category = kCategoryPlayerShot, .collidable = 1, .hitWidth = hitBox, .hitHeight = hitBox,
                  .attackPower = attackPower});
}

// vx of a spark that inherits a share of the parent's: Q.vx / R(3), 0.0 for a draw of 0.
float SharedVx(const GameObject& parent) {
  const int divisor = RandomInRange(3);
  return divisor == 0 ? 0.0f : parent.vx / static_cast<float>(divisor);
}

float DistanceToPlayer(const GameObject& other) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  const float dx = player.x - other.x;
  const float dy = player.y - other.y;
  return std::sqrt(dx * dx + dy * dy);
}

int DrawnBehaviour() {
  const int pick = RandomInRange(1);
  return pick == 0 ? 4013 : 4114;
}

// `draw` x 10 x `distance` / `divisor`: a speed away along one axis.
float Thrown(int bound, float distance, double divisor) {
  const int speed = RandomInRange(bound);
  return static_cast<float>(static_cast<float>(speed * 10) * distance / divisor);
}

GameObject& NewAt(const TemplateRow& row, const TemplateCall& call, FacingFrom facing) {
  return NewPlacedRecord(row, Place::kArguments, facing, call);
}

// ---------------------------------------------------------------------------------
// Sparks and flashes
// ---------------------------------------------------------------------------------

// 2005, 2012 and 2122's first record: a spark that takes a share of the parent's speed.
GameObject& ShotSpark(const TemplateCall& call, const TemplateRow& row, int scaleBound, double turboScale) {
  GameObject& spark = NewAt(Overlay(row, {.spare = 0.0f}), call, FacingFrom::kNotWritten);
  const GameObject& parent = ParentRecord(call.parentSlot);
  spark.facing = parent.facing;
  spark.vx = SharedVx(parent);
  const int scale = RandomInRange(scaleBound);
  spark.scaleDelta = static_cast<float>(static_cast<float>(scale / 10) + 0.01 + TurboLevel * turboScale);
  return spark;
}

void CreateShotSpark(const TemplateCall& call) {
  if (call.templateId == 2005) ShotSpark(call, Overlay(EffectRow(6, 32, 0, 12, 4006), kStill), 15, 0.0);
  if (call.templateId == 2012) ShotSpark(call, EffectRow(6, 32, 0, 16, 4010), 20, 0.0);
}

// 2086, 2090, 2091: a turned flash whose scale grows with a draw.
void CreateScaleFlash(const TemplateCall& call) {
  const int extra = call.templateId == 2086 ? 0 : call.templateId == 2090 ? 1 : 2;
  GameObject& flash = NewAt(EffectRow(6, 96, 3, 159, 4029), call, FacingFrom::kArgument);
  flash.angle = DrawnAngle();
  const int scale = RandomInRange(20);
  flash.scaleDelta = static_cast<float>(scale / 10 + extra);
}

void CreateKillFlash2177(const TemplateCall& call) {
  GameObject& flash = NewAt(EffectRow(6, 96, 3, 326, 4029), call, FacingFrom::kArgument);
  flash.angle = DrawnAngle();
  const int scale = RandomInRange(10);
  flash.scaleDelta = static_cast<float>(static_cast<float>(scale / 10) + 0.5 + static_cast<float>(TurboLevel / 3));
  PlaySe(76, 150);
  const int voice = RandomInRange(2);
  PlaySe(77 + voice, 250);
}

void CreateDamagingFlash2092(const TemplateCall& call) {
  const TemplateRow row = Overlay(EffectRow(6, 32, 0, 160, 4109),
                                  {.category = kCategoryPlayerShot, .collidable = 1, .hitWidth = ShotLevel * 20,
                                   .hitHeight = ShotLevel * 20, .scaleDelta = static_cast<float>(ShotLevel),
                                   .attackPower = 1});
  NewAt(row, call, FacingFrom::kNotWritten);
}

// 2059, 2060, 2061: a spark within 64 pixels of the target a blast strikes.
void CreateBlastSpark(const TemplateCall& call) {
  const int scaleBound = call.templateId == 2059 ? 200 : call.templateId == 2060 ? 300 : 600;
  GameObject& spark = NewAt(EffectRow(6, 64, 0, {}, 4019), call, FacingFrom::kArgument);
  const int dx = RandomInRange(128);
  spark.x = static_cast<float>(call.x + dx - 64);
  const int dy = RandomInRange(128);
  spark.y = static_cast<float>(call.y + dy - 64);
  const int scale = RandomInRange(scaleBound);
  spark.scaleDelta = static_cast<float>(static_cast<float>(scale / 100) - 0.5);
  const int frame = RandomInRange(3);
  spark.animation = 135 + frame;
  if (spark.animation == 135 || spark.animation == 136) spark.angle = DrawnAngle();
}

// ---------------------------------------------------------------------------------
// Particle bursts
// ---------------------------------------------------------------------------------

// One particle thrown away from the player out of `source`'s box.
GameObject& Particle(const GameObject& source, double scaleStep, int speedBound) {
  GameObject& particle = NewRecord(Overlay(EffectRow(6, 32, 7, {}, {}), kNoHitBox));
  particle.x = CentredSpread(source.x, source.width);
  particle.y = CentredSpread(source.y, source.height);
  const int frame = RandomInRange(8);
  particle.animation = 213 + frame;
  const int scale = RandomInRange(TurboLevel);
  particle.scaleDelta = static_cast<float>(static_cast<float>(scale) * scaleStep + 0.01);
  particle.behaviour = DrawnBehaviour();
  particle.phase = DistanceToPlayer(source);
  const GameObject& player = ObjectPool[kPlayerSlot];
  particle.vx = Thrown(speedBound, source.x - player.x, 200.0);
  particle.vy = Thrown(speedBound, source.y - player.y, 200.0);
  return particle;
}

void CreateBurstHit2122(const TemplateCall& call) {
  PlaySeIfIdle(96, 200);
  ShotSpark(call, Overlay(EffectRow(6, 32, 0, 12, 4006), kStill), 15, 0.25);
  for (int i = 0; i < TurboLevel + 1; ++i) Particle(ParentRecord(call.parentSlot), 0.25, 24);
}

void CreateEnemyParticle2129(const TemplateCall& call) {
  GameObject& particle = Particle(ParentRecord(call.parentSlot), 0.5, 15);
  particle.angle = DrawnAngle();
}

// ---------------------------------------------------------------------------------
// The player touched under guard, and the graze
// ---------------------------------------------------------------------------------

void CreateGuardSparks2093(const TemplateCall&) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  for (int count = 0; static_cast<double>(count) < PlayerHitTally * 10.0 + 20.0; ++count) {
    GameObject& spark = NewRecord(EffectRow(6, 32, 0, {}, 4050));
    const int dx = RandomInRange(64);
    spark.x = static_cast<float>((player.x - 32.0) + static_cast<float>(dx));
    const int dy = RandomInRange(64);
    spark.y = static_cast<float>((player.y - 32.0) + static_cast<float>(dy));
    const int speedX = RandomInRange(80);
    spark.vx = static_cast<float>(speedX / 10 - 3);
    const int speedY = RandomInRange(80);
    spark.vy = static_cast<float>(speedY / 10 - 3);
    const int frame = RandomInRange(5);
    spark.animation = 161 + frame;
  }
}

void CreateGraze2103(const TemplateCall& call) {
  GameObject& spark =
      NewPlacedRecord(Overlay(EffectRow(6, 32, 0, 175, {}), kNoHitBox), Place::kPlayer, FacingFrom::kNotWritten, call);
  const GameObject& bullet = ParentRecord(call.parentSlot);
  const GameObject& player = ObjectPool[kPlayerSlot];
  spark.behaviour = DrawnBehaviour();
  spark.phase = DistanceToPlayer(bullet);
  spark.vx = Thrown(15, player.x - bullet.x, 400.0);
  spark.vy = Thrown(15, player.y - bullet.y, 400.0);
  spark.angle = DrawnAngle();
}

// ---------------------------------------------------------------------------------
// Rows without draws
// ---------------------------------------------------------------------------------

// clang-format off
const PlacedRow kRows[] = {
  {2025, Place::kArguments, FacingFrom::kNotWritten, Overlay(EffectRow(6, 32, 1, 105, 4017), {.collidable = 0, .fade = 100.0f})},
  {2158, Place::kArguments, FacingFrom::kNotWritten, Overlay(EffectRow(6, 32, 1, 105, 4092), {.collidable = 0, .fade = 0.0f})},
  {2095, Place::kFixedPoint, FacingFrom::kNotWritten, Overlay(EffectRow(6, 0, 0, 167, 4017), {.layer = 10}), 0.0f, 0.0f},
  {2100, Place::kArguments, FacingFrom::kNotWritten, Overlay(EffectRow(6, 96, 2, 173, 4010), {.vx = 0.0f, .facing = 0, .scaleDelta = 2.0f})},
  {2010, Place::kPlayer, FacingFrom::kNotWritten, Overlay(EffectRow(6, 64, 1, 7, 4008), {.spare = 0.0f, .collidable = 0, .hitWidth = 0, .hitHeight = 0, .fade = 0.0f, .scaleDelta = 0.5f, .phase = 0.0f})},
  {2051, Place::kArguments, FacingFrom::kNotWritten, Blast(120, 2, 4, 129, 4030)},
  {2055, Place::kArguments, FacingFrom::kArgument, Overlay(Blast(180, 2, 3, 130, 4034), {.scaleDelta = 0.6f})},
  {2056, Place::kArguments, FacingFrom::kArgument, Overlay(Blast(220, 3, 3, 131, 4035), {.scaleDelta = 1.25f})},
  {2057, Place::kArguments, FacingFrom::kArgument, Overlay(Blast(260, 3, 3, 132, 4036), {.scaleDelta = 2.0f})},
};
// clang-format on

void CreateRow(const TemplateCall& call) { CreatePlaced(kRows, call); }

const TemplateEntry kEntries[] = {
    {2005, CreateShotSpark},      {2012, CreateShotSpark},         {2086, CreateScaleFlash},
    {2090, CreateScaleFlash},     {2091, CreateScaleFlash},        {2177, CreateKillFlash2177},
    {2092, CreateDamagingFlash2092}, {2059, CreateBlastSpark},     {2060, CreateBlastSpark},
    {2061, CreateBlastSpark},     {2122, CreateBurstHit2122},      {2129, CreateEnemyParticle2129},
    {2093, CreateGuardSparks2093}, {2103, CreateGraze2103},        {2025, CreateRow},
    {2158, CreateRow},            {2095, CreateRow},               {2100, CreateRow},
    {2010, CreateRow},            {2051, CreateRow},               {2055, CreateRow},
    {2056, CreateRow},            {2057, CreateRow},
};

}  // namespace

std::span<const TemplateEntry> HitEffectTemplates() { return kEntries; }
