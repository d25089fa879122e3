// The start of every run, and the return of the run and menu state to how the
// program started.
#pragma once

void NewGameInit();
void ResetModeState();
