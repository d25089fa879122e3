// The program: start-up, the frame loop with its scene switch and 17 ms pacing, and
// shut-down. WinMain runs all three; the parts are separate so that a test can run
// the same passes one at a time.
#pragma once

// The whole program: 0 after a normal end, -1 when the start fails.
int WinMain();

// Configures and starts the library, shows the loading picture and loads the game:
// 0, or -1 when the library could not start (nothing else was done) or when the first
// screens' pictures could not be read (the library is ended again).
int StartGame();
// One pass of the frame loop, paced: false when the loop is to end.
bool RunFramePass();
// Shuts the library down.
void EndGame();
// Waits until the frame begun at FrameStartMs has lasted 17 ms plus the slow-down and
// the replay speed offset; never drops a frame.
void PaceFrame();

// The play scene's drawing over its stage: the objects, the HUD, and the pause
// manual's page above both.
void DrawPlay();

// Once per frame in every scene: the window caption with the frame rate.
void UpdateFpsCaption();
// Once per frame after the scene: Backspace saves a screenshot.
void CheckScreenshotKey();
