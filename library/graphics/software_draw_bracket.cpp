// Software drawing on DirectDraw surfaces: the kernels draw only into MEMIMGs, so
// before a draw the touched rectangle of the draw target (and of a surface-backed
// source) is wrapped in MEMIMGs, by locking the surface in place or through a work
// surface converted to the in-memory format; after the draw SyncScreenMemImg
// converts back, unlocks and copies back.
#include <cstring>

#include "graphics/draw_area_bracket.h"
#include "graphics/draw_state.h"
#include "graphics/memimg.h"
#include "graphics/pixel_convert_blt.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_data.h"
#include "softrender/clip_rect.h"

MEMIMG* SoftDrawTargetImg = nullptr;
MEMIMG* SoftDrawSourceImg = nullptr;
RECT SoftDrawPreparedRect{0, 0, 0, 0};

namespace {

struct SoftwareDrawStateRecord {
  int blitInstead;
  IDirectDrawSurface7* blitSource;
  RECT blitSourceRect;
  IDirectDrawSurface7* blitTarget;
  RECT blitTargetRect;
  int conversion;
  MEMIMG destWork;
  int destUnlockPending;
  IDirectDrawSurface7* destLocked;
  RECT destLockRect;
  void* destLockedPixels;
  int destLockedPitch;
  int writeBackPending;
  IDirectDrawSurface7* writeBackTarget;
  RECT writeBackRect;
  MEMIMG sourceWork;
  int sourceUnlockPending;
  IDirectDrawSurface7* sourceLocked;
  RECT sourceLockRect;
};
SoftwareDrawStateRecord g_soft;

RECT Offset(const RECT& r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// A MEMIMG over borrowed memory whose pixel (0, 0) lies at `origin` bytes from
// `base`. The address is formed in integers: pixel (0, 0) may lie outside the block,
// only the prepared rectangle is ever touched.
void BuildWorkImage(MEMIMG* image, void* base, std::ptrdiff_t origin, int width, int height, int pitch, int kind,
                    std::uint32_t transparent) {
  std::memset(image, 0, sizeof(*image));
  image->pixels = reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(base) + static_cast<std::uintptr_t>(origin));
  InitMemImg(image, width, height, pitch, transparent, kind, 0, 0, 0);
}

std::ptrdiff_t OriginOffset(int left, int top, int pitch, int bytesPerPixel) {
  return -(static_cast<std::ptrdiff_t>(top) * pitch + static_cast<std::ptrdiff_t>(left) * bytesPerPixel);
}

bool LockSurface(IDirectDrawSurface7* surface, RECT* rect, DDSURFACEDESC2* description) {
  std::memset(description, 0, sizeof(*description));
  description->dwSize = sizeof(*description);
  return surface->Lock(rect, description, DDLOCK_WAIT, nullptr) == DD_OK;
}

// In-place conversion of a locked area between the screen and in-memory formats.
void ConvertInPlace(void* pixels, int pitch, int width, int height, const PixelFormat* to, const PixelFormat* from) {
  if (to->bytesPerPixel != from->bytesPerPixel) return;
  const RECT area{0, 0, width, height};
  ConvertPixelFormatBlt(pixels, pitch, to, pixels, pitch, from, nullptr, 0, nullptr, 0, 0, &area, 0, 0, 0,
                        DITHER_NONE, 0, 0, 0);
}

void UndoPrepared() {
  if (g_soft.destUnlockPending) g_soft.destLocked->Unlock(&g_soft.destLockRect);
  if (g_soft.sourceUnlockPending) g_soft.sourceLocked->Unlock(&g_soft.sourceLockRect);
  g_soft.destUnlockPending = 0;
  g_soft.sourceUnlockPending = 0;
  g_soft.writeBackPending = 0;
  SoftDrawTargetImg = nullptr;
  SoftDrawSourceImg = nullptr;
}

int PrepareDestination(const RECT& clipped, bool blending, int rawColourDraw, std::uint32_t* colour1,
                       std::uint32_t* colour2) {
  ScreenSurfacesRecord& screens = ScreenSurfaces;
  if (screens.targetMemImg != nullptr && screens.targetMemImg->pixels != nullptr) {
    SoftDrawTargetImg = screens.targetMemImg;
    return 0;
  }
  IDirectDrawSurface7* target = screens.targetSurface;
  if (target == nullptr) return -1;
  const int kind = MemImgKindForDepth(GetRequestedColorBitDepth());
  const int bytesPerPixel = kind == MEMIMG_KIND_16BIT ? 2 : 4;
  const bool writeBack = (DrawState.targetInVideoMemory && blending) ||
                         (g_soft.conversion && (blending || rawColourDraw == 0));
  const RECT onSurface = Offset(clipped, screens.targetOffsetX + DrawState.drawingOrigin.left,
                                screens.targetOffsetY + DrawState.drawingOrigin.top);
  const int width = clipped.right - clipped.left;
  const int height = clipped.bottom - clipped.top;
  DDSURFACEDESC2 description;
  if (writeBack) {
    CopySurfaceRect(screens.work, target, 0, 0, &onSurface, -1);
    g_soft.destLockRect = RECT{0, 0, width, height};
    if (!LockSurface(screens.work, &g_soft.destLockRect, &description)) return -1;
    g_soft.destLocked = screens.work;
    g_soft.writeBackPending = 1;
    g_soft.writeBackTarget = target;
    g_soft.writeBackRect = onSurface;
    if (g_soft.conversion) {
      const PixelFormat* memFormat = QueryMemImgScreenPixelFormat();
      ConvertInPlace(description.lpSurface, description.lPitch, width, height, memFormat, QueryScreenPixelFormat());
      if (colour1 != nullptr) *colour1 = ConvertPixelBetweenFormats(memFormat, QueryScreenPixelFormat(), *colour1);
      if (colour2 != nullptr) *colour2 = ConvertPixelBetweenFormats(memFormat, QueryScreenPixelFormat(), *colour2);
    }
  } else {
    g_soft.destLockRect = onSurface;
    if (!LockSurface(target, &g_soft.destLockRect, &description)) return -1;
    g_soft.destLocked = target;
  }
  g_soft.destUnlockPending = 1;
  g_soft.destLockedPixels = description.lpSurface;
  g_soft.destLockedPitch = description.lPitch;
  BuildWorkImage(&g_soft.destWork, description.lpSurface,
                 OriginOffset(clipped.left, clipped.top, description.lPitch, bytesPerPixel), DrawState.targetWidth,
                 DrawState.targetHeight, description.lPitch, kind, 0);
  SoftDrawTargetImg = &g_soft.destWork;
  return 0;
}

int PrepareSource(const Surface2D* piece, SurfaceData* data, const RECT& sourceRect) {
  if (data->memoryImage) {
    if (piece->offsetX == 0 && piece->offsetY == 0 && piece->width == data->width && piece->height == data->height) {
      SoftDrawSourceImg = &data->image;
    } else {
      std::memset(&g_soft.sourceWork, 0, sizeof(g_soft.sourceWork));
      InitMemImgView(&g_soft.sourceWork, &data->image, piece->offsetX, piece->offsetY, piece->width, piece->height);
      SoftDrawSourceImg = &g_soft.sourceWork;
    }
    return 0;
  }
  if (data->surface == nullptr) return -1;
  const RECT inData = Offset(sourceRect, piece->offsetX, piece->offsetY);
  const bool copyFirst = data->flags.alphaMode2D == 0 || g_soft.conversion;
  DDSURFACEDESC2 description;
  IDirectDrawSurface7* locked = data->surface;
  g_soft.sourceLockRect = inData;
  if (copyFirst) {
    CopySurfaceRect(ScreenSurfaces.work2, data->surface, 0, 0, &inData, -1);
    locked = ScreenSurfaces.work2;
    g_soft.sourceLockRect = RECT{0, 0, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top};
  }
  if (!LockSurface(locked, &g_soft.sourceLockRect, &description)) return -1;
  if (copyFirst && g_soft.conversion) {
    ConvertInPlace(description.lpSurface, description.lPitch, sourceRect.right - sourceRect.left,
                   sourceRect.bottom - sourceRect.top, QueryMemImgScreenPixelFormat(), QueryScreenPixelFormat());
  }
  g_soft.sourceLocked = locked;
  g_soft.sourceUnlockPending = 1;
  const int kind = MemImgKindForDepth(ScreenMode.bits);
  const std::uint32_t key = MakeScreenColorBody((data->transparentColor >> 16) & 0xFF,
                                                (data->transparentColor >> 8) & 0xFF, data->transparentColor & 0xFF);
  BuildWorkImage(&g_soft.sourceWork, description.lpSurface,
                 OriginOffset(sourceRect.left, sourceRect.top, description.lPitch, kind == MEMIMG_KIND_16BIT ? 2 : 4),
                 piece->width, piece->height, description.lPitch, kind, key);
  SoftDrawSourceImg = &g_soft.sourceWork;
  return 0;
}

}  // namespace

