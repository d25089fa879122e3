#include "graphics/surface_3d_data.h"

#include "core/log.h"
#include "core/tracked_alloc.h"
#include "graphics/draw_state.h"
#include "graphics/surface_data.h"

Surface3DDataTableType Surface3DDataTable;

namespace {

// The four corners of a piece: position in graph coordinates and texture coordinates.
void FillVertices(Surface3DData* piece, int textureWidth, int textureHeight) {
  const float left = piece->x;
  const float top = piece->y;
  const float right = static_cast<float>(piece->x + piece->width);
  const float bottom = static_cast<float>(piece->y + piece->height);
  const float u0 = static_cast<float>(piece->textureX) / static_cast<float>(textureWidth);
  const float v0 = static_cast<float>(piece->textureY) / static_cast<float>(textureHeight);
  const float u1 = static_cast<float>(piece->textureX + piece->width) / static_cast<float>(textureWidth);
  const float v1 = static_cast<float>(piece->textureY + piece->height) / static_cast<float>(textureHeight);
  const float corners[4][4] = {{left, top, u0, v0}, {right, top, u1, v0}, {left, bottom, u0, v1}, {right, bottom, u1, v1}};
  for (int i = 0; i < 4; ++i) {
    piece->vertices[i] = TextureVertex{corners[i][0], corners[i][1], 0.0f, 1.0f, 0xFFFFFFFFu, corners[i][2], corners[i][3]};
  }
}

void MarkAntiDiagonal(Surface3DData* piece, const GraphRecord* owner) {
  const float width = owner != nullptr && owner->width > 0 ? static_cast<float>(owner->width) : 1.0f;
  const float height = owner != nullptr ? static_cast<float>(owner->height) : 0.0f;
  for (int i = 0; i < 4; ++i) {
    const TextureVertex& v = piece->vertices[i];
    piece->aboveAntiDiagonal[i] = v.y <= height - v.x * (height / width) ? 1 : 0;
  }
}

template <typename Action>
int ForEachPiece(GraphRecord* graph, Action action) {
  int combined = 0;
  for (int i = 0; i < graph->pieceCount; ++i) {
    Surface3DData* piece = GetSurface3DData(graph->pieces[i]);
    if (piece == nullptr) return -1;
    combined |= action(piece);
  }
  return combined;
}

template <typename Action>
void ForEachRecord(Action action) {
  for (int slot = 0; slot < Surface3DDataTable.highWater; ++slot) {
    if (Surface3DDataTable.slots[slot] != nullptr) action(Surface3DDataTable.slots[slot]);
  }
}

}  // namespace

Surface3DData* GetSurface3DData(int handle) { return Surface3DDataTable.Find(handle); }

IDirectDrawSurface7* GetSurface3DTexture(const Surface3DData* piece) {
  const SurfaceData* data = piece != nullptr ? GetSurfaceDataRecord(piece->surfaceData) : nullptr;
  return data != nullptr ? data->surface : nullptr;
}

