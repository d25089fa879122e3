// The effects around a boss's arrival and a death: boss attachments with their
// sparks and flashes, wrecks, debris pieces and the debris burst, chip flashes, and
// the two fixed-slot effects that nothing creates.
#include <array>

#include "core/object_pool.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/objects.h"
#include "objects/template_helpers.h"

namespace {

// R(n) x 0.1, formed in double and stored as a float.
float Tenths(int max) {
  const int draw = RandomInRange(max);
  return static_cast<float>(draw * 0.1);
}

// 4013, or 4114 when R(1) gives 1.
int FallingOrSpinning() {
  const int draw = RandomInRange(1);
  return draw == 0 ? 4013 : 4114;
}

// ---- Debris pieces ----

constexpr TemplateRow Debris(int state, int layer, int size, int imageSet) {
  return {.state = state, .layer = layer, .category = kCategoryEffect, .collidable = 0, .width = size,
          .height = size, .hitWidth = 0, .hitHeight = 0, .imageSet = imageSet, .blendMode = 2};
}

// One record of a debris template. Its draws come in this order, those it lacks
// skipped: the throw, the animation, the behaviour, then the timer and the scale in
// the piece's own order.
struct DebrisPiece {
  int templateId;
  int state, layer, size, imageSet;
  int throwRange;  // vx = s x (R(range) div 10) away from the facing, vy = -(R(range) div 10); 0 none
  int firstAnimation, animations;
  bool mayTumble;  // 4013, or 4114 when R(1) gives 1; else 4013 without a draw
  int timerMax;
  int scaleTenths;  // scaleDelta = base + R(n) x 0.1; 0 none
  double scaleBase;
  bool timerFirst;
};
constexpr DebrisPiece kDebrisPieces[] = {
    {2015, 1, 3, 64, 1, 100, 36, 14, false, 8, 10, 0.0, false},
    {2016, 1, 6, 64, 0, 100, 51, 17, true, 10, 10, 0.0, true},
    {2017, 1, 3, 96, 2, 0, 69, 7, true, 3, 15, 0.0, true},
    // Two large pieces that show after their own delays.
    {2145, 2, 3, 96, 2, 0, 69, 7, true, 5, 10, 0.5, false},
    {2145, 2, 3, 96, 2, 0, 69, 7, true, 30, 10, 0.0, false},
    {2208, 1, 3, 64, 1, 300, 36, 14, false, 8, 0, 0.0, false},
};

void ThrowUp(GameObject& record, int facing, int range) {
  const int s = facing == 0 ? -1 : 1;
  const int vx = RandomInRange(range);
  record.vx = static_cast<float>(s * (vx / 10));
  const int vy = RandomInRange(range);
  record.vy = static_cast<float>(-(vy / 10));
}

void CreateDebrisPiece(const DebrisPiece& piece, const TemplateCall& call) {
  GameObject& record = NewRecordAt(Debris(piece.state, piece.layer, piece.size, piece.imageSet), call);
  if (piece.throwRange != 0) ThrowUp(record, call.facing, piece.throwRange);
  const int animation = RandomInRange(piece.animations);
  record.animation = piece.firstAnimation + animation;
  record.behaviour = piece.mayTumble ? FallingOrSpinning() : 4013;
  const auto drawTimer = [&] { record.timer = RandomInRange(piece.timerMax); };
  const auto drawScale = [&] {
    if (piece.scaleTenths == 0) return;
    const int tenths = RandomInRange(piece.scaleTenths);
    record.scaleDelta = static_cast<float>(piece.scaleBase + tenths * 0.1);
  };
  if (piece.timerFirst) {
    drawTimer();
    drawScale();
  } else {
    drawScale();
    drawTimer();
  }
}

void CreateDebris(const TemplateCall& call) {
  for (const DebrisPiece& piece : kDebrisPieces) {
    if (piece.templateId == call.templateId) CreateDebrisPiece(piece, call);
  }
}

// 2018: one or two large pieces, then one or two small ones.
void CreateDebris2018(const TemplateCall& call) {
  struct Kind {
    int size, imageSet, firstAnimation, animations, scaleTenths;
    bool unusedDraw;
  };
  constexpr Kind kKinds[] = {{96, 2, 77, 3, 5, false}, {64, 1, 81, 9, 10, true}};
  for (const Kind& kind : kKinds) {
    const int count = RandomInRange(1);
    for (int i = 0; i <= count; ++i) {
      GameObject& record = NewRecordAt(Debris(1, 3, kind.size, kind.imageSet), call);
      record.behaviour = 4014;
      const int animation = RandomInRange(kind.animations);
      record.animation = kind.firstAnimation + animation;
      const int phase = RandomInRange(20);
      record.phase = static_cast<float>(1 + phase);
      if (kind.unusedDraw) RandomInRange(4);
      record.scaleDelta = Tenths(kind.scaleTenths);
    }
  }
}

// ---- Small debris and the puff ----

constexpr TemplateRow kSmallDebris = {.state = 1, .layer = 3, .category = kCategoryEffect, .width = 32,
                                      .height = 32, .imageSet = 7, .blendMode = 2, .animation = 266};

// 2141, 2146: sparks that drift and flicker through a few rows.
void CreateSpark(const TemplateCall& call) {
  const bool long2146 = call.templateId == 2146;
  GameObject& record = NewRecordAt(kSmallDebris, call);
  record.behaviour = 4078;
  const int vx = RandomInRange(10);
  record.vx = static_cast<float>(vx - 5);
  const int vy = RandomInRange(10);
  record.vy = static_cast<float>(vy - 5);
  record.phase = Tenths(100);
  const int phase2 = RandomInRange(long2146 ? 10 : 30);
  record.phase2 = static_cast<float>(phase2);
  const int row = RandomInRange(5);
  record.work[0] = static_cast<float>(267 + row);
  const int work1 = RandomInRange(long2146 ? 40 : 15);
  record.work[1] = static_cast<float>(work1);
}

void CreateSpark2143(const TemplateCall& call) {
  GameObject& record = NewRecordAt(kSmallDebris, call);
  record.scaleDelta = Tenths(10);
  const int behaviour = RandomInRange(1);
  record.behaviour = 4079 + behaviour;
  const int vx = RandomInRange(10);
  record.vx = static_cast<float>((vx - 5) * 0.1);
  const int vy = RandomInRange(10);
  record.vy = static_cast<float>((vy - 5) * 0.1);
  const int phase = RandomInRange(100);
  record.phase = static_cast<float>(phase);
}

void CreatePuff(const TemplateCall& call) {
  constexpr TemplateRow kPuff = {.state = 1, .layer = 6, .category = kCategoryEffect, .collidable = 0,
                                 .width = 32, .height = 32, .imageSet = 7, .blendMode = 2, .animation = 204,
                                 .behaviour = 4006};
  const GameObject& parent = ParentRecord(call.parentSlot);
  GameObject& record = NewRecordAt(kPuff, call);
  record.facing = parent.facing;
  record.vx = parent.vx;
  record.vy = parent.vy;
}

// ---- Boss attachment, flashes and the spark ----

constexpr TemplateRow kAttachRings[] = {
    {.state = 1, .layer = 2, .category = kCategoryDecoration, .width = 350, .height = 350, .imageSet = 6,
     .blendMode = 1, .fade = 255.0f, .animation = 332, .behaviour = 4100, .phase = 0.05f},
    {.state = 1, .layer = 2, .category = kCategoryDecoration, .width = 256, .height = 256, .imageSet = 6,
     .blendMode = 1, .fade = 255.0f, .animation = 331, .behaviour = 4099, .phase = 0.05f},
};

constexpr TemplateRow Flash(int behaviour, float scaleDelta, std::optional<float> vx, std::optional<float> vy) {
  return {.state = 1, .layer = 6, .category = kCategoryEffect, .vx = vx, .vy = vy, .collidable = 0, .width = 128,
          .height = 128, .imageSet = 6, .blendMode = 2, .animation = 330, .scaleDelta = scaleDelta,
          .behaviour = behaviour, .phase = 0.2f};
}

struct FlashTemplate {
  int templateId;
  TemplateRow row;
};
constexpr std::array<FlashTemplate, 4> kFlashes = {{
    {2182, Flash(4103, 10.0f, {}, {})},
    {2184, Flash(4005, 0.1f, {}, {})},
    {2185, Flash(4103, 10.0f, 0.1f, 0.6f)},
    {2186, Flash(4005, 0.1f, 0.1f, 0.6f)},
}};

void CreateFlash(const TemplateCall& call) { NewRecordAt(RowOf<FlashTemplate>(kFlashes, call.templateId).row, call); }

// 2180 (rings and flash) and 2229 (rings alone), after the arrival sound.
void CreateBossAttachment(const TemplateCall& call) {
  PlaySeIfIdle(92, 255);
  NewRecordAt(kAttachRings[0], call);
  GameObject& ring = NewRecordAt(kAttachRings[1], call);
  const int angle = RandomInRange(360);
  ring.angle = static_cast<float>(angle);
  if (call.templateId == 2180) NewRecordAt(RowOf<FlashTemplate>(kFlashes, 2184).row, call);
}

// 2181: flies into its parent from a random point near it.
void CreateInwardSpark(const TemplateCall& call) {
  constexpr TemplateRow kSpark = {.state = 1, .layer = 6, .category = kCategoryEffect, .collidable = 0,
                                  .width = 32, .height = 32, .hitWidth = 0, .hitHeight = 0, .imageSet = 40,
                                  .blendMode = 1, .animation = 333, .behaviour = 4102};
  const GameObject& parent = ParentRecord(call.parentSlot);
  GameObject& record = NewRecordAt(kSpark, call);
  record.scaleDelta = Tenths(20);
  const int qxDraw = RandomInRange(1200);
  const int qx = DoubleToInt(parent.x - 600.0 + qxDraw);
  const int qyDraw = RandomInRange(1200);
  const int qy = DoubleToInt(parent.y - 600.0 + qyDraw);
  const float dx = parent.x - static_cast<float>(qx);
  const float dy = parent.y - static_cast<float>(qy);
  const int vxSpeed = RandomInRange(20);
  record.vx = static_cast<float>(static_cast<float>(10 * vxSpeed) * dx / 400.0);
  const int vySpeed = RandomInRange(20);
  record.vy = static_cast<float>(static_cast<float>(10 * vySpeed) * dy / 400.0);
}

// ---- Wrecks ----

constexpr TemplateRow Wreck(int imageSet, int animation, int behaviour, float vy, int deathEffect) {
  return {.state = 1, .layer = 6, .category = kCategoryEffect, .vx = 0.1f, .vy = vy, .width = 512, .height = 512,
          .imageSet = imageSet, .blendMode = 2, .animation = animation, .behaviour = behaviour,
          .scoreValue = 1000, .deathEffect = deathEffect};
}

struct WreckTemplate {
  int templateId;
  TemplateRow row;
};
constexpr std::array<WreckTemplate, 6> kWrecks = {{
    {2183, Wreck(17, 334, 4104, 0.6f, 1)},
    {2188, Wreck(18, 335, 4106, 0.6f, 1)},
    {2189, Wreck(17, 334, 4107, 0.6f, 1)},
    {2190, Wreck(19, 336, 4108, 0.6f, 1)},
    {2207, Wreck(17, 365, 4123, 0.5f, 6)},
    {2213, Wreck(17, 385, 4133, 0.5f, 6)},
}};

void CreateWreck(const TemplateCall& call) {
  // The stage 7 boss's part in slot 12 fades out with its boss.
  if (call.templateId == 2207) CancelBullet(12);
  GameObject& record = NewRecordAt(RowOf<WreckTemplate>(kWrecks, call.templateId).row, call);
  if (call.templateId == 2188) record.facing = call.facing;
}

// ---- Chip flashes and fixed-slot effects ----

// 2223: the dying object's own sheet, replayed larger.
void CreateChipFlash(const TemplateCall& call) {
  constexpr TemplateRow kChipFlash = {.state = 1, .layer = 3, .category = kCategoryEffect, .blendMode = 2,
                                      .animation = 388, .facing = 0, .scaleDelta = 0.2f, .behaviour = 4136,
                                      .deathEffect = 1};
  const GameObject& parent = ParentRecord(call.parentSlot);
  GameObject& record = NewRecordAt(kChipFlash, call);
  record.width = record.height = parent.width;
  record.imageSet = parent.imageSet;
  record.phase = parent.phase;
  record.phase2 = parent.phase2;
}

struct SlotEffect {
  int templateId;
  int slot;
  TemplateRow row;
};
constexpr TemplateRow SlotGlow(int facing, float scaleDelta, std::optional<float> phase2) {
  return {.state = 1, .layer = 6, .category = kCategoryEffect, .collidable = 0, .width = 64, .height = 64,
          .hitWidth = 0, .hitHeight = 0, .imageSet = 18, .blendMode = 2, .animation = 252, .facing = facing,
          .scaleDelta = scaleDelta, .behaviour = 4135, .phase2 = phase2};
}
constexpr std::array<SlotEffect, 3> kSlotEffects = {{
    {2214, 10, SlotGlow(0, -0.6f, {})},
    {2215, 11, SlotGlow(1, -0.7f, 0.001f)},
    {2230, 22,
     {.state = 1, .layer = 3, .category = kCategoryEffect, .collidable = 0, .width = 256, .height = 256,
      .imageSet = 56, .blendMode = 2, .animation = 388, .facing = 0, .scaleDelta = 1.0f, .behaviour = 4153,
      .work1 = 20.0f, .deathEffect = 14}},
}};

void CreateSlotEffect(const TemplateCall& call) {
  const SlotEffect& effect = RowOf<SlotEffect>(kSlotEffects, call.templateId);
  PlaceAt(FixedRecord(effect.slot, effect.row), call.x, call.y);
}

// ---- Debris burst ----

// 2200: sets of pieces scattered over the parent's box (R(4) picks the variant).
void CreateDebrisBurst(const TemplateCall& call) {
  constexpr int kSetPieces[] = {2015, 2016, 2016, 2017, 2018};
  struct Variant {
    int sets;
    int afterEachSet;  // 0: nothing
  };
  constexpr Variant kVariants[] = {{3, 0}, {1, 2141}, {1, 2143}, {1, 0}, {0, 0}};
  const GameObject parent = ParentRecord(call.parentSlot);
  const int halfWidth = parent.width / 2;
  const int halfHeight = parent.height / 2;
  const int variantDraw = RandomInRange(4);
  const Variant& variant = kVariants[variantDraw];
  for (int set = 0; set < variant.sets; ++set) {
    for (int piece : kSetPieces) {
      const int yPlus = RandomInRange(halfHeight);
      const int yMinus = RandomInRange(halfHeight);
      const int y = FloatToInt(parent.y + static_cast<float>(yPlus) - static_cast<float>(yMinus));
      const int xPlus = RandomInRange(halfWidth);
      const int xMinus = RandomInRange(halfWidth);
      const int x = FloatToInt(parent.x + static_cast<float>(xPlus) - static_cast<float>(xMinus));
      CreateObject(piece, x, y, parent.facing, 0);
    }
    if (variant.afterEachSet != 0) {
      CreateObject(variant.afterEachSet, FloatToInt(parent.x), FloatToInt(parent.y), 0, 0);
    }
  }
}

constexpr TemplateEntry kEntries[] = {
    {2015, CreateDebris}, {2016, CreateDebris}, {2017, CreateDebris}, {2018, CreateDebris2018},
    {2114, CreatePuff},       {2141, CreateSpark},      {2143, CreateSpark2143},  {2145, CreateDebris},
    {2146, CreateSpark},      {2180, CreateBossAttachment}, {2181, CreateInwardSpark}, {2182, CreateFlash},
    {2183, CreateWreck},      {2184, CreateFlash},      {2185, CreateFlash},      {2186, CreateFlash},
    {2188, CreateWreck},      {2189, CreateWreck},      {2190, CreateWreck},      {2200, CreateDebrisBurst},
    {2207, CreateWreck},      {2208, CreateDebris}, {2213, CreateWreck},      {2214, CreateSlotEffect},
    {2215, CreateSlotEffect}, {2223, CreateChipFlash},  {2229, CreateBossAttachment}, {2230, CreateSlotEffect},
};

}  // namespace

std::span<const TemplateEntry> BossEffectTemplates() { return kEntries; }
