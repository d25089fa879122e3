#include "cell_roles.h"

#include <array>
#include <cmath>
#include <span>
#include <string_view>
#include <vector>

#include "core/animation.h"
#include "core/game_object.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "core/object_pool.h"
#include "core/resource_table.h"
#include "game_library.h"
#include "objects/object_factory.h"
#include "objects/objects.h"
#include "rows_in_play.h"

namespace {

// Pickups that pay coins or chips rather than an upgrade.
constexpr int kMoneyTemplates[] = {1009, 1080, 1081};
// Player shots that spread over the dragon itself: the blast of a spent level-up.
constexpr int kPowerTemplates[] = {2097};
// The glow of a hit on the dragon.
constexpr int kHitTemplates[] = {2010};

bool IsOneOf(std::span<const int> templates, int templateId) {
  for (int id : templates) {
    if (id == templateId) return true;
  }
  return false;
}

// The family a template belongs to, where it decides the role by itself.
enum class Family { kAny, kOptions, kScenery };

// While a scenery template is made, the dragon and the option given as its parent stand
// far outside every place the scenery's constants and draws reach, so a record near
// one of them was placed on it.
constexpr float kDragonX = -6000.0f, kDragonY = -6000.0f;
constexpr float kOptionX = -9000.0f, kOptionY = -9000.0f;
constexpr float kReach = 160.0f;

bool Near(const GameObject& object, float x, float y) {
  return std::fabs(object.x - x) <= kReach && std::fabs(object.y - y) <= kReach;
}

bool OnDragonOrOption(const GameObject& object) {
  return Near(object, kDragonX, kDragonY) || Near(object, kOptionX, kOptionY);
}

// A record made where the dragon stands that does not fly off: the game draws it over
// the dragon, and most such records' behaviours keep it there.
bool StaysOnDragon(const GameObject& object) {
  const GameObject& dragon = ObjectPool[kPlayerSlot];
  return object.x == dragon.x && object.y == dragon.y && object.vx == 0.0f && object.vy == 0.0f;
}

// Scenery stays in the background's tones, but what the scenery's templates place on
// the dragon or an option is a flash over it; what the others leave on the dragon is a
// glow around it, or a hit.
CellRole RoleOfRecord(const GameObject& object, int templateId, Family family) {
  if (family == Family::kOptions) return CellRole::kOption;
  if (family == Family::kScenery) return OnDragonOrOption(object) ? CellRole::kFlash : CellRole::kScenery;
  const bool harmless = object.category == kCategoryEffect || object.category == kCategoryDecoration;
  if (harmless && StaysOnDragon(object)) return IsOneOf(kHitTemplates, templateId) ? CellRole::kHit : CellRole::kHalo;
  switch (object.category) {
    case kCategoryPlayerShot: return IsOneOf(kPowerTemplates, templateId) ? CellRole::kPower : CellRole::kPlayerShot;
    case kCategoryEnemyBullet: return CellRole::kEnemyBullet;
    case kCategoryPickup: return IsOneOf(kMoneyTemplates, templateId) ? CellRole::kCoin : CellRole::kPickup;
    case kCategoryEnemy: return CellRole::kEnemy;
    case kCategoryEffect: return CellRole::kEffect;
    case kCategoryDecoration: return CellRole::kDecoration;
    default: return CellRole::kUnused;
  }
}

// How many templates show each cell in each role, by sheet.
using RoleCounts = std::map<std::string, std::map<int, std::array<int, kRoleCount>>>;

const RowMet* rowMet = nullptr;  // FindCellRoles's `met` while it runs

void NoteRow(RoleCounts& counts, int imageSet, int row, CellRole role) {
  if (role == CellRole::kUnused) return;
  if (rowMet != nullptr && *rowMet) (*rowMet)(imageSet, row);
  ForEachCellOfRow(imageSet, row, [&](const std::string& picture, int cell) {
    ++counts[picture][cell][static_cast<int>(role)];
  });
}

// Money and pickups keep their look wherever they show; otherwise a cell shows what
// most of the rows that show it are, the things a player must tell apart in play (bullets,
// shots, options) first, then what is drawn on the dragon, which must keep clear of it
// wherever else its cells show, before enemies, effects and decorations; a tie goes to
// the role listed first.
CellRole Decide(const std::array<int, kRoleCount>& count) {
  constexpr CellRole kAlways[] = {CellRole::kCoin, CellRole::kPickup};
  constexpr CellRole kPlay[] = {CellRole::kEnemyBullet, CellRole::kPlayerShot, CellRole::kPower, CellRole::kOption};
  constexpr CellRole kOnDragon[] = {CellRole::kFlash, CellRole::kHit, CellRole::kHalo};
  constexpr CellRole kOther[] = {CellRole::kEnemy, CellRole::kRain, CellRole::kScenery, CellRole::kEffect,
                                 CellRole::kDecoration};
  for (CellRole role : kAlways) {
    if (count[static_cast<int>(role)] > 0) return role;
  }
  for (std::span<const CellRole> roles : {std::span<const CellRole>(kPlay), std::span<const CellRole>(kOnDragon),
                                          std::span<const CellRole>(kOther)}) {
    CellRole best = CellRole::kUnused;
    int most = 0;
    for (CellRole role : roles) {
      if (count[static_cast<int>(role)] > most) best = role, most = count[static_cast<int>(role)];
    }
    if (best != CellRole::kUnused) return best;
  }
  return CellRole::kUnused;
}

// Makes a template and counts its records' cells. Scenery is made with the dragon and
// an option put aside, as its parent, and both put back after; the other families where
// the new game left the dragon, with the first group's parent, as their rows depend on
// them (enemies pick theirs by the dragon's side, the ending its pages by the parent).
void MakeOne(RoleCounts& counts, const TemplateEntry& entry, Family family) {
  const bool scenery = family == Family::kScenery;
  const GameObject dragon = ObjectPool[kPlayerSlot], option = ObjectPool[kFirstOptionSlot];
  if (scenery) {
    ObjectPool[kPlayerSlot].x = kDragonX, ObjectPool[kPlayerSlot].y = kDragonY;
    ObjectPool[kFirstOptionSlot].x = kOptionX, ObjectPool[kFirstOptionSlot].y = kOptionY;
  }
  for (const GameObject& record : MakeRecords(entry.templateId, scenery ? kFirstOptionSlot : kGroup1ParentSlot)) {
    NoteRow(counts, record.imageSet, record.animation, RoleOfRecord(record, entry.templateId, family));
  }
  if (scenery) ObjectPool[kPlayerSlot] = dragon, ObjectPool[kFirstOptionSlot] = option;
}

void MakeAll(RoleCounts& counts, std::span<const TemplateEntry> templates, Family family) {
  for (const TemplateEntry& entry : templates) MakeOne(counts, entry, family);
}

}  // namespace

