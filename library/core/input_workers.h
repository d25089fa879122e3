// Workers of the input entry points.
#pragma once

int IsKeyDownBody(int key);
int ReadPadBitsBody(int input);
int StartPadRumbleBody(int pad, int power, int durationMs);
int StopPadRumbleBody(int pad);
