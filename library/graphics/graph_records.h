// Graphs: everything the library can draw or draw into, named by handles of type 1.
// The table of graph records, the creation of a record from the draw state's
// defaults, lookups, queries, and deletion.
#pragma once

#include <climits>
#include <cstdint>

#include "graphics/handle_table.h"

constexpr int kGraphTableSize = 32768;
constexpr int kGraphMaxPieces = 64;
constexpr int kGraphFileNameSize = 260;
constexpr int kGraphDirectorySize = PATH_MAX;

// The eight flag bytes, in this order; a derived graph copies them as a unit and the
// surface data records keep a copy.
struct GraphFlags {
  std::uint8_t texture;           // 1 = drawn with Direct3D textures
  std::uint8_t alphaChannel;      // the pixels carry alpha
  std::uint8_t drawValid;         // can be a draw target
  std::uint8_t alphaMode2D;       // 2-D graphs: the 2-D alpha setting when made
  std::uint8_t alphaTest;         // the new-graph alpha-test setting when made
  std::uint8_t colourDepth;       // bits per pixel of the graph's surfaces
  std::uint8_t renderTargetCopy;  // low byte of the render-target request
  std::uint8_t callerFlag;        // 2-D graphs: 1 = a palette (one byte per pixel) picture
};
static_assert(sizeof(GraphFlags) == 8);

struct GraphRecord {
  std::uint32_t check;
  int* watcher;  // set to 1 when the graph is deleted
  int handle;
  GraphFlags flags;
  int userValue;  // the mirror flag the restore reloads the picture with
  int renderTargetRequest;
  int pieces[kGraphMaxPieces];  // Surface2D handles (2-D) or texture piece handles
  int pieceCount;
  char fileName[kGraphFileNameSize];    // "" when the pixels came from no file
  char directory[kGraphDirectorySize];  // the current directory when they were stored
  int sourceX;  // position of the graph's top-left pixel in the picture it came from
  int sourceY;
  int width;
  int height;
  int movie;          // movie handle feeding this graph, -1 none
  int reloadPending;  // set just before the restore hook runs
  void* extra;        // a tracked block owned by the record, or NULL
};

using GraphTableType = HandleTable<GraphRecord, kGraphTableSize, 1>;
extern GraphTableType GraphTable;

// Makes and registers a record shaped by the draw state's defaults; its handle. A full
// table or a failed allocation ends the program.
int AllocGraphRecord(int width, int height, int wantTexture, GraphRecord** out, int wantAlpha,
                     std::uint8_t callerFlag);
// A record and its surfaces: the handle, or -1 (logged, nothing left behind).
int CreateBlankGraph(int width, int height, int wantTexture, int wantAlpha, std::uint8_t callerFlag);
int CreateBlankGraphDefault(int width, int height);

GraphRecord* GetGraphRecord(int handle);
int WatchGraphLoss(int handle, int* flag);
// -4 (front) and -2 (back) give the screen-mode size. -1 for a dead graph.
int QueryGraphSize(int handle, int* width, int* height);
// 0 when the current blend graph is live and at least as large as graph.
int CheckBlendGraphSize(const GraphRecord* graph);
int FillGraph(int handle, int r, int g, int b, int a);
// Records the current directory and the file name ("" for NULL). -1 for a dead graph.
int SetGraphSourceFile(int handle, const char* fileName);
// Copies (x1, y1)-(x2, y2) of the draw target into a graph of exactly that size. 0 / -1.
int CopyDrawTargetToGraph(int x1, int y1, int x2, int y2, int graph, int flag);
int CopyDrawTargetToGraph2D(int x1, int y1, int x2, int y2, GraphRecord* graph);
// 1 when fonts may keep their glyph caches in textures.
int IsTextureCacheUsable();

// Deletes one graph (its pixels, movie and record); -1 for a dead handle.
int FreeGraphBody(int handle, int logFlag);
int FreeAllGraphs(int logFlag);

// Stores a bounded copy of text into a field of `size` bytes; a text that does not
// fit is stored as "" and false is returned.
bool CopyGraphText(char* field, int size, const char* text);
