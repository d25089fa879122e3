// The first stage 8 boss: the main body on slot 10 launching escort waves, the two
// twin bodies on slots 13 and 16 firing by the player's distance, and the glows and
// overlays that ride on them.
#include <cmath>

#include "core/game_state.h"
#include "core/object_pool.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/attack_schedule.h"

namespace {

constexpr int kCoinEvery = 80;

constexpr ScheduledShot Escort(int timer, int templateId, double dx, double dy) {
  const int group = templateId == 1091 ? 2 : 1;
  return {timer, timer, 1, templateId, 1, dx, 0, dy, 0, 1, group, 0, 0};
}
constexpr ScheduledShot kEscorts[] = {
    Escort(200, 1091, -100, -100), Escort(220, 1091, -150, 0),     Escort(240, 1091, -100, 100),
    Escort(400, 1091, -100, -100), Escort(420, 1091, -150, 0),     Escort(440, 1091, -100, 100),
    Escort(600, 1091, -100, -100), Escort(620, 1091, -150, 0),     Escort(640, 1091, -100, 100),
    Escort(800, 1091, -100, -100), Escort(820, 1091, -150, 0),     Escort(840, 1091, -100, 100),
    Escort(1000, 1092, -100, -150), Escort(1001, 1092, -130, -100), Escort(1002, 1092, -150, -50),
    Escort(1003, 1092, -160, 0),   Escort(1004, 1092, -150, 50),   Escort(1005, 1092, -130, 100),
    Escort(1006, 1092, -100, 150)};
constexpr int kMainCycle = 1010;
constexpr DamageDebrisStep kMainSmoke[] = {{10000, 30}, {5000, 20}, {2500, 15}};

// Launches the escort waves; when its time runs out it plays its own death sequence,
// which cancels the whole set without a score.
void LaunchEscorts(int slot) {
  GameObject& body = ObjectPool[slot];
  KeepInBossArena(body);
  body.fade = ByFrameCycle(0.0f, 20.0f, 40.0f, 30.0f, body.fade);
  body.workInt += 1;
  if (body.workInt % kCoinEvery == 0) body.coinDrop -= 1;
  if (body.coinDrop < 0) {
    ScreenFlash = 250.0f;
    SpawnDeathEffects(slot);
  }
  DropDamageDebris(slot, body.workInt, kMainSmoke);
  body.timer += 1;
  FireSchedule(kEscorts, slot, body.timer);
  if (body.timer == kMainCycle) body.timer = 0;
  FloatOnSlowWaves(body);
  FreeObjectIfOffWorld(slot);
}

constexpr int kTwinCycle = 1400;

// The twins' sets: near (|dx| < 3000) and far (beyond 3000 either way).
constexpr ScheduledShot kNearShots[] = {
    {100, 240, 1, 5028, 1, -150, 300, -150, 300, 0, 10, 7, 0},
    {240, 240, 1, 5017, 1, 0, 0, 0, 0, 0, 30, 0, 0},
    {300, 440, 1, 5030, 2, -150, 300, -150, 300, 0, 50, 45, 0},
    {440, 440, 1, 5017, 1, 0, 0, 0, 0, 0, 40, 0, 0},
    {600, 880, 1, 5029, 1, -150, 300, -150, 300, 0, 30, 110, 0},
    {880, 880, 1, 5017, 1, 0, 0, 0, 0, 0, 50, 0, 0},
    {940, kTwinCycle, 3, 5027, 2, -150, 300, -150, 200, 0, 30, 50, 0}};
constexpr ScheduledShot kFarShots[] = {{100, 400, 3, 5029, 1, -150, 300, -150, 300, 0, 120, 0, 0},
                                       {500, 900, 3, 5029, 1, -150, 300, -150, 300, 0, 180, 0, 0},
                                       {900, 1400, 1, 5021, 1, 0, 0, 0, 0, 0, 18, 0, 88}};
constexpr DamageDebrisStep kTwinSmoke[] = {{15000, 40}, {10000, 30}, {5000, 20}, {2500, 15}};
constexpr double kNearDistance = 3000.0;

// Creeps toward the player and fires its near or far set; exactly 3000 away, neither.
void FightAsTwin(int slot) {
  GameObject& twin = ObjectPool[slot];
  KeepInBossArena(twin);
  twin.x = static_cast<float>(twin.x + (Player().x > twin.x ? 0.001 : -0.001));
  twin.y = static_cast<float>(twin.y + (Player().y > twin.y ? 0.05 : -0.05));
  BossTimeRunsOut(slot, twin.timer, kCoinEvery);
  DropDamageDebris(slot, twin.timer, kTwinSmoke);
  twin.timer += 1;
  const double playerX = Player().x;
  if (std::abs(playerX - twin.x) < kNearDistance) {
    FireSchedule(kNearShots, slot, twin.timer);
  } else if (playerX < twin.x - kNearDistance || playerX > twin.x + kNearDistance) {
    FireSchedule(kFarShots, slot, twin.timer);
  }
  if (twin.timer == kTwinCycle) twin.timer = 0;
  twin.phase = static_cast<float>(twin.phase + 0.008);
  twin.y = static_cast<float>(twin.y + std::sin(twin.phase) * 3.6);
  const int sway = RandomInRange(10);
  twin.phase2 = static_cast<float>(twin.phase2 + sway * 0.001);
  twin.x = static_cast<float>(twin.x + std::cos(twin.phase2) * 3.5);
}

// The parts ride on their body: glows pulse between two bounds, overlays turn and flicker.
struct BossPart {
  int id;
  int bodySlot;
  bool glow;
  float top, bottom;  // a glow's turning bounds
};
constexpr BossPart kParts[] = {{4126, 10, true, 240.0f, 170.0f},
                               {4127, 13, false, 0.0f, 0.0f},
                               {4128, 16, false, 0.0f, 0.0f},
                               {4129, 13, true, 250.0f, 150.0f},
                               {4130, 16, true, 250.0f, 150.0f}};

void RideOnBody(int slot) {
  GameObject& part = ObjectPool[slot];
  const BossPart& row = RowFor(kParts, part.behaviour);
  part.x = ObjectPool[row.bodySlot].x;
  part.y = ObjectPool[row.bodySlot].y;
  if (!row.glow) {
    part.angle = static_cast<float>(part.angle + 0.002);
    part.fade = ByFrameCycle(0.0f, 50.0f, 0.0f, 30.0f, part.fade);
    return;
  }
  PulseFade(part.fade, part.phase, 1.0, row.top, row.bottom);
}

constexpr auto kEntries =
    JoinEntries(EntriesFor(kParts, &RideOnBody),
                std::array<BehaviourEntry, 2>{{{3082, &LaunchEscorts}, {3083, &FightAsTwin}}});

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
