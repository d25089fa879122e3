#include "objects/object_factory.h"

#include <algorithm>
#include <array>

#include "objects/objects.h"

void (*RecordTakenHook)(int slot) = nullptr;

namespace {

constexpr int kTemplateCapacity = 393;

using FamilyList = std::span<const TemplateEntry> (*)();

constexpr FamilyList kFamilies[] = {
#define TEMPLATE_FAMILY(name) &name,
#include "objects/template_families.def"
#undef TEMPLATE_FAMILY
};

struct DispatchTable {
  std::array<TemplateEntry, kTemplateCapacity> entries{};
  int count = 0;
};

DispatchTable BuildDispatchTable() {
  DispatchTable table;
  for (FamilyList family : kFamilies) {
    for (const TemplateEntry& entry : family()) table.entries.at(table.count++) = entry;
  }
  std::sort(table.entries.begin(), table.entries.begin() + table.count,
            [](const TemplateEntry& a, const TemplateEntry& b) { return a.templateId < b.templateId; });
  return table;
}

}  // namespace

TemplateFunction FindTemplate(int templateId) {
  static const DispatchTable table = BuildDispatchTable();
  const auto end = table.entries.begin() + table.count;
  const auto found = std::lower_bound(table.entries.begin(), end, templateId,
                                      [](const TemplateEntry& entry, int id) { return entry.templateId < id; });
  if (found == end || found->templateId != templateId) return nullptr;
  return found->create;
}

void CreateObject(int templateId, int x, int y, int facing, int parentSlot) {
  const TemplateFunction create = FindTemplate(templateId);
  if (create) create({templateId, x, y, facing, parentSlot});
}
