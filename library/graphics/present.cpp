// Putting the finished frame on the display, paced to the vertical blank: a page flip
// in full screen, a blit of the back surface to the window's part of the primary in
// window mode, a copy of the in-memory back screen in software-render mode. Also the
// present count, single rectangles shown at once while software drawing targets the
// front screen, and the clearing of the draw target.
#include <algorithm>
#include <cstring>

#include "core/main_window.h"
#include "graphics/draw_state.h"
#include "graphics/graph_records.h"
#include "graphics/graphics_fatal.h"
#include "graphics/kept_image.h"
#include "graphics/device_services.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_data.h"
#include "kernel/clock.h"
#include "kernel/threads.h"
#include "softrender/clip_rect.h"
#include "winmm/time.h"
#include "workers/tile_frame.h"

int PrimaryTwinStale = 0;

namespace {

std::uint64_t g_presentCount = 0;

constexpr std::uint16_t kFarthestDepth = 0xFFFF;

// A locked surface area described as a picture in the screen's format.
GraphImage LockedAsImage(const DDSURFACEDESC2& description, int width, int height) {
  GraphImage image{};
  image.format = *QueryScreenPixelFormat();
  image.width = width;
  image.height = height;
  image.pitch = description.lPitch;
  image.pixels = description.lpSurface;
  return image;
}

RECT WindowDestination(int width, int height) {
  if (!IsWindowed()) return RECT{0, 0, width, height};
  int client[4];
  GetClientAreaSize(client);
  const double scale = GetWindowScale();
  return RECT{client[0], client[1], client[0] + static_cast<int>(width * scale),
              client[1] + static_cast<int>(height * scale)};
}

void BlitBackToPrimary(const RECT& destination, const RECT& source) {
  RECT dest = destination;
  RECT src = source;
  ScreenSurfaces.primary->Blt(&dest, ScreenSurfaces.back, &src, DDBLT_WAIT, nullptr);
}

int RebuildBackTwinOnLock(int width, int height) {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  if (ScreenSurfaces.back->Lock(nullptr, &description, DDLOCK_WAIT, nullptr) != DD_OK) {
    return GraphicsFatalError("バックサーフェスのロックに失敗しました");
  }
  MEMIMG& twin = ScreenSurfaces.backTwin;
  std::memset(&twin, 0, sizeof(twin));
  twin.pixels = description.lpSurface;
  // The back twin is the draw target's image while the back screen is selected.
  return InitMemImg(&twin, width, height, description.lPitch, 0, MemImgKindForDepth(GetRequestedColorBitDepth()), 0,
                    0, 0);
}

int PresentSoftware(int width, int height) {
  const RECT source{0, 0, width, height};
  const RECT destination = WindowDestination(width, height);
  if (ScreenSurfaces.backTwinOnLocked) {
    ScreenSurfaces.back->Unlock(nullptr);
    if (RenderModeFlags.syncToVBlank) WaitForVBlank();
    BlitBackToPrimary(destination, source);
    if (RebuildBackTwinOnLock(width, height) != 0) return -1;
  } else {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    if (ScreenSurfaces.back->Lock(nullptr, &description, DDLOCK_WAIT, nullptr) != DD_OK) {
      return GraphicsFatalError("バックサーフェスのロックに失敗しました");
    }
    GraphImage locked = LockedAsImage(description, width, height);
    TransferMemImg(&locked, &ScreenSurfaces.backTwin, 0, 0, width, height, 0, 0, 0, DrawState.ditherMode);
    ScreenSurfaces.back->Unlock(nullptr);
    if (RenderModeFlags.syncToVBlank) WaitForVBlank();
    BlitBackToPrimary(destination, source);
  }
  PrimaryTwinStale = 1;
  return 0;
}

void DepthFill(IDirectDrawSurface7* surface, RECT* rect) {
  DDBLTFX effects{};
  effects.dwSize = sizeof(effects);
  effects.dwFillDepth = kFarthestDepth;
  surface->Blt(rect, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &effects);
}

void ColourFill(IDirectDrawSurface7* surface, RECT* rect) {
  DDBLTFX effects{};
  effects.dwSize = sizeof(effects);
  effects.dwFillColor = 0;
  surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

// With tiled drawing the clear of the draw target is recorded like a draw: each band is
// cleared by the thread that then draws into it, while the band is in its cache.
void ClearDrawTargetImage(MEMIMG* image) {
  if (!TiledDrawing()) {
    FillMemImgRect(image, nullptr, 0);
    return;
  }
  UseDrawTarget(image->pixels, image->width, image->height);
  RecordDraw(RECT{0, 0, image->width, image->height}, [kept = KeptImage(image)](const DrawTile& tile) {
    MEMIMG space;
    FillMemImgPixels(kept.Rebuild(&space), tile.area, 0);
  });
}

// No draw writes a depth twin, so one filled with the farthest depth keeps it until its
// content stamp changes: the stamps of the last few fills spare refilling them.
class FarthestDepthFills {
 public:
  bool Holds(const MEMIMG& zTwin) const {
    return zTwin.contentStamp != 0 && std::find(stamps_, stamps_ + kKept, zTwin.contentStamp) != stamps_ + kKept;
  }
  void Fill(MEMIMG* zTwin) {
    FillMemImgRect(zTwin, nullptr, kFarthestDepth);
    stamps_[next_] = zTwin->contentStamp;
    next_ = (next_ + 1) % kKept;
  }

 private:
  static constexpr int kKept = 4;
  std::uint64_t stamps_[kKept] = {};
  int next_ = 0;
};

void ClearMemImg(MEMIMG* image, MEMIMG* zTwin) {
  if (image != nullptr && image->pixels != nullptr) {
    ClearDrawTargetImage(image);
    image->runDataValid = 0;
    MarkMemImgPixelsChanged(image);
    image->premultipliedValid = 0;
  }
  static FarthestDepthFills depthFills;
  if (zTwin != nullptr && zTwin->pixels != nullptr && !depthFills.Holds(*zTwin)) depthFills.Fill(zTwin);
}

int ClearGraphTarget() {
  const GraphRecord* graph = GetGraphRecord(DrawState.target);
  if (graph == nullptr) return -1;
  if (graph->flags.texture) return 0;
  const Surface2D* piece = graph->pieceCount > 0 ? GetSurface2DRecord(graph->pieces[0]) : nullptr;
  SurfaceData* data = piece != nullptr ? GetSurfaceDataRecord(piece->surfaceData) : nullptr;
  if (data == nullptr) return -1;
  if (data->memoryImage) {
    ClearMemImg(ScreenSurfaces.targetMemImg, data->zTwin.magic == MEMIMG_MAGIC ? &data->zTwin : nullptr);
    data->image.runDataValid = 0;
    MarkMemImgPixelsChanged(&data->image);
    return 0;
  }
  // Only the target's own piece: derived graphs share the surface with their siblings.
  RECT area{piece->offsetX, piece->offsetY, piece->offsetX + piece->width, piece->offsetY + piece->height};
  if (data->zSurface != nullptr) DepthFill(data->zSurface, &area);
  ColourFill(data->surface, &area);
  return 0;
}

}  // namespace

std::uint64_t GetPresentCount() { return g_presentCount; }
void ResetPresentCount() { g_presentCount = 0; }

int PresentScreenBody() {
  if (GetDirectDrawObject() == nullptr) return -1;
  WaitWhileInactive();
  if (!RenderModeFlags.softwareRender && !RenderModeFlags.flipToGdi && !IsWindowed()) {
    if (DrawState.target == kDrawTargetFront && RenderModeFlags.syncToVBlank) {
      ++g_presentCount;
      return WaitVBlankCount(1);
    }
    FlushVertexBatch();
    EndDeviceScene();
    ScreenSurfaces.primary->Flip(nullptr, RenderModeFlags.syncToVBlank ? DDFLIP_WAIT : DDFLIP_WAIT | DDFLIP_NOVSYNC);
    if (RenderModeFlags.syncToVBlank) Sleep(1);
    ++g_presentCount;
    return 0;
  }
  return PresentBackSurface();
}

int PresentBackSurface() {
  if (GetDirectDrawObject() == nullptr) return -1;
  if (DrawState.target == kDrawTargetFront) {
    ++g_presentCount;
    return WaitVBlankCount(1);
  }
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  if (IsMemImgScreenMode()) {
    if (PresentSoftware(width, height) != 0) return -1;
    ++g_presentCount;
    return 0;
  }
  FlushVertexBatch();
  EndDeviceScene();
  if (RenderModeFlags.syncToVBlank) WaitForVBlank();
  RECT source{0, 0, width, height};
  if (IsWindowed()) {
    BlitBackToPrimary(WindowDestination(width, height), source);
  } else if (!RenderModeFlags.flipToGdi) {
    ScreenSurfaces.primary->BltFast(0, 0, ScreenSurfaces.back, &source, DDBLTFAST_WAIT);
  } else {
    ScreenSurfaces.primary->Blt(nullptr, ScreenSurfaces.back, nullptr, DDBLT_WAIT, nullptr);
  }
  ++g_presentCount;
  return 0;
}

void WaitForVBlank() {
  IDirectDraw7* dd = GetDirectDrawObject();
  const int threshold = VBlankTiming.sleepThreshold;
  if (threshold >= 0 && static_cast<int>(timeGetTime() - static_cast<DWORD>(VBlankTiming.lastWaitTime)) < threshold) {
    while (static_cast<int>(timeGetTime() - static_cast<DWORD>(VBlankTiming.lastWaitTime)) < threshold) {
      SleepOnClock(1);
    }
    dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
  } else {
    Sleep(0);
    BOOL inBlank = FALSE;
    dd->GetVerticalBlankStatus(&inBlank);
    if (!inBlank) dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
  }
  VBlankTiming.lastWaitTime = static_cast<int>(timeGetTime());
}

int WaitVBlankCount(int count) {
  IDirectDraw7* dd = GetDirectDrawObject();
  if (dd == nullptr) return -1;
  if (DrawState.drawingSuspended) return 0;
  WaitWhileInactive();
  // Polls until the blank state is `wanted`, pumping messages; the pump's result
  // when it asked to stop.
  const auto pollUntil = [dd](bool wanted) {
    for (;;) {
      const int pumped = ProcessMessageBody();
      if (pumped != 0) return pumped;
      BOOL inBlank = FALSE;
      dd->GetVerticalBlankStatus(&inBlank);
      if ((inBlank != FALSE) == wanted) return 0;
    }
  };
  if (count == 0) {
    pollUntil(true);
    return 0;
  }
  for (int i = 0; i < count; ++i) {
    int pumped = pollUntil(false);
    if (pumped == 0) pumped = pollUntil(true);
    if (pumped < 0) return -1;
  }
  return 0;
}

int PresentRectToWindow(const RECT* rect) {
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  RECT area = *rect;
  const RECT screen{0, 0, width, height};
  ClipRectangleBody(&area, &screen);
  if (area.right <= area.left || area.bottom <= area.top) return 0;
  RECT onPrimary = area;
  if (IsWindowed()) {
    int client[4];
    GetClientAreaSize(client);
    onPrimary = RECT{area.left + client[0], area.top + client[1], area.right + client[0], area.bottom + client[1]};
  }
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  if (ScreenSurfaces.primary->Lock(&onPrimary, &description, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK) {
    return -1;
  }
  GraphImage locked = LockedAsImage(description, area.right - area.left, area.bottom - area.top);
  TransferMemImg(&locked, &ScreenSurfaces.primaryTwin, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, 0, 0, 0, DrawState.ditherMode);
  ScreenSurfaces.primary->Unlock(&onPrimary);
  return 0;
}

int ClearScreenAll() {
  if (GetDirectDrawObject() == nullptr) return -1;
  if (RenderModeFlags.screenReady) EndDeviceScene();
  FlushVertexBatch();
  if (DrawState.target != kDrawTargetFront && DrawState.target != kDrawTargetBack) return ClearGraphTarget();
  if (IsMemImgScreenMode()) {
    ClearMemImg(ScreenSurfaces.targetMemImg, ScreenSurfaces.targetZTwin);
    return 0;
  }
  if (ScreenSurfaces.targetSurface == nullptr) return -1;
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  RECT area{0, 0, width, height};
  if (DrawState.target == kDrawTargetFront && IsWindowed()) {
    int client[4];
    GetClientAreaSize(client);
    area = RECT{client[0], client[1], client[0] + width, client[1] + height};
  }
  ColourFill(ScreenSurfaces.targetSurface, &area);
  if (ScreenSurfaces.zBuffer != nullptr) {
    RECT whole{0, 0, width, height};
    DepthFill(ScreenSurfaces.zBuffer, &whole);
  }
  return 0;
}
