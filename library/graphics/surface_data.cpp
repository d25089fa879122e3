#include "graphics/surface_data.h"

#include <cstring>

#include "core/log.h"
#include "core/tracked_alloc.h"
#include "graphics/screen_mode.h"
#include "graphics/texture_formats.h"
#include "workers/tile_frame.h"

SurfaceDataTableType SurfaceDataTable;

namespace {

GraphFlags AdjustFlags(GraphFlags flags) {
  if (flags.texture) {
    flags.alphaMode2D = 0;
    if (flags.drawValid || flags.alphaChannel) flags.alphaTest = 0;
  } else {
    if (flags.alphaChannel == 1 || flags.renderTargetCopy == 1) flags.alphaMode2D = 1;
    flags.drawValid = 1;
    flags.alphaTest = 0;
  }
  return flags;
}

int CreateMemoryImageStore(SurfaceData* data) {
  const GraphFlags& flags = data->flags;
  int made;
  if (flags.renderTargetCopy) {
    made = InitMemImg(&data->image, data->width, data->height, -1, 0, MEMIMG_KIND_BYTE, 0, 0, 0);
  } else {
    const int alpha = flags.alphaChannel ? 1 : 0;
    const int kind = flags.colourDepth == 16 ? MEMIMG_KIND_16BIT : MEMIMG_KIND_32BIT;
    data->formatKind = (kind == MEMIMG_KIND_16BIT ? kFormatKindMemImg16 : kFormatKindMemImg32) + alpha;
    std::uint32_t transparent = 0xFFFF;
    if (flags.callerFlag != 1) {
      const std::uint32_t key = data->transparentColor;
      transparent = PackPixel(GetStandardPixelFormat(kind, alpha, 0), static_cast<std::uint8_t>(key >> 16),
                              static_cast<std::uint8_t>(key >> 8), static_cast<std::uint8_t>(key), 255);
    }
    made = InitMemImg(&data->image, data->width, data->height, -1, transparent, kind, flags.callerFlag, alpha, 1);
  }
  if (made != 0) {
    std::memset(&data->image, 0, sizeof(data->image));
    return LogWrite("メモリイメージの作成に失敗しました\n");
  }
  return 0;
}

HRESULT CreatePlainSurface(IDirectDraw7* dd, SurfaceData* data, DWORD caps) {
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  description.dwWidth = data->width;
  description.dwHeight = data->height;
  description.ddsCaps.dwCaps = caps;
  return dd->CreateSurface(&description, &data->surface, nullptr);
}

int CreateDirectDrawStore(SurfaceData* data) {
  IDirectDraw7* dd = GetDirectDrawObject();
  data->formatKind = kFormatKindSurface;
  int modeWidth = 0;
  GetScreenModeSizeBody(&modeWidth, nullptr);
  const bool systemMemory = data->flags.alphaMode2D == 1 || data->width > modeWidth || IsSoftwareRenderMode();
  const DWORD caps = DDSCAPS_OFFSCREENPLAIN | (systemMemory ? DDSCAPS_SYSTEMMEMORY : DDSCAPS_VIDEOMEMORY | DDSCAPS_3DDEVICE);
  if (CreatePlainSurface(dd, data, caps) != DD_OK &&
      CreatePlainSurface(dd, data, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY) != DD_OK) {
    data->surface = nullptr;
    return LogWrite("標準サーフェスの作成に失敗しました\n");
  }
  DDSCAPS2 surfaceCaps{};
  data->surface->GetCaps(&surfaceCaps);
  data->flags.alphaMode2D = (surfaceCaps.dwCaps & DDSCAPS_VIDEOMEMORY) ? 0 : 1;
  data->flags.drawValid = 1;
  return 0;
}

// A texture of the format kind the flags choose, cleared to 0.
int CreateTextureStore(SurfaceData* data) {
  const GraphFlags& flags = data->flags;
  data->formatKind = SelectTextureFormatKindFor(flags);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE;
  description.dwWidth = data->width;
  description.dwHeight = data->height;
  description.ddsCaps.dwCaps = DDSCAPS_TEXTURE | (flags.drawValid ? DDSCAPS_3DDEVICE : 0);
  description.ddsCaps.dwCaps2 = flags.drawValid ? 0 : DDSCAPS2_TEXTUREMANAGE;
  description.ddpfPixelFormat = GetTextureFormatRecord(data->formatKind)->ddFormat;
  if (GetDirectDrawObject()->CreateSurface(&description, &data->surface, nullptr) != DD_OK) {
    data->surface = nullptr;
    LogWrite("テクスチャサーフェスの作成に失敗しました\n");
    return LogPrintf("DrawValid:%d  AlphaChFlag%d  AlphaTestFlag:%d  ColorBitDepth:%d", flags.drawValid,
                     flags.alphaChannel, flags.alphaTest, flags.colourDepth);
  }
  DDBLTFX effects{};
  effects.dwSize = sizeof(effects);
  effects.dwFillColor = 0;
  data->surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
  return 0;
}

// The layout of a record's pixels when it has a DirectDraw surface.
const PixelFormat* SurfacePixelFormat(const SurfaceData* data) {
  return data->flags.texture ? GetTextureFormatPixelFormat(data->formatKind) : QueryScreenPixelFormat();
}

}  // namespace

