#include "graphics/d3d_device.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "graphics/render_states.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_3d_data.h"
#include "graphics/texture_formats.h"

namespace {

struct Direct3DGlobals {
  IDirect3D7* object;
  int currentDevice;  // -1 none
  int smallestSide;
  int largestSide;
  int frontTarget;
  int started;
  int targetOff;
  int screenCopyMethods[2];
};

Direct3DGlobals g_d3d{nullptr, -1, 32, 256, 0, 0, 0, {-1, -1}};
D3DDeviceRecord g_devices[kD3DDeviceRecordCount];

void ReleaseObject() {
  if (g_d3d.object != nullptr) g_d3d.object->Release();
  g_d3d.object = nullptr;
}

// Nothing is known of what the stages were sent: the next apply sends every operation.
void ForgetStageStates(D3DDeviceRecord& record) {
  for (StageCache& stage : record.stages) {
    stage.texture = nullptr;
    for (std::int16_t& value : stage.operations.value) value = -1;
  }
}

// A fresh record: every vertex carries z 0 and rhw 1 (kind 2 also a white specular),
// the cache holds the values sent first, the viewport covers the screen.
void InitialiseRecord(D3DDeviceRecord& record, IDirect3DDevice7* device, IDirectDrawSurface7* surface) {
  std::memset(&record, 0, sizeof(record));
  record.used = 1;
  record.device = device;
  record.defaultSurface = surface;
  record.renderTarget = surface;
  for (ColourVertex& v : record.colourVertices) v.rhw = 1.0f;
  for (TextureVertex& v : record.textureVertices) v.rhw = 1.0f;
  for (BlendTextureVertex& v : record.blendVertices) {
    v.rhw = 1.0f;
    v.specular = 0xFFFFFFFFu;
  }
  record.bufferStarts[kVertexKindColour] = reinterpret_cast<std::uint8_t*>(record.colourVertices);
  record.bufferStarts[kVertexKindTexture] = reinterpret_cast<std::uint8_t*>(record.textureVertices);
  record.bufferStarts[kVertexKindBlendTexture] = reinterpret_cast<std::uint8_t*>(record.blendVertices);
  record.vertexKind = kVertexKindTexture;
  record.writePointer = record.bufferStarts[kVertexKindTexture];
  record.primitiveType = D3DPT_TRIANGLELIST;
  record.alphaFunc = D3DCMP_ALWAYS;
  record.srcBlend = D3DBLEND_ONE;
  record.destBlend = D3DBLEND_ZERO;
  record.textureFactor = 0xFFFFFFFFu;
  record.zFunc = D3DCMP_LESSEQUAL;
  record.shadeMode = D3DSHADE_FLAT;
  record.textureAddress = D3DTADDRESS_CLAMP;
  ForgetStageStates(record);
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  record.viewport = {0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0.0f, 1.0f};
}

int SetClampOnAllStages(IDirect3DDevice7* device) {
  for (int stage = kD3DStageCount - 1; stage >= 0; --stage) {
    if (device->SetTextureStageState(stage, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP) != D3D_OK) return -1;
  }
  return 0;
}

// Undoes a failed start; text NULL: the failure was logged already.
int FailInit(const char* text, bool releaseDevices) {
  if (text != nullptr) LogWrite(text);
  if (releaseDevices) ReleaseAllD3DDevices();
  ReleaseObject();
  g_d3d.currentDevice = -1;
  return -1;
}

// Writes formatted text as it is (no line end added, unlike LogPrintf).
void LogText(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogText(const char* format, ...) {
  char text[256];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof(text), format, arguments);
  va_end(arguments);
  LogWrite(text);
}

void LogTextureFormats() {
  const DWORD caps = GetChosenDeviceDescription()->dpcTriCaps.dwTextureCaps;
  IncreaseLogIndent();
  LogText("テクスチャ最大幅:%u 最小幅:%u ", static_cast<unsigned>(g_d3d.largestSide),
          static_cast<unsigned>(g_d3d.smallestSide));
  LogText("描画制限: D3DPTEXTURECAPS_POW2 = %d  D3DPTEXTURECAPS_SQUAREONLY = %d ",
          (caps & D3DPTEXTURECAPS_POW2) ? 1 : 0, (caps & D3DPTEXTURECAPS_SQUAREONLY) ? 1 : 0);
  LogWrite("テクスチャピクセルフォーマット\n");
  LogWrite("\t通常グラフィック用\n");
  for (int kind : {kTexturePlain16, kTexturePlain32}) {
    const DDPIXELFORMAT& f = GetTextureFormatRecord(kind)->ddFormat;
    const PixelFormat* p = GetTextureFormatPixelFormat(kind);
    LogText("\t\t BIT:%u  RED:%u  GREEN:%u  BLUE:%u ", static_cast<unsigned>(f.dwRGBBitCount), p->widthR, p->widthG,
            p->widthB);
    LogText("\t\t RED:%06x GREEN:%06x BLUE:%06x \n", static_cast<unsigned>(f.dwRBitMask),
            static_cast<unsigned>(f.dwGBitMask), static_cast<unsigned>(f.dwBBitMask));
  }
  LogWrite("\tアルファチャンネル付きグラフィック用\n");
  for (int kind : {kTextureAlpha16, kTextureAlpha32}) {
    const DDPIXELFORMAT& f = GetTextureFormatRecord(kind)->ddFormat;
    const PixelFormat* p = GetTextureFormatPixelFormat(kind);
    LogText("\t\t BIT:%u  ALPHA:%u  RED:%u  GREEN:%u  BLUE:%u ", static_cast<unsigned>(f.dwRGBBitCount), p->widthA,
            p->widthR, p->widthG, p->widthB);
    LogText("\t\t ALPHA:%08x RED:%08x GREEN:%08x BLUE:%08x \n", static_cast<unsigned>(f.dwRGBAlphaBitMask),
            static_cast<unsigned>(f.dwRBitMask), static_cast<unsigned>(f.dwGBitMask),
            static_cast<unsigned>(f.dwBBitMask));
  }
  DecreaseLogIndent();
}

void ComputeTextureSideLimits() {
  const D3DDEVICEDESC7* device = GetChosenDeviceDescription();
  const DWORD smallest = device->dwMinTextureWidth < device->dwMinTextureHeight ? device->dwMinTextureWidth
                                                                                  : device->dwMinTextureHeight;
  const DWORD largest = device->dwMaxTextureWidth < device->dwMaxTextureHeight ? device->dwMaxTextureWidth
                                                                                 : device->dwMaxTextureHeight;
  g_d3d.smallestSide = smallest == 0 ? 32 : static_cast<int>(smallest);
  g_d3d.largestSide = largest == 0 ? 256 : static_cast<int>(largest);
}

}  // namespace