int AddSurface3DData(int textureWidth, int textureHeight, int x, int y, int width, int height, int sourceX,
                     int sourceY, int ownerGraph, const Surface3DData* parent, int parentX, int parentY,
                     const GraphFlags& flags) {
  if (GetDirect3DObject() == nullptr) return LogWrite("３Ｄグラフィックエンジンが初期化されていません\n");
  if (Surface3DDataTable.IsFull()) return LogWrite("３Ｄグラフィックの数が許容量を越えました。\n");
  auto* piece = static_cast<Surface3DData*>(TRACKED_CALLOC(sizeof(Surface3DData)));
  if (piece == nullptr) return LogWrite("メモリの確保に失敗しました in AddSurface3DData \n");
  if (parent != nullptr) {
    const SurfaceData* shared = GetSurfaceDataRecord(parent->surfaceData);
    if (shared == nullptr || AddSurfaceDataRef(parent->surfaceData) < 0) {
      TrackedFree(piece);
      return -1;
    }
    piece->surfaceData = parent->surfaceData;
    textureWidth = shared->width;
    textureHeight = shared->height;
    piece->textureX = static_cast<std::uint16_t>(parent->textureX + parentX);
    piece->textureY = static_cast<std::uint16_t>(parent->textureY + parentY);
  } else {
    piece->surfaceData = AddSurfaceData(1, textureWidth, textureHeight, DrawState.transparentColor, flags);
    if (piece->surfaceData < 0) {
      TrackedFree(piece);
      return -1;
    }
    piece->textureX = static_cast<std::uint16_t>(parentX);
    piece->textureY = static_cast<std::uint16_t>(parentY);
  }
  piece->x = static_cast<std::uint16_t>(x);
  piece->y = static_cast<std::uint16_t>(y);
  piece->sourceX = static_cast<std::uint16_t>(sourceX);
  piece->sourceY = static_cast<std::uint16_t>(sourceY);
  piece->width = static_cast<std::uint16_t>(width);
  piece->height = static_cast<std::uint16_t>(height);
  piece->ownerGraph = ownerGraph;
  FillVertices(piece, textureWidth, textureHeight);
  MarkAntiDiagonal(piece, GetGraphRecord(ownerGraph));
  return Surface3DDataTable.Register(Surface3DDataTable.ChooseSlot(), piece);
}

int DeleteSurface3DData(int handle) {
  Surface3DData* piece = GetSurface3DData(handle);
  if (piece == nullptr) return -1;
  if (SubSurfaceDataRef(piece->surfaceData) == 0) DeleteSurfaceData(piece->surfaceData);
  if (piece->watcher != nullptr) *piece->watcher = 1;
  Surface3DDataTable.Unregister(Surface3DDataTableType::SlotOf(handle));
  TrackedFree(piece);
  return 0;
}

int DeleteAllSurface3DData() {
  if (GetDirect3DObject() == nullptr) return -1;
  for (int slot = Surface3DDataTable.highWater - 1; slot >= 0; --slot) {
    if (Surface3DDataTable.slots[slot] != nullptr) DeleteSurface3DData(Surface3DDataTable.HandleOf(slot));
  }
  return 0;
}

int DeleteGraphTexturesAll(GraphRecord* graph) {
  for (int i = 0; i < graph->pieceCount; ++i) DeleteSurface3DData(graph->pieces[i]);
  graph->pieceCount = 0;
  return 0;
}

int ReleaseAllSurface3DStores() {
  ForEachRecord([](Surface3DData* piece) { ReleaseSurfaceZBuffer(piece->surfaceData); });
  return 0;
}

int RecreateAllSurface3DTextures() {
  ForEachRecord([](Surface3DData* piece) {
    CreateSurfaceDataSurface(piece->surfaceData);
    SetSurfaceColorKey(piece->surfaceData);
  });
  return 0;
}

int RestoreGraphTexturesIfLost(GraphRecord* graph) {
  return ForEachPiece(graph, [](Surface3DData* piece) { return RestoreSurfaceIfLost(piece->surfaceData); });
}

int RestoreAllSurface3DData() {
  if (GetDirect3DObject() == nullptr) return -1;
  int lost = 0;
  ForEachRecord([&lost](Surface3DData* piece) { lost |= RestoreSurfaceIfLost(piece->surfaceData); });
  return lost;
}

int UnlockSurface3DData(int handle, const RECT* rect) {
  const Surface3DData* piece = GetSurface3DData(handle);
  return piece != nullptr ? UnlockSurfaceData(piece->surfaceData, rect) : -1;
}

int FillGraphTextures(GraphRecord* graph, int r, int g, int b, int a) {
  if (GetDirect3DObject() == nullptr) return -1;
  if (IsTargetOffD3D()) return 0;
  EndDeviceScene();
  const int result = ForEachPiece(graph, [&](Surface3DData* piece) {
    FillSurfaceData(piece->surfaceData, r, g, b, a);
    return 0;
  });
  return result < 0 ? -1 : 0;
}
