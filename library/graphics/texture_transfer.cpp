// Pictures into texture pieces, through the conversion blit.
#include <algorithm>

#include "graphics/draw_state.h"
#include "graphics/graphics_fatal.h"
#include "graphics/movie_record.h"
#include "graphics/movies.h"
#include "graphics/pixel_convert_blt.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_3d_data.h"
#include "graphics/surface_data.h"
#include "graphics/texture_formats.h"

namespace {

// A texture in system memory of the same size and format, for when the texture
// itself cannot be locked; moved into it with the device's Load.
IDirectDrawSurface7* CreateTemporaryTexture(const SurfaceData& data) {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
  description.dwWidth = data.width;
  description.dwHeight = data.height;
  description.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
  description.ddpfPixelFormat = GetTextureFormatRecord(data.formatKind)->ddFormat;
  IDirectDrawSurface7* surface = nullptr;
  if (GetDirectDrawObject()->CreateSurface(&description, &surface, nullptr) != DD_OK) return nullptr;
  return surface;
}

// The picture's rectangle at (x, y) of a texture, both cut to what the picture and
// the texture hold.
bool ClipTransfer(RECT* source, int* x, int* y, const SurfaceData& data, const GraphImage* image,
                  const GraphImage* alphaImage) {
  RECT clipped = ClipToPictures(*source, image, alphaImage);
  *x += clipped.left - source->left;
  *y += clipped.top - source->top;
  if (*x < 0 || *y < 0) return false;
  clipped.right = std::min<LONG>(clipped.right, clipped.left + (data.width - *x));
  clipped.bottom = std::min<LONG>(clipped.bottom, clipped.top + (data.height - *y));
  *source = clipped;
  return clipped.right > clipped.left && clipped.bottom > clipped.top;
}

}  // namespace

int TransferImageToTexture(const RECT* sourceRect, int destX, int destY, int surface3D, const GraphImage* image,
                           const GraphImage* alphaImage) {
  const Surface3DData* piece = GetSurface3DData(surface3D);
  if (GetDirect3DObject() == nullptr || piece == nullptr) return -1;
  SurfaceData* data = GetSurfaceDataRecord(piece->surfaceData);
  if (data == nullptr || data->surface == nullptr) return -1;
  FlushVertexBatch();
  RECT source = *sourceRect;
  if (!ClipTransfer(&source, &destX, &destY, *data, image, alphaImage)) return 0;
  const int width = source.right - source.left;
  const int height = source.bottom - source.top;
  RECT destRect{destX, destY, destX + width, destY + height};

  IDirectDrawSurface7* target = data->surface;
  IDirectDrawSurface7* temporary = nullptr;
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  int lockX = 0;
  int lockY = 0;
  if (target->Lock(&destRect, &description, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK) {
    temporary = CreateTemporaryTexture(*data);
    if (temporary == nullptr || temporary->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK) {
      if (temporary != nullptr) temporary->Release();
      return GraphicsFatalError("テンポラリテクスチャサーフェスの作成に失敗しました");
    }
    lockX = destX;
    lockY = destY;
  }
  const PixelFormat* format = GetTextureFormatPixelFormat(data->formatKind);
  // A picture without alpha into a texture with alpha: its transparent colour becomes
  // alpha 0, so alpha testing hides it as the colour key would.
  const int keyToAlpha = format->widthA != 0 && alphaImage == nullptr && image->format.widthA == 0 ? 1 : 0;
  ConvertPixelFormatBlt(description.lpSurface, description.lPitch, format, image->pixels, image->pitch,
                        &image->format, alphaImage != nullptr ? alphaImage->pixels : nullptr,
                        alphaImage != nullptr ? alphaImage->pitch : 0,
                        alphaImage != nullptr ? &alphaImage->format : nullptr, lockX, lockY, &source, 0, keyToAlpha,
                        data->transparentColor, DrawState.ditherMode, 0, 0, 0);
  if (temporary == nullptr) {
    target->Unlock(&destRect);
  } else {
    temporary->Unlock(nullptr);
    POINT point{destX, destY};
    const HRESULT loaded = GetD3DDevice() != nullptr
                               ? GetD3DDevice()->Load(target, &point, temporary, &destRect, 0)
                               : DDERR_GENERIC;
    temporary->Release();
    if (loaded != D3D_OK) {
      return GraphicsFatalError("作業用テクスチャサーフェスから描画用テクスチャサーフェスへの画像転送に失敗しました");
    }
  }
  SetSurfaceColorKey(piece->surfaceData);
  return 0;
}

int TransferImageRectToGraphTextures(const RECT* sourceRect, int x, int y, GraphRecord* graph,
                                     const GraphImage* image, const GraphImage* alphaImage) {
  const RECT placed{x, y, x + (sourceRect->right - sourceRect->left), y + (sourceRect->bottom - sourceRect->top)};
  for (int i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* piece = GetSurface3DData(graph->pieces[i]);
    if (piece == nullptr) return -1;
    const RECT overlap{std::max<LONG>(placed.left, piece->x), std::max<LONG>(placed.top, piece->y),
                       std::min<LONG>(placed.right, piece->x + piece->width),
                       std::min<LONG>(placed.bottom, piece->y + piece->height)};
    if (overlap.right <= overlap.left || overlap.bottom <= overlap.top) continue;
    const RECT source{sourceRect->left + (overlap.left - x), sourceRect->top + (overlap.top - y),
                      sourceRect->left + (overlap.right - x), sourceRect->top + (overlap.bottom - y)};
    if (TransferImageToTexture(&source, piece->textureX + (overlap.left - piece->x),
                               piece->textureY + (overlap.top - piece->y), graph->pieces[i], image, alphaImage) != 0) {
      return -1;
    }
  }
  return 0;
}

int TransferGraphImageToTextures(const GraphImage* image, const GraphImage* alphaImage, int offsetX, int offsetY,
                                 GraphRecord* graph) {
  for (int i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* piece = GetSurface3DData(graph->pieces[i]);
    if (piece == nullptr) return -1;
    const RECT source{piece->x + offsetX, piece->y + offsetY, piece->x + offsetX + piece->width,
                      piece->y + offsetY + piece->height};
    if (TransferImageToTexture(&source, piece->textureX, piece->textureY, graph->pieces[i], image, alphaImage) != 0) {
      return -1;
    }
  }
  return 0;
}

int TransferMovieFrameToTextures(MovieRecord* movie, GraphRecord* graph) {
  GraphImage frame = MovieFrameImage(movie);
  TransferGraphImageToTextures(&frame, nullptr, 0, 0, graph);
  for (int i = 0; i < graph->pieceCount; ++i) {
    if (const Surface3DData* piece = GetSurface3DData(graph->pieces[i]); piece != nullptr) {
      SetSurfaceColorKey(piece->surfaceData);
    }
  }
  return 0;
}