// ---- Accessors ----

IDirect3D7* GetDirect3DObject() { return g_d3d.object; }
int GetCurrentD3DDeviceId() { return g_d3d.currentDevice; }

D3DDeviceRecord* GetD3DDeviceRecord(int deviceId) {
  const int index = deviceId & 0xFFFF;
  if (deviceId < 0 || index >= kD3DDeviceRecordCount || !g_devices[index].used) return nullptr;
  return &g_devices[index];
}

D3DDeviceRecord* GetCurrentD3DDeviceRecord() {
  return g_d3d.object != nullptr ? GetD3DDeviceRecord(g_d3d.currentDevice) : nullptr;
}

IDirect3DDevice7* GetD3DDevice() {
  const D3DDeviceRecord* record = GetCurrentD3DDeviceRecord();
  return record != nullptr ? record->device : nullptr;
}

int HasDirect3DDevice() { return GetD3DDevice() != nullptr ? 1 : 0; }
int GetSmallestTextureSide() { return g_d3d.smallestSide; }
int GetLargestTextureSide() { return g_d3d.largestSide; }
int IsSquareTextureOnly() {
  return (GetChosenDeviceDescription()->dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_SQUAREONLY) ? 1 : 0;
}
int IsFrontTargetD3D() { return g_d3d.frontTarget; }
int IsTargetOffD3D() { return g_d3d.targetOff; }
void SetFrontTargetD3D(int on) { g_d3d.frontTarget = on; }
void SetTargetOffD3D(int on) { g_d3d.targetOff = on; }

