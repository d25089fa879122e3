// Stage 7: spawner columns and grids, fifty random spawners twice, every enemy cancelled
// at 5000 where timeline 3 starts the boss sequence; the scroll step rises 15 times.
#include "core/game_state.h"
#include "stages/script_code_rows.h"
#include "stages/script_rows.h"

namespace {

constexpr ScriptAction kScrollStepRise = Add(&Stage7ScrollStep, "Stage7ScrollStep", 1);
// Fifty spawners at random places; each draws its y before its x.
constexpr ScriptAction kFiftyRandomSpawners = Spawn(1084, Random(800, 5600), Random(500, 1500), 0, 2).Times(50);
// The x of each column of the 1088 grid.
constexpr std::span<const int> kGridColumns =
    Ints<5600, 5300, 5000, 4600, 4300, 4000, 3600, 3300, 3000, 2600, 2300, 2000, 1600, 1300, 1000>;

constexpr ScriptRow kMode0Rows[] = {
  {1, Steps(200, 450, 50), {kScrollStepRise}},
  {1, Steps(500, 520, 5), {Spawn(1083, 1500, 300, 0, 1).Step(0, 300)}},
  {1, At(550), {kScrollStepRise}},
  {1, Steps(800, 820, 5), {Spawn(1083, 2000, 300, 0, 1).Step(0, 300)}},
  {1, Steps(1050, 1070, 5), {Spawn(1083, 2500, 300, 0, 1).Step(0, 300)}},
  {1, At(1100), {kScrollStepRise}},
  {1, Steps(1200, 1220, 5), {Spawn(1083, 3000, 300, 0, 1).Step(0, 300)}},
  {1, Steps(1450, 1470, 5), {Spawn(1083, 3500, 300, 0, 1).Step(0, 300)}},
  {1, Steps(1550, 1570, 5), {Spawn(1083, 4000, 300, 0, 1).Step(0, 300)}},
  {1, At(1590), {kScrollStepRise}},
  {1, Steps(1600, 1620, 5), {Spawn(1083, 4500, 300, 0, 1).Step(0, 300)}},
  {1, Steps(1640, 1660, 5), {Spawn(1083, 5000, 300, 0, 1).Step(0, 300)}},
  {1, At(1800), {Hold(1, 50)}},
  {1, At(1850), {kScrollStepRise}},
  {1, Steps(1900, 1940, 10), {Spawn(1084, kListed, kListed, 0, 2).InTurn(kXY, Ints<1000, 500, 1200, 500, 1000, 1500, 1200, 1500, 3000, 800>)}},
  {1, At(1941), {Spawn(1110, 3100, 800, 0, 1)}},
  {1, Steps(1950, 2010, 10), {Spawn(1084, kListed, kListed, 0, 2).InTurn(kXY, Ints<3200, 800, 3000, 1200, 3200, 1200, 5000, 500, 5200, 500, 5000, 1500, 5200, 1500>)}},
  {1, Steps(2040, 2110, 10), {Spawn(1046, kListed, kListed, 0, 1).InTurn(kXY, Ints<2000, 600, 4000, 600, 2000, 1400, 4000, 1400, 1800, 600, 4200, 600, 1800, 1400, 4200, 1400>)}},
  {1, At(2120), {kScrollStepRise}},
  {1, At(2350), {Hold(1, 3)}},
  {1, Steps(2356, 2390, 2), {Spawn(1071, 6000, 500, 1, 2).Grid(3, -1000, 500)}},
  {1, At(2391), {kScrollStepRise}},
  {1, Steps(2400, 2459, 1), {Spawn(1088, kListed, 370, 1, 1).Grid(4, 0, 400, kGridColumns)}},
  {1, Steps(2500, 3300, 200), {Spawn(1068, 6000, 250, 1, 1)}},
  {1, Steps(2550, 3150, 200), {Spawn(1068, 400, 1700, 0, 1)}},
  {1, Steps(2600, 3200, 200), {Spawn(1068, 6000, 1700, 1, 1)}},
  {1, Steps(2650, 3250, 200), {Spawn(1068, 400, 250, 0, 1)}},
  {1, Steps(3301, 3303, 1), {Spawn(1068, kListed, kListed, kListed, 1).InTurn(kXYF, Ints<400, 1700, 0, 6000, 1700, 1, 400, 250, 0>)}},
  {1, At(3500), {Hold(1, 20)}},
  {1, At(3550), {kScrollStepRise}},
  {1, At(3600), {kFiftyRandomSpawners}},
  {1, At(3650), {kScrollStepRise}},
  {1, At(4200), {CancelBullets()}},
  {1, At(4200), {kFiftyRandomSpawners}},
  {1, At(4300), {kScrollStepRise}},
  {1, At(5000), {Code(CancelEveryEnemy, "CancelEnemies"), AdvanceTimeline3()}},
  {3, At(100), {Spawn(1085, 5500, 800, 0, 1)}},
  {3, Steps(210, 300, 10), {Spawn(1086, kListed, kListed, 0, 2).InTurn(kXY, Ints<4250, 400, 4400, 1500, 4650, 400, 4800, 1500, 5050, 400, 5200, 1500, 5450, 400, 5600, 1500, 5750, 400, 5800, 1500>)}},
  {3, Steps(1000, 1020, 5), {Spawn(1083, 500, 300, 0, 2).Step(0, 300)}},
  {3, Steps(1025, 1045, 5), {Spawn(1083, 5900, 300, 0, 2).Step(0, 300)}},
  {3, Frames(Ints<1100, 1220, 1330, 1440, 1500, 1620, 1730, 1840, 1900, 2020, 2130, 2240>), {Spawn(1090, 6000, Random(250, 1500), 1, 1)}},
  {3, Frames(Ints<1101, 1221, 1331, 1441, 1501, 1621, 1731, 1841, 1901, 2021, 2131, 2241>), {Spawn(1090, 500, Random(250, 1500), 0, 1)}},
};

constexpr ScriptRow kMode1Rows[] = {
  {1, Steps(200, 450, 50), {kScrollStepRise}},
  {1, Steps(500, 520, 5), {Spawn(1083, 1500, 300, 0, 1).Step(0, 300)}},
  {1, At(550), {kScrollStepRise}},
  {1, Steps(800, 820, 5), {Spawn(1083, 2000, 300, 0, 1).Step(0, 300)}},
  {1, Steps(1050, 1070, 5), {Spawn(1083, 2500, 300, 0, 1).Step(0, 300)}},
  {1, At(1100), {kScrollStepRise}},
  {1, Steps(1200, 1220, 5), {Spawn(1083, 3000, 300, 0, 1).Step(0, 300)}},
  {1, Steps(1450, 1470, 5), {Spawn(1083, 3500, 300, 0, 1).Step(0, 300)}},
  {1, Steps(1550, 1570, 5), {Spawn(1083, 4000, 300, 0, 1).Step(0, 300)}},
  {1, At(1590), {kScrollStepRise}},
  {1, Steps(1600, 1620, 5), {Spawn(1083, 4500, 300, 0, 1).Step(0, 300)}},
  {1, Steps(1640, 1660, 5), {Spawn(1083, 5000, 300, 0, 1).Step(0, 300)}},
  {1, At(1800), {Hold(1, 40)}},
  {1, Steps(1850, 2390, 270), {kScrollStepRise}},
  {1, Steps(1900, 2010, 10), {Spawn(1084, kListed, kListed, 0, 2).InTurn(kXY, Ints<1000, 500, 1200, 500, 1000, 1500, 1200, 1500, 3000, 800, 3200, 800, 3000, 1200, 3200, 1200, 5000, 500, 5200, 500, 5000, 1500, 5200, 1500>)}},
  {1, Steps(2040, 2110, 10), {Spawn(1046, kListed, kListed, 0, 1).InTurn(kXY, Ints<2000, 600, 4000, 600, 2000, 1400, 4000, 1400, 1800, 600, 4200, 600, 1800, 1400, 4200, 1400>)}},
  {1, At(2200), {Hold(1, 3)}},
  {1, Steps(2300, 2355, 5), {Spawn(1071, kListed, kListed, 1, 2).InTurn(kXY, Ints<6000, 500, 6000, 1000, 6000, 1500, 5000, 500, 5000, 1000, 5000, 1500, 4000, 500, 4000, 1000, 4000, 1500, 3000, 500, 3000, 1000, 3000, 1500>)}},
  {1, At(2356), {Spawn(1071, 2000, 1000, 1, 2)}},
  {1, At(2360), {Spawn(1071, 2000, 500, 1, 2)}},
  {1, Steps(2370, 2385, 5), {Spawn(1071, kListed, kListed, 1, 2).InTurn(kXY, Ints<2000, 1500, 1000, 500, 1000, 1000, 1000, 1500>)}},
  {1, Steps(2400, 2459, 1), {Spawn(1088, kListed, 370, 1, 1).Grid(4, 0, 400, kGridColumns)}},
  {1, Steps(2500, 3300, 200), {Spawn(1068, 6000, 250, 1, 1)}},
  {1, Steps(2550, 3150, 200), {Spawn(1068, 400, 1700, 0, 1)}},
  {1, Steps(2600, 3200, 200), {Spawn(1068, 6000, 1700, 1, 1)}},
  {1, Steps(2650, 3250, 200), {Spawn(1068, 400, 250, 0, 1)}},
  {1, Steps(3301, 3303, 1), {Spawn(1068, kListed, kListed, kListed, 1).InTurn(kXYF, Ints<400, 1700, 0, 6000, 1700, 1, 400, 250, 0>)}},
  {1, At(3500), {Hold(1, 20)}},
  {1, At(3550), {kScrollStepRise}},
  {1, At(3600), {kFiftyRandomSpawners}},
  {1, At(3650), {kScrollStepRise}},
  {1, At(4200), {CancelBullets()}},
  {1, At(4200), {kFiftyRandomSpawners}},
  {1, At(4300), {kScrollStepRise}},
  {1, At(5000), {Code(CancelEveryEnemy, "CancelEnemies"), AdvanceTimeline3()}},
  {3, At(100), {Spawn(1085, 5500, 800, 0, 1)}},
  {3, Steps(210, 300, 10), {Spawn(1086, kListed, kListed, 0, 2).InTurn(kXY, Ints<4250, 400, 4400, 1500, 4650, 400, 4800, 1500, 5050, 400, 5200, 1500, 5450, 400, 5600, 1500, 5750, 400, 5800, 1500>)}},
  {3, Steps(1000, 1020, 5), {Spawn(1083, 500, 300, 0, 2).Step(0, 300)}},
  {3, Steps(1025, 1045, 5), {Spawn(1083, 5900, 300, 0, 2).Step(0, 300)}},
  {3, Frames(Ints<1100, 1220, 1330, 1440, 1500, 1620, 1730, 1840, 1900, 2020, 2130, 2240>), {Spawn(1090, 6000, Random(250, 1500), 1, 1)}},
  {3, Frames(Ints<1101, 1221, 1331, 1441, 1501, 1621, 1731, 1841, 1901, 2021, 2131, 2241>), {Spawn(1090, 500, Random(250, 1500), 0, 1)}},
};

}  // namespace

constexpr StageScript kStage7Script{.modes = {kMode0Rows, kMode1Rows}, .timeline3 = Timeline3Rule::kWhilePositive};
