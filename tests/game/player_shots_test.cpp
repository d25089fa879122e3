// Shot cadence of every ShotCode, fire held 200 frames, against a model of the
// trigger and release run on the shot table as the design gives it.
#include <array>


#include "player_fixture.h"

namespace {

// A cell of the design's shot table: one value for the row, or one per level 0..3.
struct Cell {
  std::array<int, 4> v;
  Cell(int all) : v{all, all, all, all} {}
  Cell(int a, int b, int c, int d) : v{a, b, c, d} {}
};
enum Facing { kZero, kF, kAtPlayer };
struct DesignRow {
  int firstCode, codes;
  Cell stepBase;
  int stepPerPerk, idle;
  Cell reload, burst, spacing, shot;
  int pairedShot;
  Cell facing;
  Cell se;  // 0 silent
  bool soundFirstAtRandomVolume = false;
  int secondStepBase = 0, secondShot = 0;
  Facing secondFacing = kZero;
};
const DesignRow kDesign[] = {
    {10, 1, 3, 2, 5, 30, 2, 3, 2034, 0, kF, 12},
    {11, 1, 3, 2, 5, 30, 2, 3, 2035, 0, kF, 0, false, 2, 2036, kZero},
    {12, 1, 3, 2, 5, 30, 2, 3, 2037, 0, kF, 0, false, 3, 2038, kZero},
    {13, 1, 4, 2, 5, 30, 2, 3, 2039, 0, kF, 0, false, 3, 2040, kF},
    {20, 1, 5, 2, 8, 50, 3, 2, 2041, 0, kF, 90},
    {21, 3, 5, 2, 7, 50, 3, 2, {2042, 2043, 2044, 0}, 0, kF, 90},
    {30, 4, 1, 1, 1, 3, 1, 1, {2045, 2046, 2047, 2049}, 0, kF, 0},
    {40, 4, 1, 1, 1, {36, 33, 30, 27}, 2, 7, {2026, 2052, 2053, 2054}, 0, kZero, {0, 0, 0, 91}},
    {50, 4, 1, 1, 1, 2, 1, 2, {2081, 2082, 2083, 2084}, 0, kZero, 91},
    {60, 1, 1, 2, 2, 40, 2, 2, 2099, 2101, kZero, 14},
    {61, 3, 2, 2, 2, {42, 44, 46, 0}, {4, 6, 8, 0}, 2, 2099, 2101, kZero, 14},
    {70, 4, 3, 1, 5, 50, 2, 3, {2074, 2075, 2076, 2077}, 0, kF, 0},
    {80, 4, 5, 2, 7, 50, 3, 2, {2066, 2067, 2068, 2069}, 0, kF, 0},
    {90, 4, 1, 1, 1, 3, 1, 1, {2070, 2071, 2072, 2073}, 0, kF, 0},
    {100, 4, 1, 1, 1, {70, 68, 66, 63}, 2, 10, {2062, 2063, 2064, 2065}, 0, kZero, 0},
    {110, 4, 2, 1, 5, {50, 40, 30, 20}, 8, 2, {2085, 2087, 2088, 2089}, 0, kF, 95, true},
    {120, 4, 1, 2, 1, {40, 30, 20, 10}, 1, {35, 30, 25, 20}, {2216, 2217, 2218, 2226}, 0, {kAtPlayer, kZero, kZero, kZero}, 37},
};

struct Condition {
  int perk;
  bool second;     // the code is the second shot, action 2 held (it dashes every 30 frames)
  bool fireEvery;  // fire held every frame, else every other frame
};
constexpr Condition kConditions[] = {{0, false, true}, {1, false, true}, {0, true, true}, {0, false, false}};
constexpr int kFrames = 200;

struct Pair {
  int reload = 0, burst = 0, timer = 0;
  void Trigger(int step, int idle, int reloadTo, int burstTo, bool fire, int dashStep) {
    if (reload > 0) reload -= step;
    if (reload >= 1 && !fire) reload -= idle;
    reload -= reload >= dashStep && dashStep > 0 ? dashStep : 0;
    if (fire && reload <= 0) reload = reloadTo, burst = burstTo;
  }
  bool Release(int spacing) {
    if (timer > 0) --timer;
    if (burst < 1 || timer != 0) return false;
    --burst, timer = spacing;
    return true;
  }
};

const DesignRow* FindDesign(int code, int& level) {
  for (const DesignRow& row : kDesign) {
    level = code - row.firstCode;
    if (level >= 0 && level < row.codes) return &row;
  }
  return nullptr;
}

std::vector<std::string> Expected(int code, const Condition& c, const std::vector<std::array<int, 2>>& at) {
  std::vector<std::string> lines;
  int level = 0;
  const DesignRow* row = FindDesign(code, level);
  if (row == nullptr) return lines;
  auto made = [&](int frame, int shot, Facing facing) {
    const int x = facing == kAtPlayer ? at[frame][0] : 0, y = facing == kAtPlayer ? at[frame][1] : 0;
    lines.push_back(std::to_string(frame) + ": CreateObject " + std::to_string(shot) + " " + std::to_string(x) + " " +
                    std::to_string(y) + " " + (facing == kF ? "1" : "0") + " 0");
  };
  auto played = [&](int frame, int se, int volume) {
    lines.push_back(std::to_string(frame) + ": PlaySe " + std::to_string(se) + " " + std::to_string(volume));
  };
  Pair main, second;
  float boost = 0.0f;
  for (int frame = 0; frame < kFrames; ++frame) {
    const bool fire = c.fireEvery || frame % 2 == 0;
    if (c.second && frame % 30 == 0) main = Pair{}, boost = 6.0f;
    if (boost > 0.0f) boost = static_cast<float>(boost - 0.4);
    main.Trigger(row->stepBase.v[level] + row->stepPerPerk * c.perk, row->idle, row->reload.v[level],
                 row->burst.v[level], fire, 0);
    if (row->secondShot != 0) {
      second.Trigger(row->secondStepBase + 2 * c.perk, 5, 30, 1, fire, code == 13 && boost > 0.0f ? 2 : 0);
    }
    if (main.Release(row->spacing.v[level])) {
      if (row->soundFirstAtRandomVolume) played(frame, row->se.v[level], 100);
      const auto facing = static_cast<Facing>(row->facing.v[level]);
      made(frame, row->shot.v[level], facing);
      if (row->pairedShot != 0) made(frame, row->pairedShot, facing);
      if (!row->soundFirstAtRandomVolume && row->se.v[level] != 0) played(frame, row->se.v[level], 255);
    }
    if (row->secondShot != 0 && second.Release(3)) made(frame, row->secondShot, row->secondFacing), played(frame, 12, 255);
  }
  return lines;
}

class PlayerShotsTest : public PlayerTest {
 protected:
  // Fires `code` for 200 frames; the player's truncated position of each frame.
  std::vector<std::array<int, 2>> Fire(int code, const Condition& c, int frames = kFrames) {
    SetUp();
    TurboLevel = 0;  // dashes without a burst
    TurboChargeNeeded = 100000;
    NoUpgradePerk = c.perk;
    (c.second ? TShotType : NShotType) = code;
    (c.second ? NShotType : TShotType) = 0;
    ObjectPool[kPlayerSlot].facing = 1;  // "f" shots face left, "0" shots right
    ScriptRandom(RandomScript::Max);
    std::vector<std::array<int, 2>> at;
    for (int frame = 0; frame < frames; ++frame) {
      Hold(kActionFire, c.fireEvery || frame % 2 == 0);
      Hold(kActionSecond, c.second);
      PlayerIdleTimer = 1000;  // no idle animations
      UpdatePlayerControl();
      at.push_back({FloatToInt(ObjectPool[0].x), FloatToInt(ObjectPool[0].y)});
      FirePlayerShots();
      EndRecordedFrame();
    }
    return at;
  }
};

TEST_F(PlayerShotsTest, EveryCodeFiresItsBurstsAtItsCadence) {
  std::vector<int> codes = {0, 14, 124};
  for (int code = 10; code <= 123; ++code) codes.push_back(code);
  for (const Condition& c : kConditions) {
    for (const int code : codes) {
      const auto at = Fire(code, c);
      EXPECT_EQ(MadeAndPlayed(), Expected(code, c, at))
          << "code " << code << " perk " << c.perk << " second " << c.second << " every " << c.fireEvery;
    }
  }
}

// A burst armed, then one frame with the button resting: the reload runs down by the
// step and the idle rate.
TEST_F(PlayerShotsTest, ARestingButtonRunsTheReloadDownFaster) {
  for (const DesignRow& row : kDesign) {
    for (int level = 0; level < row.codes; ++level) {
      Fire(row.firstCode + level, kConditions[0], 1);
      Hold(kActionFire, false);
      UpdatePlayerControl();
      const int step = row.stepBase.v[level] + row.stepPerPerk * NoUpgradePerk;
      EXPECT_EQ(ShotReload, row.reload.v[level] - step - row.idle) << row.firstCode + level;
      if (row.secondShot != 0) {
        EXPECT_EQ(SubShotReload, 30 - row.secondStepBase - 5) << row.firstCode;
      }
    }
  }
}

// Anchors of the design, read off the log directly.
TEST_F(PlayerShotsTest, AnchorsOfTheCadence) {
  auto framesOf = [](int shot, std::size_t count = 9) {
    std::vector<int> frames;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) {
      if (call.Int(0) == shot) frames.push_back(call.frame);
    }
    frames.resize(std::min(frames.size(), count));
    return frames;
  };
  Fire(30, kConditions[0]);
  EXPECT_EQ(framesOf(2045), (std::vector<int>{0, 3, 6, 9, 12, 15, 18, 21, 24}));
  Fire(30, kConditions[1]);
  EXPECT_EQ(framesOf(2045), (std::vector<int>{0, 2, 4, 6, 8, 10, 12, 14, 16}));
  Fire(63, kConditions[0]);
  EXPECT_EQ(framesOf(2101), (std::vector<int>{0, 2, 4, 6, 8, 10, 12, 14, 23}));
  // The loadout's preview fires the second shot only while it shows it, not on action 2.
  for (const int select : {0, 1}) {
    Scene = kSceneLoadout, SelectFrame = select, NShotType = 30, TShotType = 90, MainShotBurst = 1, MainShotTimer = 0;
    ActionHold[kActionSecond] = 5;
    FirePlayerShots();
    EXPECT_EQ(CallsOf(Call::CreateObject).back().Int(0), select == 1 ? 2070 : 2045);
  }
  // A dash every 30 frames empties the burst begun at 23 and arms a new one.
  Fire(63, kConditions[2]);
  EXPECT_EQ(framesOf(2099, 14), (std::vector<int>{0, 2, 4, 6, 8, 10, 12, 14, 23, 25, 27, 29, 30, 32}));
}

}  // namespace
