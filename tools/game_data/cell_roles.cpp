#include "cell_roles.h"

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

CellRole RoleOfRecord(const GameObject& object, int templateId, bool option) {
  if (option) return CellRole::kOption;
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

// The first role a cell is seen with stays, except that money and options, which
// share sheets with bullets and shots, always win.
void Note(std::map<int, CellRole>& cells, int cell, CellRole role) {
  auto [where, added] = cells.emplace(cell, role);
  if (!added && (role == CellRole::kCoin || role == CellRole::kOption)) where->second = role;
}

void NoteRecord(CellRoleMap& roles, const GameObject& object, CellRole role) {
  if (role == CellRole::kUnused || object.animation <= 0 || object.animation >= kAnimationRows) return;
  for (const SpriteSheet& sheet : kCommonSheets) {
    if (sheet.imageSet != object.imageSet) continue;
    for (const AnimationPair& pair : AnimationTable[object.animation]) {
      if (pair.frame == kEndFrame) break;
      if (pair.frame >= 0 && pair.frame < sheet.picture.count) Note(roles[sheet.picture.name], pair.frame, role);
    }
  }
}

void MakeAll(CellRoleMap& roles, std::span<const TemplateEntry> family, bool options) {
  for (const TemplateEntry& entry : family) {
    g_taken.clear();
    CreateObject(entry.templateId, 1000, 500, 0, 1);
    for (int slot : g_taken) {
      NoteRecord(roles, ObjectPool[slot], RoleOfRecord(ObjectPool[slot], entry.templateId, options));
      if (slot != kPlayerSlot) ResetObject(slot);
    }
  }
}

}  // namespace

CellRoleMap FindCellRoles() {
  CellRoleMap roles;
  NewGameInit();
  SeedRandom(0);
  RecordTakenHook = NoteTaken;
#define TEMPLATE_FAMILY(name) MakeAll(roles, name(), std::string_view(#name) == "OptionTemplates");
#include "objects/template_families.def"
#undef TEMPLATE_FAMILY
  RecordTakenHook = nullptr;
  NewGameInit();
  return roles;
}

CellRole RoleOf(const CellRoleMap& roles, const char* picture, int cell) {
  const auto sheet = roles.find(picture);
  if (sheet == roles.end()) return CellRole::kUnused;
  const auto found = sheet->second.find(cell);
  return found == sheet->second.end() ? CellRole::kUnused : found->second;
}
