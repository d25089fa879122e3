// The three-record flash where an enemy is about to appear (2002, 2168) and the
// pickups that destroyed enemies drop: the coin 1009 and the chips 1080, 1081, 1104.
#include <array>

#include "core/game_state.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/template_helpers.h"

namespace {

// ---- Appearance effect ----

constexpr int kAppearStage = 8;  // the stage whose effect uses its own sheets

constexpr TemplateRow kAppearRecord = {.state = 1, .layer = 6, .spare = 0.0f, .collidable = 0, .fade = 250.0f};
constexpr TemplateRow kSwirl = {.category = kCategoryEffect, .width = 128, .height = 128};
constexpr TemplateRow kSwirlStage8 = {.imageSet = 42, .blendMode = 2};
constexpr TemplateRow kSwirlOtherStages = {.imageSet = 3, .blendMode = 1};
constexpr TemplateRow kCentre = {.category = kCategoryDecoration, .width = 32, .height = 32,
                                 .angle = 0.0f, .scaleDelta = 4.0f, .phase = 0.0f, .phase2 = 0.0f};
constexpr TemplateRow kCentreStage8 = {.imageSet = 13, .blendMode = 2, .animation = 371};
constexpr TemplateRow kCentreOtherStages = {.imageSet = 1, .blendMode = 1, .animation = 1};

struct AppearBehaviours {
  int templateId;
  int swirl, centre;
};
constexpr std::array<AppearBehaviours, 2> kAppearBehaviours = {{{2002, 4003, 4002}, {2168, 4090, 4089}}};

void CreateSwirl(const TemplateCall& call, int behaviour) {
  GameObject& record = NewRecord(kAppearRecord);
  WriteRow(record, kSwirl);
  WriteRow(record, Stage == kAppearStage ? kSwirlStage8 : kSwirlOtherStages);
  PlaceAt(record, call.x, call.y);
  record.behaviour = behaviour;
  const int animation = RandomInRange(2);
  record.animation = 2 + animation;
  const int scale = RandomInRange(4);
  record.scaleDelta = static_cast<float>(scale);
  const int angle = RandomInRange(360);
  record.angle = static_cast<float>(angle);
  const int phase = RandomInRange(20);
  record.phase = static_cast<float>(static_cast<double>(phase) * 0.001);
  const int turn = RandomInRange(1);
  record.phase2 = turn == 0 ? 1.0f : -1.0f;
}

void CreateAppearEffect(const TemplateCall& call) {
  const AppearBehaviours& behaviours = RowOf<AppearBehaviours>(kAppearBehaviours, call.templateId);
  const int sound = RandomInRange(1);
  PlaySeIfIdle(61 + sound, 255);
  CreateSwirl(call, behaviours.swirl);
  CreateSwirl(call, behaviours.swirl);
  GameObject& centre = NewRecord(kAppearRecord);
  WriteRow(centre, kCentre);
  WriteRow(centre, Stage == kAppearStage ? kCentreStage8 : kCentreOtherStages);
  PlaceAt(centre, call.x, call.y);
  centre.behaviour = behaviours.centre;
}

// ---- Pickups ----

constexpr TemplateRow kPickup = {.state = 2, .category = kCategoryPickup, .spare = 0.0f, .collidable = 1,
                                 .width = 32, .height = 32, .blendMode = 2};

struct PickupTemplate {
  int templateId;
  TemplateRow row;
  bool spreadBothWays;  // x - R(w) + R(w) rather than x + R(w)
};
constexpr std::array<PickupTemplate, 4> kPickups = {{
    {1009, {.layer = 4, .hitWidth = 20, .hitHeight = 20, .imageSet = 0, .animation = 14, .behaviour = 3008}, false},
    {1080, {.layer = 0, .hitWidth = 160, .hitHeight = 160, .imageSet = 0, .animation = 328, .behaviour = 3068}, true},
    {1081, {.layer = 4, .hitWidth = 20, .hitHeight = 20, .imageSet = 40, .animation = 359, .behaviour = 3070}, false},
    {1104, {.layer = 0, .hitWidth = 160, .hitHeight = 160, .imageSet = 0, .animation = 328, .behaviour = 3068,
            .scoreValue = 100}, true},
}};

// A whole-number offset within `size`: R(size), or -R(size) + R(size) for the chips.
int SpreadOffset(int size, bool bothWays) {
  if (!bothWays) return RandomInRange(size);
  const int back = RandomInRange(size);
  const int forth = RandomInRange(size);
  return forth - back;
}

// The score chip grows with the value it pays.
float ChipScale(int scoreValue) {
  struct Step {
    int atLeast;
    float scaleDelta;
  };
  constexpr Step kSteps[] = {{10000, 2.6f}, {8000, 1.8f}, {5000, 1.4f}, {2000, 0.8f}, {1000, 0.6f}, {500, 0.2f}};
  for (const Step& step : kSteps) {
    if (scoreValue >= step.atLeast) return step.scaleDelta;
  }
  return 0.0f;
}

// Experience of the chip by stage (1 to 8), without and with PowerModeB.
int ChipExperience() {
  constexpr int kByStage[2][8] = {{40, 38, 36, 36, 36, 40, 32, 36}, {18, 17, 16, 16, 16, 18, 12, 16}};
  if (Stage < 1 || Stage > 8 || PowerModeB < 0 || PowerModeB > 1) return 0;
  return kByStage[PowerModeB][Stage - 1];
}

int PickupDelay(int templateId) {
  switch (templateId) {
    case 1080: return RandomInRange(KillChain / 2 + 20) + 2;
    case 1104: return RandomInRange(10) + 5;
    default: return RandomInRange(15) + 2;
  }
}

void CreatePickup(const TemplateCall& call) {
  const PickupTemplate& pickup = RowOf<PickupTemplate>(kPickups, call.templateId);
  const GameObject& parent = ParentRecord(call.parentSlot);
  GameObject& record = NewRecord(kPickup);
  WriteRow(record, pickup.row);
  const int dx = SpreadOffset(parent.width, pickup.spreadBothWays);
  record.x = static_cast<float>(call.x + dx);
  const int dy = SpreadOffset(parent.height, pickup.spreadBothWays);
  record.y = static_cast<float>(call.y + dy);
  record.timer = PickupDelay(call.templateId);
  TossUpward(record);
  if (call.templateId == 1080) {
    record.scoreValue = parent.scoreValue;
    record.scaleDelta = ChipScale(record.scoreValue);
  }
  if (call.templateId == 1081) record.expValue = ChipExperience();
}

constexpr TemplateEntry kEntries[] = {
    {2002, CreateAppearEffect}, {2168, CreateAppearEffect}, {1009, CreatePickup},
    {1080, CreatePickup},       {1081, CreatePickup},       {1104, CreatePickup},
};

}  // namespace

std::span<const TemplateEntry> AppearanceAndPickupTemplates() { return kEntries; }
