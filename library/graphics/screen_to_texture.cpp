// The choice among the ways of copying the draw target into a texture graph, what they
// share, and the two that go through DirectDraw alone: a straight BltFast into each
// texture, and a copy through the screen's work surface with the conversion blit.
#include "graphics/screen_to_texture.h"

#include <iterator>

#include "core/log.h"
#include "core/main_window.h"
#include "gdi/gdi.h"
#include "graphics/d3d_device.h"
#include "graphics/draw_state.h"
#include "graphics/pixel_convert_blt.h"
#include "graphics/screen_mode.h"
#include "graphics/screen_to_texture_methods.h"
#include "graphics/surface_2d.h"

namespace {

// In the order they are tried.
constexpr ScreenToTextureMethod kScreenCopyMethods[] = {ScreenToTextureMethod5, ScreenToTextureMethod1,
                                                        ScreenToTextureMethod3, ScreenToTextureMethod2,
                                                        ScreenToTextureMethod4};
constexpr int kScreenCopyMethodCount = static_cast<int>(std::size(kScreenCopyMethods));

// Method 5's conversion of one piece: the piece's rectangle of the texture locked and
// filled from the locked work surface.
int ConvertFromWorkSurface(const PieceCopy& part, const DDSURFACEDESC2& work) {
  RECT inTexture{part.textureX, part.textureY, part.textureX + part.width, part.textureY + part.height};
  DDSURFACEDESC2 locked{};
  locked.dwSize = sizeof(locked);
  const HRESULT hr = part.texture->Lock(&inTexture, &locked, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
  if (hr != DD_OK) {
    return LogPrintf("Error  ScreenToTextureMethod5 　転送先テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d",
                     static_cast<int>(hr));
  }
  ConvertPixelFormatBlt(locked.lpSurface, locked.lPitch, &PieceTextureFormat(part)->format, work.lpSurface,
                        work.lPitch, QueryScreenPixelFormat(), nullptr, 0, nullptr, 0, 0, &part.inSource, 0, 0, 0,
                        DrawState.ditherMode, 0, 0, 0);
  part.texture->Unlock(&inTexture);
  return 0;
}

}  // namespace

int CheckScreenCopy(int x1, int y1, int x2, int y2, const GraphRecord* graph, int flag, ScreenCopy* copy) {
  copy->target = GetDrawTargetSurface();
  copy->desktop = flag == 0 && IsWindowed() && DrawState.target == kDrawTargetFront;
  const int targetWidth = copy->desktop ? GetSystemMetrics(SM_CXSCREEN) : DrawState.targetWidth;
  const int targetHeight = copy->desktop ? GetSystemMetrics(SM_CYSCREEN) : DrawState.targetHeight;
  if (copy->target == nullptr || x1 < 0 || y1 < 0 || x1 >= x2 || y1 >= y2 || x2 > targetWidth || y2 > targetHeight ||
      x2 - x1 > graph->width || y2 - y1 > graph->height) {
    return -1;
  }
  const int offsetX = copy->desktop ? 0 : DrawState.drawingOrigin.left;
  const int offsetY = copy->desktop ? 0 : DrawState.drawingOrigin.top;
  copy->source = RECT{x1 + offsetX, y1 + offsetY, x2 + offsetX, y2 + offsetY};
  copy->width = x2 - x1;
  copy->height = y2 - y1;
  return 0;
}

const TextureFormat* PieceTextureFormat(const PieceCopy& part) {
  return GetTextureFormatRecord(SelectTextureFormatKindFor(part.data->flags));
}

int ScreenToTextureMethod1(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag) {
  ScreenCopy copy{};
  if (CheckScreenCopy(x1, y1, x2, y2, graph, flag, &copy) != 0) return -1;
  return ForEachPieceCopy(graph, copy, [&](PieceCopy& part) {
    const HRESULT hr = part.texture->BltFast(static_cast<DWORD>(part.textureX), static_cast<DWORD>(part.textureY),
                                             copy.target, &part.source, 0);
    if (hr != DD_OK) return LogPrintf("Error ScreenToTextureMethod1  BltFast ReturnValue:%d", static_cast<int>(hr));
    return 0;
  });
}

int ScreenToTextureMethod5(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag) {
  ScreenCopy copy{};
  if (CheckScreenCopy(x1, y1, x2, y2, graph, flag, &copy) != 0 || copy.desktop) return -1;
  IDirectDrawSurface7* work = GetWorkSurface();
  if (work == nullptr || CopySurfaceRect(work, copy.target, 0, 0, &copy.source, -1) != 0) return -1;
  RECT copied{0, 0, copy.width, copy.height};
  DDSURFACEDESC2 locked{};
  locked.dwSize = sizeof(locked);
  // Read back, so locked for reading.
  const HRESULT hr = work->Lock(&copied, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr);
  if (hr != DD_OK) {
    return LogPrintf("Error  ScreenToTextureMethod5 　作業用テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d",
                     static_cast<int>(hr));
  }
  const int result = ForEachPieceCopy(graph, copy, [&](PieceCopy& part) { return ConvertFromWorkSurface(part, locked); });
  work->Unlock(&copied);
  return result;
}

int CopyDrawTargetToGraphD3D(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag) {
  if (GetDirect3DObject() == nullptr || graph == nullptr) return -1;
  if (IsTargetOffD3D()) return 0;
  FlushVertexBatch();
  EndDeviceScene();
  const Surface3DData* first = graph->pieceCount > 0 ? GetSurface3DData(graph->pieces[0]) : nullptr;
  const SurfaceData* data = first != nullptr ? GetSurfaceDataRecord(first->surfaceData) : nullptr;
  if (data == nullptr) return -1;
  const int alphaKind = data->flags.alphaChannel || data->flags.alphaTest ? 1 : 0;
  const int remembered = GetRememberedScreenCopyMethod(alphaKind);
  if (remembered >= 0 && remembered < kScreenCopyMethodCount &&
      kScreenCopyMethods[remembered](x1, y1, x2, y2, graph, flag) >= 0) {
    return 0;
  }
  for (int method = 0; method < kScreenCopyMethodCount; ++method) {
    if (kScreenCopyMethods[method](x1, y1, x2, y2, graph, flag) == 0) {
      SetRememberedScreenCopyMethod(alphaKind, method);
      return 0;
    }
  }
  SetRememberedScreenCopyMethod(alphaKind, -1);
  return -1;
}
