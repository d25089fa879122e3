// The device services still being built (they answer "no device").
#include "graphics/pending_device_services.h"

#include "graphics/graph_records.h"

// ---- Still being built: "no device" ----
int InitDirect3D() { return -1; }
int CreateD3DDevice(IDirectDrawSurface7*) { return -1; }
int CreateD3DDeviceObject(int) { return -1; }
int ReleaseD3DDevice(int) { return -1; }
int ReleaseAllD3DDevices() { return 0; }
int ReleaseDirect3DObject() { return 0; }
int RecreateDirect3D() { return 0; }
int EndDirect3D() { return 0; }
int HasDirect3DDevice() { return 0; }
IDirect3D7* GetDirect3DObject() { return nullptr; }
IDirect3DDevice7* GetD3DDevice() { return nullptr; }
int GetCurrentD3DDeviceId() { return -1; }
D3DDeviceRecord* GetD3DDeviceRecord(int) { return nullptr; }
D3DDeviceRecord* GetCurrentD3DDeviceRecord() { return nullptr; }
int GetSmallestTextureSide() { return 32; }
int GetLargestTextureSide() { return 256; }
int IsSquareTextureOnly() { return 0; }
int IsFrontTargetD3D() { return 0; }
int IsTargetOffD3D() { return 0; }
int GetRememberedScreenCopyMethod(int) { return -1; }
void SetRememberedScreenCopyMethod(int, int) {}
int BeginDeviceSceneOf(int) { return -1; }
int BeginDeviceScene() { return -1; }
int DrawVertexBatch(int) { return -1; }
int FlushVertexBatch() { return -1; }
int EndDeviceSceneOf(int) { return -1; }
int EndDeviceScene() { return -1; }
void* ReserveBatchVertices(D3DPRIMITIVETYPE, int) { return nullptr; }
int SetD3DDrawArea(const RECT*) { return -1; }
int SetDrawTargetD3DGraph(int) { return -1; }
int ClearTextureTargetD3D() { return 0; }

void ClearTextureFormats() {}
int CompleteTextureFormats() { return -1; }
TextureFormatKind SelectTextureFormatKind(std::uint8_t, std::uint8_t, std::uint8_t, int) { return kTexturePlain16; }
TextureFormatKind SelectTextureFormatKindFor(const GraphFlags&) { return kTexturePlain16; }
const TextureFormat* GetTextureFormatRecord(int) { return nullptr; }
const PixelFormat* GetTextureFormatPixelFormat(int) { return nullptr; }
const PixelFormat* GetTextureFormatPixelFormatFor(const GraphFlags&) { return nullptr; }
const PixelFormat* GetTextureFormatPixelFormatByFlags(std::uint8_t, std::uint8_t, int, std::uint8_t) { return nullptr; }
const DDPIXELFORMAT* GetZBufferFormat() { return nullptr; }
HRESULT EnumD3DDeviceCallback(LPSTR, LPSTR, D3DDEVICEDESC7*, LPVOID) { return D3DENUMRET_CANCEL; }
HRESULT EnumTextureFormatCallback(DDPIXELFORMAT*, LPVOID) { return D3DENUMRET_CANCEL; }
HRESULT EnumZBufferFormatCallback(DDPIXELFORMAT*, LPVOID) { return D3DENUMRET_CANCEL; }
const D3DDEVICEDESC7* GetChosenDeviceDescription() { return nullptr; }

Surface3DDataTableType Surface3DDataTable;
int AddSurface3DData(int, int, int, int, int, int, int, int, int, const Surface3DData*, int, int, const GraphFlags&) {
  return -1;
}
Surface3DData* GetSurface3DData(int) { return nullptr; }
int DeleteSurface3DData(int) { return -1; }
int DeleteAllSurface3DData() { return -1; }
IDirectDrawSurface7* GetSurface3DTexture(const Surface3DData*) { return nullptr; }
int ChooseTextureSizes(int, int, int*, int) { return -1; }
int SetupTextureGraph(GraphRecord*) { return -1; }
int DeleteGraphTexturesAll(GraphRecord* graph) {
  graph->pieceCount = 0;
  return 0;
}
int CreateDerivedGraphTextures(GraphRecord*, int, int, int, int, const GraphRecord*) { return -1; }
int FillGraphTextures(GraphRecord*, int, int, int, int) { return -1; }
int RestoreGraphTexturesIfLost(GraphRecord*) { return -1; }
int RestoreGraphTextures(GraphRecord*) { return 0; }
int RestoreAllSurface3DData() { return -1; }
int RecreateAllSurface3DTextures() { return -1; }
int UnlockSurface3DData(int, const RECT*) { return -1; }
int TransferImageToTexture(const RECT*, int, int, int, const GraphImage*, const GraphImage*) { return -1; }
int TransferImageRectToGraphTextures(const RECT*, int, int, GraphRecord*, const GraphImage*, const GraphImage*) {
  return -1;
}
int TransferGraphImageToTextures(const GraphImage*, const GraphImage*, int, int, GraphRecord*) { return -1; }
int TransferMovieFrameToTextures(MovieRecord*, GraphRecord*) { return -1; }

int SetTexturePerspectiveD3D(D3DDeviceRecord*, DWORD) { return -1; }
int SetColorKeyEnableD3D(D3DDeviceRecord*, DWORD) { return -1; }
int SetZEnableD3D(D3DDeviceRecord*, DWORD) { return -1; }
int SetZWriteEnableD3D(D3DDeviceRecord*, DWORD) { return -1; }
int SetZFuncD3D(D3DDeviceRecord*, DWORD) { return -1; }
int SetShadeModeD3D(D3DDeviceRecord*, DWORD) { return -1; }
int SetD3DTextureFilter(D3DDeviceRecord*, int) { return -1; }
int SetD3DRenderTarget(D3DDeviceRecord*, IDirectDrawSurface7*) { return -1; }
int SetDeviceViewport(int, const D3DVIEWPORT7&) { return -1; }
int SetDeviceTexture(D3DDeviceRecord*, IDirectDrawSurface7*) { return -1; }
int SetDeviceAlphaTexture(D3DDeviceRecord*, IDirectDrawSurface7*, int, int) { return -1; }
int SetDeviceTintUse(D3DDeviceRecord*, int) { return -1; }
int SetDeviceBlendUse(D3DDeviceRecord*, int) { return -1; }
int SetDeviceBlendMode(D3DDeviceRecord*, int, int, int) { return -1; }
int ApplyBlendStatesD3D(D3DDeviceRecord*) { return -1; }
int ApplyDeviceDefaults(D3DDeviceRecord*) { return -1; }
int ReapplyAllDeviceStates(int) { return -1; }
int CopyDeviceStates(int, int) { return -1; }
int PrepareDrawD3D(const Surface3DData*, int) { return -1; }
int SetD3DFilterMode(int) { return 0; }
int SetBlendGraphD3D(const GraphRecord*, int, int) { return 0; }
const BlendGraphTextureSize* GetBlendGraphTextureSize() { return nullptr; }
int RefreshDrawDiffuse() { return 0; }
std::uint32_t GetDrawDiffuse() { return 0xFFFFFFFFu; }
