// Writes a rectangle of the current draw target as an uncompressed bottom-up BMP:
// 24 bits for 16- and 32-bit sources, 8 bits with a palette for palette sources.
#include <algorithm>
#include <cstring>

#include "core/log.h"
#include "core/main_window.h"
#include "core/tracked_alloc.h"
#include "graphics/draw_state.h"
#include "graphics/graphics_workers.h"
#include "graphics/device_services.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"
#include "kernel/files.h"
#include "kernel/handles.h"
#include "softrender/clip_rect.h"

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kPaletteSize = 1024;

// The pixels read: rows of the rectangle from its top-left pixel.
struct SourcePixels {
  const std::uint8_t* pixels = nullptr;
  int pitch = 0;
  const PixelFormat* format = nullptr;
  const std::uint32_t* palette = nullptr;  // 0x00RRGGBB entries of a palette source
  IDirectDrawSurface7* locked = nullptr;
  RECT lockRect{};
};

void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v);
  Put16(p + 2, v >> 16);
}

// The file and information headers of a width x height file of `bits` per pixel.
void MakeHeaders(std::uint8_t* headers, int width, int height, int bits, std::uint32_t pixelBytes) {
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize + (bits == 8 ? kPaletteSize : 0);
  std::memset(headers, 0, kFileHeaderSize + kInfoHeaderSize);
  headers[0] = 'B';
  headers[1] = 'M';
  Put32(headers + 2, offset + pixelBytes);
  Put32(headers + 10, offset);
  std::uint8_t* info = headers + kFileHeaderSize;
  Put32(info, kInfoHeaderSize);
  Put32(info + 4, static_cast<std::uint32_t>(width));
  Put32(info + 8, static_cast<std::uint32_t>(height));
  Put16(info + 12, 1);
  Put16(info + 14, static_cast<std::uint32_t>(bits));
}

std::uint32_t LoadPixel(const std::uint8_t* p, int bytes) {
  std::uint32_t v = 0;
  std::memcpy(&v, p, static_cast<std::size_t>(bytes));
  return v;
}

// One channel moved to the top of its byte; a channel wider than 8 bits keeps its top byte.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask, int shift, int width) {
  if (width == 0) return 0;
  const std::uint32_t value = (pixel & mask) >> shift;
  return static_cast<std::uint8_t>(width <= 8 ? value << (8 - width) : value >> (width - 8));
}

// Rows of 24-bit blue, green, red, bottom row first.
void Encode24(const SourcePixels& source, int width, int height, int rowBytes, std::uint8_t* out) {
  const PixelFormat& f = *source.format;
  const int bytes = f.bytesPerPixel;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = source.pixels + static_cast<std::ptrdiff_t>(height - 1 - y) * source.pitch;
    std::uint8_t* dst = out + static_cast<std::ptrdiff_t>(y) * rowBytes;
    for (int x = 0; x < width; ++x, row += bytes, dst += 3) {
      const std::uint32_t p = LoadPixel(row, bytes);
      dst[0] = Channel(p, f.maskB, f.shiftB, f.widthB);
      dst[1] = Channel(p, f.maskG, f.shiftG, f.widthG);
      dst[2] = Channel(p, f.maskR, f.shiftR, f.widthR);
    }
  }
}

void Encode8(const SourcePixels& source, int width, int height, int rowBytes, std::uint8_t* out) {
  for (int y = 0; y < height; ++y) {
    std::memcpy(out + static_cast<std::ptrdiff_t>(y) * rowBytes,
                source.pixels + static_cast<std::ptrdiff_t>(height - 1 - y) * source.pitch, static_cast<std::size_t>(width));
  }
}

