// The invisible wave spawners: one table of what each releases, when and where, read
// by three conducts: the one-shot formation, the timed wave and the random spread.
#include <array>

#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

enum class Conduct { kOneShot, kTimed, kRandomSpread };

struct Offset {
  float x, y;
};

constexpr int kMaxCounts = 14;
constexpr int kOwnArgument = -1;

struct SpawnerRow {
  int id;
  Conduct conduct;
  int firstTemplate;  // the member of the first count
  int laterTemplate;  // the members of every later count
  int companion;      // a second member made after it on each count, 0 none
  // Timed: the counter values that release a member, 0-terminated; one-shot: unused.
  std::array<int, kMaxCounts> counts;
  int end;
  // Member k's offset: start + k x step (timed); the members list (one-shot).
  Offset start, step;
  std::array<Offset, 6> members;
  int memberCount;
  bool chevron;        // one-shot members mirrored to the side of `facing`
  bool countsInPhase;  // the counter is phase (a float), not timer
  int spread;          // random spread: each axis R(spread) subtracted, R(spread) added
  int facingArgument;  // kOwnArgument: the spawner's facing
  int parentArgument;  // kOwnArgument: the spawner's group
};

constexpr SpawnerRow Timed(int id, int firstTemplate, int laterTemplate, std::array<int, kMaxCounts> counts, int end,
                           Offset step = {0.0f, 0.0f}, Offset start = {0.0f, 0.0f}) {
  return {.id = id, .conduct = Conduct::kTimed, .firstTemplate = firstTemplate, .laterTemplate = laterTemplate,
          .companion = 0, .counts = counts, .end = end, .start = start, .step = step, .members = {},
          .memberCount = 0, .chevron = false, .countsInPhase = false, .spread = 0,
          .facingArgument = kOwnArgument, .parentArgument = kOwnArgument};
}

constexpr SpawnerRow Paired(int id, int firstTemplate, int companion, std::array<int, kMaxCounts> counts, int end) {
  SpawnerRow row = Timed(id, firstTemplate, firstTemplate, counts, end);
  row.companion = companion;
  return row;
}

constexpr SpawnerRow InPhase(SpawnerRow row) {
  row.countsInPhase = true;
  return row;
}

constexpr SpawnerRow Spread(int id, int templateId, std::array<int, kMaxCounts> counts, int end, int spread) {
  SpawnerRow row = Timed(id, templateId, templateId, counts, end);
  row.conduct = Conduct::kRandomSpread;
  row.spread = spread;
  return row;
}

constexpr SpawnerRow OneShot(int id, int templateId, std::array<Offset, 6> members, int memberCount) {
  SpawnerRow row = Timed(id, templateId, templateId, {}, 0);
  row.conduct = Conduct::kOneShot;
  row.members = members;
  row.memberCount = memberCount;
  return row;
}

// The chevron: its point at the spawner, its arms toward the side of `facing`.
constexpr SpawnerRow Chevron(int id, int templateId, float a, float b) {
  SpawnerRow row = OneShot(id, templateId, {{{0, 0}, {a, -b}, {a, b}, {2 * a, -2 * b}, {2 * a, 2 * b}}}, 5);
  row.chevron = true;
  return row;
}

constexpr SpawnerRow kSpawners[] = {
    [] {
      SpawnerRow row = InPhase(Timed(3006, 1003, 1003, {10, 40, 70, 100, 130}, 150));
      row.facingArgument = 0;
      return row;
    }(),
    InPhase(Timed(3007, 1002, 1002, {10, 40, 70, 100, 130}, 150, {0.0f, 50.0f})),
    Chevron(3014, 1011, 20.0f, 40.0f),
    Chevron(3015, 1011, 30.0f, 60.0f),
    Paired(3016, 1012, 1017, {1, 30, 60, 90}, 120),
    OneShot(3018, 1013, {{{0, -80}, {0, 80}, {-80, 0}, {80, 0}}}, 4),
    Timed(3019, 1014, 1014, {1, 60, 120, 180}, 180, {-50.0f, 0.0f}, {100.0f, 0.0f}),
    Timed(3023, 1024, 1024, {10, 30, 50, 70, 90, 110, 130, 150, 170, 190, 210, 230, 250, 270}, 300),
    Timed(3026, 1026, 1027, {10, 40, 70, 100, 130}, 140),
    Timed(3028, 1029, 1029, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}, 120),
    Timed(3029, 1029, 1029, {10, 20, 30, 40, 50, 60, 70, 80}, 110),
    Timed(3033, 1034, 1034, {10, 25, 40, 55, 70, 85, 100, 115}, 121, {40.0f, 40.0f}),
    Timed(3035, 1036, 1036, {10, 25, 40, 55, 70, 85}, 211),
    Chevron(3037, 1038, 30.0f, 60.0f),
    OneShot(3042, 1043, {}, 6),
    OneShot(3046, 1048, {}, 6),
    Timed(3048, 1048, 1048, {10, 30, 50, 70, 90, 110}, 120),
    Chevron(3050, 1051, 30.0f, 60.0f),
    Timed(3057, 1065, 1065, {1, 20, 40, 60, 80}, 90),
    Timed(3059, 1067, 1067, {10, 20, 30, 40, 50, 60}, 70),
    Spread(3072, 1082, {1, 5, 10, 15, 20, 25, 30, 35}, 50, 400),
    Spread(3073, 1047, {1, 4, 7, 10, 13}, 16, 200),
    Chevron(3076, 1087, 30.0f, 60.0f),
    Timed(3078, 1089, 1089, {10, 15, 20, 25, 30, 35}, 40),
    [] {
      SpawnerRow row = Timed(3106, 1011, 1011, {10, 30, 50, 70, 90}, 100);
      row.parentArgument = 0;
      return row;
    }(),
    Paired(3108, 1112, 1017, {1, 30, 60, 90}, 120),
    Timed(3109, 1089, 1089, {10, 20, 30, 40, 50, 60}, 70),
};

