// Ending objects: the two figures in their fixed slots, the picture pages whose row
// is the page number passed in parentSlot, and the small companions.
#include "objects/effect_rows.h"

namespace {

constexpr int kFreeSlot = -1;
constexpr int kNoPage = -1;

struct EndingTemplate {
  int templateId;
  int slot;      // fixed pool slot, or kFreeSlot for an allocated record
  int pageBase;  // animation = parentSlot + pageBase, or kNoPage
  Place place;
  TemplateRow row;
  float fixedX = 0.0f, fixedY = 0.0f;
};

constexpr TemplateRow EndingRow(int layer, RowField<int> imageSet, RowField<int> animation, int behaviour,
                                int blendMode, RowField<float> fade) {
  return {.state = 1, .layer = layer, .category = kCategoryEffect, .imageSet = imageSet, .blendMode = blendMode,
          .fade = fade, .animation = animation, .behaviour = behaviour};
}

// clang-format off
const EndingTemplate kTemplates[] = {
  {2235, 10, kNoPage, Place::kFixedPoint, Overlay(EndingRow(4, 4, 17, 4157, 1, 20.0f), {.vx = 0.2f, .phase = 0.25f}), 260.0f, 370.0f},
  {2249, 10, kNoPage, Place::kFixedPoint, Overlay(EndingRow(4, 4, 407, 4157, 1, 20.0f), {.vx = -1.0f, .vy = 0.2f, .facing = 1}), 500.0f, 380.0f},
  {2241, 12, kNoPage, Place::kArguments, Overlay(EndingRow(5, 21, 413, 4161, 0, 20.0f), {.vx = 0.0f, .vy = 1.2f})},
  {2243, 12, kNoPage, Place::kArguments, Overlay(EndingRow(6, 21, 414, 4163, 0, 0.0f), {.vy = -0.02f, .scaleDelta = 0.0f})},
  {2242, kFreeSlot, kNoPage, Place::kArguments, Overlay(EndingRow(6, 1, 405, 4162, 2, 254.0f), {.vy = 2.8f, .scaleDelta = 0.0f})},
  {2247, kFreeSlot, kNoPage, Place::kArguments, EndingRow(7, 21, 451, 4166, 2, {})},
  {2246, kFreeSlot, kNoPage, Place::kArguments, EndingRow(7, 24, 417, 4165, 1, 260.0f)},
  {2248, kFreeSlot, kNoPage, Place::kArguments, Overlay(EndingRow(6, 1, 405, 4167, 2, {}), {.vy = -0.2f, .scaleDelta = 0.0f})},
  {2244, kFreeSlot, 415, Place::kArguments, EndingRow(7, 22, {}, 4164, 1, 260.0f)},
  {2245, kFreeSlot, 415, Place::kArguments, EndingRow(7, 23, {}, 4164, 1, 260.0f)},
  {2250, kFreeSlot, 431, Place::kArguments, EndingRow(7, 22, {}, 4164, 1, 260.0f)},
};
// clang-format on

void CreateEndingObject(const TemplateCall& call) {
  const EndingTemplate& ending = RowOf<EndingTemplate>(kTemplates, call.templateId);
  GameObject& record = ending.slot == kFreeSlot ? NewRecord(ending.row) : FixedRecord(ending.slot, ending.row);
  PlaceRecord(record, ending.place, FacingFrom::kNotWritten, call, ending.fixedX, ending.fixedY);
  // Any page number is stored; the stepper draws rows outside the table as row 0.
  if (ending.pageBase != kNoPage) {
    record.animation = static_cast<int>(static_cast<unsigned>(call.parentSlot) + static_cast<unsigned>(ending.pageBase));
  }
}

constexpr TemplateEntry kEntries[] = {
    {2235, CreateEndingObject}, {2249, CreateEndingObject}, {2241, CreateEndingObject}, {2243, CreateEndingObject},
    {2242, CreateEndingObject}, {2247, CreateEndingObject}, {2246, CreateEndingObject}, {2248, CreateEndingObject},
    {2244, CreateEndingObject}, {2245, CreateEndingObject}, {2250, CreateEndingObject},
};

}  // namespace

std::span<const TemplateEntry> EndingTemplates() { return kEntries; }