// The pixels of the rectangle in the draw target, locking its surface when it has one.
int ReadSource(const RECT& rect, SourcePixels* source) {
  ScreenSurfacesRecord& screens = ScreenSurfaces;
  if (IsMemImgScreenMode() && DrawState.target == kDrawTargetFront) PrepareDrawTargetMemImg();
  const MEMIMG* image = screens.targetMemImg;
  if ((IsMemImgScreenMode() || screens.targetSurface == nullptr) && image != nullptr && image->pixels != nullptr) {
    source->pixels = static_cast<const std::uint8_t*>(image->pixels) + static_cast<std::ptrdiff_t>(rect.top) * image->pitch +
                     static_cast<std::ptrdiff_t>(rect.left) * image->format->bytesPerPixel;
    source->pitch = image->pitch;
    source->format = image->format;
    if (image->paletteFlag) source->palette = static_cast<const std::uint32_t*>(image->palette);
    return 0;
  }
  IDirectDrawSurface7* target = screens.targetSurface;
  if (target == nullptr) return -1;
  int dx = screens.targetOffsetX;
  int dy = screens.targetOffsetY;
  if (DrawState.target == kDrawTargetFront) {
    dx += DrawState.drawingOrigin.left;
    dy += DrawState.drawingOrigin.top;
  }
  RECT onSurface{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
  IDirectDrawSurface7* read = target;
  if (DrawState.targetInVideoMemory) {
    CopySurfaceRect(screens.work, target, 0, 0, &onSurface, -1);
    read = screens.work;
    onSurface = RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  }
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  if (read->Lock(&onSurface, &description, DDLOCK_WAIT, nullptr) != DD_OK) {
    return LogWrite("作業用サーフェスのロックに失敗しました\n");
  }
  source->locked = read;
  source->lockRect = onSurface;
  source->pixels = static_cast<const std::uint8_t*>(description.lpSurface);
  source->pitch = description.lPitch;
  source->format = QueryScreenPixelFormat();
  return 0;
}

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
  DWORD written = 0;
  return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

int WriteBmp(const char* path, const std::uint8_t* headers, const std::uint8_t* palette, const std::uint8_t* pixels,
             std::size_t pixelBytes) {
  DeleteFileA(path);
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LogWrite("ＢＭＰセーブ用ファイルのオープンに失敗しました\n");
  const bool written = WriteAll(file, headers, kFileHeaderSize + kInfoHeaderSize) &&
                       (palette == nullptr || WriteAll(file, palette, kPaletteSize)) &&
                       WriteAll(file, pixels, pixelBytes);
  CloseHandle(file);
  if (!written) {
    DeleteFileA(path);
    return LogWrite("ＢＭＰセーブ用ファイルの書き込みに失敗しました\n");
  }
  return 0;
}

int EncodeAndWrite(const SourcePixels& source, int width, int height, const char* path) {
  const int bits = source.format->bytesPerPixel == 1 ? 8 : 24;
  if (source.format->bytesPerPixel < 1 || source.format->bytesPerPixel > 4) return -1;
  std::uint8_t palette[kPaletteSize];
  if (bits == 8) {
    if (source.palette == nullptr) return -1;
    for (int i = 0; i < 256; ++i) Put32(palette + 4 * i, source.palette[i] & 0xFFFFFFu);
  }
  const int rowBytes = bits == 8 ? (width + 3) & ~3 : (3 * width + 3) & ~3;
  const std::size_t pixelBytes = static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height);
  std::uint8_t headers[kFileHeaderSize + kInfoHeaderSize];
  MakeHeaders(headers, width, height, bits, static_cast<std::uint32_t>(pixelBytes));
  auto* pixels = static_cast<std::uint8_t*>(TRACKED_CALLOC(pixelBytes));
  if (pixels == nullptr) return LogWrite("グラフィック保存用メモリの確保に失敗しました\n");
  if (bits == 8) {
    Encode8(source, width, height, rowBytes, pixels);
  } else {
    Encode24(source, width, height, rowBytes, pixels);
  }
  const int result = WriteBmp(path, headers, bits == 8 ? palette : nullptr, pixels, pixelBytes);
  TrackedFree(pixels);
  return result;
}

}  // namespace

int SaveScreenToBmpBody(int x1, int y1, int x2, int y2, const char* file) {
  if (GetDirectDrawObject() == nullptr) return -1;
  WaitWhileInactive();
  if (RenderModeFlags.screenReady) EndDeviceScene();
  FlushVertexBatch();
  RECT rect{x1, y1, x2, y2};
  ClipRectangleBody(&rect, &DrawState.clip);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return -1;
  SourcePixels source;
  if (ReadSource(rect, &source) != 0) return -1;
  const int result = EncodeAndWrite(source, width, height, file);
  if (source.locked != nullptr) source.locked->Unlock(&source.lockRect);
  return result;
}