int FacingOf(const SpawnerRow& row, const GameObject& spawner) {
  return row.facingArgument == kOwnArgument ? spawner.facing : row.facingArgument;
}
int ParentOf(const SpawnerRow& row, const GameObject& spawner) {
  return row.parentArgument == kOwnArgument ? spawner.group : row.parentArgument;
}

void ReleaseAt(const SpawnerRow& row, int templateId, const GameObject& spawner, double dx, double dy) {
  Fire(templateId, spawner, dx, dy, FacingOf(row, spawner), ParentOf(row, spawner));
}

void ReleaseFormation(const SpawnerRow& row, int slot) {
  GameObject& spawner = ObjectPool[slot];
  float side = 1.0f;
  if (row.chevron) {
    side = spawner.facing != 0 ? 1.0f : -1.0f;
    spawner.phase = side;
  }
  for (int k = 0; k < row.memberCount; ++k) {
    ReleaseAt(row, row.firstTemplate, spawner, row.members[k].x * side, row.members[k].y);
  }
  ResetObject(slot);
}

// The counter after this update's step.
int StepCounter(const SpawnerRow& row, GameObject& spawner) {
  if (!row.countsInPhase) return spawner.timer += 1;
  // phase starts at 0.0 and gains whole steps, so it is always a whole number.
  spawner.phase = static_cast<float>(spawner.phase + 1.0);
  return FloatToInt(spawner.phase);
}

void ReleaseSpread(const SpawnerRow& row, int templateId, const GameObject& spawner) {
  const int ySubtracted = RandomInRange(row.spread);
  const int yAdded = RandomInRange(row.spread);
  const int xSubtracted = RandomInRange(row.spread);
  const int xAdded = RandomInRange(row.spread);
  const float y = static_cast<float>(spawner.y - static_cast<float>(ySubtracted)) + static_cast<float>(yAdded);
  const float x = static_cast<float>(spawner.x - static_cast<float>(xSubtracted)) + static_cast<float>(xAdded);
  CreateObject(templateId, FloatToInt(x), FloatToInt(y), FacingOf(row, spawner), ParentOf(row, spawner));
}

void ReleaseWave(const SpawnerRow& row, int slot) {
  GameObject& spawner = ObjectPool[slot];
  const int counter = StepCounter(row, spawner);
  for (int k = 0; k < kMaxCounts && row.counts[k] != 0; ++k) {
    if (counter != row.counts[k]) continue;
    const int templateId = k == 0 ? row.firstTemplate : row.laterTemplate;
    if (row.conduct == Conduct::kRandomSpread) {
      ReleaseSpread(row, templateId, spawner);
    } else {
      ReleaseAt(row, templateId, spawner, row.start.x + k * row.step.x, row.start.y + k * row.step.y);
      if (row.companion != 0) ReleaseAt(row, row.companion, spawner, 0.0, 0.0);
    }
  }
  if (counter == row.end) ResetObject(slot);
}

void RunSpawner(int slot) {
  const SpawnerRow& row = RowFor(kSpawners, ObjectPool[slot].behaviour);
  if (row.conduct == Conduct::kOneShot) {
    ReleaseFormation(row, slot);
  } else {
    ReleaseWave(row, slot);
  }
}

constexpr auto kEntries = EntriesFor(kSpawners, &RunSpawner);

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
