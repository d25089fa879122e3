#include "cell_roles.h"

#include <string_view>
#include <array>
#include <span>
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

namespace {

// Pickups that pay coins or chips rather than an upgrade.
constexpr int kMoneyTemplates[] = {1009, 1080, 1081};

std::vector<int> g_taken;

void NoteTaken(int slot) { g_taken.push_back(slot); }

bool IsMoney(int templateId) {
  for (int id : kMoneyTemplates) {
    if (id == templateId) return true;
  }
  return false;
}

// The family a template belongs to, where it decides the role by itself.
enum class Family { kAny, kOptions, kScenery };

CellRole RoleOfRecord(const GameObject& object, int templateId, Family family) {
  if (family == Family::kOptions) return CellRole::kOption;
  if (family == Family::kScenery) return CellRole::kScenery;
  switch (object.category) {
    case kCategoryPlayerShot: return CellRole::kPlayerShot;
    case kCategoryEnemyBullet: return CellRole::kEnemyBullet;
    case kCategoryPickup: return IsMoney(templateId) ? CellRole::kCoin : CellRole::kPickup;
    case kCategoryEnemy: return CellRole::kEnemy;
    case kCategoryEffect: return CellRole::kEffect;
    case kCategoryDecoration: return CellRole::kDecoration;
    default: return CellRole::kUnused;
  }
}

// How many templates show each cell in each role, by sheet.
using RoleCounts = std::map<std::string, std::map<int, std::array<int, kRoleCount>>>;

void NoteRecord(RoleCounts& counts, const GameObject& object, CellRole role) {
  if (role == CellRole::kUnused || object.animation <= 0 || object.animation >= kAnimationRows) return;
  for (const SpriteSheet& sheet : kCommonSheets) {
    if (sheet.imageSet != object.imageSet) continue;
    for (const AnimationPair& pair : AnimationTable[object.animation]) {
      if (pair.frame == kEndFrame) break;
      if (pair.frame >= 0 && pair.frame < sheet.picture.count) ++counts[sheet.picture.name][pair.frame][static_cast<int>(role)];
    }
  }
}

// Money and pickups keep their look wherever they show; otherwise a cell shows what
// most of its templates are, the things a player must tell apart in play (bullets,
// shots, options) before enemies, effects and decorations; a tie goes to the role
// listed first.
CellRole Decide(const std::array<int, kRoleCount>& count) {
  constexpr CellRole kAlways[] = {CellRole::kCoin, CellRole::kPickup};
  constexpr CellRole kPlay[] = {CellRole::kEnemyBullet, CellRole::kPlayerShot, CellRole::kOption};
  constexpr CellRole kOther[] = {CellRole::kEnemy, CellRole::kScenery, CellRole::kEffect, CellRole::kDecoration};
  for (CellRole role : kAlways) {
    if (count[static_cast<int>(role)] > 0) return role;
  }
  for (std::span<const CellRole> roles : {std::span<const CellRole>(kPlay), std::span<const CellRole>(kOther)}) {
    CellRole best = CellRole::kUnused;
    int most = 0;
    for (CellRole role : roles) {
      if (count[static_cast<int>(role)] > most) best = role, most = count[static_cast<int>(role)];
    }
    if (best != CellRole::kUnused) return best;
  }
  return CellRole::kUnused;
}

void MakeAll(RoleCounts& counts, std::span<const TemplateEntry> templates, Family family) {
  for (const TemplateEntry& entry : templates) {
    g_taken.clear();
    CreateObject(entry.templateId, 1000, 500, 0, 1);
    for (int slot : g_taken) {
      NoteRecord(counts, ObjectPool[slot], RoleOfRecord(ObjectPool[slot], entry.templateId, family));
      if (slot != kPlayerSlot) ResetObject(slot);
    }
  }
}

}  // namespace

CellRoleMap FindCellRoles() {
  RoleCounts counts;
  NewGameInit();
  SeedRandom(0);
  RecordTakenHook = NoteTaken;
#define TEMPLATE_FAMILY(name)                                                                 \
  MakeAll(counts, name(),                                                                     \
          std::string_view(#name) == "OptionTemplates"         ? Family::kOptions             \
          : std::string_view(#name) == "StageSceneryTemplates" ? Family::kScenery : Family::kAny);
#include "objects/template_families.def"
#undef TEMPLATE_FAMILY
  RecordTakenHook = nullptr;
  NewGameInit();
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
