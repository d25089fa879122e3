// The stage 8 composite boss: nine armour members riding on the body in slot 10, each
// with the common frame (reward decay, follow, flicker, range gate) and its own
// attack schedule.
#include <array>
#include <span>

#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/attack_schedule.h"

namespace {

constexpr int kBodySlot = 10;
constexpr int kDecayEvery = 120;
constexpr double kRange = 1600.0;

// An enemy launched into group 2 at one frame of the clock.
constexpr ScheduledShot Launch(int timer, int templateId, double dx, double dy) {
  return {timer, timer, 1, templateId, 1, dx, 0, dy, 0, 0, 2, 0, 0};
}

// 3086: every shot from (x - 50 + R(100), y - 50 + R(100)).
constexpr std::array<ScheduledShot, 30> HeavyArmourShots() {
  std::array<ScheduledShot, 30> rows{};
  int i = 0;
  const auto add = [&](int timer, int templateId, int parameter) {
    rows[i++] = {timer, timer, 1, templateId, 1, -50, 100, -50, 100, 0, parameter, 0, 0};
  };
  for (int start : {60, 120, 180}) {
    const int fan[] = {30, 40, 30, 40, 30};
    for (int k = 0; k < 5; ++k) add(start + k, 5027, fan[k]);
    const int rings[] = {30, start == 180 ? 40 : 35, start == 180 ? 50 : 40};
    for (int k = 0; k < 3; ++k) add(start + 6 + 2 * k, 5012, rings[k]);
  }
  for (int timer = 300; timer <= 310; timer += 2) add(timer, 5017, 50);
  return rows;
}
constexpr auto kHeavyArmour = HeavyArmourShots();

constexpr ScheduledShot kCannon[] = {{60, 80, 10, 5020, 1, 121, 0, -92, 0, 0, 5, 0, 87},
                                     {260, 280, 10, 5020, 1, 121, 0, -92, 0, 0, 5, 0, 87},
                                     {460, 480, 10, 5020, 1, 121, 0, -92, 0, 0, 5, 0, 87}};
constexpr ScheduledShot kBurner[] = {{101, 299, 1, 5021, 1, 84, 0, -183, 0, 0, 10, 0, 88}};
constexpr ScheduledShot kDroneBay[] = {Launch(100, 1098, 0, -200),   Launch(101, 1098, 150, 150),
                                       Launch(102, 1098, -150, 150), Launch(500, 1098, 0, -200),
                                       Launch(501, 1098, 150, 150),  Launch(502, 1098, -150, 150)};
constexpr ScheduledShot kHangar[] = {
    Launch(200, 1099, 100, -100), Launch(220, 1099, 150, 0),    Launch(240, 1099, 100, 100),
    Launch(350, 1099, 100, -100), Launch(370, 1099, 150, 0),    Launch(390, 1099, 100, 100),
    Launch(500, 1099, 100, -100), Launch(520, 1099, 150, 0),    Launch(540, 1099, 100, 100),
    Launch(600, 1092, 100, -150), Launch(601, 1092, 130, -100), Launch(602, 1092, 150, -50),
    Launch(603, 1092, 160, 0),    Launch(604, 1092, 150, 50),   Launch(605, 1092, 130, 100),
    Launch(606, 1092, 100, 150),  {700, 700, 1, 1101, 1, 300, 0, 0, 0, 1, 2, 0, 0}};
// 3093: fans at T..T+4, T+6, T+8, T+10 with parameters 30, 32, ..., 44.
constexpr std::array<ScheduledShot, 32> FanShots() {
  std::array<ScheduledShot, 32> rows{};
  const int offsets[] = {0, 1, 2, 3, 4, 6, 8, 10};
  int i = 0;
  for (int start = 100; start <= 400; start += 100) {
    for (int k = 0; k < 8; ++k) {
      const int timer = start + offsets[k];
      rows[i++] = {timer, timer, 1, 5016, 1, 0, 100, -100, 200, 0, 30 + 2 * k, 0, 0};
    }
  }
  return rows;
}
constexpr auto kFanArmour = FanShots();
constexpr ScheduledShot kSmallGun[] = {{100, 110, 2, 5014, 1, 0, 0, 0, 0, 0, 50, 0, 0},
                                       {160, 170, 2, 5014, 1, 0, 0, 0, 0, 0, 60, 0, 0},
                                       {220, 230, 2, 5014, 1, 0, 0, 0, 0, 0, 70, 0, 0}};
constexpr ScheduledShot kScatter[] = {{101, 199, 1, 5030, 1, -100, 200, -100, 200, 0, 40, 0, 0}};

struct Member {
  int id;
  bool attacks;  // false for the bare shield: follow and flicker only
  bool gated;    // attacks only while the player is within 1600 px horizontally
  int cycle;
  std::span<const ScheduledShot> schedule;
};
constexpr Member kMembers[] = {{3085, false, false, 0, {}},
                               {3086, true, true, 600, kHeavyArmour},
                               {3087, true, true, 600, kCannon},
                               {3088, true, true, 600, kBurner},
                               {3090, true, false, 1400, kDroneBay},
                               {3091, true, true, 900, kHangar},
                               {3093, true, true, 600, kFanArmour},
                               {3094, true, true, 360, kSmallGun},
                               {3095, true, true, 600, kScatter}};

bool PlayerWithinRange(const GameObject& member) {
  const double playerX = Player().x;
  return playerX > member.x - kRange && playerX < member.x + kRange;
}

void FightAsMember(int slot) {
  GameObject& member = ObjectPool[slot];
  const Member& row = RowFor(kMembers, member.behaviour);
  if (row.attacks && member.timer % kDecayEvery == 0) {
    member.coinDrop -= 1;
    if (member.coinDrop < 0) member.coinDrop = 0;
  }
  member.x = static_cast<float>(static_cast<double>(ObjectPool[kBodySlot].x) + member.phase);
  member.y = static_cast<float>(static_cast<double>(ObjectPool[kBodySlot].y) + member.phase2);
  WanderHitBox(member);
  if (!row.attacks || (row.gated && !PlayerWithinRange(member))) return;
  member.timer += 1;
  FireSchedule(row.schedule, slot, member.timer);
  if (member.timer == row.cycle) member.timer = 0;
}

constexpr auto kEntries = EntriesFor(kMembers, &FightAsMember);

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
