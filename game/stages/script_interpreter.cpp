#include "stages/script_interpreter.h"

#include <bit>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

int* TimelineCounter(int timeline) {
  if (timeline == 1) return &StageTimeline;
  if (timeline == 2) return &StageTimeline2;
  return &StageTimeline3;
}

// Frame `frame` as the k-th step of first, first + step, ... last, or -1.
int StepIndex(const FrameSpec& frames, int frame) {
  if (frame < frames.first || frame > frames.last || (frame - frames.first) % frames.step != 0) return -1;
  return (frame - frames.first) / frames.step;
}

// Draws happen here, one per call, in the caller's order.
int Evaluate(const Coord& coord, bool isX) {
  switch (coord.form) {
    case CoordForm::kFixed:
      return coord.base;
    case CoordForm::kPlayer: {
      const GameObject& player = ObjectPool[kPlayerSlot];
      return FloatToInt((isX ? player.x : player.y) + static_cast<float>(coord.base));
    }
    case CoordForm::kRandom: {
      const int draw = RandomInRange(coord.arg);
      return coord.base + draw;
    }
    case CoordForm::kSlot: {
      const GameObject& object = ObjectPool[coord.arg];
      return FloatToInt(isX ? object.x : object.y) + coord.base;
    }
  }
  return coord.base;
}

void RunSpawn(const ScriptAction& action, int k) {
  const SpawnPlace place = PlaceOfSpawn(action, k);
  for (int n = 0; n < action.times; ++n) {
    // The arguments are drawn from the last to the first: y before x.
    const int y = Evaluate(place.y, false);
    const int x = Evaluate(place.x, true);
    CreateObject(action.templateId, x, y, place.facing, action.parent);
  }
}

int CountEnemiesOfGroup(int group) { return group == 1 ? CountEnemiesInGroup1() : CountEnemiesInGroup2(); }

void Perform(const ScriptAction& action, int k, int* timeline) {
  switch (action.kind) {
    case ActionKind::kSpawn:
      RunSpawn(action, k);
      break;
    case ActionKind::kHold:
      // The dispatcher's next advance brings the timeline back to this frame.
      if (CountEnemiesOfGroup(action.group) > action.threshold) --*timeline;
      break;
    case ActionKind::kJump:
      *timeline = action.frame;
      break;
    case ActionKind::kHalt:
      TimelineHalt = 1.0f;
      break;
    case ActionKind::kAdvanceTimeline3:
      ++StageTimeline3;
      break;
    case ActionKind::kCancelBullets:
      CancelAllBullets();
      break;
    case ActionKind::kMusic:
      SetBgmFade(action.channel, action.mode);
      break;
    case ActionKind::kSound: {
      const int volume = Evaluate(action.y, false);
      const int se = Evaluate(action.x, true);
      PlaySe(se, volume);
      break;
    }
    case ActionKind::kBonus:
      AddInfoBonus(action.icon, action.points);
      break;
    case ActionKind::kSlowdown:
      RequestSlowdown(action.ms);
      break;
    case ActionKind::kSet:
      *action.target = action.value;
      break;
    case ActionKind::kSetIfBelow:
      if (*action.condition < action.limit) *action.target = action.value;
      break;
    case ActionKind::kAdd:
      *action.target += action.value;
      break;
    case ActionKind::kCode:
      action.code();
      break;
  }
}

// The rows of one timeline, plain or "> N", on the value the timeline has now. Rows
// sharing a frame all see that value, whatever a hold or jump among them does.
void RunBlock(std::span<const ScriptRow> rows, int timeline, bool conditional, int mode) {
  int* const counter = TimelineCounter(timeline);
  const int frame = *counter;
  for (const ScriptRow& row : rows) {
    if (row.timeline != timeline || (row.frames.form == FrameForm::kAbove) != conditional) continue;
    int index = 0;
    for (const ScriptAction& action : row.actions) {
      const int k = ActionFrameIndex(row, index++, frame);
      if (k >= 0 && (mode == 0 || !action.modeZeroOnly)) Perform(action, k, counter);
    }
  }
}

// The value timeline 3 had on the last call: a timeline others advance can stand still
// (its boss gone), and a row on the frame it stands at must not repeat on every call.
int timeline3LastCall = 0;

bool Timeline3Runs(const StageScript& script) {
  switch (script.timeline3) {
    case Timeline3Rule::kOthers: {
      const bool moved = StageTimeline3 != timeline3LastCall;
      timeline3LastCall = StageTimeline3;
      return moved;
    }
    case Timeline3Rule::kEveryCall:
      return true;
    case Timeline3Rule::kWhileTimeline1Above:
      return StageTimeline > script.timeline3After;
    case Timeline3Rule::kWhilePositive:
      return StageTimeline3 > 0;
  }
  return false;
}

}  // namespace

void RunStageScript(const StageScript& script, int mode) {
  const std::span<const ScriptRow> rows = script.modes[mode];
  RunBlock(rows, 1, false, mode);
  if (!script.timeline1ConditionsLast) RunBlock(rows, 1, true, mode);
  RunBlock(rows, 2, false, mode);
  RunBlock(rows, 2, true, mode);
  if (Timeline3Runs(script)) {
    if (script.timeline3 != Timeline3Rule::kOthers) ++StageTimeline3;
    RunBlock(rows, 3, false, mode);
    RunBlock(rows, 3, true, mode);
  }
  if (script.timeline1ConditionsLast) RunBlock(rows, 1, true, mode);
}

int ActionFrameIndex(const ScriptRow& row, int action, int frame) {
  const FrameSpec& frames = row.frames;
  switch (frames.form) {
    case FrameForm::kAt:
      return frame == frames.first ? 0 : -1;
    case FrameForm::kRange:
      return StepIndex(frames, frame);
    case FrameForm::kOffsets:
      return StepIndex(frames, frame - frames.values[action]);
    case FrameForm::kList:
      for (std::size_t k = 0; k < frames.values.size(); ++k) {
        if (frames.values[k] == frame) return static_cast<int>(k);
      }
      return -1;
    case FrameForm::kAbove:
      return frame > frames.first ? 0 : -1;
  }
  return -1;
}

SpawnPlace PlaceOfSpawn(const ScriptAction& action, int k) {
  SpawnPlace place{action.x, action.y, action.facing};
  switch (action.spread) {
    case Spread::kNone:
      break;
    case Spread::kStep:
      place.x.base += k * action.dx;
      place.y.base += k * action.dy;
      break;
    case Spread::kTurn: {
      const int width = std::popcount(action.turnFields);
      const int tuples = static_cast<int>(action.turn.size()) / width;
      const int* field = &action.turn[static_cast<std::size_t>((k % tuples) * width)];
      if (action.turnFields & kTurnX) place.x.base = *field++;
      if (action.turnFields & kTurnY) place.y.base = *field++;
      if (action.turnFields & kTurnF) place.facing = *field;
      break;
    }
    case Spread::kGrid: {
      const int column = k / action.perColumn;
      const int row = k % action.perColumn;
      place.x.base = action.turn.empty() ? place.x.base + column * action.dx
                                         : action.turn[static_cast<std::size_t>(column)];
      place.y.base += row * action.dy;
      break;
    }
  }
  return place;
}
