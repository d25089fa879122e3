#include "stages/script_event_listing.h"

#include <algorithm>
#include <cstdio>

#include "stages/script_interpreter.h"
#include "stages/script_rows.h"

namespace {

struct Event {
  int timeline;
  bool conditional;
  int frame;
  int row;
  int action;
  int repeat;
  std::string frameText;
  std::string text;
};

std::string Format(const char* format, auto... values) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, format, values...);
  return buffer;
}

std::string CoordText(const Coord& coord, const char* axis) {
  switch (coord.form) {
    case CoordForm::kFixed:
      return Format("%d", coord.base);
    case CoordForm::kPlayer:
      return coord.base == 0 ? Format("P.%s", axis) : Format("P.%s%+d", axis, coord.base);
    case CoordForm::kRandom:
      return Format("R(%d)+%d", coord.arg, coord.base);
    case CoordForm::kSlot:
      return Format("slot%d.%s", coord.arg, axis);
  }
  return "?";
}

std::string ActionText(const ScriptAction& action, int k) {
  switch (action.kind) {
    case ActionKind::kSpawn: {
      const SpawnPlace place = PlaceOfSpawn(action, k);
      return "Spawn t=" + std::to_string(action.templateId) + " x=" + CoordText(place.x, "x") +
             " y=" + CoordText(place.y, "y") + Format(" f=%d g=%d", place.facing, action.parent);
    }
    case ActionKind::kHold:
      return Format("Hold g=%d n=%d", action.group, action.threshold);
    case ActionKind::kJump:
      return Format("Jump to=%d", action.frame);
    case ActionKind::kHalt:
      return "Halt";
    case ActionKind::kAdvanceTimeline3:
      return "AdvanceTimeline3";
    case ActionKind::kCancelBullets:
      return "CancelBullets";
    case ActionKind::kMusic:
      return Format("Music ch=%d mode=%d", action.channel, action.mode);
    case ActionKind::kSound:
      return "Sound se=" + CoordText(action.x, "x") + " vol=" + CoordText(action.y, "y");
    case ActionKind::kBonus:
      return Format("Bonus icon=%d points=%d", action.icon, action.points);
    case ActionKind::kSlowdown:
      return Format("Slowdown ms=%d", action.ms);
    case ActionKind::kSet:
      return Format("Set var=%s value=%d", action.targetName, action.value);
    case ActionKind::kSetIfBelow:
      return Format("Set var=%s value=%d if=%s<%d", action.targetName, action.value, action.conditionName,
                    action.limit);
    case ActionKind::kAdd:
      return Format("Add var=%s value=%d", action.targetName, action.value);
    case ActionKind::kCode:
      return action.codeName;
  }
  return "?";
}

// Every frame on which action `action` of the row acts, in order.
std::vector<int> ActionFrames(const ScriptRow& row, int action) {
  const FrameSpec& frames = row.frames;
  std::vector<int> result;
  switch (frames.form) {
    case FrameForm::kAt:
    case FrameForm::kAbove:
      result.push_back(frames.first);
      break;
    case FrameForm::kRange:
    case FrameForm::kOffsets: {
      const int offset = frames.form == FrameForm::kOffsets ? frames.values[static_cast<std::size_t>(action)] : 0;
      for (int base = frames.first; base <= frames.last; base += frames.step) result.push_back(base + offset);
      break;
    }
    case FrameForm::kList:
      result.assign(frames.values.begin(), frames.values.end());
      break;
  }
  return result;
}

void AddRowEvents(const ScriptRow& row, int rowIndex, int mode, std::vector<Event>& events) {
  const bool conditional = row.frames.form == FrameForm::kAbove;
  int actionIndex = 0;
  for (const ScriptAction& action : row.actions) {
    const int index = actionIndex++;
    if (action.modeZeroOnly && mode != 0) continue;
    const std::vector<int> frames = ActionFrames(row, index);
    for (std::size_t k = 0; k < frames.size(); ++k) {
      const std::string frameText = conditional ? Format(">%d", frames[k]) : Format("%d", frames[k]);
      const std::string text = ActionText(action, static_cast<int>(k));
      for (int n = 0; n < action.times; ++n) {
        events.push_back({row.timeline, conditional, frames[k], rowIndex, index, n, frameText, text});
      }
    }
  }
}

// The script's own advance of timeline 3, where the table gives it as a row.
void AddTimeline3Advance(const StageScript& script, int rowIndex, std::vector<Event>& events) {
  switch (script.timeline3) {
    case Timeline3Rule::kOthers:
      return;
    case Timeline3Rule::kWhileTimeline1Above:
      events.push_back({1, true, 0, rowIndex, 0, 0, Format(">%d", script.timeline3After), "AdvanceTimeline3"});
      return;
    case Timeline3Rule::kEveryCall:
      events.push_back({3, true, 0, rowIndex, 0, 0, "*", "AdvanceTimeline3"});
      return;
    case Timeline3Rule::kWhilePositive:
      events.push_back({3, true, 0, rowIndex, 0, 0, ">0", "AdvanceTimeline3"});
      return;
  }
}

}  // namespace

std::vector<std::string> ListStageEvents(int mode, int stage) {
  const StageScript* script = StageScriptOf(stage);
  if (script == nullptr || mode < 0 || mode > 1) return {};
  const std::span<const ScriptRow> rows = script->modes[mode];
  std::vector<Event> events;
  for (std::size_t r = 0; r < rows.size(); ++r) AddRowEvents(rows[r], static_cast<int>(r), mode, events);
  AddTimeline3Advance(*script, static_cast<int>(rows.size()), events);
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    if (a.timeline != b.timeline) return a.timeline < b.timeline;
    if (a.conditional != b.conditional) return b.conditional;
    if (a.frame != b.frame && !a.conditional) return a.frame < b.frame;
    if (a.row != b.row) return a.row < b.row;
    if (a.action != b.action) return a.action < b.action;
    return a.repeat < b.repeat;
  });
  std::vector<std::string> lines;
  lines.reserve(events.size());
  for (const Event& event : events) {
    lines.push_back(Format("M%d S%d T%d F", mode, stage, event.timeline) + event.frameText + " " + event.text);
  }
  return lines;
}