std::vector<GameObject> MakeRecords(int templateId, int parent) {
  static std::vector<int> taken;
  taken.clear();
  RecordTakenHook = [](int slot) { taken.push_back(slot); };
  CreateObject(templateId, 1000, 500, 0, parent);
  RecordTakenHook = nullptr;
  std::vector<GameObject> records;
  for (int slot : taken) {
    records.push_back(ObjectPool[slot]);
    if (slot != kPlayerSlot) ResetObject(slot);
  }
  return records;
}

void ForEachCellOfRow(int imageSet, int row, const CellVisit& visit) {
  if (row <= 0 || row >= kAnimationRows) return;
  for (const SpriteSheet& sheet : kCommonSheets) {
    if (sheet.imageSet != imageSet) continue;
    for (const AnimationPair& pair : AnimationTable[row]) {
      if (pair.frame == kEndFrame) break;
      if (pair.frame >= 0 && pair.frame < sheet.picture.count) visit(sheet.picture.name, pair.frame);
    }
  }
}

void ForEachCellOf(const GameObject& record, const CellVisit& visit) {
  ForEachCellOfRow(record.imageSet, record.animation, visit);
}

CellRoleMap FindCellRoles(const RowMet& met) {
  RoleCounts counts;
  rowMet = &met;
  NewGameInit();
  SeedRandom(0);
#define TEMPLATE_FAMILY(name)                                                                 \
  MakeAll(counts, name(),                                                                     \
          std::string_view(#name) == "OptionTemplates"         ? Family::kOptions             \
          : std::string_view(#name) == "StageSceneryTemplates" ? Family::kScenery : Family::kAny);
#include "objects/template_families.def"
#undef TEMPLATE_FAMILY
  NewGameInit();
  for (const RowsInPlay& rows : RowsShownInPlay()) {
    for (int row = rows.firstRow; row <= rows.lastRow; ++row) NoteRow(counts, rows.imageSet, row, rows.role);
  }
  rowMet = nullptr;
  CellRoleMap roles;
  for (const auto& [sheet, cells] : counts) {
    for (const auto& [cell, count] : cells) roles[sheet][cell] = Decide(count);
  }
  return roles;
}

CellRole RoleOf(const CellRoleMap& roles, const char* picture, int cell) {
  const auto sheet = roles.find(picture);
  if (sheet == roles.end()) return CellRole::kUnused;
  const auto found = sheet->second.find(cell);
  return found == sheet->second.end() ? CellRole::kUnused : found->second;
}
