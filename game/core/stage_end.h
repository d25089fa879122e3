// The stage-end states that UpdateStage runs on TimelineHalt: clear, tally, shop,
// leaving and the next stage.
#pragma once

// Halt values of the stage end.
constexpr float kHaltCleared = 1.0f;
constexpr float kHaltTally = 2.0f;
constexpr float kHaltShop = 3.0f;
constexpr float kHaltPaying = 4.0f;
constexpr float kHaltRefused = 5.0f;
constexpr float kHaltLeaving = 9.0f;
constexpr float kHaltNextStage = 10.0f;
constexpr float kHaltPracticeEnd = 11.0f;

// The clear, the tally, the next stage and the end of a practice run.
void RunStageEnd();
// The shop and its payment, refusal and leaving states.
void RunUpgradeShop();
