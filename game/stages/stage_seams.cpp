// Seam: the stage scripts are not built yet. The dispatcher advances the counters
// and timelines as it will; no script runs yet. The stage scripts replace this file.
#include "core/game_state.h"
#include "stages/stages.h"

void UpdateStageScript() {
  if (TimelineHalt == 0.0f) ++BattleFrames;
  ++StageFrame;
  if (TimelineStopped != 0 || TimelineHalt != 0.0f) return;
  ++StageTimeline;
  ++StageTimeline2;
}
