// The start-up's warm-up of the drawing paths before the game's first frame.
#pragma once

// Makes, draws and frees a few black graphs on both screens (a subtract draw, a plain
// draw, a stretched draw, and a draw-target graph), so that every path has made what
// it needs; both screens stay black. Returns 0.
int WarmUpDrawingPaths();
