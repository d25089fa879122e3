// The player's shots: WindForce, GhostFlame, StomeSpike, CloudClack, DragonScale,
// GoldStrike and their variants, one table row per record in creation order. Every
// record starts on the player's floats; the x and y arguments are not read.
#include <array>
#include <optional>

#include "core/game_state.h"
#include "game_library.h"
#include "objects/player_relative.h"
#include "objects/template_helpers.h"

namespace {

// Whose facing chooses the sign of a record's offsets and vx.
enum class Side { kPlayer, kArgument };
// What the record's facing holds: the argument, the player's facing as 0 or 1, the
// player's value copied as it is, or what the row writes.
enum class FacingFrom { kArgument, kPlayer, kPlayerCopy, kRow };

// Fields drawn or read from globals, after the table's constant fields.
enum class Drawn {
  kNone,
  kFade,          // fade = R(100)
  kCloudTilt,     // vy = -v with up held, then v with down held
  kCloudRise,     // a = R(3), b = R(10): vy = -(1 + a) - 0.1 b
  kCloudFall,     // vy = (1 + a) + 0.1 b
  kWholeVy,       // vy = R(8) - 4
  kFlame,         // vx = side x (speed + R(3)), then phase = base + 0.01 R(3)
  kBurstAhead,    // animation 149 + R(9), scaleDelta base + 0.1 R(5), x = P.x + d (gap + R(64))
  kShotLevelPower,  // attackPower = 5 x ShotLevel + 120
};

struct ShotRecord {
  int templateId;
  const TemplateRow* common;
  TemplateRow own;
  Side side = Side::kPlayer;
  FacingFrom facing = FacingFrom::kArgument;
  float back = 0.0f, dy = 0.0f;  // x = P.x - side x back, y = P.y + dy
  std::optional<BySide> vx{};     // not written when empty
  Drawn drawn = Drawn::kNone;
  double base = 0.0, gap = 0.0;  // the drawn fields' constants: tilt or phase or scale base; gap
};

// ---- WindForce (2034-2040) and WindForce-Variant (2074-2077) ----

constexpr TemplateRow kWindForce = {.layer = 6, .category = kCategoryPlayerShot, .collidable = 1, .width = 32,
                                    .height = 32, .imageSet = 0, .blendMode = 2};

constexpr ShotRecord WindForceRecord(int id, int state, std::optional<int> timer, float dy, int hit, int animation,
                                     int behaviour, int power, float speed, std::optional<float> vy) {
  const TemplateRow own{.state = state, .vy = vy, .hitWidth = hit, .hitHeight = hit, .animation = animation,
                        .behaviour = behaviour, .timer = timer, .attackPower = power};
  return {id, &kWindForce, own, Side::kPlayer, FacingFrom::kArgument, 0.0f, dy, Along(speed)};
}

// The shots that fly at once.
constexpr ShotRecord WindForce(int id, int animation, int power, float speed, std::optional<float> vy = {}) {
  return WindForceRecord(id, 1, {}, 0.0f, 20, animation, 4001, power, speed, vy);
}
// The shots that wait `timer` frames above or below the player.
constexpr ShotRecord WindForceDelayed(int id, int timer, float dy, float speed, float vy) {
  return WindForceRecord(id, 2, timer, dy, 15, 9, 4049, 30, speed, vy);
}

constexpr TemplateRow kWindForceVariant = {.state = 1, .layer = 6, .category = kCategoryPlayerShot, .collidable = 1,
                                           .width = 32, .height = 32, .blendMode = 2};

constexpr ShotRecord WindForceVariant(int id, float back, float dy, std::optional<float> vy, int hitWidth,
                                      int hitHeight, int imageSet, int animation, int power, float speed,
                                      int behaviour = 4045) {
  const TemplateRow own{.vy = vy, .hitWidth = hitWidth, .hitHeight = hitHeight, .imageSet = imageSet,
                        .animation = animation, .behaviour = behaviour, .attackPower = power};
  return {id, &kWindForceVariant, own, Side::kPlayer, FacingFrom::kArgument, back, dy, Along(speed)};
}

// The side shots: small ones, and the large ones of the upper levels.
constexpr ShotRecord WindForceVariantSmall(int id, float back, float dy, float vy, float speed) {
  return WindForceVariant(id, back, dy, vy, 20, 20, 0, 139, 15, speed);
}
constexpr ShotRecord WindForceVariantLarge(int id, float back, float dy, float vy) {
  return WindForceVariant(id, back, dy, vy, 25, 50, 1, 140, 20, 30.0f);
}

constexpr ShotRecord WindForceVariantMain(int id, int power) {
  return WindForceVariant(id, 0.0f, 0.0f, {}, 20, 20, 0, 118, power, 30.0f, 4001);
}

// ---- GhostFlame (2041-2044), GhostFlame-Variant (2066-2069), 2001, 2009, 2011 ----

constexpr TemplateRow kGhostFlame = {.state = 1, .layer = 6, .category = kCategoryPlayerShot, .collidable = 1,
                                     .width = 32, .height = 32, .hitWidth = 24, .hitHeight = 24, .blendMode = 2,
                                     .behaviour = 4009};

// The level 0 flames: facing and vx from the player, fade drawn.
constexpr ShotRecord GhostFlameDrawn(int id, float dy, std::optional<float> vy) {
  const TemplateRow own{.vy = vy, .imageSet = 0, .animation = 15, .attackPower = 20};
  return {id, &kGhostFlame, own, Side::kPlayer, FacingFrom::kPlayer, 0.0f, dy, Along(22.0f), Drawn::kFade};
}

constexpr ShotRecord GhostFlame(int id, float back, float dy, std::optional<float> vy, int imageSet, int animation,
                                int power, float speed = 22.0f) {
  const TemplateRow own{.vy = vy, .imageSet = imageSet, .animation = animation, .attackPower = power};
  return {id, &kGhostFlame, own, Side::kArgument, FacingFrom::kArgument, back, dy, Along(speed)};
}

constexpr TemplateRow kUncalledFlame = {.state = 1, .layer = 6, .category = kCategoryPlayerShot, .collidable = 1,
                                        .width = 32, .height = 32, .hitWidth = 24, .hitHeight = 24, .imageSet = 0,
                                        .blendMode = 2};

constexpr ShotRecord UncalledFlame(int id, float dy, std::optional<float> vy, int animation, int power,
                                   int behaviour, BySide vx) {
  const TemplateRow own{.vy = vy, .animation = animation, .behaviour = behaviour, .attackPower = power};
  return {id, &kUncalledFlame, own, Side::kPlayer, FacingFrom::kPlayer, 0.0f, dy, vx, Drawn::kFade};
}

// ---- StomeSpike (2045-2049), StomeSpike-Variant (2070-2073) ----

constexpr TemplateRow kSpike = {.state = 1, .layer = 6, .category = kCategoryPlayerShot, .collidable = 1,
                                .blendMode = 2};

constexpr ShotRecord Spike(int id, int size, int hitWidth, int hitHeight, int imageSet, int animation, int behaviour,
                           int power, float speed, std::optional<float> phase2 = {}) {
  const TemplateRow own{.width = size, .height = size, .hitWidth = hitWidth, .hitHeight = hitHeight,
                        .imageSet = imageSet, .animation = animation, .behaviour = behaviour, .attackPower = power,
                        .phase2 = phase2};
  return {id, &kSpike, own, Side::kPlayer, FacingFrom::kArgument, 0.0f, 0.0f, Along(speed)};
}

// ---- CloudClack (2026, 2052-2054), CloudClack-Variant (2062-2065) ----

constexpr TemplateRow kCloud = {.state = 1, .layer = 6, .category = kCategoryPlayerShot, .collidable = 1,
                                .width = 64, .height = 64, .blendMode = 2};

constexpr ShotRecord Cloud(int id, int hit, int imageSet, int animation, int behaviour, int power, double tilt,
                           std::optional<float> scaleDelta = {}) {
  const TemplateRow own{.hitWidth = hit, .hitHeight = hit, .imageSet = imageSet, .animation = animation,
                        .scaleDelta = scaleDelta, .behaviour = behaviour, .attackPower = power};
  return {id, &kCloud, own, Side::kPlayer, FacingFrom::kPlayer, 0.0f, 0.0f, Against(3.0f), Drawn::kCloudTilt, tilt};
}

constexpr ShotRecord CloudPair(int id, bool rising, int hit, int imageSet, int animation, int behaviour,
                               float scaleDelta, BySide vx) {
  const TemplateRow own{.hitWidth = hit, .hitHeight = hit, .imageSet = imageSet, .animation = animation,
                        .scaleDelta = scaleDelta, .behaviour = behaviour, .attackPower = 60};
  return {id, &kCloud, own, Side::kPlayer, FacingFrom::kPlayer, 0.0f, 0.0f, vx,
          rising ? Drawn::kCloudRise : Drawn::kCloudFall};
}

// ---- Uncalled 2024, 2029, 2030 and DragonScale (2081-2084) ----

constexpr TemplateRow kOneShot = {.state = 1, .layer = 6, .category = kCategoryPlayerShot, .collidable = 1,
                                  .blendMode = 2};

constexpr ShotRecord Flame(int id, int hitWidth, int hitHeight, int power, std::optional<float> scaleDelta,
                           double phaseBase) {
  const TemplateRow own{.width = 64, .height = 64, .hitWidth = hitWidth, .hitHeight = hitHeight, .imageSet = 1,
                        .animation = 91, .scaleDelta = scaleDelta, .behaviour = 4022, .attackPower = power};
  return {id, &kOneShot, own, Side::kPlayer, FacingFrom::kPlayer, 0.0f, 0.0f, Along(15.0f), Drawn::kFlame, phaseBase};
}

// ---- DragonScale-Variant (2085, 2087-2089) ----

constexpr TemplateRow kBurstAhead = {.state = 1, .layer = 6, .category = kCategoryPlayerShot, .collidable = 1,
                                     .width = 96, .height = 96, .imageSet = 2, .blendMode = 2};

constexpr ShotRecord BurstAhead(int id, int hit, int power, int behaviour, double scaleBase, double gap) {
  const TemplateRow own{.hitWidth = hit, .hitHeight = hit, .behaviour = behaviour, .attackPower = power};
  return {id, &kBurstAhead, own, Side::kPlayer, FacingFrom::kArgument, 0.0f, 0.0f, {}, Drawn::kBurstAhead,
          scaleBase, gap};
}

// ---- GoldStrike (2099, 2101, 2102) and GoldStrike-Variant (2216-2218, 2226) ----

constexpr TemplateRow kBolt = {.state = 1, .layer = 6, .category = kCategoryPlayerShot, .collidable = 1, .width = 96,
                               .height = 96, .imageSet = 2, .blendMode = 2};

constexpr ShotRecord Bolt(int id, int hitHeight, int animation, int behaviour, float speed) {
  const TemplateRow own{.hitWidth = 80, .hitHeight = hitHeight, .animation = animation, .behaviour = behaviour};
  return {id, &kBolt, own, Side::kPlayer, FacingFrom::kPlayerCopy, 0.0f, 0.0f, Along(speed), Drawn::kShotLevelPower};
}

constexpr ShotRecord BoltOfFan(int id, float dy, float speed) {
  const TemplateRow own{.hitWidth = 80, .hitHeight = 50, .animation = 174, .behaviour = 4055, .attackPower = 100};
  return {id, &kBolt, own, Side::kPlayer, FacingFrom::kPlayerCopy, 0.0f, dy, Along(speed)};
}

// The muzzle flash standing where its bolt will be a frame later; its facing, vx and
// scaleDelta are written with their reset values.
constexpr TemplateRow kFlash = {.state = 1, .layer = 6, .category = kCategoryEffect, .vx = 0.0f, .width = 96,
                                .height = 96, .imageSet = 2, .blendMode = 2, .fade = 100.0f, .animation = 173,
                                .facing = 0, .scaleDelta = 0.0f, .behaviour = 4010};

constexpr ShotRecord Flash(int id, float ahead, float dy) {
  return {id, &kFlash, {}, Side::kPlayer, FacingFrom::kRow, -ahead, dy};
}

constexpr ShotRecord WithFacing(ShotRecord record, FacingFrom facing) {
  record.facing = facing;
  return record;
}

constexpr ShotRecord kShotRecords[] = {
    // WindForce: animation, attack, speed, vy; delayed: timer, dy, speed, vy.
    WindForce(2034, 118, 30, 18.0f),
    WindForce(2034, 119, 20, 16.0f, 1.5f),
    WindForce(2034, 119, 20, 16.0f, -1.5f),
    WindForce(2035, 118, 30, 18.0f),
    WindForce(2035, 118, 20, 16.0f, 2.5f),
    WindForce(2035, 118, 20, 16.0f, -2.5f),
    WindForceDelayed(2036, 1, 20.0f, 13.0f, 3.8f),
    WindForceDelayed(2036, 3, 20.0f, 12.0f, 4.2f),
    WindForceDelayed(2036, 1, -20.0f, 13.0f, -3.8f),
    WindForceDelayed(2036, 3, -20.0f, 12.0f, -4.2f),
    WindForce(2037, 118, 30, 18.0f),
    WindForce(2037, 118, 20, 15.0f, 3.0f),
    WindForce(2037, 119, 20, 12.0f, 4.0f),
    WindForce(2037, 118, 20, 15.0f, -3.0f),
    WindForce(2037, 119, 20, 12.0f, -4.0f),
    WindForceDelayed(2038, 1, 20.0f, 10.0f, 4.5f),
    WindForceDelayed(2038, 3, 20.0f, 8.0f, 5.5f),
    WindForceDelayed(2038, 1, -20.0f, 10.0f, -5.5f),
    WindForceDelayed(2038, 3, -20.0f, 8.0f, -6.5f),
    WindForce(2039, 118, 30, 18.0f),
    WindForce(2039, 118, 20, 15.0f, 3.0f),
    WindForce(2039, 119, 20, 12.0f, 4.0f),
    WindForce(2039, 119, 20, 9.0f, 5.0f),
    WindForce(2039, 118, 20, 15.0f, -3.0f),
    WindForce(2039, 119, 20, 12.0f, -4.0f),
    WindForce(2039, 119, 20, 9.0f, -5.0f),
    WindForceDelayed(2040, 1, 20.0f, 7.0f, 6.5f),
    WindForceDelayed(2040, 3, 20.0f, 5.0f, 7.5f),
    WindForceDelayed(2040, 1, -20.0f, 7.0f, -6.5f),
    WindForceDelayed(2040, 3, -20.0f, 5.0f, -7.5f),
    // WindForce-Variant: the main shot's attack; the side shots' back, dy, vy (and speed).
    WindForceVariantMain(2074, 20),
    WindForceVariantSmall(2074, 10.0f, 10.0f, 4.0f, 20.0f),
    WindForceVariantSmall(2074, 10.0f, -10.0f, -4.0f, 20.0f),
    WindForceVariantMain(2075, 20),
    WindForceVariantSmall(2075, 20.0f, 10.0f, 3.0f, 30.0f),
    WindForceVariantSmall(2075, 40.0f, 20.0f, 6.0f, 30.0f),
    WindForceVariantSmall(2075, 20.0f, -10.0f, -3.0f, 30.0f),
    WindForceVariantSmall(2075, 40.0f, -20.0f, -6.0f, 30.0f),
    WindForceVariantMain(2076, 30),
    WindForceVariantLarge(2076, 30.0f, 15.0f, 3.0f),
    WindForceVariantLarge(2076, 60.0f, 30.0f, 4.5f),
    WindForceVariantLarge(2076, 90.0f, 45.0f, 6.0f),
    WindForceVariantLarge(2076, 30.0f, -15.0f, -3.0f),
    WindForceVariantLarge(2076, 60.0f, -30.0f, -4.5f),
    WindForceVariantLarge(2076, 90.0f, -45.0f, -6.0f),
    WindForceVariantMain(2077, 30),
    WindForceVariantLarge(2077, 30.0f, 15.0f, 4.0f),
    WindForceVariantLarge(2077, 60.0f, 30.0f, 5.5f),
    WindForceVariantLarge(2077, 90.0f, 45.0f, 7.0f),
    WindForceVariantLarge(2077, 120.0f, 60.0f, 8.5f),
    WindForceVariantLarge(2077, 30.0f, -15.0f, -4.0f),
    WindForceVariantLarge(2077, 60.0f, -30.0f, -5.5f),
    WindForceVariantLarge(2077, 90.0f, -45.0f, -7.0f),
    WindForceVariantLarge(2077, 120.0f, -60.0f, -8.5f),
    // GhostFlame: back, dy, vy, imageSet, animation, attack (speed 22).
    GhostFlameDrawn(2041, -6.0f, {}),
    GhostFlameDrawn(2041, 6.0f, {}),
    GhostFlame(2042, 8.0f, -20.0f, {}, 0, 15, 20),
    GhostFlame(2042, 0.0f, 0.0f, {}, 0, 121, 30),
    GhostFlame(2042, 8.0f, 20.0f, {}, 0, 15, 20),
    GhostFlame(2043, 26.0f, -46.0f, {}, 7, 279, 10),
    GhostFlame(2043, 12.0f, -23.0f, {}, 0, 15, 30),
    GhostFlame(2043, 0.0f, 0.0f, {}, 0, 122, 40),
    GhostFlame(2043, 12.0f, 23.0f, {}, 0, 15, 30),
    GhostFlame(2043, 26.0f, 46.0f, {}, 7, 279, 10),
    GhostFlame(2044, 26.0f, -60.0f, {}, 0, 15, 30),
    GhostFlame(2044, 14.0f, -30.0f, {}, 0, 121, 40),
    GhostFlame(2044, 0.0f, 0.0f, {}, 0, 122, 40),
    GhostFlame(2044, 14.0f, 30.0f, {}, 0, 121, 40),
    GhostFlame(2044, 26.0f, 60.0f, {}, 0, 15, 30),
    // GhostFlame-Variant: back, vy, imageSet, animation, attack, speed (all at P.y).
    GhostFlameDrawn(2066, 0.0f, -0.8f),
    GhostFlameDrawn(2066, 0.0f, 0.8f),
    GhostFlame(2067, 8.0f, 0.0f, -1.3f, 0, 15, 20),
    GhostFlame(2067, 0.0f, 0.0f, {}, 0, 121, 30),
    GhostFlame(2067, 8.0f, 0.0f, 1.3f, 0, 15, 20),
    GhostFlame(2068, 12.0f, 0.0f, -2.8f, 7, 279, 10),
    GhostFlame(2068, 12.0f, 0.0f, -1.7f, 0, 15, 30),
    GhostFlame(2068, 0.0f, 0.0f, {}, 0, 122, 40),
    GhostFlame(2068, 12.0f, 0.0f, 1.7f, 0, 15, 30),
    GhostFlame(2068, 12.0f, 0.0f, 2.8f, 7, 279, 10),
    GhostFlame(2069, 12.0f, 0.0f, -3.0f, 7, 279, 10, 21.0f),
    GhostFlame(2069, 26.0f, 0.0f, -2.0f, 0, 15, 30),
    GhostFlame(2069, 14.0f, 0.0f, -1.0f, 0, 121, 40),
    GhostFlame(2069, 0.0f, 0.0f, {}, 0, 122, 40),
    GhostFlame(2069, 14.0f, 0.0f, 1.0f, 0, 121, 40),
    GhostFlame(2069, 26.0f, 0.0f, 2.0f, 0, 15, 30),
    GhostFlame(2069, 12.0f, 0.0f, 3.3f, 7, 279, 10, 21.0f),
    // Flames no caller creates: dy, vy, animation, attack, behaviour, vx by the player's side.
    UncalledFlame(2001, 0.0f, {}, 10, 30, 4001, {19.0f, -20.0f}),
    UncalledFlame(2001, 0.0f, 2.0f, 10, 30, 4007, {19.0f, -18.0f}),
    UncalledFlame(2001, 0.0f, -2.0f, 10, 30, 4007, {19.0f, -18.0f}),
    UncalledFlame(2009, 20.0f, 3.0f, 9, 50, 4007, Along(16.0f)),
    UncalledFlame(2009, -20.0f, -3.0f, 9, 50, 4007, Along(16.0f)),
    UncalledFlame(2011, -6.0f, {}, 15, 50, 4009, {22.0f, -22.5f}),
    UncalledFlame(2011, 6.0f, {}, 15, 50, 4009, {22.0f, -22.5f}),
    // StomeSpike: size, hit box, imageSet, animation, behaviour, attack, speed, phase2.
    Spike(2045, 32, 18, 24, 3, 290, 4016, 60, 24.0f),
    Spike(2046, 32, 14, 20, 1, 125, 4016, 50, 25.0f, -8.0f),
    Spike(2046, 32, 16, 20, 1, 125, 4016, 50, 25.0f, 8.0f),
    Spike(2047, 64, 16, 26, 1, 123, 4025, 80, 26.0f),
    Spike(2047, 96, 30, 90, 2, 124, 4026, 40, 25.0f),
    Spike(2049, 96, 64, 64, 2, 126, 4028, 100, 27.0f),
    Spike(2049, 96, 30, 96, 2, 128, 4026, 40, 26.0f),
    Spike(2070, 32, 18, 22, 1, 141, 4041, 30, 21.0f),
    Spike(2071, 32, 14, 20, 1, 141, 4041, 25, 21.0f, -8.0f),
    Spike(2071, 32, 14, 20, 1, 141, 4041, 25, 21.0f, 8.0f),
    Spike(2072, 64, 10, 24, 1, 123, 4042, 30, 24.0f),
    Spike(2072, 96, 10, 90, 2, 144, 4043, 20, 25.0f),
    Spike(2073, 96, 64, 64, 2, 146, 4043, 40, 26.0f),
    Spike(2073, 96, 3, 96, 2, 148, 4044, 30, 25.0f),
    WithFacing(Spike(2024, 32, 3, 3, 0, 104, 4016, 60, 15.0f), FacingFrom::kPlayer),
    // CloudClack: hit box, imageSet, animation, behaviour, attack, tilt, scaleDelta.
    Cloud(2026, 70, 1, 106, 4018, 100, 0.5),
    Cloud(2052, 80, 1, 106, 4031, 120, 1.1),
    Cloud(2053, 90, 3, 133, 4032, 130, 1.4),
    Cloud(2054, 100, 3, 133, 4033, 140, 1.6, 0.5f),
    // CloudClack-Variant: rising record, then falling; vx for the player facing 0 / 1.
    CloudPair(2062, true, 50, 1, 106, 4037, -0.25f, Against(10.0f)),
    CloudPair(2062, false, 50, 1, 106, 4037, -0.25f, Against(10.0f)),
    CloudPair(2063, true, 60, 1, 106, 4038, -0.1f, Against(9.6f)),
    CloudPair(2063, false, 60, 1, 106, 4038, -0.1f, Against(9.6f)),
    CloudPair(2064, true, 70, 3, 133, 4039, -0.1f, Against(9.2f)),
    CloudPair(2064, false, 70, 3, 133, 4039, -0.1f, {-9.2f, 9.0f}),
    CloudPair(2065, true, 70, 3, 133, 4040, -0.1f, {-8.8f, 9.0f}),
    CloudPair(2065, false, 80, 3, 133, 4040, -0.1f, {-8.8f, 9.0f}),
    // Clouds and a flame no caller creates.
    {2029, &kOneShot, {.width = 64, .height = 64, .hitWidth = 32, .hitHeight = 32, .imageSet = 1, .animation = 106,
                       .behaviour = 4021, .attackPower = 90},
     Side::kPlayer, FacingFrom::kPlayer, 0.0f, 0.0f, Against(9.0f), Drawn::kWholeVy},
    Flame(2030, 3, 52, 90, {}, 0.06),
    // DragonScale: hit height, attack, scaleDelta, phase base.
    Flame(2081, 30, 72, 80, {}, 0.06),
    Flame(2082, 30, 92, 125, 0.7f, 0.10),
    Flame(2083, 30, 132, 160, 1.5f, 0.14),
    Flame(2084, 30, 162, 180, 3.0f, 0.22),
    // DragonScale-Variant: hit box, attack, behaviour, scaleDelta base, gap.
    BurstAhead(2085, 96, 100, 4046, 0.0, 65.0),
    BurstAhead(2087, 116, 140, 4046, 0.5, 50.0),
    BurstAhead(2088, 146, 180, 4047, 0.8, 35.0),
    BurstAhead(2089, 176, 220, 4048, 1.2, 20.0),
    // GoldStrike: the bolt, its flash, and the faster bolt no caller creates.
    Bolt(2099, 80, 172, 4054, 50.0f),
    Flash(2101, 60.0f, 0.0f),
    Bolt(2102, 50, 174, 4055, 60.0f),
};

// GoldStrike-Variant: each template's bolts as (dy, speed), top to bottom; it creates
// the bolts in this order and then one flash for each.
struct FanBolt {
  int templateId;
  float dy, speed;
};
constexpr FanBolt kFanBolts[] = {
    {2216, -20.0f, 60.0f}, {2216, 20.0f, 60.0f},
    {2217, -35.0f, 60.0f}, {2217, 0.0f, 70.0f},   {2217, 35.0f, 60.0f},
    {2218, -50.0f, 60.0f}, {2218, -22.0f, 70.0f}, {2218, 22.0f, 70.0f}, {2218, 50.0f, 60.0f},
    {2226, -77.0f, 50.0f}, {2226, -50.0f, 60.0f}, {2226, -22.0f, 70.0f}, {2226, 22.0f, 70.0f},
    {2226, 50.0f, 60.0f},  {2226, 77.0f, 50.0f},
};

// One draw of CloudClack-Variant: a = R(3), then b = R(10); the speed (1 + a) + 0.1 b.
double CloudLift() {
  const int whole = RandomInRange(3);
  const int tenths = RandomInRange(10);
  return (1 + whole) + 0.1 * tenths;
}

void WriteDrawn(GameObject& record, const ShotRecord& shot, float side) {
  switch (shot.drawn) {
    case Drawn::kNone: break;
    case Drawn::kFade: {
      const int fade = RandomInRange(100);
      record.fade = static_cast<float>(fade);
      break;
    }
    case Drawn::kCloudTilt:
      // The down count stays 0 while up is held, so up wins.
      if (BitHold[0] > 0) record.vy = static_cast<float>(-shot.base);
      if (BitHold[1] > 0) record.vy = static_cast<float>(shot.base);
      break;
    case Drawn::kCloudRise: record.vy = static_cast<float>(-CloudLift()); break;
    case Drawn::kCloudFall: record.vy = static_cast<float>(CloudLift()); break;
    case Drawn::kWholeVy: {
      const int vy = RandomInRange(8);
      record.vy = static_cast<float>(vy - 4);
      break;
    }
    case Drawn::kFlame: DrawFlameCourse(record, side, static_cast<int>(shot.vx->forward), shot.base); break;
    case Drawn::kBurstAhead: {
      const int row = RandomInRange(9);
      record.animation = 149 + row;
      const int scale = RandomInRange(5);
      record.scaleDelta = static_cast<float>(shot.base + 0.1 * scale);
      const int reach = RandomInRange(64);
      record.x = Player().x + side * static_cast<float>(shot.gap + reach);
      break;
    }
    case Drawn::kShotLevelPower: record.attackPower = 5 * ShotLevel + 120; break;
  }
}

int FacingOf(const GameObject& record, const ShotRecord& shot, const TemplateCall& call) {
  switch (shot.facing) {
    case FacingFrom::kArgument: return call.facing;
    case FacingFrom::kPlayer: return PlayerFacingBit();
    case FacingFrom::kPlayerCopy: return Player().facing;
    case FacingFrom::kRow: break;
  }
  return record.facing;
}

void CreateShotRecord(const ShotRecord& shot, const TemplateCall& call) {
  const float side = shot.side == Side::kPlayer ? PlayerSide() : ForwardSign(call.facing);
  GameObject& record = NewRecordAtPlayer(*shot.common, shot.own);
  record.x = Player().x - side * shot.back;
  record.y = Player().y + shot.dy;
  record.facing = FacingOf(record, shot, call);
  if (shot.vx) record.vx = shot.vx->For(side);
  WriteDrawn(record, shot, side);
}

void CreateShot(const TemplateCall& call) {
  for (const ShotRecord& shot : kShotRecords) {
    if (shot.templateId == call.templateId) CreateShotRecord(shot, call);
  }
}

void CreateFan(const TemplateCall& call) {
  for (const FanBolt& bolt : kFanBolts) {
    if (bolt.templateId == call.templateId) CreateShotRecord(BoltOfFan(bolt.templateId, bolt.dy, bolt.speed), call);
  }
  for (const FanBolt& bolt : kFanBolts) {
    if (bolt.templateId == call.templateId) CreateShotRecord(Flash(bolt.templateId, bolt.speed, bolt.dy), call);
  }
}

// A template's records lie together in the table: one entry for each run of them.
constexpr std::size_t CountTemplates() {
  std::size_t count = 0;
  for (std::size_t i = 0; i < std::size(kShotRecords); ++i) {
    count += i == 0 || kShotRecords[i].templateId != kShotRecords[i - 1].templateId;
  }
  return count;
}

constexpr int kFanTemplates[] = {2216, 2217, 2218, 2226};

constexpr auto kEntries = [] {
  std::array<TemplateEntry, CountTemplates() + std::size(kFanTemplates)> entries{};
  std::size_t next = 0;
  for (int templateId : kFanTemplates) entries[next++] = {templateId, CreateFan};
  for (std::size_t i = 0; i < std::size(kShotRecords); ++i) {
    if (i == 0 || kShotRecords[i].templateId != kShotRecords[i - 1].templateId) {
      entries[next++] = {kShotRecords[i].templateId, CreateShot};
    }
  }
  return entries;
}();
static_assert(std::size(kEntries) == 56, "56 shot templates");

}  // namespace

std::span<const TemplateEntry> PlayerShotTemplates() { return kEntries; }
