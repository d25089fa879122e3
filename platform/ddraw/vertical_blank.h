// The emulated raster: 60 frames a second, each of the display's visible lines followed
// by a blank of about a twentieth as many. With a display it runs on the monotonic clock
// and waits really wait; in headless runs (SDL's dummy or offscreen video, or when tests
// ask) the blank status flips on every query and waits return at once.
#pragma once

#include "kernel/win_types.h"

// Whether the beam is in the blank on a display of `visibleLines` lines. In the headless
// mode every call flips the answer.
bool ReadBlankStatus(DWORD visibleLines);

// The line the beam is on: visibleLines or more inside the blank. Headless: the line
// that matches the last blank status.
DWORD ReadScanLine(DWORD visibleLines);

// Waits for the start (or the end) of the next blank.
void WaitForBlank(DWORD visibleLines, bool end);
