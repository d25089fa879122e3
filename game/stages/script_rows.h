// The rows a stage script is written in: which frames of which timeline a row acts on,
// and its actions, kept in the compact forms the timetables use (ranges, offset sets,
// frame lists, in-turn lists, steps and grids). The interpreter runs them; the event
// listing expands them.
#pragma once

#include <initializer_list>
#include <span>

// ---------------------------------------------------------------------------------
// Frames
// ---------------------------------------------------------------------------------
enum class FrameForm : unsigned char {
  kAt,       // one frame
  kRange,    // first, first + step, ... up to last
  kOffsets,  // at each base frame of the range, action j at base + values[j]
  kList,     // each frame of values
  kAbove,    // every frame on which the timeline is above `first`
};

struct FrameSpec {
  FrameForm form = FrameForm::kAt;
  int first = 0;
  int last = 0;
  int step = 1;
  std::span<const int> values{};
};

// A constant list of numbers written in place: Ints<200, 350, 1800>.
template <int... V>
inline constexpr int kIntList[] = {V...};
template <int... V>
inline constexpr std::span<const int> Ints{kIntList<V...>};

constexpr FrameSpec At(int frame) { return {FrameForm::kAt, frame, frame, 1, {}}; }
constexpr FrameSpec Steps(int first, int last, int step) { return {FrameForm::kRange, first, last, step, {}}; }
constexpr FrameSpec StepsAt(int first, int last, int step, std::span<const int> offsets) {
  return {FrameForm::kOffsets, first, last, step, offsets};
}
constexpr FrameSpec Frames(std::span<const int> frames) { return {FrameForm::kList, 0, 0, 1, frames}; }
constexpr FrameSpec Above(int frame) { return {FrameForm::kAbove, frame, frame, 1, {}}; }

// ---------------------------------------------------------------------------------
// Coordinates and spawn patterns
// ---------------------------------------------------------------------------------
enum class CoordForm : unsigned char {
  kFixed,   // base
  kPlayer,  // the player's position + base, truncated
  kRandom,  // base + RandomInRange(arg)
  kSlot,    // pool slot arg's position, truncated
};

struct Coord {
  CoordForm form = CoordForm::kFixed;
  int base = 0;
  int arg = 0;
  constexpr Coord() = default;
  constexpr Coord(int value) : base(value) {}  // a plain number is a fixed coordinate
  constexpr Coord(CoordForm f, int b, int a) : form(f), base(b), arg(a) {}
};

constexpr Coord Player(int offset) { return {CoordForm::kPlayer, offset, 0}; }
constexpr Coord Random(int base, int range) { return {CoordForm::kRandom, base, range}; }
constexpr Coord SlotPosition(int slot) { return {CoordForm::kSlot, 0, slot}; }

// A coordinate or facing that an in-turn list or a grid supplies.
constexpr int kListed = 0;

// How the k-th spawn of a row (k counts the row's frames from 0) finds its place.
enum class Spread : unsigned char {
  kNone,
  kStep,  // (x + k dx, y + k dy)
  kTurn,  // the fields of turn tuple k (wrapping round after the last: laps)
  kGrid,  // columns of perColumn: x + (k / perColumn) dx, or turn[k / perColumn];
          // y + (k % perColumn) dy
};

// The fields of an in-turn tuple, in the order x, y, facing.
enum TurnFields : unsigned char {
  kTurnX = 1,
  kTurnY = 2,
  kTurnF = 4,
  kXY = kTurnX | kTurnY,
  kXYF = kTurnX | kTurnY | kTurnF,
  kXF = kTurnX | kTurnF,
  kYF = kTurnY | kTurnF,
  kY = kTurnY,
};

// ---------------------------------------------------------------------------------
// Actions
// ---------------------------------------------------------------------------------
enum class ActionKind : unsigned char {
  kSpawn,
  kHold,
  kJump,
  kHalt,
  kAdvanceTimeline3,
  kCancelBullets,
  kMusic,
  kSound,
  kBonus,
  kSlowdown,
  kSet,         // *target := value
  kSetIfBelow,  // *target := value when *condition < limit
  kAdd,         // *target += value
  kCode,        // a row written as code
};

struct ScriptAction {
  ActionKind kind = ActionKind::kSpawn;
  // Spawn: template, facing, parent slot. Hold: group and threshold. Jump: the frame.
  // Music: channel and mode. Bonus: icon and points. Slow-down: milliseconds.
  int templateId = 0;
  int facing = 0;
  int parent = 0;
  int group = 0;
  int threshold = 0;
  int frame = 0;
  int channel = 0;
  int mode = 0;
  int icon = 0;
  int points = 0;
  int ms = 0;
  // Spawn: x and y. Sound: x the sound number, y the volume.
  Coord x{}, y{};
  Spread spread = Spread::kNone;
  int dx = 0, dy = 0;
  int perColumn = 0;
  unsigned char turnFields = 0;
  std::span<const int> turn{};
  int times = 1;  // a spawn repeated in one frame
  // Set, SetIfBelow, Add.
  int* target = nullptr;
  const char* targetName = nullptr;
  int value = 0;
  const int* condition = nullptr;
  const char* conditionName = nullptr;
  int limit = 0;
  // Code.
  void (*code)() = nullptr;
  const char* codeName = nullptr;
  bool modeZeroOnly = false;