int GetRememberedScreenCopyMethod(int alphaKind) { return g_d3d.screenCopyMethods[alphaKind != 0 ? 1 : 0]; }
void SetRememberedScreenCopyMethod(int alphaKind, int method) { g_d3d.screenCopyMethods[alphaKind != 0 ? 1 : 0] = method; }

// ---- Devices ----

int CreateD3DDevice(IDirectDrawSurface7* renderSurface) {
  if (g_d3d.object == nullptr) return -1;
  int id = 0;
  while (id < kD3DDeviceRecordCount && g_devices[id].used) ++id;
  if (id == kD3DDeviceRecordCount) return -1;
  std::memset(&g_devices[id], 0, sizeof(D3DDeviceRecord));
  LogWrite("３Ｄデバイスを作成します... ");
  IDirect3DDevice7* device = nullptr;
  if (g_d3d.object->CreateDevice(GetChosenDeviceDescription()->deviceGUID, renderSurface, &device) != D3D_OK) {
    return LogWrite("３Ｄデバイスの作成に失敗しました\n");
  }
  InitialiseRecord(g_devices[id], device, renderSurface);
  ReapplyAllDeviceStates(id);
  return id;
}

int CreateD3DDeviceObject(int deviceId) {
  D3DDeviceRecord* record = GetD3DDeviceRecord(deviceId);
  if (g_d3d.object == nullptr || record == nullptr || record->device != nullptr) return -1;
  if (g_d3d.object->CreateDevice(GetChosenDeviceDescription()->deviceGUID, record->defaultSurface,
                                 &record->device) != D3D_OK) {
    record->device = nullptr;
    return LogWrite("３Ｄデバイスの作成に失敗しました\n");
  }
  record->device->SetRenderState(D3DRENDERSTATE_DITHERENABLE, 0);
  IDirectDrawSurface7* target = record->renderTarget;
  record->renderTarget = record->defaultSurface;
  record->force = 1;
  SetD3DRenderTarget(record, target);
  record->force = 0;
  record->texture = nullptr;
  record->textureChanged = 1;
  // The new device starts from its own stage defaults.
  ForgetStageStates(*record);
  record->sceneOpen = 0;
  record->vertexCount = 0;
  record->writePointer = record->bufferStarts[record->vertexKind];
  ReapplyAllDeviceStates(deviceId);
  RecreateAllSurface3DTextures();
  return 0;
}

int ReleaseD3DDevice(int deviceId) {
  D3DDeviceRecord* record = GetD3DDeviceRecord(deviceId);
  if (g_d3d.object == nullptr || record == nullptr) return -1;
  EndDeviceSceneOf(deviceId);
  ReleaseAllSurface3DStores();
  if (record->device != nullptr) record->device->Release();
  record->device = nullptr;
  LogWrite("Ｄｉｒｅｃｔ３Ｄデバイスを削除しました\n");
  return 0;
}

int ReleaseAllD3DDevices() {
  for (int id = 0; id < kD3DDeviceRecordCount; ++id) {
    D3DDeviceRecord& record = g_devices[id];
    if (!record.used) continue;
    if (record.device != nullptr) {
      if (record.sceneOpen) record.device->EndScene();
      record.device->Release();
    }
    std::memset(&record, 0, sizeof(record));
    LogWrite("３Ｄデバイスの削除は正常に終了しました\n");
  }
  return 0;
}

int ReleaseDirect3DObject() {
  if (!g_d3d.started) return 0;
  ReleaseD3DDevice(g_d3d.currentDevice);
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトを解放します\n");
  if (g_d3d.object == nullptr) {
    LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトは既に解放されています\n");
    return 0;
  }
  ReleaseObject();
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトを解放しました\n");
  return 0;
}

