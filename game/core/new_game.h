// The start of every run, and the return of the run and menu state to how the
// program started.
#pragma once

void NewGameInit();
void ResetModeState();

// Pieces of the start of a run that a continue repeats: the player at (384, y) with
// its ram object and position history; the group parents; the option objects of
// OptionLevel (at most four) at the player.
void SetUpPlayerObjects(float y);
void SetUpGroupParents();
void CreateOptionObjects();
// The upgrade levels a run starts with (the Start* values, the shot codes stepped up
// to the start shot level) and its option objects.
void SetUpStartUpgrades();
