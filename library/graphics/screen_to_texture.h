// Copies a rectangle of the current draw target into a texture graph. Display
// drivers differ in which way of doing that works, so there are five, tried in a fixed
// order; the one that worked is remembered, separately for graphs with and without
// alpha, and tried first the next time.
#pragma once

struct GraphRecord;

// flag 0 with the front screen of a window as the draw target: the rectangle is in
// desktop coordinates. 0 / -1 (also when every way failed); 0 without copying while
// the device cannot draw into the target.
int CopyDrawTargetToGraphD3D(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag);
