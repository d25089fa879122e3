// The ways of copying the draw target into a texture graph that go through GDI: a
// BitBlt straight into each texture, or into a work texture in system memory that is
// then converted (method 3) or loaded by the device (method 4) into the texture.
#include "core/log.h"
#include "core/main_window.h"
#include "gdi/gdi.h"
#include "graphics/d3d_device.h"
#include "graphics/draw_state.h"
#include "graphics/pixel_convert_blt.h"
#include "graphics/screen_mode.h"
#include "graphics/screen_to_texture_methods.h"
#include "kernel/last_error.h"
#include "kernel/threads.h"

namespace {

constexpr int kLoadTries = 10;

// The draw target's device context for the whole copy; `copyPieces` runs while it is
// held and gets it.
template <typename CopyPieces>
int WithTargetDC(const ScreenCopy& copy, const char* failureText, CopyPieces copyPieces) {
  HDC targetDc = nullptr;
  const HRESULT hr = copy.target->GetDC(&targetDc);
  if (hr != DD_OK) return LogPrintf(failureText, static_cast<int>(hr));
  const int result = copyPieces(targetDc);
  copy.target->ReleaseDC(targetDc);
  return result;
}

// The texts a method logs when a step fails.
struct GdiCopyTexts {
  const char* textureDc;
  const char* bitBlt;
  const char* releaseDc;
};

// BitBlts the piece's part of the target to (textureX, textureY) of a surface.
int BlitPiece(IDirectDrawSurface7* surface, const PieceCopy& part, HDC targetDc, const GdiCopyTexts& texts) {
  HDC dc = nullptr;
  HRESULT hr = surface->GetDC(&dc);
  if (hr != DD_OK) return LogPrintf(texts.textureDc, static_cast<int>(hr));
  const BOOL copied = BitBlt(dc, part.textureX, part.textureY, part.width, part.height, targetDc, part.source.left,
                             part.source.top, SRCCOPY);
  const DWORD error = copied ? 0 : GetLastError();
  hr = surface->ReleaseDC(dc);
  if (!copied) return LogPrintf(texts.bitBlt, static_cast<unsigned>(error));
  if (hr != DD_OK) return LogPrintf(texts.releaseDc, static_cast<int>(hr));
  return 0;
}

// A texture in system memory of the piece's texture size and format; NULL (logged) when
// it cannot be made.
IDirectDrawSurface7* CreateWorkTexture(const PieceCopy& part, const char* failureText) {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
  description.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
  description.dwWidth = part.data->width;
  description.dwHeight = part.data->height;
  description.ddpfPixelFormat = PieceTextureFormat(part)->ddFormat;
  IDirectDrawSurface7* work = nullptr;
  const HRESULT hr = GetDirectDrawObject()->CreateSurface(&description, &work, nullptr);
  if (hr != DD_OK) {
    LogPrintf(failureText, static_cast<int>(hr));
    return nullptr;
  }
  return work;
}

// Method 3's conversion: the work texture's copy of the piece into the texture, alpha
// made from the transparent colour (GDI leaves alpha bits 0).
int ConvertWorkTexture(const PieceCopy& part, IDirectDrawSurface7* work) {
  RECT inTexture{part.textureX, part.textureY, part.textureX + part.width, part.textureY + part.height};
  DDSURFACEDESC2 from{};
  from.dwSize = sizeof(from);
  HRESULT hr = work->Lock(&inTexture, &from, DDLOCK_WAIT, nullptr);
  if (hr != DD_OK) {
    return LogPrintf("Error  ScreenToTextureMethod3 　作業用テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d",
                     static_cast<int>(hr));
  }
  DDSURFACEDESC2 to{};
  to.dwSize = sizeof(to);
  hr = part.texture->Lock(&inTexture, &to, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
  if (hr != DD_OK) {
    work->Unlock(&inTexture);
    return LogPrintf("Error  ScreenToTextureMethod3 　転送先テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d",
                     static_cast<int>(hr));
  }
  const PixelFormat& format = PieceTextureFormat(part)->format;
  PixelFormat withoutAlpha{};
  BuildPixelFormatBody(&withoutAlpha, format.bitsPerPixel, format.maskR, format.maskG, format.maskB, 0);
  const RECT whole{0, 0, part.width, part.height};
  ConvertPixelFormatBlt(to.lpSurface, to.lPitch, &format, from.lpSurface, from.lPitch, &withoutAlpha, nullptr, 0,
                        nullptr, 0, 0, &whole, 0, format.maskA != 0 ? 1 : 0, part.data->transparentColor,
                        DrawState.ditherMode, 0, 0, 0);
  part.texture->Unlock(&inTexture);
  work->Unlock(&inTexture);
  return 0;
}

// Method 4's move of the work texture into the texture; a busy texture is restored
// and tried again a few times.
int LoadWorkTexture(const PieceCopy& part, IDirectDrawSurface7* work, const ScreenCopy& copy) {
  POINT at{0, 0};
  RECT whole{0, 0, part.data->width, part.data->height};
  HRESULT hr = DD_OK;
  for (int attempt = 0; attempt < kLoadTries; ++attempt) {
    hr = GetD3DDevice()->Load(part.texture, &at, work, &whole, 0);
    if (hr != DDERR_SURFACEBUSY) break;
    part.texture->Restore();
    Sleep(1);
  }
  if (hr == DD_OK) return 0;
  LogPrintf("hr:%d  W:%d  H:%d  FullMode:%d  Point x:%d y:%d   Rect top:%d bottom:%d left:%d right:%d",
            static_cast<int>(hr), part.data->width, part.data->height, IsWindowed() ? 0 : 1, static_cast<int>(at.x),
            static_cast<int>(at.y), static_cast<int>(whole.top), static_cast<int>(whole.bottom),
            static_cast<int>(whole.left), static_cast<int>(whole.right));
  LogPrintf("AlphaCh:%d  AlphaTest:%d  ColorBitDepth:%d", part.data->flags.alphaChannel, part.data->flags.alphaTest,
            part.data->flags.colourDepth);
  return LogPrintf(
      "ScreenColor:%d  SizeX:%d  SizeY:%d  DrawPointX:%d  DrawPointY:%d  WndRect.left:%d  WndRect.top:%d  left:%d  "
      "top:%d",
      ScreenMode.bits, ScreenMode.width, ScreenMode.height, static_cast<int>(part.source.left),
      static_cast<int>(part.source.top), static_cast<int>(DrawState.drawingOrigin.left),
      static_cast<int>(DrawState.drawingOrigin.top), static_cast<int>(copy.source.left),
      static_cast<int>(copy.source.top));
}

// Methods 3 and 4: each piece through a work texture, finished by `finish`.
template <typename Finish>
int CopyThroughWorkTexture(GraphRecord* graph, const ScreenCopy& copy, HDC targetDc, const char* createText,
                           const GdiCopyTexts& texts, Finish finish) {
  return ForEachPieceCopy(graph, copy, [&](PieceCopy& part) {
    IDirectDrawSurface7* work = CreateWorkTexture(part, createText);
    if (work == nullptr) return -1;
    int result = BlitPiece(work, part, targetDc, texts);
    if (result == 0) result = finish(part, work);
    work->Release();
    return result;
  });
}

}  // namespace

int ScreenToTextureMethod2(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag) {
  ScreenCopy copy{};
  if (CheckScreenCopy(x1, y1, x2, y2, graph, flag, &copy) != 0) return -1;
  static constexpr GdiCopyTexts kTexts{
      "Error  ScreenToTextureMethod2 　作業用テクスチャサーフェスのＤＣ取得に失敗しました  GetDC ReturnValue:%d",
      "Error  ScreenToTextureMethod2 　作業用テクスチャサーフェスへのイメージ転送に失敗しました  BitBlt  ErrorCode:%x",
      "Error  ScreenToTextureMethod2 　作業用テクスチャサーフェスのＤＣ解放に失敗しました  ReleaseDC ReturnValue:%d"};
  return WithTargetDC(copy, "Error  ScreenToTextureMethod2  ＤＣ取得に失敗しました  GetDC ReturnValue:%d", [&](HDC targetDc) {
    return ForEachPieceCopy(graph, copy,
                            [&](PieceCopy& part) { return BlitPiece(part.texture, part, targetDc, kTexts); });
  });
}

int ScreenToTextureMethod3(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag) {
  ScreenCopy copy{};
  if (CheckScreenCopy(x1, y1, x2, y2, graph, flag, &copy) != 0) return -1;
  static constexpr GdiCopyTexts kTexts{
      "Error  ScreenToTextureMethod3 　作業用テクスチャサーフェスのＤＣ取得に失敗しました  GetDC  ReturnValue:%d",
      "Error  ScreenToTextureMethod3 　作業用テクスチャサーフェスへのイメージ転送に失敗しました  BitBlt  ErrorCode:%x",
      "Error  ScreenToTextureMethod3 　作業用テクスチャサーフェスのＤＣ解放に失敗しました  ReleaseDC  ReturnValue:%d"};
  return WithTargetDC(copy, "Error  ScreenToTextureMethod3 　ＤＣ取得に失敗しました  GetDC  ReturnValue:%d", [&](HDC targetDc) {
    return CopyThroughWorkTexture(
        graph, copy, targetDc,
        "Error  ScreenToTextureMethod3 　作業用テクスチャサーフェスの作成に失敗しました  CreateSurface  ReturnValue:%d", kTexts,
        [](const PieceCopy& part, IDirectDrawSurface7* work) { return ConvertWorkTexture(part, work); });
  });
}

int ScreenToTextureMethod4(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag) {
  ScreenCopy copy{};
  if (CheckScreenCopy(x1, y1, x2, y2, graph, flag, &copy) != 0) return -1;
  static constexpr GdiCopyTexts kTexts{
      "Error  ScreenToTextureMethod4 　作業用テクスチャサーフェスのＤＣ取得に失敗しました  GetDC  ReturnValue:%d",
      "Error  ScreenToTextureMethod4 　作業用テクスチャサーフェスへのイメージ転送に失敗しました  BitBlt  ErrorCode:%x",
      "Error  ScreenToTextureMethod4 　作業用テクスチャサーフェスのＤＣ解放に失敗しました  ReleaseDC  ReturnValue:%d"};
  return WithTargetDC(copy, "Error  ScreenToTextureMethod4 　ＤＣ取得に失敗しました  GetDC  ReturnValue:%d", [&](HDC targetDc) {
    return CopyThroughWorkTexture(
        graph, copy, targetDc,
        "Error  ScreenToTextureMethod4 　作業用テクスチャサーフェスの作成に失敗しました  CreateSurface  ReturnValue:%d", kTexts,
        [&](const PieceCopy& part, IDirectDrawSurface7* work) { return LoadWorkTexture(part, work, copy); });
  });
}
