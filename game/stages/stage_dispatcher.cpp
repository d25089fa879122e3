#include "core/game_state.h"
#include "stages/script_interpreter.h"
#include "stages/script_rows.h"
#include "stages/stages.h"

namespace {

void RunScriptOfStage(int mode) {
  if (const StageScript* script = StageScriptOf(Stage)) RunStageScript(*script, mode);
}

}  // namespace

const StageScript* StageScriptOf(int stage) {
  static constexpr const StageScript* kScripts[kScriptStages] = {
      &kStage1Script, &kStage2Script, &kStage3Script, &kStage4Script,
      &kStage5Script, &kStage6Script, &kStage7Script, &kStage8Script,
  };
  if (stage < 1 || stage > kScriptStages) return nullptr;
  return kScripts[stage - 1];
}

void UpdateStageScript() {
  if (TimelineHalt == 0.0f) ++BattleFrames;
  ++StageFrame;
  if (TimelineStopped != 0 || TimelineHalt != 0.0f) return;
  // Timelines 1 and 2 advance in every game mode, also in those without a script.
  ++StageTimeline;
  ++StageTimeline2;
  if (GameMode == 0) RunScriptOfStage(0);
  if (GameMode == 1) RunScriptOfStage(1);
}
