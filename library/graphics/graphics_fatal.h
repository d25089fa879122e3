// The end of the program on a fatal graphics condition (a full graph table, a screen
// surface that cannot be made, ...). Tests may put a hook in its place.
#pragma once

// Logs the text and ends the program through FatalErrorExit; with a test hook set,
// calls the hook instead and returns -1 so that the failing call can give up.
int GraphicsFatalError(const char* text);

// Test control: while set, fatal graphics conditions call hook(text) and the failing
// call returns -1 instead of ending the process. NULL restores the real end.
void SetGraphicsFatalHookForTest(void (*hook)(const char* text));
