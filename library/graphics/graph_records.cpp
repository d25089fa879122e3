#include "graphics/graph_records.h"

#include <cstring>

#include "core/file_layer.h"
#include "core/log.h"
#include "core/tracked_alloc.h"
#include "graphics/draw_state.h"
#include "graphics/graph_system.h"
#include "graphics/graphics_fatal.h"
#include "graphics/movies.h"
#include "graphics/device_services.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"

GraphTableType GraphTable;

bool CopyGraphText(char* field, int size, const char* text) {
  const std::size_t length = std::strlen(text);
  if (length >= static_cast<std::size_t>(size)) {
    field[0] = '\0';
    return false;
  }
  std::memcpy(field, text, length + 1);
  return true;
}

int AllocGraphRecord(int width, int height, int wantTexture, GraphRecord** out, int wantAlpha,
                     std::uint8_t callerFlag) {
  if (GraphTable.IsFull()) return GraphicsFatalError("グラフィックの数が許容量を越えました終了します");
  const int slot = GraphTable.ChooseSlot();
  auto* graph = static_cast<GraphRecord*>(TRACKED_CALLOC(sizeof(GraphRecord)));
  if (graph == nullptr) return GraphicsFatalError("メモリの確保に失敗しました");
  const int handle = GraphTable.Register(slot, graph);
  graph->handle = handle;
  graph->width = width;
  graph->height = height;
  graph->movie = -1;
  graph->renderTargetRequest = DrawState.renderTargetRequest;

  GraphFlags& flags = graph->flags;
  flags.texture = (wantTexture && DrawState.use3DGraphs && Is3DPathUsable() && !IsSoftwareRenderMode()) ? 1 : 0;
  if (DrawState.drawValid != 1) {
    flags.alphaChannel = wantAlpha ? 1 : 0;
    flags.drawValid = 0;
    flags.alphaTest = static_cast<std::uint8_t>(DrawState.newGraphAlphaTest);
    flags.renderTargetCopy = static_cast<std::uint8_t>(graph->renderTargetRequest & 0xFF);
  } else {
    flags.drawValid = 1;
  }
  if (DrawState.newGraphColourDepth != 0) {
    flags.colourDepth = static_cast<std::uint8_t>(DrawState.newGraphColourDepth);
  } else if (flags.texture && wantAlpha == 1) {
    flags.colourDepth = 32;
  } else {
    flags.colourDepth = static_cast<std::uint8_t>(GetRequestedColorBitDepth());
  }
  if (!flags.texture) {
    flags.alphaMode2D = static_cast<std::uint8_t>(DrawState.alphaSetting2D);
    flags.callerFlag = callerFlag;
  }
  if (out != nullptr) *out = graph;
  return handle;
}

GraphRecord* GetGraphRecord(int handle) { return GraphTable.Find(handle); }

namespace {

// Unregisters and frees a record whose pixels are already released.
void DiscardGraphRecord(GraphRecord* graph) {
  if (graph->watcher != nullptr) *graph->watcher = 1;
  TrackedFree(graph->extra);
  GraphTable.Unregister(GraphTableType::SlotOf(graph->handle));
  TrackedFree(graph);
}

}  // namespace

int CreateBlankGraph(int width, int height, int wantTexture, int wantAlpha, std::uint8_t callerFlag) {
  GraphRecord* graph = nullptr;
  const int handle = AllocGraphRecord(width, height, wantTexture, &graph, wantAlpha, callerFlag);
  if (handle < 0) return -1;
  const int made = graph->flags.texture ? SetupTextureGraph(graph) : CreateSurface2DForGraph(graph);
  if (made < 0) {
    // The caller never learns the handle: nothing may stay behind.
    if (graph->flags.texture) {
      DeleteGraphTexturesAll(graph);
    } else {
      DeleteGraphSurfaces2D(graph);
    }
    DiscardGraphRecord(graph);
    return LogWrite("グラフィックの作成に失敗しました\n");
  }
  return handle;
}

int CreateBlankGraphDefault(int width, int height) {
  return CreateBlankGraph(width, height, 1, DrawState.newGraphAlphaRequest, 0);
}

int WatchGraphLoss(int handle, int* flag) {
  GraphRecord* graph = GetGraphRecord(handle);
  if (graph == nullptr) return -1;
  graph->watcher = flag;
  if (flag != nullptr) *flag = 0;
  return 0;
}

int QueryGraphSize(int handle, int* width, int* height) {
  if (handle == kDrawTargetFront || handle == kDrawTargetBack) return GetScreenModeSizeBody(width, height);
  const GraphRecord* graph = GetGraphRecord(handle);
  if (graph == nullptr) return -1;
  if (width != nullptr) *width = graph->width;
  if (height != nullptr) *height = graph->height;
  return 0;
}

int CheckBlendGraphSize(const GraphRecord* graph) {
  const GraphRecord* blend = GetGraphRecord(DrawState.blendGraph);
  if (blend == nullptr || blend->width < graph->width || blend->height < graph->height) return -1;
  return 0;
}

int FillGraph(int handle, int r, int g, int b, int a) {
  GraphRecord* graph = GetGraphRecord(handle);
  if (graph == nullptr) return -1;
  return graph->flags.texture ? FillGraphTextures(graph, r, g, b, a) : FillGraph2D(graph, r, g, b, a);
}

int SetGraphSourceFile(int handle, const char* fileName) {
  GraphRecord* graph = GetGraphRecord(handle);
  if (graph == nullptr) return -1;
  char directory[kGraphDirectorySize];
  if (FileGetCurrentDir(directory, sizeof(directory)) != 0) directory[0] = '\0';
  const char* name = fileName != nullptr ? fileName : "";
  if (!CopyGraphText(graph->fileName, kGraphFileNameSize, name) ||
      !CopyGraphText(graph->directory, kGraphDirectorySize, directory)) {
    graph->fileName[0] = '\0';
    LogPrintf("グラフィックのファイル名が長すぎるため復帰できません：%.200s", name);
  }
  return 0;
}

int IsTextureCacheUsable() {
  return DrawState.use3DGraphs == 1 && Is3DPathUsable() == 1 && !IsSoftwareRenderMode() && HasDirect3DDevice();
}

int FreeGraphBody(int handle, int logFlag) {
  GraphRecord* graph = GetGraphRecord(handle);
  if (graph == nullptr) return -1;
  // Drawing must never reach a freed graph's pixels.
  if (DrawState.target == handle) SetDrawTargetBody(kDrawTargetBack);
  if (DrawState.blendGraph == handle) {
    SetBlendGraph(-1, DrawState.blendGraphBorderParam, DrawState.blendGraphBorderWidth);
  }
  CloseGraphMovie(handle);
  if (graph->flags.texture) {
    DeleteGraphTexturesAll(graph);
  } else {
    DeleteGraphSurfaces2D(graph);
  }
  if (logFlag) LogPrintf("グラフィック %s の削除", graph->fileName);
  DiscardGraphRecord(graph);
  return 0;
}

int FreeAllGraphs(int logFlag) {
  if (!IsGraphSystemUp()) return 0;
  for (int slot = 0; slot < GraphTable.highWater; ++slot) {
    if (GraphTable.slots[slot] != nullptr) FreeGraphBody(GraphTable.HandleOf(slot), logFlag);
  }
  return 0;
}