int CopyMemImgRect(const Surface2D* source, int transparent, const RECT* sourceRect, const RECT* destRect,
                   int rawColourDraw, std::uint32_t* colour1, std::uint32_t* colour2) {
  SoftDrawTargetImg = nullptr;
  SoftDrawSourceImg = nullptr;
  if (IsMemImgScreenMode()) return 0;
  SurfaceData* data = source != nullptr ? GetSurfaceDataRecord(source->surfaceData) : nullptr;
  if (source != nullptr && data == nullptr) return -1;
  const bool blending = (DrawState.blendMode != 0 && !(DrawState.blendMode == 1 && DrawState.blendParam == 255)) ||
                        (data != nullptr && data->flags.alphaChannel) || DrawState.blendGraph != -1;
  IDirectDrawSurface7* target = ScreenSurfaces.targetSurface;

  g_soft.blitInstead = 0;
  if (transparent == 1 && data != nullptr && !blending && DrawState.tint == 0xFFFFFF && !data->memoryImage &&
      data->surface != nullptr && target != nullptr &&
      data->flags.alphaMode2D == (DrawState.targetInVideoMemory ? 0 : 1)) {
    g_soft.blitInstead = 1;
    g_soft.blitSource = data->surface;
    g_soft.blitSourceRect = Offset(*sourceRect, source->offsetX, source->offsetY);
    g_soft.blitTarget = target;
    g_soft.blitTargetRect = Offset(*destRect, ScreenSurfaces.targetOffsetX + DrawState.drawingOrigin.left,
                                   ScreenSurfaces.targetOffsetY + DrawState.drawingOrigin.top);
    return 0;
  }

  g_soft.conversion = ScreenColorKind == SCREEN_RGB555 || ScreenColorKind == SCREEN_OTHER;
  RECT clipped = *destRect;
  ClipRectangleBody(&clipped, &DrawState.clip);
  if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) return -1;
  SoftDrawPreparedRect = clipped;
  g_soft.writeBackPending = 0;
  g_soft.destUnlockPending = 0;
  g_soft.sourceUnlockPending = 0;
  if (PrepareDestination(clipped, blending, rawColourDraw, colour1, colour2) != 0) {
    UndoPrepared();
    return -1;
  }
  if (source != nullptr && PrepareSource(source, data, *sourceRect) != 0) {
    UndoPrepared();
    return -1;
  }
  return 0;
}

