// Saving the back screen as the game drew it, for a person to look at: a PNG file in
// the running test's own folder below the build folder's "test-frames", kept after
// the test. The folder is emptied by the test's first save.
#pragma once

#include <filesystem>
#include <string>

struct Canvas;

// The running test's own folder below "test-frames" (emptied by its first use in the test).
std::filesystem::path TestFrameFolder();

// Writes "<name>.png" and returns its path, or "" (with a test failure) when the
// screen could not be read or the file not written.
std::string SaveFrame(const std::string& name);
// The pixels of the frame last written (an empty canvas before the first).
const Canvas& LastSavedFrame();

// The back screen's pixels from (x, y) as drawn so far, the canvas's size of them (all
// inside the screen): false when they could not be read.
bool ReadBackScreen(int x, int y, Canvas& area);

// Arms a save of the next frame as drawn: the back screen just before the next
// PresentScreen (the linker routes the game's presents through the save), written as
// SaveFrame writes it. SavedFramePath then names the file ("" until it is written).
void SaveNextFrame(const std::string& name);
const std::string& SavedFramePath();
