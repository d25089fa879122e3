// The open scene and the vertex batch of a device.
#include "graphics/d3d_device.h"
#include "workers/tile_frame.h"

int BeginDeviceSceneOf(int deviceId) {
  D3DDeviceRecord* record = GetDirect3DObject() != nullptr ? GetD3DDeviceRecord(deviceId) : nullptr;
  if (record == nullptr || record->device == nullptr) return -1;
  if (!record->sceneOpen && record->device->BeginScene() == D3D_OK) record->sceneOpen = 1;
  return 0;
}

int BeginDeviceScene() { return BeginDeviceSceneOf(GetCurrentD3DDeviceId()); }

int DrawVertexBatch(int deviceId) {
  return DrawRecordVertexBatch(GetDirect3DObject() != nullptr ? GetD3DDeviceRecord(deviceId) : nullptr);
}

int DrawRecordVertexBatch(D3DDeviceRecord* record) {
  if (record == nullptr || record->device == nullptr) return -1;
  if (record->vertexCount != 0 && !record->skipDrawing) {
    record->device->DrawPrimitive(record->primitiveType, kVertexFormats[record->vertexKind],
                                  record->bufferStarts[record->vertexKind], record->vertexCount, 0);
  }
  record->vertexCount = 0;
  record->writePointer = record->bufferStarts[record->vertexKind];
  return 0;
}

int FlushVertexBatch() { return DrawVertexBatch(GetCurrentD3DDeviceId()); }

int EndDeviceSceneOf(int deviceId) {
  FlushTileFrame();
  D3DDeviceRecord* record = GetDirect3DObject() != nullptr ? GetD3DDeviceRecord(deviceId) : nullptr;
  if (record == nullptr || record->device == nullptr) return -1;
  if (record->sceneOpen) {
    DrawRecordVertexBatch(record);
    record->device->EndScene();
    record->sceneOpen = 0;
  }
  return 0;
}

int EndDeviceScene() { return EndDeviceSceneOf(GetCurrentD3DDeviceId()); }

void* ReserveBatchVertices(D3DPRIMITIVETYPE primitive, int count) {
  D3DDeviceRecord* record = GetCurrentD3DDeviceRecord();
  if (record == nullptr || record->device == nullptr || count <= 0 ||
      count > kVertexCapacities[record->vertexKind]) {
    return nullptr;
  }
  if (record->vertexCount != 0 && (record->primitiveType != primitive ||
                                   record->vertexCount + count > kVertexCapacities[record->vertexKind])) {
    DrawRecordVertexBatch(record);
  }
  record->primitiveType = primitive;
  void* place = record->writePointer;
  record->writePointer += count * kVertexSizes[record->vertexKind];
  record->vertexCount += count;
  return place;
}