SurfaceData* GetSurfaceDataRecord(int handle) { return SurfaceDataTable.Find(handle); }

int AddSurfaceData(int initialReferences, int width, int height, std::uint32_t transparentColor,
                   const GraphFlags& flags) {
  if (SurfaceDataTable.IsFull()) return LogWrite("サーフェスのデータ数が許容量を越えました。\n");
  const int slot = SurfaceDataTable.ChooseSlot();
  auto* data = static_cast<SurfaceData*>(TRACKED_CALLOC(sizeof(SurfaceData)));
  if (data == nullptr) return LogWrite("サーフェス用データを保存するメモリ領域の確保に失敗しました\n");
  data->flags = AdjustFlags(flags);
  data->width = static_cast<std::uint16_t>(width);
  data->height = static_cast<std::uint16_t>(height);
  data->references = initialReferences;
  data->transparentColor = transparentColor;
  data->memoryImage = (data->flags.alphaMode2D == 1 || IsMemImgScreenMode()) ? 1 : 0;
  const int handle = SurfaceDataTable.Register(slot, data);
  if (CreateSurfaceDataSurface(handle) != 0) {
    DeleteSurfaceData(handle);
    return -1;
  }
  SetSurfaceColorKey(handle);
  return handle;
}

int CreateSurfaceDataSurface(int handle) {
  SurfaceData* data = GetSurfaceDataRecord(handle);
  if (data == nullptr) return -1;
  if (data->memoryImage) {
    if (data->image.magic == MEMIMG_MAGIC) return 0;
    if (CreateMemoryImageStore(data) != 0) return -1;
  } else {
    if (GetDirectDrawObject() == nullptr) return -1;
    if (data->surface != nullptr) return 0;
    if (data->flags.texture ? CreateTextureStore(data) != 0 : CreateDirectDrawStore(data) != 0) return -1;
  }
  if (data->zBufferWanted && SetSurfaceZBuffer(handle, 1) != 0) {
    ReleaseSurfaceZBuffer(handle);
    return -1;
  }
  return 0;
}

int DeleteSurfaceData(int handle) {
  FlushTileFrame();
  SurfaceData* data = GetSurfaceDataRecord(handle);
  if (data == nullptr) return -1;
  ReleaseSurfaceZBuffer(handle);
  if (data->watcher != nullptr) *data->watcher = 1;
  SurfaceDataTable.Unregister(SurfaceDataTableType::SlotOf(handle));
  TrackedFree(data);
  return 0;
}

int AddSurfaceDataRef(int handle) {
  SurfaceData* data = GetSurfaceDataRecord(handle);
  return data == nullptr ? -1 : ++data->references;
}

int SubSurfaceDataRef(int handle) {
  SurfaceData* data = GetSurfaceDataRecord(handle);
  return data == nullptr ? -1 : --data->references;
}

int SetSurfaceZBuffer(int handle, int on) {
  SurfaceData* data = GetSurfaceDataRecord(handle);
  if (data == nullptr) return -1;
  if (!data->memoryImage && GetDirectDrawObject() == nullptr) return -1;
  const bool hasZ = data->memoryImage ? data->zTwin.magic == MEMIMG_MAGIC : data->zSurface != nullptr;
  if ((on != 0) == (data->zBufferWanted != 0) && (on != 0) == hasZ) return 0;
  if (data->flags.drawValid == 0) return -1;
  if (!on) {
    if (data->memoryImage) {
      TerminateMemImg(&data->zTwin);
    } else if (data->zSurface != nullptr) {
      data->surface->DeleteAttachedSurface(0, data->zSurface);
      data->zSurface->Release();
      data->zSurface = nullptr;
    }
    data->zBufferWanted = 0;
    return 0;
  }
  if (data->memoryImage) {
    if (!hasZ && CreateZBufferMemImg(&data->zTwin, data->width, data->height) != 0) {
      return LogWrite("Ｚバッファの作成に失敗しました");
    }
  } else if (!hasZ) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    description.dwWidth = data->width;
    description.dwHeight = data->height;
    description.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
    description.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    description.ddpfPixelFormat.dwFlags = DDPF_ZBUFFER;
    description.ddpfPixelFormat.dwZBufferBitDepth = 16;
    description.ddpfPixelFormat.dwZBitMask = 0xFFFF;
    if (GetDirectDrawObject()->CreateSurface(&description, &data->zSurface, nullptr) != DD_OK ||
        data->surface->AddAttachedSurface(data->zSurface) != DD_OK) {
      if (data->zSurface != nullptr) data->zSurface->Release();
      data->zSurface = nullptr;
      return LogWrite("Ｚバッファの作成に失敗しました");
    }
  }
  data->zBufferWanted = 1;
  return 0;
}

