#include "graphics/graph_system.h"

#include <cstring>

#include "core/file_layer.h"
#include "core/input_devices.h"
#include "core/log.h"
#include "graphics/draw_state.h"
#include "graphics/fonts.h"
#include "graphics/graph_loading.h"
#include "graphics/graph_records.h"
#include "graphics/graphics_workers.h"
#include "graphics/movies.h"
#include "graphics/device_services.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_data.h"

namespace {

struct GraphSystemState {
  int up = 0;
  int usable3D = 0;
  GraphRestoreHook restoreHook = nullptr;
};
GraphSystemState g_system;

// Everything the start clears, except what must survive it: the restore hook and
// the dither mode chosen before start-up.
void ClearGraphState() {
  const int ditherMode = DrawState.ditherMode;
  GraphTable.Clear();
  SurfaceDataTable.Clear();
  Surface2DTable.Clear();
  std::memset(&DrawState, 0, sizeof(DrawState));
  DrawState.ditherMode = ditherMode;
}

void SetStartValues() {
  DrawState.blendGraph = -1;
  DrawState.depthTest = 0;
  DrawState.depthWrite = 0;
  DrawState.depthFunction = 4;
  DrawState.vertexDepth = 0.2f;
  DrawState.use3DGraphs = 1;
  DrawState.newGraphAlphaTest = 1;
  DrawState.filterMode = 0;
  DrawState.blendMode = 0;
  DrawState.maskScreenEnabled = 1;
  DrawState.tint = 0xFFFFFF;
  // What the DirectDraw start stores: DirectDraw is always in use.
  DrawState.alphaSetting2D = 1;
  RefreshDrawDiffuse();
}

// The graph whose reload the default restore handles, and the picture it holds.
struct HeldPicture {
  GraphImage image{};
  GraphImage alpha{};
  int loaded = -1;  // LoadGraphImageWithAlpha's result
  const GraphRecord* previous = nullptr;
};

bool SameSource(const GraphRecord* a, const GraphRecord* b) {
  return std::strcmp(a->fileName, b->fileName) == 0 && std::strcmp(a->directory, b->directory) == 0 &&
         a->userValue == b->userValue;
}

void ReloadGraph(GraphRecord* graph, int slot, HeldPicture* held) {
  if (held->previous == nullptr || slot == 0 || !SameSource(graph, held->previous)) {
    FreeGraphImage(&held->image);
    FreeGraphImage(&held->alpha);
    FileSetCurrentDir(graph->directory);
    LogPrintf("パス:%s ファイル:%s をロードします", graph->directory, graph->fileName);
    held->loaded = LoadGraphImageWithAlpha(graph->fileName, &held->image, &held->alpha, graph->userValue);
    if (held->loaded < 0) LogPrintf("パス:%s ファイル:%s がロードできませんでした", graph->directory, graph->fileName);
  }
  if (held->loaded >= 0) {
    // The name is copied first: the transfer records it in this very record.
    char name[kGraphFileNameSize];
    std::memcpy(name, graph->fileName, sizeof(name));
    TransferGraphImageToGraph(name, &held->image, held->loaded == 0 ? &held->alpha : nullptr, graph->sourceX,
                              graph->sourceY, graph->handle, graph->userValue);
  }
  graph->reloadPending = 0;
  held->previous = graph;
}

}  // namespace

int IsGraphSystemUp() { return g_system.up; }
int Is3DPathUsable() { return g_system.usable3D; }

int StartGraphSystem() {
  if (g_system.up) return 0;
  LogWrite("グラフィック管理系の初期化を行います\n");
  IncreaseLogIndent();
  ClearGraphState();
  SetStartValues();
  g_system.up = 1;
  DeleteAllSurface2D();
  g_system.usable3D = HasDirect3DDevice();
  LogWrite(g_system.usable3D ? "３Ｄグラフィック描画機能を使用します\n" : "３Ｄグラフィック描画機能は使用しません\n");
  DrawState.newGraphColourDepth = 0;
  DrawState.target = kDrawTargetBack;
  SetDrawTargetBody(kDrawTargetFront);
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  SetClipRectBody(0, 0, width, height);
  DefaultFontSettings();
  InitFontSystem();
  DecreaseLogIndent();
  LogWrite("グラフィック管理系の初期化は正常に終了しました\n");
  return 0;
}

int EndGraphSystem() {
  if (!g_system.up) return 0;
  FreeAllGraphs(0);
  InitFontSystem();
  FreeDefaultFont();
  g_system.up = 0;
  LogWrite("グラフィック管理系の終了処理は正常に終了しました\n");
  return 0;
}

int SetGraphRestoreHook(GraphRestoreHook hook) {
  g_system.restoreHook = hook != nullptr ? hook : DefaultRestoreGraphs;
  return 0;
}

int IsGraphRestoreHookSet() { return g_system.restoreHook != nullptr ? 1 : 0; }

int RunGraphRestore() {
  int seen = 0;
  for (int slot = 0; slot < kGraphTableSize && seen < GraphTable.liveCount; ++slot) {
    if (GraphTable.slots[slot] == nullptr) continue;
    GraphTable.slots[slot]->reloadPending = 1;
    ++seen;
  }
  if (g_system.restoreHook != nullptr) g_system.restoreHook();
  RecreateAllFonts();
  return 0;
}

void DefaultRestoreGraphs() {
  LogWrite("グラフィックを復帰します\n");
  char keptDirectory[kGraphDirectorySize];
  if (FileGetCurrentDir(keptDirectory, sizeof(keptDirectory)) != 0) keptDirectory[0] = '\0';
  HeldPicture held;
  const int highWater = GraphTable.highWater;
  for (int slot = 0; slot < highWater; ++slot) {
    GraphRecord* graph = GraphTable.slots[slot];
    if (graph == nullptr || !graph->reloadPending || graph->fileName[0] == '\0') continue;
    ReloadGraph(graph, slot, &held);
  }
  FreeGraphImage(&held.image);
  FreeGraphImage(&held.alpha);
  if (keptDirectory[0] != '\0') FileSetCurrentDir(keptDirectory);
}

int RestoreGraphSurfaces(int graph) {
  GraphRecord* record = GetGraphRecord(graph);
  if (record == nullptr) return -1;
  if (record->flags.texture) {
    RestoreGraphTexturesIfLost(record);
  } else {
    RestoreGraphSurfaces2D(record);
  }
  return 0;
}

int RestoreAllGraphs() {
  if (!g_system.up) return 0;
  RestoreLostScreenSurfaces();
  for (int slot = 0; slot < GraphTable.highWater; ++slot) {
    if (GraphTable.slots[slot] != nullptr) RestoreGraphSurfaces(GraphTable.HandleOf(slot));
  }
  return 0;
}

int RecreateGraphicsObjects() {
  // The movies' surfaces belong to the DirectDraw object about to go.
  ReleaseAllMovieObjects();
  ReleaseDirect3DObject();
  ReleaseScreenSurfaces();
  EndInputSystem();
  ReleaseAllSurface2DStores();
  ReleaseWindowClipper();
  if (!RenderModeFlags.flipToGdi) {
    ReleaseDirectDrawObject();
    CreateDirectDrawObject();
  }
  ReapplyScreenDisplayMode();
  RecreateAllSurface2DSurfaces();
  CreateWindowClipper();
  CreateScreenSurfaces();
  RestoreScreenPalette();
  SelectDrawTargetSurfaces(DrawState.target);
  RecreateDirect3D();
  ClearDrawTargetBody();
  PresentScreenBody();
  RunGraphRestore();
  ReopenAllMovies();
  return 0;
}