int SyncScreenMemImg() {
  if (IsMemImgScreenMode()) return 0;
  if (g_soft.writeBackPending && g_soft.conversion && g_soft.destUnlockPending) {
    const RECT& r = g_soft.writeBackRect;
    ConvertInPlace(g_soft.destLockedPixels, g_soft.destLockedPitch, r.right - r.left, r.bottom - r.top,
                   QueryScreenPixelFormat(), QueryMemImgScreenPixelFormat());
  }
  if (g_soft.destUnlockPending) g_soft.destLocked->Unlock(&g_soft.destLockRect);
  if (g_soft.sourceUnlockPending) g_soft.sourceLocked->Unlock(&g_soft.sourceLockRect);
  if (g_soft.writeBackPending) {
    const RECT& r = g_soft.writeBackRect;
    const RECT work{0, 0, r.right - r.left, r.bottom - r.top};
    CopySurfaceRect(g_soft.writeBackTarget, ScreenSurfaces.work, r.left, r.top, &work, -1);
  }
  g_soft.destUnlockPending = 0;
  g_soft.sourceUnlockPending = 0;
  g_soft.writeBackPending = 0;
  return 0;
}

int IsBlitInsteadPrepared() { return g_soft.blitInstead; }

int RunPreparedBlit(int transparent) {
  if (!g_soft.blitInstead) return -1;
  g_soft.blitInstead = 0;
  return g_soft.blitTarget->BltFast(static_cast<DWORD>(g_soft.blitTargetRect.left),
                                    static_cast<DWORD>(g_soft.blitTargetRect.top), g_soft.blitSource,
                                    &g_soft.blitSourceRect,
                                    transparent ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY) == DD_OK
             ? 0
             : -1;
}
