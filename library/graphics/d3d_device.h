// The Direct3D side of the hardware drawing path: the Direct3D object, the device
// records (one is used: the current device), the open scene, the render target and
// viewport, and the vertex batch. Drawing code never sends a primitive itself: it
// brings the device into the state it needs (render_states.h), appends vertices to
// the batch, and the batch reaches the device with one DrawPrimitive when a state, the
// vertex kind or the primitive type changes, when it is full, or when the scene ends.
#pragma once

#include <cstdint>

#include "d3d/d3d.h"

constexpr int kD3DDeviceRecordCount = 4;
constexpr int kD3DStageCount = 4;

// The three vertex kinds (pre-transformed, flexible vertex formats).
constexpr int kVertexKindColour = 0;        // untextured: boxes and lines
constexpr int kVertexKindTexture = 1;       // one texture
constexpr int kVertexKindBlendTexture = 2;  // blend graph texture and the graph's texture

struct ColourVertex {
  float x, y, z, rhw;
  std::uint32_t diffuse;
};
struct TextureVertex {
  float x, y, z, rhw;
  std::uint32_t diffuse;
  float u, v;
};
struct BlendTextureVertex {
  float x, y, z, rhw;
  std::uint32_t diffuse;
  std::uint32_t specular;
  float u1, v1;
  float u2, v2;
};
static_assert(sizeof(ColourVertex) == 20 && sizeof(TextureVertex) == 28 && sizeof(BlendTextureVertex) == 40);

constexpr DWORD kVertexFormats[3] = {D3DFVF_XYZRHW | D3DFVF_DIFFUSE, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                                     D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2};
constexpr int kVertexSizes[3] = {20, 28, 40};
constexpr int kVertexCapacities[3] = {3225, 2340, 1638};

// The six operations of one texture stage in the order COLOROP, COLORARG1, COLORARG2,
// ALPHAOP, ALPHAARG1, ALPHAARG2; -1 leaves a value as it is.
constexpr int kStageOperationCount = 6;
struct StageOperations {
  std::int16_t value[kStageOperationCount];
};

// What was last sent to one texture stage.
struct StageCache {
  IDirectDrawSurface7* texture;
  StageOperations operations;
};

struct D3DDeviceRecord {
  int used;
  IDirect3DDevice7* device;
  IDirectDrawSurface7* defaultSurface;  // the screen's front surface
  IDirectDrawSurface7* renderTarget;

  // Wanted drawing settings.
  IDirectDrawSurface7* texture;       // NULL: untextured
  IDirectDrawSurface7* alphaTexture;  // the blend graph's texture, NULL none
  int tintUsed;
  int blendUsed;
  int blendMode;  // 0..8
  int blendGraphBorderParam;
  int blendGraphBorderWidth;
  int alphaChannel;
  int alphaTest;

  int blendSettingsChanged;
  int textureChanged;
  int skipDrawing;  // the batch is thrown away instead of drawn
  int force;        // every setter sends its state even when the cache holds it

  // Cached render states.
  DWORD alphaTestEnable;
  DWORD alphaRef;
  DWORD alphaFunc;
  DWORD alphaBlendEnable;
  DWORD textureFactor;
  DWORD srcBlend;
  DWORD destBlend;

  int stagesInUse;
  StageCache stages[kD3DStageCount];

  int sceneOpen;
  int filterMode;  // 0 point, 1 linear
  DWORD zEnable;
  DWORD zWriteEnable;
  DWORD zFunc;
  DWORD shadeMode;  // 1 flat, 2 Gouraud
  DWORD textureAddress;
  DWORD texturePerspective;
  DWORD lighting;
  DWORD colorKeyEnable;

  // Vertex batch.
  std::uint8_t* writePointer;
  int vertexCount;
  int vertexKind;
  D3DPRIMITIVETYPE primitiveType;

  D3DVIEWPORT7 viewport;

  ColourVertex colourVertices[kVertexCapacities[kVertexKindColour]];
  TextureVertex textureVertices[kVertexCapacities[kVertexKindTexture]];
  BlendTextureVertex blendVertices[kVertexCapacities[kVertexKindBlendTexture]];
  std::uint8_t* bufferStarts[3];
};

// ---- Start and end ----
int InitDirect3D();
int CreateD3DDevice(IDirectDrawSurface7* renderSurface);  // device id / -1
int CreateD3DDeviceObject(int deviceId);
int ReleaseD3DDevice(int deviceId);
int ReleaseAllD3DDevices();
int ReleaseDirect3DObject();
int RecreateDirect3D();
int EndDirect3D();

// 1 while a Direct3D object and a current device exist.
int HasDirect3DDevice();
IDirect3D7* GetDirect3DObject();
IDirect3DDevice7* GetD3DDevice();
int GetCurrentD3DDeviceId();
// The record of a device id, or NULL when it is not in use; the current device's.
D3DDeviceRecord* GetD3DDeviceRecord(int deviceId);
D3DDeviceRecord* GetCurrentD3DDeviceRecord();

// The device's texture sides and whether it takes square textures only.
int GetSmallestTextureSide();
int GetLargestTextureSide();
int IsSquareTextureOnly();

// 1 while the draw target is the front screen: boxes, lines and outlines end the scene
// right after they are written.
int IsFrontTargetD3D();
// 1 while the draw target is a graph the device cannot render to.
int IsTargetOffD3D();

// Set by the draw-target change of the device's own files.
void SetFrontTargetD3D(int on);
void SetTargetOffD3D(int on);

// The screen-copy method that last worked for graphs without alpha (kind 0) and with
// alpha (kind 1); -1 none.
int GetRememberedScreenCopyMethod(int alphaKind);
void SetRememberedScreenCopyMethod(int alphaKind, int method);

// ---- Scene and batch ----
int BeginDeviceSceneOf(int deviceId);
int BeginDeviceScene();
int DrawVertexBatch(int deviceId);
int DrawRecordVertexBatch(D3DDeviceRecord* record);
int FlushVertexBatch();
int EndDeviceSceneOf(int deviceId);
int EndDeviceScene();
// Room for `count` more vertices of the batch's kind drawn as `primitive`: the pending
// batch is drawn first when its primitive type differs or the vertices would not fit.
// The returned place is where the caller writes them; the count already includes them.
// NULL without a device or when count exceeds the kind's capacity.
void* ReserveBatchVertices(D3DPRIMITIVETYPE primitive, int count);

// ---- Render target and viewport ----
int SetD3DDrawArea(const RECT* clip);
int SetDrawTargetD3DGraph(int target);
int ClearTextureTargetD3D();