  constexpr ScriptAction Step(int stepX, int stepY) const {
    ScriptAction a = *this;
    a.spread = Spread::kStep;
    a.dx = stepX;
    a.dy = stepY;
    return a;
  }
  constexpr ScriptAction InTurn(unsigned char fields, std::span<const int> tuples) const {
    ScriptAction a = *this;
    a.spread = Spread::kTurn;
    a.turnFields = fields;
    a.turn = tuples;
    return a;
  }
  constexpr ScriptAction Grid(int rows, int columnStep, int rowStep, std::span<const int> columnXs = {}) const {
    ScriptAction a = *this;
    a.spread = Spread::kGrid;
    a.perColumn = rows;
    a.dx = columnStep;
    a.dy = rowStep;
    a.turn = columnXs;
    return a;
  }
  constexpr ScriptAction Times(int count) const {
    ScriptAction a = *this;
    a.times = count;
    return a;
  }
  constexpr ScriptAction ModeZeroOnly() const {
    ScriptAction a = *this;
    a.modeZeroOnly = true;
    return a;
  }
};

constexpr ScriptAction Spawn(int templateId, Coord x, Coord y, int facing, int parent) {
  return {.kind = ActionKind::kSpawn, .templateId = templateId, .facing = facing, .parent = parent, .x = x, .y = y};
}
constexpr ScriptAction Hold(int group, int threshold) {
  return {.kind = ActionKind::kHold, .group = group, .threshold = threshold};
}
constexpr ScriptAction Jump(int frame) { return {.kind = ActionKind::kJump, .frame = frame}; }
constexpr ScriptAction Halt() { return {.kind = ActionKind::kHalt}; }
constexpr ScriptAction AdvanceTimeline3() { return {.kind = ActionKind::kAdvanceTimeline3}; }
constexpr ScriptAction CancelBullets() { return {.kind = ActionKind::kCancelBullets}; }
constexpr ScriptAction Music(int channel, int mode) {
  return {.kind = ActionKind::kMusic, .channel = channel, .mode = mode};
}
constexpr ScriptAction Sound(Coord se, Coord volume) { return {.kind = ActionKind::kSound, .x = se, .y = volume}; }
constexpr ScriptAction Bonus(int icon, int points) {
  return {.kind = ActionKind::kBonus, .icon = icon, .points = points};
}
constexpr ScriptAction Slowdown(int ms) { return {.kind = ActionKind::kSlowdown, .ms = ms}; }
constexpr ScriptAction Set(int* target, const char* name, int value) {
  return {.kind = ActionKind::kSet, .target = target, .targetName = name, .value = value};
}
constexpr ScriptAction SetIfBelow(int* target, const char* name, int value, const int* condition,
                                  const char* conditionName, int limit) {
  return {.kind = ActionKind::kSetIfBelow, .target = target, .targetName = name, .value = value,
          .condition = condition, .conditionName = conditionName, .limit = limit};
}
constexpr ScriptAction Add(int* target, const char* name, int value) {
  return {.kind = ActionKind::kAdd, .target = target, .targetName = name, .value = value};
}
constexpr ScriptAction Code(void (*code)(), const char* name) {
  return {.kind = ActionKind::kCode, .code = code, .codeName = name};
}

// ---------------------------------------------------------------------------------
// Rows and scripts
// ---------------------------------------------------------------------------------
struct ScriptRow {
  int timeline;  // 1, 2 or 3
  FrameSpec frames;
  std::initializer_list<ScriptAction> actions;  // run in this order
};

// Who advances timeline 3, and when its rows run.
enum class Timeline3Rule : unsigned char {
  kOthers,              // not the script (the stage-2 boss does); its rows run when it moved
  kWhileTimeline1Above, // +1 and its rows only while StageTimeline > timeline3After
  kEveryCall,           // +1 and its rows on every call
  kWhilePositive,       // +1 and its rows while StageTimeline3 > 0 (a row starts it)
};

struct StageScript {
  std::span<const ScriptRow> modes[2];  // game mode 0 and 1
  Timeline3Rule timeline3 = Timeline3Rule::kOthers;
  int timeline3After = 0;
  bool timeline1ConditionsLast = false;  // timeline 1's "> N" rows after block 3
};

// The scripts of stages 1 to 8, each in its own file.
extern const StageScript kStage1Script;
extern const StageScript kStage2Script;
extern const StageScript kStage3Script;
extern const StageScript kStage4Script;
extern const StageScript kStage5Script;
extern const StageScript kStage6Script;
extern const StageScript kStage7Script;
extern const StageScript kStage8Script;

constexpr int kScriptStages = 8;
// The script of `stage`, or nullptr for a stage without one (9 and any other).
const StageScript* StageScriptOf(int stage);
