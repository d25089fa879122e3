// Stage 8: the ring of 1091, the lines of timeline 2, the three-part boss, its final
// form and the last boss; the end of the run at 10800. One table for both modes.
#include "core/game_state.h"
#include "stages/run_end.h"
#include "stages/script_code_rows.h"
#include "stages/script_rows.h"

namespace {

// Stage8Ring: the sixteen points R0..R15 of timeline 1's ring, as x, y, facing.
constexpr std::span<const int> kStage8Ring =
    Ints<3200, 1700, 1, 2450, 1625, 1, 1700, 1550, 1, 950, 1275, 1, 500, 1000, 0, 950, 725, 0, 1700, 450, 0,
         2450, 275, 0, 3200, 200, 0, 3950, 275, 0, 4700, 450, 0, 5450, 725, 0, 5900, 1000, 1, 5450, 1275, 1,
         4700, 1550, 1, 3950, 1625, 1>;
// One 1091 per frame on the ring's points in turn, lap after lap.
constexpr ScriptAction kRingSpawn = Spawn(1091, kListed, kListed, kListed, 2).InTurn(kXYF, kStage8Ring);

// A boss effect at pool slot 17's position.
constexpr ScriptAction Slot17Effect(int templateId) {
  return Spawn(templateId, SlotPosition(17), SlotPosition(17), 0, 0);
}

constexpr ScriptRow kRows[] = {
  {1, Steps(700, 1940, 40), {kRingSpawn}},
  {1, At(1320), {Music(2, 6)}},
  {1, Steps(1970, 2900, 30), {kRingSpawn}},
  {1, Steps(2920, 3220, 20), {kRingSpawn}},
  {1, Steps(3230, 3380, 10), {kRingSpawn}},
  {1, At(4450), {Set(&Stage8Caption, "Stage8Caption", 1)}},
  {1, At(5000), {Spawn(1094, 3000, 900, 0, 1)}},
  {1, At(5010), {Spawn(1095, 1500, 400, 1, 2)}},
  {1, At(5020), {Spawn(1096, 4500, 400, 0, 2)}},
  {1, At(5300), {Hold(1, 0)}},
  {1, At(6750), {Set(&Stage8Caption, "Stage8Caption", 2)}},
  {1, At(7900), {Hold(1, 6)}},
  {1, At(7910), {Code(ChangeBossForm, "BossChangesForm"), Spawn(1102, 3000, 800, 0, 1), Slot17Effect(2185), Slot17Effect(2186), Slot17Effect(2185), Slot17Effect(2186), Slot17Effect(2180)}},
  {1, At(8200), {Hold(1, 0)}},
  {1, At(8460), {Set(&Stage8Caption, "Stage8Caption", 3)}},
  {1, At(8950), {Spawn(2185, 3200, 800, 0, 0)}},
  {1, At(9040), {Spawn(2185, 3200, 800, 0, 0), Spawn(2186, 3200, 800, 0, 0)}},
  {1, At(9075), {Spawn(2185, 3200, 800, 0, 0), Spawn(2186, 3200, 800, 0, 0), Spawn(2185, 3200, 800, 0, 0), Spawn(2186, 3200, 800, 0, 0)}},
  {1, At(9100), {Music(9, 2), Sound(117, 255), Spawn(1105, 3200, 800, 0, 1)}},
  {1, At(9105), {Spawn(1108, 3500, 500, 0, 1), Slowdown(12).ModeZeroOnly()}},
  {1, Steps(9110, 9140, 10), {Spawn(1106, kListed, kListed, 0, 1).InTurn(kXY, Ints<3500, 500, 3500, 1500, 2500, 500, 2500, 1500>)}},
  {1, Steps(9150, 9200, 10), {Spawn(1107, kListed, kListed, 0, 1).InTurn(kXY, Ints<4500, 500, 4500, 1500, 1500, 500, 1500, 1500, 500, 800, 5500, 1200>)}},
  {1, At(9500), {Hold(1, 0)}},
  {1, At(10800), {Code(EndTheRun, "EndOfRun")}},
  {2, Steps(1500, 1560, 5), {Spawn(1092, 1000, 1600, 0, 1).Step(0, -100)}},
  {2, At(1561), {Jump(1800)}},
  {2, Steps(1900, 2180, 5), {Spawn(1093, 500, 500, 0, 1).Step(100, 0)}},
  {2, Steps(2300, 2360, 5), {Spawn(1092, 5600, 400, 1, 1).Step(0, 100)}},
  {2, At(2361), {Jump(2500)}},
  {2, Steps(2600, 2880, 5), {Spawn(1093, 6100, 1600, 1, 1).Step(-100, 0)}},
  {2, Steps(3100, 3160, 5), {Spawn(1091, 1000, 1600, 0, 1).Step(0, -100)}},
  {2, Steps(3200, 3260, 5), {Spawn(1091, 5600, 400, 1, 1).Step(0, 100)}},
  {2, Steps(3700, 3980, 5), {Spawn(1093, 500, 500, 0, 1).Step(100, 0)}},
  {2, Steps(4000, 4280, 5), {Spawn(1093, 6100, 1600, 1, 1).Step(-100, 0)}},
};

}  // namespace

constexpr StageScript kStage8Script{.modes = {kRows, kRows}, .timeline3 = Timeline3Rule::kEveryCall};
