// Pixels into a part of a graph, whichever kind of graph it is.
#pragma once

#include "graphics/graph_image.h"
#include "kernel/win_types.h"

// Records the name ("" for NULL), the current directory, the destination point as the
// source position and the user value in the graph, then copies sourceRect of the
// picture (and of its alpha picture, or NULL) to (destX, destY) of the graph: into the
// textures of a texture graph, else into the pieces of a 2-D graph. 0 / -1 (also for a
// dead graph).
int TransferPixelsToGraph(const GraphImage* image, const GraphImage* alphaImage, const RECT* sourceRect, int destX,
                          int destY, const char* name, int graph, int userValue);