int ReleaseSurfaceZBuffer(int handle) {
  SurfaceData* data = GetSurfaceDataRecord(handle);
  if (data == nullptr) return -1;
  if (data->memoryImage) {
    TerminateMemImg(&data->zTwin);
    TerminateMemImg(&data->image);
    return 0;
  }
  if (data->zSurface != nullptr) {
    if (data->surface != nullptr) data->surface->DeleteAttachedSurface(0, data->zSurface);
    data->zSurface->Release();
    data->zSurface = nullptr;
  }
  if (data->surface != nullptr) {
    data->surface->Release();
    data->surface = nullptr;
  }
  data->lockCount = 0;
  return 0;
}

int SetSurfaceColorKey(int handle) {
  SurfaceData* data = GetSurfaceDataRecord(handle);
  if (data == nullptr) return -1;
  if (data->surface == nullptr) return 0;
  const std::uint32_t colour = data->transparentColor;
  if (data->flags.texture) {
    const PixelFormat* format = GetTextureFormatPixelFormat(data->formatKind);
    const DWORD key = PackPixel(format, static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
                                static_cast<std::uint8_t>(colour), 255) |
                      format->maskA | format->noUseMask;
    DDCOLORKEY colourKey{key, key};
    if (data->surface->SetColorKey(DDCKEY_SRCBLT, &colourKey) != DD_OK) {
      return LogWrite("テクスチャサーフェスのカラーキーの設定に失敗しました\n");
    }
    return 0;
  }
  const DWORD key = data->flags.colourDepth == 8
                        ? 0
                        : MakeScreenColorBody((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
  DDCOLORKEY colourKey{key, key};
  if (data->surface->SetColorKey(DDCKEY_SRCBLT, &colourKey) != DD_OK) {
    return LogWrite("標準サーフェスのカラーキーの設定に失敗しました\n");
  }
  return 0;
}

int RestoreSurfaceIfLost(int handle) {
  SurfaceData* data = GetSurfaceDataRecord(handle);
  if (data == nullptr) return -1;
  if (data->surface == nullptr || data->surface->IsLost() == DD_OK) return 0;
  data->surface->Restore();
  return -1;
}

int LockSurfaceData(int handle, int* pitchOut, void** pixelsOut, int writeOnly, const RECT* rect,
                    const PixelFormat** formatOut) {
  FlushTileFrame();
  SurfaceData* data = GetSurfaceDataRecord(handle);
  if (data == nullptr) return -1;
  if (formatOut != nullptr) *formatOut = data->memoryImage ? data->image.format : SurfacePixelFormat(data);
  if (data->lockCount > 0) {
    *pitchOut = data->lockPitch;
    *pixelsOut = data->lockPixels;
    ++data->lockCount;
    return -2;
  }
  if (data->memoryImage) {
    const MEMIMG& image = data->image;
    auto* pixels = static_cast<std::uint8_t*>(image.pixels);
    if (rect != nullptr) {
      pixels += static_cast<std::ptrdiff_t>(rect->top) * image.pitch +
                static_cast<std::ptrdiff_t>(rect->left) * image.format->bytesPerPixel;
    }
    data->lockPixels = pixels;
    data->lockPitch = image.pitch;
  } else {
    if (data->surface == nullptr) return -1;
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    RECT area = rect != nullptr ? *rect : RECT{0, 0, data->width, data->height};
    const DWORD flags = DDLOCK_WAIT | (writeOnly == 1 ? DDLOCK_WRITEONLY : 0);
    if (data->surface->Lock(rect != nullptr ? &area : nullptr, &description, flags, nullptr) != DD_OK) {
      return LogWrite("グラフィックのロックに失敗しました");
    }
    data->lockPixels = description.lpSurface;
    data->lockPitch = description.lPitch;
  }
  *pitchOut = data->lockPitch;
  *pixelsOut = data->lockPixels;
  data->lockCount = 1;
  return 0;
}

int UnlockSurfaceData(int handle, const RECT* rect) {
  SurfaceData* data = GetSurfaceDataRecord(handle);
  if (data == nullptr || data->lockCount <= 0) return -1;
  if (--data->lockCount == 0 && !data->memoryImage && data->surface != nullptr) {
    RECT area = rect != nullptr ? *rect : RECT{0, 0, 0, 0};
    data->surface->Unlock(rect != nullptr ? &area : nullptr);
  }
  return 0;
}

int FillSurfaceData(int handle, int r, int g, int b, int a) {
  FlushTileFrame();
  SurfaceData* data = GetSurfaceDataRecord(handle);
  if (GetDirectDrawObject() == nullptr || data == nullptr) return -1;
  const auto channel = [](int value) { return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value); };
  if (data->memoryImage) {
    if (data->image.magic != MEMIMG_MAGIC || data->image.paletteFlag) return 0;
    FillMemImgRect(&data->image, nullptr, PackPixel(data->image.format, channel(r), channel(g), channel(b), channel(a)));
    data->image.runDataValid = 0;
    MarkMemImgPixelsChanged(&data->image);
    data->image.premultipliedValid = 0;
    return 0;
  }
  if (data->surface == nullptr) return 0;
  DDBLTFX effects{};
  effects.dwSize = sizeof(effects);
  effects.dwFillColor = PackPixel(SurfacePixelFormat(data), channel(r), channel(g), channel(b), channel(a));
  data->surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
  return 0;
}
