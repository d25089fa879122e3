// Graph creation and loading: pictures decoded into GraphImages become one graph, or
// one parent graph cut into tiles that share its pixels. Every graph made from a file
// records the file, its directory and its position in the picture, which the restore
// reloads it from.
#pragma once

#include "graphics/graph_image.h"

int LoadGraphFileBody(const char* file);
int LoadGraphFileCore(const char* file, int wantTexture, int mirror, int movieOption);
int LoadDivGraphFileBody(const char* file, int count, int xCount, int yCount, int tileWidth, int tileHeight,
                         int* handles);
int LoadDivGraphFileCore(const char* file, int count, int xCount, int yCount, int tileWidth, int tileHeight,
                         int* handles, int wantTexture, int mirror);
int DrawGraphFileAtBody(int x, int y, const char* file, int transparent);

// Decodes a file (through the file layer) or a memory block into out; mirror 1 mirrors
// it left to right. 0 / -1.
int LoadGraphImage(const char* file, const void* memory, int size, int fromMemory, int mirror, GraphImage* out);
// The picture and its alpha companion (the name with "_a" before the extension of
// the last path component): 0 both, 1 the picture only, -1 no picture.
int LoadGraphImageWithAlpha(const char* file, GraphImage* out, GraphImage* alphaOut, int mirror);
// The companion's name for a picture's name, or false when it does not fit.
bool MakeAlphaCompanionName(const char* file, char* out, int outSize);

int CreateGraphFromGraphImage(GraphImage* image, GraphImage* alphaImage, int wantTexture, int mirror,
                              int mirrorPixels);
int MakeGraphFromGraphImage(GraphImage* image);
// Tiles row by row; handles not written (rows ran out) get -1, and every handle gets
// -1 when the result is -1.
int CreateDivGraphFromGraphImage(GraphImage* image, GraphImage* alphaImage, int count, int xCount, int yCount,
                                 int tileWidth, int tileHeight, int* handles, int wantTexture, int mirror,
                                 int mirrorPixels);
// A graph showing the part (x, y, width, height) of the parent's pixels, clipped to
// the parent; -1 for a position outside the parent.
int DeriveGraph(int x, int y, int width, int height, int parent);
int TransferGraphImageToGraph(const char* name, const GraphImage* image, const GraphImage* alphaImage, int sourceX,
                              int sourceY, int graph, int userValue);
int CreateBlankGraphForImage(const GraphImage* image, const GraphImage* alphaImage, int wantTexture);
