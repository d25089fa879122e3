// The stage scripts' dispatcher.
#pragma once

// Once per unpaused frame of play: the stage frame counters and, unless the
// timelines are stopped or halted, the two stage timelines; then the stage script
// of GameMode and Stage.
void UpdateStageScript();