int RecreateDirect3D() {
  if (!g_d3d.started) return 0;
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得します\n");
  if (g_d3d.object != nullptr) {
    LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトは既に取得されています\n");
    return 0;
  }
  IDirectDraw7* directDraw = GetDirectDrawObject();
  if (directDraw == nullptr ||
      directDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&g_d3d.object)) != DD_OK) {
    g_d3d.object = nullptr;
    return LogWrite("Direct3Dオブジェクトの作成に失敗しました\n");
  }
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトは正常に取得されました\n");
  D3DDeviceRecord* record = GetD3DDeviceRecord(g_d3d.currentDevice);
  if (record == nullptr) return -1;
  record->defaultSurface = GetPrimarySurface();
  record->renderTarget = GetDrawTargetSurface() != nullptr ? GetDrawTargetSurface() : record->defaultSurface;
  return CreateD3DDeviceObject(g_d3d.currentDevice);
}

int InitDirect3D() {
  if (g_d3d.object != nullptr) return -1;
  LogWrite("Direct3D 関連の初期化を行います\n");
  g_d3d = Direct3DGlobals{nullptr, -1, 32, 256, 0, 0, 0, {-1, -1}};
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得します\n");
  IDirectDraw7* directDraw = GetDirectDrawObject();
  if (directDraw == nullptr ||
      directDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&g_d3d.object)) != DD_OK) {
    g_d3d.object = nullptr;
    return LogWrite("Direct3Dオブジェクトの作成に失敗しました\n");
  }
  LogWrite("Ｄｉｒｅｃｔ３Ｄオブジェクトを取得しました\n");

  int found = 0;
  if (g_d3d.object->EnumDevices(EnumD3DDeviceCallback, &found) != D3D_OK || !found) {
    return FailInit("現在の画面モードで使用できる描画デバイスが見つかりませんでした\n", false);
  }
  found = 0;
  if (g_d3d.object->EnumZBufferFormats(IID_IDirect3DHALDevice, EnumZBufferFormatCallback, &found) != D3D_OK ||
      !found) {
    return FailInit("使用可能なＺバッファが見つかりませんでした\n", true);
  }
  g_d3d.currentDevice = CreateD3DDevice(GetPrimarySurface());
  if (g_d3d.currentDevice < 0) return FailInit(nullptr, false);
  IDirect3DDevice7* device = g_devices[g_d3d.currentDevice].device;
  if (SetClampOnAllStages(device) != 0) return FailInit(nullptr, true);

  ClearTextureFormats();
  found = 0;
  device->EnumTextureFormats(EnumTextureFormatCallback, &found);
  if (!found || CompleteTextureFormats() != 0) {
    return FailInit("使用可能なテクスチャフォーマットが見つかりませんでした\n", true);
  }
  g_d3d.frontTarget = 1;
  ComputeTextureSideLimits();
  g_d3d.screenCopyMethods[0] = g_d3d.screenCopyMethods[1] = -1;
  g_d3d.targetOff = 0;
  LogTextureFormats();
  LogWrite("Direct3D 関連の初期化は正常に終了しました\n");
  g_d3d.started = 1;
  return 0;
}

int EndDirect3D() {
  if (g_d3d.object == nullptr && !g_d3d.started) return 0;
  LogWrite("Direct3D 関連の終了処理を行います\n");
  EndDeviceScene();
  g_d3d.frontTarget = 0;
  if (D3DDeviceRecord* record = GetCurrentD3DDeviceRecord(); record != nullptr && record->device != nullptr) {
    record->device->SetTexture(0, nullptr);
    record->texture = nullptr;
  }
  DeleteAllSurface3DData();
  ReleaseAllD3DDevices();
  ReleaseObject();
  g_d3d.currentDevice = -1;
  LogWrite("Direct3D 関連の終了処理は正常に終了しました\n");
  g_d3d.started = 0;
  return 0;
}
