// The graph system's start and end, and keeping graphs alive across the loss of
// video memory: after a display change every DirectDraw object is rebuilt and a
// restore hook puts the pixels back, by default reloading every graph from its file.
#pragma once

typedef void (*GraphRestoreHook)();

// 1 between StartGraphSystem and EndGraphSystem.
int IsGraphSystemUp();
// 1 when the Direct3D device is there and the hardware path may be chosen.
int Is3DPathUsable();

int StartGraphSystem();
int EndGraphSystem();

// NULL installs DefaultRestoreGraphs.
int SetGraphRestoreHook(GraphRestoreHook hook);
int IsGraphRestoreHookSet();
int RunGraphRestore();
void DefaultRestoreGraphs();
int RestoreGraphSurfaces(int graph);
int RestoreAllGraphs();
int RecreateGraphicsObjects();
